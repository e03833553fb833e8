#include "editing/tools/zoom_tool.h"

#include <algorithm>
#include <cstdlib>
#include <utility>

#include "editing/tools/tool_manager.h"
#include "view/view_state.h"

namespace plavesk {

namespace {

constexpr int32_t kCentreLimit = 30000;
constexpr double kMinFramePixels = 8;
constexpr uint32_t kFrameColour = 0x0000FF;

class TZoomTool : public TTool {
 public:
  using TTool::TTool;

  TCursor cursor() const override { return TCursor::magnifier; }

  TToolResult press(const TInputEvent& e) override {
    TToolState& s = m_.state();
    s.anchor = s.current = m_.clampToBoard(m_.worldAt(e.pixel, false));
    s.inProgress = true;
    return TToolResult::handled;
  }

  TToolResult move(const TInputEvent& e) override {
    TToolState& s = m_.state();
    if (!s.inProgress) return TToolResult::ignored;
    const TPoint p = m_.clampToBoard(m_.worldAt(e.pixel, false));
    if (p == s.current && m_.feedbackVisible(TFeedbackKind::selectionFrame))
      return TToolResult::handled;
    m_.hideFeedback(TFeedbackKind::selectionFrame);
    s.current = p;
    TFeedback frame{TFeedbackKind::selectionFrame, {}};
    TFeedbackFigure& f = frame.figures.emplace_back();
    f.shape = TFeedbackFigure::frame;
    f.colour = kFrameColour;
    f.points = {s.anchor, s.current};
    m_.showFeedback(std::move(frame));
    return TToolResult::handled;
  }

  TToolResult release(const TInputEvent& e) override {
    TToolState& s = m_.state();
    if (!s.inProgress) return TToolResult::ignored;
    TViewState& view = m_.host().view();
    view.pushZoomState();
    view.paintSuppressed = true;
    const double z = view.zoom();
    const int64_t dx = std::llabs(int64_t(s.current.x) - s.anchor.x);
    const int64_t dy = std::llabs(int64_t(s.current.y) - s.anchor.y);
    double zoom = z * kZoomStep;
    TPoint centre;
    // A frame that the idle check erased still counts as dragged.
    const bool framed = s.current != s.anchor;
    m_.hideFeedback(TFeedbackKind::selectionFrame);
    if (framed && dx * z > kMinFramePixels && dy * z > kMinFramePixels) {
      zoom =
          std::min(double(view.clientWidth) / double(dx), double(view.clientHeight) / double(dy));
      centre = {int32_t(std::min<int64_t>(std::llabs(int64_t(s.anchor.x) + s.current.x) / 2,
                                          kCentreLimit)),
                int32_t(std::min<int64_t>(std::llabs(int64_t(s.anchor.y) + s.current.y) / 2,
                                          kCentreLimit))};
    } else {
      const TPoint p = m_.clampToBoard(m_.worldAt(e.pixel, false));
      centre = {p.x, -p.y};
    }
    // centreView counts on the surface, which the mirrored photo view turns.
    if (view.mirrored()) centre.x = view.boardWidth() - centre.x;
    view.setZoom(zoom);
    view.centreView(centre.x, centre.y);
    s.inProgress = false;
    view.paintSuppressed = false;
    view.surfaceNeedsRepaint = true;
    view.rulersNeedRepaint = true;
    m_.host().viewChanged();
    return TToolResult::changed;
  }

  TToolResult rightClick(const TInputEvent&) override {
    TViewState& view = m_.host().view();
    m_.hideFeedback(TFeedbackKind::selectionFrame);
    view.pushZoomState();
    view.setZoom(view.zoom() / kZoomStep);
    view.surfaceNeedsRepaint = true;
    m_.state().inProgress = false;
    m_.host().viewChanged();
    return TToolResult::changed;
  }
};

}  // namespace

std::unique_ptr<TTool> makeZoomTool(TToolManager& manager) {
  return std::make_unique<TZoomTool>(manager);
}

}  // namespace plavesk
