// What the tool state machine asks of the window around it. The window
// implements it with widgets; the runner and the tests with a headless view
// of 1200 x 800 pixels.
#pragma once

#include <string>
#include <vector>

#include "editing/tools/drawing_settings.h"
#include "editing/tools/feedback.h"
#include "view/geometry.h"

namespace plavesk {

class TViewState;

// The measure tool's values as the panel shows them ("10 mm", "45°").
struct TMeasureReadout {
  std::string dx, dy, distance, angle;
};

enum class TCursor : uint8_t {
  arrow,
  magnifier,
  test,
  changer,
  connect,
  autoroute,
  ring,
  crossHair
};

class TToolHost {
 public:
  virtual ~TToolHost() = default;

  virtual TViewState& view() = 0;

  // Feedback appears (drawn) or disappears (erased); the window draws the
  // figures into its frame image and repaints only what they cover.
  virtual void drawFeedback(const TFeedback& feedback) = 0;
  virtual void eraseFeedback(const TFeedback& feedback) = 0;

  virtual void setCursor(TCursor cursor) = 0;
  // Keep the pointer inside the visible part of the view / let it go.
  virtual void confinePointer() = 0;
  virtual void releasePointer() = 0;
  // Move the pointer to its own position so a fresh move event arrives (after
  // a scroll or a cursor change).
  virtual void refreshPointer() = 0;

  // The context menu of the drawing area or the node menu at a surface pixel;
  // `ids` are command-table ids, "" a separator; "id>" opens a submenu
  // captioned by that command, "<" closes it. The chosen command runs
  // through the host's own command handling.
  virtual void openMenu(const std::string& menu, const std::vector<std::string>& ids,
                        TPoint pixel) = 0;

  // The view was scrolled or zoomed by the tool (rulers, overview, scroll bars).
  virtual void viewChanged() = 0;
  // Status bar: pointer coordinates.
  virtual void showCoordinates(TPoint world) = 0;
  // The tool-panel button of the mode is pressed (mode changes that come from
  // the state machine itself: back to edit mode, temporary zoom).
  virtual void showMode(int mode) = 0;

  // The measure panel next to the pointer (surface pixel) with its four
  // read-outs; null hides it again. The origin marker hides meanwhile.
  virtual void showMeasure(const TMeasureReadout* /*readout*/, TPoint /*pixel*/) {}

  // Puts what was drawn or invalidated on screen at once: a long command
  // (routing) shows its progress before the event loop runs again.
  virtual void flush() {}

  // The drawing tools' dialogs, shown with the pointer free; each returns
  // whether it was confirmed (a host without dialogs cancels). The text
  // dialog serves the text tool and, with `editing`, the double-click on a
  // text.
  virtual bool askTextSettings(TTextSettings& /*settings*/, bool /*editing*/) { return false; }
  virtual bool askFontTextSettings(TFontTextSettings& /*settings*/) { return false; }
  virtual bool askPolygonSettings(TPolygonSettings& /*settings*/) { return false; }
  // "The text could not be generated." (a text without strokes).
  virtual void warnTextNotGenerated() {}
  // Width and height, in the units of `fontHeight`, of `text` in bold Arial
  // of that character height (the box of a legacy font text).
  virtual TPoint fontTextExtent(const std::string& text, int32_t fontHeight) const {
    return {int32_t(text.size()) * fontHeight * 3 / 5, fontHeight};
  }
  // Pixels per inch of the screen that legacy font heights are counted in.
  virtual double pixelsPerInch() const { return 96.0; }
};

}  // namespace plavesk
