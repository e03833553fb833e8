#include "platform/core/raster_canvas.h"

#include <algorithm>
#include <cmath>

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

double RasterCanvas::penPixels() const {
  if (pen().width <= 0) return 1.0;
  return std::max(1.0, pen().width * mapping().pixelScale());
}

void RasterCanvas::span(int32_t y, int32_t x0, int32_t x1, const Paint& paint) {
  if (y < clip_.top || y >= clip_.bottom) return;
  x0 = std::max(x0, clip_.left);
  x1 = std::min(x1, clip_.right);
  if (x0 >= x1) return;
  uint8_t* p = image_.row(y) + size_t(x0) * 3;
  const bool notXor = mode() == RasterMode::kNotXor;
  if (!paint.pattern && !notXor) {
    const uint8_t b = uint8_t(paint.colour >> 16), g = uint8_t(paint.colour >> 8),
                  r = uint8_t(paint.colour);
    for (uint8_t* end = p + size_t(x1 - x0) * 3; p != end; p += 3) {
      p[0] = b;
      p[1] = g;
      p[2] = r;
    }
    return;
  }
  for (int32_t x = x0; x < x1; ++x, p += 3) {
    CanvasColour c = paint.pattern ? (*paint.pattern)[size_t((y & 7) * 8 + (x & 7))] : paint.colour;
    if (notXor) {
      const CanvasColour dst =
          CanvasColour(p[2]) | (CanvasColour(p[1]) << 8) | (CanvasColour(p[0]) << 16);
      c = ~(dst ^ c) & 0x00FFFFFF;
    }
    p[0] = uint8_t(c >> 16);
    p[1] = uint8_t(c >> 8);
    p[2] = uint8_t(c);
  }
}

// Pixel (x, y) is covered when its centre (x + 0.5, y + 0.5) lies inside.
void RasterCanvas::fillPolygon(std::span<const DevicePoint> pts, const Paint& paint) {
  if (pts.size() < 3) return;
  double minY = pts[0].y, maxY = pts[0].y;
  for (const auto& p : pts) {
    minY = std::min(minY, p.y);
    maxY = std::max(maxY, p.y);
  }
  const int32_t y0 = std::max<int32_t>(clip_.top, int32_t(std::ceil(minY - 0.5)));
  const int32_t y1 = std::min<int32_t>(clip_.bottom, int32_t(std::ceil(maxY - 0.5)));
  for (int32_t y = y0; y < y1; ++y) {
    const double yc = y + 0.5;
    crossings_.clear();
    for (size_t i = 0, j = pts.size() - 1; i < pts.size(); j = i++) {
      const DevicePoint& a = pts[j];
      const DevicePoint& b = pts[i];
      if ((a.y <= yc && yc < b.y) || (b.y <= yc && yc < a.y))
        crossings_.push_back(a.x + (yc - a.y) * (b.x - a.x) / (b.y - a.y));
    }
    std::sort(crossings_.begin(), crossings_.end());
    for (size_t k = 0; k + 1 < crossings_.size(); k += 2)
      span(y, int32_t(std::ceil(crossings_[k] - 0.5)), int32_t(std::ceil(crossings_[k + 1] - 0.5)),
           paint);
  }
}

void RasterCanvas::fillRing(const DeviceEllipse& e, double irx, double iry, const Paint& paint) {
  if (e.rx <= 0 || e.ry <= 0) return;
  const int32_t y0 = std::max<int32_t>(clip_.top, int32_t(std::ceil(e.cy - e.ry - 0.5)));
  const int32_t y1 = std::min<int32_t>(clip_.bottom, int32_t(std::ceil(e.cy + e.ry - 0.5)));
  const bool hole = irx > 0 && iry > 0;
  for (int32_t y = y0; y < y1; ++y) {
    const double dy = (y + 0.5 - e.cy);
    const double t = 1 - (dy * dy) / (e.ry * e.ry);
    if (t < 0) continue;
    const double half = e.rx * std::sqrt(t);
    const int32_t a = int32_t(std::ceil(e.cx - half - 0.5));
    const int32_t b = int32_t(std::ceil(e.cx + half - 0.5));
    const double ti = hole ? 1 - (dy * dy) / (iry * iry) : -1;
    if (ti <= 0) {
      span(y, a, b, paint);
      continue;
    }
    const double ihalf = irx * std::sqrt(ti);
    const int32_t c = int32_t(std::ceil(e.cx - ihalf - 0.5));
    const int32_t d = int32_t(std::ceil(e.cx + ihalf - 0.5));
    span(y, a, c, paint);
    span(y, d, b, paint);
  }
}

void RasterCanvas::fillDisc(double cx, double cy, double r, const Paint& paint) {
  fillRing({cx, cy, r, r}, 0, 0, paint);
}

void RasterCanvas::thinLine(DevicePoint a, DevicePoint b, const Paint& paint) {
  // Cut the line to the clip box (grown by a pixel) first, so that long
  // rubber bands crossing the view are not walked outside it.
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
  if (t0 > t1) return;
  b = {a.x + t1 * ex, a.y + t1 * ey};
  a = {a.x + t0 * ex, a.y + t0 * ey};
  int32_t x0 = int32_t(std::floor(a.x)), y0 = int32_t(std::floor(a.y));
  const int32_t x1 = int32_t(std::floor(b.x)), y1 = int32_t(std::floor(b.y));
  // Skip what lies wholly outside the clip before walking it.
  if (std::max(x0, x1) < clip_.left || std::min(x0, x1) >= clip_.right ||
      std::max(y0, y1) < clip_.top || std::min(y0, y1) >= clip_.bottom)
    return;
  const int32_t dx = std::abs(x1 - x0), sx = x0 < x1 ? 1 : -1;
  const int32_t dy = -std::abs(y1 - y0), sy = y0 < y1 ? 1 : -1;
  int64_t err = int64_t(dx) + dy;
  while (true) {
    span(y0, x0, x0 + 1, paint);
    if (x0 == x1 && y0 == y1) break;
    const int64_t e2 = 2 * err;
    if (e2 >= dy) {
      err += dy;
      x0 += sx;
    }
    if (e2 <= dx) {
      err += dx;
      y0 += sy;
    }
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
  const double h = width / 2;
  auto segment = [&](DevicePoint a, DevicePoint b) {
    const double dx = b.x - a.x, dy = b.y - a.y;
    const double len = std::hypot(dx, dy);
    if (len <= 0) return;
    const double nx = -dy / len * h, ny = dx / len * h;
    const DevicePoint quad[4] = {
        {a.x + nx, a.y + ny}, {b.x + nx, b.y + ny}, {b.x - nx, b.y - ny}, {a.x - nx, a.y - ny}};
    fillPolygon(quad, paint);
  };
  for (size_t i = 1; i < pts.size(); ++i) segment(pts[i - 1], pts[i]);
  if (closed && pts.size() > 2) segment(pts.back(), pts.front());
  // Round ends and joins.
  for (const auto& p : pts) fillDisc(p.x, p.y, h, paint);
}

std::vector<DevicePoint> RasterCanvas::toDevice(std::span<const CanvasPoint> points) const {
  std::vector<DevicePoint> out;
  out.reserve(points.size());
  for (const auto& p : points) {
    const CanvasPoint d = mapping().toDevice(p);
    out.push_back({double(d.x), double(d.y)});
  }
  return out;
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
  const auto d = toDevice(points);
  stroke(d, false, penPixels(), penPaint());
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
  if (w > 0) {
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
  figure(roundRectPoints(a.x, a.y, b.x, b.y, cw * s, ch * sy));
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
  stroke(ellipseArcPoints(a.ellipse, a.start, a.sweep), false, w, penPaint());
}

void RasterCanvas::chord(const CanvasRect& box, CanvasPoint start, CanvasPoint end) {
  const DeviceArc a = deviceArc(mapping(), box, start, end);
  figure(ellipseArcPoints(a.ellipse, a.start, a.sweep));
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
