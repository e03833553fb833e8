#include "app/layout_view.h"

#include <QContextMenuEvent>
#include <QElapsedTimer>
#include <QMenu>
#include <QPainter>
#include <QScrollBar>
#include <QWheelEvent>
#include <cmath>

#include "editing/editor.h"
#include "view/units.h"

namespace plavesk {

namespace {

constexpr int kMarkerSize = 13;

QColor toQColor(TColour c) {
  return QColor(redOf(c), greenOf(c), blueOf(c));
}

}  // namespace

TLayoutView::TLayoutView(TViewState& view, TEditor& editor, QWidget* parent)
    : QAbstractScrollArea(parent), view_(view), editor_(editor) {
  setFrameShape(QFrame::StyledPanel);
  viewport()->setMouseTracking(true);
  viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
  viewport()->setFocusPolicy(Qt::StrongFocus);
  setFocusPolicy(Qt::StrongFocus);
  horizontalScrollBar()->setSingleStep(16);
  verticalScrollBar()->setSingleStep(16);
  marker_ = new TOriginMarker(*this);
}

void TLayoutView::updateClientSize() {
  view_.clientWidth = viewport()->width();
  view_.clientHeight = viewport()->height();
  view_.outerWidth = width();
  view_.outerHeight = height();
}

TPoint TLayoutView::worldAt(QPoint p, bool noSnap) const {
  return view_.viewportToWorld(TPoint{p.x(), p.y()}, !noSnap);
}

TPoint TLayoutView::originAt(QPoint p, bool noSnap) const {
  const int w = std::max(1, viewport()->width()), h = std::max(1, viewport()->height());
  p.setX(std::clamp(p.x(), 0, w - 1));
  p.setY(std::clamp(p.y(), 0, h - 1));
  const TPoint raw = worldAt(p, true);
  if (noSnap) return raw;
  auto inside = [&](TPoint world) {
    const TPoint at = view_.worldToViewport(world);
    return at.x >= 0 && at.x < w && at.y >= 0 && at.y < h;
  };
  const TPoint snapped = view_.snap(raw);
  if (inside(snapped)) return snapped;
  // Rounded to a grid point beyond the edge: the next one inwards.
  const int32_t step = int32_t(std::ceil(std::max(1.0, view_.grid())));
  const TPoint at = view_.worldToViewport(snapped);
  TPoint next = snapped;
  // World x grows with the pixel (or against it when mirrored), world y
  // against it.
  const int32_t sx = view_.mirrored() ? -1 : 1;
  if (at.x < 0) next.x += sx * step;
  if (at.x >= w) next.x -= sx * step;
  if (at.y < 0) next.y -= step;
  if (at.y >= h) next.y += step;
  next = view_.snap(next);
  return inside(next) ? next : raw;
}

QPoint TLayoutView::originInViewport() const {
  const TPoint at = view_.worldToViewport(view_.origin());
  return QPoint(at.x, at.y);
}

void TLayoutView::placeOriginMarker() {
  const QPoint o = originInViewport();
  marker_->move(o.x() - kMarkerSize / 2, o.y() - kMarkerSize / 2);
  marker_->setVisible(!view_.photoViewActive);
}

void TLayoutView::setOrigin(TPoint world) {
  if (world == view_.origin()) return;
  view_.setOrigin(world);
  placeOriginMarker();
  if (originChanged) originChanged();
}

void TLayoutView::notify() {
  placeOriginMarker();
  if (viewChanged) viewChanged();
}

void TLayoutView::syncFromView() {
  syncing_ = true;
  updateClientSize();
  view_.setScroll(view_.scrollX(), view_.scrollY());
  QScrollBar* h = horizontalScrollBar();
  QScrollBar* v = verticalScrollBar();
  h->setRange(0, std::max(0, view_.surfaceWidth() - view_.clientWidth));
  v->setRange(0, std::max(0, view_.surfaceHeight() - view_.clientHeight));
  h->setPageStep(std::max(1, view_.clientWidth));
  v->setPageStep(std::max(1, view_.clientHeight));
  h->setSingleStep(std::max(1, view_.clientWidth / 16));
  v->setSingleStep(std::max(1, view_.clientHeight / 16));
  h->setValue(view_.scrollX());
  v->setValue(view_.scrollY());
  // The bars may have appeared or gone, which changes the client area.
  updateClientSize();
  view_.setScroll(view_.scrollX(), view_.scrollY());
  syncing_ = false;
  view_.surfaceNeedsRepaint = false;
  view_.rulersNeedRepaint = false;
  viewport()->update();
  notify();
}

void TLayoutView::invalidateWorld(const TRect& area) {
  const TPoint a = view_.worldToViewport(TPoint{area.left, area.top});
  const TPoint b = view_.worldToViewport(TPoint{area.right, area.bottom});
  viewport()->update(QRect(QPoint(std::min(a.x, b.x), std::min(a.y, b.y)),
                           QPoint(std::max(a.x, b.x), std::max(a.y, b.y)))
                         .adjusted(-5, -5, 5, 5));
}

void TLayoutView::paintEvent(QPaintEvent* event) {
  QElapsedTimer timer;
  timer.start();
  QPainter painter(viewport());
  const QRect clip = event->rect();
  painter.fillRect(clip, Qt::white);
  if (view_.paintSuppressed || !editor_.layout.hasActiveBoard()) return;
  painter.translate(-view_.scrollX(), -view_.scrollY());
  // Nothing is drawn beyond the paint surface; the viewport around it stays
  // white.
  const QRect surfaceClip =
      clip.translated(view_.scrollX(), view_.scrollY())
          .intersected(QRect(0, 0, view_.surfaceWidth(), view_.surfaceHeight()));
  if (surfaceClip.isEmpty()) return;
  painter.setClipRect(surfaceClip);
  if (paintLayers) {
    paintLayers(painter, surfaceClip);
  } else {
    // Without the layers, the board background alone, two pixels beyond
    // the board's far edges.
    const int32_t a = roundToUnit(2 / view_.zoom());
    const TPoint corner =
        view_.worldToDevice(TPoint{view_.boardWidth() + a, -view_.boardHeight() - a});
    painter.fillRect(QRect(QPoint(0, 0), QPoint(corner.x - 1, corner.y - 1)),
                     toQColor(backgroundColour ? backgroundColour() : 0));
  }
  if (clip == viewport()->rect()) lastPaintMs_ = double(timer.nsecsElapsed()) / 1e6;
}

void TLayoutView::resizeEvent(QResizeEvent* event) {
  QAbstractScrollArea::resizeEvent(event);
  syncFromView();
}

void TLayoutView::scrollContentsBy(int, int) {
  if (syncing_) return;
  // The bars' ranges are the view state's, so their values need no clamping.
  view_.record().scrollX = horizontalScrollBar()->value();
  view_.record().scrollY = verticalScrollBar()->value();
  viewport()->update();
  notify();
}

void TLayoutView::wheelEvent(QWheelEvent* event) {
  const int delta = event->angleDelta().y();
  const QPoint pos = event->position().toPoint();
  view_.wheel(delta, TPoint{pos.x(), pos.y()});
  syncFromView();
  event->accept();
}

void TLayoutView::mouseMoveEvent(QMouseEvent* event) {
  // Editing keys work as soon as the pointer is over the view.
  if (!viewport()->hasFocus()) viewport()->setFocus(Qt::MouseFocusReason);
  const QPoint pos = event->position().toPoint();
  if (cursorMoved) cursorMoved(worldAt(pos, event->modifiers() & Qt::ControlModifier), true);
  QAbstractScrollArea::mouseMoveEvent(event);
}

void TLayoutView::leaveEvent(QEvent* event) {
  if (cursorMoved) cursorMoved(TPoint{}, false);
  QAbstractScrollArea::leaveEvent(event);
}

void TLayoutView::contextMenuEvent(QContextMenuEvent* event) {
  const TPoint world = worldAt(viewport()->mapFrom(this, event->pos()), false);
  QMenu menu(this);
  QAction* setOrigin = menu.addAction(setOriginCaption);
  if (menu.exec(event->globalPos()) == setOrigin) this->setOrigin(world);
}

TOriginMarker::TOriginMarker(TLayoutView& view) : QWidget(view.viewport()), view_(view) {
  setFixedSize(kMarkerSize, kMarkerSize);
  setCursor(Qt::SizeAllCursor);
  setAttribute(Qt::WA_TranslucentBackground);
}

void TOriginMarker::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(QPen(Qt::white, 2));
  p.setBrush(QColor(0, 0, 255));
  p.drawEllipse(QRectF(1, 1, kMarkerSize - 2, kMarkerSize - 2));
}

// The pointer cannot be held inside the viewport on every platform: the
// marker holds the mouse for the drag and never leaves the viewport itself,
// wherever the pointer goes.
void TOriginMarker::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  dragging_ = true;
  grabOffset_ = event->position().toPoint() - QPoint(kMarkerSize / 2, kMarkerSize / 2);
  grabMouse();
}

void TOriginMarker::mouseMoveEvent(QMouseEvent* event) {
  if (!dragging_) return;
  const QPoint centre = mapTo(view_.viewport(), event->position().toPoint() - grabOffset_);
  const TPoint world = view_.originAt(centre, event->modifiers() & Qt::ControlModifier);
  if (view_.cursorMoved) view_.cursorMoved(world, true);
  view_.setOrigin(world);
}

void TOriginMarker::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton || !dragging_) return;
  dragging_ = false;
  releaseMouse();
  view_.placeOriginMarker();
}

}  // namespace plavesk
