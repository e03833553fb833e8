#include "editing/tools/macro_drag.h"

#include "editing/editor.h"
#include "editing/tools/edit_move.h"
#include "editing/tools/tool_manager.h"
#include "view/units.h"

namespace plavesk {

TMacroDrag::TMacroDrag(TToolManager& manager)
    : m_(manager), preview_(std::make_unique<TMovePreview>(manager)) {}

TMacroDrag::~TMacroDrag() = default;

TPoint TMacroDrag::offset() const {
  return m_.state().moveOffset;
}

// The grid point nearest the pointer that lies on the board: a pointer
// beyond an edge that is not on the grid leaves the macro on the last grid
// line inside, not half a grid step outside.
TPoint TMacroDrag::onBoardGridPoint(TPoint world) const {
  const TBoardRecord& board = m_.editor().working();
  const double grid = board.grid;
  TPoint p = snapToGrid(m_.clampToBoard(snapToGrid(world, grid)), grid);
  for (int step = 0; step < 2 && p.x > board.width; ++step)
    p.x = snapToGrid({int32_t(p.x - grid), p.y}, grid).x;
  for (int step = 0; step < 2 && p.y < -board.height; ++step)
    p.y = snapToGrid({p.x, int32_t(p.y + grid)}, grid).y;
  return p;
}

void TMacroDrag::over(const TObjektList& macro, TPoint world, bool ctrl) {
  if (!accepts(macro) || !m_.editor().layout.hasActiveBoard()) return;
  TToolState& st = m_.state();
  // The macro's own (0, 0) is what the pointer carries: an empty box held
  // on the board keeps that point on it.
  st.selectionBounds = TRect{};
  const TPoint s = onBoardGridPoint(world);
  if (!active_ || !m_.feedbackVisible(TFeedbackKind::movePreview)) {
    m_.eraseAllFeedback();
    // The paint surface's corner: the board's (0, 0).
    st.anchor = TPoint{0, 0};
    preview_->prepare(macro, true);
    active_ = true;
  } else if (s == st.current && ctrl == st.moveCtrlState) {
    return;
  }
  st.current = s;
  preview_->show(ctrl);
}

bool TMacroDrag::drop(const TObjektList& macro, TPoint world, bool ctrl) {
  if (!accepts(macro) || !m_.editor().layout.hasActiveBoard()) {
    leave();
    return false;
  }
  if (!active_ || !m_.feedbackVisible(TFeedbackKind::movePreview)) over(macro, world, ctrl);
  const TPoint at = m_.state().moveOffset;
  leave();
  m_.editor().insertElements(macro, at);
  return true;
}

void TMacroDrag::leave() {
  preview_->clear();
  active_ = false;
}

}  // namespace plavesk
