// Windows bitmap files: the 24-bit and 1-bit pictures of image export, and
// reading the template bitmaps (1, 4, 8, 24 and 32 bits, uncompressed).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/core/canvas.h"
#include "platform/core/raster_canvas.h"

namespace plavesk {

// `dpi` goes into the header as pixels per metre.
std::vector<uint8_t> encodeBmp24(const RasterImage& image, double dpi);
// Bit 1 (palette entry white) for pixels isBlackInMonochrome calls light.
std::vector<uint8_t> encodeBmp1(const RasterImage& image, double dpi, CanvasColour background);

struct TBmpReadResult {
  bool ok = false;
  CanvasImage image;  // twoColour for 1-bit files
  int32_t dpi = 0;    // from the horizontal pixels per metre; 0 when not set
  std::string error;
};
TBmpReadResult decodeBmp(const std::vector<uint8_t>& data);

}  // namespace plavesk
