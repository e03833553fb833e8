// Grid buckets over the element bounds of a list, so that a hit test looks
// only at the elements near the point, and a cache of the outlines it has
// needed. The index holds positions in and outlines of the list it was built
// from: rebuild it after the list changes.
#pragma once

#include <cstdint>
#include <optional>
#include <unordered_map>
#include <vector>

#include "document/objekt.h"
#include "view/geometry.h"

namespace plavesk {

class TSpatialIndex {
 public:
  explicit TSpatialIndex(int32_t cellSize = 500) : cellSize_(cellSize > 0 ? cellSize : 500) {}

  void build(const TObjektList& list);
  size_t size() const { return bounds_.size(); }
  // Positions of the elements whose bounds meet the rectangle, ascending.
  void candidates(const TRect& r, std::vector<size_t>& out) const;
  // elementOutline of list[i], computed on first use.
  const std::optional<Region>& outline(const TObjektList& list, size_t i) const;

 private:
  static constexpr int64_t kMaxCellsPerElement = 4096;
  int64_t cellKey(int64_t cx, int64_t cy) const { return (cx << 32) ^ (cy & 0xffffffff); }
  int64_t cellOf(int64_t v) const;

  int32_t cellSize_;
  std::vector<TRect> bounds_;  // grown by one unit: octagons reach past their radius
  std::unordered_map<int64_t, std::vector<uint32_t>> cells_;
  std::vector<uint32_t> oversized_;  // elements spanning too many cells
  mutable std::vector<std::optional<Region>> outlines_;
  mutable std::vector<uint8_t> outlineKnown_;
  mutable std::vector<uint32_t> stamp_;
  mutable uint32_t query_ = 0;
};

// Positions of the elements of `list` (indexed by `index`) hit at p, in list
// order: the same answer as hitElement on each element.
std::vector<size_t> hitElements(const TObjektList& list, const TSpatialIndex& index, TPoint p,
                                double zoom);

}  // namespace plavesk
