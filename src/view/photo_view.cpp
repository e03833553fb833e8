#include "view/photo_view.h"

#include "view/layer_visibility.h"

namespace plavesk {

int photoViewedCopper(const TPhotoOptions& photo) {
  return photo.side == 2 ? kCopper2 : kCopper1;
}

TColour photoOtherSideColour(const TBoardRecord& state, const TPhotoOptions& photo) {
  return isGroundPlaneOn(state, photoViewedCopper(photo)) ? kPhotoOtherSideOnPlane
                                                          : kPhotoOtherSide;
}

TColour photoBackgroundColour(const TBoardRecord& state, const TPhotoOptions& photo) {
  return isGroundPlaneOn(state, photoViewedCopper(photo)) ? kPhotoCopper : kPhotoBoard;
}

TColourScheme photoColourScheme(const TColourScheme& current, const TBoardRecord& state,
                                const TPhotoOptions& photo) {
  TColourScheme s = current;
  const TColour other = photoOtherSideColour(state, photo);
  s[kColourBackground] = kPhotoBoard;
  const bool side2 = photo.side == 2;
  s[side2 ? kColourCopper2 : kColourCopper1] = kPhotoCopper;
  s[side2 ? kColourSilk2 : kColourSilk1] = kPhotoSilkscreen;
  s[side2 ? kColourCopper1 : kColourCopper2] = other;
  s[side2 ? kColourSilk1 : kColourSilk2] = other;
  return s;
}

TRenderSettings photoRenderSettings(const TRenderSettings& settings, const TBoardRecord& state) {
  TRenderSettings s = settings;
  s.setColours(photoColourScheme(settings.colours(), state, settings.photo));
  s.photoBoardColour = kPhotoBoard;
  return s;
}

std::vector<int> photoLayerOrder(const TPhotoOptions& photo) {
  const int v = photoViewedCopper(photo);
  const int f = v == kCopper1 ? kCopper2 : kCopper1;
  std::vector<int> order;
  if (photo.xray) {
    order.push_back(f);
    if (photo.silkscreen) order.push_back(f + 1);
  }
  order.push_back(v);
  if (photo.silkscreen) order.push_back(v + 1);
  return order;
}

int32_t mirroredScrollPosition(int32_t range, int32_t position, int32_t clientWidth) {
  return range - position - clientWidth;
}

}  // namespace plavesk
