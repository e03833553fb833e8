#include "view/png_file.h"

#include <gtest/gtest.h>
#include <png.h>

#include <random>

#include "support/png_reader.h"

namespace plavesk {
namespace {

// The raster holds 0x00BBGGRR; the reader gives 0xRRGGBB.
uint32_t asRgb(CanvasColour c) {
  return ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF);
}
CanvasColour colour(int r, int g, int b) {
  return CanvasColour(r & 0xFF) | (CanvasColour(g & 0xFF) << 8) | (CanvasColour(b & 0xFF) << 16);
}

uint32_t be32(const std::vector<uint8_t>& b, size_t at) {
  return (uint32_t(b[at]) << 24) | (uint32_t(b[at + 1]) << 16) | (uint32_t(b[at + 2]) << 8) |
         b[at + 3];
}

TEST(PngFile, HeaderChunksAndSize) {
  RasterImage image(7, 3, 0x00FFFFFF);
  std::vector<uint8_t> png;
  std::string error;
  ASSERT_TRUE(encodePng(image, 300, png, error)) << error;
  EXPECT_EQ((std::vector<uint8_t>(png.begin(), png.begin() + 8)),
            (std::vector<uint8_t>{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'}));
  EXPECT_EQ(std::string(png.begin() + 12, png.begin() + 16), "IHDR");
  EXPECT_EQ(be32(png, 16), 7u);
  EXPECT_EQ(be32(png, 20), 3u);
  EXPECT_EQ(std::string(png.end() - 8, png.end() - 4), "IEND");
}

// Every pixel different in red, green and blue, so a swapped channel, a
// shifted row or a lost pixel at a row end shows; the noise picture
// compresses badly and spans many IDAT chunks.
TEST(PngFile, ReadsBackPixelForPixelWithItsResolution) {
  struct Case {
    int32_t width, height;
    double dpi;
    uint32_t pixelsPerMetre;
    bool noise;
  } cases[] = {
      {1, 1, 100, 3937, false},
      {7, 3, 300, 11811, false},
      {601, 400, 600, 23622, true},
  };
  std::mt19937 random(7);
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.width) + " x " + std::to_string(c.height));
    RasterImage image(c.width, c.height);
    for (int32_t y = 0; y < c.height; ++y)
      for (int32_t x = 0; x < c.width; ++x)
        image.setPixel(x, y,
                       c.noise ? CanvasColour(random() & 0xFFFFFF)
                               : colour(10 + 30 * x, 100 + 50 * y, 250 - x - y));
    std::vector<uint8_t> bytes;
    std::string error;
    ASSERT_TRUE(encodePng(image, c.dpi, bytes, error)) << error;

    testing::TPngPicture back;
    ASSERT_TRUE(testing::decodePng(bytes, back, error)) << error;
    EXPECT_EQ(back.width, uint32_t(c.width));
    EXPECT_EQ(back.height, uint32_t(c.height));
    EXPECT_EQ(back.bitDepth, 8);
    EXPECT_EQ(back.colourType, PNG_COLOR_TYPE_RGB);
    EXPECT_FALSE(back.interlaced);
    EXPECT_EQ(back.resolutionUnit, PNG_RESOLUTION_METER);
    EXPECT_EQ(back.xPixelsPerUnit, c.pixelsPerMetre);
    EXPECT_EQ(back.yPixelsPerUnit, c.pixelsPerMetre);
    int wrong = 0;
    for (int32_t y = 0; y < c.height; ++y)
      for (int32_t x = 0; x < c.width; ++x)
        if (back.pixel(uint32_t(x), uint32_t(y)) != asRgb(image.pixel(x, y)) && ++wrong <= 3)
          ADD_FAILURE() << "pixel " << x << "," << y;
    EXPECT_EQ(wrong, 0);
  }
}

TEST(PngFile, AnEmptyPictureIsRefusedWithAMessage) {
  for (auto [width, height] : {std::pair{0, 0}, std::pair{5, 0}, std::pair{0, 5}}) {
    std::vector<uint8_t> bytes{1, 2, 3};
    std::string error;
    EXPECT_FALSE(encodePng(RasterImage(width, height), 300, bytes, error))
        << width << "x" << height;
    EXPECT_NE(error.find("IHDR"), std::string::npos) << error;
    EXPECT_TRUE(bytes.empty());
  }
}

}  // namespace
}  // namespace plavesk
