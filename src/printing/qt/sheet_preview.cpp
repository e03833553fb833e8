#include "printing/qt/sheet_preview.h"

#include <QFont>
#include <cmath>

#include "platform/qt/cached_text.h"
#include "platform/qt/qt_canvas.h"

namespace plavesk {

namespace {

// The raster canvas with one painter kept for the texts: a drill plan has a
// label at every pad, and a painter and font made for each would cost more
// than all the figures together. The painter draws straight into the same
// pixels, so texts still come in their turn among the figures.
class PreviewCanvas : public ImageAreaCanvas {
 public:
  explicit PreviewCanvas(RasterImage& image)
      : ImageAreaCanvas(image, 0, 0, {0, 0, image.width(), image.height()}),
        target_(image.row(0), image.width(), image.height(), image.width() * 3,
                QImage::Format_BGR888) {}

  bool text(CanvasPoint anchor, const std::string& utf8, const CanvasFont& font) override {
    if (!painter_.isActive()) painter_.begin(&target_);
    texts_.draw(painter_, mapping(), pen().colour, anchor, utf8, font);
    return true;
  }

 private:
  QImage target_;
  QPainter painter_;
  CachedTextPainter texts_;
};

}  // namespace

RasterImage renderPrintableArea(const TPreviewGeometry& g, const TPrintSource& source,
                                const TPrintOptions& options, const TRenderSettings& settings) {
  const int32_t w = std::max<int32_t>(1, int32_t(std::lround(g.printableWidth)));
  const int32_t h = std::max<int32_t>(1, int32_t(std::lround(g.printableHeight)));
  RasterImage image(w, h, kWhite);
  PreviewCanvas canvas(image);
  drawPrintSheet(canvas, source, options, g.device(), settings);
  return image;
}

QImage toQImage(const RasterImage& image) {
  QImage q(image.width(), image.height(), QImage::Format_RGB888);
  for (int32_t y = 0; y < image.height(); ++y) {
    const uint8_t* bgr = image.row(y);
    uchar* rgb = q.scanLine(y);
    for (int32_t x = 0; x < image.width(); ++x) {
      rgb[3 * x] = bgr[3 * x + 2];
      rgb[3 * x + 1] = bgr[3 * x + 1];
      rgb[3 * x + 2] = bgr[3 * x];
    }
  }
  return q;
}

void paintSheetPreview(QPainter& p, int width, int height, const TPreviewGeometry& g,
                       const TPrinterPage& page, const RasterImage& printable,
                       std::optional<QPointF> mouse) {
  p.fillRect(QRect(0, 0, width, height), QColor(128, 128, 128));
  const QRectF sheet(g.sheetLeft, g.sheetTop, g.sheetWidth, g.sheetHeight);
  p.fillRect(sheet.translated(kPreviewShadow, kPreviewShadow), Qt::black);
  p.fillRect(sheet, Qt::white);

  // The printable area with the layout, framed red and dotted.
  const QRectF area(g.printableLeft, g.printableTop, g.printableWidth, g.printableHeight);
  p.drawImage(QPointF(std::round(area.left()), std::round(area.top())), toQImage(printable));
  QPen frame(Qt::red);
  frame.setStyle(Qt::DotLine);
  frame.setWidth(0);
  p.setPen(frame);
  p.setBrush(Qt::NoBrush);
  p.drawRect(area);

  // Rulers along the sheet's top and left edges.
  QFont font("Arial");
  font.setPixelSize(11);
  p.setFont(font);
  p.setPen(Qt::black);
  for (const TSheetRulerTick& t : sheetRulerTicks(g.sheetLeft, page.paperWidthMm, g.pixelsPerMm)) {
    p.drawLine(QPointF(t.position, g.sheetTop), QPointF(t.position, g.sheetTop + t.length));
    if (!t.label.empty() && t.mm > 0)
      p.drawText(QPointF(t.position + 2, g.sheetTop + 14), QString::fromStdString(t.label));
  }
  for (const TSheetRulerTick& t : sheetRulerTicks(g.sheetTop, page.paperHeightMm, g.pixelsPerMm)) {
    p.drawLine(QPointF(g.sheetLeft, t.position), QPointF(g.sheetLeft + t.length, t.position));
    if (!t.label.empty() && t.mm > 0)
      p.drawText(QPointF(g.sheetLeft + 2, t.position - 2), QString::fromStdString(t.label));
  }
  if (mouse && sheet.contains(*mouse)) {
    p.setPen(QPen(Qt::blue, 0));
    p.drawLine(QPointF(mouse->x(), g.sheetTop), QPointF(mouse->x(), g.sheetTop + 15));
    p.drawLine(QPointF(g.sheetLeft, mouse->y()), QPointF(g.sheetLeft + 15, mouse->y()));
  }
}

}  // namespace plavesk
