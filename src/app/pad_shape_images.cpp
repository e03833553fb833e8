#include "app/pad_shape_images.h"

#include <QPainter>
#include <QPolygonF>
#include <algorithm>
#include <array>

#include "document/objekt.h"

namespace plavesk {

namespace {

const QColor kSide1(200, 110, 30);  // copper of side 1
const QColor kSide2(40, 90, 200);   // copper of side 2 under a through pad

QPolygonF octagon(const QRectF& r) {
  const double c = std::min(r.width(), r.height()) * 0.29;
  return QPolygonF({QPointF(r.left() + c, r.top()), QPointF(r.right() - c, r.top()),
                    QPointF(r.right(), r.top() + c), QPointF(r.right(), r.bottom() - c),
                    QPointF(r.right() - c, r.bottom()), QPointF(r.left() + c, r.bottom()),
                    QPointF(r.left(), r.bottom() - c), QPointF(r.left(), r.top() + c)});
}

// The shape in the box `r`.
void drawShape(QPainter& p, int shape, const QRectF& r) {
  const double round = std::min(r.width(), r.height()) / 2;
  switch (shape) {
    case kPadRound:
      p.drawEllipse(r);
      break;
    case kPadOctagon:
    case kPadOctagonH:
    case kPadOctagonV:
      p.drawPolygon(octagon(r));
      break;
    case kPadOblongH:
    case kPadOblongV:
      p.drawRoundedRect(r, round, round);
      break;
    default:
      p.drawRect(r);
      break;
  }
}

// The box of a shape around the image centre: horizontal shapes about twice
// as wide as high, vertical ones twice as high.
QRectF shapeBox(int shape, double inset) {
  double w = 12, h = 12;
  if (shape >= kPadOblongH && shape <= kPadRectH) {
    w = 15;
    h = 7;
  } else if (shape >= kPadOblongV && shape <= kPadRectV) {
    w = 7;
    h = 15;
  }
  return QRectF(8 - w / 2 + inset, 8 - h / 2 + inset, w - 2 * inset, h - 2 * inset);
}

QPixmap makeImage(int index) {
  const int shape = index % 9 + 1;
  const bool through = index >= 9;
  QPixmap pixmap(16, 16);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(Qt::NoPen);
  if (through) {
    // The other side's copper shows as a rim around this side's.
    p.setBrush(kSide2);
    drawShape(p, shape, shapeBox(shape, 0));
    p.setBrush(kSide1);
    drawShape(p, shape, shapeBox(shape, 1.5));
  } else {
    p.setBrush(kSide1);
    drawShape(p, shape, shapeBox(shape, 0));
  }
  p.setBrush(Qt::white);
  p.drawEllipse(QPointF(8, 8), 1.8, 1.8);
  return pixmap;
}

}  // namespace

QPixmap padShapeImage(int index) {
  static const std::array<QPixmap, kPadShapeImages> images = [] {
    std::array<QPixmap, kPadShapeImages> all;
    for (int i = 0; i < kPadShapeImages; ++i) all[size_t(i)] = makeImage(i);
    return all;
  }();
  return images[size_t(std::clamp(index, 0, kPadShapeImages - 1))];
}

QIcon padShapeIcon(int shape, bool throughPad) {
  return QIcon(padShapeImage(std::clamp(shape, 1, 9) - 1 + (throughPad ? 9 : 0)));
}

}  // namespace plavesk
