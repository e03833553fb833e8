// The passes over a whole element list: one layer, the four layers in side
// order with the drill holes, the ground plane, and the macro preview. Only
// elements whose bounds meet the canvas's clip box are drawn (except in the
// preview).
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "document/board.h"
#include "document/objekt.h"
#include "platform/core/canvas.h"
#include "view/render_settings.h"

namespace plavesk {

// Which elements the main view's passes draw: all; all but the selected
// ones; or the selected ones alone. Every figure is drawn at its place in
// the paint order of the whole picture (Canvas::setOrder), so that a canvas
// keeping those places can draw the selected elements into a picture of the
// rest exactly where a picture of all would show them.
enum class TElementSubset : uint8_t { all, unselected, selected };

inline bool inSubset(const TObjekt& e, TElementSubset subset) {
  return subset == TElementSubset::all || e.selected == (subset == TElementSubset::selected);
}

// The place in the paint order of element `index` of a list of `count` in
// pass `pass` (below kPaintOrderPasses); 0 is the ground under the
// elements, UINT32_MAX what lies over all of them. The passes: the ground
// plane's cut-outs and clearances, the grid, eight layers (each its other
// elements, then its pads), the holes, the rubber bands.
constexpr int kCutoutPass = 0, kClearancePass = 1, kGridPass = 2, kFirstLayerPass = 3;
constexpr int kHolesPass = kFirstLayerPass + 16, kBandsPass = kHolesPass + 1;
constexpr int kPaintOrderPasses = kBandsPass + 1;
inline uint32_t paintOrder(int pass, size_t index, size_t count) {
  return uint32_t(1 + size_t(pass) * count + index);
}
// Lists up to this long have a place for every figure.
constexpr size_t kMostOrderedElements = (UINT32_MAX - 2) / kPaintOrderPasses;

// An element with its position in the list.
struct TListed {
  const TObjekt* e;
  size_t index;
};

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
// The same for a subset, also collecting on its walk over the list the
// subset's elements that have rubber bands (pads and SMD pads with
// partners), in list order.
void drawElements(const TObjektList& list, Canvas& canvas, const TBoardRecord& state,
                  const TRenderSettings& settings, TElementSubset subset,
                  std::vector<TListed>& banded);

// A white disc of the drill radius for every pad on a visible layer, rimmed
// red for through pads (black in the photo view); bare holes get their cross
// again.
void drawHoles(const TObjektList& list, Canvas& canvas, const TBoardRecord& state,
               const TRenderSettings& settings, bool onlySelected = false);

// Cut-out areas and the clearances that the active side's ground plane
// leaves around its copper; in the photo view the clearances of the viewed
// side's plane.
void drawGroundPlane(const TObjektList& list, Canvas& canvas, const TBoardRecord& state,
                     const TRenderSettings& settings, TElementSubset subset = TElementSubset::all);

// The macro preview: every element without clipping or visibility, side 2
// in front unless the sides are swapped.
void drawPreview(const TObjektList& list, Canvas& canvas, const TRenderSettings& settings,
                 bool sideSwapped);

}  // namespace plavesk
