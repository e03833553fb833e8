// The measure tool: a line and its box from the press to the pointer, with
// the distances shown on a panel next to the pointer.
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <utility>

#include "editing/tools/draw_tools.h"
#include "editing/tools/tool_manager.h"
#include "view/units.h"
#include "view/view_state.h"

namespace plavesk {

namespace {

constexpr uint32_t kMeasureColour = 0x00FFFF;  // yellow

std::string general(double v, int digits) {
  char text[32];
  std::snprintf(text, sizeof text, "%.*g", digits, v + 0.0);  // no "-0"
  return text;
}

class TMeasureTool : public TTool {
 public:
  using TTool::TTool;

  TCursor cursor() const override { return TCursor::crossHair; }

  TToolResult press(const TInputEvent& e) override {
    TToolState& s = m_.state();
    s.anchor = s.current = m_.clampToBoard(m_.worldAt(e.pixel, false));
    s.inProgress = true;
    showPanel(e.pixel);
    m_.host().confinePointer();
    return TToolResult::handled;
  }

  TToolResult move(const TInputEvent& e) override {
    TToolState& s = m_.state();
    if (!s.inProgress) return TToolResult::ignored;
    m_.hideFeedback(TFeedbackKind::measureLines);
    s.current = m_.worldAt(e.pixel, false);
    showPanel(e.pixel);
    TFeedback fb{TFeedbackKind::measureLines, {}};
    TFeedbackFigure& line = fb.figures.emplace_back();
    line.shape = TFeedbackFigure::polyline;
    line.mode = TFeedbackFigure::xorMode;
    line.colour = kMeasureColour;
    line.points = {s.anchor, s.current};
    TFeedbackFigure& box = fb.figures.emplace_back();
    box.shape = TFeedbackFigure::frame;
    box.mode = TFeedbackFigure::xorMode;
    box.colour = kMeasureColour;
    box.points = {s.anchor, s.current};
    m_.showFeedback(std::move(fb));
    return TToolResult::handled;
  }

  TToolResult release(const TInputEvent&) override {
    TToolState& s = m_.state();
    if (!s.inProgress) return TToolResult::ignored;
    end();
    return TToolResult::handled;
  }

  void leave() override {
    if (m_.state().inProgress) end();
  }

 private:
  void showPanel(TPoint pixel) {
    const TToolState& s = m_.state();
    const TMeasureReadout r = measureReadout(s.anchor, s.current, m_.host().view().inchMode);
    m_.host().showMeasure(&r, pixel);
  }

  void end() {
    m_.hideFeedback(TFeedbackKind::measureLines);
    m_.state().inProgress = false;
    m_.host().showMeasure(nullptr, {});
    m_.host().releasePointer();
  }
};

}  // namespace

TMeasureReadout measureReadout(TPoint anchor, TPoint current, bool inchMode) {
  double ex = double(current.x) - anchor.x;
  double ey = double(current.y) - anchor.y;
  double dist = std::sqrt(ex * ex + ey * ey);
  const double angle = dist < 0.001 ? 0 : std::acos(std::abs(ex) / dist) * 180 / M_PI;
  std::string unit = " mm";
  if (inchMode) {
    unit = " \"";
    ex /= 25.4;
    ey /= 25.4;
    dist /= 25.4;
  }
  ex = roundHalfEven(ex);
  ey = roundHalfEven(ey);
  dist = roundHalfEven(dist);
  return {general(ex / 100, 4) + unit, general(-ey / 100, 4) + unit, general(dist / 100, 4) + unit,
          general(angle, 3) + "\u00B0"};
}

std::unique_ptr<TTool> makeMeasureTool(TToolManager& manager) {
  return std::make_unique<TMeasureTool>(manager);
}

}  // namespace plavesk
