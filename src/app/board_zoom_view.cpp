#include "app/board_zoom_view.h"

#include <QMouseEvent>
#include <QPainter>
#include <algorithm>

namespace plavesk {

namespace {

constexpr int kPanelTop = 4;
constexpr int kOverviewHeight = int(kOverviewPixels) + 2 * kPanelTop;

}  // namespace

TBoardZoomView::TBoardZoomView(TViewState& view, QWidget* parent) : QWidget(parent), view_(view) {
  setFixedSize(kToolColumnWidth, kOverviewHeight);
}

QSize TBoardZoomView::sizeHint() const {
  return QSize(kToolColumnWidth, kOverviewHeight);
}

QRect TBoardZoomView::panelRect() const {
  const TOverviewGeometry g = overviewGeometry(view_);
  return QRect(g.panelLeft, kPanelTop, g.panelWidth, g.panelHeight);
}

void TBoardZoomView::paintEvent(QPaintEvent*) {
  QPainter p(this);
  const TOverviewGeometry g = overviewGeometry(view_);
  const QRect panel = panelRect();
  p.setPen(Qt::black);
  p.setBrush(QColor(0, 100, 0));
  p.drawRect(panel.adjusted(-1, -1, 0, 0));
  if (g.width <= 0 || g.height <= 0) return;
  p.setClipRect(panel);
  QColor lime(0, 255, 0);
  p.setPen(lime);
  lime.setAlpha(110);
  p.setBrush(lime);
  p.drawRect(
      QRect(panel.left() + g.left, panel.top() + g.top, g.width, g.height).adjusted(0, 0, -1, -1));
}

void TBoardZoomView::mousePressEvent(QMouseEvent* event) {
  pressed_ = true;
  lastPos_ = event->position().toPoint();
  const TOverviewGeometry g = overviewGeometry(view_);
  frame_ = QPoint(g.left, g.top);
}

void TBoardZoomView::mouseMoveEvent(QMouseEvent* event) {
  if (!pressed_ || !(event->buttons() & Qt::LeftButton)) return;
  const QPoint pos = event->position().toPoint();
  if (pos == lastPos_) return;
  const TOverviewGeometry g = overviewGeometry(view_);
  frame_ += pos - lastPos_;
  frame_.setX(std::clamp(frame_.x(), 0, std::max(0, g.panelWidth - g.width)));
  frame_.setY(std::clamp(frame_.y(), 0, std::max(0, g.panelHeight - g.height)));
  lastPos_ = pos;
  const TPoint scroll = overviewScroll(view_, g, frame_.x(), frame_.y());
  view_.setScroll(scroll.x, scroll.y);
  dragged_ = true;
  if (viewChanged) viewChanged();
}

void TBoardZoomView::mouseReleaseEvent(QMouseEvent* event) {
  pressed_ = false;
  if (event->button() == Qt::LeftButton) {
    const bool zoomIn = !dragged_;
    dragged_ = false;
    if (!zoomIn) return;
    view_.pushZoomState();
    view_.setZoom(view_.zoom() * kZoomStep);
  } else if (event->button() == Qt::RightButton) {
    view_.pushZoomState();
    view_.setZoom(view_.zoom() / kZoomStep);
  } else {
    return;
  }
  view_.surfaceNeedsRepaint = true;
  if (viewChanged) viewChanged();
}

}  // namespace plavesk
