#include "view/hatch_pattern.h"

#include "document/objekt.h"

namespace plavesk {

THatchTile makeHatchTile(TColour a, TColour b) {
  THatchTile tile;
  for (int row = 0; row < kHatchSize; ++row) {
    for (int column = 0; column < kHatchSize; ++column) {
      int d = ((column - row) % kHatchSize + kHatchSize) % kHatchSize;
      bool stripe = d == 0 || d == 3 || d == 4 || d == 7;
      tile.pixels[size_t(row * kHatchSize + column)] = stripe ? a : b;
    }
  }
  return tile;
}

THatchTiles buildHatchTiles(const TColourScheme& c) {
  return {makeHatchTile(c[kColourCopper1], c[kColourCopper2]),
          makeHatchTile(c[kColourCopper1], c[kColourBackground]),
          makeHatchTile(c[kColourCopper2], c[kColourBackground])};
}

const THatchTile& cutoutTileForLayer(const THatchTiles& tiles, int layer) {
  return isSide2Layer(layer) ? tiles.cutout2 : tiles.cutout1;
}

}  // namespace plavesk
