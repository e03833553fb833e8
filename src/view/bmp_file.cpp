#include "view/bmp_file.h"

#include <cmath>

#include "view/image_export.h"

namespace plavesk {

namespace {

void put16(std::vector<uint8_t>& b, size_t at, uint32_t v) {
  b[at] = uint8_t(v);
  b[at + 1] = uint8_t(v >> 8);
}
void put32(std::vector<uint8_t>& b, size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i) b[at + size_t(i)] = uint8_t(v >> (8 * i));
}
uint32_t get32(const std::vector<uint8_t>& b, size_t at) {
  return uint32_t(b[at]) | (uint32_t(b[at + 1]) << 8) | (uint32_t(b[at + 2]) << 16) |
         (uint32_t(b[at + 3]) << 24);
}
uint16_t get16(const std::vector<uint8_t>& b, size_t at) {
  return uint16_t(b[at] | (b[at + 1] << 8));
}

constexpr size_t kFileHeader = 14;
constexpr size_t kInfoHeader = 40;

// File and info header of a bottom-up bitmap; the caller fills the rest.
std::vector<uint8_t> bmpHeader(const RasterImage& image, int bits, size_t paletteBytes,
                               size_t stride, double dpi) {
  const size_t offset = kFileHeader + kInfoHeader + paletteBytes;
  const size_t total = offset + stride * size_t(image.height());
  std::vector<uint8_t> b(total, 0);
  b[0] = 'B';
  b[1] = 'M';
  put32(b, 2, uint32_t(total));
  put32(b, 10, uint32_t(offset));
  put32(b, 14, kInfoHeader);
  put32(b, 18, uint32_t(image.width()));
  put32(b, 22, uint32_t(image.height()));
  put16(b, 26, 1);
  put16(b, 28, uint32_t(bits));
  put32(b, 34, uint32_t(stride * size_t(image.height())));
  const uint32_t ppm = uint32_t(std::nearbyint(dpi * 100 / 2.54));
  put32(b, 38, ppm);
  put32(b, 42, ppm);
  return b;
}

}  // namespace

std::vector<uint8_t> encodeBmp24(const RasterImage& image, double dpi) {
  const size_t rowBytes = size_t(image.width()) * 3;
  const size_t stride = (rowBytes + 3) & ~size_t(3);
  std::vector<uint8_t> b = bmpHeader(image, 24, 0, stride, dpi);
  const size_t offset = kFileHeader + kInfoHeader;
  for (int32_t y = 0; y < image.height(); ++y) {
    const uint8_t* src = image.row(y);
    std::copy(src, src + rowBytes,
              b.begin() + ptrdiff_t(offset + size_t(image.height() - 1 - y) * stride));
  }
  return b;
}

std::vector<uint8_t> encodeBmp1(const RasterImage& image, double dpi, CanvasColour background) {
  const size_t stride = ((size_t(image.width()) + 31) / 32) * 4;
  std::vector<uint8_t> b = bmpHeader(image, 1, 8, stride, dpi);
  put32(b, 46, 2);
  const size_t palette = kFileHeader + kInfoHeader;
  put32(b, palette, 0x00000000);
  put32(b, palette + 4, 0x00FFFFFF);
  const size_t offset = palette + 8;
  for (int32_t y = 0; y < image.height(); ++y) {
    uint8_t* dst = &b[offset + size_t(image.height() - 1 - y) * stride];
    for (int32_t x = 0; x < image.width(); ++x)
      if (!isBlackInMonochrome(image.pixel(x, y), background))
        dst[x / 8] |= uint8_t(0x80 >> (x % 8));
  }
  return b;
}

TBmpReadResult decodeBmp(const std::vector<uint8_t>& d) {
  TBmpReadResult r;
  if (d.size() < kFileHeader + kInfoHeader || d[0] != 'B' || d[1] != 'M') {
    r.error = "not a Windows bitmap";
    return r;
  }
  const uint32_t offset = get32(d, 10);
  const uint32_t infoSize = get32(d, 14);
  const int32_t width = int32_t(get32(d, 18));
  const int32_t rawHeight = int32_t(get32(d, 22));
  const int bits = get16(d, 28);
  const uint32_t compression = get32(d, 30);
  const int32_t ppm = int32_t(get32(d, 38));
  if (infoSize < kInfoHeader || compression != 0 || width <= 0 || rawHeight == 0 ||
      rawHeight == INT32_MIN || (bits != 1 && bits != 4 && bits != 8 && bits != 24 && bits != 32)) {
    r.error = "unsupported bitmap format";
    return r;
  }
  const bool bottomUp = rawHeight > 0;
  const int32_t height = bottomUp ? rawHeight : -rawHeight;
  if (int64_t(width) * height > (int64_t(1) << 28)) {
    r.error = "bitmap too large";
    return r;
  }
  const size_t stride = ((size_t(width) * size_t(bits) + 31) / 32) * 4;
  if (offset > d.size() || stride * size_t(height) > d.size() - offset) {
    r.error = "bitmap data truncated";
    return r;
  }
  std::vector<CanvasColour> palette;
  if (bits <= 8) {
    uint32_t used = get32(d, 46);
    if (used == 0 || used > (1u << bits)) used = 1u << bits;
    const size_t at = kFileHeader + infoSize;
    for (uint32_t i = 0; i < used && at + 4 * (i + 1) <= offset; ++i) {
      const size_t p = at + 4 * i;
      palette.push_back(CanvasColour(d[p + 2]) | (CanvasColour(d[p + 1]) << 8) |
                        (CanvasColour(d[p]) << 16));
    }
  }
  r.image.width = width;
  r.image.height = height;
  r.image.twoColour = bits == 1;
  r.image.pixels.resize(size_t(width) * size_t(height));
  for (int32_t y = 0; y < height; ++y) {
    const uint8_t* row = &d[offset + size_t(bottomUp ? height - 1 - y : y) * stride];
    for (int32_t x = 0; x < width; ++x) {
      CanvasColour c = 0;
      if (bits <= 8) {
        const int perByte = 8 / bits;
        const int shift = 8 - bits * (x % perByte + 1);
        const size_t index = size_t((row[x / perByte] >> shift) & ((1 << bits) - 1));
        c = index < palette.size() ? palette[index] : 0;
      } else {
        const uint8_t* p = row + size_t(x) * size_t(bits / 8);
        c = CanvasColour(p[2]) | (CanvasColour(p[1]) << 8) | (CanvasColour(p[0]) << 16);
      }
      r.image.pixels[size_t(y) * size_t(width) + size_t(x)] = c;
    }
  }
  r.dpi = int32_t(std::nearbyint(ppm * 2.54 / 100));
  r.ok = true;
  return r;
}

}  // namespace plavesk
