#include "platform/qt/pdf_document.h"

#include <QBuffer>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <cmath>

#include "platform/qt/cached_text.h"
#include "platform/qt/qt_canvas.h"

namespace plavesk {
namespace {

// Texts through one kept font and layout (a drill plan labels every pad).
class PdfCanvas : public QtCanvas {
 public:
  PdfCanvas(QPainter& painter, const CanvasRect& clip)
      : QtCanvas(painter, clip), painter_(painter) {}
  bool text(CanvasPoint anchor, const std::string& utf8, const CanvasFont& font) override {
    texts_.draw(painter_, mapping(), pen().colour, anchor, utf8, font);
    return true;
  }

 private:
  QPainter& painter_;
  CachedTextPainter texts_;
};

}  // namespace

std::vector<uint8_t> renderPdf(const TPdfPage& page,
                               const std::function<void(Canvas&, double pixelsPerMm)>& draw) {
  QBuffer buffer;
  buffer.open(QIODevice::WriteOnly);
  {
    QPdfWriter pdf(&buffer);
    pdf.setCreator("Plavesk");
    pdf.setTitle(QString::fromStdString(page.title));
    pdf.setResolution(page.dpi);
    const QPageSize size(QSizeF(page.widthMm, page.heightMm), QPageSize::Millimeter, QString(),
                         QPageSize::ExactMatch);
    pdf.setPageLayout(
        QPageLayout(size, QPageLayout::Portrait, QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter));
    QPainter painter;
    if (!painter.begin(&pdf)) return {};
    const double perMm = page.dpi / 25.4;
    const int32_t w = int32_t(std::ceil(page.widthMm * perMm));
    const int32_t h = int32_t(std::ceil(page.heightMm * perMm));
    PdfCanvas canvas(painter, {0, 0, w, h});
    draw(canvas, perMm);
    painter.end();
  }
  const QByteArray& bytes = buffer.data();
  return std::vector<uint8_t>(bytes.begin(), bytes.end());
}

}  // namespace plavesk
