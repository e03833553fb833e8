// PNG pictures of the board (for the clipboard and the command line): 8-bit
// RGB, compressed with zlib.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/core/raster_canvas.h"

namespace plavesk {

// `dpi` goes into the pHYs chunk.
std::vector<uint8_t> encodePng(const RasterImage& image, double dpi);

}  // namespace plavesk
