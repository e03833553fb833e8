// Small layouts built by code for the tests.
#pragma once

#include <string>
#include <vector>

#include "document/board.h"

namespace plavesk::testing {

// One board with a through-pad pair, an SMD pad, rubber bands, an autorouted
// track between two pads, an area, a circle, a text with a stroke and groups.
// Indexes: 0 pad A (side 1), 1 pad A' (side 2, partner of 0), 2 pad B,
// 3 SMD pad, 4 track routed 0->2, 5 area, 6 circle, 7 text, 8 plain track.
// Connections: 0-3, 2-3.
TLayout makeSampleLayout();

// A track or an area on copper side 1 through the given points.
TObjektPtr copperTrack(int32_t width, std::vector<TPoint> points);
TObjektPtr copperArea(int32_t edgeWidth, std::vector<TPoint> points);

// Appends a pad and returns it.
TObjekt& addPad(TObjektList& list, int x, int y, int layer = 1);

// A layout of one empty board `width` x `height` units on the given grid,
// at 0.1 pixels a unit (the window tests' boards fit the view), copper
// side 1 active.
TLayout boardLayout(const std::string& name, int32_t width, int32_t height, double grid);

// A 100 x 80 mm board on grid 1.27 mm at zoom 0.1 with four round pads on
// copper 1: A and B on one row, C and D on the next.
constexpr TPoint kFourPadA{2540, -2540}, kFourPadB{7620, -2540}, kFourPadC{2540, -5080},
    kFourPadD{7620, -5080};
TLayout makeFourPadLayout();

}  // namespace plavesk::testing
