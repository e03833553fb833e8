#include "platform/qt/qt_canvas.h"

#include <QFont>
#include <QFontMetricsF>
#include <QImage>
#include <QPolygonF>
#include <cmath>
#include <numbers>

#include "platform/core/canvas_figures.h"

namespace plavesk {

QColor toQColor(CanvasColour c) {
  return QColor(int(c & 0xFF), int((c >> 8) & 0xFF), int((c >> 16) & 0xFF));
}

QtCanvas::QtCanvas(QPainter& painter, const CanvasRect& clip) : painter_(painter), clip_(clip) {
  painter_.setRenderHint(QPainter::Antialiasing, false);
  painter_.setRenderHint(QPainter::TextAntialiasing, false);
  painter_.setBrushOrigin(0, 0);
}

QPointF QtCanvas::device(CanvasPoint p) const {
  const CanvasPoint d = mapping().toDevice(p);
  return QPointF(d.x, d.y);
}

void QtCanvas::apply(bool fill) {
  const CanvasPen& p = pen();
  if (p.style == PenStyle::kNone) {
    painter_.setPen(Qt::NoPen);
  } else {
    const double w = p.width <= 0 ? 0.0 : std::max(1.0, p.width * mapping().pixelScale());
    painter_.setPen(
        QPen(QBrush(toQColor(p.colour)), w, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  }
  const CanvasBrush& b = brush();
  if (!fill || !b.solid) {
    painter_.setBrush(Qt::NoBrush);
  } else if (b.pattern) {
    QImage tile(8, 8, QImage::Format_RGB32);
    for (int y = 0; y < 8; ++y)
      for (int x = 0; x < 8; ++x)
        tile.setPixelColor(x, y, toQColor((*b.pattern)[size_t(y * 8 + x)]));
    painter_.setBrush(QBrush(tile));
  } else {
    painter_.setBrush(toQColor(b.colour));
  }
  painter_.setCompositionMode(mode() == RasterMode::kNotXor
                                  ? QPainter::RasterOp_NotSourceXorDestination
                                  : QPainter::CompositionMode_SourceOver);
}

QRectF QtCanvas::deviceRect(const CanvasRect& box, bool insideFrame) const {
  QRectF r = QRectF(device({box.left, box.top}), device({box.right, box.bottom})).normalized();
  if (insideFrame && pen().style != PenStyle::kNone && pen().width > 0) {
    const double h = std::max(1.0, pen().width * mapping().pixelScale()) / 2;
    r.adjust(h, h, -h, -h);
  }
  return r;
}

void QtCanvas::line(CanvasPoint from, CanvasPoint to) {
  apply(false);
  painter_.drawLine(device(from), device(to));
}

void QtCanvas::polyline(std::span<const CanvasPoint> points) {
  apply(false);
  QPolygonF poly;
  for (const auto& p : points) poly << device(p);
  if (poly.size() == 1) poly << poly.front();
  painter_.drawPolyline(poly);
}

void QtCanvas::polygon(std::span<const CanvasPoint> points) {
  apply(true);
  QPolygonF poly;
  for (const auto& p : points) poly << device(p);
  painter_.drawPolygon(poly, Qt::OddEvenFill);
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
}  // namespace

void QtCanvas::arc(const CanvasRect& box, CanvasPoint start, CanvasPoint end) {
  apply(false);
  const DeviceArc a = deviceArc(mapping(), box, start, end);
  const QRectF r(a.ellipse.cx - a.ellipse.rx, a.ellipse.cy - a.ellipse.ry, 2 * a.ellipse.rx,
                 2 * a.ellipse.ry);
  painter_.drawArc(r, sixteenths(a.start), sixteenths(a.sweep));
}

void QtCanvas::chord(const CanvasRect& box, CanvasPoint start, CanvasPoint end) {
  apply(true);
  const DeviceArc a = deviceArc(mapping(), box, start, end);
  const QRectF r(a.ellipse.cx - a.ellipse.rx, a.ellipse.cy - a.ellipse.ry, 2 * a.ellipse.rx,
                 2 * a.ellipse.ry);
  painter_.drawChord(r, sixteenths(a.start), sixteenths(a.sweep));
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
  painter_.translate(device(anchor));
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
  for (int y = 0; y < picture.height; ++y)
    for (int x = 0; x < picture.width; ++x) {
      CanvasColour c = picture.pixels[size_t(y) * size_t(picture.width) + size_t(x)];
      if (picture.twoColour) {
        const int lum = int(c & 0xFF) + int((c >> 8) & 0xFF) + int((c >> 16) & 0xFF);
        c = lum < 3 * 128 ? picture.ink : picture.paper;
      }
      img.setPixelColor(x, y, toQColor(c));
    }
  const QPointF a = device({box.left, box.top}), b = device({box.right, box.bottom});
  if (a.x() > b.x()) img = img.mirrored(true, false);
  if (a.y() > b.y()) img = img.mirrored(false, true);
  painter_.setCompositionMode(QPainter::CompositionMode_SourceOver);
  painter_.drawImage(QRectF(a, b).normalized(), img);
}

}  // namespace plavesk
