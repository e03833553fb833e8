#include "platform/core/canvas_figures.h"

#include <algorithm>
#include <cmath>
#include <iterator>
#include <numbers>

namespace plavesk {

namespace {
constexpr double kTwoPi = 2 * std::numbers::pi;

int segmentsFor(double radius, double sweep) {
  // Chord error r (1 - cos(a / 2)) below 1/4 pixel.
  const double r = std::max(radius, 0.5);
  const double step = 2 * std::acos(std::max(-1.0, 1 - 0.25 / r));
  return std::clamp(int(std::ceil(sweep / std::max(step, 1e-3))), 4, 4096);
}
}  // namespace

DeviceEllipse deviceEllipse(const CanvasMapping& m, const CanvasRect& b) {
  const double x1 = m.deviceX(b.left), x2 = m.deviceX(b.right);
  const double y1 = m.deviceY(b.top), y2 = m.deviceY(b.bottom);
  return {(x1 + x2) / 2, (y1 + y2) / 2, std::fabs(x2 - x1) / 2, std::fabs(y2 - y1) / 2};
}

double deviceAngle(const DeviceEllipse& e, DevicePoint p) {
  return std::atan2(-(p.y - e.cy), p.x - e.cx);
}

double deviceSweep(double from, double to) {
  double s = std::fmod(to - from, kTwoPi);
  if (s <= 1e-12) s += kTwoPi;
  return s;
}

namespace {
// The cosines and sines of the angles of an arc's points. Drawings repeat
// few arcs (the corners of rounded pads, the outlines of round ones), so
// the last few are kept, per thread.
struct ArcAngles {
  double from = 0, sweep = 0;
  int n = -1;
  std::vector<double> cosines, sines;
};

const ArcAngles& arcAngles(double from, double sweep, int n) {
  thread_local ArcAngles kept[8];
  thread_local size_t next = 0;
  for (const ArcAngles& k : kept)
    if (k.n == n && k.from == from && k.sweep == sweep) return k;
  ArcAngles& k = kept[next];
  next = (next + 1) % std::size(kept);
  k.from = from;
  k.sweep = sweep;
  k.n = n;
  k.cosines.resize(size_t(n) + 1);
  k.sines.resize(size_t(n) + 1);
  for (int i = 0; i <= n; ++i) {
    const double a = from + sweep * i / n;
    k.cosines[size_t(i)] = std::cos(a);
    k.sines[size_t(i)] = std::sin(a);
  }
  return k;
}
}  // namespace

void appendEllipseArcPoints(const DeviceEllipse& e, double from, double sweep,
                            std::vector<DevicePoint>& points) {
  const int n = segmentsFor(std::max(e.rx, e.ry), sweep);
  const ArcAngles& angles = arcAngles(from, sweep, n);
  const size_t first = points.size();
  points.resize(first + size_t(n) + 1);
  DevicePoint* out = points.data() + first;
  for (size_t i = 0; i <= size_t(n); ++i)
    out[i] = {e.cx + e.rx * angles.cosines[i], e.cy - e.ry * angles.sines[i]};
}

std::vector<DevicePoint> ellipseArcPoints(const DeviceEllipse& e, double from, double sweep) {
  std::vector<DevicePoint> points;
  appendEllipseArcPoints(e, from, sweep, points);
  return points;
}

DeviceArc deviceArc(const CanvasMapping& m, const CanvasRect& box, CanvasPoint start,
                    CanvasPoint end) {
  DeviceArc arc;
  arc.ellipse = deviceEllipse(m, box);
  const DevicePoint s{m.deviceX(start.x), m.deviceY(start.y)};
  const DevicePoint t{m.deviceX(end.x), m.deviceY(end.y)};
  arc.start = deviceAngle(arc.ellipse, s);
  arc.sweep = deviceSweep(arc.start, deviceAngle(arc.ellipse, t));
  return arc;
}

void roundRectPoints(double left, double top, double right, double bottom, double cornerW,
                     double cornerH, std::vector<DevicePoint>& out) {
  if (left > right) std::swap(left, right);
  if (top > bottom) std::swap(top, bottom);
  const double rx = std::min(std::fabs(cornerW) / 2, (right - left) / 2);
  const double ry = std::min(std::fabs(cornerH) / 2, (bottom - top) / 2);
  out.clear();
  struct Corner {
    double cx, cy, from;
  };
  const double h = std::numbers::pi / 2;
  const Corner corners[] = {{right - rx, top + ry, 0},
                            {left + rx, top + ry, h},
                            {left + rx, bottom - ry, 2 * h},
                            {right - rx, bottom - ry, 3 * h}};
  for (const Corner& c : corners) appendEllipseArcPoints({c.cx, c.cy, rx, ry}, c.from, h, out);
}

std::vector<DevicePoint> roundRectPoints(double left, double top, double right, double bottom,
                                         double cornerW, double cornerH) {
  std::vector<DevicePoint> out;
  roundRectPoints(left, top, right, bottom, cornerW, cornerH, out);
  return out;
}

}  // namespace plavesk
