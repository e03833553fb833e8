// Step 5 of the contour computation: which of the walked loops bound the
// copper. A loop bounds it when the place just left of its edges (the side a
// walk keeps free) lies outside every element polygon and outside the filled
// inside of every area; everything else is a loop inside copper, the inner
// edge of a filled area, or a boundary walked a second time.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <exception>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

#include "output/contour_graph.h"
#include "output/contour_segments.h"
#include "output/contour_types.h"
#include "platform/core/edge_probe.h"

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
    // When the ring's y rises from its lowest vertex to its highest and
    // falls back without turning, a horizontal line crosses it at most
    // twice, and the crossings are found by halving each run.
    bool twoRuns = false;
    uint32_t low = 0, high = 0;  // the first lowest and the first highest vertex
  };
  template <class At>
  static void findRuns(Ring& ring, At at);
  template <class At>
  int windingOf(const Ring& ring, const TEdgeProbe& q, At at) const;
  void addRing(const std::vector<TPoint64>& points, bool evenOdd);
  void buildGrid();
  // The winding number round q of a ring whose box holds q.
  int winding(const Ring& ring, const TEdgeProbe& q) const;
  static bool boxHolds(const Box& box, const TEdgeProbe& q) {
    return q.mx2 >= 2 * box.x0 && q.mx2 <= 2 * box.x1 && q.my2 >= 2 * box.y0 && q.my2 <= 2 * box.y1;
  }

  const TContourGraph& graph_;
  std::vector<TPoint64> points_;
  std::vector<Ring> rings_;
  int64_t cell_ = 1, left_ = 0, top_ = 0, cols_ = 0, rows_ = 0;
  // The rings of each cell with their boxes, so that a probe reads a
  // cell's boxes in one run of memory.
  struct CellRing {
    Box box;
    uint32_t ring;
  };
  std::vector<uint32_t> cellStart_, oversized_;
  std::vector<CellRing> cellRings_;
  // A ring that closed on itself (the rounding shut the gap of a ring)
  // leaves its hole as a polygon winding the other way inside it: then the
  // windings of all polygons at a place are added up.
  bool holes_ = false;
};

// The probes of the loops while the walk goes on: the walking thread hands
// the loops over as it finds them, in batches, and a thread of its own
// builds the probe and decides them; the calling thread helps with the
// batches left once the walk is done. A loop of the first two passes is
// decided by the places left of its longest and its first edge: whether one
// of them lies outside copper, that is, whether the loop may bound the
// copper. A loop passing by others is decided by the places left of all its
// edges: whether all lie outside copper.
class TLoopProbes {
 public:
  static constexpr size_t kBatch = 512;  // loops
  TLoopProbes(const TContourGraph& graph, const TContourWorkSet& work);
  ~TLoopProbes();
  // On the walking thread: takes the loops found since the last call.
  void take(const TTraceResult& traced);
  // Takes the rest, helps with the batches left, then waits for the
  // thread. Gives the probe and, for every loop in order, the decision.
  const TCopperProbe* finish(const TTraceResult& traced, std::vector<uint8_t>& decided);

 private:
  struct Batch {
    std::vector<uint32_t> edges;  // longest and first edge of each loop of the first passes
    std::vector<std::vector<uint32_t>> passing;  // the nodes of each passing loop
    std::vector<uint8_t> decided;
  };
  void handOver(const TTraceResult& traced, size_t end);
  void probeBatches();
  void decide(Batch& batch) const;

  std::optional<TCopperProbe> probe_;
  size_t taken_ = 0;
  std::mutex mutex_;
  std::condition_variable ready_;
  std::vector<std::unique_ptr<Batch>> batches_;  // under mutex_
  size_t next_ = 0;                              // the next batch to probe, under mutex_
  bool done_ = false;                            // no more batches, under mutex_
  bool probeBuilt_ = false;                      // under mutex_
  std::exception_ptr failure_;
  std::thread thread_;
};

// For every loop of the walk, whether it is a contour: it bounds the copper
// and repeats no contour kept before it. `probe` and `decided` (for the
// first loops, or all of them, as TLoopProbes decides them), when given,
// were worked out before.
std::vector<uint8_t> boundaryLoops(const TContourGraph& graph, const TTraceResult& traced,
                                   const TContourWorkSet& work,
                                   const TContourProgress& progress = {},
                                   const TCopperProbe* probe = nullptr,
                                   std::vector<uint8_t> decided = {});

// The loops that stay, in their order.
TContourList selectContours(std::vector<TContour> loops, const std::vector<uint8_t>& keep);

}  // namespace plavesk
