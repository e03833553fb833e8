// Regular polygons: the polygon dialog sets corners, radius, angle offset,
// line width and fill; the closed outline follows the pointer and a click
// places it as a closed track, or as an area when it is filled.
#include <utility>

#include "editing/editor.h"
#include "editing/tools/draw_tools.h"
#include "editing/tools/tool_manager.h"

namespace plavesk {

namespace {

class TPolygonTool : public TTool {
 public:
  using TTool::TTool;

  bool prepare() override {
    m_.host().releasePointer();
    TPolygonSettings s = m_.dialogs().polygon;
    if (!m_.host().askPolygonSettings(s)) return false;
    m_.dialogs().polygon = limited(s);
    return true;
  }

  TToolResult press(const TInputEvent& e) override {
    TToolState& st = m_.state();
    m_.hideFeedback(TFeedbackKind::polygonPreview);
    st.current = m_.pointerAt(e);
    const bool placed = createRegularPolygon(st.current);
    showPreview();
    st.inProgress = false;
    return placed ? TToolResult::changed : TToolResult::handled;
  }

  TToolResult move(const TInputEvent& e) override {
    TToolState& st = m_.state();
    const TPoint p = m_.pointerAt(e);
    if (p == st.current && m_.feedbackVisible(TFeedbackKind::polygonPreview))
      return TToolResult::handled;
    m_.hideFeedback(TFeedbackKind::polygonPreview);
    st.current = p;
    showPreview();
    return TToolResult::handled;
  }

 private:
  std::vector<TPoint> cornersAt(TPoint centre) const {
    std::vector<TPoint> corners = polygonCorners(m_.dialogs().polygon);
    for (TPoint& c : corners) c = {c.x + centre.x, c.y + centre.y};
    return corners;
  }

  // A polygon reaching beyond the board is not made: nothing changes and
  // no undo step is left.
  bool createRegularPolygon(TPoint centre) {
    TEditor& ed = m_.editor();
    const TBoardRecord& r = ed.working();
    const std::vector<TPoint> corners = cornersAt(centre);
    for (TPoint c : corners)
      if (c.x < 0 || c.x > r.width || c.y > 0 || c.y < -r.height) return false;
    const TPolygonSettings& s = m_.dialogs().polygon;
    const int32_t width = polygonLineWidth(s);
    ed.takeSnapshot();
    TObjektPtr e = s.filled ? createArea(width, r.activeLayer) : createTrack(width, r.activeLayer);
    if (s.filled) e->closed = 1;
    e->dim3 = width;
    e->clearance = m_.values().clearance;
    e->points = corners;
    ed.elements().push_back(std::move(e));
    ed.invalidate(*ed.elements().back());
    ed.repaint();
    return true;
  }

  void showPreview() {
    TFeedback fb{TFeedbackKind::polygonPreview, {}};
    TFeedbackFigure& f = fb.figures.emplace_back();
    f.shape = TFeedbackFigure::polyline;
    f.colour = m_.layerColour();
    f.width = polygonLineWidth(m_.dialogs().polygon);
    f.points = cornersAt(m_.state().current);
    m_.showFeedback(std::move(fb));
  }
};

}  // namespace

std::unique_ptr<TTool> makePolygonTool(TToolManager& manager) {
  return std::make_unique<TPolygonTool>(manager);
}

}  // namespace plavesk
