// The placement arithmetic of a printed sheet: where board points land on
// the paper with tiles, mirroring, scaling and correction; centring,
// dragging and the slider; the values the dialogs accept.
#include <gtest/gtest.h>

#include <cmath>

#include "printing/print_options.h"
#include "printing/print_sheet.h"

namespace plavesk {
namespace {

constexpr int32_t kW = 5000;  // 50 mm x 30 mm board
constexpr int32_t kH = 3000;

TEST(PrintPlacement, DefaultOffsetPutsTheBoardOneMillimetreIn) {
  const TPrintOptions o;
  EXPECT_EQ(paperOffset(o, kW, kH, 0, 0, 0, 0), (TPaperOffset{100, 100}));
  EXPECT_EQ(paperOffset(o, kW, kH, 0, 0, kW, -kH), (TPaperOffset{100 + kW, 100 + kH}));
}

TEST(PrintPlacement, TilesRepeatAtBoardSizePlusGap) {
  TPrintOptions o;
  o.tilesX = 3;
  o.tilesY = 2;
  o.tileGap = 200;
  EXPECT_EQ(blockWidth(o, kW), 3 * kW + 2 * 200);
  EXPECT_EQ(blockHeight(o, kH), 2 * kH + 200);
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 2; ++j)
      EXPECT_EQ(paperOffset(o, kW, kH, i, j, 10, -20),
                (TPaperOffset{10 + i * (kW + 200) + 100, 20 + j * (kH + 200) + 100}))
          << i << "," << j;
}

TEST(PrintPlacement, MirrorKeepsTheBlockAndTurnsItsContentsOver) {
  TPrintOptions plain;
  plain.tilesX = 3;
  plain.tileGap = 200;
  plain.offsetX = -350;
  TPrintOptions mirrored = plain;
  mirrored.mirror = true;
  // Column i lands where column n - 1 - i would be, turned over.
  for (int i = 0; i < 3; ++i)
    for (int32_t x : {0, 1234, kW}) {
      const TPaperOffset m = paperOffset(mirrored, kW, kH, i, 0, x, -700);
      const TPaperOffset p = paperOffset(plain, kW, kH, 2 - i, 0, kW - x, -700);
      EXPECT_EQ(m, p) << "column " << i << " x " << x;
    }
  // The block's left and right edges stay where they were.
  EXPECT_EQ(paperOffset(mirrored, kW, kH, 2, 0, kW, 0).right,
            paperOffset(plain, kW, kH, 0, 0, 0, 0).right);
  EXPECT_EQ(paperOffset(mirrored, kW, kH, 0, 0, 0, 0).right,
            paperOffset(plain, kW, kH, 2, 0, kW, 0).right);
}

// The device mapping of a tile must put every board point where
// paperOffset says, at the device's resolution, scaled by s and stretched
// by the correction factors where the device applies them.
TEST(PrintPlacement, TileMappingAgreesWithThePaperOffset) {
  struct Case {
    bool mirror;
    bool freeScale;
    int slider;
    double cx, cy;
    bool corrected;
  };
  const Case cases[] = {
      {false, false, 10, 1.0, 1.0, true},   {true, false, 10, 1.0, 1.0, true},
      {false, true, 20, 1.0, 1.0, true},    {true, true, 5, 1.0, 1.0, true},
      {false, false, 10, 1.01, 0.95, true}, {true, false, 10, 1.1, 0.9, true},
      {false, false, 10, 1.1, 0.9, false},
  };
  TSheetDevice device;
  device.pixelsPerMmX = 600 / 25.4;
  device.pixelsPerMmY = 300 / 25.4;
  device.originX = 37;
  device.originY = 55;
  for (const Case& c : cases) {
    TPrintOptions o;
    o.mirror = c.mirror;
    o.freeScale = c.freeScale;
    o.sliderPosition = c.slider;
    o.correctionX = c.cx;
    o.correctionY = c.cy;
    o.tilesX = 2;
    o.tilesY = 3;
    o.tileGap = 150;
    o.offsetX = -420;
    o.offsetY = 260;
    device.corrected = c.corrected;
    const double s = o.scaleDivisor();
    const double kx = c.corrected ? c.cx : 1.0, ky = c.corrected ? c.cy : 1.0;
    for (int i = 0; i < 2; ++i)
      for (int j = 0; j < 3; ++j) {
        const CanvasMapping m = tileMapping(o, kW, kH, i, j, device);
        for (auto [x, y] : {std::pair{0, 0}, {kW, -kH}, {1234, -567}}) {
          const TPaperOffset p = paperOffset(o, kW, kH, i, j, x, y);
          const double mmX = p.right * 0.01 * kx / s;
          const double mmY = p.below * 0.01 * ky / s;
          EXPECT_NEAR(m.deviceX(x), device.originX + mmX * device.pixelsPerMmX, 1e-6);
          EXPECT_NEAR(m.deviceY(y), device.originY + mmY * device.pixelsPerMmY, 1e-6);
        }
      }
  }
}

TEST(PrintPlacement, CentringPutsTheBlockInTheMiddleOfThePrintableArea) {
  struct Case {
    int tilesX, tilesY;
    int32_t gap;
    bool freeScale;
    int slider;
  };
  const Case cases[] = {
      {1, 1, 0, false, 10}, {3, 2, 200, false, 10}, {1, 1, 0, true, 20}, {2, 2, 100, true, 5}};
  const double pw = 200, ph = 287;
  for (const Case& c : cases) {
    TPrintOptions o;
    o.tilesX = c.tilesX;
    o.tilesY = c.tilesY;
    o.tileGap = c.gap;
    o.freeScale = c.freeScale;
    o.sliderPosition = c.slider;
    centreBlock(o, kW, kH, pw, ph);
    const double s = o.scaleDivisor();
    // Block centre in paper mm.
    const double left = -o.offsetX * 0.01 / s;
    const double top = o.offsetY * 0.01 / s;
    EXPECT_NEAR(left + blockWidth(o, kW) * 0.01 / s / 2, pw / 2, 0.02 / s);
    EXPECT_NEAR(top + blockHeight(o, kH) * 0.01 / s / 2, ph / 2, 0.02 / s);
  }
  TPrintOptions o;
  centreBlock(o, kW, kH, pw, ph);
  EXPECT_EQ(o.offsetX, 2500 - 10000);
  EXPECT_EQ(o.offsetY, 14350 - 1500);
}

TEST(PrintPlacement, SliderKeepsThePaperPositionAndTheLabel) {
  TPrintOptions o;
  o.freeScale = true;
  o.offsetX = -1000;
  o.offsetY = 600;
  setSliderPosition(o, 20);  // 200 %: s = 0.5
  EXPECT_DOUBLE_EQ(o.scaleDivisor(), 0.5);
  EXPECT_EQ(o.scalePercent(), 200);
  EXPECT_EQ(o.offsetX, -500);
  EXPECT_EQ(o.offsetY, 300);
  // The board's corner stays 10 mm right and 6 mm down of the corner.
  EXPECT_DOUBLE_EQ(-o.offsetX * 0.01 / o.scaleDivisor(), 10.0);
  EXPECT_DOUBLE_EQ(o.offsetY * 0.01 / o.scaleDivisor(), 6.0);
  setSliderPosition(o, 500);
  EXPECT_EQ(o.sliderPosition, kMaxSlider);
  setSliderPosition(o, 0);
  EXPECT_EQ(o.sliderPosition, kMinSlider);
}

TEST(PrintPlacement, DraggingMovesTheLayoutWithTheMouse) {
  TPrintOptions o;
  const TPaperOffset before = paperOffset(o, kW, kH, 0, 0, 0, 0);
  // 4 units a pixel: 25 pixels right and 10 up move the board by 100 and
  // -40 units.
  dragOffset(o, 100, 100, 125, 90, 4.0);
  const TPaperOffset after = paperOffset(o, kW, kH, 0, 0, 0, 0);
  EXPECT_EQ(after.right - before.right, 100);
  EXPECT_EQ(after.below - before.below, -40);
  // At 200 % a pixel covers half as many board units.
  o.freeScale = true;
  o.sliderPosition = 20;
  const TPaperOffset scaled = paperOffset(o, kW, kH, 0, 0, 0, 0);
  dragOffset(o, 0, 0, 10, 0, 4.0);
  EXPECT_EQ(paperOffset(o, kW, kH, 0, 0, 0, 0).right - scaled.right, 20);
}

TEST(PrintPlacement, CorrectionFactorsAreReadWithinTheirRange) {
  const std::pair<const char*, std::optional<double>> cases[] = {{"1.01", 1.01},
                                                                 {"0.8", 0.8},
                                                                 {"1.2", 1.2},
                                                                 {" 1.1 ", 1.1},
                                                                 {"1.00000", 1.0},
                                                                 {"1.25", std::nullopt},
                                                                 {"0.79999", std::nullopt},
                                                                 {"1,01", std::nullopt},
                                                                 {"", std::nullopt},
                                                                 {"abc", std::nullopt},
                                                                 {"1.1x", std::nullopt},
                                                                 {"nan", std::nullopt},
                                                                 {"-1", std::nullopt}};
  for (const auto& [text, expected] : cases) {
    const auto got = parseCorrectionFactor(text);
    ASSERT_EQ(got.has_value(), expected.has_value()) << "\"" << text << "\"";
    if (got) {
      EXPECT_DOUBLE_EQ(*got, *expected) << text;
    }
  }
  EXPECT_EQ(formatCorrectionFactor(1.0), "1.00000");
  EXPECT_EQ(formatCorrectionFactor(1.01), "1.01000");
}

TEST(PrintPlacement, DialogLimitsClampButLeaveCorrectionAlone) {
  TPrintOptions o;
  o.tilesX = 0;
  o.tilesY = 25;
  o.tileGap = 6000;
  o.sliderPosition = 101;
  o.padMaskEnlargement = 0;
  o.smdMaskEnlargement = 1000;
  o.drillTextHeight = 5;
  o.correctionX = 1.5;
  clampPrintOptions(o);
  EXPECT_EQ(o.tilesX, 1);
  EXPECT_EQ(o.tilesY, 20);
  EXPECT_EQ(o.tileGap, 5000);
  EXPECT_EQ(o.sliderPosition, 100);
  EXPECT_EQ(o.padMaskEnlargement, 1);
  EXPECT_EQ(o.smdMaskEnlargement, 999);
  EXPECT_EQ(o.drillTextHeight, 10);
  EXPECT_EQ(o.correctionX, 1.5);
}

TEST(PrintPlacement, NegativeTakesTheColourOfTheFirstPrintedItem) {
  TPrintOptions o;
  o.colours = {rgb(1, 0, 0), rgb(2, 0, 0), rgb(3, 0, 0), rgb(4, 0, 0),
               rgb(5, 0, 0), rgb(6, 0, 0), rgb(7, 0, 0), rgb(8, 0, 0)};
  const std::pair<std::array<bool, kPrintItemCount>, TColour> cases[] = {
      {{true, true, true, true, true, true, true, true}, rgb(1, 0, 0)},
      {{false, true, true, true, true, true, true, true}, rgb(3, 0, 0)},
      // Silkscreen never gives the colour.
      {{false, true, false, true, false, true, true, true}, rgb(6, 0, 0)},
      {{false, true, false, true, false, false, false, true}, rgb(8, 0, 0)},
      {{false, true, false, true, false, false, false, false}, rgb(0, 0, 0)}};
  for (const auto& [items, colour] : cases) {
    o.items = items;
    EXPECT_EQ(negativeColour(o), colour);
  }
}

TEST(PrintPlacement, DrillLabelsAndClipboardBitmap) {
  EXPECT_EQ(drillPlanLabel(40), "0.8");
  EXPECT_EQ(drillPlanLabel(50), "1");
  EXPECT_EQ(drillPlanLabel(65), "1.3");
  EXPECT_EQ(drillPlanLabel(3333), "66.66");
  EXPECT_EQ(drillPlanLabel(1), "0.02");

  TPrintOptions o;
  o.tilesX = 4;
  o.offsetX = 12345;
  o.freeScale = true;
  o.sliderPosition = 30;
  const TSheetBitmap b = sheetBitmap(o, 16000, 10000);
  EXPECT_EQ(b.width, 1890);  // 160 mm at 300 dpi
  EXPECT_EQ(b.height, 1181);
  // The board fills the bitmap: its corners on the bitmap's corners.
  for (bool mirror : {false, true}) {
    TPrintOptions m = b.options;
    m.mirror = mirror;
    const CanvasMapping map = tileMapping(m, 16000, 10000, 0, 0, b.device);
    EXPECT_NEAR(map.deviceX(mirror ? 16000 : 0), 0, 1e-9);
    EXPECT_NEAR(map.deviceX(mirror ? 0 : 16000), b.width, 1e-9);
    EXPECT_NEAR(map.deviceY(0), 0, 1e-9);
    EXPECT_NEAR(map.deviceY(-10000), b.height, 1e-9);
  }
}

}  // namespace
}  // namespace plavesk
