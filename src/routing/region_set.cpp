#include "routing/region_set.h"

#include <algorithm>

namespace plavesk {
namespace {

constexpr int64_t kMaxBucketsPerPiece = 1024;

bool boxesMeet(const Region::Box& a, const Region::Box& b) {
  return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

}  // namespace

int64_t TRegionSet::bucketOf(int64_t v) const {
  return v >= 0 ? v / bucketSize_ : -((-v + bucketSize_ - 1) / bucketSize_);
}

void TRegionSet::add(Region piece) {
  if (piece.empty()) return;
  const Region::Box box = piece.boundingBox();
  const uint32_t index = uint32_t(pieces_.size());
  if (pieces_.empty()) {
    bounds_ = box;
  } else {
    bounds_.left = std::min(bounds_.left, box.left);
    bounds_.top = std::min(bounds_.top, box.top);
    bounds_.right = std::max(bounds_.right, box.right);
    bounds_.bottom = std::max(bounds_.bottom, box.bottom);
  }
  pieces_.push_back({std::move(piece), box});
  stamp_.push_back(0);
  const int64_t x0 = bucketOf(box.left), x1 = bucketOf(box.right), y0 = bucketOf(box.top),
                y1 = bucketOf(box.bottom);
  if ((x1 - x0 + 1) * (y1 - y0 + 1) > kMaxBucketsPerPiece) {
    oversized_.push_back(index);
    return;
  }
  for (int64_t bx = x0; bx <= x1; ++bx)
    for (int64_t by = y0; by <= y1; ++by) buckets_[key(bx, by)].push_back(index);
}

void TRegionSet::forEachNear(const Region::Box& box,
                             const std::function<bool(const Piece&)>& visit) const {
  if (pieces_.empty() || !boxesMeet(box, bounds_)) return;
  if (++query_ == 0) {
    std::fill(stamp_.begin(), stamp_.end(), 0);
    query_ = 1;
  }
  auto consider = [&](uint32_t i) {
    if (stamp_[i] == query_) return false;
    stamp_[i] = query_;
    return boxesMeet(box, pieces_[i].box) && visit(pieces_[i]);
  };
  for (uint32_t i : oversized_)
    if (consider(i)) return;
  const int64_t x0 = bucketOf(std::max(box.left, bounds_.left)),
                x1 = bucketOf(std::min(box.right, bounds_.right)),
                y0 = bucketOf(std::max(box.top, bounds_.top)),
                y1 = bucketOf(std::min(box.bottom, bounds_.bottom));
  for (int64_t bx = x0; bx <= x1; ++bx)
    for (int64_t by = y0; by <= y1; ++by) {
      const auto it = buckets_.find(key(bx, by));
      if (it == buckets_.end()) continue;
      for (uint32_t i : it->second)
        if (consider(i)) return;
    }
}

bool TRegionSet::intersectsRect(const Region::Box& rect) const {
  bool hit = false;
  forEachNear(rect, [&](const Piece& p) { return hit = p.region.intersectsRect(rect); });
  return hit;
}

bool TRegionSet::overlaps(const Region& shape) const {
  if (shape.empty()) return false;
  bool hit = false;
  forEachNear(shape.boundingBox(),
              [&](const Piece& p) { return hit = !(p.region & shape).empty(); });
  return hit;
}

void TRegionSet::subtractFrom(Region& shape) const {
  if (shape.empty()) return;
  std::vector<const Piece*> near;
  forEachNear(shape.boundingBox(), [&](const Piece& p) {
    near.push_back(&p);
    return false;
  });
  for (const Piece* p : near) shape.subtract(p->region);
}

}  // namespace plavesk
