// PNG pictures of the board for the command line: 8-bit RGB, written with
// libpng.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/core/raster_canvas.h"

namespace plavesk {

// The whole file in `out`, with `dpi` in the pHYs chunk; false with `error`
// set when libpng refuses (an empty image, no memory).
bool encodePng(const RasterImage& image, double dpi, std::vector<uint8_t>& out, std::string& error);

}  // namespace plavesk
