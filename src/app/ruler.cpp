#include "app/ruler.h"

#include <QPainter>

#include "app/layout_view.h"

namespace plavesk {

TRuler::TRuler(RulerSide side, const TViewState& view, const TLayoutView& layoutView,
               QWidget* parent)
    : QWidget(parent), side_(side), view_(view), layoutView_(layoutView) {
  if (side == RulerSide::kTop) {
    setFixedHeight(kRulerDepth);
    setMinimumWidth(20);
  } else {
    setFixedWidth(kRulerDepth);
    setMinimumHeight(20);
  }
}

int TRuler::viewportOffset() const {
  const QPoint viewportOrigin = layoutView_.viewport()->mapToGlobal(QPoint(0, 0));
  const QPoint rulerOrigin = mapToGlobal(QPoint(0, 0));
  return side_ == RulerSide::kTop ? viewportOrigin.x() - rulerOrigin.x()
                                  : viewportOrigin.y() - rulerOrigin.y();
}

void TRuler::setCursorMarker(int viewportPixel) {
  if (viewportPixel == cursor_) return;
  if (cursor_ >= 0) update(markerStrip(cursor_));
  cursor_ = viewportPixel;
  if (cursor_ >= 0) update(markerStrip(cursor_));
}

QRect TRuler::markerStrip(int viewportPixel) const {
  const int at = viewportPixel + viewportOffset();
  return side_ == RulerSide::kTop ? QRect(at - 1, 0, 3, height()) : QRect(0, at - 1, width(), 3);
}

TRuler::ScaleKey TRuler::scaleKey() const {
  const QPoint origin = layoutView_.originInViewport();
  return {view_.zoom(),
          origin.x(),
          origin.y(),
          viewportOffset(),
          view_.inchMode,
          view_.paintSuppressed,
          view_.boardHeight(),
          width(),
          height(),
          int(devicePixelRatioF() * 100)};
}

void TRuler::paintEvent(QPaintEvent*) {
  const ScaleKey key = scaleKey();
  if (scale_.isNull() || key != scaleKey_) {
    scaleKey_ = key;
    scale_ = QPixmap(size() * devicePixelRatioF());
    scale_.setDevicePixelRatio(devicePixelRatioF());
    QPainter sp(&scale_);
    paintScale(sp);
  }
  QPainter p(this);
  p.drawPixmap(0, 0, scale_);
  if (cursor_ >= 0 && !view_.paintSuppressed) {
    p.setPen(Qt::red);
    const int at = cursor_ + viewportOffset();
    if (side_ == RulerSide::kTop)
      p.drawLine(at, 0, at, height());
    else
      p.drawLine(0, at, width(), at);
  }
}

void TRuler::paintScale(QPainter& p) {
  p.fillRect(rect(), palette().window());
  p.setPen(palette().mid().color());
  if (side_ == RulerSide::kTop)
    p.drawLine(0, height() - 1, width(), height() - 1);
  else
    p.drawLine(width() - 1, 0, width() - 1, height());
  if (view_.paintSuppressed) return;

  QFont font("Arial");
  font.setPixelSize(10);
  p.setFont(font);
  p.setPen(Qt::black);
  const QPoint origin = layoutView_.originInViewport();
  const int offset = viewportOffset();
  const bool top = side_ == RulerSide::kTop;
  // The left ruler's ticks sit 2 pixels below the origin's pixel, the frame
  // of the drawing area; this ruler knows the exact offset.
  const auto ticks =
      top ? rulerTicks(side_, view_.zoom(), view_.inchMode, origin.x(), offset, view_.boardHeight())
          : rulerTicks(side_, view_.zoom(), view_.inchMode, origin.y() + offset - 2, 0,
                       view_.boardHeight());
  const int extent = top ? width() : height();
  const QFontMetrics metrics(font);
  for (const TRulerTick& t : ticks) {
    if (t.position < 0 || t.position > extent) continue;
    if (top) {
      p.drawLine(t.position, height() - t.length, t.position, height() - 1);
      if (!t.label.empty()) {
        const QString label = QString::fromStdString(t.label);
        const int w = metrics.horizontalAdvance(label);
        p.drawText(t.position - 2 - w, height() - 3 - 3, label);
      }
    } else {
      p.drawLine(width() - t.length, t.position, width() - 1, t.position);
      if (!t.label.empty()) {
        const QString label = QString::fromStdString(t.label);
        const int w = metrics.horizontalAdvance(label);
        p.drawText(width() - 3 - w, t.position - 2, label);
      }
    }
  }
}

}  // namespace plavesk
