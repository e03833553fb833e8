#include "app/layout_view.h"

#include <QElapsedTimer>
#include <QFont>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QScrollBar>
#include <QTimer>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>
#include <cstring>
#include <optional>

#include "app/cursors.h"
#include "app/scaled_canvas.h"
#include "editing/editor.h"
#include "editing/tools/feedback_paint.h"
#include "editing/view_hints.h"
#include "platform/qt/qt_canvas.h"
#include "view/main_view_paint.h"
#include "view/units.h"

namespace plavesk {

namespace {

constexpr int kMarkerSize = 13;
// Room around a feedback's figures for the last pixels of their pens.
constexpr int kFeedbackMargin = 3;
// Invalidated rectangles kept apart between two repaints.
constexpr int kSeparateInvalidations = 32;

int32_t floorTo8(int32_t v) {
  return v & ~int32_t(7);
}

// The name of a key as the tool manager knows it; empty for keys it does not
// take.
std::string keyName(int key) {
  if (key >= Qt::Key_A && key <= Qt::Key_Z) return std::string(1, char('A' + (key - Qt::Key_A)));
  if (key >= Qt::Key_F1 && key <= Qt::Key_F12) return "F" + std::to_string(key - Qt::Key_F1 + 1);
  switch (key) {
    case Qt::Key_Space:
      return "Space";
    case Qt::Key_Delete:
      return "Delete";
    case Qt::Key_Left:
      return "Left";
    case Qt::Key_Right:
      return "Right";
    case Qt::Key_Up:
      return "Up";
    case Qt::Key_Down:
      return "Down";
    case Qt::Key_Escape:
      return "Escape";
    default:
      return {};
  }
}

TInputEvent::Button buttonOf(Qt::MouseButton b) {
  switch (b) {
    case Qt::LeftButton:
      return TInputEvent::left;
    case Qt::RightButton:
      return TInputEvent::right;
    case Qt::MiddleButton:
      return TInputEvent::middle;
    default:
      return TInputEvent::none;
  }
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
  // The right button belongs to the tools, which open their own menus.
  setContextMenuPolicy(Qt::PreventContextMenu);
  viewport()->setContextMenuPolicy(Qt::PreventContextMenu);
  setAccessibleName("Layout");
  viewport()->setAccessibleName("Layout");
  marker_ = new TOriginMarker(*this);
}

void TLayoutView::setTools(TToolManager* tools, const TRenderSettings* settings) {
  tools_ = tools;
  settings_ = settings;
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
  marker_->setVisible(!view_.photoViewActive && !measuring_);
}

void TLayoutView::setOrigin(TPoint world) {
  if (world == view_.origin()) return;
  view_.setOrigin(world);
  placeOriginMarker();
  if (originChanged) originChanged();
}

void TLayoutView::notify() {
  placeOriginMarker();
  if (viewMoved) viewMoved();
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
  repaintSurface();
  notify();
}

void TLayoutView::invalidateWorld(const TRect& area) {
  const TPoint a = view_.worldToViewport(TPoint{area.left, area.top});
  const TPoint b = view_.worldToViewport(TPoint{area.right, area.bottom});
  const QRect r = QRect(QPoint(std::min(a.x, b.x), std::min(a.y, b.y)),
                        QPoint(std::max(a.x, b.x), std::max(a.y, b.y)))
                      .adjusted(-5, -5, 5, 5)
                      .intersected(viewport()->rect());
  if (r.isEmpty()) return;
  // A command that changes many elements invalidates each of them; past a
  // few rectangles their bounding box is repainted instead, which spares
  // uniting thousands of rectangles.
  if (invalidations_ < kSeparateInvalidations) {
    ++invalidations_;
    dirty_ += r;
    viewport()->update(r);
    return;
  }
  if (bulk_.isNull())
    QTimer::singleShot(0, this, [this] {
      dirty_ += bulk_;
      viewport()->update(bulk_);
      bulk_ = QRect();
      invalidations_ = 0;
    });
  bulk_ |= r;
}

namespace {

bool isInput(const QEvent* event) {
  switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::Wheel:
    case QEvent::Drop:
      return true;
    default:
      return false;
  }
}

}  // namespace

bool TLayoutView::event(QEvent* event) {
  const bool result = QAbstractScrollArea::event(event);
  if (inputHandled && isInput(event)) inputHandled();
  return result;
}

bool TLayoutView::viewportEvent(QEvent* event) {
  const bool result = QAbstractScrollArea::viewportEvent(event);
  if (inputHandled && isInput(event)) inputHandled();
  return result;
}

void TLayoutView::repaintSurface() {
  held_.reset();
  dirty_ = QRegion(viewport()->rect());
  viewport()->update();
}

void TLayoutView::ensureFrame() {
  const QSize size = viewport()->size();
  const QPoint scroll(view_.scrollX(), view_.scrollY());
  // On a high-resolution screen the frame holds that many image pixels a
  // view pixel (a whole number: fractional screens get the next one up).
  const int scale = std::max(1, int(std::ceil(viewport()->devicePixelRatioF() - 0.01)));
  if (size == frameViewport_ && scroll == frameScroll_ && scale == scale_) return;
  frameViewport_ = size;
  frameScroll_ = scroll;
  scale_ = scale;
  frameX_ = floorTo8(scroll.x());
  frameY_ = floorTo8(scroll.y());
  const int32_t w = std::max(1, size.width() + (scroll.x() - frameX_)) * scale_;
  const int32_t h = std::max(1, size.height() + (scroll.y() - frameY_)) * scale_;
  if (frame_.width() != w || frame_.height() != h) {
    frame_ = RasterImage(w, h);
    layers_ = RasterImage(w, h);
  }
  dirty_ = QRegion(viewport()->rect());
  feedbackOnly_ = QRegion();
}

QRect TLayoutView::imageRect(const QRect& viewportArea) const {
  const QRect r = viewportArea.translated(view_.scrollX() - frameX_, view_.scrollY() - frameY_);
  return QRect(r.left() * scale_, r.top() * scale_, r.width() * scale_, r.height() * scale_)
      .intersected(QRect(0, 0, frame_.width(), frame_.height()));
}

void TLayoutView::showLayers(const QRect& inImage) {
  for (int y = inImage.top(); y <= inImage.bottom(); ++y)
    std::memcpy(frame_.row(y) + size_t(inImage.left()) * 3,
                layers_.row(y) + size_t(inImage.left()) * 3, size_t(inImage.width()) * 3);
}

void TLayoutView::drawVisibleFeedback(const QRect& area, int except) {
  if (!tools_ || !settings_) return;
  const QRect surface = area.translated(view_.scrollX(), view_.scrollY());
  std::optional<TScaledImageCanvas> canvas;
  for (size_t k = 0; k < kFeedbackKinds; ++k) {
    if (int(k) == except || !tools_->feedbackVisible(TFeedbackKind(k))) continue;
    if (!canvas)
      canvas.emplace(
          frame_, frameX_, frameY_, scale_,
          CanvasRect{surface.left(), surface.top(), surface.right() + 1, surface.bottom() + 1});
    canvas->setMapping(viewMapping(view_));
    plavesk::drawFeedback(tools_->feedback(TFeedbackKind(k)), *canvas, *settings_);
  }
}

void TLayoutView::renderLayers(RasterImage& target, const QRect& area, TElementSubset subset,
                               uint32_t* orders, RasterCanvas::OrderUse use) {
  const QRect inImage = imageRect(area);
  if (inImage.isEmpty()) return;
  if (subset != TElementSubset::selected)
    for (int y = inImage.top(); y <= inImage.bottom(); ++y) {
      std::memset(target.row(y) + size_t(inImage.left()) * 3, 0xFF, size_t(inImage.width()) * 3);
      if (orders)
        std::fill_n(orders + size_t(y) * size_t(target.width()) + size_t(inImage.left()),
                    size_t(inImage.width()), uint32_t(0));
    }
  // Nothing is drawn beyond the paint surface; the viewport around it stays
  // white.
  const QRect surface = area.translated(view_.scrollX(), view_.scrollY())
                            .intersected(QRect(0, 0, view_.surfaceWidth(), view_.surfaceHeight()));
  if (view_.paintSuppressed || !editor_.layout.hasActiveBoard() || surface.isEmpty()) return;
  TScaledImageCanvas canvas(
      target, frameX_, frameY_, scale_,
      CanvasRect{surface.left(), surface.top(), surface.right() + 1, surface.bottom() + 1});
  canvas.setOrders(orders, use);
  if (paintLayers) {
    paintLayers(canvas, surface, subset);
    return;
  }
  if (subset == TElementSubset::selected) return;
  // Without the layers, the board background alone, two pixels beyond the
  // board's far edges.
  const int32_t a = roundToUnit(2 / view_.zoom());
  const TPoint corner =
      view_.worldToDevice(TPoint{view_.boardWidth() + a, -view_.boardHeight() - a});
  const QRect ground = surface.intersected(QRect(QPoint(0, 0), QPoint(corner.x - 1, corner.y - 1)))
                           .translated(-frameX_, -frameY_);
  const TColour c = backgroundColour ? backgroundColour() : 0;
  for (int y = ground.top() * scale_; y < (ground.bottom() + 1) * scale_; ++y)
    for (int x = ground.left() * scale_; x < (ground.right() + 1) * scale_; ++x)
      target.setPixel(x, y, c);
}

uint64_t TLayoutView::elementsFingerprint() const {
  uint64_t h = 0x9E3779B97F4A7C15ull;
  for (const auto& e : editor_.elements()) {
    h = (h ^ (uint64_t(uintptr_t(e.get())) + (e->selected ? 0x5bd1e995u : 0))) *
        0xBF58476D1CE4E5B9ull;
    h ^= h >> 29;
  }
  return h;
}

void TLayoutView::holdUnselected(bool on) {
  holding_ = on;
  held_.reset();
  // Drawn now, while the user presses the field, rather than at the first
  // step.
  if (on && isVisible()) heldLayers();
}

// The held layers for the view as it is, drawn first when there are none
// for it; null when the picture cannot be split: nothing selected, a
// system-font text (its pixels keep no paint order), or a list too long to
// give every figure a place.
TLayoutView::THeldLayers* TLayoutView::heldLayers() {
  if (!holding_ || !paintLayers || view_.paintSuppressed || !editor_.layout.hasActiveBoard())
    return nullptr;
  ensureFrame();
  const uint64_t fingerprint = elementsFingerprint();
  if (held_ && held_->viewport == frameViewport_ && held_->scroll == frameScroll_ &&
      held_->scale == scale_ && held_->zoom == view_.zoom() &&
      held_->board == editor_.layout.activeBoard && held_->elements == fingerprint)
    return held_.get();
  held_.reset();
  const TObjektList& list = editor_.elements();
  if (list.size() > kMostOrderedElements) return nullptr;
  bool selected = false;
  for (const auto& e : list) {
    if (e->kind == kFontText) return nullptr;
    selected = selected || e->selected;
  }
  if (!selected) return nullptr;
  auto held = std::make_unique<THeldLayers>();
  held->colours = RasterImage(layers_.width(), layers_.height());
  held->orders.assign(size_t(layers_.width()) * size_t(layers_.height()), 0);
  renderLayers(held->colours, viewport()->rect(), TElementSubset::unselected, held->orders.data(),
               RasterCanvas::OrderUse::kNote);
  held->viewport = frameViewport_;
  held->scroll = frameScroll_;
  held->scale = scale_;
  held->zoom = view_.zoom();
  held->board = editor_.layout.activeBoard;
  held->elements = fingerprint;
  held_ = std::move(held);
  return held_.get();
}

void TLayoutView::paintFrame(const QRect& area) {
  const QRect inImage = imageRect(area);
  if (inImage.isEmpty()) return;
  if (THeldLayers* held = heldLayers()) {
    for (int y = inImage.top(); y <= inImage.bottom(); ++y)
      std::memcpy(layers_.row(y) + size_t(inImage.left()) * 3,
                  held->colours.row(y) + size_t(inImage.left()) * 3, size_t(inImage.width()) * 3);
    renderLayers(layers_, area, TElementSubset::selected, held->orders.data(),
                 RasterCanvas::OrderUse::kBehind);
  } else {
    renderLayers(layers_, area, TElementSubset::all, nullptr, RasterCanvas::OrderUse::kNone);
  }
  showLayers(inImage);
  // The feedback on screen lies on the layers again.
  drawVisibleFeedback(area, -1);
}

void TLayoutView::paintEvent(QPaintEvent* event) {
  QElapsedTimer timer;
  timer.start();
  ensureFrame();
  const QRegion region = event->region();
  // Layers where they changed and wherever the screen asks for the picture
  // for other reasons (uncovered, grabbed); feedback changes are shown from
  // the frame as it is.
  const QRegion layers = (region - feedbackOnly_) + (region & dirty_);
  if (!layers.isEmpty()) {
    if (layers.rectCount() > 8)
      paintFrame(layers.boundingRect());
    else
      for (const QRect& r : layers) paintFrame(r);
  }
  dirty_ -= region;
  feedbackOnly_ -= region;
  if (bulk_.isNull()) invalidations_ = 0;
  QImage picture(frame_.row(0), frame_.width(), frame_.height(), frame_.width() * 3,
                 QImage::Format_BGR888);
  picture.setDevicePixelRatio(scale_);
  QPainter painter(viewport());
  painter.setCompositionMode(QPainter::CompositionMode_Source);
  // Rectangle by rectangle: the picture is converted for the screen only
  // where it is shown, image pixel for screen pixel.
  for (const QRect& r : region) painter.drawImage(QRectF(r), picture, QRectF(imageRect(r)));
  if (event->rect() == viewport()->rect()) lastPaintMs_ = double(timer.nsecsElapsed()) / 1e6;
}

QRect TLayoutView::feedbackRect(const TFeedback& feedback) const {
  const TRect bounds = feedbackBounds(feedback);
  const TPoint a = view_.worldToViewport(TPoint{bounds.left, bounds.top});
  const TPoint b = view_.worldToViewport(TPoint{bounds.right, bounds.bottom});
  return QRect(QPoint(std::min(a.x, b.x), std::min(a.y, b.y)),
               QPoint(std::max(a.x, b.x), std::max(a.y, b.y)))
      .adjusted(-kFeedbackMargin, -kFeedbackMargin, kFeedbackMargin, kFeedbackMargin)
      .intersected(viewport()->rect());
}

void TLayoutView::drawFeedback(const TFeedback& feedback) {
  if (!settings_) return;
  ensureFrame();
  const QRect r = feedbackRect(feedback);
  if (r.isEmpty()) return;
  const QRect surface = r.translated(view_.scrollX(), view_.scrollY());
  TScaledImageCanvas canvas(
      frame_, frameX_, frameY_, scale_,
      CanvasRect{surface.left(), surface.top(), surface.right() + 1, surface.bottom() + 1});
  canvas.setMapping(viewMapping(view_));
  plavesk::drawFeedback(feedback, canvas, *settings_);
  feedbackOnly_ += r;
  viewport()->update(r);
}

// Drawing the figures again would restore the picture as well, but costs as
// much as drawing them; the layers under them are copied back instead, and
// any other feedback there drawn again.
void TLayoutView::eraseFeedback(const TFeedback& feedback) {
  ensureFrame();
  const QRect r = feedbackRect(feedback);
  if (r.isEmpty()) return;
  showLayers(imageRect(r));
  drawVisibleFeedback(r, int(feedback.kind));
  feedbackOnly_ += r;
  viewport()->update(r);
}

void TLayoutView::setCursor(TCursor cursor) {
  cursor_ = cursor;
  viewport()->setCursor(toolCursor(cursor));
}

// As the origin marker does: the view holds the mouse, and moves outside
// the viewport are taken back to its border.
void TLayoutView::confinePointer() {
  if (confined_) return;
  confined_ = true;
  viewport()->grabMouse();
}

void TLayoutView::releasePointer() {
  if (!confined_) return;
  confined_ = false;
  viewport()->releaseMouse();
}

void TLayoutView::refreshPointer() {
  // A fresh move at the pointer's own position once the scroll has been
  // shown, paced so that holding the pointer at the border scrolls smoothly.
  QTimer::singleShot(15, this, [this] {
    const QPoint at = viewport()->mapFromGlobal(QCursor::pos());
    if (!viewport()->rect().contains(at) && !confined_) return;
    QMouseEvent move(QEvent::MouseMove, at, viewport()->mapToGlobal(at), Qt::NoButton,
                     QGuiApplication::mouseButtons(), QGuiApplication::keyboardModifiers());
    mouseMoveEvent(&move);
  });
}

void TLayoutView::openMenu(const std::string& menu, const std::vector<std::string>& ids,
                           TPoint pixel) {
  // A menu takes the mouse for itself.
  releasePointer();
  if (menuRequested)
    menuRequested(menu, ids, QPoint(pixel.x - view_.scrollX(), pixel.y - view_.scrollY()));
}

void TLayoutView::showCoordinates(TPoint world) {
  if (cursorMoved) cursorMoved(world, true);
}

void TLayoutView::showMode(int mode) {
  if (modeShown) modeShown(mode);
}

void TLayoutView::showMeasure(const TMeasureReadout* readout, TPoint pixel) {
  measuring_ = readout != nullptr;
  placeOriginMarker();
  if (measureShown)
    measureShown(readout, QPoint(pixel.x - view_.scrollX(), pixel.y - view_.scrollY()));
}

TPoint TLayoutView::fontTextExtent(const std::string& text, int32_t fontHeight) const {
  // Bold Arial of that character height, measured at a size the font
  // engine handles well and scaled.
  constexpr int kMeasureSize = 100;
  QFont font("Arial");
  font.setBold(true);
  font.setPixelSize(kMeasureSize);
  const QFontMetricsF metrics(font);
  const double scale = double(fontHeight) / kMeasureSize;
  return {int32_t(std::lround(metrics.horizontalAdvance(QString::fromStdString(text)) * scale)),
          int32_t(std::lround(metrics.height() * scale))};
}

void TLayoutView::resizeEvent(QResizeEvent* event) {
  QAbstractScrollArea::resizeEvent(event);
  syncFromView();
}

void TLayoutView::scrollContentsBy(int, int) {
  if (syncing_) return;
  // The bars' ranges are the view state's, so their values need no clamping.
  // Feedback is taken off before the picture under it moves.
  if (tools_) tools_->eraseAllFeedback();
  view_.record().scrollX = horizontalScrollBar()->value();
  view_.record().scrollY = verticalScrollBar()->value();
  repaintSurface();
  notify();
}

void TLayoutView::wheelEvent(QWheelEvent* event) {
  const int delta = event->angleDelta().y();
  const QPoint pos = event->position().toPoint();
  if (tools_) tools_->eraseAllFeedback();
  view_.wheel(delta, TPoint{pos.x(), pos.y()});
  syncFromView();
  event->accept();
}

TInputEvent TLayoutView::inputEvent(TInputEvent::Kind kind, const QMouseEvent& event) {
  QPoint at = event.position().toPoint();
  if (confined_) {
    const QPoint held(std::clamp(at.x(), 0, std::max(0, viewport()->width() - 1)),
                      std::clamp(at.y(), 0, std::max(0, viewport()->height() - 1)));
    if (held != at) {
      QCursor::setPos(viewport()->mapToGlobal(held));
      at = held;
    }
  }
  TInputEvent e;
  e.kind = kind;
  e.pixel = TPoint{at.x() + view_.scrollX(), at.y() + view_.scrollY()};
  e.button = buttonOf(event.button());
  e.shift = event.modifiers() & Qt::ShiftModifier;
  e.ctrl = event.modifiers() & Qt::ControlModifier;
  e.alt = event.modifiers() & Qt::AltModifier;
  e.leftHeld = event.buttons() & Qt::LeftButton;
  return e;
}

void TLayoutView::handle(const TInputEvent& event) {
  if (tools_ && editor_.layout.hasActiveBoard()) tools_->handle(event);
}

void TLayoutView::mousePressEvent(QMouseEvent* event) {
  handle(inputEvent(TInputEvent::press, *event));
  event->accept();
}

void TLayoutView::mouseMoveEvent(QMouseEvent* event) {
  // Editing keys work as soon as the pointer is over the view.
  if (!viewport()->hasFocus()) viewport()->setFocus(Qt::MouseFocusReason);
  if (tools_) {
    handle(inputEvent(TInputEvent::move, *event));
    // The hint says what the mode expects now (the corner cursor of the
    // edit mode means a corner can be dragged).
    if (hintShown)
      if (const auto hint = viewHint(tools_->state(), cursor_ == TCursor::changer))
        hintShown(*hint);
  } else if (cursorMoved) {
    const QPoint pos = event->position().toPoint();
    cursorMoved(worldAt(pos, event->modifiers() & Qt::ControlModifier), true);
  }
  event->accept();
}

void TLayoutView::mouseReleaseEvent(QMouseEvent* event) {
  handle(inputEvent(TInputEvent::release, *event));
  event->accept();
}

void TLayoutView::mouseDoubleClickEvent(QMouseEvent* event) {
  // The toolkit sends the double-click in place of the second press; the
  // tools expect the double-click and then that press, which they ignore
  // when the double-click opened a dialog.
  handle(inputEvent(TInputEvent::doubleClick, *event));
  handle(inputEvent(TInputEvent::press, *event));
  event->accept();
}

void TLayoutView::keyPressEvent(QKeyEvent* event) {
  // Space held down repeats; the temporary zoom wants its press once.
  if (!handleKey(TInputEvent::keyDown, *event, event->key() != Qt::Key_Space))
    QAbstractScrollArea::keyPressEvent(event);
}

void TLayoutView::keyReleaseEvent(QKeyEvent* event) {
  if (!handleKey(TInputEvent::keyUp, *event, false)) QAbstractScrollArea::keyReleaseEvent(event);
}

bool TLayoutView::handleKey(TInputEvent::Kind kind, QKeyEvent& event, bool repeats) {
  const std::string key = keyName(event.key());
  if (key.empty() || !tools_) return false;
  // With Alt held the keys belong to the menus (Space still zooms).
  if ((event.modifiers() & Qt::AltModifier) && key != "Space") return false;
  event.accept();
  if (event.isAutoRepeat() && !repeats) return true;
  TInputEvent e;
  e.kind = kind;
  const QPoint at = viewport()->mapFromGlobal(QCursor::pos());
  e.pixel = TPoint{at.x() + view_.scrollX(), at.y() + view_.scrollY()};
  e.key = key;
  e.shift = event.modifiers() & Qt::ShiftModifier;
  e.ctrl = event.modifiers() & Qt::ControlModifier;
  e.alt = event.modifiers() & Qt::AltModifier;
  e.leftHeld = QGuiApplication::mouseButtons() & Qt::LeftButton;
  // The editing keys first (the shortcut hook), then the tool.
  if (kind == TInputEvent::keyDown && editor_.layout.hasActiveBoard() &&
      handleEditingKey(*tools_, e, editingKeys))
    return true;
  handle(e);
  return true;
}

// The pointer left the view: no feedback stays behind, the ruler markers go.
void TLayoutView::leaveEvent(QEvent* event) {
  if (tools_ && !confined_) tools_->pointerLeftView();
  if (cursorMoved && !confined_) cursorMoved(TPoint{}, false);
  QAbstractScrollArea::leaveEvent(event);
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
  // The origin is dragged in edit mode only; in the other modes the press
  // belongs to the tool under the marker.
  const TToolManager* tools = view_.tools();
  if (event->button() != Qt::LeftButton || (tools && tools->mode() != TToolMode::edit)) {
    event->ignore();
    return;
  }
  dragging_ = true;
  grabOffset_ = event->position().toPoint() - QPoint(kMarkerSize / 2, kMarkerSize / 2);
  grabMouse();
}

void TOriginMarker::mouseMoveEvent(QMouseEvent* event) {
  if (!dragging_) {
    event->ignore();
    return;
  }
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
