#include "view/view_state.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "view/units.h"

namespace plavesk {

namespace {

constexpr int32_t kCentreLimit = 30000;
constexpr int kInvalidationMargin = 5;

int32_t toInt32(double v) {
  return static_cast<int32_t>(std::clamp(v, -2147483648.0, 2147483647.0));
}

std::string formatGeneral4(double v) {
  char text[32];
  std::snprintf(text, sizeof text, "%.4g", v);
  return text;
}

}  // namespace

void TViewState::bind(TLayout& layout) {
  board_.bind(&layout);
}

void TViewState::setRecord(const TBoardRecord& values) {
  board_.bind(nullptr);
  record() = values;
  showBoard(nullptr);
}

void TViewState::detach() {
  board_.detach();
}

void TViewState::showBoard(std::vector<TZoomState>* stack) {
  zoomStack = stack;
  applyZoom(zoom());
  setScroll(scrollX(), scrollY());
}

void TViewState::setOrigin(TPoint world) {
  record().originX = world.x;
  record().originY = world.y;
}

double TViewState::scale() const {
  return roundHalfEven(zoom() * 10000) / 10000;
}

int32_t TViewState::surfaceWidth() const {
  return toInt32(roundHalfEven(boardWidth() * zoom() + 1));
}
int32_t TViewState::surfaceHeight() const {
  return toInt32(roundHalfEven(boardHeight() * zoom() + 1));
}

TPoint TViewState::worldToDevice(TPoint world) const {
  const double s = scale();
  const double x = mirrored() ? double(boardWidth()) - world.x : double(world.x);
  return TPoint{toInt32(roundHalfEven(s * x)), toInt32(roundHalfEven(-s * world.y))};
}

TPoint TViewState::deviceToWorld(TPoint pixel, bool snapped) const {
  const double s = scale();
  int32_t x = toInt32(roundHalfEven(pixel.x / s));
  if (mirrored()) x = toInt32(double(boardWidth()) - x);
  const TPoint world{x, toInt32(roundHalfEven(-pixel.y / s))};
  return snapped ? snap(world) : world;
}

TPoint TViewState::worldToViewport(TPoint world) const {
  const TPoint d = worldToDevice(world);
  return TPoint{d.x - scrollX(), d.y - scrollY()};
}

TViewState::TVisibleArea TViewState::visibleArea() const {
  const double zoom = this->zoom();
  return {scrollX() / zoom, scrollY() / zoom, clientWidth / zoom, clientHeight / zoom};
}

TPoint TViewState::viewportToWorld(TPoint pixel, bool snapped) const {
  return deviceToWorld(TPoint{pixel.x + scrollX(), pixel.y + scrollY()}, snapped);
}

DisplayCoords TViewState::toDisplayCoords(TPoint world) const {
  const TPoint o = origin();
  DisplayCoords c{(double(world.x) - o.x) / 100, (double(o.y) - world.y) / 100};
  if (inchMode) {
    c.x /= 25.4;
    c.y /= 25.4;
  }
  return c;
}

std::string TViewState::displayTextX(TPoint world) const {
  const std::string value = formatGeneral4(toDisplayCoords(world).x);
  return "X: " + value + (inchMode ? " \"" : " mm");
}

std::string TViewState::displayTextY(TPoint world) const {
  const std::string value = formatGeneral4(toDisplayCoords(world).y);
  return "Y: " + value + (inchMode ? " \"" : " mm");
}

TRect TViewState::invalidationRect(const TObjekt& e) const {
  const TRect bounds = elementBounds(e);
  const TPoint a = worldToDevice({bounds.left, bounds.top});
  const TPoint b = worldToDevice({bounds.right, bounds.bottom});
  TRect r = normalised(TRect{a.x, a.y, b.x, b.y});
  r.left -= kInvalidationMargin;
  r.top -= kInvalidationMargin;
  r.right += kInvalidationMargin;
  r.bottom += kInvalidationMargin;
  return r;
}

void TViewState::setScroll(int32_t x, int32_t y) {
  TBoardRecord& r = record();
  r.scrollX = std::clamp(x, 0, std::max(0, surfaceWidth() - clientWidth));
  r.scrollY = std::clamp(y, 0, std::max(0, surfaceHeight() - clientHeight));
}

void TViewState::applyZoom(double z) {
  record().zoom = std::isnan(z) ? kMinZoom : std::clamp(z, kMinZoom, kMaxZoom);
  lineStepX = clientWidth / 16;
  lineStepY = clientHeight / 16;
  rulersNeedRepaint = true;
}

void TViewState::setZoom(double z) {
  const double zoom = this->zoom();
  const int32_t cx =
      std::min(toInt32(roundHalfEven((scrollX() + clientWidth / 2) / zoom)), kCentreLimit);
  const int32_t cy =
      std::min(toInt32(roundHalfEven((scrollY() + clientHeight / 2) / zoom)), kCentreLimit);
  applyZoom(z);
  centreView(cx, cy);
}

void TViewState::centreView(int32_t x, int32_t y) {
  const double zoom = this->zoom();
  const double sx = roundHalfEven(zoom * (double(x) - roundHalfEven((clientWidth / 2) / zoom)));
  const double sy = roundHalfEven(zoom * (double(y) - roundHalfEven((clientHeight / 2) / zoom)));
  setScroll(toInt32(sx), toInt32(sy));
  rulersNeedRepaint = true;
}

void TViewState::pushZoomState() {
  if (zoomStack) zoomStack->push_back(TZoomState{scrollX(), scrollY(), zoom()});
  commandStatesNeedUpdate = true;
}

bool TViewState::wheel(int delta, TPoint cursor) {
  if (delta < 0) {
    setZoom(zoom() / kZoomStep);
  } else if (delta > 0) {
    paintSuppressed = true;
    TPoint p = viewportToWorld(cursor, false);
    p.x = std::clamp(p.x, 0, boardWidth());
    p.y = std::clamp(p.y, -boardHeight(), 0);
    setZoom(zoom() * kZoomStep);
    centreView(p.x, -p.y);
    paintSuppressed = false;
    surfaceNeedsRepaint = true;
    rulersNeedRepaint = true;
  }
  return true;
}

void TViewState::zoomBoard() {
  pushZoomState();
  const int32_t w = boardWidth(), h = boardHeight();
  if (w <= 0 || h <= 0) return;
  const double z = std::min(double(outerWidth - 10) / w, double(outerHeight - 10) / h);
  setZoom(z);
  surfaceNeedsRepaint = true;
}

void TViewState::zoomObjects(const TObjektList& list) {
  pushZoomState();
  zoomToRect(elementsBounds(list));
}

void TViewState::zoomSelection(const TObjektList& list) {
  pushZoomState();
  zoomToRect(selectionBounds(list));
}

void TViewState::zoomToRect(const TRect& bounds) {
  const TRect r = normalised(bounds);
  const double w = std::abs(double(r.right) - r.left), h = std::abs(double(r.bottom) - r.top);
  if (w < 50 || h < 50) return;
  paintSuppressed = true;
  setZoom(std::min(std::abs((outerWidth - 20) / w), std::abs((outerHeight - 20) / h)));
  int64_t t = std::min<int64_t>(std::abs(int64_t(r.left) + r.right) / 2, kCentreLimit);
  const int64_t v = std::abs(int64_t(r.top) + r.bottom) / 2;
  if (mirrored()) t = boardWidth() - t;
  centreView(int32_t(t - 10), v >= kCentreLimit + 1 ? kCentreLimit - 10 : int32_t(v - 10));
  paintSuppressed = false;
  surfaceNeedsRepaint = true;
  rulersNeedRepaint = true;
}

bool TViewState::zoomPrevious() {
  if (!zoomStack || zoomStack->empty()) return false;
  const TZoomState top = zoomStack->back();
  paintSuppressed = true;
  setZoom(top.zoom);
  setScroll(top.scrollX, top.scrollY);
  paintSuppressed = false;
  surfaceNeedsRepaint = true;
  zoomStack->pop_back();
  rulersNeedRepaint = true;
  commandStatesNeedUpdate = true;
  return true;
}

}  // namespace plavesk
