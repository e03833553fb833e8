// The commands of the "Functions" and "Layer" menus that change the selected
// elements as a whole (rotate, mirror, snap to grid, align, board side,
// layer) and the layer and pad settings of the editor (active layer, visible
// layers, through-pad mode, pad shape). Each command that changes elements
// takes one undo snapshot first and repaints what changed.
#pragma once

#include <cstdint>
#include <functional>

#include "document/objekt.h"

namespace plavesk {

class TEditor;
class TToolManager;

// --- the selection ---
// Each returns false, changing nothing, when nothing is selected.
// A quarter turn clockwise, or a mirror image, about the selection centre.
bool rotateSelection(TEditor& editor);
bool mirrorSelectionH(TEditor& editor);  // about the vertical line through the centre
bool mirrorSelectionV(TEditor& editor);  // about the horizontal line through the centre
// Every selected element, or group as one, moved onto the grid.
bool snapSelectionToGrid(TEditor& editor);

// The six entries of the align drop-down, by their tags.
enum class TAlign { top = 1, bottom, left, right, hcentre, vcentre };
// Moves each unit (an ungrouped element, or the selected members of one
// group) to the edge or centre line of the whole selection's box. Refused
// (false) unless the selection could be grouped.
bool alignSelection(TEditor& editor, TAlign how);

// Copper and silkscreen of one side to the other (1 <-> 3, 2 <-> 4).
bool changeSelectionSide(TEditor& editor);
// Every selected element onto `layer` 1..4; of a through pad the half later
// in the list goes to the same layer of the other side, so a pair stays a
// pair.
bool setSelectionLayer(TEditor& editor, int layer);

// --- layers ---
// The macro panel turns its macro to the active side when the active layer
// changes; the window connects it once the panel exists.
using TMacroSideHook = std::function<void(int activeLayer)>;
// Whether a macro must be flipped to lie on the side of `activeLayer`: its
// last copper element (or for a silkscreen layer its last silkscreen
// element) is not on that layer.
bool macroNeedsFlip(const TObjektList& macro, int activeLayer);

// F1..F4, the radio buttons and the "Active layer" menu: nothing when the
// layer is active already; a hidden layer is shown first. Returns whether
// the active layer changed.
bool chooseActiveLayer(TToolManager& tools, int layer, const TMacroSideHook& macroHook = {});
// F5..F8 and the layer buttons deselect everything first (`fromButton`);
// the menu entries deselect only the elements of that layer. The active
// layer is never hidden (false then).
bool toggleViewLayer(TToolManager& tools, int layer, bool fromButton);

// --- pads ---
// F12 and "Through pad": inverts through-pad mode for new pads and applies
// it to the selected pads on visible layers: a pad gets a partner on the
// other side, or a pair keeps the half on the active side with the rubber
// bands of both. One undo step when a pad changes. Returns the new mode.
bool toggleThroughPadMode(TToolManager& tools);
// The pad-shape menu: the shape (1..9) of new pads and of the selected pads.
// Returns false for a shape outside 1..9.
bool choosePadShape(TToolManager& tools, int shape);

// Adds the runner's actions (called once by the runner).
void registerTransformActions();

}  // namespace plavesk
