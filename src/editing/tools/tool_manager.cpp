#include "editing/tools/tool_manager.h"

#include <algorithm>
#include <utility>

#include "editing/editor.h"
#include "editing/tools/connection_tools.h"
#include "editing/tools/draw_tools.h"
#include "editing/tools/edit_tool.h"
#include "editing/tools/macro_drag.h"
#include "editing/tools/zoom_tool.h"
#include "view/units.h"
#include "view/view_state.h"

namespace plavesk {

namespace {

constexpr int kAutoscrollBorder = 8;
constexpr int32_t kMinToolDotWidth = 20;

size_t slot(TToolMode mode) {
  return size_t(mode);
}

// The modes whose pointer position snaps to the grid (edit mode and paste
// placement snap the displacement instead, and show it snapped).
bool showsSnapped(TToolMode mode) {
  switch (mode) {
    case TToolMode::track:
    case TToolMode::pad:
    case TToolMode::area:
    case TToolMode::circle:
    case TToolMode::text:
    case TToolMode::polygon:
    case TToolMode::paste:
    case TToolMode::smdPad:
      return true;
    default:
      return false;
  }
}

}  // namespace

TToolManager::TToolManager(TEditor& editor, TToolHost& host) : editor_(editor), host_(host) {
  tools_[slot(TToolMode::edit)] = makeEditTool(*this);
  tools_[slot(TToolMode::track)] = makeTrackTool(*this);
  tools_[slot(TToolMode::pad)] = makePadTool(*this);
  tools_[slot(TToolMode::zoom)] = makeZoomTool(*this);
  tools_[slot(TToolMode::area)] = makeAreaTool(*this);
  tools_[slot(TToolMode::circle)] = makeCircleTool(*this);
  tools_[slot(TToolMode::paste)] = makePasteTool(*this);
  tools_[slot(TToolMode::measure)] = makeMeasureTool(*this);
  tools_[slot(TToolMode::smdPad)] = makeSmdPadTool(*this);
  tools_[slot(TToolMode::test)] = makeTestTool(*this);
  tools_[slot(TToolMode::connect)] = makeConnectTool(*this);
  tools_[slot(TToolMode::autoroute)] = makeAutorouteTool(*this);
  macroDrag_ = std::make_unique<TMacroDrag>(*this);
  tools_[slot(TToolMode::text)] = makeTextTool(*this);
  tools_[slot(TToolMode::polygon)] = makePolygonTool(*this);
}

TToolManager::~TToolManager() = default;

TTool* TToolManager::toolFor(TToolMode mode) {
  const size_t i = slot(mode);
  return i < tools_.size() ? tools_[i].get() : nullptr;
}

TPoint TToolManager::worldAt(TPoint pixel, bool snap) const {
  return host_.view().deviceToWorld(pixel, snap);
}

TPoint TToolManager::clampToBoard(TPoint world) const {
  const TBoardRecord& r = editor_.working();
  return {std::clamp(world.x, 0, std::max(0, r.width)),
          std::clamp(world.y, -std::max(0, r.height), 0)};
}

uint32_t TToolManager::layerColour() const {
  return isCopperLayer(editor_.working().activeLayer) ? 0x000000u : 0x0000FFu;
}

bool TToolManager::drawingElement() const {
  return state_.inProgress && (state_.mode == TToolMode::track || state_.mode == TToolMode::area);
}

void TToolManager::showTrackRubberBand() {
  state_.corner = bendCorner(state_.bendMode, state_.anchor, state_.current);
  TFeedback band{TFeedbackKind::trackRubberBand, {}};
  TFeedbackFigure& f = band.figures.emplace_back();
  f.shape = TFeedbackFigure::polyline;
  f.colour = layerColour();
  f.width = values_.trackWidth;
  f.points = {state_.anchor, state_.corner, state_.current};
  showFeedback(std::move(band));
}

void TToolManager::showToolDot() {
  TFeedback dot{TFeedbackKind::toolDot, {}};
  TFeedbackFigure& f = dot.figures.emplace_back();
  f.shape = TFeedbackFigure::polyline;
  f.colour = layerColour();
  f.width = std::max(values_.trackWidth, kMinToolDotWidth);
  f.points = {state_.current};
  showFeedback(std::move(dot));
}

// --- feedback ---

void TToolManager::showFeedback(const TFeedback& feedback) {
  TFeedback copy{feedback.kind, {}};
  copy.figures.reserve(feedback.figures.size());
  for (const TFeedbackFigure& f : feedback.figures) {
    TFeedbackFigure& c = copy.figures.emplace_back();
    c.shape = f.shape;
    c.mode = f.mode;
    c.colour = f.colour;
    c.width = f.width;
    c.points = f.points;
    for (const auto& e : f.owned) c.owned.push_back(copyElement(*e));
    c.elements = f.elements;
    c.offset = f.offset;
    c.activeLayer = f.activeLayer;
    c.connectionList = f.connectionList;
  }
  showFeedback(std::move(copy));
}

void TToolManager::showFeedback(TFeedback&& feedback) {
  const size_t k = size_t(feedback.kind);
  if (k >= kFeedbackKinds) return;
  hideFeedback(feedback.kind);
  shown_[k] = std::move(feedback);
  state_.visible[k] = true;
  host_.drawFeedback(shown_[k]);
}

void TToolManager::hideFeedback(TFeedbackKind kind) {
  const size_t k = size_t(kind);
  if (k >= kFeedbackKinds || !state_.visible[k]) return;
  host_.eraseFeedback(shown_[k]);
  state_.visible[k] = false;
  shown_[k] = TFeedback{};
}

void TToolManager::eraseAllFeedback() {
  for (size_t k = 0; k < kFeedbackKinds; ++k) hideFeedback(TFeedbackKind(k));
}

void TToolManager::pointerLeftView() {
  eraseAllFeedback();
}

// --- modes ---

void TToolManager::leaveMode() {
  if (TTool* tool = toolFor(state_.mode)) tool->leave();
  eraseAllFeedback();
}

bool TToolManager::selectTool(TToolMode mode, bool photoView) {
  TTool* tool = toolFor(mode);
  if (!tool) return false;
  leaveMode();
  state_.mode = mode;
  editor_.deselectAll();
  fields_.refresh();
  state_.inProgress = false;
  state_.movingSelection = false;
  state_.nodeDrag = false;
  state_.photoView = mode == TToolMode::zoom && photoView;
  state_.connectFirstPad = state_.connectHoverPad = -1;
  state_.autorouteHover = 0;
  // The cutout button stays down only for the area tool.
  if (mode != TToolMode::area) values_.cutout = false;
  // The photo view shows the board as made: the milling contours go.
  if (state_.photoView) editor_.discardContours();
  tool->enter();
  // The text and polygon buttons run their dialogs first; cancelled, the
  // mode goes back to edit mode.
  if (!tool->prepare()) {
    selectTool(TToolMode::edit);
    host_.showMode(int(TToolMode::edit));
    return false;
  }
  host_.setCursor(tool->cursor());
  updateOperationState();
  editor_.commandStatesChanged();
  return true;
}

void TToolManager::backToEditMode() {
  selectTool(TToolMode::edit);
  host_.showMode(int(TToolMode::edit));
  eraseAllFeedback();
}

void TToolManager::enterPastePlacement() {
  TTool* tool = toolFor(TToolMode::paste);
  if (!tool || editor_.clipboard().empty()) return;
  leaveMode();
  state_.mode = TToolMode::paste;
  state_.inProgress = false;
  state_.movingSelection = false;
  state_.nodeDrag = false;
  tool->enter();
  updateOperationState();
}

void TToolManager::updateOperationState() {
  const TTool* tool = tools_[slot(state_.mode)].get();
  editor_.elementHeld = drawingElement() || (tool && tool->holdsElement());
  editor_.operationInProgress = leftDown_ || editor_.elementHeld;
}

// --- events ---

TToolResult TToolManager::handle(const TInputEvent& event) {
  TToolResult result = TToolResult::ignored;
  switch (event.kind) {
    case TInputEvent::press:
      result = press(event);
      break;
    case TInputEvent::move:
      result = move(event);
      break;
    case TInputEvent::release:
      result = release(event);
      break;
    case TInputEvent::keyDown:
    case TInputEvent::keyUp:
      result = key(event);
      break;
    case TInputEvent::doubleClick:
      result = doubleClick(event);
      break;
  }
  // With nothing selected the tools draw with the remembered values again.
  if (event.kind != TInputEvent::move) fields_.refresh();
  updateOperationState();
  return result;
}

TToolResult TToolManager::press(const TInputEvent& event) {
  // The press that belongs to a double-click which opened a dialog.
  if (state_.ignoreNextPress) {
    state_.ignoreNextPress = false;
    return TToolResult::ignored;
  }
  if (event.button == TInputEvent::right) return rightClick(event);
  if (event.button != TInputEvent::left) return TToolResult::ignored;
  if (!editor_.layout.hasActiveBoard()) return TToolResult::ignored;
  leftDown_ = true;
  TTool* tool = toolFor(state_.mode);
  const TToolResult result = tool ? tool->press(event) : TToolResult::ignored;
  // A press that left no operation of its own starts one at the pointer:
  // the start of a move, or nothing in the modes that place with a click.
  // Tracks and areas start their own; the click that closes an area ends
  // the handling.
  const bool drawsPoints = state_.mode == TToolMode::track || state_.mode == TToolMode::area;
  if (!state_.inProgress && !drawsPoints && toolFor(state_.mode) == tool) {
    state_.anchor = state_.current = pointerAt(event);
    state_.inProgress = true;
  }
  return result;
}

TToolResult TToolManager::rightClick(const TInputEvent& event) {
  if (event.leftHeld || leftDown_) return TToolResult::ignored;
  TTool* tool = toolFor(state_.mode);
  TToolResult result = tool ? tool->rightClick(event) : TToolResult::ignored;
  if (result == TToolResult::ignored && state_.mode != TToolMode::edit) {
    eraseAllFeedback();
    backToEditMode();
    result = TToolResult::handled;
  }
  hideFeedback(TFeedbackKind::trackRubberBand);
  state_.inProgress = false;
  editor_.commandStatesChanged();
  return result;
}

TToolResult TToolManager::move(const TInputEvent& event) {
  if (!editor_.layout.hasActiveBoard()) return TToolResult::ignored;
  // The button came up where no release reached us (another window took
  // the pointer): the operation ends here, as a release would end it.
  if (leftDown_ && !event.leftHeld) {
    TInputEvent up = event;
    up.kind = TInputEvent::release;
    up.button = TInputEvent::left;
    release(up);
  }
  const bool held = event.leftHeld;
  const TToolMode m = state_.mode;
  if (held || drawingElement() || m == TToolMode::text || m == TToolMode::connect ||
      m == TToolMode::paste) {
    autoscroll(event.pixel);
  }
  TTool* tool = toolFor(m);
  const TToolResult result = tool ? tool->move(event) : TToolResult::ignored;
  host_.showCoordinates(worldAt(event.pixel, showsSnapped(state_.mode) && !event.ctrl));
  return result;
}

TToolResult TToolManager::release(const TInputEvent& event) {
  if (event.button != TInputEvent::left) return TToolResult::ignored;
  const bool wasDown = leftDown_;
  leftDown_ = false;
  // A release without its press (the press opened a dialog, or went to a
  // window now gone) finishes nothing.
  if (!wasDown || !editor_.layout.hasActiveBoard()) return TToolResult::ignored;
  TTool* tool = toolFor(state_.mode);
  const TToolResult result = tool ? tool->release(event) : TToolResult::ignored;
  state_.movingSelection = false;
  state_.nodeDrag = false;
  editor_.commandStatesChanged();
  return result;
}

TToolResult TToolManager::key(const TInputEvent& event) {
  if (event.key == "Space") {
    if (event.kind == TInputEvent::keyDown) {
      // Drawing a track or area, Space turns the corner the next way.
      if (drawingElement()) {
        hideFeedback(TFeedbackKind::trackRubberBand);
        state_.bendMode = uint8_t((state_.bendMode + 1) % 5);
        showTrackRubberBand();
        return TToolResult::handled;
      }
      const TToolMode m = state_.mode;
      if (state_.tempZoom || m == TToolMode::zoom || m == TToolMode::polygon ||
          m == TToolMode::text || event.leftHeld || leftDown_)
        return TToolResult::ignored;
      eraseAllFeedback();
      // Paste placement has no button to come back to: it ends in edit mode.
      state_.savedMode = m == TToolMode::paste ? TToolMode::edit : m;
      selectTool(TToolMode::zoom);
      host_.showMode(int(TToolMode::zoom));
      host_.refreshPointer();
      state_.tempZoom = true;
      return TToolResult::handled;
    }
    if (!state_.tempZoom) return TToolResult::ignored;
    state_.tempZoom = false;
    // A mode that cannot be entered again (its dialog was cancelled) ends
    // in edit mode.
    if (!selectTool(state_.savedMode)) {
      selectTool(TToolMode::edit);
      state_.savedMode = TToolMode::edit;
    }
    host_.showMode(int(state_.savedMode));
    host_.refreshPointer();
    return TToolResult::handled;
  }
  TTool* tool = toolFor(state_.mode);
  return tool ? tool->key(event) : TToolResult::ignored;
}

bool TToolManager::autoscroll(TPoint pixel) {
  TViewState& view = host_.view();
  const int32_t h = view.scrollX(), v = view.scrollY();
  const int32_t cw = view.clientWidth, ch = view.clientHeight;
  if (cw <= 0 || ch <= 0) return false;
  const double z = view.zoom();
  const int32_t stepX = view.lineStepX > 0 ? view.lineStepX : std::max(1, cw / 16);
  const int32_t stepY = view.lineStepY > 0 ? view.lineStepY : std::max(1, ch / 16);
  int32_t x = h, y = v;
  if (pixel.x > cw + h - kAutoscrollBorder && roundHalfEven((cw + h) / z) < view.boardWidth())
    x += stepX;
  if (pixel.x < h + kAutoscrollBorder && h > 0) x -= stepX;
  if (pixel.y > ch + v - kAutoscrollBorder && roundHalfEven((ch + v) / z) < view.boardHeight())
    y += stepY;
  if (pixel.y < v + kAutoscrollBorder && v > 0) y -= stepY;
  if (x == h && y == v) return false;
  eraseAllFeedback();
  view.setScroll(x, y);
  if (view.scrollX() == h && view.scrollY() == v) return false;
  view.rulersNeedRepaint = true;
  host_.viewChanged();
  host_.refreshPointer();
  return true;
}

}  // namespace plavesk
