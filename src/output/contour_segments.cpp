#include "output/contour_segments.h"

#include <algorithm>
#include <cmath>

#include "view/geometry.h"

namespace plavesk {
namespace {

int32_t halfChannel(int32_t cw) {
  return static_cast<int32_t>(std::nearbyint(cw / 2.0));
}

// The fields the geometry reads; the runtime references stay behind.
TObjektPtr geometryCopy(const TObjekt& e) {
  auto c = std::make_unique<TObjekt>();
  c->kind = e.kind;
  c->x = e.x;
  c->y = e.y;
  c->dim1 = e.dim1;
  c->dim2 = e.dim2;
  c->dim3 = e.dim3;
  c->selected = e.selected;
  c->layer = e.layer;
  c->padShape = e.padShape;
  c->points = e.points;
  c->angle = e.angle;
  c->filled = e.filled;
  c->clearance = e.clearance;
  c->mirrorH = e.mirrorH;
  c->mirrorV = e.mirrorV;
  c->closed = 1;
  c->text = e.text;
  for (const auto& stroke : e.strokes) c->strokes.push_back(geometryCopy(*stroke));
  return c;
}

bool overlaps(const TRect& a, const TRect& b) {
  return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

bool boxInside(const Region::Box& inner, const Region::Box& outer) {
  return inner.left >= outer.left && inner.right <= outer.right && inner.top >= outer.top &&
         inner.bottom <= outer.bottom;
}

// Whether b's outline minus a's is empty. A few small squares spread over
// b's box settle most pairs that are not covered without clipping: a square
// that holds some of b but nothing of a shows that b sticks out.
bool isCovered(const std::optional<Region>& b, const std::optional<Region>& a) {
  if (!b || b->empty()) return true;
  if (!a || a->empty()) return false;
  const Region::Box bb = b->boundingBox();
  if (!boxInside(bb, a->boundingBox())) return false;
  const int64_t w = int64_t(bb.right) - bb.left, h = int64_t(bb.bottom) - bb.top;
  for (const auto& [fx, fy] : {std::pair{2, 2}, {1, 1}, {3, 1}, {1, 3}, {3, 3}}) {
    const int32_t x = int32_t(bb.left + w * fx / 4), y = int32_t(bb.top + h * fy / 4);
    const Region::Box square{x - 1, y - 1, x + 1, y + 1};
    if (b->intersectsRect(square) && !a->intersectsRect(square)) return false;
  }
  return (*b - *a).empty();
}

}  // namespace

void applyChannelWidth(TObjekt& e, int32_t cw) {
  switch (e.kind) {
    case kLine:
    case kArea:
    case kTrack:
      e.dim3 += cw;
      break;
    case kPad:
      e.dim1 += halfChannel(cw);
      break;
    case kCircle:
      e.dim1 += halfChannel(cw);
      e.dim2 = std::max(0, e.dim2 - halfChannel(cw));
      break;
    case kText:
      for (auto& stroke : e.strokes) stroke->dim3 += cw;
      break;
    case kSmdPad:
      e.dim1 += cw;
      e.dim2 += cw;
      break;
    default:
      break;
  }
}

TContourWorkSet makeContourWorkSet(const TObjektList& list, const TContourOptions& options) {
  TContourWorkSet work;
  for (const auto& e : list) {
    if (isSingleLineText(*e, options)) continue;
    const bool onLayer = e->layer == options.layer;
    const bool throughPad =
        e->kind == kPad && e->padLink != nullptr && isCopperLayer(e->padLink->layer);
    if (!onLayer && !throughPad) continue;
    const bool bareHole = e->kind == kPad && e->dim1 == e->dim2;
    work.copies.push_back(geometryCopy(*e));
    applyChannelWidth(*work.copies.back(), options.channelWidth);
    work.takesPart.push_back(onLayer && !bareHole);
    work.isCopper.push_back(1);
    work.bounds.push_back(elementBounds(*work.copies.back()));
  }
  work.index.build(work.copies);
  return work;
}

std::vector<TShapePolygon> buildSegments(TContourWorkSet& work, const TContourProgress& progress) {
  const size_t n = work.copies.size();
  auto report = [&](size_t position) {
    if (progress) progress(TContourStep::kSegments, position, 2 * n);
  };
  const std::vector<TRect>& bounds = work.bounds;
  std::vector<size_t> near;
  for (size_t a = 0; a < n; ++a) {
    report(a);
    if (!work.takesPart[a]) continue;
    work.index.candidates(bounds[a], near);
    for (size_t b : near) {
      if (b == a || !work.takesPart[b] || !overlaps(bounds[a], bounds[b])) continue;
      if (isCovered(work.index.outline(work.copies, b), work.index.outline(work.copies, a)))
        work.takesPart[b] = 0;
    }
  }
  std::vector<TShapePolygon> polygons;
  for (size_t i = 0; i < n; ++i) {
    report(n + i);
    if (!work.takesPart[i]) continue;
    for (auto& p : elementPolygons(*work.copies[i])) {
      orientClockwise(p);
      polygons.push_back(std::move(p));
    }
  }
  report(2 * n);
  return polygons;
}

}  // namespace plavesk
