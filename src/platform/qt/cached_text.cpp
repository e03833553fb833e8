#include "platform/qt/cached_text.h"

#include <cmath>

#include "platform/qt/qt_canvas.h"

namespace plavesk {

void CachedTextPainter::draw(QPainter& painter, const CanvasMapping& mapping, CanvasColour colour,
                             CanvasPoint anchor, const std::string& utf8, const CanvasFont& font) {
  const double pixels = std::fabs(font.height * mapping.pixelScale());
  if (pixels < 1) return;
  const int size = std::max(1, int(std::lround(pixels)));
  if (size != size_ || font.face != face_ || font.weight != weight_) {
    size_ = size;
    face_ = font.face;
    weight_ = font.weight;
    font_ = QFont(QString::fromStdString(font.face));
    font_.setPixelSize(size);
    font_.setWeight(font.weight >= 700 ? QFont::Bold : QFont::Normal);
    laidOut_.clear();
  }
  auto it = laidOut_.find(utf8);
  if (it == laidOut_.end()) {
    QStaticText text(QString::fromStdString(utf8));
    text.setTextFormat(Qt::PlainText);
    text.prepare(QTransform(), font_);
    it = laidOut_.emplace(utf8, text).first;
  }
  const CanvasPoint at = mapping.toDevice(anchor);
  // The painter's canvas keeps track of the pen it installed: it gets its
  // pen back, as it does its transform.
  const QPen pen = painter.pen();
  const QTransform transform = painter.transform();
  if (painter.font() != font_) painter.setFont(font_);
  painter.setPen(toQColor(colour));
  if (font.angle != 0) {
    painter.translate(QPointF(at.x, at.y));
    painter.rotate(-font.angle);
    painter.drawStaticText(QPointF(0, 0), it->second);
    painter.setTransform(transform);
  } else {
    painter.drawStaticText(QPointF(at.x, at.y), it->second);
  }
  painter.setPen(pen);
}

}  // namespace plavesk
