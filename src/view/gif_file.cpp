#include "view/gif_file.h"

#include <gif_lib.h>

#include <algorithm>
#include <limits>
#include <unordered_map>

namespace plavesk {

namespace {

size_t paddedPaletteSize(size_t n) {
  if (n <= 2) return n;
  if (n <= 16) return 16;
  return 256;
}

int nearest(const std::vector<CanvasColour>& palette, size_t count, CanvasColour c) {
  int best = 0;
  int bestDistance = std::numeric_limits<int>::max();
  for (size_t i = 0; i < count; ++i) {
    const CanvasColour p = palette[i];
    const int dr = int(p & 0xFF) - int(c & 0xFF);
    const int dg = int((p >> 8) & 0xFF) - int((c >> 8) & 0xFF);
    const int db = int((p >> 16) & 0xFF) - int((c >> 16) & 0xFF);
    const int d = dr * dr + dg * dg + db * db;
    if (d < bestDistance) {
      bestDistance = d;
      best = int(i);
    }
  }
  return best;
}

int writeToVector(GifFileType* gif, const GifByteType* data, int length) {
  auto* out = static_cast<std::vector<uint8_t>*>(gif->UserData);
  out->insert(out->end(), data, data + length);
  return length;
}

}  // namespace

TPaletteImage toPaletteImage(const RasterImage& image) {
  TPaletteImage p;
  p.width = image.width();
  p.height = image.height();
  p.indexes.resize(size_t(p.width) * size_t(p.height));
  std::unordered_map<CanvasColour, int> index;
  std::vector<CanvasColour> overflow;
  size_t i = 0;
  for (int32_t y = 0; y < p.height; ++y) {
    for (int32_t x = 0; x < p.width; ++x, ++i) {
      const CanvasColour c = image.pixel(x, y);
      auto it = index.find(c);
      if (it == index.end()) {
        const int next =
            p.palette.size() < 256 ? int(p.palette.size()) : nearest(p.palette, 256, c);
        if (p.palette.size() < 256) p.palette.push_back(c);
        ++p.distinctColours;
        it = index.emplace(c, next).first;
      }
      p.indexes[i] = uint8_t(it->second);
    }
  }
  p.palette.resize(paddedPaletteSize(p.palette.size()), 0);
  return p;
}

bool encodeGif(const TPaletteImage& image, std::vector<uint8_t>& out, std::string& error) {
  out.clear();
  if (image.width <= 0 || image.height <= 0 || image.width > 65535 || image.height > 65535) {
    error = "GIF pictures are 1 to 65535 pixels wide and high";
    return false;
  }
  // A GIF colour table has 2^n entries, at least two.
  std::vector<GifColorType> colours(std::max<size_t>(image.palette.size(), 2));
  for (size_t i = 0; i < image.palette.size(); ++i)
    colours[i] = {GifByteType(image.palette[i] & 0xFF), GifByteType((image.palette[i] >> 8) & 0xFF),
                  GifByteType((image.palette[i] >> 16) & 0xFF)};
  int code = 0;
  GifFileType* gif = EGifOpen(&out, writeToVector, &code);
  if (!gif) {
    error = std::string("GIF encoder: ") + GifErrorString(code);
    return false;
  }
  ColorMapObject* map = GifMakeMapObject(int(colours.size()), colours.data());
  bool ok =
      map &&
      EGifPutScreenDesc(gif, image.width, image.height, map->BitsPerPixel, 0, map) == GIF_OK &&
      EGifPutImageDesc(gif, 0, 0, image.width, image.height, false, nullptr) == GIF_OK;
  for (int32_t y = 0; ok && y < image.height; ++y) {
    auto* row = const_cast<GifPixelType*>(&image.indexes[size_t(y) * size_t(image.width)]);
    ok = EGifPutLine(gif, row, image.width) == GIF_OK;
  }
  if (!ok) error = std::string("GIF encoder: ") + GifErrorString(gif->Error);
  GifFreeMapObject(map);
  int closeError = 0;
  if (EGifCloseFile(gif, &closeError) != GIF_OK && ok) {
    error = std::string("GIF encoder: ") + GifErrorString(closeError);
    ok = false;
  }
  return ok;
}

}  // namespace plavesk
