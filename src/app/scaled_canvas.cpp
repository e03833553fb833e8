#include "app/scaled_canvas.h"

#include <QImage>
#include <QPainter>
#include <algorithm>

#include "platform/qt/qt_canvas.h"

namespace plavesk {

TScaledImageCanvas::TScaledImageCanvas(RasterImage& image, int32_t originX, int32_t originY,
                                       int scale, const CanvasRect& clip)
    : image_(image),
      originX_(originX),
      originY_(originY),
      scale_(std::max(1, scale)),
      clip_(clip),
      raster_(image) {
  raster_.setClip({(clip_.left - originX_) * scale_, (clip_.top - originY_) * scale_,
                   (clip_.right - originX_) * scale_, (clip_.bottom - originY_) * scale_});
}

std::unique_ptr<Canvas> TScaledImageCanvas::band(const CanvasRect& d) {
  const CanvasRect inside{std::max(d.left, clip_.left), std::max(d.top, clip_.top),
                          std::min(d.right, clip_.right), std::min(d.bottom, clip_.bottom)};
  auto part = std::make_unique<TScaledImageCanvas>(image_, originX_, originY_, scale_, inside);
  part->setOrders(orders_, orderUse_);
  return part;
}

RasterCanvas& TScaledImageCanvas::raster() {
  CanvasMapping m = mapping();
  m.viewportOrgX = (m.viewportOrgX - originX_) * scale_;
  m.viewportOrgY = (m.viewportOrgY - originY_) * scale_;
  m.viewportExtX *= scale_;
  m.viewportExtY *= scale_;
  raster_.setMapping(m);
  raster_.setPen(pen());
  raster_.setBrush(brush());
  raster_.setMode(mode());
  raster_.setOrder(order());
  return raster_;
}

void TScaledImageCanvas::line(CanvasPoint from, CanvasPoint to) {
  raster().line(from, to);
}
void TScaledImageCanvas::polyline(std::span<const CanvasPoint> points) {
  raster().polyline(points);
}
void TScaledImageCanvas::polygon(std::span<const CanvasPoint> points) {
  raster().polygon(points);
}
void TScaledImageCanvas::ellipse(const CanvasRect& box) {
  raster().ellipse(box);
}
void TScaledImageCanvas::rectangle(const CanvasRect& box) {
  raster().rectangle(box);
}
void TScaledImageCanvas::roundRect(const CanvasRect& box, int32_t cw, int32_t ch) {
  raster().roundRect(box, cw, ch);
}
void TScaledImageCanvas::arc(const CanvasRect& box, CanvasPoint start, CanvasPoint end) {
  raster().arc(box, start, end);
}
void TScaledImageCanvas::chord(const CanvasRect& box, CanvasPoint start, CanvasPoint end) {
  raster().chord(box, start, end);
}
void TScaledImageCanvas::image(const CanvasRect& box, const CanvasImage& picture) {
  raster().image(box, picture);
}

bool TScaledImageCanvas::text(CanvasPoint anchor, const std::string& utf8, const CanvasFont& font) {
  // System-font texts by a painter on the same pixels, scaled like the rest.
  if (image_.width() <= 0 || image_.height() <= 0 || clip_.left >= clip_.right ||
      clip_.top >= clip_.bottom)
    return true;
  QImage target(image_.row(0), image_.width(), image_.height(), image_.width() * 3,
                QImage::Format_BGR888);
  QPainter painter(&target);
  painter.scale(scale_, scale_);
  painter.translate(-originX_, -originY_);
  painter.setClipRect(
      QRect(QPoint(clip_.left, clip_.top), QPoint(clip_.right - 1, clip_.bottom - 1)));
  QtCanvas canvas(painter, clip_);
  canvas.setMapping(mapping());
  canvas.setPen(pen());
  canvas.setBrush(brush());
  canvas.setMode(mode());
  return canvas.text(anchor, utf8, font);
}

}  // namespace plavesk
