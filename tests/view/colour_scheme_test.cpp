#include "view/colour_scheme.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace plavesk {
namespace {

TEST(ColourValue, RedIsTheLowestByte) {
  EXPECT_EQ(rgb(0x12, 0x34, 0x56), 0x00563412u);
  EXPECT_EQ(redOf(0x00563412u), 0x12);
  EXPECT_EQ(greenOf(0x00563412u), 0x34);
  EXPECT_EQ(blueOf(0x00563412u), 0x56);
}

// The Standard scheme written out by hand, little-endian 0x00BBGGRR.
const std::vector<uint8_t> kStandardRecord = {
    0x00, 0x00, 0x00, 0x00,  // background: black
    0x6E, 0x6E, 0x6E, 0x00,  // grid: RGB(110, 110, 110)
    0x00, 0x00, 0xFF, 0x00,  // copper 1: blue
    0xFF, 0x00, 0x00, 0x00,  // silkscreen 1: red
    0x00, 0xBA, 0x00, 0x00,  // copper 2: RGB(0, 186, 0)
    0xE1, 0xD7, 0x04, 0x00,  // silkscreen 2: RGB(225, 215, 4)
    0x00, 0x00, 0x80, 0x00,  // reserved: navy
    0x00, 0xFF, 0x00, 0x00,  // connections: lime
    0x00, 0x00, 0xFF, 0x00,  // reserved
};

TEST(ColourSchemeRecord, StandardSchemeIsWrittenByteForByte) {
  EXPECT_EQ(encodeColourScheme(standardColourScheme()), kStandardRecord);
}

TEST(ColourSchemeRecord, DecodesEachValueLittleEndianInItsSlot) {
  std::vector<uint8_t> bytes(kColourSchemeSize);
  for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = uint8_t(i + 1);
  TSchemeDecodeResult r = decodeColourScheme(bytes.data(), bytes.size());
  ASSERT_TRUE(r.ok) << r.error;
  EXPECT_EQ(r.scheme[0], 0x04030201u);
  EXPECT_EQ(r.scheme[kColourConnections], 0x201F1E1Du);
  EXPECT_EQ(r.scheme[kColourReserved8], 0x24232221u);
  EXPECT_EQ(encodeColourScheme(r.scheme), bytes);
}

TEST(ColourSchemeRecord, RejectsAnyOtherSize) {
  std::vector<uint8_t> bytes(40, 0x11);
  for (size_t size : {size_t{0}, size_t{4}, size_t{35}, size_t{37}, size_t{40}}) {
    TSchemeDecodeResult r = decodeColourScheme(bytes.data(), size);
    EXPECT_FALSE(r.ok) << size;
    EXPECT_NE(r.error.find(std::to_string(size)), std::string::npos) << r.error;
    EXPECT_EQ(r.scheme, TColourScheme{}) << size;
  }
  EXPECT_FALSE(decodeColourScheme(nullptr, 0).ok);
}

TEST(ColourSchemeRecord, SystemColourReferencesBecomeBlackOthersStay) {
  TColourScheme s = standardColourScheme();
  s[kColourGrid] = 0x80000000u;
  s[kColourSilk2] = 0xFFFFFFFFu;
  s[kColourReserved8] = 0x7FFFFFFFu;  // odd but not a reference
  EXPECT_EQ(clearSystemColourReferences(s), 2);
  EXPECT_EQ(s[kColourGrid], 0u);
  EXPECT_EQ(s[kColourSilk2], 0u);
  EXPECT_EQ(s[kColourReserved8], 0x7FFFFFFFu);
  EXPECT_EQ(s[kColourCopper1], standardColourScheme()[kColourCopper1]);
}

TEST(ColourSchemeRecord, LayerColours) {
  const TColourScheme s = standardColourScheme();
  struct Case {
    int layer;
    std::optional<TColour> colour;
  };
  const Case cases[] = {
      {1, 0x00FF0000u},  {2, 0x000000FFu},  {3, rgb(0, 186, 0)}, {4, rgb(225, 215, 4)},
      {0, std::nullopt}, {5, std::nullopt}, {-1, std::nullopt},
  };
  for (const Case& c : cases) EXPECT_EQ(layerColour(s, c.layer), c.colour) << c.layer;
}

}  // namespace
}  // namespace plavesk
