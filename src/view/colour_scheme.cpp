#include "view/colour_scheme.h"

#include "document/byte_io.h"

namespace plavesk {

TColourScheme standardColourScheme() {
  TColourScheme s;
  s[kColourBackground] = 0x00000000;
  s[kColourGrid] = rgb(110, 110, 110);
  s[kColourCopper1] = 0x00FF0000;
  s[kColourSilk1] = 0x000000FF;
  s[kColourCopper2] = rgb(0, 186, 0);
  s[kColourSilk2] = rgb(225, 215, 4);
  s[kColourReserved6] = 0x00800000;
  s[kColourConnections] = 0x0000FF00;
  s[kColourReserved8] = 0x00FF0000;
  return s;
}

std::vector<uint8_t> encodeColourScheme(const TColourScheme& scheme) {
  ByteWriter w;
  for (TColour c : scheme.colours) w.u32(c);
  return std::move(w.bytes());
}

TSchemeDecodeResult decodeColourScheme(const uint8_t* data, size_t size) {
  TSchemeDecodeResult result;
  if (size != kColourSchemeSize) {
    result.error = size < kColourSchemeSize
                       ? "too short for a colour scheme: " + std::to_string(size) + " of 36 bytes"
                       : "not a colour scheme: " + std::to_string(size) + " bytes instead of 36";
    return result;
  }
  ByteReader r(data, size);
  for (TColour& c : result.scheme.colours) c = r.u32();
  result.ok = !r.failed();
  return result;
}

int clearSystemColourReferences(TColourScheme& scheme) {
  int replaced = 0;
  for (TColour& c : scheme.colours) {
    if (int32_t(c) < 0) {
      c = 0;
      ++replaced;
    }
  }
  return replaced;
}

std::optional<int> layerColourIndex(int layer) {
  switch (layer) {
    case 1:
      return kColourCopper1;
    case 2:
      return kColourSilk1;
    case 3:
      return kColourCopper2;
    case 4:
      return kColourSilk2;
    default:
      return std::nullopt;
  }
}

std::optional<TColour> layerColour(const TColourScheme& scheme, int layer) {
  if (auto index = layerColourIndex(layer)) return scheme[*index];
  return std::nullopt;
}

}  // namespace plavesk
