#include "view/spatial_index.h"

#include <algorithm>

namespace plavesk {

int64_t TSpatialIndex::cellOf(int64_t v) const {
  return v >= 0 ? v / cellSize_ : -((-v + cellSize_ - 1) / cellSize_);
}

void TSpatialIndex::build(const TObjektList& list) {
  bounds_.clear();
  cells_.clear();
  oversized_.clear();
  bounds_.reserve(list.size());
  stamp_.assign(list.size(), 0);
  outlines_.assign(list.size(), std::nullopt);
  outlineKnown_.assign(list.size(), 0);
  query_ = 0;
  for (size_t i = 0; i < list.size(); ++i) {
    TRect b = elementBounds(*list[i]);
    if (!b.isEmpty()) {
      b.left -= 1;
      b.top -= 1;
      b.right += 1;
      b.bottom += 1;
    }
    bounds_.push_back(b);
    if (b.isEmpty()) continue;
    const int64_t x0 = cellOf(b.left), x1 = cellOf(b.right), y0 = cellOf(b.top),
                  y1 = cellOf(b.bottom);
    if ((x1 - x0 + 1) * (y1 - y0 + 1) > kMaxCellsPerElement) {
      oversized_.push_back(uint32_t(i));
      continue;
    }
    for (int64_t cx = x0; cx <= x1; ++cx)
      for (int64_t cy = y0; cy <= y1; ++cy) cells_[cellKey(cx, cy)].push_back(uint32_t(i));
  }
}

void TSpatialIndex::candidates(const TRect& r, std::vector<size_t>& out) const {
  out.clear();
  if (++query_ == 0) {
    std::fill(stamp_.begin(), stamp_.end(), 0);
    query_ = 1;
  }
  auto consider = [&](uint32_t i) {
    if (stamp_[i] == query_) return;
    stamp_[i] = query_;
    const TRect& b = bounds_[i];
    if (r.right > b.left && r.left < b.right && r.bottom > b.top && r.top < b.bottom)
      out.push_back(i);
  };
  const int64_t x0 = cellOf(r.left), x1 = cellOf(r.right), y0 = cellOf(r.top),
                y1 = cellOf(r.bottom);
  if ((x1 - x0 + 1) * (y1 - y0 + 1) > int64_t(cells_.size())) {
    for (const auto& [key, members] : cells_)
      for (uint32_t i : members) consider(i);
  } else {
    for (int64_t cx = x0; cx <= x1; ++cx)
      for (int64_t cy = y0; cy <= y1; ++cy) {
        const auto it = cells_.find(cellKey(cx, cy));
        if (it == cells_.end()) continue;
        for (uint32_t i : it->second) consider(i);
      }
  }
  for (uint32_t i : oversized_) consider(i);
  std::sort(out.begin(), out.end());
}

const std::optional<Region>& TSpatialIndex::outline(const TObjektList& list, size_t i) const {
  if (!outlineKnown_[i]) {
    outlines_[i] = elementOutline(*list[i]);
    outlineKnown_[i] = 1;
  }
  return outlines_[i];
}

std::vector<size_t> hitElements(const TObjektList& list, const TSpatialIndex& index, TPoint p,
                                double zoom) {
  const TRect square = hitSquare(p, zoom);
  std::vector<size_t> near, hits;
  index.candidates(square, near);
  for (size_t i : near) {
    if (i >= list.size()) continue;
    const auto& outline = index.outline(list, i);
    if (outline && outline->intersectsRect(toBox(square))) hits.push_back(i);
  }
  return hits;
}

}  // namespace plavesk
