// Layout files of the older versions, written by code for tests and the
// fuzzer's seed corpus.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "document/objekt.h"

namespace plavesk::testing {

// An element in the older record forms; the fields not listed are zero.
struct OldElement {
  uint8_t kind;
  int32_t values[5];
  uint8_t layer;
  uint8_t padShape = 0;
  std::string text;
  int16_t legacyGroup = 0;
  int32_t angle = 0;
  uint8_t filled = 0;
  int32_t clearance = 0;
  std::vector<int32_t> groupIds;
  std::vector<TPoint> points;
  int32_t link = -1;
  std::vector<int32_t> connections;
};

// One board of width 5000 named "Alt" with the given ground-plane flags.
std::vector<uint8_t> makeV3File(const std::vector<OldElement>& elements, uint8_t gp1, uint8_t gp2);
// Versions 0..2: one board 9000 x 7000.
std::vector<uint8_t> makeLegacyFile(int version, const std::vector<OldElement>& elements);

}  // namespace plavesk::testing
