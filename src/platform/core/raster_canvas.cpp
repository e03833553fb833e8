#include "platform/core/raster_canvas.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstring>

#include "platform/core/int_math.h"

namespace plavesk {

RasterImage::RasterImage(int32_t width, int32_t height, CanvasColour fillColour)
    : width_(std::max(width, 0)),
      height_(std::max(height, 0)),
      bgr_(size_t(width_) * size_t(height_) * 3) {
  fill(fillColour);
}

void RasterImage::fill(CanvasColour c) {
  const uint8_t b = uint8_t(c >> 16), g = uint8_t(c >> 8), r = uint8_t(c);
  for (size_t i = 0; i < bgr_.size(); i += 3) {
    bgr_[i] = b;
    bgr_[i + 1] = g;
    bgr_[i + 2] = r;
  }
}

RasterCanvas::RasterCanvas(RasterImage& image)
    : image_(image), clip_{0, 0, image.width(), image.height()} {}

void RasterCanvas::setClip(const CanvasRect& d) {
  clip_.left = std::clamp(std::min(d.left, d.right), 0, image_.width());
  clip_.right = std::clamp(std::max(d.left, d.right), 0, image_.width());
  clip_.top = std::clamp(std::min(d.top, d.bottom), 0, image_.height());
  clip_.bottom = std::clamp(std::max(d.top, d.bottom), 0, image_.height());
}

std::unique_ptr<Canvas> RasterCanvas::band(const CanvasRect& d) {
  auto part = std::make_unique<RasterCanvas>(image_);
  part->setClip(clipRect(d, clip_));
  part->setOrders(orders_, orderUse_);
  return part;
}

double RasterCanvas::penPixels() const {
  if (pen().width <= 0) return 1.0;
  return std::max(1.0, pen().width * mapping().pixelScale());
}

namespace {
// int32_t(std::ceil(v)) without the library call, which dominates the
// per-row work of the fills; far-off values are held to a range that still
// lies outside every image.
inline int32_t ceilToInt(double v) {
  v = std::min(std::max(v, -1e9), 1e9);
  const int32_t i = int32_t(v);
  return i + (double(i) < v ? 1 : 0);
}

// Sorts the few spans or crossings of a row.
template <class T, class Less>
void insertionSort(T* first, size_t count, Less less) {
  for (size_t i = 1; i < count; ++i) {
    const T v = first[i];
    size_t at = i;
    for (; at > 0 && less(v, first[at - 1]); --at) first[at] = first[at - 1];
    first[at] = v;
  }
}

// Sixteen bytes, copied as one where the machine can.
typedef uint8_t Block16 __attribute__((vector_size(16)));

// 24 pixels, the eight given three times, as blue, green, red bytes.
void buildRow(uint8_t* row, const CanvasColour* eight, bool repeatFirst) {
  for (size_t k = 0; k < 24; ++k) {
    const CanvasColour c = eight[repeatFirst ? 0 : k & 7];
    row[3 * k] = uint8_t(c >> 16);
    row[3 * k + 1] = uint8_t(c >> 8);
    row[3 * k + 2] = uint8_t(c);
  }
}
}  // namespace

RasterCanvas::Paint RasterCanvas::penPaint() {
  const CanvasColour c = pen().colour;
  if (!penRowsValid_ || penRowsColour_ != c) {
    buildRow(penRows_, &c, true);
    penRowsColour_ = c;
    penRowsValid_ = true;
  }
  return {c, nullptr, penRows_};
}

RasterCanvas::Paint RasterCanvas::brushPaint() {
  const CanvasBrush& b = brush();
  if (b.pattern) {
    if (!brushRowsValid_ || !brushRowsPatterned_ || brushRowsPattern_ != *b.pattern) {
      brushRowsPattern_ = *b.pattern;
      for (size_t row = 0; row < 8; ++row)
        buildRow(brushRows_ + row * kRowBytes, &brushRowsPattern_[row * 8], false);
      brushRowsPatterned_ = true;
      brushRowsValid_ = true;
    }
    return {b.colour, b.pattern, brushRows_};
  }
  if (!brushRowsValid_ || brushRowsPatterned_ || brushRowsColour_ != b.colour) {
    buildRow(brushRows_, &b.colour, true);
    brushRowsColour_ = b.colour;
    brushRowsPatterned_ = false;
    brushRowsValid_ = true;
  }
  return {b.colour, nullptr, brushRows_};
}

void RasterCanvas::span(int32_t y, int32_t x0, int32_t x1, const Paint& paint) {
  if (y < clip_.top || y >= clip_.bottom) return;
  x0 = std::max(x0, clip_.left);
  x1 = std::min(x1, clip_.right);
  if (x0 >= x1) return;
  if (orderUse_ != OrderUse::kNone) [[unlikely]] {
    if (orderUse_ == OrderUse::kBehind) {
      spanBehind(y, x0, x1, paint);
      return;
    }
    std::fill_n(orders_ + size_t(y) * size_t(image_.width()) + size_t(x0), size_t(x1 - x0),
                order());
  }
  if (!paint.rows || mode() != RasterMode::kCopy) [[unlikely]] {
    spanByPixel(y, x0, x1, paint);
    return;
  }
  uint8_t* p = image_.row(y) + size_t(x0) * 3;
  // The pattern's phase follows x: the fill row from x & 7 on holds the
  // span's first sixteen pixels, and any eight after them repeat them.
  const uint8_t* row = paint.rows + (paint.pattern ? size_t(y & 7) * kRowBytes : 0);
  const uint8_t* src = row + size_t(x0 & 7) * 3;
  const size_t n = size_t(x1 - x0);
  // Short spans as two copies from both ends that may overlap: few
  // branches, and those by the length alone.
  if (n < 4) {
    if (n == 1) {
      std::memcpy(p, src, 3);
      return;
    }
    std::memcpy(p, src, 6);
    std::memcpy(p + 3 * n - 6, src + 3 * n - 6, 6);
    return;
  }
  if (n < 8) {
    std::memcpy(p, src, 12);
    std::memcpy(p + 3 * n - 12, src + 3 * n - 12, 12);
    return;
  }
  if (n <= 16) {
    std::memcpy(p, src, 24);
    std::memcpy(p + 3 * n - 24, src + 3 * n - 24, 24);
    return;
  }
  // Sixteen pixels a copy, from a local, which the stores cannot change,
  // so the fill stays in registers; the rest as the last sixteen pixels,
  // again over some already filled.
  uint8_t* const end = p + 3 * n;
  Block16 a, b, c;
  std::memcpy(&a, src, 16);
  std::memcpy(&b, src + 16, 16);
  std::memcpy(&c, src + 32, 16);
  for (size_t left = n; left >= 16; left -= 16, p += 48) {
    std::memcpy(p, &a, 16);
    std::memcpy(p + 16, &b, 16);
    std::memcpy(p + 32, &c, 16);
  }
  if (p != end) std::memcpy(end - 48, row + size_t(x1 & 7) * 3, 48);
}

void RasterCanvas::spanByPixel(int32_t y, int32_t x0, int32_t x1, const Paint& paint) {
  uint8_t* p = image_.row(y) + size_t(x0) * 3;
  const RasterMode rop = mode();
  for (int32_t x = x0; x < x1; ++x, p += 3) {
    CanvasColour c = paint.pattern ? (*paint.pattern)[size_t((y & 7) * 8 + (x & 7))] : paint.colour;
    if (rop != RasterMode::kCopy) {
      const CanvasColour dst =
          CanvasColour(p[2]) | (CanvasColour(p[1]) << 8) | (CanvasColour(p[0]) << 16);
      c = (rop == RasterMode::kXor ? dst ^ c : ~(dst ^ c)) & 0x00FFFFFF;
    }
    p[0] = uint8_t(c >> 16);
    p[1] = uint8_t(c >> 8);
    p[2] = uint8_t(c);
  }
}

void RasterCanvas::spanBehind(int32_t y, int32_t x0, int32_t x1, const Paint& paint) {
  const uint32_t* noted = orders_ + size_t(y) * size_t(image_.width());
  const uint32_t mine = order();
  for (int32_t x = x0; x < x1;) {
    while (x < x1 && noted[x] >= mine) ++x;
    const int32_t from = x;
    while (x < x1 && noted[x] < mine) ++x;
    if (from < x) spanByPixel(y, from, x, paint);
  }
}

// Pixel (x, y) is covered when its centre (x + 0.5, y + 0.5) lies inside.
// Edges are sorted by their top so that each row looks only at the edges
// crossing it.
void RasterCanvas::fillPolygon(std::span<const DevicePoint> pts, const Paint& paint) {
  if (pts.size() < 3) return;
  double minY = pts[0].y, maxY = pts[0].y;
  for (const auto& p : pts) {
    minY = std::min(minY, p.y);
    maxY = std::max(maxY, p.y);
  }
  const int32_t y0 = std::max<int32_t>(clip_.top, ceilToInt(minY - 0.5));
  const int32_t y1 = std::min<int32_t>(clip_.bottom, ceilToInt(maxY - 0.5));
  if (y0 >= y1) return;
  edges_.clear();
  for (size_t i = 0, j = pts.size() - 1; i < pts.size(); j = i++) {
    const DevicePoint& a = pts[j];
    const DevicePoint& b = pts[i];
    // A row crosses an edge when a.y <= yc < b.y or b.y <= yc < a.y.
    if (!(a.y < b.y) && !(b.y < a.y)) continue;
    edges_.push_back({a.x, a.y, b.x - a.x, b.y - a.y, std::min(a.y, b.y), std::max(a.y, b.y)});
  }
  const auto byTop = [](const Edge& l, const Edge& r) { return l.yLo < r.yLo; };
  if (edges_.size() <= 16)
    insertionSort(edges_.data(), edges_.size(), byTop);
  else
    std::sort(edges_.begin(), edges_.end(), byTop);
  // At most one crossing an edge: the scratch arrays are sized once.
  if (active_.size() < edges_.size()) active_.resize(edges_.size());
  if (crossings_.size() < edges_.size()) crossings_.resize(edges_.size());
  uint32_t* active = active_.data();
  double* xs = crossings_.data();
  size_t activeCount = 0;
  size_t next = 0;
  for (int32_t y = y0; y < y1; ++y) {
    const double yc = y + 0.5;
    while (next < edges_.size() && edges_[next].yLo <= yc) active[activeCount++] = uint32_t(next++);
    size_t kept = 0, count = 0;
    for (size_t i = 0; i < activeCount; ++i) {
      const Edge& e = edges_[active[i]];
      if (!(yc < e.yHi)) continue;
      active[kept++] = active[i];
      const double x = e.ax + (yc - e.ay) * e.dx / e.dy;
      // Insertion keeps the few crossings of a row sorted.
      size_t at = count++;
      for (; at > 0 && x < xs[at - 1]; --at) xs[at] = xs[at - 1];
      xs[at] = x;
    }
    activeCount = kept;
    for (size_t k = 0; k + 1 < count; k += 2)
      span(y, ceilToInt(xs[k] - 0.5), ceilToInt(xs[k + 1] - 0.5), paint);
  }
}

void RasterCanvas::fillRing(const DeviceEllipse& e, double irx, double iry, const Paint& paint) {
  if (e.rx <= 0 || e.ry <= 0) return;
  const int32_t y0 = std::max<int32_t>(clip_.top, ceilToInt(e.cy - e.ry - 0.5));
  const int32_t y1 = std::min<int32_t>(clip_.bottom, ceilToInt(e.cy + e.ry - 0.5));
  if (y0 >= y1) return;
  const bool hole = irx > 0 && iry > 0;
  if (e.rx == e.ry && (!hole || irx == iry)) {
    // Circles, as pads and vias are: the same values by table. A hole's
    // half width is positive exactly where the formula below cuts one.
    const CircleRows outer = circleRows(e.cy, e.rx);
    const CircleRows inner = hole ? circleRows(e.cy, irx) : CircleRows{};
    for (int32_t y = y0; y < y1; ++y) {
      const double half = outer.half(y);
      if (half < 0) continue;
      const int32_t a = ceilToInt(e.cx - half - 0.5);
      const int32_t b = ceilToInt(e.cx + half - 0.5);
      const double ihalf = hole ? inner.half(y) : -1;
      if (!(ihalf > 0)) {
        span(y, a, b, paint);
        continue;
      }
      span(y, a, ceilToInt(e.cx - ihalf - 0.5), paint);
      span(y, ceilToInt(e.cx + ihalf - 0.5), b, paint);
    }
    return;
  }
  for (int32_t y = y0; y < y1; ++y) {
    const double dy = (y + 0.5 - e.cy);
    const double t = 1 - (dy * dy) / (e.ry * e.ry);
    if (t < 0) continue;
    const double half = e.rx * std::sqrt(t);
    const int32_t a = ceilToInt(e.cx - half - 0.5);
    const int32_t b = ceilToInt(e.cx + half - 0.5);
    const double ti = hole ? 1 - (dy * dy) / (iry * iry) : -1;
    if (ti <= 0) {
      span(y, a, b, paint);
      continue;
    }
    const double ihalf = irx * std::sqrt(ti);
    const int32_t c = ceilToInt(e.cx - ihalf - 0.5);
    const int32_t d = ceilToInt(e.cx + ihalf - 0.5);
    span(y, a, c, paint);
    span(y, d, b, paint);
  }
}

void RasterCanvas::fillDisc(double cx, double cy, double r, const Paint& paint) {
  fillRing({cx, cy, r, r}, 0, 0, paint);
}

namespace {
// int64_t(std::floor(v)) for the ends of a line, which lie well inside the
// range, without the library call.
inline int64_t floorToInt(double v) {
  const int64_t i = int64_t(v);
  return i - (double(i) > v ? 1 : 0);
}

}  // namespace

// A one-pixel line from the pixel of `a` to the pixel of `b`. The pixels
// are those of the whole line whatever part the clip keeps, so that a
// partial repaint matches a full one: the walk starts at the first step
// inside the clip, in the state the walk from `a` would have reached there.
// After i steps along the major axis (x here; y is alike) a line of dx by
// dy pixels (dx >= dy) stands at minor offset floor((2 dy i + dx) / 2 dx).
void RasterCanvas::thinLine(DevicePoint a, DevicePoint b, const Paint& paint) {
  if (clip_.left >= clip_.right || clip_.top >= clip_.bottom) return;
  constexpr double kFar = double(int64_t(1) << 29);
  if (!(std::fabs(a.x) < kFar && std::fabs(a.y) < kFar && std::fabs(b.x) < kFar &&
        std::fabs(b.y) < kFar)) {
    // Absurdly far ends: cut the line to the clip box (grown by a pixel)
    // first and walk what is left.
    double t0 = 0, t1 = 1;
    const double ex = b.x - a.x, ey = b.y - a.y;
    const double p[4] = {-ex, ex, -ey, ey};
    const double q[4] = {a.x - (clip_.left - 1), (clip_.right + 1) - a.x, a.y - (clip_.top - 1),
                         (clip_.bottom + 1) - a.y};
    for (int i = 0; i < 4; ++i) {
      if (p[i] == 0) {
        if (q[i] < 0) return;
        continue;
      }
      const double t = q[i] / p[i];
      if (p[i] < 0)
        t0 = std::max(t0, t);
      else
        t1 = std::min(t1, t);
    }
    if (!(t0 <= t1)) return;
    b = {a.x + t1 * ex, a.y + t1 * ey};
    a = {a.x + t0 * ex, a.y + t0 * ey};
  }
  const int64_t x0 = floorToInt(a.x), y0 = floorToInt(a.y);
  const int64_t x1 = floorToInt(b.x), y1 = floorToInt(b.y);
  if (std::max(x0, x1) < clip_.left || std::min(x0, x1) >= clip_.right ||
      std::max(y0, y1) < clip_.top || std::min(y0, y1) >= clip_.bottom)
    return;
  if (y0 == y1) {
    span(int32_t(y0), int32_t(std::max<int64_t>(std::min(x0, x1), clip_.left)),
         int32_t(std::min<int64_t>(std::max(x0, x1) + 1, clip_.right)), paint);
    return;
  }
  const bool solid =
      paint.rows && !paint.pattern && mode() == RasterMode::kCopy && orderUse_ == OrderUse::kNone;
  const uint32_t clipW = uint32_t(clip_.right - clip_.left);
  const uint32_t clipH = uint32_t(clip_.bottom - clip_.top);
  const ptrdiff_t stride = ptrdiff_t(image_.width()) * 3;
  uint8_t* const base = image_.row(0);
  // The colour in locals: stores into the image could alias the paint.
  uint8_t colour[3] = {};
  if (solid) std::memcpy(colour, paint.rows, 3);
  const auto put = [&colour](uint8_t* d) { std::memcpy(d, colour, 3); };
  auto plot = [&](int64_t x, int64_t y) {
    if (uint64_t(x - clip_.left) >= clipW || uint64_t(y - clip_.top) >= clipH) return;
    if (!solid) {
      span(int32_t(y), int32_t(x), int32_t(x) + 1, paint);
      return;
    }
    uint8_t* d = base + ptrdiff_t(y) * stride + ptrdiff_t(x) * 3;
    put(d);
  };
  if (x0 == x1) {
    for (int64_t y = std::max<int64_t>(std::min(y0, y1), clip_.top),
                 end = std::min<int64_t>(std::max(y0, y1) + 1, clip_.bottom);
         y < end; ++y)
      plot(x0, y);
    return;
  }
  const int64_t dx = std::abs(x1 - x0), dy = std::abs(y1 - y0);
  const int64_t sx = x0 < x1 ? 1 : -1, sy = y0 < y1 ? 1 : -1;
  // Steps along an axis that keep it inside the clip.
  auto inside = [](int64_t from, int64_t step, int64_t lo, int64_t hi, int64_t& first,
                   int64_t& last) {
    first = step > 0 ? lo - from : from - (hi - 1);
    last = step > 0 ? hi - 1 - from : from - lo;
  };
  const bool xMajor = dx >= dy;
  const int64_t major = xMajor ? dx : dy, minor = xMajor ? dy : dx;
  if (solid && std::min(x0, x1) >= clip_.left && std::max(x0, x1) < clip_.right &&
      std::min(y0, y1) >= clip_.top && std::max(y0, y1) < clip_.bottom) {
    // Wholly inside, as most outlines are, in one colour: stepping a
    // pointer, with nothing to check.
    uint8_t* d = base + ptrdiff_t(y0) * stride + ptrdiff_t(x0) * 3;
    const ptrdiff_t stepX = sx * 3, stepY = sy * stride;
    int64_t err = dx - dy;
    // Without branches: the minor steps of most slopes follow no
    // pattern a predictor could learn.
    for (int64_t n = 0; n < major; ++n) {
      put(d);
      const int64_t e2 = 2 * err;
      const bool alongX = e2 >= -dy, alongY = e2 <= dx;
      err += (alongY ? dx : 0) - (alongX ? dy : 0);
      d += (alongX ? stepX : 0) + (alongY ? stepY : 0);
    }
    put(d);
    return;
  }
  int64_t first = 0, last = 0, minorFirst = 0, minorLast = 0;
  if (xMajor) {
    inside(x0, sx, clip_.left, clip_.right, first, last);
    inside(y0, sy, clip_.top, clip_.bottom, minorFirst, minorLast);
  } else {
    inside(y0, sy, clip_.top, clip_.bottom, first, last);
    inside(x0, sx, clip_.left, clip_.right, minorFirst, minorLast);
  }
  // The minor offset grows by minor / major a step: the steps that keep it
  // inside, widened by a step each way (the plot checks exactly).
  first = std::max({first, int64_t(0), floorDiv((minorFirst - 1) * major, minor)});
  last = std::min({last, major, ceilDiv((minorLast + 1) * major, minor)});
  if (first > last) return;
  const int64_t minorAt = (2 * minor * first + major) / (2 * major);
  const int64_t i = xMajor ? first : minorAt, j = xMajor ? minorAt : first;
  int64_t x = x0 + sx * i, y = y0 + sy * j;
  int64_t err = dx * (j + 1) - dy * (i + 1);
  for (int64_t n = first; n <= last; ++n) {
    plot(x, y);
    const int64_t e2 = 2 * err;
    if (e2 >= -dy) {
      err -= dy;
      x += sx;
    }
    if (e2 <= dx) {
      err += dx;
      y += sy;
    }
  }
}

namespace {
// The rectangle along a segment of a wide line with half width h, its
// corners in the order fillPolygon walks them; false for a segment of no
// length.
bool segmentQuad(DevicePoint a, DevicePoint b, double h, DevicePoint quad[4]) {
  const double dx = b.x - a.x, dy = b.y - a.y;
  const double len = std::hypot(dx, dy);
  if (len <= 0) return false;
  const double nx = -dy / len * h, ny = dx / len * h;
  quad[0] = {a.x + nx, a.y + ny};
  quad[1] = {b.x + nx, b.y + ny};
  quad[2] = {b.x - nx, b.y - ny};
  quad[3] = {a.x - nx, a.y - ny};
  return true;
}
}  // namespace

bool RasterCanvas::segmentRows(DevicePoint a, DevicePoint b, double h, SegmentRows& q) const {
  DevicePoint quad[4];
  if (!segmentQuad(a, b, h, quad)) return false;
  double minY = quad[0].y, maxY = quad[0].y;
  for (size_t k = 0, j = 3; k < 4; j = k++) {
    // The edges as fillPolygon walks them, from quad[j] to quad[k].
    const DevicePoint& from = quad[j];
    const DevicePoint& to = quad[k];
    q.edges[k] = {from.x,
                  from.y,
                  to.x - from.x,
                  to.y - from.y,
                  std::min(from.y, to.y),
                  std::max(from.y, to.y)};
    minY = std::min(minY, to.y);
    maxY = std::max(maxY, to.y);
  }
  q.y0 = std::max<int32_t>(clip_.top, ceilToInt(minY - 0.5));
  q.y1 = std::min<int32_t>(clip_.bottom, ceilToInt(maxY - 0.5));
  return q.y0 < q.y1;
}

namespace {
double discHalfAt(double dy, double r) {
  const double t = 1 - (dy * dy) / (r * r);
  return t < 0 ? -1 : r * std::sqrt(t);
}

// The spans of a rectangle's row: two crossings, or by the general rule of
// fillPolygon (pairs of sorted crossings).
template <class Edge, class Out>
void segmentRow(const Edge* edges, double yc, Out out) {
  double xs[4];
  size_t crossings = 0;
  for (size_t k = 0; k < 4; ++k) {
    const auto& e = edges[k];
    if (e.yLo <= yc && yc < e.yHi) xs[crossings++] = e.ax + (yc - e.ay) * e.dx / e.dy;
  }
  if (crossings == 2) [[likely]] {
    out(ceilToInt(std::min(xs[0], xs[1]) - 0.5), ceilToInt(std::max(xs[0], xs[1]) - 0.5));
    return;
  }
  insertionSort(xs, crossings, [](double l, double r) { return l < r; });
  for (size_t k = 0; k + 1 < crossings; k += 2)
    out(ceilToInt(xs[k] - 0.5), ceilToInt(xs[k + 1] - 0.5));
}
}  // namespace

[[gnu::always_inline]] inline double RasterCanvas::CircleRows::half(int32_t y) const {
  const int64_t at = 2 * int64_t(y) + base;
  if (uint64_t(at) < uint64_t(count)) [[likely]]
    return halves[at];
  return discHalfAt(y + 0.5 - cy, r);
}

RasterCanvas::CircleRows RasterCanvas::circleRows(double cy, double r) {
  CircleRows rows{cy, r};
  // On a whole or half pixel the row's offset y + 0.5 - cy is exact, so the
  // table holds the very values of the formula.
  constexpr double kMaxTabled = 512;
  if (!(r > 0 && r <= kMaxTabled && std::fabs(cy) < 1e9)) return rows;
  const int64_t twice = int64_t(2 * cy);
  if (double(twice) != 2 * cy) return rows;
  size_t slot = 0;
  while (slot < std::size(halfTables_) && halfTables_[slot].r != r) ++slot;
  if (slot == std::size(halfTables_)) {
    // Never the table just handed out: a ring uses two at once.
    if (nextHalfTable_ == lastHalfTable_)
      nextHalfTable_ = (nextHalfTable_ + 1) % std::size(halfTables_);
    slot = nextHalfTable_;
    nextHalfTable_ = (nextHalfTable_ + 1) % std::size(halfTables_);
    HalfTable& t = halfTables_[slot];
    t.r = r;
    t.reach2 = 2 * (int64_t(r) + 2);
    t.halves.resize(size_t(2 * t.reach2 + 1));
    for (int64_t d2 = -t.reach2; d2 <= t.reach2; ++d2)
      t.halves[size_t(d2 + t.reach2)] = discHalfAt(double(d2) * 0.5, r);
  }
  lastHalfTable_ = slot;
  const HalfTable& t = halfTables_[slot];
  rows.halves = t.halves.data();
  rows.count = int64_t(t.halves.size());
  // Twice the offset is 2 y + 1 - twice.
  rows.base = 1 - twice + t.reach2;
  return rows;
}

inline void RasterCanvas::fillUnion(int32_t y, Interval* spans, size_t count, const Paint& paint) {
  // Most rows meet one part or two; spans that do not touch may be filled
  // in any order.
  if (count == 1) {
    span(y, spans[0].from, spans[0].to, paint);
    return;
  }
  if (count == 2) {
    const Interval& a = spans[0];
    const Interval& b = spans[1];
    if (a.from <= b.to && b.from <= a.to) {
      span(y, std::min(a.from, b.from), std::max(a.to, b.to), paint);
    } else {
      span(y, a.from, a.to, paint);
      span(y, b.from, b.to, paint);
    }
    return;
  }
  insertionSort(spans, count, [](const Interval& l, const Interval& r) { return l.from < r.from; });
  int32_t from = 0, to = 0;
  bool open = false;
  for (size_t k = 0; k < count; ++k) {
    const Interval& iv = spans[k];
    if (iv.from >= iv.to) continue;
    if (open && iv.from <= to) {
      to = std::max(to, iv.to);
      continue;
    }
    if (open) span(y, from, to, paint);
    from = iv.from;
    to = iv.to;
    open = true;
  }
  if (open) span(y, from, to, paint);
}

void RasterCanvas::strokeSegment(DevicePoint a, DevicePoint b, double h, const Paint& paint) {
  SegmentRows q;
  const bool hasQuad = segmentRows(a, b, h, q);
  const DevicePoint ends[2] = {a, b};
  int32_t discY0[2], discY1[2];
  int32_t yBegin = hasQuad ? q.y0 : clip_.bottom, yEnd = hasQuad ? q.y1 : clip_.top;
  for (size_t k = 0; k < 2; ++k) {
    discY0[k] = std::max<int32_t>(clip_.top, ceilToInt(ends[k].y - h - 0.5));
    discY1[k] = std::min<int32_t>(clip_.bottom, ceilToInt(ends[k].y + h - 0.5));
    if (discY0[k] < discY1[k]) {
      yBegin = std::min(yBegin, discY0[k]);
      yEnd = std::max(yEnd, discY1[k]);
    }
  }
  const CircleRows discs[2] = {circleRows(a.y, h), circleRows(b.y, h)};
  Interval spans[4];
  for (int32_t y = yBegin; y < yEnd; ++y) {
    size_t count = 0;
    if (hasQuad && y >= q.y0 && y < q.y1)
      segmentRow(q.edges, y + 0.5, [&](int32_t l, int32_t r) { spans[count++] = {l, r}; });
    for (size_t k = 0; k < 2; ++k) {
      if (y < discY0[k] || y >= discY1[k]) continue;
      const double half = discs[k].half(y);
      if (half < 0) continue;
      spans[count++] = {ceilToInt(ends[k].x - half - 0.5), ceilToInt(ends[k].x + half - 0.5)};
    }
    if (count > 0) fillUnion(y, spans, count, paint);
  }
}

void RasterCanvas::stroke(std::span<const DevicePoint> pts, bool closed, double width,
                          const Paint& paint) {
  if (pts.empty()) return;
  if (width < 1.5) {
    if (pts.size() == 1) thinLine(pts[0], pts[0], paint);
    for (size_t i = 1; i < pts.size(); ++i) thinLine(pts[i - 1], pts[i], paint);
    if (closed && pts.size() > 2) thinLine(pts.back(), pts.front(), paint);
    return;
  }
  // A wide line is the union of a rectangle along every segment and a disc
  // on every point (round ends and joins).
  const double h = width / 2;
  if (mode() == RasterMode::kCopy) {
    // In copy mode a pixel covered twice looks as covered once, so the
    // union is taken segment by segment, each with the discs on its ends.
    if (pts.size() == 1) strokeSegment(pts[0], pts[0], h, paint);
    for (size_t i = 1; i < pts.size(); ++i) strokeSegment(pts[i - 1], pts[i], h, paint);
    if (closed && pts.size() > 2) strokeSegment(pts.back(), pts.front(), h, paint);
    return;
  }
  // Not-xor and xor are undone by drawing twice: every part once, as drawn
  // alone.
  DevicePoint quad[4];
  for (size_t i = 1; i < pts.size(); ++i)
    if (segmentQuad(pts[i - 1], pts[i], h, quad)) fillPolygon(quad, paint);
  if (closed && pts.size() > 2 && segmentQuad(pts.back(), pts.front(), h, quad))
    fillPolygon(quad, paint);
  for (const auto& p : pts) fillDisc(p.x, p.y, h, paint);
}

std::span<const DevicePoint> RasterCanvas::toDevice(std::span<const CanvasPoint> points) {
  devicePoints_.clear();
  for (const auto& p : points) {
    const CanvasPoint d = mapping().toDevice(p);
    devicePoints_.push_back({double(d.x), double(d.y)});
  }
  return devicePoints_;
}

void RasterCanvas::figure(std::span<const DevicePoint> pts) {
  if (brush().solid) fillPolygon(pts, brushPaint());
  if (penVisible()) stroke(pts, true, penPixels(), penPaint());
}

void RasterCanvas::line(CanvasPoint from, CanvasPoint to) {
  const CanvasPoint pts[2] = {from, to};
  polyline(pts);
}

void RasterCanvas::polyline(std::span<const CanvasPoint> points) {
  if (!penVisible()) return;
  stroke(toDevice(points), false, penPixels(), penPaint());
}

void RasterCanvas::polygon(std::span<const CanvasPoint> points) {
  figure(toDevice(points));
}

void RasterCanvas::ellipse(const CanvasRect& box) {
  DeviceEllipse e = deviceEllipse(mapping(), box);
  const double w = penVisible() ? penPixels() : 0;
  const bool inside = pen().style == PenStyle::kInsideFrame || pen().width == 0;
  // The outline straddles the box edge, or lies inside it.
  const double outerGrow = inside ? 0 : w / 2;
  if (brush().solid) fillRing(e, 0, 0, brushPaint());
  // A one-pixel outline inside the box covers no pixel the fill has not
  // covered already; in its colour it changes nothing.
  const bool hiddenByFill = inside && w == 1 && brush().solid && !brush().pattern &&
                            brush().colour == pen().colour && mode() == RasterMode::kCopy;
  if (w > 0 && !hiddenByFill) {
    DeviceEllipse outer{e.cx, e.cy, e.rx + outerGrow, e.ry + outerGrow};
    fillRing(outer, outer.rx - w, outer.ry - w, penPaint());
  }
}

void RasterCanvas::rectangle(const CanvasRect& box) {
  const CanvasPoint corners[4] = {
      {box.left, box.top}, {box.right, box.top}, {box.right, box.bottom}, {box.left, box.bottom}};
  figure(toDevice(corners));
}

void RasterCanvas::roundRect(const CanvasRect& box, int32_t cw, int32_t ch) {
  const CanvasPoint a = mapping().toDevice({box.left, box.top});
  const CanvasPoint b = mapping().toDevice({box.right, box.bottom});
  const double s = mapping().pixelScale();
  const double sy = std::fabs(mapping().viewportExtY / mapping().windowExtY);
  roundRectPoints(a.x, a.y, b.x, b.y, cw * s, ch * sy, devicePoints_);
  figure(devicePoints_);
}

void RasterCanvas::arc(const CanvasRect& box, CanvasPoint start, CanvasPoint end) {
  if (!penVisible()) return;
  const DeviceArc a = deviceArc(mapping(), box, start, end);
  const double w = penPixels();
  if (a.sweep >= 2 * 3.14159265358979 - 1e-9 && w >= 1.5) {
    const DeviceEllipse& e = a.ellipse;
    fillRing({e.cx, e.cy, e.rx + w / 2, e.ry + w / 2}, e.rx - w / 2, e.ry - w / 2, penPaint());
    return;
  }
  devicePoints_.clear();
  appendEllipseArcPoints(a.ellipse, a.start, a.sweep, devicePoints_);
  stroke(devicePoints_, false, w, penPaint());
}

void RasterCanvas::chord(const CanvasRect& box, CanvasPoint start, CanvasPoint end) {
  const DeviceArc a = deviceArc(mapping(), box, start, end);
  devicePoints_.clear();
  appendEllipseArcPoints(a.ellipse, a.start, a.sweep, devicePoints_);
  figure(devicePoints_);
}

bool RasterCanvas::text(CanvasPoint, const std::string&, const CanvasFont&) {
  return false;
}

void RasterCanvas::image(const CanvasRect& box, const CanvasImage& picture) {
  if (picture.width <= 0 || picture.height <= 0 ||
      picture.pixels.size() < size_t(picture.width) * size_t(picture.height))
    return;
  const double x0 = mapping().deviceX(box.left), x1 = mapping().deviceX(box.right);
  const double y0 = mapping().deviceY(box.top), y1 = mapping().deviceY(box.bottom);
  if (x0 == x1 || y0 == y1) return;
  const int32_t left = std::max<int32_t>(clip_.left, int32_t(std::ceil(std::min(x0, x1) - 0.5)));
  const int32_t right = std::min<int32_t>(clip_.right, int32_t(std::ceil(std::max(x0, x1) - 0.5)));
  const int32_t top = std::max<int32_t>(clip_.top, int32_t(std::ceil(std::min(y0, y1) - 0.5)));
  const int32_t bottom =
      std::min<int32_t>(clip_.bottom, int32_t(std::ceil(std::max(y0, y1) - 0.5)));
  for (int32_t y = top; y < bottom; ++y) {
    const int32_t v =
        std::clamp(int32_t((y + 0.5 - y0) / (y1 - y0) * picture.height), 0, picture.height - 1);
    for (int32_t x = left; x < right; ++x) {
      const int32_t u =
          std::clamp(int32_t((x + 0.5 - x0) / (x1 - x0) * picture.width), 0, picture.width - 1);
      CanvasColour c = picture.pixels[size_t(v) * size_t(picture.width) + size_t(u)];
      if (picture.twoColour) {
        const int lum = int(c & 0xFF) + int((c >> 8) & 0xFF) + int((c >> 16) & 0xFF);
        c = lum < 3 * 128 ? picture.ink : picture.paper;
      }
      span(y, x, x + 1, {c, nullptr});
    }
  }
}

}  // namespace plavesk
