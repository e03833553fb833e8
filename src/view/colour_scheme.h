// Colour values and the nine-colour scheme every drawing routine reads.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace plavesk {

// 0x00BBGGRR: red in the lowest byte.
using TColour = uint32_t;

constexpr TColour rgb(uint8_t r, uint8_t g, uint8_t b) {
  return TColour(r) | (TColour(g) << 8) | (TColour(b) << 16);
}
constexpr uint8_t redOf(TColour c) {
  return uint8_t(c & 0xFF);
}
constexpr uint8_t greenOf(TColour c) {
  return uint8_t((c >> 8) & 0xFF);
}
constexpr uint8_t blueOf(TColour c) {
  return uint8_t((c >> 16) & 0xFF);
}

// Positions in the scheme. The two reserved entries are never drawn but are
// carried along whenever a scheme is copied, saved or loaded.
enum SchemeColour : int {
  kColourBackground = 0,
  kColourGrid = 1,
  kColourCopper1 = 2,
  kColourSilk1 = 3,
  kColourCopper2 = 4,
  kColourSilk2 = 5,
  kColourReserved6 = 6,
  kColourConnections = 7,
  kColourReserved8 = 8,
};

constexpr int kSchemeColourCount = 9;
constexpr size_t kColourSchemeSize = 36;  // nine little-endian 32-bit values

struct TColourScheme {
  std::array<TColour, kSchemeColourCount> colours{};  // all black

  TColour operator[](int index) const { return colours[size_t(index)]; }
  TColour& operator[](int index) { return colours[size_t(index)]; }
  bool operator==(const TColourScheme&) const = default;
};

// The built-in "Standard" scheme.
TColourScheme standardColourScheme();

// The 36-byte record, byte for byte.
std::vector<uint8_t> encodeColourScheme(const TColourScheme& scheme);

struct TSchemeDecodeResult {
  bool ok = false;
  TColourScheme scheme;
  std::string error;
};
// Accepts exactly 36 bytes. The values are taken as stored; a value with the
// top bit set (a system-colour reference) is kept, see
// `clearSystemColourReferences`.
TSchemeDecodeResult decodeColourScheme(const uint8_t* data, size_t size);

// System-colour references (negative as 32-bit signed values) become black.
// Returns how many entries were replaced.
int clearSystemColourReferences(TColourScheme& scheme);

// The scheme colour of layers 1..4 (copper 1, silkscreen 1, copper 2,
// silkscreen 2); other layer codes have none.
std::optional<int> layerColourIndex(int layer);
std::optional<TColour> layerColour(const TColourScheme& scheme, int layer);

}  // namespace plavesk
