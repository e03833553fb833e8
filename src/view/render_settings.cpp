#include "view/render_settings.h"

namespace plavesk {

static_assert(sizeof(THatchTile::pixels) == sizeof(CanvasPattern));

void TRenderSettings::setColours(const TColourScheme& colours) {
  colours_ = colours;
  tiles_ = buildHatchTiles(colours_);
}

const CanvasPattern& canvasPattern(const THatchTile& tile) {
  return tile.pixels;
}

}  // namespace plavesk
