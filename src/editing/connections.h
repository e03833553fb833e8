// Rubber-band connections between pads and the ground-plane switches of the
// two board sides.
#pragma once

#include "document/board.h"
#include "editing/tools/tool_values.h"

namespace plavesk {

class TEditor;

// Adds the band between a and b, or removes it (every entry of it) when it
// exists; the band is recorded at both ends. Returns true when it was added.
bool toggleConnection(TObjekt& a, TObjekt& b);
// The connection tool's version: removing a band invalidates the selected
// pads and their partners, where the removed line was drawn.
bool toggleConnection(TEditor& editor, TObjekt& a, TObjekt& b);

// Elements the connection tool can join: pads and SMD pads on copper.
bool canConnect(const TObjekt& e);

// The switch of the active layer's side: groundPlane1 for layers 1 and 2,
// groundPlane2 for layers 3 and 4.
bool groundPlaneOfActiveSide(const TBoardRecord& state);
// The ground-plane button: the active side's switch becomes `on`; the layout
// is modified (the switches are not part of the undo snapshots).
void setGroundPlane(TEditor& editor, bool on);
// The menu entry: inverts the active side's switch; returns the new state.
bool toggleGroundPlane(TEditor& editor);
// SB_AutoMasseClick and M_AutoMasseClick with the tool values: the switch is
// set as above and the cutout button released, so the next area is an
// ordinary one.
void switchGroundPlane(TEditor& editor, TToolValues& values, bool on);

}  // namespace plavesk
