// Circles: pressed at the centre and dragged out; the ring's centre line
// lies at the larger of the two distances along x and y.
#include <algorithm>
#include <cstdlib>
#include <utility>

#include "editing/editor.h"
#include "editing/tools/draw_tools.h"
#include "editing/tools/tool_manager.h"

namespace plavesk {

namespace {

constexpr int32_t kMinRadius = 5;  // a smaller drag is taken for a slip
constexpr uint32_t kPreviewColour = 0xFFFFFF;

class TCircleTool : public TTool {
 public:
  using TTool::TTool;

  TCursor cursor() const override { return TCursor::ring; }

  TToolResult press(const TInputEvent& e) override {
    TToolState& s = m_.state();
    m_.hideFeedback(TFeedbackKind::toolDot);
    s.anchor = s.current = m_.pointerAt(e);
    s.inProgress = true;
    return TToolResult::handled;
  }

  TToolResult move(const TInputEvent& e) override {
    TToolState& s = m_.state();
    const TPoint p = m_.pointerAt(e);
    const TFeedbackKind kind = s.inProgress ? TFeedbackKind::circlePreview : TFeedbackKind::toolDot;
    if (p == s.current && m_.feedbackVisible(kind)) return TToolResult::handled;
    m_.hideFeedback(kind);
    s.current = p;
    if (kind == TFeedbackKind::toolDot) {
      m_.showToolDot();
      return TToolResult::handled;
    }
    const int32_t w = m_.values().trackWidth;
    const int32_t r = radius() + w / 2;
    TFeedback fb{TFeedbackKind::circlePreview, {}};
    TFeedbackFigure& f = fb.figures.emplace_back();
    f.shape = TFeedbackFigure::ellipse;
    f.mode = TFeedbackFigure::xorMode;
    f.colour = kPreviewColour;
    f.width = w;
    f.points = {{s.anchor.x - r, s.anchor.y + r}, {s.anchor.x + r, s.anchor.y - r}};
    m_.showFeedback(std::move(fb));
    return TToolResult::handled;
  }

  TToolResult release(const TInputEvent&) override {
    TToolState& s = m_.state();
    if (!s.inProgress) return TToolResult::ignored;
    m_.hideFeedback(TFeedbackKind::circlePreview);
    s.inProgress = false;
    const int32_t r = radius();
    if (r <= kMinRadius) return TToolResult::handled;
    const TToolValues& v = m_.values();
    const int32_t w = v.trackWidth;
    TEditor& ed = m_.editor();
    ed.takeSnapshot();
    TObjektPtr c =
        createCircle(s.anchor, r + w / 2, v.padShape, ed.working().activeLayer, r + w / 2 - w);
    c->clearance = v.clearance;
    ed.elements().push_back(std::move(c));
    ed.invalidate(*ed.elements().back());
    return TToolResult::changed;
  }

 private:
  int32_t radius() const {
    const TToolState& s = m_.state();
    const int64_t dx = std::llabs(int64_t(s.current.x) - s.anchor.x);
    const int64_t dy = std::llabs(int64_t(s.current.y) - s.anchor.y);
    return int32_t(std::min<int64_t>(std::max(dx, dy), INT32_MAX / 2));
  }
};

}  // namespace

std::unique_ptr<TTool> makeCircleTool(TToolManager& manager) {
  return std::make_unique<TCircleTool>(manager);
}

}  // namespace plavesk
