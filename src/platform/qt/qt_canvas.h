// The canvas on a QPainter: widgets, QImage, printers and SVG generators
// alike. The painter is used in device pixels (this canvas applies the world
// mapping itself) and without anti-aliasing, so colours stay exact and the
// not-xor mode of rubber bands restores the picture.
#pragma once

#include <QBrush>
#include <QPainter>
#include <QPoint>
#include <QVarLengthArray>
#include <vector>

#include "platform/core/canvas.h"
#include "platform/core/raster_canvas.h"

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
  // Installs the canvas's pen, brush and mode on the painter, touching only
  // what differs from what this canvas installed last: the painter's state
  // changes are dearer than most of the small figures of a board.
  void apply(bool fill);
  void applyPen();
  void applyBrush(bool fill);
  void applyMode(QPainter::CompositionMode mode);
  // Pen width in device pixels; 0 for a one-pixel (cosmetic) pen.
  double penPixels() const;
  // The index in tiles_ of the 8 x 8 tile brush of a pattern, built once
  // per pattern.
  size_t patternTile(const CanvasPattern& pattern);
  QRectF deviceRect(const CanvasRect& box, bool insideFrame) const;
  QPoint device(CanvasPoint p) const;
  // The device points of a figure, in a buffer reused from call to call.
  const QPoint* devicePoints(std::span<const CanvasPoint> points);

  QPainter& painter_;
  CanvasRect clip_;
  bool rasterTarget_;

  // What was last installed on the painter.
  enum class BrushKind : uint8_t { kUnknown, kNone, kColour, kPattern };
  bool penKnown_ = false;
  bool penNone_ = false;
  CanvasColour penColour_ = 0;
  double penWidth_ = 0;
  BrushKind brushKind_ = BrushKind::kUnknown;
  CanvasColour brushColour_ = 0;
  const CanvasPattern* brushPattern_ = nullptr;
  bool modeKnown_ = false;
  QPainter::CompositionMode mode_ = QPainter::CompositionMode_SourceOver;

  struct Tile {
    CanvasPattern pattern;
    QBrush brush;
  };
  std::vector<Tile> tiles_;
  size_t currentTile_ = 0;
  QVarLengthArray<QPoint, 64> points_;
};

// A canvas on part of a raster image whose pixel (0, 0) is device pixel
// (originX, originY): figures are drawn by the raster canvas inside `clip`
// (device pixels), texts in system fonts by a painter on the same pixels.
class ImageAreaCanvas : public Canvas {
 public:
  ImageAreaCanvas(RasterImage& image, int32_t originX, int32_t originY, const CanvasRect& clip);

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

 protected:
  RasterImage& image_;
  int32_t originX_;
  int32_t originY_;
  CanvasRect clip_;

 private:
  // The raster canvas with this canvas's state, its mapping moved to the
  // image's corner.
  RasterCanvas& raster();

  RasterCanvas raster_;
};

// 0x00BBGGRR to QColor.
QColor toQColor(CanvasColour c);

}  // namespace plavesk
