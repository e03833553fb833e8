#include "editing/tools/script_host.h"

#include <algorithm>

#include "editing/editor.h"

namespace plavesk {

namespace {

// How far inside the client area a script's pointer is put, so that moving
// to a point scrolls there first and autoscroll (8 pixels from the border)
// happens only where a script moves to the border on purpose.
constexpr int32_t kPointerMargin = 16;

// The scroll position that brings device coordinate `d` at least the margin
// inside a client extent `client` scrolled to `scroll`.
int32_t scrollToShow(int32_t d, int32_t scroll, int32_t client) {
  if (d < scroll + kPointerMargin) return d - kPointerMargin;
  if (d > scroll + client - 1 - kPointerMargin) return d - (client - 1 - kPointerMargin);
  return scroll;
}

}  // namespace

TScriptHost::TScriptHost(TEditor& editor) : editor_(editor) {
  view_.bind(editor.layout);
  view_.clientWidth = view_.outerWidth = kClientWidth;
  view_.clientHeight = view_.outerHeight = kClientHeight;
}

void TScriptHost::drawFeedback(const TFeedback& feedback) {
  ++feedbackShown[size_t(feedback.kind)];
}

void TScriptHost::eraseFeedback(const TFeedback& feedback) {
  --feedbackShown[size_t(feedback.kind)];
}

void TScriptHost::openMenu(const std::string& name, const std::vector<std::string>& ids, TPoint) {
  menu = name;
  menuIds = ids;
}

void TScriptHost::showMeasure(const TMeasureReadout* readout, TPoint) {
  if (readout) measured = *readout;
}

bool TScriptHost::askTextSettings(TTextSettings& settings, bool editing) {
  if (editing) return true;
  if (!textAnswer) return false;
  const bool mirrorH = settings.mirrorH, mirrorV = settings.mirrorV;
  settings = *textAnswer;
  settings.mirrorH = mirrorH;
  settings.mirrorV = mirrorV;
  return true;
}

void TScriptHost::showActiveBoard() {
  if (!editor_.layout.hasActiveBoard()) return;
  view_.showBoard(&editor_.layout.active().zoomStack);
}

TScriptSession::TScriptSession(TEditor& e) : editor(e), host(e), tools(e, host) {
  followBoard();
}

void TScriptSession::followBoard() {
  if (editor.layout.activeBoard == board_) return;
  board_ = editor.layout.activeBoard;
  host.showActiveBoard();
  pointerKnown_ = false;
}

TInputEvent TScriptSession::event(TInputEvent::Kind kind, TModifiers keys) const {
  TInputEvent e;
  e.kind = kind;
  e.pixel = pointer_;
  e.shift = keys.shift;
  e.ctrl = keys.ctrl;
  e.alt = keys.alt;
  e.leftHeld = held_ == TInputEvent::left;
  return e;
}

void TScriptSession::send(const TInputEvent& e) {
  host.refreshRequested = false;
  tools.handle(e);
  // After an autoscroll the window sets the pointer to its own position,
  // which brings one fresh move at the new scroll position; a script's
  // pointer stays on its client pixel likewise.
  if (!host.refreshRequested) return;
  host.refreshRequested = false;
  TViewState& v = host.view();
  pointer_ = TPoint{pointerInClient_.x + v.scrollX(), pointerInClient_.y + v.scrollY()};
  TInputEvent fresh = e;
  fresh.kind = TInputEvent::move;
  fresh.button = TInputEvent::none;
  fresh.pixel = pointer_;
  fresh.key.clear();
  tools.handle(fresh);
  host.refreshRequested = false;
}

void TScriptSession::pointTo(TPoint world, TModifiers keys) {
  followBoard();
  TViewState& v = host.view();
  const TPoint d = v.worldToDevice(world);
  const int32_t sx = scrollToShow(d.x, v.scrollX(), v.clientWidth);
  const int32_t sy = scrollToShow(d.y, v.scrollY(), v.clientHeight);
  if (sx != v.scrollX() || sy != v.scrollY()) {
    // Feedback is taken off before the picture under it moves.
    tools.eraseAllFeedback();
    v.setScroll(sx, sy);
    host.viewChanged();
  }
  // Points the view cannot scroll to are reached at the border of the
  // client area, as far as a pointer gets.
  const TPoint inClient{std::clamp(d.x - v.scrollX(), 0, v.clientWidth - 1),
                        std::clamp(d.y - v.scrollY(), 0, v.clientHeight - 1)};
  const TPoint target{inClient.x + v.scrollX(), inClient.y + v.scrollY()};
  const bool elsewhere = !pointerKnown_ || target != pointer_ || inClient != pointerInClient_;
  pointer_ = target;
  pointerInClient_ = inClient;
  pointerKnown_ = true;
  if (elsewhere) send(event(TInputEvent::move, keys));
}

void TScriptSession::press(TPoint world, TInputEvent::Button button, TModifiers keys) {
  pointTo(world, keys);
  TInputEvent e = event(TInputEvent::press, keys);
  e.button = button;
  held_ = button;
  e.leftHeld = button == TInputEvent::left;
  send(e);
}

void TScriptSession::move(TPoint world, TModifiers keys) {
  pointTo(world, keys);
}

void TScriptSession::release(TPoint world, TModifiers keys) {
  pointTo(world, keys);
  if (held_ == TInputEvent::none) return;
  TInputEvent e = event(TInputEvent::release, keys);
  e.button = held_;
  e.leftHeld = false;
  held_ = TInputEvent::none;
  send(e);
}

void TScriptSession::doubleClick(TPoint world) {
  // The window's order: press, release, the double-click, then the second
  // press (which a double-click that opened a dialog has ignored) and release.
  press(world, TInputEvent::left, {});
  release(world, {});
  TInputEvent e = event(TInputEvent::doubleClick, {});
  e.button = TInputEvent::left;
  e.leftHeld = true;
  send(e);
  press(world, TInputEvent::left, {});
  release(world, {});
}

void TScriptSession::key(TInputEvent::Kind kind, const std::string& name, TModifiers keys) {
  followBoard();
  TInputEvent e = event(kind, keys);
  e.key = name;
  send(e);
}

}  // namespace plavesk
