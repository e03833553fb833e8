// Dragging a corner of a selected track or area, or an end of a circle's
// arc, in edit mode.
#pragma once

#include "document/objekt.h"

namespace plavesk {

struct TInputEvent;
class TToolManager;

class TNodeDrag {
 public:
  explicit TNodeDrag(TToolManager& manager) : m_(manager) {}

  // A press at world point q on element `index`, which was selected before
  // the press: starts dragging the node under q. Returns false when q is on
  // no node.
  bool start(int index, TPoint q);
  void move(const TInputEvent& event);
  // The release: the element takes the dragged position, one undo step when
  // it changed.
  void finish();
  // Another mode is chosen: the drag ends without a change.
  void cancel();

 private:
  // The dragged element while it is still in the list.
  TObjekt* element() const;

  TToolManager& m_;
  const TObjekt* element_ = nullptr;
  // Circles: the start and end angles the preview shows.
  int32_t angles_[2] = {0, 0};
};

}  // namespace plavesk
