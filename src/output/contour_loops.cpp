#include "output/contour_loops.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <unordered_map>

#include "platform/core/region.h"
#include "view/geometry.h"

namespace plavesk {
namespace {

struct LoopArea {
  Region area;        // the loop filled with the even-odd rule
  Region complement;  // the loop's box, one unit larger, without the area
  Region::Box box;    // of the area; empty for an empty area
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
  a.complement = Region::rectangle(l - 1, t - 1, r + 1, b + 1) - a.area;
  return a;
}

// The square [x - 1, x + 1) x [y - 1, y + 1) lies wholly in the loop's area.
bool squareInside(const LoopArea& a, int32_t x, int32_t y) {
  const Region::Box& pb = a.pointBox;
  if (x - 1 < pb.left || x + 1 > pb.right || y - 1 < pb.top || y + 1 > pb.bottom) return false;
  return !a.complement.intersectsRect({x - 1, y - 1, x + 1, y + 1});
}

std::optional<TPoint> innerPoint(const TContour& loop, const LoopArea& a, int32_t cw) {
  // No 2 x 2 square fits into less area.
  if (a.empty || a.area.area() < 4.0) return std::nullopt;
  const int32_t base = static_cast<int32_t>(std::nearbyint(cw / 1.4));
  for (int i = 1; i <= 20; ++i) {
    const int32_t d = base + 5 * i;
    const TPoint steps[7] = {{-d, -d}, {-d, d}, {d, -d}, {d, 0}, {0, d}, {-d, 0}, {0, -d}};
    for (const auto& v : loop)
      for (const auto& s : steps)
        if (squareInside(a, v.x + s.x, v.y + s.y)) return TPoint{v.x + s.x, v.y + s.y};
  }
  return std::nullopt;
}

bool onCopper(TContourWorkSet& work, TPoint p) {
  std::vector<size_t> near;
  work.index.candidates(TRect{p.x - 1, p.y - 1, p.x + 1, p.y + 1}, near);
  for (size_t i : near) {
    if (!work.isCopper[i]) continue;
    const TRect b = elementBounds(*work.copies[i]);
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
      if (!a.empty) extents.push_back(std::max(a.box.right - a.box.left, a.box.bottom - a.box.top));
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
  for (size_t i = 0; i < n; ++i) {
    if (progress) progress(TContourStep::kOptimise, i, 2 * n);
    areas.push_back(makeLoopArea(loops[i]));
    inner[i] = innerPoint(loops[i], areas[i], cw);
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
