#include "app/app_icons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <cmath>

namespace plavesk {

namespace {

const QColor kInk(40, 40, 40);
const QColor kCopper(200, 110, 30);
const QColor kBlue(40, 90, 200);
const QColor kRed(200, 40, 40);
const QColor kGreen(30, 140, 60);
const QColor kPaper(255, 255, 255);

void page(QPainter& p, bool folded = true) {
  QPainterPath path;
  path.moveTo(5, 2);
  path.lineTo(15, 2);
  path.lineTo(19, 6);
  path.lineTo(19, 22);
  path.lineTo(5, 22);
  path.closeSubpath();
  p.setPen(QPen(kInk, 1.2));
  p.setBrush(kPaper);
  p.drawPath(path);
  if (folded) p.drawPolyline(QPolygonF({QPointF(15, 2), QPointF(15, 6), QPointF(19, 6)}));
}

void arrow(QPainter& p, QPointF from, QPointF to, const QColor& c) {
  p.setPen(QPen(c, 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.drawLine(from, to);
  const double a = std::atan2(to.y() - from.y(), to.x() - from.x());
  const QPointF l = to - QPointF(std::cos(a - 0.5) * 5, std::sin(a - 0.5) * 5);
  const QPointF r = to - QPointF(std::cos(a + 0.5) * 5, std::sin(a + 0.5) * 5);
  p.drawPolyline(QPolygonF({l, to, r}));
}

void magnifier(QPainter& p, const QString& sign) {
  p.setPen(QPen(kInk, 2));
  p.setBrush(QColor(220, 235, 255));
  p.drawEllipse(QRectF(3, 3, 12, 12));
  p.setPen(QPen(kInk, 3, Qt::SolidLine, Qt::RoundCap));
  p.drawLine(QPointF(14, 14), QPointF(20, 20));
  if (!sign.isEmpty()) {
    QFont f = p.font();
    f.setPixelSize(9);
    f.setBold(true);
    p.setFont(f);
    p.setPen(kInk);
    p.drawText(QRectF(3, 3, 12, 12), Qt::AlignCenter, sign);
  }
}

void pad(QPainter& p, QPointF c, double r) {
  p.setPen(Qt::NoPen);
  p.setBrush(kCopper);
  p.drawEllipse(c, r, r);
  p.setBrush(kPaper);
  p.drawEllipse(c, r * 0.4, r * 0.4);
}

void letters(QPainter& p, const QString& text, int size, const QColor& c) {
  QFont f = p.font();
  f.setPixelSize(size);
  f.setBold(true);
  p.setFont(f);
  p.setPen(c);
  p.drawText(QRectF(0, 0, 24, 24), Qt::AlignCenter, text);
}

void drawIcon(QPainter& p, IconId id) {
  const QPen track(kCopper, 3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
  switch (id) {
    case IconId::None:
      break;
    case IconId::New:
      page(p);
      break;
    case IconId::Open:
      p.setPen(QPen(kInk, 1.2));
      p.setBrush(QColor(240, 200, 90));
      p.drawPolygon(QPolygonF({QPointF(2, 6), QPointF(9, 6), QPointF(11, 8), QPointF(20, 8),
                               QPointF(20, 20), QPointF(2, 20)}));
      p.setBrush(QColor(250, 220, 120));
      p.drawPolygon(QPolygonF({QPointF(5, 11), QPointF(23, 11), QPointF(20, 20), QPointF(2, 20)}));
      break;
    case IconId::Save:
      p.setPen(QPen(kInk, 1.2));
      p.setBrush(kBlue);
      p.drawRoundedRect(QRectF(3, 3, 18, 18), 2, 2);
      p.setBrush(kPaper);
      p.drawRect(QRectF(7, 3, 10, 7));
      p.setBrush(QColor(200, 200, 200));
      p.drawRect(QRectF(6, 14, 12, 7));
      break;
    case IconId::Print:
      p.setPen(QPen(kInk, 1.2));
      p.setBrush(kPaper);
      p.drawRect(QRectF(7, 2, 10, 8));
      p.setBrush(QColor(170, 170, 170));
      p.drawRoundedRect(QRectF(2, 9, 20, 9), 2, 2);
      p.setBrush(kPaper);
      p.drawRect(QRectF(7, 15, 10, 7));
      break;
    case IconId::Undo:
      arrow(p, QPointF(19, 16), QPointF(5, 9), kBlue);
      break;
    case IconId::Redo:
      arrow(p, QPointF(5, 16), QPointF(19, 9), kBlue);
      break;
    case IconId::Cut:
      p.setPen(QPen(kInk, 1.6));
      p.drawLine(QPointF(7, 3), QPointF(15, 15));
      p.drawLine(QPointF(17, 3), QPointF(9, 15));
      p.setBrush(Qt::NoBrush);
      p.drawEllipse(QPointF(7, 18), 3, 3);
      p.drawEllipse(QPointF(17, 18), 3, 3);
      break;
    case IconId::Copy:
      p.translate(-2, -1);
      page(p, false);
      p.translate(4, 3);
      page(p, false);
      break;
    case IconId::Paste:
      p.setPen(QPen(kInk, 1.2));
      p.setBrush(QColor(190, 150, 90));
      p.drawRoundedRect(QRectF(3, 4, 14, 18), 2, 2);
      p.setBrush(kPaper);
      p.drawRect(QRectF(10, 9, 11, 13));
      break;
    case IconId::Delete:
      p.setPen(QPen(kRed, 3, Qt::SolidLine, Qt::RoundCap));
      p.drawLine(QPointF(6, 6), QPointF(18, 18));
      p.drawLine(QPointF(18, 6), QPointF(6, 18));
      break;
    case IconId::Duplicate:
      p.setPen(QPen(kInk, 1.2));
      p.setBrush(QColor(200, 220, 240));
      p.drawRect(QRectF(3, 3, 11, 11));
      p.drawRect(QRectF(10, 10, 11, 11));
      break;
    case IconId::Rotate:
      p.setPen(QPen(kBlue, 2));
      p.setBrush(Qt::NoBrush);
      p.drawArc(QRectF(4, 4, 16, 16), 90 * 16, 270 * 16);
      arrow(p, QPointF(9, 4), QPointF(13, 4), kBlue);
      break;
    case IconId::MirrorH:
      p.setPen(QPen(kInk, 1, Qt::DashLine));
      p.drawLine(12, 2, 12, 22);
      p.setPen(QPen(kInk, 1.2));
      p.setBrush(kBlue);
      p.drawPolygon(QPolygonF({QPointF(10, 5), QPointF(10, 19), QPointF(3, 19)}));
      p.setBrush(Qt::NoBrush);
      p.drawPolygon(QPolygonF({QPointF(14, 5), QPointF(14, 19), QPointF(21, 19)}));
      break;
    case IconId::MirrorV:
      p.setPen(QPen(kInk, 1, Qt::DashLine));
      p.drawLine(2, 12, 22, 12);
      p.setPen(QPen(kInk, 1.2));
      p.setBrush(kBlue);
      p.drawPolygon(QPolygonF({QPointF(5, 10), QPointF(19, 10), QPointF(19, 3)}));
      p.setBrush(Qt::NoBrush);
      p.drawPolygon(QPolygonF({QPointF(5, 14), QPointF(19, 14), QPointF(19, 21)}));
      break;
    case IconId::Align:
      p.setPen(QPen(kInk, 1.5));
      p.drawLine(4, 3, 4, 21);
      p.setPen(Qt::NoPen);
      p.setBrush(kBlue);
      p.drawRect(QRectF(5, 5, 14, 5));
      p.drawRect(QRectF(5, 14, 9, 5));
      break;
    case IconId::SnapGrid:
      p.setPen(QPen(QColor(150, 150, 150), 1));
      for (int i = 4; i <= 20; i += 8) {
        p.drawLine(i, 2, i, 22);
        p.drawLine(2, i, 22, i);
      }
      pad(p, QPointF(12, 12), 4);
      break;
    case IconId::RemoveConnections:
      pad(p, QPointF(5, 18), 3.5);
      pad(p, QPointF(19, 6), 3.5);
      p.setPen(QPen(kInk, 1, Qt::DashLine));
      p.drawLine(QPointF(5, 18), QPointF(19, 6));
      p.setPen(QPen(kRed, 2.5, Qt::SolidLine, Qt::RoundCap));
      p.drawLine(QPointF(8, 8), QPointF(16, 16));
      break;
    case IconId::Group:
    case IconId::Ungroup:
      p.setPen(QPen(kInk, 1, id == IconId::Group ? Qt::SolidLine : Qt::DashLine));
      p.setBrush(Qt::NoBrush);
      p.drawRect(QRectF(2, 2, 20, 20));
      p.setPen(Qt::NoPen);
      p.setBrush(kBlue);
      p.drawEllipse(QRectF(5, 5, 7, 7));
      p.setBrush(kGreen);
      p.drawRect(QRectF(12, 12, 7, 7));
      break;
    case IconId::ZoomBoard:
      p.setPen(QPen(kInk, 1));
      p.setBrush(QColor(0, 120, 0));
      p.drawRect(QRectF(2, 2, 14, 10));
      magnifier(p, {});
      break;
    case IconId::ZoomObjects:
      magnifier(p, "O");
      break;
    case IconId::ZoomSelection:
      magnifier(p, "M");
      break;
    case IconId::ZoomPrevious:
      magnifier(p, {});
      arrow(p, QPointF(12, 9), QPointF(6, 9), kBlue);
      break;
    case IconId::Repaint:
      p.setPen(QPen(kGreen, 2));
      p.setBrush(Qt::NoBrush);
      p.drawArc(QRectF(4, 4, 16, 16), 30 * 16, 300 * 16);
      arrow(p, QPointF(18, 14), QPointF(19, 8), kGreen);
      break;
    case IconId::Template:
      p.setPen(QPen(kInk, 1.2));
      p.setBrush(QColor(220, 255, 220));
      p.drawRect(QRectF(3, 4, 18, 16));
      p.setPen(QPen(kGreen, 1.5));
      p.drawPolyline(QPolygonF({QPointF(5, 17), QPointF(10, 10), QPointF(14, 14), QPointF(19, 7)}));
      break;
    case IconId::Macros:
      p.setPen(QPen(kInk, 1.2));
      p.setBrush(QColor(230, 230, 230));
      for (int i = 0; i < 3; ++i) p.drawRect(QRectF(3 + i * 6, 4, 5, 16));
      break;
    case IconId::ProjectInfo:
      p.setPen(Qt::NoPen);
      p.setBrush(kBlue);
      p.drawEllipse(QRectF(2, 2, 20, 20));
      letters(p, "i", 15, kPaper);
      break;
    case IconId::Edit:
      p.setPen(QPen(kInk, 1.2));
      p.setBrush(kPaper);
      p.drawPolygon(QPolygonF({QPointF(6, 3), QPointF(6, 19), QPointF(10, 15), QPointF(13, 21),
                               QPointF(15, 20), QPointF(12, 14), QPointF(18, 14)}));
      break;
    case IconId::Zoom:
      magnifier(p, "+");
      break;
    case IconId::Track:
      p.setPen(track);
      p.drawPolyline(QPolygonF({QPointF(3, 19), QPointF(10, 12), QPointF(21, 12)}));
      break;
    case IconId::Pad:
      pad(p, QPointF(12, 12), 8);
      break;
    case IconId::PadShape:
      p.setPen(Qt::NoPen);
      p.setBrush(kCopper);
      p.drawRect(QRectF(4, 4, 16, 16));
      p.setBrush(kPaper);
      p.drawEllipse(QPointF(12, 12), 3, 3);
      break;
    case IconId::Circle:
      p.setPen(track);
      p.setBrush(Qt::NoBrush);
      p.drawEllipse(QRectF(4, 4, 16, 16));
      break;
    case IconId::Area:
      p.setPen(Qt::NoPen);
      p.setBrush(kCopper);
      p.drawPolygon(QPolygonF(
          {QPointF(3, 20), QPointF(6, 5), QPointF(15, 3), QPointF(21, 12), QPointF(16, 21)}));
      break;
    case IconId::Text:
      letters(p, "T", 18, kCopper);
      break;
    case IconId::Test:
      pad(p, QPointF(12, 12), 7);
      letters(p, "?", 12, kInk);
      break;
    case IconId::Connect:
      pad(p, QPointF(5, 18), 3.5);
      pad(p, QPointF(19, 6), 3.5);
      p.setPen(QPen(kInk, 1.2, Qt::DashLine));
      p.drawLine(QPointF(5, 18), QPointF(19, 6));
      break;
    case IconId::Polygon: {
      QPolygonF hex;
      for (int i = 0; i < 6; ++i)
        hex << QPointF(12 + 9 * std::cos(i * M_PI / 3), 12 + 9 * std::sin(i * M_PI / 3));
      p.setPen(track);
      p.setBrush(Qt::NoBrush);
      p.drawPolygon(hex);
      break;
    }
    case IconId::Autoroute:
      pad(p, QPointF(5, 18), 3.5);
      pad(p, QPointF(19, 6), 3.5);
      p.setPen(QPen(kCopper, 2.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
      p.drawPolyline(QPolygonF({QPointF(5, 18), QPointF(12, 18), QPointF(19, 11), QPointF(19, 6)}));
      letters(p, "A", 9, kInk);
      break;
    case IconId::Measure:
      p.setPen(QPen(kInk, 1.2));
      p.setBrush(QColor(250, 230, 120));
      p.drawRect(QRectF(2, 8, 20, 8));
      for (int x = 5; x < 22; x += 3) p.drawLine(x, 8, x, x % 2 ? 11 : 13);
      break;
    case IconId::SmdPad:
      p.setPen(Qt::NoPen);
      p.setBrush(kCopper);
      p.drawRect(QRectF(3, 7, 7, 10));
      p.drawRect(QRectF(14, 7, 7, 10));
      break;
    case IconId::ValueList:
      p.setPen(QPen(kInk, 1.5));
      for (int y = 6; y <= 18; y += 6) p.drawLine(5, y, 19, y);
      break;
    case IconId::Photo:
      p.setPen(QPen(kInk, 1.2));
      p.setBrush(QColor(90, 90, 90));
      p.drawRoundedRect(QRectF(2, 7, 20, 13), 2, 2);
      p.drawRect(QRectF(8, 4, 8, 4));
      p.setBrush(QColor(160, 200, 255));
      p.drawEllipse(QPointF(12, 13.5), 4.5, 4.5);
      break;
  }
}

}  // namespace

QIcon appIcon(IconId id) {
  QPixmap pixmap(24, 24);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  drawIcon(p, id);
  p.end();
  return QIcon(pixmap);
}

QIcon programIcon() {
  QIcon icon;
  for (int size : {16, 32, 48, 64}) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 24.0, size / 24.0);
    p.setPen(QPen(QColor(0, 60, 0), 1));
    p.setBrush(QColor(0, 120, 0));
    p.drawRoundedRect(QRectF(1, 3, 22, 18), 2, 2);
    p.setPen(QPen(kCopper, 2.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPolyline(QPolygonF({QPointF(6, 16), QPointF(10, 8), QPointF(18, 8)}));
    pad(p, QPointF(6, 16), 3);
    pad(p, QPointF(18, 8), 3);
    p.end();
    icon.addPixmap(pixmap);
  }
  return icon;
}

}  // namespace plavesk
