#include "view/image_export.h"

#include "view/layer_passes.h"
#include "view/units.h"

namespace plavesk {

TImageSize exportImageSize(int32_t boardWidth, int32_t boardHeight, double dpi) {
  return {roundToUnit(dpi * (boardWidth / 100.0) / 25.4),
          roundToUnit(dpi * (boardHeight / 100.0) / 25.4)};
}

int64_t exportMemoryEstimateKb(const TImageSize& s, bool colour) {
  const int64_t kb = int64_t(roundHalfEven(double(s.width) * double(s.height) / 1024));
  return colour ? kb * 3 : kb / 8;
}

CanvasMapping exportMapping(int32_t boardWidth, int32_t boardHeight, const TImageSize& size,
                            bool mirrored) {
  CanvasMapping m;
  m.windowExtX = mirrored ? -boardWidth : boardWidth;
  m.windowExtY = -boardHeight;
  m.windowOrgX = mirrored ? boardWidth : 0;
  m.viewportExtX = size.width;
  m.viewportExtY = size.height;
  if (m.windowExtX == 0) m.windowExtX = 1;
  if (m.windowExtY == 0) m.windowExtY = -1;
  return m;
}

void drawBoardPicture(const TObjektList& list, Canvas& canvas, const TBoardRecord& state,
                      const TRenderSettings& baseSettings, const TTemplateImages& templates) {
  TRenderSettings settings = baseSettings;
  settings.selectionShown = false;
  drawBoardBackground(canvas, state, settings, 1);
  drawGroundPlane(list, canvas, state, settings);
  if (!settings.photoView) drawTemplate(canvas, state, settings, templates);
  drawElements(list, canvas, state, settings);
}

RasterImage renderBoardImage(const TObjektList& list, const TBoardRecord& state,
                             const TRenderSettings& settings, const TImageSize& size,
                             const TTemplateImages& templates) {
  RasterImage image(size.width, size.height, kWhite);
  RasterCanvas canvas(image);
  canvas.setMapping(exportMapping(state.width, state.height, size,
                                  settings.photoView && settings.photo.mirrored()));
  drawBoardPicture(list, canvas, state, settings, templates);
  return image;
}

bool isBlackInMonochrome(CanvasColour c, CanvasColour background) {
  if (c == background) return false;
  return int(redOf(c)) + greenOf(c) + blueOf(c) < 3 * 192;
}

}  // namespace plavesk
