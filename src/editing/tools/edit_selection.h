// Selecting in edit mode: the click on an element (Shift toggles it) and the
// frame dragged over empty ground.
#pragma once

#include "document/objekt.h"

namespace plavesk {

class TEditor;
class TToolManager;

// The click on element `hit` (elementAt's result, -1 for empty ground): an
// element not yet selected becomes the whole selection (with its group and
// through-pad partner), Shift toggles it, empty ground deselects all unless
// Shift is held.
void clickSelect(TEditor& editor, int hit, bool shift);

// The dotted frame between AnchorPoint and the pointer.
void dragSelectionFrame(TToolManager& manager, TPoint q);

}  // namespace plavesk
