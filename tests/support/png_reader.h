// PNG files read back with libpng: the tests' independent check of the
// pictures the image command and gerbv write.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace plavesk::testing {

struct TPngPicture {
  // As the file's header says.
  uint32_t width = 0;
  uint32_t height = 0;
  int bitDepth = 0;
  int colourType = 0;  // libpng's PNG_COLOR_TYPE_*
  bool interlaced = false;
  // The pHYs chunk; unit -1 when there is none, 1 for pixels per metre.
  int resolutionUnit = -1;
  uint32_t xPixelsPerUnit = 0;
  uint32_t yPixelsPerUnit = 0;
  // Every pixel as 8-bit red, green, blue, rows from the top; grey and
  // palette pictures expanded, alpha dropped.
  std::vector<uint8_t> rgb;

  uint32_t pixel(uint32_t x, uint32_t y) const;  // 0xRRGGBB
};

// False with `error` set when libpng finds the data damaged or not a PNG.
bool decodePng(const std::vector<uint8_t>& bytes, TPngPicture& picture, std::string& error);
bool readPngFile(const std::string& path, TPngPicture& picture, std::string& error);

}  // namespace plavesk::testing
