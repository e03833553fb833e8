// The canvas on a QPainter: widgets, QImage, printers and SVG generators
// alike. The painter is used in device pixels (this canvas applies the world
// mapping itself) and without anti-aliasing, so colours stay exact and the
// not-xor mode of rubber bands restores the picture.
#pragma once

#include <QPainter>

#include "platform/core/canvas.h"

namespace plavesk {

class QtCanvas : public Canvas {
 public:
  // `clip` is the area to repaint in device pixels (the paint event's
  // rectangle); figures outside it may be skipped by the passes.
  QtCanvas(QPainter& painter, const CanvasRect& clip);

  CanvasRect clipBox() const override { return clip_; }

  void line(CanvasPoint from, CanvasPoint to) override;
  void polyline(std::span<const CanvasPoint> points) override;
  void polygon(std::span<const CanvasPoint> points) override;
  void ellipse(const CanvasRect& box) override;
  void rectangle(const CanvasRect& box) override;
  void roundRect(const CanvasRect& box, int32_t cornerWidth, int32_t cornerHeight) override;
  void arc(const CanvasRect& box, CanvasPoint start, CanvasPoint end) override;
  void chord(const CanvasRect& box, CanvasPoint start, CanvasPoint end) override;
  bool text(CanvasPoint anchor, const std::string& utf8, const CanvasFont& font) override;
  void image(const CanvasRect& box, const CanvasImage& picture) override;

 private:
  // Installs the canvas's pen, brush and mode on the painter.
  void apply(bool fill);
  QRectF deviceRect(const CanvasRect& box, bool insideFrame) const;
  QPointF device(CanvasPoint p) const;

  QPainter& painter_;
  CanvasRect clip_;
};

// 0x00BBGGRR to QColor.
QColor toQColor(CanvasColour c);

}  // namespace plavesk
