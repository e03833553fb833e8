#include "editing/tools/feedback_paint.h"

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "platform/core/canvas.h"
#include "view/element_rendering.h"
#include "view/render_settings.h"

namespace plavesk {

namespace {

CanvasPoint cp(TPoint p) {
  return {p.x, p.y};
}

// Dotted figures are drawn pixel by pixel on the device: the canvas has no
// dotted pen, and a pixel drawn twice would vanish in the raster modes.
class DotPainter {
 public:
  explicit DotPainter(Canvas& canvas)
      : canvas_(canvas), saved_(canvas.mapping()), clip_(canvas.clipBox()) {
    canvas_.setMapping(CanvasMapping{});
  }
  ~DotPainter() { canvas_.setMapping(saved_); }
  DotPainter(const DotPainter&) = delete;
  DotPainter& operator=(const DotPainter&) = delete;

  void colour(CanvasColour c) { canvas_.setPen({c, 0, PenStyle::kSolid}); }
  CanvasPoint device(TPoint world) const { return saved_.toDevice(cp(world)); }

  // Every other pixel from a.
  void line(CanvasPoint a, CanvasPoint b) {
    const int32_t dx = std::abs(b.x - a.x), dy = -std::abs(b.y - a.y);
    const int32_t sx = a.x < b.x ? 1 : -1, sy = a.y < b.y ? 1 : -1;
    int32_t err = dx + dy;
    for (int64_t i = 0;; ++i) {
      dot(i, a.x, a.y);
      if (a.x == b.x && a.y == b.y) return;
      const int32_t e2 = 2 * err;
      if (e2 >= dy) {
        err += dy;
        a.x += sx;
      }
      if (e2 <= dx) {
        err += dx;
        a.y += sy;
      }
    }
  }

  // Every other pixel of the rectangle's outline, counted clockwise from
  // the top-left corner, each pixel once. Only the part inside the clip is
  // walked: a zoom frame over a large board is long.
  void frame(CanvasPoint a, CanvasPoint b) {
    const int64_t l = std::min(a.x, b.x), r = std::max(a.x, b.x);
    const int64_t t = std::min(a.y, b.y), bo = std::max(a.y, b.y);
    const int64_t w = r - l, h = bo - t;
    const int64_t x0 = std::max<int64_t>(l, clip_.left), x1 = std::min<int64_t>(r, clip_.right - 1);
    const int64_t y0 = std::max<int64_t>(t + 1, clip_.top);
    const int64_t y1 = std::min<int64_t>(bo, clip_.bottom - 1);
    for (int64_t x = x0; x <= x1; ++x) dot(x - l, x, t);
    if (h == 0) return;
    for (int64_t y = y0; y <= y1; ++y) dot(w + (y - t), r, y);
    if (w == 0) return;
    for (int64_t x = std::min(x1, r - 1); x >= x0; --x) dot(w + h + (r - x), x, bo);
    for (int64_t y = std::min(y1, bo - 1); y >= y0; --y) dot(2 * w + h + (bo - y), l, y);
  }

 private:
  void dot(int64_t index, int64_t x, int64_t y) {
    if (index % 2 != 0 || x < clip_.left || x >= clip_.right || y < clip_.top || y >= clip_.bottom)
      return;
    canvas_.line({int32_t(x), int32_t(y)}, {int32_t(x), int32_t(y)});
  }

  Canvas& canvas_;
  CanvasMapping saved_;
  CanvasRect clip_;
};

void drawElements(const TFeedbackFigure& f, Canvas& canvas, const TRenderSettings& settings) {
  std::vector<const TObjekt*> all;
  all.reserve(f.owned.size() + f.elements.size());
  for (const auto& e : f.owned) all.push_back(e.get());
  for (const TObjekt* e : f.elements)
    if (e) all.push_back(e);
  // The moved copy is the element drawn through a mapping shifted by the
  // offset, so the element itself is never touched.
  const CanvasMapping mapping = canvas.mapping();
  CanvasMapping shifted = mapping;
  shifted.windowOrgX -= f.offset.x;
  shifted.windowOrgY -= f.offset.y;
  canvas.setMapping(shifted);
  for (const TObjekt* e : all) drawFlat(*e, canvas, f.colour, false, settings);
  canvas.setMapping(mapping);
  if (!f.connectionList) return;
  for (const TObjekt* e : all)
    if (e->hasConnections()) drawConnections(*e, canvas, f.offset, settings, f.connectionList);
}

void drawFigure(const TFeedbackFigure& f, Canvas& canvas, const TRenderSettings& settings) {
  canvas.setMode(f.mode == TFeedbackFigure::xorMode ? RasterMode::kXor : RasterMode::kNotXor);
  std::vector<CanvasPoint> pts;
  pts.reserve(f.points.size() + 1);
  for (TPoint p : f.points) pts.push_back(cp(p));
  switch (f.shape) {
    case TFeedbackFigure::polyline:
      if (pts.empty()) break;
      // A point given twice (a corner on the pointer, the tool dot) would
      // be inverted twice and vanish; one point alone is a dot.
      pts.erase(std::unique(pts.begin(), pts.end()), pts.end());
      canvas.setPen({f.colour, f.width, PenStyle::kSolid});
      canvas.polyline(pts);
      break;
    case TFeedbackFigure::polygon:
      if (pts.size() < 2) break;
      canvas.setPen({f.colour, f.width, PenStyle::kSolid});
      canvas.setBrush({f.colour, false, nullptr});
      canvas.polygon(pts);
      break;
    case TFeedbackFigure::rectangle:
      if (pts.size() < 2) break;
      canvas.setPen({f.colour, 0, PenStyle::kNone});
      canvas.setBrush({f.colour, true, nullptr});
      canvas.rectangle({pts[0].x, pts[0].y, pts[1].x, pts[1].y});
      break;
    case TFeedbackFigure::ellipse:
      if (pts.size() < 2) break;
      canvas.setPen({f.colour, f.width, PenStyle::kInsideFrame});
      canvas.setBrush({f.colour, false, nullptr});
      canvas.ellipse({pts[0].x, pts[0].y, pts[1].x, pts[1].y});
      break;
    case TFeedbackFigure::frame:
    case TFeedbackFigure::dottedLine: {
      if (f.points.size() < 2) break;
      DotPainter dots(canvas);
      dots.colour(f.colour);
      const CanvasPoint a = dots.device(f.points[0]), b = dots.device(f.points[1]);
      if (f.shape == TFeedbackFigure::frame)
        dots.frame(a, b);
      else
        dots.line(a, b);
      break;
    }
    case TFeedbackFigure::elementList:
      drawElements(f, canvas, settings);
      break;
  }
}

}  // namespace

void drawFeedback(const TFeedback& feedback, Canvas& canvas, const TRenderSettings& settings) {
  for (const TFeedbackFigure& f : feedback.figures) drawFigure(f, canvas, settings);
  canvas.setMode(RasterMode::kCopy);
}

}  // namespace plavesk
