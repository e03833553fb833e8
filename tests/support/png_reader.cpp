#include "support/png_reader.h"

#include <png.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>

namespace plavesk::testing {

namespace {

struct PngSource {
  const std::vector<uint8_t>* bytes = nullptr;
  size_t at = 0;
  char error[128] = "";
};

PngSource& sourceOf(png_structp png) {
  return *static_cast<PngSource*>(png_get_error_ptr(png));
}

[[noreturn]] void onError(png_structp png, png_const_charp message) {
  std::snprintf(sourceOf(png).error, sizeof PngSource::error, "%s", message);
  png_longjmp(png, 1);
}

void onWarning(png_structp, png_const_charp) {}

void readBytes(png_structp png, png_bytep data, size_t length) {
  PngSource& source = sourceOf(png);
  if (length > source.bytes->size() - source.at) png_error(png, "the data ends early");
  std::memcpy(data, source.bytes->data() + source.at, length);
  source.at += length;
}

// Every libpng call of the read; libpng leaves this frame by longjmp, so
// nothing here needs a destructor.
bool readPicture(png_structp png, png_infop info, TPngPicture& picture) {
  if (setjmp(png_jmpbuf(png))) return false;
  png_set_read_fn(png, nullptr, readBytes);
  png_set_user_limits(png, PNG_UINT_31_MAX, PNG_UINT_31_MAX);
  png_read_info(png, info);
  int interlace = 0;
  png_get_IHDR(png, info, &picture.width, &picture.height, &picture.bitDepth, &picture.colourType,
               &interlace, nullptr, nullptr);
  picture.interlaced = interlace != PNG_INTERLACE_NONE;
  png_uint_32 x = 0, y = 0;
  int unit = 0;
  if (png_get_pHYs(png, info, &x, &y, &unit)) {
    picture.resolutionUnit = unit;
    picture.xPixelsPerUnit = x;
    picture.yPixelsPerUnit = y;
  }
  png_set_expand(png);
  png_set_strip_16(png);
  png_set_strip_alpha(png);
  png_set_gray_to_rgb(png);
  const int passes = png_set_interlace_handling(png);
  png_read_update_info(png, info);
  const size_t stride = size_t(picture.width) * 3;
  picture.rgb.assign(stride * picture.height, 0);
  for (int pass = 0; pass < passes; ++pass)
    for (uint32_t row = 0; row < picture.height; ++row)
      png_read_row(png, picture.rgb.data() + row * stride, nullptr);
  png_read_end(png, nullptr);
  return true;
}

}  // namespace

uint32_t TPngPicture::pixel(uint32_t x, uint32_t y) const {
  const uint8_t* p = &rgb[(size_t(y) * width + x) * 3];
  return (uint32_t(p[0]) << 16) | (uint32_t(p[1]) << 8) | p[2];
}

bool decodePng(const std::vector<uint8_t>& bytes, TPngPicture& picture, std::string& error) {
  picture = TPngPicture();
  if (bytes.size() < 8 || png_sig_cmp(bytes.data(), 0, 8) != 0) {
    error = "not a PNG file";
    return false;
  }
  PngSource source;
  source.bytes = &bytes;
  png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, &source, onError, onWarning);
  png_infop info = png ? png_create_info_struct(png) : nullptr;
  const bool ok = info && readPicture(png, info, picture);
  png_destroy_read_struct(&png, &info, nullptr);
  if (!ok) error = source.error[0] ? source.error : "libpng could not start";
  return ok;
}

bool readPngFile(const std::string& path, TPngPicture& picture, std::string& error) {
  std::ifstream file(path, std::ios::binary);
  if (!file) {
    error = path + ": cannot open";
    return false;
  }
  const std::vector<uint8_t> bytes{std::istreambuf_iterator<char>(file), {}};
  if (decodePng(bytes, picture, error)) return true;
  error = path + ": " + error;
  return false;
}

}  // namespace plavesk::testing
