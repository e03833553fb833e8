#include "platform/qt/qt_canvas.h"

#include <QFont>
#include <QFontMetricsF>
#include <QImage>
#include <QPaintEngine>
#include <cmath>
#include <cstring>
#include <numbers>

#include "platform/core/canvas_figures.h"

namespace plavesk {

QColor toQColor(CanvasColour c) {
  return QColor(int(c & 0xFF), int((c >> 8) & 0xFF), int((c >> 16) & 0xFF));
}

QtCanvas::QtCanvas(QPainter& painter, const CanvasRect& clip)
    : painter_(painter),
      clip_(clip),
      rasterTarget_(painter.paintEngine() &&
                    painter.paintEngine()->type() == QPaintEngine::Raster) {
  painter_.setRenderHint(QPainter::Antialiasing, false);
  painter_.setRenderHint(QPainter::TextAntialiasing, false);
  painter_.setBrushOrigin(0, 0);
}

QPoint QtCanvas::device(CanvasPoint p) const {
  const CanvasPoint d = mapping().toDevice(p);
  return QPoint(d.x, d.y);
}

const QPoint* QtCanvas::devicePoints(std::span<const CanvasPoint> points) {
  points_.resize(qsizetype(points.size()));
  for (size_t i = 0; i < points.size(); ++i) points_[qsizetype(i)] = device(points[i]);
  return points_.constData();
}

double QtCanvas::penPixels() const {
  if (pen().width <= 0) return 0;
  const double w = std::max(1.0, pen().width * mapping().pixelScale());
  // On pixels, lines below one and a half pixels are one pixel wide, drawn
  // by the painter's cosmetic pen (as the raster canvas draws them); vector
  // targets keep the width they are given.
  return rasterTarget_ && w < 1.5 ? 0 : w;
}

void QtCanvas::applyPen() {
  const CanvasPen& p = pen();
  const bool none = p.style == PenStyle::kNone;
  const double w = none ? 0 : penPixels();
  if (penKnown_ && none == penNone_ && (none || (p.colour == penColour_ && w == penWidth_))) return;
  penKnown_ = true;
  penNone_ = none;
  penColour_ = p.colour;
  penWidth_ = w;
  if (none) {
    painter_.setPen(Qt::NoPen);
    return;
  }
  QPen qp(toQColor(p.colour), w, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
  qp.setCosmetic(w == 0);
  painter_.setPen(qp);
}

size_t QtCanvas::patternTile(const CanvasPattern& pattern) {
  for (size_t i = 0; i < tiles_.size(); ++i)
    if (tiles_[i].pattern == pattern) return i;
  QImage tile(8, 8, QImage::Format_RGB32);
  for (int y = 0; y < 8; ++y) {
    auto* line = reinterpret_cast<QRgb*>(tile.scanLine(y));
    for (int x = 0; x < 8; ++x) {
      const CanvasColour c = pattern[size_t(y * 8 + x)];
      line[x] = qRgb(int(c & 0xFF), int((c >> 8) & 0xFF), int((c >> 16) & 0xFF));
    }
  }
  tiles_.push_back({pattern, QBrush(tile)});
  return tiles_.size() - 1;
}

void QtCanvas::applyBrush(bool fill) {
  const CanvasBrush& b = brush();
  if (!fill || !b.solid) {
    if (brushKind_ == BrushKind::kNone) return;
    brushKind_ = BrushKind::kNone;
    painter_.setBrush(Qt::NoBrush);
  } else if (b.pattern) {
    // The same pattern object may have been changed in between: the tile
    // is looked up by its colours then, not by its address.
    if (brushKind_ == BrushKind::kPattern && brushPattern_ == b.pattern &&
        tiles_[currentTile_].pattern == *b.pattern)
      return;
    currentTile_ = patternTile(*b.pattern);
    brushKind_ = BrushKind::kPattern;
    brushPattern_ = b.pattern;
    painter_.setBrush(tiles_[currentTile_].brush);
  } else {
    if (brushKind_ == BrushKind::kColour && brushColour_ == b.colour) return;
    brushKind_ = BrushKind::kColour;
    brushColour_ = b.colour;
    painter_.setBrush(toQColor(b.colour));
  }
}

void QtCanvas::applyMode(QPainter::CompositionMode mode) {
  if (modeKnown_ && mode == mode_) return;
  modeKnown_ = true;
  mode_ = mode;
  painter_.setCompositionMode(mode);
}

void QtCanvas::apply(bool fill) {
  applyPen();
  applyBrush(fill);
  switch (mode()) {
    case RasterMode::kNotXor:
      applyMode(QPainter::RasterOp_NotSourceXorDestination);
      break;
    case RasterMode::kXor:
      applyMode(QPainter::RasterOp_SourceXorDestination);
      break;
    default:
      applyMode(QPainter::CompositionMode_SourceOver);
      break;
  }
}

QRectF QtCanvas::deviceRect(const CanvasRect& box, bool insideFrame) const {
  QRectF r = QRectF(QPointF(device({box.left, box.top})), QPointF(device({box.right, box.bottom})))
                 .normalized();
  if (insideFrame && pen().style != PenStyle::kNone && pen().width > 0) {
    const double h = std::max(1.0, pen().width * mapping().pixelScale()) / 2;
    r.adjust(h, h, -h, -h);
  }
  return r;
}

void QtCanvas::line(CanvasPoint from, CanvasPoint to) {
  if (pen().style == PenStyle::kNone) return;
  apply(false);
  painter_.drawLine(device(from), device(to));
}

void QtCanvas::polyline(std::span<const CanvasPoint> points) {
  if (points.empty() || pen().style == PenStyle::kNone) return;
  apply(false);
  const QPoint* pts = devicePoints(points);
  if (points.size() == 1)
    painter_.drawLine(pts[0], pts[0]);
  else
    painter_.drawPolyline(pts, int(points.size()));
}

void QtCanvas::polygon(std::span<const CanvasPoint> points) {
  if (points.empty()) return;
  apply(true);
  painter_.drawPolygon(devicePoints(points), int(points.size()), Qt::OddEvenFill);
}

void QtCanvas::ellipse(const CanvasRect& box) {
  apply(true);
  painter_.drawEllipse(deviceRect(box, pen().style == PenStyle::kInsideFrame));
}

void QtCanvas::rectangle(const CanvasRect& box) {
  apply(true);
  painter_.drawRect(deviceRect(box, pen().style == PenStyle::kInsideFrame));
}

void QtCanvas::roundRect(const CanvasRect& box, int32_t cw, int32_t ch) {
  apply(true);
  const double sx = mapping().pixelScale();
  const double sy = std::fabs(mapping().viewportExtY / mapping().windowExtY);
  painter_.drawRoundedRect(deviceRect(box, pen().style == PenStyle::kInsideFrame), cw * sx / 2,
                           ch * sy / 2, Qt::AbsoluteSize);
}

namespace {
int sixteenths(double radians) {
  return int(std::lround(radians * 180 / std::numbers::pi * 16));
}

// The painter's form of an arc: its ellipse's box and the start and sweep
// in sixteenths of a degree.
struct PainterArc {
  QRectF box;
  int start, sweep;
};

PainterArc painterArc(const CanvasMapping& mapping, const CanvasRect& box, CanvasPoint start,
                      CanvasPoint end) {
  const DeviceArc a = deviceArc(mapping, box, start, end);
  return {QRectF(a.ellipse.cx - a.ellipse.rx, a.ellipse.cy - a.ellipse.ry, 2 * a.ellipse.rx,
                 2 * a.ellipse.ry),
          sixteenths(a.start), sixteenths(a.sweep)};
}
}  // namespace

void QtCanvas::arc(const CanvasRect& box, CanvasPoint start, CanvasPoint end) {
  apply(false);
  const PainterArc a = painterArc(mapping(), box, start, end);
  painter_.drawArc(a.box, a.start, a.sweep);
}

void QtCanvas::chord(const CanvasRect& box, CanvasPoint start, CanvasPoint end) {
  apply(true);
  const PainterArc a = painterArc(mapping(), box, start, end);
  painter_.drawChord(a.box, a.start, a.sweep);
}

bool QtCanvas::text(CanvasPoint anchor, const std::string& utf8, const CanvasFont& font) {
  const double pixels = std::fabs(font.height * mapping().pixelScale());
  if (pixels < 1) return true;
  QFont f(QString::fromStdString(font.face));
  f.setPixelSize(std::max(1, int(std::lround(pixels))));
  f.setWeight(font.weight >= 700 ? QFont::Bold : QFont::Normal);
  painter_.save();
  painter_.setFont(f);
  painter_.setPen(toQColor(pen().colour));
  painter_.translate(QPointF(device(anchor)));
  painter_.rotate(-font.angle);
  painter_.drawText(QPointF(0, QFontMetricsF(f).ascent()), QString::fromStdString(utf8));
  painter_.restore();
  return true;
}

void QtCanvas::image(const CanvasRect& box, const CanvasImage& picture) {
  if (picture.width <= 0 || picture.height <= 0 ||
      picture.pixels.size() < size_t(picture.width) * size_t(picture.height))
    return;
  QImage img(picture.width, picture.height, QImage::Format_RGB32);
  for (int y = 0; y < picture.height; ++y) {
    auto* line = reinterpret_cast<QRgb*>(img.scanLine(y));
    for (int x = 0; x < picture.width; ++x) {
      CanvasColour c = picture.pixels[size_t(y) * size_t(picture.width) + size_t(x)];
      if (picture.twoColour) {
        const int lum = int(c & 0xFF) + int((c >> 8) & 0xFF) + int((c >> 16) & 0xFF);
        c = lum < 3 * 128 ? picture.ink : picture.paper;
      }
      line[x] = qRgb(int(c & 0xFF), int((c >> 8) & 0xFF), int((c >> 16) & 0xFF));
    }
  }
  const QPointF a(device({box.left, box.top})), b(device({box.right, box.bottom}));
  if (a.x() > b.x()) img = img.mirrored(true, false);
  if (a.y() > b.y()) img = img.mirrored(false, true);
  applyMode(QPainter::CompositionMode_SourceOver);
  painter_.drawImage(QRectF(a, b).normalized(), img);
}

ImageAreaCanvas::ImageAreaCanvas(RasterImage& image, int32_t originX, int32_t originY,
                                 const CanvasRect& clip)
    : image_(image), originX_(originX), originY_(originY), clip_(clip), raster_(image) {
  raster_.setClip({clip_.left - originX_, clip_.top - originY_, clip_.right - originX_,
                   clip_.bottom - originY_});
}

std::unique_ptr<Canvas> ImageAreaCanvas::band(const CanvasRect& d) {
  return std::make_unique<ImageAreaCanvas>(image_, originX_, originY_, clipRect(d, clip_));
}

RasterCanvas& ImageAreaCanvas::raster() {
  CanvasMapping m = mapping();
  m.viewportOrgX -= originX_;
  m.viewportOrgY -= originY_;
  raster_.setMapping(m);
  raster_.setPen(pen());
  raster_.setBrush(brush());
  raster_.setMode(mode());
  return raster_;
}

void ImageAreaCanvas::line(CanvasPoint from, CanvasPoint to) {
  raster().line(from, to);
}
void ImageAreaCanvas::polyline(std::span<const CanvasPoint> points) {
  raster().polyline(points);
}
void ImageAreaCanvas::polygon(std::span<const CanvasPoint> points) {
  raster().polygon(points);
}
void ImageAreaCanvas::ellipse(const CanvasRect& box) {
  raster().ellipse(box);
}
void ImageAreaCanvas::rectangle(const CanvasRect& box) {
  raster().rectangle(box);
}
void ImageAreaCanvas::roundRect(const CanvasRect& box, int32_t cw, int32_t ch) {
  raster().roundRect(box, cw, ch);
}
void ImageAreaCanvas::arc(const CanvasRect& box, CanvasPoint start, CanvasPoint end) {
  raster().arc(box, start, end);
}
void ImageAreaCanvas::chord(const CanvasRect& box, CanvasPoint start, CanvasPoint end) {
  raster().chord(box, start, end);
}
bool ImageAreaCanvas::text(CanvasPoint anchor, const std::string& utf8, const CanvasFont& font) {
  // The raster canvas has no system fonts: the text is drawn by a painter
  // straight into the image, in its turn among the figures, and only
  // inside this canvas's clip (another thread may draw beside it).
  if (image_.width() <= 0 || image_.height() <= 0 || clip_.left >= clip_.right ||
      clip_.top >= clip_.bottom)
    return true;
  QImage target(image_.row(0), image_.width(), image_.height(), image_.width() * 3,
                QImage::Format_BGR888);
  QPainter painter(&target);
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
void ImageAreaCanvas::image(const CanvasRect& box, const CanvasImage& picture) {
  raster().image(box, picture);
}

}  // namespace plavesk
