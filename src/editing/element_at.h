// The element under a point, with the layer priority every tool uses.
#pragma once

#include "document/board.h"

namespace plavesk {

// Index of the element under the world point q in `list`, or -1. Silkscreen
// before copper and the active side before the other; on one layer the
// topmost element, pads before other kinds and anything before a cutout
// area. `copperOnly` leaves the silkscreen layers out.
int elementAt(const TObjektList& list, const TBoardRecord& state, TPoint q, bool copperOnly);

}  // namespace plavesk
