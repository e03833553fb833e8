#include "view/layer_visibility.h"

#include "view/colour_texts.h"

namespace plavesk {

bool isLayerVisible(const TBoardRecord& state, int layer) {
  if (!isValidLayer(layer) || layer == state.activeLayer) return true;
  return state.layerVisible[size_t(layer - 1)] != 0;
}

bool onSameSide(int layerA, int layerB) {
  return isSide2Layer(layerA) == isSide2Layer(layerB);
}

bool isOnActiveSide(const TBoardRecord& state, int layer) {
  return onSameSide(layer, state.activeLayer);
}

bool isGroundPlaneOn(const TBoardRecord& state, int layer) {
  if (layer == kCopper1 || layer == kSilk1) return state.groundPlane1 != 0;
  if (layer == kCopper2 || layer == kSilk2) return state.groundPlane2 != 0;
  return false;
}

TColour boardBackgroundColour(const TBoardRecord& state, const TColourScheme& colours) {
  if (!isGroundPlaneOn(state, state.activeLayer)) return colours[kColourBackground];
  return isSide2Layer(state.activeLayer) ? colours[kColourCopper2] : colours[kColourCopper1];
}

std::array<int, 4> layerDrawOrder(int activeLayer) {
  if (isSide2Layer(activeLayer)) return {kCopper1, kCopper2, kSilk1, kSilk2};
  return {kCopper2, kCopper1, kSilk2, kSilk1};
}

TLayerChange setActiveLayer(TBoardRecord& state, int layer) {
  TLayerChange change;
  if (!isValidLayer(layer) || layer == state.activeLayer) return change;
  uint8_t& flag = state.layerVisible[size_t(layer - 1)];
  if (!flag) {
    flag = 1;
    change.visibilityChanged = true;
  }
  state.activeLayer = layer;
  change.activeChanged = true;
  return change;
}

bool toggleLayerVisibility(TBoardRecord& state, int layer) {
  if (!isValidLayer(layer) || layer == state.activeLayer) return false;
  uint8_t& flag = state.layerVisible[size_t(layer - 1)];
  flag = flag ? 0 : 1;
  return true;
}

bool showActiveLayer(TBoardRecord& state) {
  if (!isValidLayer(state.activeLayer)) return false;
  uint8_t& flag = state.layerVisible[size_t(state.activeLayer - 1)];
  if (flag) return false;
  flag = 1;
  return true;
}

TLayerPanelLook layerPanelLook(const TBoardRecord& state, const TColourScheme& colours,
                               int language) {
  TLayerPanelLook look;
  look.background = colours[kColourBackground];
  for (int layer = 1; layer <= 4; ++layer) {
    size_t i = size_t(layer - 1);
    look.captions[i] = layerButtonCaption(layer, language);
    look.captionColours[i] = *layerColour(colours, layer);
    look.bold[i] = isLayerVisible(state, layer);
  }
  return look;
}

}  // namespace plavesk
