#include "editing/tools/edit_move.h"

#include <algorithm>
#include <unordered_map>
#include <unordered_set>
#include <utility>

#include "editing/editor.h"
#include "editing/tools/tool_manager.h"
#include "view/units.h"

namespace plavesk {

TPoint clampedMoveOffset(TPoint anchor, TPoint current, const TRect& bounds,
                         const TBoardRecord& board, bool ctrl) {
  int64_t dx = int64_t(current.x) - anchor.x;
  int64_t dy = int64_t(current.y) - anchor.y;
  // World y grows upwards: the box's upper edge is `bottom`, its lower `top`.
  if (bounds.left + dx < 0) dx = -int64_t(bounds.left);
  if (bounds.right + dx > board.width) dx = int64_t(board.width) - bounds.right;
  if (bounds.bottom + dy > 0) dy = -int64_t(bounds.bottom);
  if (bounds.top + dy < -int64_t(board.height)) dy = -int64_t(board.height) - bounds.top;
  TPoint offset{int32_t(std::clamp<int64_t>(dx, INT32_MIN, INT32_MAX)),
                int32_t(std::clamp<int64_t>(dy, INT32_MIN, INT32_MAX))};
  return ctrl ? offset : snapToGrid(offset, board.grid);
}

void TMovePreview::prepare(const TObjektList& list, bool all) {
  clear();
  // Of the two halves of a through pad only the later one is drawn: drawn
  // twice the not-xor outline would cancel out.
  std::unordered_set<const TObjekt*> moved;
  for (const auto& e : list)
    if (all || e->selected) moved.insert(e.get());
  std::unordered_map<const TObjekt*, TObjekt*> copyOf;
  std::unordered_set<const TObjekt*> seenPads;
  for (const auto& e : list) {
    if (!moved.count(e.get())) continue;
    if (e->kind == kPad) {
      seenPads.insert(e.get());
      if (e->padLink && e->padLink != e.get() && moved.count(e->padLink) &&
          !seenPads.count(e->padLink))
        continue;
    }
    copies_.push_back(copyElement(*e));
    copyOf[e.get()] = copies_.back().get();
  }
  for (const auto& c : copies_)
    for (const TObjekt* partner : c->connections)
      if (partner && !copyOf.count(partner)) {
        partners_.push_back(copyElement(*partner));
        copyOf[partner] = partners_.back().get();
      }
  auto retarget = [&](TObjekt& c) {
    for (TObjekt*& partner : c.connections) {
      auto it = copyOf.find(partner);
      partner = it == copyOf.end() ? nullptr : it->second;
    }
    auto it = copyOf.find(c.padLink);
    c.padLink = it == copyOf.end() ? nullptr : it->second;
    c.routeFrom = c.routeTo = nullptr;
    // Everything copied moves: its bands move with both ends.
    c.selected = 1;
  };
  for (auto& c : copies_) retarget(*c);
  for (auto& c : partners_) {
    c->connections.clear();
    c->padLink = c->routeFrom = c->routeTo = nullptr;
    c->selected = 0;
  }
  drawn_.reserve(copies_.size());
  for (const auto& c : copies_) drawn_.push_back(c.get());
  TFeedbackFigure f;
  f.shape = TFeedbackFigure::elementList;
  f.elements = drawn_;
  f.connectionList = &copies_;
  bounds_ = elementListBounds(f);
  prepared_ = true;
}

void TMovePreview::clear() {
  m_.hideFeedback(TFeedbackKind::movePreview);
  copies_.clear();
  partners_.clear();
  drawn_.clear();
  prepared_ = false;
}

void TMovePreview::show(bool ctrl) {
  TToolState& st = m_.state();
  const TBoardRecord& board = m_.editor().working();
  m_.hideFeedback(TFeedbackKind::movePreview);
  st.moveOffset = clampedMoveOffset(st.anchor, st.current, st.selectionBounds, board, ctrl);
  st.moveCtrlState = ctrl;
  TFeedback preview{TFeedbackKind::movePreview, {}};
  TFeedbackFigure& f = preview.figures.emplace_back();
  f.shape = TFeedbackFigure::elementList;
  f.mode = TFeedbackFigure::notXor;
  f.colour = 0x000000;
  f.elements = drawn_;
  f.offset = st.moveOffset;
  f.activeLayer = board.activeLayer;
  f.connectionList = &copies_;
  f.listBounds = bounds_;
  m_.showFeedback(std::move(preview));
}

}  // namespace plavesk
