// Edit mode (select, move, drag corners, context menus) and paste placement,
// the two modes that work on what is already on the board.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "document/objekt.h"

namespace plavesk {

class TTool;
class TToolManager;

std::unique_ptr<TTool> makeEditTool(TToolManager& manager);
// The clipboard follows the pointer until a click places it.
std::unique_ptr<TTool> makePasteTool(TToolManager& manager);

// The entries of the view's context menu `PopupMenu` and of the node menu
// `KnotenPopup`, as command-table ids; "" is a separator, "id>" opens a
// submenu captioned by that command and "<" closes it.
const std::vector<std::string>& contextMenuIds();
const std::vector<std::string>& nodeMenuIds();

// The angle in whole degrees (0 right, counter-clockwise) that an arc end
// dragged to q takes on a circle centred at `centre`.
int handleAngle(TPoint centre, TPoint q);

}  // namespace plavesk
