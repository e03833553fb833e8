// The autoroute tool in the drawing area: every move classifies what lies
// under the pointer (a rubber band, an autorouted track or nothing) and
// highlights it; a click routes the band or turns the track back into its
// band. The router's search windows are shown while the wave runs.
#include <algorithm>

#include "editing/autoroute_tool.h"
#include "editing/editor.h"
#include "editing/tools/connection_tools.h"
#include "editing/tools/tool_manager.h"
#include "view/geometry.h"

namespace plavesk {
namespace {

class TAutorouteToolState : public TTool {
 public:
  using TTool::TTool;

  void enter() override {
    band_ = {};
    shownHover_ = -1;
  }
  void leave() override {
    invalidateBand();
    band_ = {};
  }

  TToolResult move(const TInputEvent& e) override {
    TEditor& editor = m_.editor();
    TAutorouteTool& router = m_.autorouter();
    const int hover = router.hoverAt(editor, m_.host().view(), e.pixel);
    m_.state().autorouteHover = uint8_t(hover);
    // The band under the pointer is drawn in magenta, the one left in the
    // colour of the bands: both lines are painted again.
    const TRect band = hoveredBand();
    // The highlight is a selection: the fields and commands that follow it
    // are brought up to date when it changes.
    if (band != band_ || hover != shownHover_) editor.commandStatesChanged();
    shownHover_ = hover;
    if (band != band_) {
      invalidateBand();
      band_ = band;
      invalidateBand();
    }
    return TToolResult::handled;
  }

  TToolResult press(const TInputEvent&) override {
    TEditor& editor = m_.editor();
    TAutorouteTool& router = m_.autorouter();
    router.trackClearance = m_.values().clearance;
    const uint8_t hover = m_.state().autorouteHover;
    if (hover == kHoverBand) {
      router.showWindow = [this](const TRect& area) { searchWindow(area); };
      router.routeSelected(editor);
      router.showWindow = nullptr;
      m_.hideFeedback(TFeedbackKind::searchWindow);
    } else if (hover == kHoverRoutedTrack) {
      router.unrouteSelected(editor);
    } else {
      return TToolResult::handled;
    }
    invalidateBand();
    band_ = {};
    m_.state().autorouteHover = kHoverNothing;
    // Routing leaves its own selection; the next move compares with that.
    shownHover_ = -1;
    return TToolResult::changed;
  }

  TToolResult release(const TInputEvent&) override {
    m_.state().inProgress = false;
    return TToolResult::handled;
  }

  TCursor cursor() const override { return TCursor::autoroute; }

 private:
  // The box of the band whose two pads are selected, empty for none.
  TRect hoveredBand() const {
    if (m_.state().autorouteHover != kHoverBand) return {};
    for (const auto& a : m_.editor().elements()) {
      if (!a->selected || !a->hasConnections()) continue;
      for (const TObjekt* b : a->connections)
        if (b->selected) return unite(elementBounds(*a), elementBounds(*b));
    }
    return {};
  }

  void invalidateBand() {
    TEditor& editor = m_.editor();
    if (band_.isEmpty()) return;
    if (editor.events.invalidate) editor.events.invalidate(band_);
  }

  // The router shows a stage's window, then takes it off again.
  void searchWindow(const TRect& area) {
    if (m_.feedbackVisible(TFeedbackKind::searchWindow)) {
      m_.hideFeedback(TFeedbackKind::searchWindow);
    } else {
      TFeedback window{TFeedbackKind::searchWindow, {}};
      TFeedbackFigure& f = window.figures.emplace_back();
      f.shape = TFeedbackFigure::rectangle;
      f.mode = TFeedbackFigure::xorMode;
      f.colour = 0xFF0000;  // blue
      f.points = {{area.left, area.top}, {area.right, area.bottom}};
      m_.showFeedback(std::move(window));
    }
    m_.host().flush();
  }

  TRect band_{};
  // The hover result the command states were last brought up to date for
  // (-1 for none).
  int shownHover_ = -1;
};

}  // namespace

std::unique_ptr<TTool> makeAutorouteTool(TToolManager& manager) {
  return std::make_unique<TAutorouteToolState>(manager);
}

}  // namespace plavesk
