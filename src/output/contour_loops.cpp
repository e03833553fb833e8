#include "output/contour_loops.h"

#include <algorithm>
#include <unordered_set>

#include "output/contour_parallel.h"
#include "platform/core/edge_probe.h"
#include "platform/core/int_math.h"

namespace plavesk {
namespace {

// What winding() gives for a place inside an area's inside.
constexpr int kEvenOddInside = 1 << 20;

}  // namespace

TCopperProbe::TCopperProbe(const TContourGraph& graph, const TContourWorkSet& work)
    : graph_(graph) {
  // Element polygons are read from the graph, area insides kept here. Their
  // boxes and orientations are worked out on two threads.
  const size_t polygons = graph.polygonStart.empty() ? 0 : graph.polygonStart.size() - 1;
  std::vector<Ring> all(polygons);
  std::vector<uint8_t> kind(polygons, 0);  // 1 a ring, 2 a ring winding the other way
  inTwoHalves(polygons, [&](size_t from, size_t to) {
    for (size_t k = from; k < to; ++k) {
      const uint32_t first = graph.polygonStart[k], end = graph.polygonStart[k + 1];
      if (end - first < 3) continue;  // no inside
      Ring ring{first, end, {}, false};
      __int128 twiceArea = 0;
      for (uint32_t i = first, j = end - 1; i < end; j = i++) {
        const TPoint64 u = graph.nodes[j].p, v = graph.nodes[i].p;
        twiceArea += __int128(u.x) * v.y - __int128(v.x) * u.y;
      }
      const TPoint64 p0 = graph.nodes[first].p;
      ring.box = {p0.x, p0.y, p0.x, p0.y};
      for (uint32_t i = first; i < end; ++i) {
        const TPoint64 p = graph.nodes[i].p;
        ring.box.x0 = std::min(ring.box.x0, p.x), ring.box.x1 = std::max(ring.box.x1, p.x);
        ring.box.y0 = std::min(ring.box.y0, p.y), ring.box.y1 = std::max(ring.box.y1, p.y);
      }
      findRuns(ring, [&](uint32_t i) { return graph.nodes[i].p; });
      all[k] = ring;
      kind[k] = twiceArea > 0 ? 2 : 1;
    }
  });
  for (size_t k = 0; k < polygons; ++k) {
    if (kind[k] == 0) continue;
    holes_ = holes_ || kind[k] == 2;
    rings_.push_back(all[k]);
  }
  std::vector<TPoint64> scaled;
  for (const auto& e : work.copies) {
    if (e->kind != kArea || e->points.size() < 3) continue;
    scaled.clear();
    for (const auto& p : e->points)
      scaled.push_back({int64_t(p.x) * kContourScale, int64_t(p.y) * kContourScale});
    addRing(scaled, true);
  }
  buildGrid();
}

void TCopperProbe::addRing(const std::vector<TPoint64>& points, bool evenOdd) {
  Ring ring{uint32_t(points_.size()), uint32_t(points_.size() + points.size()), {}, evenOdd};
  ring.box = {points[0].x, points[0].y, points[0].x, points[0].y};
  for (const auto& p : points) {
    points_.push_back(p);
    ring.box.x0 = std::min(ring.box.x0, p.x), ring.box.x1 = std::max(ring.box.x1, p.x);
    ring.box.y0 = std::min(ring.box.y0, p.y), ring.box.y1 = std::max(ring.box.y1, p.y);
  }
  findRuns(ring, [&](uint32_t i) { return points_[i]; });
  rings_.push_back(ring);
}

template <class At>
void TCopperProbe::findRuns(Ring& ring, At at) {
  uint32_t low = ring.first, high = ring.first;
  for (uint32_t i = ring.first; i < ring.end; ++i) {
    if (at(i).y < at(low).y) low = i;
    if (at(i).y > at(high).y) high = i;
  }
  auto next = [&](uint32_t i) { return i + 1 == ring.end ? ring.first : i + 1; };
  uint32_t i = low;
  for (; i != high; i = next(i))
    if (at(next(i)).y < at(i).y) return;
  for (; i != low; i = next(i))
    if (at(next(i)).y > at(i).y) return;
  ring.twoRuns = low != high;
  ring.low = low, ring.high = high;
}

template <class At>
int TCopperProbe::windingOf(const Ring& ring, const TEdgeProbe& q, At at) const {
  const int64_t threshold = q.aboveThreshold();
  auto above = [&](uint32_t i) { return 2 * at(i).y > threshold; };
  int winding = 0;
  // What the edge u -> v adds when it crosses the line through q: count it
  // when it crosses right of q.
  auto add = [&](uint32_t u, uint32_t v) {
    const TPoint64 a = at(u), b = at(v);
    const bool uAbove = 2 * a.y > threshold;
    const int s = q.side(a.x, a.y, b.x, b.y);
    if (!uAbove && s > 0) ++winding;
    if (uAbove && s < 0) --winding;
  };
  if (ring.twoRuns) {
    if (above(ring.low) || !above(ring.high)) return 0;
    const uint32_t n = ring.end - ring.first;
    auto step = [&](uint32_t from, uint32_t k) {
      const uint32_t i = from + k;
      return i >= ring.end ? i - n : i;
    };
    // The first vertex past the line on the way up, and on the way down.
    auto firstAfter = [&](uint32_t from, uint32_t length, bool wantAbove) {
      uint32_t lo = 1, hi = length;  // the vertex at `length` is past the line
      while (lo < hi) {
        const uint32_t mid = lo + (hi - lo) / 2;
        if (above(step(from, mid)) == wantAbove)
          hi = mid;
        else
          lo = mid + 1;
      }
      return lo;
    };
    const uint32_t up = (ring.high + n - ring.low) % n, down = n - up;
    const uint32_t k = firstAfter(ring.low, up, true);
    add(step(ring.low, k - 1), step(ring.low, k));
    const uint32_t m = firstAfter(ring.high, down, false);
    add(step(ring.high, m - 1), step(ring.high, m));
    return winding;
  }
  uint32_t u = ring.end - 1;
  bool uAbove = above(u);
  for (uint32_t v = ring.first; v < ring.end; ++v) {
    const bool vAbove = above(v);
    if (uAbove != vAbove) add(u, v);
    u = v, uAbove = vAbove;
  }
  return winding;
}

void TCopperProbe::buildGrid() {
  if (rings_.empty()) return;
  Box all = rings_[0].box;
  std::vector<int64_t> extents;
  extents.reserve(rings_.size());
  for (const Ring& r : rings_) {
    all.x0 = std::min(all.x0, r.box.x0), all.x1 = std::max(all.x1, r.box.x1);
    all.y0 = std::min(all.y0, r.box.y0), all.y1 = std::max(all.y1, r.box.y1);
    extents.push_back(std::max(r.box.x1 - r.box.x0, r.box.y1 - r.box.y0));
  }
  std::nth_element(extents.begin(), extents.begin() + extents.size() / 2, extents.end());
  cell_ = std::max<int64_t>(64 * kContourScale, extents[extents.size() / 2]);
  // About as many cells as rings at most.
  while ((floorDiv(all.x1, cell_) - floorDiv(all.x0, cell_) + 1) *
             (floorDiv(all.y1, cell_) - floorDiv(all.y0, cell_) + 1) >
         int64_t(2 * rings_.size() + 16))
    cell_ *= 2;
  left_ = floorDiv(all.x0, cell_), top_ = floorDiv(all.y0, cell_);
  cols_ = floorDiv(all.x1, cell_) - left_ + 1, rows_ = floorDiv(all.y1, cell_) - top_ + 1;
  constexpr int64_t kMaxCellsPerRing = 256;
  auto forEachCell = [&](const Ring& r, auto f) {
    const int64_t c0 = floorDiv(r.box.x0, cell_) - left_, c1 = floorDiv(r.box.x1, cell_) - left_;
    const int64_t r0 = floorDiv(r.box.y0, cell_) - top_, r1 = floorDiv(r.box.y1, cell_) - top_;
    if ((c1 - c0 + 1) * (r1 - r0 + 1) > kMaxCellsPerRing) return false;
    for (int64_t row = r0; row <= r1; ++row)
      for (int64_t col = c0; col <= c1; ++col) f(size_t(row * cols_ + col));
    return true;
  };
  cellStart_.assign(size_t(cols_ * rows_) + 1, 0);
  for (uint32_t i = 0; i < rings_.size(); ++i)
    if (!forEachCell(rings_[i], [&](size_t c) { ++cellStart_[c + 1]; })) oversized_.push_back(i);
  for (size_t c = 1; c < cellStart_.size(); ++c) cellStart_[c] += cellStart_[c - 1];
  cellRings_.resize(cellStart_.back());
  std::vector<uint32_t> fill(cellStart_.begin(), cellStart_.end() - 1);
  for (uint32_t i = 0; i < rings_.size(); ++i)
    forEachCell(rings_[i], [&](size_t c) { cellRings_[fill[c]++] = {rings_[i].box, i}; });
}

int TCopperProbe::winding(const Ring& ring, const TEdgeProbe& q) const {
  // An area's inside counts as copper whatever the polygons do there.
  if (ring.evenOdd)
    return (windingOf(ring, q, [&](uint32_t i) { return points_[i]; }) & 1) != 0 ? kEvenOddInside
                                                                                 : 0;
  return windingOf(ring, q, [&](uint32_t i) { return graph_.nodes[i].p; });
}

bool TCopperProbe::leftIsCopper(uint32_t node) const {
  const TPoint64 a = graph_.nodes[graph_.nodes[node].pred].p, b = graph_.nodes[node].p;
  if (a == b) return true;
  // The place just left of the edge a -> b. Without holes any polygon
  // winding round it makes it copper.
  const TEdgeProbe q = TEdgeProbe::beside(a.x, a.y, b.x, b.y, true);
  int sum = 0;
  auto add = [&](const Ring& ring) {
    const int w = winding(ring, q);
    if (w == kEvenOddInside) return true;
    sum += w;
    return !holes_ && sum != 0;
  };
  for (uint32_t i : oversized_)
    if (boxHolds(rings_[i].box, q) && add(rings_[i])) return true;
  if (cellStart_.empty()) return sum != 0;
  const int64_t col = floorDiv(floorDiv(a.x + b.x, 2), cell_) - left_;
  const int64_t row = floorDiv(floorDiv(a.y + b.y, 2), cell_) - top_;
  if (col < 0 || row < 0 || col >= cols_ || row >= rows_) return sum != 0;
  const size_t c = size_t(row * cols_ + col);
  for (uint32_t k = cellStart_[c]; k < cellStart_[c + 1]; ++k)
    if (boxHolds(cellRings_[k].box, q) && add(rings_[cellRings_[k].ring])) return true;
  return sum != 0;
}

namespace {

constexpr size_t kProbeChunk = 512;

// A polygon folded by rounding (the thin tip of a short arc) can put a
// sliver of copper beside an edge of a boundary, never beside all of them;
// the longest edge is the least likely to meet one.
bool mayBound(const TCopperProbe& probe, uint32_t longestEdge, uint32_t firstEdge) {
  return !probe.leftIsCopper(longestEdge) || !probe.leftIsCopper(firstEdge);
}

// Whether the loop through `nodes` bounds the copper, passing by others:
// every edge has copper on its right only.
bool passesOutsideCopper(const TCopperProbe& probe, const std::vector<uint32_t>& nodes) {
  return std::none_of(nodes.begin(), nodes.end(),
                      [&](uint32_t node) { return probe.leftIsCopper(node); });
}

}  // namespace

TLoopProbes::TLoopProbes(const TContourGraph& graph, const TContourWorkSet& work) {
  thread_ = std::thread([this, &graph, &work] {
    try {
      probe_.emplace(graph, work);
      {
        std::lock_guard lock(mutex_);
        probeBuilt_ = true;
      }
      ready_.notify_all();
      probeBatches();
    } catch (...) {
      {
        std::lock_guard lock(mutex_);
        failure_ = std::current_exception();
      }
      ready_.notify_all();
    }
  });
}

TLoopProbes::~TLoopProbes() {
  if (!thread_.joinable()) return;
  {
    std::lock_guard lock(mutex_);
    done_ = true;
    next_ = batches_.size();  // nothing more to do
  }
  ready_.notify_all();
  thread_.join();
}

void TLoopProbes::take(const TTraceResult& traced) {
  if (traced.loops.size() - taken_ >= kBatch) handOver(traced, traced.loops.size());
}

void TLoopProbes::handOver(const TTraceResult& traced, size_t end) {
  if (end == taken_) return;
  auto batch = std::make_unique<Batch>();
  for (size_t i = taken_; i < end; ++i) {
    // The passing loops come last; their nodes are kept beside them.
    if (i >= traced.firstPassing && i - traced.firstPassing < traced.passingNodes.size()) {
      batch->passing.push_back(traced.passingNodes[i - traced.firstPassing]);
    } else {
      batch->edges.push_back(traced.longestEdge[i]);
      batch->edges.push_back(traced.firstEdge[i]);
    }
  }
  taken_ = end;
  {
    std::lock_guard lock(mutex_);
    batches_.push_back(std::move(batch));
  }
  ready_.notify_one();
}

void TLoopProbes::decide(Batch& batch) const {
  for (size_t k = 0; k + 1 < batch.edges.size(); k += 2)
    batch.decided.push_back(mayBound(*probe_, batch.edges[k], batch.edges[k + 1]));
  for (const auto& nodes : batch.passing)
    batch.decided.push_back(passesOutsideCopper(*probe_, nodes));
}

void TLoopProbes::probeBatches() {
  for (;;) {
    Batch* batch = nullptr;
    {
      std::unique_lock lock(mutex_);
      ready_.wait(lock, [&] { return next_ < batches_.size() || done_; });
      if (next_ == batches_.size()) return;  // done
      batch = batches_[next_++].get();
    }
    decide(*batch);
  }
}

const TCopperProbe* TLoopProbes::finish(const TTraceResult& traced, std::vector<uint8_t>& decided) {
  handOver(traced, traced.loops.size());
  {
    std::lock_guard lock(mutex_);
    done_ = true;
  }
  ready_.notify_all();
  // Once the probe is built, this thread takes batches too; the thread
  // stops when none are left.
  for (;;) {
    Batch* batch = nullptr;
    {
      std::unique_lock lock(mutex_);
      ready_.wait(lock, [&] { return probeBuilt_ || failure_; });
      if (failure_ || next_ == batches_.size()) break;
      batch = batches_[next_++].get();
    }
    decide(*batch);
  }
  thread_.join();
  if (failure_) std::rethrow_exception(failure_);
  decided.clear();
  decided.reserve(traced.loops.size());
  for (const auto& batch : batches_)
    decided.insert(decided.end(), batch->decided.begin(), batch->decided.end());
  return &*probe_;
}

std::vector<uint8_t> boundaryLoops(const TContourGraph& graph, const TTraceResult& traced,
                                   const TContourWorkSet& work, const TContourProgress& progress,
                                   const TCopperProbe* given, std::vector<uint8_t> decided) {
  const size_t n = traced.loops.size();
  std::vector<uint8_t> keep = std::move(decided);
  const size_t first = keep.size();
  keep.resize(n, 0);
  std::optional<TCopperProbe> own;
  if (!given) own.emplace(graph, work);
  const TCopperProbe& probe = given ? *given : *own;
  // A boundary walked a second time, over other nodes at the same places
  // (polygons lying on each other) or as part of a longer walk through a
  // point where it touches another, repeats an edge of a loop kept before:
  // two true boundaries never run along the same edge the same way.
  struct Edge {
    TPoint a, b;
    bool operator==(const Edge& o) const { return a == o.a && b == o.b; }
  };
  struct EdgeHash {
    size_t operator()(const Edge& e) const {
      uint64_t h = (uint64_t(uint32_t(e.a.x)) << 32 | uint32_t(e.a.y)) * 0x9E3779B97F4A7C15ull;
      h ^= (uint64_t(uint32_t(e.b.x)) << 32 | uint32_t(e.b.y)) + (h >> 29);
      return size_t(h * 0xBF58476D1CE4E5B9ull);
    }
  };
  std::unordered_set<Edge, EdgeHash> walked;
  // The loops passing by others take many probes each: the loops are
  // shared out in chunks.
  inChunks(n - first, kProbeChunk, [&](size_t from, size_t to, bool calling) {
    for (size_t i = first + from; i < first + to; ++i) {
      if (calling && progress && i % 1024 == 0) progress(TContourStep::kOptimise, i, n);
      if (i >= traced.firstPassing) {
        keep[i] = passesOutsideCopper(probe, traced.passingNodes[i - traced.firstPassing]);
        continue;
      }
      keep[i] = mayBound(probe, traced.longestEdge[i], traced.firstEdge[i]);
    }
  });
  for (size_t i = 0; i < n; ++i) {
    if (!keep[i]) continue;
    const TContour& loop = traced.loops[i];
    auto forEachEdge = [&](auto f) {
      for (size_t k = 0; k < loop.size(); ++k) {
        const Edge e{loop[k], loop[(k + 1) % loop.size()]};
        if (!(e.a == e.b)) f(e);
      }
    };
    forEachEdge([&](const Edge& e) { keep[i] = keep[i] && !walked.count(e); });
    if (keep[i]) forEachEdge([&](const Edge& e) { walked.insert(e); });
  }
  if (progress) progress(TContourStep::kOptimise, n, n);
  return keep;
}

TContourList selectContours(std::vector<TContour> loops, const std::vector<uint8_t>& keep) {
  TContourList kept;
  for (size_t i = 0; i < loops.size(); ++i)
    if (keep[i]) kept.push_back(std::move(loops[i]));
  return kept;
}

}  // namespace plavesk
