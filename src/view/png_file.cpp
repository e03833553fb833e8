#include "view/png_file.h"

#include <zlib.h>

#include <cmath>
#include <stdexcept>
#include <string>

namespace plavesk {

namespace {

void put32(std::vector<uint8_t>& out, uint32_t v) {
  for (int i = 3; i >= 0; --i) out.push_back(uint8_t(v >> (8 * i)));
}

void chunk(std::vector<uint8_t>& out, const char* type, const std::vector<uint8_t>& data) {
  put32(out, uint32_t(data.size()));
  const size_t start = out.size();
  out.insert(out.end(), type, type + 4);
  out.insert(out.end(), data.begin(), data.end());
  uLong crc = crc32(0, out.data() + start, uInt(out.size() - start));
  put32(out, uint32_t(crc));
}

}  // namespace

std::vector<uint8_t> encodePng(const RasterImage& image, double dpi) {
  std::vector<uint8_t> out = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  std::vector<uint8_t> header;
  put32(header, uint32_t(image.width()));
  put32(header, uint32_t(image.height()));
  header.insert(header.end(), {8, 2, 0, 0, 0});  // 8 bits, RGB, deflate, no filter, no interlace
  chunk(out, "IHDR", header);
  std::vector<uint8_t> phys;
  const uint32_t ppm = uint32_t(std::nearbyint(dpi * 100 / 2.54));
  put32(phys, ppm);
  put32(phys, ppm);
  phys.push_back(1);
  chunk(out, "pHYs", phys);

  z_stream z{};
  if (deflateInit(&z, 6) != Z_OK) throw std::runtime_error("zlib initialisation failed");
  std::vector<uint8_t> compressed;
  std::vector<uint8_t> row(size_t(image.width()) * 3 + 1);
  std::vector<uint8_t> buffer(1 << 16);
  auto pump = [&](int flush) {
    do {
      z.next_out = buffer.data();
      z.avail_out = uInt(buffer.size());
      deflate(&z, flush);
      compressed.insert(compressed.end(), buffer.data(),
                        buffer.data() + (buffer.size() - z.avail_out));
    } while (z.avail_out == 0);
  };
  for (int32_t y = 0; y < image.height(); ++y) {
    row[0] = 0;
    const uint8_t* src = image.row(y);
    for (int32_t x = 0; x < image.width(); ++x) {
      row[1 + size_t(x) * 3] = src[size_t(x) * 3 + 2];
      row[2 + size_t(x) * 3] = src[size_t(x) * 3 + 1];
      row[3 + size_t(x) * 3] = src[size_t(x) * 3];
    }
    z.next_in = row.data();
    z.avail_in = uInt(row.size());
    pump(Z_NO_FLUSH);
  }
  z.next_in = nullptr;
  z.avail_in = 0;
  pump(Z_FINISH);
  deflateEnd(&z);
  chunk(out, "IDAT", compressed);
  chunk(out, "IEND", {});
  return out;
}

}  // namespace plavesk
