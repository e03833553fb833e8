// The move preview of edit mode and paste placement: outlines of what is
// being moved, shown at the displacement the pointer asks for, kept on the
// board and snapped to the grid unless Ctrl is held.
#pragma once

#include <vector>

#include "document/objekt.h"
#include "editing/tools/feedback.h"
#include "view/geometry.h"

namespace plavesk {

struct TBoardRecord;
class TToolManager;

// CurrentPoint - AnchorPoint with the moved box `bounds` held on the board,
// then snapped to the grid unless Ctrl is held.
TPoint clampedMoveOffset(TPoint anchor, TPoint current, const TRect& bounds,
                         const TBoardRecord& board, bool ctrl);

class TMovePreview {
 public:
  explicit TMovePreview(TToolManager& manager) : m_(manager) {}

  // Takes copies of what the preview draws: the selected elements of `list`
  // or, with `all`, every element. The preview never points into the list
  // itself, so a command that changes the list while the button is held
  // cannot leave it drawing freed elements.
  void prepare(const TObjektList& list, bool all);
  bool prepared() const { return prepared_; }
  // Erases the preview and drops the copies.
  void clear();
  // Erases the preview and draws it for the tool state's anchor and current
  // points; MoveOffset and MoveCtrlState take what it shows.
  void show(bool ctrl);

 private:
  TToolManager& m_;
  bool prepared_ = false;
  // The moved elements in list order, then the unmoved partners of their
  // rubber bands; references among them point at these copies.
  TObjektList copies_;
  TObjektList partners_;
  std::vector<const TObjekt*> drawn_;
  TListBounds bounds_;
};

}  // namespace plavesk
