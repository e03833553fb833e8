#include "editing/tools/edit_node_drag.h"

#include <cmath>
#include <numbers>

#include "editing/editor.h"
#include "editing/tools/edit_tool.h"
#include "editing/tools/tool_manager.h"
#include "view/units.h"

namespace plavesk {
namespace {

TFeedback elementPreview(TFeedbackKind kind, TObjektPtr copy, int activeLayer) {
  copy->connections.clear();
  copy->padLink = copy->routeFrom = copy->routeTo = nullptr;
  TFeedback preview{kind, {}};
  TFeedbackFigure& f = preview.figures.emplace_back();
  f.shape = TFeedbackFigure::elementList;
  f.mode = TFeedbackFigure::notXor;
  f.colour = 0x000000;
  f.owned.push_back(std::move(copy));
  f.activeLayer = activeLayer;
  return preview;
}

}  // namespace

int handleAngle(TPoint centre, TPoint q) {
  const double dx = double(centre.x) - q.x;
  const double dy = double(centre.y) - q.y;
  if (dx == 0) return dy < 0 ? 90 : dy > 0 ? 270 : 0;
  int a = int(roundHalfEven(std::atan(dy / dx) * 180 / std::numbers::pi));
  if (a < 0) a += 180;
  if (dy > 0) a += 180;
  // Close to the horizontal axis the rounding above comes before the
  // quadrant is known.
  if (a == 0 && dx > 0) a = 180;
  if (a == 180 && dx < 0) a = 0;
  return a;
}

TObjekt* TNodeDrag::element() const {
  TToolState& st = m_.state();
  TObjektList& list = m_.editor().elements();
  if (!element_ || st.nodeElement < 0 || st.nodeElement >= int(list.size())) return nullptr;
  TObjekt* e = list[st.nodeElement].get();
  if (e != element_) return nullptr;
  if (e->hasPoints() && (st.nodeIndex < 0 || st.nodeIndex >= int(e->points.size()))) return nullptr;
  return e;
}

bool TNodeDrag::start(int index, TPoint q) {
  TEditor& editor = m_.editor();
  TObjekt& e = *editor.elements()[index];
  if (e.kind != kTrack && e.kind != kArea && e.kind != kCircle) return false;
  const int n = hitNode(e, q, editor.working().zoom);
  if (n < 0) return false;
  TToolState& st = m_.state();
  st.undoPending = true;
  st.nodeDrag = true;
  st.movingSelection = false;
  st.nodeElement = index;
  st.nodeIndex = n;
  element_ = &e;
  if (e.kind == kCircle) {
    angles_[0] = e.angle;
    angles_[1] = e.dim3;
    st.anchor = st.current = q;
  } else {
    st.anchor = st.current = e.points[n];
  }
  st.inProgress = true;
  return true;
}

void TNodeDrag::move(const TInputEvent& event) {
  TObjekt* e = element();
  if (!e) return;
  TToolState& st = m_.state();
  const TBoardRecord& board = m_.editor().working();
  const TPoint q = m_.worldAt(event.pixel, false);
  if (e->kind == kCircle) {
    const int angle = handleAngle({e->x, e->y}, q);
    const bool shown = m_.feedbackVisible(TFeedbackKind::circleNodePreview);
    if (shown && angle == angles_[st.nodeIndex]) return;
    angles_[st.nodeIndex] = angle;
    TObjektPtr copy = copyElement(*e);
    copy->angle = angles_[0];
    copy->dim3 = angles_[1];
    m_.hideFeedback(TFeedbackKind::circleNodePreview);
    m_.showFeedback(
        elementPreview(TFeedbackKind::circleNodePreview, std::move(copy), board.activeLayer));
    return;
  }
  // The corner moves by whole grid steps from where it was.
  TPoint d{q.x - st.anchor.x, q.y - st.anchor.y};
  if (!event.ctrl) d = snapToGrid(d, board.grid);
  const TPoint p{st.anchor.x + d.x, st.anchor.y + d.y};
  if (p == st.current && m_.feedbackVisible(TFeedbackKind::nodePreview)) return;
  st.current = p;
  TObjektPtr copy = copyElement(*e);
  copy->points[st.nodeIndex] = p;
  m_.hideFeedback(TFeedbackKind::nodePreview);
  m_.showFeedback(elementPreview(TFeedbackKind::nodePreview, std::move(copy), board.activeLayer));
}

// The element changes only here, so a drag that ends where it started, or
// is dropped, leaves no undo step.
void TNodeDrag::finish() {
  TToolState& st = m_.state();
  m_.hideFeedback(TFeedbackKind::nodePreview);
  m_.hideFeedback(TFeedbackKind::circleNodePreview);
  TObjekt* e = element();
  element_ = nullptr;
  st.undoPending = false;
  if (!e) return;
  TEditor& editor = m_.editor();
  if (e->kind == kCircle) {
    if (e->angle == angles_[0] && e->dim3 == angles_[1]) return;
    editor.takeSnapshot();
    // The bounds of the whole ring cover the old arc and the new one.
    e->angle = e->dim3 = 0;
    editor.invalidate(*e);
    e->angle = angles_[0];
    e->dim3 = angles_[1];
    return;
  }
  TPoint& point = e->points[st.nodeIndex];
  if (point == st.current) return;
  editor.takeSnapshot();
  editor.invalidate(*e);
  point = st.current;
  editor.invalidate(*e);
}

void TNodeDrag::cancel() {
  m_.hideFeedback(TFeedbackKind::nodePreview);
  m_.hideFeedback(TFeedbackKind::circleNodePreview);
  element_ = nullptr;
  m_.state().undoPending = false;
}

}  // namespace plavesk
