// GIF export: the picture as a palette image whose colours are listed in the
// order they first appear, written with giflib.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/core/raster_canvas.h"

namespace plavesk {

struct TPaletteImage {
  int32_t width = 0;
  int32_t height = 0;
  // Distinct colours by first appearance (rows from the top, pixels from the
  // left); 3..16 colours padded to 16 entries, 17..255 to 256, 1 or 2 kept.
  std::vector<CanvasColour> palette;
  size_t distinctColours = 0;
  std::vector<uint8_t> indexes;  // row by row
};

// Beyond 256 colours a pixel takes the nearest of the first 256.
TPaletteImage toPaletteImage(const RasterImage& image);

// A single-image GIF file; false with `error` set when giflib refuses.
bool encodeGif(const TPaletteImage& image, std::vector<uint8_t>& out, std::string& error);

}  // namespace plavesk
