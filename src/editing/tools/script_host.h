// The drawing area of a script: a client area of 1200 x 800 pixels over the
// active board, a pointer that scripts move in board units, and one tool
// manager that keeps its mode, tool state and feedback from one action to
// the next, as the window's does between events.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "editing/macro_library.h"
#include "editing/tools/tool_host.h"
#include "editing/tools/tool_manager.h"
#include "view/view_state.h"

namespace plavesk {

class TEditor;

// The window's side of the tool manager without a window: feedback and
// cursors are remembered, menus are recorded for the menu actions.
class TScriptHost : public TToolHost {
 public:
  static constexpr int32_t kClientWidth = 1200;
  static constexpr int32_t kClientHeight = 800;

  explicit TScriptHost(TEditor& editor);

  TViewState& view() override { return view_; }
  void drawFeedback(const TFeedback& feedback) override;
  void eraseFeedback(const TFeedback& feedback) override;
  void setCursor(TCursor c) override { cursor = c; }
  void confinePointer() override { confined = true; }
  void releasePointer() override { confined = false; }
  void refreshPointer() override { refreshRequested = true; }
  void openMenu(const std::string& name, const std::vector<std::string>& ids,
                TPoint pixel) override;
  void viewChanged() override {}
  void showCoordinates(TPoint world) override { coordinates = world; }
  void showMode(int) override {}
  void showMeasure(const TMeasureReadout* readout, TPoint) override;
  // The text dialog of the text tool is confirmed with `textAnswer` (its
  // mirror boxes as the tool set them) and cancelled without one; the
  // polygon dialog is confirmed with the values it keeps; the dialogs of a
  // double-click are confirmed unchanged.
  bool askTextSettings(TTextSettings& settings, bool editing) override;
  bool askFontTextSettings(TFontTextSettings&) override { return true; }
  bool askPolygonSettings(TPolygonSettings&) override { return true; }
  void warnTextNotGenerated() override { textNotGenerated = true; }

  // The active board came into view (start, another board): zoom and
  // scroll within range for the client area.
  void showActiveBoard();

  TCursor cursor = TCursor::arrow;
  bool confined = false;
  bool refreshRequested = false;
  TPoint coordinates{};
  // The menu the last right click opened ("" for none) and its entries.
  std::string menu;
  std::vector<std::string> menuIds;
  // The text dialog's values from `text-options`.
  std::optional<TTextSettings> textAnswer;
  bool textNotGenerated = false;
  // What the measure panel showed last.
  std::optional<TMeasureReadout> measured;
  // Figures drawn minus figures erased, per kind: what a screen would show.
  int feedbackShown[kFeedbackKinds] = {};

 private:
  TEditor& editor_;
  TViewState view_;
};

// What a script does with the mouse and the keyboard, turned into the input
// events the window would send. Points are board units.
class TScriptSession {
 public:
  explicit TScriptSession(TEditor& editor);

  TEditor& editor;
  TScriptHost host;
  TToolManager tools;
  // The macro library panel of a script: the macro last dropped and the
  // panel's mirror, side and through-pad buttons.
  TMacroPreview macroPanel;

  struct TModifiers {
    bool shift = false;
    bool ctrl = false;
    bool alt = false;
  };

  // Before every mouse or key action: a board switched since the last one
  // comes into view.
  void followBoard();
  void press(TPoint world, TInputEvent::Button button, TModifiers keys);
  void move(TPoint world, TModifiers keys);
  void release(TPoint world, TModifiers keys);
  void doubleClick(TPoint world);
  void key(TInputEvent::Kind kind, const std::string& name, TModifiers keys);

  // The paint-surface pixel the pointer is on.
  TPoint pointer() const { return pointer_; }
  TInputEvent::Button held() const { return held_; }

 private:
  // Scrolls the point at least 16 pixels into the client area when it can
  // and puts the pointer on the nearest pixel; a move is sent first when
  // the pointer was elsewhere.
  void pointTo(TPoint world, TModifiers keys);
  TInputEvent event(TInputEvent::Kind kind, TModifiers keys) const;
  void send(const TInputEvent& e);

  TPoint pointer_{};
  TPoint pointerInClient_{};
  bool pointerKnown_ = false;
  TInputEvent::Button held_ = TInputEvent::none;
  int board_ = -1;
};

}  // namespace plavesk
