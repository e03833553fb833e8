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

// Every element of `layer` that is neither a pad nor a cut-out area, then the
// pads of the layer. Nothing for a hidden layer outside the photo view. With
// `onlyMarked`, elements whose workMark is clear are skipped.
void drawLayerPass(TObjektList& list, Canvas& canvas, int layer, const TBoardRecord& state,
                   const TRenderSettings& settings, bool onlyMarked = false);

// The other side's copper, the active side's copper, the other side's
// silkscreen, the active side's silkscreen, then the holes; the photo view
// has its own order and colours.
void drawElements(TObjektList& list, Canvas& canvas, const TBoardRecord& state,
                  const TRenderSettings& settings, bool onlyMarked = false);
// The same, also collecting on its walk over the list the elements that
// have rubber bands (pads and SMD pads with partners), in list order.
void drawElements(TObjektList& list, Canvas& canvas, const TBoardRecord& state,
                  const TRenderSettings& settings, bool onlyMarked,
                  std::vector<const TObjekt*>& banded);

// A white disc of the drill radius for every pad on a visible layer, rimmed
// red for through pads (black in the photo view); bare holes get their cross
// again.
void drawHoles(const TObjektList& list, Canvas& canvas, const TBoardRecord& state,
               const TRenderSettings& settings, bool onlyMarked = false);

// Cut-out areas and the clearances that the active side's ground plane
// leaves around its copper; in the photo view the clearances of the viewed
// side's plane.
void drawGroundPlane(TObjektList& list, Canvas& canvas, const TBoardRecord& state,
                     const TRenderSettings& settings);

// The macro preview: every element without clipping or visibility, side 2
// in front unless the sides are swapped.
void drawPreview(TObjektList& list, Canvas& canvas, const TRenderSettings& settings,
                 bool sideSwapped);

// Drawing through a mirrored mapping (photo view of side 2, mirrored
// prints): while it lives, a legacy font text is anchored at its box's other
// corner and a circle has its angles exchanged, so that both keep their
// shape; the element is restored on destruction.
class TMirroredDrawing {
 public:
  TMirroredDrawing(TObjekt& e, bool active);
  ~TMirroredDrawing();
  TMirroredDrawing(const TMirroredDrawing&) = delete;
  TMirroredDrawing& operator=(const TMirroredDrawing&) = delete;

 private:
  TObjekt* e_ = nullptr;
  int32_t x_ = 0, y_ = 0, angle_ = 0, dim3_ = 0;
};

}  // namespace plavesk
