// Step 5 of the contour computation: which of the walked loops bound the
// copper. A loop bounds it when the place just left of its edges (the side a
// walk keeps free) lies outside every element polygon and outside the filled
// inside of every area; everything else is a loop inside copper, the inner
// edge of a filled area, or a boundary walked a second time.
#pragma once

#include <cstdint>
#include <vector>

#include "output/contour_graph.h"
#include "output/contour_segments.h"
#include "output/contour_types.h"

namespace plavesk {

// Exact tests of the place an infinitesimal step left of a graph edge,
// against the graph's polygons (crossing points included) and the insides of
// the areas of the work set.
class TCopperProbe {
 public:
  TCopperProbe(const TContourGraph& graph, const TContourWorkSet& work);

  // Whether the place just left of the edge that leads to `node` (from its
  // predecessor on its polygon) lies in copper. An edge of no length counts
  // as copper: it bounds nothing.
  bool leftIsCopper(uint32_t node) const;

 private:
  struct Box {
    int64_t x0, y0, x1, y1;
  };
  struct Ring {
    uint32_t first, end;  // into points_
    Box box;
    bool evenOdd;  // an area's inside; element polygons count by winding
  };
  void addRing(const std::vector<TPoint64>& points, bool evenOdd);
  void buildGrid();
  int winding(const Ring& ring, TPoint64 a, TPoint64 b) const;

  const TContourGraph& graph_;
  std::vector<TPoint64> points_;
  std::vector<Ring> rings_;
  int64_t cell_ = 1, left_ = 0, top_ = 0, cols_ = 0, rows_ = 0;
  std::vector<uint32_t> cellStart_, cellRings_, oversized_;
  // A ring that closed on itself (the rounding shut the gap of a ring)
  // leaves its hole as a polygon winding the other way inside it: then the
  // windings of all polygons at a place are added up.
  bool holes_ = false;
};

// For every loop of the walk, whether it is a contour: it bounds the copper
// and repeats no contour kept before it.
std::vector<uint8_t> boundaryLoops(const TContourGraph& graph, const TTraceResult& traced,
                                   const TContourWorkSet& work,
                                   const TContourProgress& progress = {});

// The loops that stay, in their order.
TContourList selectContours(std::vector<TContour> loops, const std::vector<uint8_t>& keep);

}  // namespace plavesk
