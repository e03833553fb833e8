#include "view/png_file.h"

#include <png.h>

#include <cmath>
#include <cstdio>
#include <new>

namespace plavesk {

namespace {

// What the callbacks share with encodePng. libpng says what went wrong in a
// warning first (the reason an IHDR is invalid) and then in the error.
struct PngWrite {
  std::vector<uint8_t>* out = nullptr;
  char warning[128] = "";
  char error[128] = "";
};

PngWrite& stateOf(png_structp png) {
  return *static_cast<PngWrite*>(png_get_error_ptr(png));
}

[[noreturn]] void onError(png_structp png, png_const_charp message) {
  std::snprintf(stateOf(png).error, sizeof PngWrite::error, "%s", message);
  png_longjmp(png, 1);
}

void onWarning(png_structp png, png_const_charp message) {
  std::snprintf(stateOf(png).warning, sizeof PngWrite::warning, "%s", message);
}

void appendBytes(png_structp png, png_bytep data, size_t length) {
  bool full = false;
  try {
    std::vector<uint8_t>& out = *stateOf(png).out;
    out.insert(out.end(), data, data + length);
  } catch (const std::bad_alloc&) {
    full = true;
  }
  // Outside the handler: png_error does not return.
  if (full) png_error(png, "out of memory");
}

void flushNothing(png_structp) {}

// Every libpng call of the write. libpng leaves this frame by longjmp on an
// error, so nothing here may need a destructor.
bool writeRows(png_structp png, png_infop info, const RasterImage& image, png_uint_32 ppm) {
  if (setjmp(png_jmpbuf(png))) return false;
  png_set_write_fn(png, nullptr, appendBytes, flushNothing);
  // The format's own limit rather than libpng's default of a million pixels.
  png_set_user_limits(png, PNG_UINT_31_MAX, PNG_UINT_31_MAX);
  png_set_IHDR(png, info, png_uint_32(image.width()), png_uint_32(image.height()), 8,
               PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
               PNG_FILTER_TYPE_DEFAULT);
  png_set_pHYs(png, info, ppm, ppm, PNG_RESOLUTION_METER);
  // Board pictures are large flat areas: unfiltered rows compress about as
  // well and cost a fraction of adaptive filtering.
  png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_NONE);
  png_set_compression_level(png, 6);
  png_write_info(png, info);
  png_set_bgr(png);  // the raster keeps blue, green, red
  for (int32_t y = 0; y < image.height(); ++y) png_write_row(png, image.row(y));
  png_write_end(png, nullptr);
  return true;
}

}  // namespace

bool encodePng(const RasterImage& image, double dpi, std::vector<uint8_t>& out,
               std::string& error) {
  out.clear();
  PngWrite state;
  state.out = &out;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, &state, onError, onWarning);
  png_infop info = png ? png_create_info_struct(png) : nullptr;
  const png_uint_32 ppm = png_uint_32(std::nearbyint(dpi * 100 / 2.54));
  const bool ok = info && writeRows(png, info, image, ppm);
  png_destroy_write_struct(&png, &info);
  if (ok) return true;
  out.clear();
  error = "PNG: ";
  error += !png || !info ? "out of memory" : state.error;
  if (state.warning[0]) error += std::string(" (") + state.warning + ")";
  return false;
}

}  // namespace plavesk
