// The one state machine every mouse and key event of the drawing area goes
// through: the current tool mode, the tool state and the feedback on screen.
// Each mode's handling lives in a tool of its own; this class chooses modes
// and dispatches.
#pragma once

#include <array>
#include <memory>

#include "editing/autoroute_tool.h"
#include "editing/tool_value_fields.h"
#include "editing/tools/input_event.h"
#include "editing/tools/tool_host.h"
#include "editing/tools/tool_state.h"
#include "editing/tools/tool_values.h"

namespace plavesk {

class TEditor;
class TMacroDrag;
class TTool;

// What a handler did, for the caller: nothing, or the layout or view changed.
enum class TToolResult { ignored, handled, changed };

class TToolManager {
 public:
  TToolManager(TEditor& editor, TToolHost& host);
  ~TToolManager();

  TToolState& state() { return state_; }
  const TToolState& state() const { return state_; }
  TToolMode mode() const { return state_.mode; }
  TEditor& editor() { return editor_; }
  TToolHost& host() { return host_; }
  // The sizes of new elements (the tool panel's value fields).
  TToolValues& values() { return values_; }
  const TToolValues& values() const { return values_; }
  // The tool panel's value fields over those values.
  TToolValueFields& fields() { return fields_; }
  // The autoroute tool's width and clearance (the autorouter window's
  // fields), its status line and its last hover result.
  TAutorouteTool& autorouter() { return autorouter_; }
  // A macro dragged from the library panel over the view.
  TMacroDrag& macroDrag() { return *macroDrag_; }
  // What the text and polygon dialogs remember, and the text counter.
  TDrawingDialogs& dialogs() { return dialogs_; }

  // The tool buttons (and the runner's `tool NAME`): the current mode ends
  // what it was drawing, then deselect all, erase every feedback, clear
  // InProgress, cursor, command states; returns false, changing nothing,
  // when the mode has no tool (yet) or could not be entered (a dialog was
  // cancelled).
  bool selectTool(TToolMode mode, bool photoView = false);
  void backToEditMode();
  // Paste and Duplicate: paste placement with the clipboard following the pointer.
  void enterPastePlacement();

  TToolResult handle(const TInputEvent& event);

  // Every visible feedback is erased (before repaints, idle outside the view).
  void eraseAllFeedback();
  // The idle check: pointer outside the visible part of the view.
  void pointerLeftView();

  // Feedback helpers for the tools: draw or erase one kind, flipping its flag.
  // A feedback given by reference is copied with its own element copies.
  void showFeedback(const TFeedback& feedback);
  void showFeedback(TFeedback&& feedback);
  void hideFeedback(TFeedbackKind kind);
  bool feedbackVisible(TFeedbackKind kind) const { return state_.visible[size_t(kind)]; }
  // The figures last drawn for a kind (empty when not visible).
  const TFeedback& feedback(TFeedbackKind kind) const { return shown_[size_t(kind)]; }

  // The view's deviceToWorld of a surface pixel.
  TPoint worldAt(TPoint pixel, bool snap) const;
  // The pointer position of an event snapped unless Ctrl is held.
  TPoint pointerAt(const TInputEvent& event) const { return worldAt(event.pixel, !event.ctrl); }
  // A world point limited to the board.
  TPoint clampToBoard(TPoint world) const;
  // Feedback of the drawing tools: black on copper, red on silkscreen.
  uint32_t layerColour() const;
  // The disc of the track width (at least 20 units) at CurrentPoint.
  void showToolDot();
  // AnchorPoint -> CornerPoint -> CurrentPoint, the corner computed anew.
  void showTrackRubberBand();
  // Whether the modes that draw tracks and areas have one under construction.
  bool drawingElement() const;

 private:
  TTool* toolFor(TToolMode mode);
  TToolResult press(const TInputEvent& event);
  TToolResult move(const TInputEvent& event);
  TToolResult release(const TInputEvent& event);
  TToolResult rightClick(const TInputEvent& event);
  TToolResult key(const TInputEvent& event);
  // Edit mode: a double-click on a text opens its dialog.
  TToolResult doubleClick(const TInputEvent& event);
  // Scrolls by one line step when the pointer is at the view's border;
  // returns whether it scrolled.
  bool autoscroll(TPoint pixel);
  // The mode's tool ends what it was doing before another mode starts.
  void leaveMode();
  // Undo and redo wait while a press is held or an element is being drawn.
  void updateOperationState();

  TEditor& editor_;
  TToolHost& host_;
  TToolState state_;
  TToolValues values_;
  TToolValueFields fields_{editor_, values_};
  TDrawingDialogs dialogs_;
  TAutorouteTool autorouter_;
  std::unique_ptr<TMacroDrag> macroDrag_;
  bool leftDown_ = false;
  std::array<TFeedback, kFeedbackKinds> shown_;
  std::array<std::unique_ptr<TTool>, 15> tools_;
};

// One mode's handling. Handlers do nothing by default.
class TTool {
 public:
  explicit TTool(TToolManager& manager) : m_(manager) {}
  virtual ~TTool() = default;
  virtual void enter() {}
  // Runs after enter(): the tools with a dialog show it; false (cancelled,
  // or nothing to place) sends the manager back to edit mode.
  virtual bool prepare() { return true; }
  // The tool keeps an element of its own in the list (the prepared text):
  // undo and redo wait.
  virtual bool holdsElement() const { return false; }
  // Another mode is chosen (or paste placement starts): end or drop the
  // operation in progress; the manager erases the feedback afterwards.
  virtual void leave() {}
  virtual TToolResult press(const TInputEvent&) { return TToolResult::ignored; }
  virtual TToolResult move(const TInputEvent&) { return TToolResult::ignored; }
  virtual TToolResult release(const TInputEvent&) { return TToolResult::ignored; }
  virtual TToolResult rightClick(const TInputEvent&) { return TToolResult::ignored; }
  virtual TToolResult key(const TInputEvent&) { return TToolResult::ignored; }
  virtual TCursor cursor() const { return TCursor::arrow; }

 protected:
  TToolManager& m_;
};

}  // namespace plavesk
