// Visibility of the four layers and the active layer of the working state,
// and how both enter drawing. Layers 1 and 2 form side 1, layers 3 and 4
// side 2.
#pragma once

#include <array>

#include "document/board.h"
#include "view/colour_scheme.h"

namespace plavesk {

// Layer codes other than 1..4 are always visible, and so is the active
// layer, even when a file left its flag cleared.
bool isLayerVisible(const TBoardRecord& state, int layer);

// Both layers on the same side.
bool onSameSide(int layerA, int layerB);
// The layer is on the side of the active layer.
bool isOnActiveSide(const TBoardRecord& state, int layer);

// groundPlane1 serves layers 1 and 2, groundPlane2 layers 3 and 4.
bool isGroundPlaneOn(const TBoardRecord& state, int layer);

// The copper colour of the active side when its ground plane is on,
// otherwise the background colour.
TColour boardBackgroundColour(const TBoardRecord& state, const TColourScheme& colours);

// Drawing order of the layers: the other side's copper, the active side's
// copper, the other side's silkscreen, the active side's silkscreen.
std::array<int, 4> layerDrawOrder(int activeLayer);

struct TLayerChange {
  bool activeChanged = false;
  bool visibilityChanged = false;  // the layer was hidden and is now shown
  bool changed() const { return activeChanged || visibilityChanged; }
};

// Makes `layer` the active layer, showing it first when it was hidden.
// Nothing happens for the layer already active or a code outside 1..4.
TLayerChange setActiveLayer(TBoardRecord& state, int layer);

// Inverts the visibility of `layer`; the active layer and codes outside 1..4
// are refused (returns false). Deselecting the elements of the layer is the
// caller's part.
bool toggleLayerVisibility(TBoardRecord& state, int layer);

// Sets the flag of the active layer when a loaded record left it cleared, so
// the layer buttons agree with what is drawn. Returns whether it changed.
bool showActiveLayer(TBoardRecord& state);

// What the layer panel shows: its background, and per layer 1..4 the button
// caption, its colour and whether it is bold (visible).
struct TLayerPanelLook {
  TColour background = 0;
  std::array<const char*, 4> captions{};
  std::array<TColour, 4> captionColours{};
  std::array<bool, 4> bold{};
};
TLayerPanelLook layerPanelLook(const TBoardRecord& state, const TColourScheme& colours,
                               int language);

}  // namespace plavesk
