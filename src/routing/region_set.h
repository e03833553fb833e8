// A union of many small regions kept as separate pieces in grid buckets, so
// that "does this square or outline share an area with the union" looks only
// at the pieces nearby. The union shares an area with a shape exactly when
// one of its pieces does.
#pragma once

#include <cstdint>
#include <functional>
#include <unordered_map>
#include <vector>

#include "platform/core/region.h"

namespace plavesk {

class TRegionSet {
 public:
  explicit TRegionSet(int32_t bucketSize = 200) : bucketSize_(bucketSize > 0 ? bucketSize : 200) {}

  // Empty regions are ignored.
  void add(Region piece);
  size_t size() const { return pieces_.size(); }
  // Bounding box of all pieces; empty when there are none.
  const Region::Box& bounds() const { return bounds_; }

  bool intersectsRect(const Region::Box& rect) const;
  bool overlaps(const Region& shape) const;
  // Removes the union from `shape`.
  void subtractFrom(Region& shape) const;

 private:
  struct Piece {
    Region region;
    Region::Box box;
  };
  void forEachNear(const Region::Box& box, const std::function<bool(const Piece&)>& visit) const;
  int64_t bucketOf(int64_t v) const;
  static int64_t key(int64_t bx, int64_t by) { return (bx << 32) ^ (by & 0xffffffff); }

  int32_t bucketSize_;
  std::vector<Piece> pieces_;
  std::unordered_map<int64_t, std::vector<uint32_t>> buckets_;
  std::vector<uint32_t> oversized_;
  Region::Box bounds_{};
  mutable std::vector<uint32_t> stamp_;
  mutable uint32_t query_ = 0;
};

}  // namespace plavesk
