#include "output/contour_loops.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <unordered_map>

#include "platform/core/region.h"
#include "view/geometry.h"

namespace plavesk {
namespace {

// The edges of a loop in a grid of square cells, to settle most containment
// tests without clipping: whether any edge comes near a box, and whether a
// point away from every edge lies inside the loop (even-odd rule).
class LoopEdgeGrid {
 public:
  explicit LoopEdgeGrid(const TContour& loop) : loop_(loop) {
    const size_t n = loop.size();
    int64_t l = loop[0].x, r = loop[0].x, t = loop[0].y, b = loop[0].y;
    std::vector<int64_t> extents;
    extents.reserve(n);
    for (size_t i = 0; i < n; ++i) {
      const TPoint p = loop[i], q = loop[(i + 1) % n];
      l = std::min<int64_t>(l, p.x), r = std::max<int64_t>(r, p.x);
      t = std::min<int64_t>(t, p.y), b = std::max<int64_t>(b, p.y);
      extents.push_back(std::max(std::abs(int64_t(q.x) - p.x), std::abs(int64_t(q.y) - p.y)));
    }
    left_ = l, top_ = t;
    std::nth_element(extents.begin(), extents.begin() + n / 2, extents.end());
    cell_ = std::max<int64_t>(16, 2 * extents[n / 2]);
    // Not many more cells than edges.
    while (((r - l) / cell_ + 1) * ((b - t) / cell_ + 1) > int64_t(4 * n)) cell_ *= 2;
    cols_ = (r - l) / cell_ + 1, rows_ = (b - t) / cell_ + 1;
    start_.assign(size_t(cols_ * rows_ + 1), 0);
    forEachEdgeCell([&](size_t, int64_t c) { ++start_[size_t(c) + 1]; });
    for (size_t c = 1; c < start_.size(); ++c) start_[c] += start_[c - 1];
    edges_.resize(start_.back());
    std::vector<uint32_t> fill(start_.begin(), start_.end() - 1);
    forEachEdgeCell([&](size_t e, int64_t c) { edges_[fill[size_t(c)]++] = uint32_t(e); });
    stamp_.assign(n, 0);
  }

  // Whether an edge touches the box grown by `margin` on every side.
  bool edgeNear(const Region::Box& box, int32_t margin) {
    const int64_t l = int64_t(box.left) - margin, t = int64_t(box.top) - margin,
                  r = int64_t(box.right) + margin, b = int64_t(box.bottom) + margin;
    const int64_t c0 = std::max<int64_t>(0, (l - left_) / cell_ - 1),
                  c1 = std::min<int64_t>(cols_ - 1, (r - left_) / cell_ + 1),
                  r0 = std::max<int64_t>(0, (t - top_) / cell_ - 1),
                  r1 = std::min<int64_t>(rows_ - 1, (b - top_) / cell_ + 1);
    for (int64_t row = r0; row <= r1; ++row)
      for (int64_t col = c0; col <= c1; ++col) {
        const size_t c = size_t(row * cols_ + col);
        for (uint32_t k = start_[c]; k < start_[c + 1]; ++k)
          if (edgeTouchesBox(edges_[k], l, t, r, b)) return true;
      }
    return false;
  }

  // Whether an edge of the other loop comes within `margin` of an edge of
  // this one.
  bool curveNear(const TContour& other, int32_t margin) {
    const size_t m = other.size();
    for (size_t k = 0; k < m; ++k) {
      const TPoint a = other[k], b = other[(k + 1) % m];
      const int64_t l = int64_t(std::min(a.x, b.x)) - margin,
                    r = int64_t(std::max(a.x, b.x)) + margin,
                    t = int64_t(std::min(a.y, b.y)) - margin,
                    bt = int64_t(std::max(a.y, b.y)) + margin;
      if (r < left_ || bt < top_) continue;
      const int64_t c0 = std::max<int64_t>(0, (l - left_) / cell_ - 1),
                    c1 = std::min<int64_t>(cols_ - 1, (r - left_) / cell_ + 1),
                    r0 = std::max<int64_t>(0, (t - top_) / cell_ - 1),
                    r1 = std::min<int64_t>(rows_ - 1, (bt - top_) / cell_ + 1);
      for (int64_t row = r0; row <= r1; ++row)
        for (int64_t col = c0; col <= c1; ++col) {
          const size_t c = size_t(row * cols_ + col);
          for (uint32_t e = start_[c]; e < start_[c + 1]; ++e) {
            const TPoint p = loop_[edges_[e]], q = loop_[(edges_[e] + 1) % loop_.size()];
            if (segmentsCloserThan(a, b, p, q, margin)) return true;
          }
        }
    }
    return false;
  }

  // Even-odd inside test for a point that lies on no edge: the edges
  // crossing the ray from p to the right, counted once each.
  bool inside(TPoint p) {
    if (p.y < top_ || (p.y - top_) / cell_ >= rows_) return false;
    if (++query_ == 0) std::fill(stamp_.begin(), stamp_.end(), 0), query_ = 1;
    const int64_t row = (p.y - top_) / cell_;
    const int64_t col0 = p.x < left_ ? 0 : (p.x - left_) / cell_;
    const size_t n = loop_.size();
    bool in = false;
    for (int64_t col = col0; col < cols_; ++col) {
      const size_t c = size_t(row * cols_ + col);
      for (uint32_t k = start_[c]; k < start_[c + 1]; ++k) {
        const uint32_t e = edges_[k];
        if (stamp_[e] == query_) continue;
        stamp_[e] = query_;
        const TPoint a = loop_[e], b = loop_[(e + 1) % n];
        if ((a.y > p.y) == (b.y > p.y)) continue;
        // The crossing lies right of p when p is on the matching side of a -> b.
        if ((b.y > a.y) == (side(a, b, p) > 0)) in = !in;
      }
    }
    return in;
  }

 private:
  // The cells along each edge, row by row: a long slanted edge meets only
  // the cells near it, not every cell of its box.
  template <class F>
  void forEachEdgeCell(F f) const {
    const size_t n = loop_.size();
    for (size_t e = 0; e < n; ++e) {
      const TPoint p = loop_[e], q = loop_[(e + 1) % n];
      const int64_t x0 = std::min(p.x, q.x), x1 = std::max(p.x, q.x);
      const int64_t y0 = std::min(p.y, q.y), y1 = std::max(p.y, q.y);
      const int64_t r0 = (y0 - top_) / cell_, r1 = (y1 - top_) / cell_;
      const double dx = double(q.x) - p.x, dy = double(q.y) - p.y;
      for (int64_t row = r0; row <= r1; ++row) {
        int64_t xa = x0, xb = x1;
        if (r0 != r1) {  // slanted; doubles are good to far less than the slack of one
          const double ylo = double(std::max(y0, top_ + row * cell_));
          const double yhi = double(std::min(y1, top_ + (row + 1) * cell_));
          const double xlo = p.x + (ylo - p.y) * dx / dy, xhi = p.x + (yhi - p.y) * dx / dy;
          xa = std::max<int64_t>(x0, int64_t(std::floor(std::min(xlo, xhi))) - 1);
          xb = std::min<int64_t>(x1, int64_t(std::ceil(std::max(xlo, xhi))) + 1);
        }
        for (int64_t col = (xa - left_) / cell_; col <= (xb - left_) / cell_; ++col)
          f(e, row * cols_ + col);
      }
    }
  }

  // The sign of the turn o -> u -> v, exact for all coordinates.
  static int side(TPoint o, TPoint u, TPoint v) {
    const __int128 c = __int128(int64_t(u.x) - o.x) * (int64_t(v.y) - o.y) -
                       __int128(int64_t(u.y) - o.y) * (int64_t(v.x) - o.x);
    return c > 0 ? 1 : (c < 0 ? -1 : 0);
  }

  static double pointSegmentDistance(TPoint p, TPoint a, TPoint b) {
    const double dx = double(b.x) - a.x, dy = double(b.y) - a.y;
    const double px = double(p.x) - a.x, py = double(p.y) - a.y;
    const double length = dx * dx + dy * dy;
    const double u = length > 0 ? std::clamp((px * dx + py * dy) / length, 0.0, 1.0) : 0.0;
    return std::hypot(px - u * dx, py - u * dy);
  }

  // The touching test is exact; the distances in doubles are good to far
  // better than the margin.
  static bool segmentsCloserThan(TPoint a, TPoint b, TPoint p, TPoint q, int32_t margin) {
    if (int64_t(std::max(a.x, b.x)) + margin < std::min(p.x, q.x) ||
        int64_t(std::max(p.x, q.x)) + margin < std::min(a.x, b.x) ||
        int64_t(std::max(a.y, b.y)) + margin < std::min(p.y, q.y) ||
        int64_t(std::max(p.y, q.y)) + margin < std::min(a.y, b.y))
      return false;
    if (side(a, b, p) * side(a, b, q) <= 0 && side(p, q, a) * side(p, q, b) <= 0) return true;
    return std::min({pointSegmentDistance(a, p, q), pointSegmentDistance(b, p, q),
                     pointSegmentDistance(p, a, b), pointSegmentDistance(q, a, b)}) < margin;
  }

  // Exact: the edge's box meets the rectangle and the rectangle's corners
  // are not all strictly on one side of the edge's line.
  bool edgeTouchesBox(uint32_t e, int64_t l, int64_t t, int64_t r, int64_t b) const {
    const TPoint p = loop_[e], q = loop_[(e + 1) % loop_.size()];
    if (std::max(p.x, q.x) < l || std::min(p.x, q.x) > r || std::max(p.y, q.y) < t ||
        std::min(p.y, q.y) > b)
      return false;
    const int64_t dx = int64_t(q.x) - p.x, dy = int64_t(q.y) - p.y;
    int positive = 0, negative = 0;
    for (const auto& [x, y] : {std::pair{l, t}, {r, t}, {l, b}, {r, b}}) {
      const __int128 turn = __int128(dx) * (y - p.y) - __int128(dy) * (x - p.x);
      positive += turn > 0, negative += turn < 0;
    }
    return positive < 4 && negative < 4;
  }

  const TContour& loop_;
  int64_t left_ = 0, top_ = 0, cell_ = 16, cols_ = 1, rows_ = 1;
  std::vector<uint32_t> start_, edges_;
  std::vector<uint32_t> stamp_;
  uint32_t query_ = 0;
};

// How far, in units, edges must stay from a box, a point or another loop for
// the grid to settle a test: far beyond the rounding of clipping, so that
// clipping could not answer otherwise.
constexpr int32_t kClearMargin = 2;

struct LoopArea {
  Region area;                       // the loop filled with the even-odd rule
  std::optional<Region> complement;  // the loop's box, one unit larger, without the area
  Region::Box box;                   // of the area; empty for an empty area
  Region::Box pointBox;
  bool empty = true;
};

LoopArea makeLoopArea(const TContour& loop) {
  LoopArea a;
  a.area = Region::polygonOf(loop, FillRule::kAlternate);
  a.empty = a.area.empty();
  if (a.empty) return a;
  a.box = a.area.boundingBox();
  int32_t l = loop[0].x, r = loop[0].x, t = loop[0].y, b = loop[0].y;
  for (const auto& p : loop) {
    l = std::min(l, p.x), r = std::max(r, p.x), t = std::min(t, p.y), b = std::max(b, p.y);
  }
  a.pointBox = {l, t, r, b};
  return a;
}

// The square [x - 1, x + 1) x [y - 1, y + 1) lies wholly in the loop's area.
// Away from the loop's edges the point alone tells; near them the
// complement of the area is clipped once and asked.
bool squareInside(LoopArea& a, LoopEdgeGrid& grid, int32_t x, int32_t y) {
  const Region::Box& pb = a.pointBox;
  if (x - 1 < pb.left || x + 1 > pb.right || y - 1 < pb.top || y + 1 > pb.bottom) return false;
  const Region::Box square{x - 1, y - 1, x + 1, y + 1};
  if (!grid.edgeNear(square, kClearMargin)) return grid.inside({x, y});
  if (!a.complement)
    a.complement = Region::rectangle(pb.left - 1, pb.top - 1, pb.right + 1, pb.bottom + 1) - a.area;
  return !a.complement->intersectsRect(square);
}

std::optional<TPoint> innerPoint(const TContour& loop, LoopArea& a, LoopEdgeGrid& grid,
                                 int32_t cw) {
  // No 2 x 2 square fits into less area.
  if (a.empty || a.area.area() < 4.0) return std::nullopt;
  const int32_t base = static_cast<int32_t>(std::nearbyint(cw / 1.4));
  for (int i = 1; i <= 20; ++i) {
    const int32_t d = base + 5 * i;
    const TPoint steps[7] = {{-d, -d}, {-d, d}, {d, -d}, {d, 0}, {0, d}, {-d, 0}, {0, -d}};
    for (const auto& v : loop)
      for (const auto& s : steps)
        if (squareInside(a, grid, v.x + s.x, v.y + s.y)) return TPoint{v.x + s.x, v.y + s.y};
  }
  return std::nullopt;
}

bool onCopper(TContourWorkSet& work, TPoint p) {
  std::vector<size_t> near;
  work.index.candidates(TRect{p.x - 1, p.y - 1, p.x + 1, p.y + 1}, near);
  for (size_t i : near) {
    if (!work.isCopper[i]) continue;
    const TRect& b = work.bounds[i];
    if (p.x < b.left || p.x > b.right || p.y < b.top || p.y > b.bottom) continue;
    const auto& outline = work.index.outline(work.copies, i);
    if (outline && outline->containsPoint({p.x, p.y})) return true;
  }
  return false;
}

bool boxInside(const Region::Box& inner, const Region::Box& outer) {
  return inner.left >= outer.left && inner.right <= outer.right && inner.top >= outer.top &&
         inner.bottom <= outer.bottom;
}

int64_t floorDiv(int64_t v, int64_t d) {
  return v >= 0 ? v / d : -((-v + d - 1) / d);
}

// The area of a large loop cut into nested squares on demand, so that a test
// against a small box clips only the part of the loop that can matter.
class CroppedArea {
 public:
  CroppedArea(const Region& area, const Region::Box& box)
      : area_(area), left_(box.left), top_(box.top) {
    const int64_t extent = std::max<int64_t>(box.right - box.left, box.bottom - box.top);
    while (size_ < extent) size_ *= 2;
  }

  // The area within a square that holds `query`.
  const Region& around(const Region::Box& query) {
    int level = 0;
    int64_t col = 0, row = 0;
    for (int next = 1; next <= kMaxLevel; ++next) {
      const int64_t tile = size_ >> next;
      if (tile < kMinTile) break;
      const int64_t c = floorDiv(query.left - left_, tile), r = floorDiv(query.top - top_, tile);
      if (query.right - left_ > (c + 1) * tile || query.bottom - top_ > (r + 1) * tile) break;
      level = next, col = c, row = r;
    }
    return piece(level, col, row);
  }

 private:
  static constexpr int kMaxLevel = 12;
  static constexpr int64_t kMinTile = 64;

  const Region& piece(int level, int64_t col, int64_t row) {
    if (level == 0) return area_;
    const uint64_t key = uint64_t(level) << 58 ^ uint64_t(col) << 29 ^ uint64_t(row);
    auto it = pieces_.find(key);
    if (it != pieces_.end()) return it->second;
    const int64_t tile = size_ >> level;
    const int64_t l = left_ + col * tile, t = top_ + row * tile;
    Region cut = piece(level - 1, col / 2, row / 2) &
                 Region::rectangle(int32_t(l), int32_t(t), int32_t(l + tile), int32_t(t + tile));
    return pieces_.emplace(key, std::move(cut)).first->second;
  }

  const Region& area_;
  int64_t left_, top_;
  int64_t size_ = 1;
  std::unordered_map<uint64_t, Region> pieces_;
};

// Loops with fewer points are clipped whole.
constexpr size_t kCropFromPoints = 256;

// Buckets of loop boxes, to find the loops whose box holds a given box.
class BoxBuckets {
 public:
  explicit BoxBuckets(const std::vector<LoopArea>& areas) : areas_(areas) {
    std::vector<int64_t> extents;
    for (const auto& a : areas)
      if (!a.empty)
        extents.push_back(
            std::max(int64_t(a.box.right) - a.box.left, int64_t(a.box.bottom) - a.box.top));
    if (extents.empty()) return;
    std::nth_element(extents.begin(), extents.begin() + extents.size() / 2, extents.end());
    cell_ = std::max<int64_t>(16, 2 * extents[extents.size() / 2]);
    for (size_t i = 0; i < areas.size(); ++i) {
      if (areas[i].empty) continue;
      const auto& b = areas[i].box;
      const int64_t c0 = floorDiv(b.left, cell_), c1 = floorDiv(b.right, cell_),
                    r0 = floorDiv(b.top, cell_), r1 = floorDiv(b.bottom, cell_);
      if ((c1 - c0 + 1) * (r1 - r0 + 1) > kMaxCells) {
        oversized_.push_back(int(i));
        continue;
      }
      for (int64_t c = c0; c <= c1; ++c)
        for (int64_t r = r0; r <= r1; ++r) entries_.push_back({c, r, int(i)});
    }
    std::sort(entries_.begin(), entries_.end());
  }

  // Loops other than `self` whose box holds `box`, ascending.
  void holders(int self, const Region::Box& box, std::vector<int>& out) const {
    out.clear();
    if (cell_ == 0) return;
    const Entry key{floorDiv(box.left, cell_), floorDiv(box.top, cell_), -1};
    for (auto it = std::lower_bound(entries_.begin(), entries_.end(), key);
         it != entries_.end() && it->col == key.col && it->row == key.row; ++it)
      consider(self, it->loop, box, out);
    for (int i : oversized_) consider(self, i, box, out);
    std::sort(out.begin(), out.end());
  }

 private:
  static constexpr int64_t kMaxCells = 1024;
  struct Entry {
    int64_t col, row;
    int loop;
    friend auto operator<=>(const Entry&, const Entry&) = default;
  };
  void consider(int self, int i, const Region::Box& box, std::vector<int>& out) const {
    if (i != self && boxInside(box, areas_[i].box)) out.push_back(i);
  }
  const std::vector<LoopArea>& areas_;
  int64_t cell_ = 0;
  std::vector<Entry> entries_;
  std::vector<int> oversized_;
};

}  // namespace

std::vector<TLoopClass> classifyLoops(const std::vector<TContour>& loops, TContourWorkSet& work,
                                      int32_t cw, const TContourProgress& progress) {
  const size_t n = loops.size();
  std::vector<TLoopClass> classes(n);
  std::vector<LoopArea> areas;
  areas.reserve(n);
  std::vector<std::optional<TPoint>> inner(n);
  std::vector<std::unique_ptr<LoopEdgeGrid>> grids(n);
  for (size_t i = 0; i < n; ++i) {
    if (progress) progress(TContourStep::kOptimise, i, 2 * n);
    areas.push_back(makeLoopArea(loops[i]));
    if (!areas[i].empty) grids[i] = std::make_unique<LoopEdgeGrid>(loops[i]);
    inner[i] = areas[i].empty ? std::nullopt : innerPoint(loops[i], areas[i], *grids[i], cw);
    if (inner[i]) classes[i].value = onCopper(work, *inner[i]) ? 1 : 0;
  }
  BoxBuckets buckets(areas);
  std::vector<std::unique_ptr<CroppedArea>> cropped(n);
  std::vector<int> near;
  for (size_t i = 0; i < n; ++i) {
    if (progress) progress(TContourStep::kOptimise, n + i, 2 * n);
    auto& containers = classes[i].containers;
    if (areas[i].empty) {  // an empty area lies inside every loop
      for (size_t j = 0; j < n; ++j)
        if (j != i) containers.push_back(int(j));
      continue;
    }
    buckets.holders(int(i), areas[i].box, near);
    for (int j : near) {
      // When no edge of j comes near loop i, one point of i tells.
      LoopEdgeGrid& grid = *grids[j];
      if (!grid.edgeNear(areas[i].pointBox, kClearMargin)) {
        if (grid.inside(inner[i] ? *inner[i] : loops[i][0])) containers.push_back(j);
        continue;
      }
      // The two loops keep apart, and j, whose box holds i's, cannot lie
      // inside i: i lies wholly inside or wholly outside j, as any point of
      // it shows.
      if (!grid.curveNear(loops[i], kClearMargin)) {
        if (grid.inside(loops[i][0])) containers.push_back(j);
        continue;
      }
      if (loops[j].size() >= kCropFromPoints && !cropped[j])
        cropped[j] = std::make_unique<CroppedArea>(areas[j].area, areas[j].box);
      const Region& holder = cropped[j] ? cropped[j]->around(areas[i].box) : areas[j].area;
      // A loop inside another has its inner point there too; the point test
      // needs no clipping.
      if (inner[i] && !holder.containsPoint({inner[i]->x, inner[i]->y})) continue;
      if ((areas[i].area - holder).empty()) containers.push_back(j);
    }
  }
  for (auto& c : classes) {
    size_t most = 0;
    for (int j : c.containers)
      if (c.parent < 0 || classes[j].containers.size() > most) {
        c.parent = j;
        most = classes[j].containers.size();
      }
  }
  if (progress) progress(TContourStep::kOptimise, 2 * n, 2 * n);
  return classes;
}

TContourList selectContours(std::vector<TContour> loops, const std::vector<TLoopClass>& classes,
                            size_t& dropped) {
  TContourList kept;
  dropped = 0;
  for (size_t i = 0; i < loops.size(); ++i) {
    const TLoopClass& c = classes[i];
    if (c.value < 0) {
      ++dropped;
      continue;
    }
    if (c.parent >= 0 && classes[c.parent].value == c.value) continue;
    kept.push_back(std::move(loops[i]));
  }
  return kept;
}

}  // namespace plavesk
