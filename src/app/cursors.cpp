#include "app/cursors.h"

#include <QBitmap>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <array>
#include <functional>

namespace plavesk {

namespace {

constexpr int kSize = 32;

// The arrow every tool cursor but the magnifier and the probe starts with,
// its tip on pixel (0, 0).
QPainterPath arrowPath() {
  QPainterPath p;
  p.moveTo(0.5, 0.5);
  p.lineTo(0.5, 14.5);
  p.lineTo(4.5, 10.5);
  p.lineTo(7.5, 16.5);
  p.lineTo(9.5, 15.5);
  p.lineTo(6.5, 9.5);
  p.lineTo(11.5, 9.5);
  p.closeSubpath();
  return p;
}

// A cursor from a figure drawn twice: wide in white for the outline, then
// narrow in black; what neither touches is transparent.
QCursor twoColourCursor(const std::function<void(QPainter&, const QPen&)>& draw, int hotX,
                        int hotY) {
  QImage picture(kSize, kSize, QImage::Format_ARGB32);
  picture.fill(Qt::transparent);
  {
    QPainter p(&picture);
    QPen outline(Qt::white, 3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    p.setBrush(Qt::white);
    draw(p, outline);
    QPen ink(Qt::black, 1, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin);
    p.setBrush(Qt::NoBrush);
    draw(p, ink);
  }
  // Bitmap: 1 is black; mask: 1 is shown.
  QImage bits(kSize, kSize, QImage::Format_MonoLSB), mask(kSize, kSize, QImage::Format_MonoLSB);
  bits.setColorTable({qRgb(255, 255, 255), qRgb(0, 0, 0)});
  mask.setColorTable({qRgb(255, 255, 255), qRgb(0, 0, 0)});
  bits.fill(0);
  mask.fill(0);
  for (int y = 0; y < kSize; ++y)
    for (int x = 0; x < kSize; ++x) {
      const QRgb c = picture.pixel(x, y);
      if (qAlpha(c) < 128) continue;
      mask.setPixel(x, y, 1);
      if (qGray(c) < 128) bits.setPixel(x, y, 1);
    }
  return QCursor(QBitmap::fromImage(bits), QBitmap::fromImage(mask), hotX, hotY);
}

// The arrow with a small sign below and right of it.
QCursor arrowWith(const std::function<void(QPainter&)>& sign) {
  return twoColourCursor(
      [&](QPainter& p, const QPen& pen) {
        p.setPen(pen);
        p.drawPath(arrowPath());
        sign(p);
      },
      0, 0);
}

QCursor makeCursor(TCursor kind) {
  switch (kind) {
    case TCursor::magnifier:  // "LUPE": the lens centred on the hot spot
      return twoColourCursor(
          [](QPainter& p, const QPen& pen) {
            p.setPen(pen);
            p.setBrush(Qt::NoBrush);
            p.drawEllipse(QPointF(11, 11), 8, 8);
            QPen handle = pen;
            handle.setWidthF(pen.widthF() + 2);
            p.setPen(handle);
            p.drawLine(QPointF(17, 17), QPointF(27, 27));
            p.setPen(pen);
            p.drawLine(QPointF(8, 11), QPointF(14, 11));
            p.drawLine(QPointF(11, 8), QPointF(11, 14));
          },
          11, 11);
    case TCursor::test:  // "TEST": a probe whose tip is the hot spot
      return twoColourCursor(
          [](QPainter& p, const QPen& pen) {
            p.setPen(pen);
            p.drawLine(QPointF(3, 3), QPointF(12, 12));
            QPen body = pen;
            body.setWidthF(pen.widthF() + 3);
            p.setPen(body);
            p.drawLine(QPointF(13, 13), QPointF(24, 24));
            p.setPen(pen);
            p.drawLine(QPointF(24, 24), QPointF(30, 30));
          },
          3, 3);
    case TCursor::changer:  // "CHANGER": a corner handle to drag
      return arrowWith([](QPainter& p) {
        p.drawRect(QRectF(13.5, 13.5, 8, 8));
        p.drawLine(QPointF(17.5, 24.5), QPointF(17.5, 29.5));
        p.drawLine(QPointF(24.5, 17.5), QPointF(29.5, 17.5));
      });
    case TCursor::connect:  // "CONNECT": two pads and the line between them
      return arrowWith([](QPainter& p) {
        p.drawEllipse(QPointF(14.5, 22.5), 3, 3);
        p.drawEllipse(QPointF(26.5, 22.5), 3, 3);
        p.drawLine(QPointF(17.5, 22.5), QPointF(23.5, 22.5));
      });
    case TCursor::autoroute:  // "AUTOROUTE": a track with a bend
      return arrowWith([](QPainter& p) {
        p.drawLine(QPointF(12.5, 28.5), QPointF(18.5, 28.5));
        p.drawLine(QPointF(18.5, 28.5), QPointF(24.5, 22.5));
        p.drawLine(QPointF(24.5, 22.5), QPointF(24.5, 14.5));
      });
    case TCursor::ring:  // "RING": a ring
      return arrowWith([](QPainter& p) { p.drawEllipse(QPointF(21.5, 21.5), 7, 7); });
    case TCursor::crossHair:
      return QCursor(Qt::CrossCursor);
    case TCursor::arrow:
      break;
  }
  return QCursor(Qt::ArrowCursor);
}

}  // namespace

const QCursor& toolCursor(TCursor cursor) {
  static std::array<QCursor, 8> made;
  static std::array<bool, 8> done{};
  const size_t i = size_t(cursor);
  if (!done[i]) {
    made[i] = makeCursor(cursor);
    done[i] = true;
  }
  return made[i];
}

}  // namespace plavesk
