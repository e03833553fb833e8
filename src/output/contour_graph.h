// Steps 3 and 4 of the contour computation: the polygons with their crossing
// points become a graph of nodes, nodes at the same place are joined so a
// walk can change polygons there, and walks taking the leftmost turn give the
// loops.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "output/contour_crossings.h"
#include "output/contour_parallel.h"
#include "output/contour_types.h"

namespace plavesk {

struct TContourNode {
  TPoint64 p;
  uint32_t next = 0;   // first successor: the next node on its own polygon
  uint32_t pred = 0;   // the previous node on its own polygon
  int32_t group = -1;  // the nodes at the same place, when there are several
  // groupStart[group]: where the place's nodes start in `members`, kept in
  // the node's padding so that a walk turning there reads one thing less.
  uint32_t firstMember = 0;
};

// Node successors are the node's own next node followed by the next nodes
// of every other node at the same place, in creation order; that is what
// joining every pair of equal nodes in creation order gives.
class TContourGraph {
 public:
  // buildContourGraph sets every element of `nodes` and `members`.
  std::vector<TContourNode, TUnsetAllocator<TContourNode>> nodes;
  // Group g holds members[groupStart[g] .. groupStart[g + 1]), ascending.
  std::vector<uint32_t> groupStart;
  std::vector<uint32_t, TUnsetAllocator<uint32_t>> members;
  // The nodes of polygon k are nodes[polygonStart[k] .. polygonStart[k + 1]).
  std::vector<uint32_t> polygonStart;

  template <class F>
  void forEachSuccessor(uint32_t n, F f) const {
    f(nodes[n].next);
    const int32_t g = nodes[n].group;
    if (g < 0) return;
    for (uint32_t i = groupStart[g]; i < groupStart[g + 1]; ++i)
      if (members[i] != n) f(nodes[members[i]].next);
  }
  std::vector<uint32_t> successors(uint32_t n) const;
};

// Polygon by polygon, vertex by vertex; a vertex equal to the one before it
// (the first compared with the last) gives no node.
TContourGraph buildContourGraph(const std::vector<TScaledPolygon>& polygons,
                                const TContourProgress& progress = {});

struct TTraceResult {
  std::vector<TContour> loops;  // in units
  // For every loop the node its first edge leads to: that edge runs from the
  // node's predecessor on its polygon to the node.
  std::vector<uint32_t> firstEdge;
  // The same for the loop's longest edge.
  std::vector<uint32_t> longestEdge;
  // The loops from here on were found by the second pass over the branches
  // the first pass had closed off.
  size_t firstRescued = 0;
  // The loops from here on were found by walks passing by earlier loops;
  // passingNodes holds their nodes (each node is where an edge ends).
  size_t firstPassing = 0;
  std::vector<std::vector<uint32_t>> passingNodes;
  size_t abandoned = 0;  // walks of the first pass that ran into an earlier walk
};

// Walks from every unused node, always turning leftmost, until each walk
// closes a loop or runs into an earlier one; no walk starts on a branch
// leaving a loop. Then walks again from those branches, blocked only by the
// loops, so that a loop touching another one at a point is found too; and
// once more from them, passing by the loops, so that a boundary with a lobe
// pinched off as an earlier loop closes too. Walks have no length limit.
// `loopFound`, when given, is called on the walking thread after every loop
// found, with the result so far (the loop last in it).
TTraceResult traceOutlines(const TContourGraph& graph, const TContourProgress& progress = {},
                           const std::function<void(const TTraceResult&)>& loopFound = {});

}  // namespace plavesk
