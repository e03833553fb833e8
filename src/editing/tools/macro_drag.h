// A macro dragged from the library panel over the drawing area: its outline
// follows the pointer as the move preview, with the pointer as the macro's
// (0, 0) snapped to the grid unless Ctrl is held and kept on the board; the
// drop inserts it there as one undo step and one group.
#pragma once

#include <memory>

#include "document/objekt.h"
#include "view/geometry.h"

namespace plavesk {

class TToolManager;
class TMovePreview;

class TMacroDrag {
 public:
  explicit TMacroDrag(TToolManager& manager);
  ~TMacroDrag();

  // Whether the view takes a drag of this macro: only a macro with elements.
  static bool accepts(const TObjektList& macro) { return !macro.empty(); }
  // The pointer at an unsnapped world point while the macro is dragged over
  // the view.
  void over(const TObjektList& macro, TPoint world, bool ctrl);
  // The drop where the preview last showed the macro (under the point when
  // no move came before). Returns whether something was inserted.
  bool drop(const TObjektList& macro, TPoint world, bool ctrl);
  // The drag left the view or was cancelled.
  void leave();
  bool active() const { return active_; }
  // The displacement the preview showed last.
  TPoint offset() const;

 private:
  TPoint onBoardGridPoint(TPoint world) const;

  TToolManager& m_;
  std::unique_ptr<TMovePreview> preview_;
  bool active_ = false;
};

}  // namespace plavesk
