#include "view/geometry.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "view/units.h"

namespace plavesk {

namespace {

constexpr int32_t kMinHalfWidthForBounds = 20;

int32_t clampToInt32(int64_t v) {
  return static_cast<int32_t>(std::clamp<int64_t>(v, std::numeric_limits<int32_t>::min(),
                                                  std::numeric_limits<int32_t>::max()));
}

TRect inflate(TRect r, int64_t by) {
  return TRect{clampToInt32(r.left - by), clampToInt32(r.top - by), clampToInt32(r.right + by),
               clampToInt32(r.bottom + by)};
}

TRect aroundCentre(int32_t x, int32_t y, int64_t halfWidth, int64_t halfHeight) {
  return normalised(TRect{clampToInt32(x - halfWidth), clampToInt32(y - halfHeight),
                          clampToInt32(x + halfWidth), clampToInt32(y + halfHeight)});
}

TPoint turned(TPoint p, TPoint c) {
  return TPoint{clampToInt32(int64_t(c.x) + (int64_t(p.y) - c.y)),
                clampToInt32(int64_t(c.y) - (int64_t(p.x) - c.x))};
}
int32_t mirrored(int32_t v, int32_t c) {
  return clampToInt32(2 * int64_t(c) - v);
}

// Pad shapes exchanged by a quarter turn: horizontal <-> vertical.
int turnedPadShape(int shape) {
  if (shape >= kPadOblongH && shape <= kPadRectH) return shape + 3;
  if (shape >= kPadOblongV && shape <= kPadRectV) return shape - 3;
  return shape;
}

// Pad half sizes {x, y} in units of the outer radius; nullopt for an unknown shape.
std::optional<std::pair<int, int>> padExtent(int shape) {
  if (shape >= 1 && shape <= 3) return std::pair{1, 1};
  if (shape >= 4 && shape <= 6) return std::pair{2, 1};
  if (shape >= 7 && shape <= 9) return std::pair{1, 2};
  return std::nullopt;
}

TPoint toDevice(TPoint p, const DeviceMapping* device) {
  return device ? device->toDevice(p) : p;
}

Region rectangleOn(TPoint a, TPoint b, const DeviceMapping* device) {
  a = toDevice(a, device);
  b = toDevice(b, device);
  return Region::rectangle(a.x, a.y, b.x, b.y);
}

Region ellipseOn(TPoint a, TPoint b, const DeviceMapping* device) {
  a = toDevice(a, device);
  b = toDevice(b, device);
  return Region::ellipse(a.x, a.y, b.x, b.y);
}

Region polygonOn(std::vector<TPoint> points, const DeviceMapping* device) {
  if (device)
    for (auto& p : points) p = device->toDevice(p);
  return Region::polygonOf(points, FillRule::kAlternate);
}

Region octagon(TPoint c, int64_t a, int64_t b, int64_t q, const DeviceMapping* device) {
  // The right and lower vertices lie one unit further out.
  auto pt = [](int64_t x, int64_t y) { return TPoint{clampToInt32(x), clampToInt32(y)}; };
  const int64_t x = c.x, y = c.y;
  return polygonOn(
      {pt(x - a, y + b - q), pt(x - a + q, y + b), pt(x + a - q, y + b),
       pt(x + a + 1, y + b - q - 1), pt(x + a + 1, y - b + q), pt(x + a - q + 1, y - b - 1),
       pt(x - a + q, y - b - 1), pt(x - a, y - b + q - 1)},
      device);
}

Region roundRectOn(TPoint a, TPoint b, int32_t corner, const DeviceMapping* device) {
  int32_t cornerW = corner, cornerH = corner;
  if (device) {
    cornerW = cornerH = roundToUnit(corner * device->pixelScale());
    a = device->toDevice(a);
    b = device->toDevice(b);
  }
  return Region::roundRect(a.x, a.y, b.x, b.y, cornerW, cornerH);
}

Region circleOutline(const TObjekt& e, const DeviceMapping* device) {
  const int32_t r = e.dim1;
  int32_t d = e.dim2;  // a copy: a filled arc needs an inner radius of at least 1
  const TPoint c{e.x, e.y};
  Region outline;
  {
    TPoint a{c.x - r, c.y + r}, b{c.x + r, c.y - r};
    if (device) {
      a = device->toDevice(a);
      b = device->toDevice(b);
      const int32_t left = std::min(a.x, b.x) + 1, top = std::min(a.y, b.y) + 1;
      outline = Region::ellipse(left, top, std::max(a.x, b.x), std::max(a.y, b.y));
    } else {
      outline = Region::ellipse(a.x, a.y, b.x, b.y);
    }
  }
  if (!e.filled) {
    TPoint a{c.x - d, c.y + d}, b{c.x + d, c.y - d};
    if (device) {
      const TPoint oa = device->toDevice({c.x - r, c.y + r}),
                   ob = device->toDevice({c.x + r, c.y - r});
      a = device->toDevice(a);
      b = device->toDevice(b);
      const int32_t oLeft = std::min(oa.x, ob.x), oTop = std::min(oa.y, ob.y);
      const int32_t oRight = std::max(oa.x, ob.x), oBottom = std::max(oa.y, ob.y);
      const int32_t left = std::max(std::min(a.x, b.x), oLeft + 1);
      const int32_t top = std::max(std::min(a.y, b.y), oTop + 1);
      const int32_t right = std::min(std::max(a.x, b.x), oRight - 1);
      const int32_t bottom = std::min(std::max(a.y, b.y), oBottom - 1);
      outline.subtract(Region::ellipse(left, top, right, bottom));
    } else {
      outline.subtract(Region::ellipse(a.x, a.y, b.x, b.y));
    }
  }
  if (e.angle != e.dim3) {
    double margin = 0;
    if (e.filled) {
      if (d == 0) d = 1;
      margin = roundHalfEven(double((r - d) / 2) / (double(d) * 2 * std::numbers::pi) * 360.0);
    }
    int32_t sweep = (e.dim3 - e.angle) % 360;
    if (sweep < 0) sweep += 360;
    const int32_t middle = sweep <= 180 ? e.angle + sweep / 2 : e.angle - (360 - sweep) / 2;
    const int32_t far = clampToInt32(2 * int64_t(r));
    Region wedge = polygonOn({arcPoint(e, e.angle - margin, d), arcPoint(e, e.angle - margin, far),
                              arcPoint(e, middle, far), arcPoint(e, e.dim3 + margin, far),
                              arcPoint(e, e.dim3 + margin, d)},
                             device);
    if (sweep <= 180)
      outline.intersect(wedge);
    else
      outline.subtract(wedge);
    const int32_t endRadius = (r - d) / 2;
    const int32_t middleRadius = d + endRadius;
    for (int32_t a : {e.angle, e.dim3}) {
      const TPoint p = arcPoint(e, a, middleRadius);
      outline.unite(ellipseOn({p.x - endRadius, p.y + endRadius},
                              {p.x + endRadius, p.y - endRadius}, device));
    }
  }
  return outline;
}

std::optional<Region> pointsOutline(const TObjekt& e, const DeviceMapping* device) {
  if (e.points.size() < 2) return std::nullopt;
  Region outline;
  for (size_t i = 1; i < e.points.size(); ++i)
    outline.unite(trackOutline(e.points[i - 1], e.points[i], e.dim3, device));
  if (e.kind == kArea && e.points.size() > 2) outline.unite(polygonOn(e.points, device));
  return outline;
}

}  // namespace

TRect normalised(TRect r) {
  if (r.left > r.right) std::swap(r.left, r.right);
  if (r.top > r.bottom) std::swap(r.top, r.bottom);
  return r;
}

TRect unite(const TRect& a, const TRect& b) {
  if (a.isEmpty()) return b.isEmpty() ? TRect{} : b;
  if (b.isEmpty()) return a;
  return TRect{std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
               std::max(a.bottom, b.bottom)};
}

TRect toRect(const Region::Box& box) {
  return TRect{box.left, box.top, box.right, box.bottom};
}
Region::Box toBox(const TRect& rect) {
  return Region::Box{rect.left, rect.top, rect.right, rect.bottom};
}

TRect elementBounds(const TObjekt& e) {
  int64_t w = e.dim3 / 2;
  if (w == 0) w = kMinHalfWidthForBounds;
  const int64_t c = e.clearance;
  switch (e.kind) {
    case kLine:
      return inflate(normalised(TRect{e.x, e.y, e.dim1, e.dim2}), w + c);
    case kPad: {
      const auto extent = padExtent(e.padShape);
      if (!extent) return TRect{};
      const int64_t r = int64_t(e.dim1) + c;
      return aroundCentre(e.x, e.y, extent->first * r, extent->second * r);
    }
    case kFontText:
      return inflate(normalised(TRect{e.x, e.y, e.dim1, e.dim2}), c);
    case kArea:
    case kTrack: {
      // Fewer than two points: the zero rectangle, pushed out like any other.
      if (e.points.size() < 2) return inflate(TRect{}, w + c);
      TRect r{e.points[0].x, e.points[0].y, e.points[0].x, e.points[0].y};
      for (const auto& p : e.points) {
        r.left = std::min(r.left, p.x);
        r.right = std::max(r.right, p.x);
        r.top = std::min(r.top, p.y);
        r.bottom = std::max(r.bottom, p.y);
      }
      return inflate(r, w + c);
    }
    case kCircle: {
      // A whole disc or ring reaches exactly as far as its outer circle: the
      // costly exact outline is needed for arcs only.
      const bool whole =
          e.angle == e.dim3 && e.dim1 > 0 && (e.filled || std::abs(int64_t(e.dim2)) < e.dim1);
      const Region outline =
          whole ? Region::ellipse(e.x - e.dim1, e.y + e.dim1, e.x + e.dim1, e.y - e.dim1)
                : circleOutline(e, nullptr);
      if (outline.empty()) return TRect{};
      return inflate(toRect(outline.boundingBox()), w + c);
    }
    case kText: {
      TRect r;
      for (const auto& stroke : e.strokes) r = unite(r, elementBounds(*stroke));
      return r;
    }
    case kSmdPad:
      return aroundCentre(e.x, e.y, int64_t(roundToUnit(e.dim1 / 2.0)) + c,
                          int64_t(roundToUnit(e.dim2 / 2.0)) + c);
    default:
      return TRect{};
  }
}

TRect elementsBounds(const TObjektList& list) {
  TRect r;
  for (const auto& e : list) r = unite(r, elementBounds(*e));
  return r;
}

TRect selectionBounds(const TObjektList& list) {
  TRect r;
  for (const auto& e : list) {
    if (!e->selected) continue;
    if (auto outline = elementOutline(*e)) r = unite(r, toRect(outline->boundingBox()));
  }
  return r;
}

TPoint selectionCentre(const TObjektList& list, double grid) {
  return selectionCentre(selectionBounds(list), grid);
}

TPoint selectionCentre(const TRect& r, double grid) {
  const TPoint centre{clampToInt32(int64_t(r.left) + (int64_t(r.right) - r.left) / 2),
                      clampToInt32(int64_t(r.bottom) - (int64_t(r.bottom) - r.top) / 2)};
  return snapToGrid(centre, grid);
}

std::vector<TPoint> trackOutlinePoints(TPoint p1, TPoint p2, int32_t width,
                                       const DeviceMapping* device) {
  double h = std::max(width / 2, 1);
  if (device) {
    const double scale = device->pixelScale();
    if (scale > 0 && h * scale < 1) h = roundHalfEven(1 / scale);
  }
  double dx = double(p2.x) - p1.x, dy = double(p2.y) - p1.y;
  if (p1 == p2) dy = 1;
  const double length = std::sqrt(dx * dx + dy * dy);
  const int64_t nx = int64_t(roundHalfEven(h * dy / length));
  const int64_t ny = int64_t(roundHalfEven(h * dx / length));
  double o;
  if (dx == 0) {
    o = dy < 0 ? 90 : 270;
  } else {
    o = roundHalfEven(std::atan(dy / dx) * 180 / std::numbers::pi);
    if (dx > 0) o += 180;
    if (o < 0) o += 360;
  }
  int64_t ex[8], ey[8];
  for (int i = 1; i <= 7; ++i) {
    const double a = (o + i * 22.5) * std::numbers::pi / 180;
    ex[i] = int64_t(roundHalfEven(h * std::sin(a)));
    ey[i] = int64_t(roundHalfEven(h * std::cos(a)));
  }
  auto pt = [](int64_t x, int64_t y) { return TPoint{clampToInt32(x), clampToInt32(y)}; };
  std::vector<TPoint> v;
  v.reserve(18);
  v.push_back(pt(p1.x - nx, p1.y + ny));
  for (int i = 1; i <= 7; ++i) v.push_back(pt(p1.x + ex[i], p1.y - ey[i]));
  v.push_back(pt(p1.x + nx, p1.y - ny));
  v.push_back(pt(p2.x + nx, p2.y - ny));
  for (int i = 1; i <= 7; ++i) v.push_back(pt(p2.x - ex[i], p2.y + ey[i]));
  v.push_back(pt(p2.x - nx, p2.y + ny));
  if (device)
    for (auto& p : v) p = device->toDevice(p);
  return v;
}

Region trackOutline(TPoint p1, TPoint p2, int32_t width, const DeviceMapping* device) {
  return Region::polygonOf(trackOutlinePoints(p1, p2, width, device), FillRule::kAlternate);
}

TPoint arcPoint(const TObjekt& e, double degrees, int32_t radius) {
  const double a = degrees * std::numbers::pi / 180;
  return TPoint{clampToInt32(e.x + int64_t(roundHalfEven(std::cos(a) * radius))),
                clampToInt32(e.y + int64_t(roundHalfEven(std::sin(a) * radius)))};
}

Region padShapeOutline(TPoint c, int32_t radius, int shape, const DeviceMapping* device) {
  const int64_t r = radius;
  const int64_t q = int64_t(roundHalfEven(0.585 * radius));
  auto pt = [](int64_t x, int64_t y) { return TPoint{clampToInt32(x), clampToInt32(y)}; };
  const int32_t corner = clampToInt32(int64_t(roundHalfEven(0.75 * 2 * double(radius))));
  switch (shape) {
    case kPadRound:
      return ellipseOn(pt(c.x - r, c.y + r), pt(c.x + r, c.y - r), device);
    case kPadOctagon:
      return octagon(c, r, r, q, device);
    case kPadSquare:
      return rectangleOn(pt(c.x - r, c.y + r), pt(c.x + r, c.y - r), device);
    case kPadOblongH:
      return roundRectOn(pt(c.x - 2 * r, c.y + r), pt(c.x + 2 * r, c.y - r), corner, device);
    case kPadOctagonH:
      return octagon(c, 2 * r, r, q, device);
    case kPadRectH:
      return rectangleOn(pt(c.x - 2 * r, c.y + r), pt(c.x + 2 * r, c.y - r), device);
    case kPadOblongV:
      return roundRectOn(pt(c.x - r, c.y + 2 * r), pt(c.x + r, c.y - 2 * r), corner, device);
    case kPadOctagonV:
      return octagon(c, r, 2 * r, q, device);
    case kPadRectV:
      return rectangleOn(pt(c.x - r, c.y + 2 * r), pt(c.x + r, c.y - 2 * r), device);
    default:
      return Region();
  }
}

std::optional<Region> elementOutline(const TObjekt& e, const DeviceMapping* device) {
  switch (e.kind) {
    case kLine:
      return trackOutline({e.x, e.y}, {e.dim1, e.dim2}, e.dim3, device);
    case kPad:
      if (!padExtent(e.padShape)) return std::nullopt;
      return padShapeOutline({e.x, e.y}, e.dim1, e.padShape, device);
    case kFontText:
      return rectangleOn({e.x, e.y}, {e.dim1, e.dim2}, device);
    case kArea:
    case kTrack:
      return pointsOutline(e, device);
    case kCircle:
      return circleOutline(e, device);
    case kText: {
      std::optional<Region> outline;
      for (const auto& stroke : e.strokes) {
        auto part = elementOutline(*stroke, device);
        if (!part) continue;
        if (outline)
          outline->unite(*part);
        else
          outline = std::move(part);
      }
      return outline;
    }
    case kSmdPad: {
      const int64_t hw = roundToUnit(e.dim1 / 2.0), hh = roundToUnit(e.dim2 / 2.0);
      return rectangleOn({clampToInt32(e.x - hw), clampToInt32(e.y + hh)},
                         {clampToInt32(e.x + hw), clampToInt32(e.y - hh)}, device);
    }
    default:
      return std::nullopt;
  }
}

TRect hitSquare(TPoint p, double zoom) {
  const int64_t k = int64_t(roundHalfEven(2 / zoom));
  return TRect{clampToInt32(p.x - k), clampToInt32(p.y - k), clampToInt32(p.x + k),
               clampToInt32(p.y + k)};
}

bool hitElement(const TObjekt& e, TPoint p, double zoom) {
  const TRect square = hitSquare(p, zoom);
  // A cheap box around the outline first. The bounds hold the outline except
  // the one-unit push-out of octagons; a circle's outline lies in its disc.
  const TRect bounds = e.kind == kCircle ? aroundCentre(e.x, e.y, int64_t(std::abs(e.dim1)) + 1,
                                                        int64_t(std::abs(e.dim1)) + 1)
                                         : inflate(elementBounds(e), 1);
  if (bounds.isEmpty() || square.right <= bounds.left || square.left >= bounds.right ||
      square.bottom <= bounds.top || square.top >= bounds.bottom)
    return false;
  const auto outline = elementOutline(e);
  return outline && outline->intersectsRect(toBox(square));
}

int hitNode(const TObjekt& e, TPoint p, double zoom) {
  auto tolerance = [zoom](int64_t t) {
    if (t * zoom < 3) t = int64_t(roundHalfEven(3 / zoom));
    return t;
  };
  auto inSquare = [&p](TPoint v, int64_t t) {
    return p.x >= v.x - t && p.x < v.x + t && p.y >= v.y - t && p.y < v.y + t;
  };
  if (e.kind == kArea || e.kind == kTrack) {
    const int64_t t = tolerance(e.dim3 / 2);
    int found = -1;
    for (size_t i = 0; i < e.points.size(); ++i)
      if (inSquare(e.points[i], t)) found = int(i);
    return found;
  }
  if (e.kind == kCircle) {
    const int64_t t = tolerance((int64_t(e.dim1) - e.dim2) / 2);
    const int32_t middle = e.dim1 - (e.dim1 - e.dim2) / 2;
    if (inSquare(arcPoint(e, e.dim3, middle), t)) return 1;
    if (inSquare(arcPoint(e, e.angle, middle), t)) return 0;
  }
  return -1;
}

void normaliseLine(TObjekt& e) {
  if (e.kind != kLine) return;
  if (e.dim1 < e.x || (e.dim1 == e.x && e.dim2 > e.y)) {
    std::swap(e.x, e.dim1);
    std::swap(e.y, e.dim2);
  }
}

void moveElement(TObjekt& e, int32_t dx, int32_t dy) {
  auto move = [dx, dy](int32_t& x, int32_t& y) {
    x = clampToInt32(int64_t(x) + dx);
    y = clampToInt32(int64_t(y) + dy);
  };
  switch (e.kind) {
    case kLine:
    case kFontText:
      move(e.x, e.y);
      move(e.dim1, e.dim2);
      break;
    case kArea:
    case kTrack:
      for (auto& p : e.points) move(p.x, p.y);
      break;
    case kText:
      move(e.x, e.y);
      for (auto& stroke : e.strokes) moveElement(*stroke, dx, dy);
      break;
    default:
      move(e.x, e.y);
      break;
  }
}

void rotateElement(TObjekt& e, TPoint c) {
  auto turn = [&c](int32_t& x, int32_t& y) {
    const TPoint p = turned({x, y}, c);
    x = p.x;
    y = p.y;
  };
  switch (e.kind) {
    case kLine:
      turn(e.x, e.y);
      turn(e.dim1, e.dim2);
      normaliseLine(e);
      break;
    case kPad:
      turn(e.x, e.y);
      e.padShape = uint8_t(turnedPadShape(e.padShape));
      break;
    case kFontText:
      turn(e.x, e.y);
      turn(e.dim1, e.dim2);
      e.angle = e.angle == 270 ? 0 : e.angle + 90;
      break;
    case kArea:
    case kTrack:
      for (auto& p : e.points) turn(p.x, p.y);
      break;
    case kCircle:
      e.angle -= 90;
      if (e.angle < 0) e.angle += 360;
      e.dim3 -= 90;
      if (e.dim3 < 0) e.dim3 += 360;
      turn(e.x, e.y);
      break;
    case kText:
      e.angle += 1;
      if (e.angle == 4) e.angle = 0;
      for (auto& stroke : e.strokes) rotateElement(*stroke, c);
      break;
    case kSmdPad:
      turn(e.x, e.y);
      std::swap(e.dim1, e.dim2);
      break;
    default:
      break;
  }
}

void mirrorElementH(TObjekt& e, TPoint c) {
  switch (e.kind) {
    case kLine:
      e.x = mirrored(e.x, c.x);
      e.dim1 = mirrored(e.dim1, c.x);
      normaliseLine(e);
      break;
    case kPad:
    case kSmdPad:
      e.x = mirrored(e.x, c.x);
      break;
    case kFontText: {
      const int32_t oldX = e.x;
      e.x = mirrored(e.dim1, c.x);
      e.dim1 = mirrored(oldX, c.x);
      break;
    }
    case kArea:
    case kTrack:
      for (auto& p : e.points) p.x = mirrored(p.x, c.x);
      break;
    case kCircle: {
      e.x = mirrored(e.x, c.x);
      auto flip = [](int32_t a) { return 180 - a < 0 ? 180 - a + 360 : 180 - a; };
      const int32_t start = flip(e.angle), end = flip(e.dim3);
      e.angle = end;
      e.dim3 = start;
      break;
    }
    case kText:
      e.mirrorH = e.mirrorH ? 0 : 1;
      for (auto& stroke : e.strokes) mirrorElementH(*stroke, c);
      break;
    default:
      break;
  }
}

void mirrorElementV(TObjekt& e, TPoint c) {
  switch (e.kind) {
    case kLine:
      e.y = mirrored(e.y, c.y);
      e.dim2 = mirrored(e.dim2, c.y);
      normaliseLine(e);
      break;
    case kPad:
    case kSmdPad:
      e.y = mirrored(e.y, c.y);
      break;
    case kFontText: {
      const int32_t oldY = e.y;
      e.y = mirrored(e.dim2, c.y);
      e.dim2 = mirrored(oldY, c.y);
      break;
    }
    case kArea:
    case kTrack:
      for (auto& p : e.points) p.y = mirrored(p.y, c.y);
      break;
    case kCircle: {
      e.y = mirrored(e.y, c.y);
      auto flip = [](int32_t a) { return 360 - a; };  // 0 becomes 360
      const int32_t start = flip(e.angle), end = flip(e.dim3);
      e.angle = end;
      e.dim3 = start;
      break;
    }
    case kText:
      e.mirrorV = e.mirrorV ? 0 : 1;
      for (auto& stroke : e.strokes) mirrorElementV(*stroke, c);
      break;
    default:
      break;
  }
}

}  // namespace plavesk
