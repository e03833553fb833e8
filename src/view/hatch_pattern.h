// The 8 x 8 pixel hatch tiles: diagonal stripes two pixels wide from top
// left to bottom right, in two colours.
#pragma once

#include <array>

#include "view/colour_scheme.h"

namespace plavesk {

constexpr int kHatchSize = 8;

struct THatchTile {
  // Row by row from the top, eight pixels a row.
  std::array<TColour, kHatchSize * kHatchSize> pixels{};

  TColour at(int column, int row) const { return pixels[size_t(row * kHatchSize + column)]; }
  bool operator==(const THatchTile&) const = default;
};

// Pixel (column, row) gets `a` when (column - row) mod 8 is 0, 3, 4 or 7,
// otherwise `b`.
THatchTile makeHatchTile(TColour a, TColour b);

// The three tiles the view keeps; rebuilt whenever the current colours
// change.
struct THatchTiles {
  THatchTile throughPad;  // copper 1 / copper 2: pads with a partner
  THatchTile cutout1;     // copper 1 / background: cut-out areas on layer 1
  THatchTile cutout2;     // copper 2 / background: cut-out areas on layer 3
  bool operator==(const THatchTiles&) const = default;
};

THatchTiles buildHatchTiles(const TColourScheme& colours);

// The cut-out tile of an area's side (side 2 for layers above 2).
const THatchTile& cutoutTileForLayer(const THatchTiles& tiles, int layer);

}  // namespace plavesk
