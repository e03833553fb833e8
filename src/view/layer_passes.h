// The passes over a whole element list: one layer, the four layers in side
// order with the drill holes, the ground plane, and the macro preview. Only
// elements whose bounds meet the canvas's clip box are drawn (except in the
// preview).
#pragma once

#include <vector>

#include "document/board.h"
#include "document/objekt.h"
#include "platform/core/canvas.h"
#include "view/render_settings.h"

namespace plavesk {

// The passes only read the list; `onlySelected` draws just the selected
// elements (the selection picture of the clipboard).

// Every element of `layer` that is neither a pad nor a cut-out area, then the
// pads of the layer. Nothing for a hidden layer outside the photo view.
void drawLayerPass(const TObjektList& list, Canvas& canvas, int layer, const TBoardRecord& state,
                   const TRenderSettings& settings, bool onlySelected = false);

// The other side's copper, the active side's copper, the other side's
// silkscreen, the active side's silkscreen, then the holes; the photo view
// has its own order and colours.
void drawElements(const TObjektList& list, Canvas& canvas, const TBoardRecord& state,
                  const TRenderSettings& settings, bool onlySelected = false);
// The same, also collecting on its walk over the list the elements that
// have rubber bands (pads and SMD pads with partners), in list order.
void drawElements(const TObjektList& list, Canvas& canvas, const TBoardRecord& state,
                  const TRenderSettings& settings, bool onlySelected,
                  std::vector<const TObjekt*>& banded);

// A white disc of the drill radius for every pad on a visible layer, rimmed
// red for through pads (black in the photo view); bare holes get their cross
// again.
void drawHoles(const TObjektList& list, Canvas& canvas, const TBoardRecord& state,
               const TRenderSettings& settings, bool onlySelected = false);

// Cut-out areas and the clearances that the active side's ground plane
// leaves around its copper; in the photo view the clearances of the viewed
// side's plane.
void drawGroundPlane(const TObjektList& list, Canvas& canvas, const TBoardRecord& state,
                     const TRenderSettings& settings);

// The macro preview: every element without clipping or visibility, side 2
// in front unless the sides are swapped.
void drawPreview(const TObjektList& list, Canvas& canvas, const TRenderSettings& settings,
                 bool sideSwapped);

}  // namespace plavesk
