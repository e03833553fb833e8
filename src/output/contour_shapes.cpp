#include "output/contour_shapes.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace plavesk {
namespace {

constexpr long double kPi = std::numbers::pi_v<long double>;
constexpr long double kTwoPi = 2 * kPi;

// To nearest, ties to even: rint rounds like nearbyint in the default
// rounding mode and compiles to a single instruction.
int32_t roundUnit(long double v) {
  return static_cast<int32_t>(std::rint(v));
}

TPoint offset(TPoint c, long double dx, long double dy) {
  return TPoint{c.x + roundUnit(dx), c.y + roundUnit(dy)};
}

long double radians(int32_t degrees) {
  return degrees * kPi / 180;
}

void appendStadiumTo(std::vector<TShapePolygon>& out, TPoint p0, TPoint p1, int32_t w) {
  out.push_back(stadium(p0, p1, w));
}

void padPolygons(const TObjekt& e, std::vector<TShapePolygon>& out) {
  const int32_t x = e.x, y = e.y, r = e.dim1;
  TShapePolygon p;
  int32_t a = r, b = r;
  switch (e.padShape) {
    case kPadOctagonH:
    case kPadRectH:
    case kPadOblongH:
      a = 2 * r;
      break;
    case kPadOctagonV:
    case kPadRectV:
    case kPadOblongV:
      b = 2 * r;
      break;
    default:
      break;
  }
  switch (e.padShape) {
    case kPadRound:
      appendArc(p, {x, y}, {x + r, y}, {x + r, y}, TArcDirection::kCounterClockwise, 24,
                2 * int64_t(r));
      break;
    case kPadOctagon:
    case kPadOctagonH:
    case kPadOctagonV: {
      const int32_t h = roundUnit(r * 0.585L);
      p = {{x - a + h, y + b}, {x + a - h, y + b}, {x + a, y + b - h}, {x + a, y - b + h},
           {x + a - h, y - b}, {x - a + h, y - b}, {x - a, y - b + h}, {x - a, y + b - h}};
      break;
    }
    case kPadOblongH:
    case kPadOblongV: {
      const int32_t g = roundUnit(r * 0.75L);
      const int64_t d = 2 * int64_t(g);
      const auto cw = TArcDirection::kClockwise;
      p.push_back({x + a - g, y + b});
      appendArc(p, {x + a - g, y + b - g}, p.back(), {x + a, y + b - g}, cw, 4, d);
      p.push_back({x + a, y - b + g});
      appendArc(p, {x + a - g, y - b + g}, p.back(), {x + a - g, y - b}, cw, 4, d);
      p.push_back({x - a + g, y - b});
      appendArc(p, {x - a + g, y - b + g}, p.back(), {x - a, y - b + g}, cw, 4, d);
      p.push_back({x - a, y + b - g});
      appendArc(p, {x - a + g, y + b - g}, p.back(), {x - a + g, y + b}, cw, 4, d);
      break;
    }
    case kPadSquare:
    case kPadRectH:
    case kPadRectV:
      p = {{x - a, y - b}, {x + a, y - b}, {x + a, y + b}, {x - a, y + b}};
      break;
    default:
      return;  // unknown shape: no copper
  }
  out.push_back(std::move(p));
}

void circlePolygons(const TObjekt& e, std::vector<TShapePolygon>& out) {
  const TPoint c{e.x, e.y};
  const int32_t r1 = e.dim1 - 1;
  // A circle of outer radius 1 or less has nothing to mill around, and an
  // inner radius pushed below zero by the channel width is a disc.
  if (r1 <= 0) return;
  const int32_t r2 = std::clamp(e.dim2, 0, r1);
  long double alpha = radians(e.angle);
  const long double beta = radians(e.dim3);
  const long double m = radians(1) * 10 * (r1 - r2) / r1;
  const long double sweep = std::fabs(beta - alpha);
  if (sweep < m) alpha += m - sweep;
  const long double ca = std::cos(alpha), sa = std::sin(alpha), cb = std::cos(beta),
                    sb = std::sin(beta);
  const long double u = (r1 - r2) / 2.0L + r2, h = (r1 - r2) / 2.0L;
  const TPoint so = offset(c, r1 * ca, r1 * sa), eo = offset(c, r1 * cb, r1 * sb);
  const TPoint si = offset(c, r2 * ca, r2 * sa), ei = offset(c, r2 * cb, r2 * sb);
  const TPoint sm = offset(c, u * ca, u * sa), em = offset(c, u * cb, u * sb);
  const auto ccw = TArcDirection::kCounterClockwise;
  if (e.filled) {
    TShapePolygon p{so};
    appendArc(p, c, so, eo, ccw, r1 / 10 + 3, 2 * int64_t(r1));
    out.push_back(std::move(p));
    appendStadiumTo(out, em, sm, r1 - r2);
    return;
  }
  TShapePolygon p{so};
  appendArc(p, c, so, eo, ccw, r1 / 4 + 3, 2 * int64_t(r1));
  p.push_back(ei);
  appendArc(p, c, ei, si, TArcDirection::kClockwise, r2 / 4 + 3, 2 * int64_t(r2));
  out.push_back(std::move(p));
  const int capSteps = roundUnit(h / 3) + 3;
  const int64_t capDiameter = roundUnit(2 * h);
  TShapePolygon endCap, startCap;
  appendArc(endCap, em, eo, eo, ccw, capSteps, capDiameter);
  appendArc(startCap, sm, so, so, ccw, capSteps, capDiameter);
  out.push_back(std::move(endCap));
  out.push_back(std::move(startCap));
}

}  // namespace

long double directionAngle(long double ax, long double ay, long double bx, long double by) {
  const long double dx = bx - ax, dy = by - ay;
  if (dx == 0 && dy == 0) return 0;
  long double a = std::atan2(dy, dx);
  if (a < 0) a += kTwoPi;
  if (a >= kTwoPi) a = 0;
  return a;
}

long double turningValue(long double ax, long double ay, long double bx, long double by,
                         long double cx, long double cy) {
  return turningValueOf(directionAngle(ax, ay, bx, by), directionAngle(bx, by, cx, cy));
}

long double turningValueOf(long double in, long double out) {
  long double d = in - out;
  if (d < 0) d += kTwoPi;
  long double t = kPi - d;
  if (t < 0) t += kTwoPi;
  return t;
}

void appendArc(TShapePolygon& out, TPoint c, TPoint s, TPoint e, TArcDirection direction, int n,
               int64_t d) {
  const long double ts = directionAngle(c, s);
  long double te = directionAngle(c, e);
  if (te == ts) te = ts + kTwoPi;
  long double sweep = std::fabs(ts - te);
  const bool ccw = direction == TArcDirection::kCounterClockwise;
  if ((ccw && ts > te) || (!ccw && ts < te)) sweep = kTwoPi - sweep;
  const long double half = d / 2.0L;
  for (int i = 1; i <= n; ++i) {
    const long double step = sweep * i / n;
    const long double phi = ccw ? ts + step : ts - step;
    out.push_back(offset(c, std::cos(phi) * half, std::sin(phi) * half));
  }
}

TShapePolygon stadium(TPoint p0, TPoint p1, int32_t w) {
  const int n = w / 20 + 3;
  const long double b = directionAngle(p0, p1);
  const int32_t e = roundUnit(std::sin(b) * w / 2.0L);
  const int32_t f = roundUnit(std::cos(b) * w / 2.0L);
  const auto ccw = TArcDirection::kCounterClockwise;
  TShapePolygon p;
  p.reserve(2 * n + 2);
  p.push_back({p1.x + e, p1.y - f});
  appendArc(p, p1, p.back(), {p1.x - e, p1.y + f}, ccw, n, w);
  p.push_back({p0.x - e, p0.y + f});
  appendArc(p, p0, p.back(), {p0.x + e, p0.y - f}, ccw, n, w);
  return p;
}

std::vector<TShapePolygon> elementPolygons(const TObjekt& e) {
  std::vector<TShapePolygon> out;
  switch (e.kind) {
    case kPad:
      padPolygons(e, out);
      break;
    case kSmdPad: {
      const int32_t a = roundUnit(e.dim1 / 2.0L), b = roundUnit(e.dim2 / 2.0L);
      out.push_back(
          {{e.x - a, e.y + b}, {e.x + a, e.y + b}, {e.x + a, e.y - b}, {e.x - a, e.y - b}});
      break;
    }
    case kTrack:
      for (size_t i = 0; i + 1 < e.points.size(); ++i)
        if (!(e.points[i] == e.points[i + 1]))
          appendStadiumTo(out, e.points[i], e.points[i + 1], e.dim3);
      break;
    case kText:
      for (const auto& stroke : e.strokes)
        for (size_t i = 0; i + 1 < stroke->points.size(); ++i)
          appendStadiumTo(out, stroke->points[i], stroke->points[i + 1], stroke->dim3);
      break;
    case kArea: {
      const auto& pts = e.points;
      for (size_t i = 0; i + 1 < pts.size(); ++i)
        if (!(pts[i] == pts[i + 1])) appendStadiumTo(out, pts[i], pts[i + 1], e.dim3);
      if (!pts.empty() && !(pts.back() == pts.front()))
        appendStadiumTo(out, pts.back(), pts.front(), e.dim3);
      break;
    }
    case kCircle:
      circlePolygons(e, out);
      break;
    default:
      break;  // legacy lines and font texts
  }
  return out;
}

void orientClockwise(TShapePolygon& polygon) {
  const size_t n = polygon.size();
  if (n == 0) return;
  // The turning values tell the orientation of a plain polygon, but not of
  // one whose rounded points repeat and zigzag (a short arc of a thick ring
  // has several points to a unit): there the sign of the area decides, as
  // the walk needs every polygon's copper on the right of its edges.
  __int128 twiceArea = 0;
  for (size_t i = 0, j = n - 1; i < n; j = i++)
    twiceArea += __int128(polygon[j].x) * polygon[i].y - __int128(polygon[i].x) * polygon[j].y;
  if (twiceArea != 0) {
    if (twiceArea > 0) std::reverse(polygon.begin(), polygon.end());
    return;
  }
  std::reverse(polygon.begin(), polygon.end());
  // The direction of every edge, each turn reading two of them.
  std::vector<long double> direction(n);
  for (size_t i = 0; i < n; ++i) direction[i] = directionAngle(polygon[i], polygon[(i + 1) % n]);
  long double left = 0, right = 0;
  for (size_t i = 0; i < n; ++i) {
    const long double t = turningValueOf(direction[i], direction[(i + 1) % n]);
    left += t;
    right += kTwoPi - t;
  }
  if (left > right) std::reverse(polygon.begin(), polygon.end());
}

}  // namespace plavesk
