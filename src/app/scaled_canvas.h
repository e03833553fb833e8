// The drawing area's canvas on a high-resolution screen: figures are given in
// the view's pixels (the unit the view, the tools and the clip speak) and
// drawn `scale` image pixels to one view pixel, so lines and texts are as
// sharp as the screen instead of a small picture enlarged.
#pragma once

#include <memory>

#include "platform/core/canvas.h"
#include "platform/core/raster_canvas.h"

namespace plavesk {

class TScaledImageCanvas : public Canvas {
 public:
  // Image pixel (0, 0) is view pixel (originX, originY); `clip` in view
  // pixels.
  TScaledImageCanvas(RasterImage& image, int32_t originX, int32_t originY, int scale,
                     const CanvasRect& clip);

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
  std::unique_ptr<Canvas> band(const CanvasRect& device) override;
  // As RasterCanvas::setOrders, for the image's pixels; system-font texts
  // neither note nor heed the orders.
  void setOrders(uint32_t* orders, RasterCanvas::OrderUse use) {
    orders_ = orders, orderUse_ = use;
    raster_.setOrders(orders, use);
  }

 private:
  // The raster canvas with this canvas's state, its mapping scaled and moved
  // to the image's corner.
  RasterCanvas& raster();

  RasterImage& image_;
  int32_t originX_;
  int32_t originY_;
  int scale_;
  CanvasRect clip_;
  RasterCanvas raster_;
  uint32_t* orders_ = nullptr;
  RasterCanvas::OrderUse orderUse_ = RasterCanvas::OrderUse::kNone;
};

}  // namespace plavesk
