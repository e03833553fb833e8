// The sheet drawing on the raster canvas at 10 pixels a millimetre: ground
// plane and negative, mirroring, tiles, masks, drill plan and the option
// figures, checked pixel by pixel.
#include "printing/print_sheet.h"

#include <gtest/gtest.h>

#include "platform/core/raster_canvas.h"

namespace plavesk {
namespace {

constexpr TColour kCopper = rgb(200, 0, 0);
constexpr TColour kMask = rgb(0, 0, 200);
constexpr TColour kDrill = rgb(0, 150, 0);

// A 20 x 10 mm board: a horizontal track of width 1 mm and clearance 0.5 mm
// at y = -5 mm from x = 5 to 15 mm, a pad of radius 0.6 mm with a drill at
// (3, -3) mm and one without a drill at (15, -8) mm, all on copper 1.
struct SheetFixture : ::testing::Test {
  TObjektList list;
  TBoardRecord board;
  TPrintOptions options;

  SheetFixture() {
    board.width = 2000;
    board.height = 1000;
    auto track = createTrack(100, kCopper1);
    track->clearance = 50;
    addPoint(*track, {500, -500});
    addPoint(*track, {1500, -500});
    list.push_back(std::move(track));
    list.push_back(createPad({300, -300}, 60, kPadRound, kCopper1, 30));
    list.push_back(createPad({1500, -800}, 60, kPadRound, kCopper1, 0));
    options.items = {true, false, false, false, false, false, false, false};
    options.colours[kPrintCopper1] = kCopper;
    options.colours[kPrintMask1] = kMask;
    options.colours[kPrintDrill1] = kDrill;
    options.outline = false;
  }

  // Board point (x, y) of tile (0, 0) in image pixels: 10 px a mm.
  RasterImage draw(int32_t width = 240, int32_t height = 130) {
    RasterImage image(width, height, kWhite);
    RasterCanvas canvas(image);
    TPrintSource source{&list, &board, {}};
    TSheetDevice device;
    device.pixelsPerMmX = device.pixelsPerMmY = 10;
    drawPrintSheet(canvas, source, options, device, TRenderSettings());
    return image;
  }
  // The pixel showing board point (x, y) with the default offset.
  static CanvasColour at(const RasterImage& image, int32_t x, int32_t y) {
    return image.pixel(10 + x / 10, 10 - y / 10);
  }
};

TEST_F(SheetFixture, GroundPlaneAndNegative) {
  struct Case {
    bool plane;
    bool negative;
    TColour board, clearance, track;
  };
  // Ground plane, positive: the board in copper, clearances white, copper
  // elements in copper. Negative swaps it: no fill, clearances in the
  // override colour, elements white. Without a plane, positive leaves the
  // board white and negative fills it.
  const Case cases[] = {{true, false, kCopper, kWhite, kCopper},
                        {true, true, kWhite, kCopper, kWhite},
                        {false, false, kWhite, kWhite, kCopper},
                        {false, true, kCopper, kCopper, kWhite}};
  for (const Case& c : cases) {
    board.groundPlane1 = c.plane;
    options.negative = c.negative;
    const RasterImage image = draw();
    SCOPED_TRACE(testing::Message() << "plane " << c.plane << " negative " << c.negative);
    EXPECT_EQ(at(image, 1000, -850), c.board);
    EXPECT_EQ(at(image, 1000, -425), c.clearance);
    EXPECT_EQ(at(image, 1000, -500), c.track);
    // Pads are printed solid: no hole.
    EXPECT_EQ(at(image, 300, -300), c.track);
  }
}

TEST_F(SheetFixture, MirrorTurnsTheBoardOverInPlace) {
  for (bool mirror : {false, true}) {
    options.mirror = mirror;
    const RasterImage image = draw();
    // The pad at (3, -3) mm prints 1 + 3 mm in, or mirrored 1 + 17 mm in;
    // the one at (15, -8) mm 1 + 15 or 1 + 5 mm in.
    EXPECT_EQ(image.pixel(40, 40), mirror ? kWhite : kCopper);
    EXPECT_EQ(image.pixel(180, 40), mirror ? kCopper : kWhite);
    EXPECT_EQ(image.pixel(160, 90), mirror ? kWhite : kCopper);
    EXPECT_EQ(image.pixel(60, 90), mirror ? kCopper : kWhite);
    // The track from 5 to 15 mm covers the same pixels either way.
    EXPECT_EQ(image.pixel(70, 60), kCopper);
    EXPECT_EQ(image.pixel(150, 60), kCopper);
  }
}

TEST_F(SheetFixture, TilesRepeatTheBoard) {
  options.tilesX = 3;
  options.tilesY = 2;
  options.tileGap = 200;
  const RasterImage image = draw(700, 240);
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 2; ++j) {
      EXPECT_EQ(image.pixel(40 + 220 * i, 40 + 120 * j), kCopper) << i << "," << j;
      // The gap between tiles stays empty.
      EXPECT_EQ(image.pixel(40 + 220 * i, 115 + 120 * j), kWhite) << i << "," << j;
    }
}

TEST_F(SheetFixture, MaskGrowsPadsByTheEnlargement) {
  options.items = {false, false, false, false, true, false, false, false};
  // 7.5 pixels from the centre of a pad of radius 6 pixels.
  const std::pair<int32_t, TColour> cases[] = {{30, kMask}, {10, kWhite}};
  for (const auto& [grow, colour] : cases) {
    options.padMaskEnlargement = grow;
    const RasterImage image = draw();
    EXPECT_EQ(at(image, 375, -300), colour) << grow;
    EXPECT_EQ(at(image, 300, -300), kMask);
  }
  // The pads' mask can be switched off.
  options.maskPads = false;
  EXPECT_EQ(at(draw(), 300, -300), kWhite);
  // In negative the mask openings are white on the filled board.
  options.maskPads = true;
  options.negative = true;
  options.items = {false, false, false, false, true, false, false, false};
  EXPECT_EQ(at(draw(), 300, -300), kWhite);
  EXPECT_EQ(at(draw(), 1000, -850), kMask);
}

TEST_F(SheetFixture, DrillPlanCrossesOnlyDrilledPads) {
  options.items = {false, false, false, false, false, false, true, false};
  const RasterImage image = draw();
  EXPECT_EQ(at(image, 300, -300), kDrill);
  EXPECT_EQ(at(image, 1500, -800), kWhite);
  // Nothing of the copper.
  EXPECT_EQ(at(image, 1000, -500), kWhite);
}

TEST_F(SheetFixture, OutlineAndTargets) {
  options.items = {false, false, false, false, false, false, false, false};
  options.offsetX = -1100;  // the board 11 mm in, room for the crosses
  options.offsetY = 1100;
  board.width = 4000;  // longer than two arms of a cross
  struct Case {
    bool outline, targets;
  };
  for (const Case& c : {Case{false, false}, Case{true, false}, Case{false, true}}) {
    options.outline = c.outline;
    options.targets = c.targets;
    const RasterImage image = draw(640, 330);
    SCOPED_TRACE(testing::Message() << "outline " << c.outline << " targets " << c.targets);
    // The top edge halfway along.
    EXPECT_EQ(image.pixel(310, 110), c.outline ? kBlack : kWhite);
    // 5 mm above the top left corner, on the cross's arm.
    EXPECT_EQ(image.pixel(110, 60), c.targets ? kBlack : kWhite);
    // 5 mm right of the bottom right corner.
    EXPECT_EQ(image.pixel(560, 210), c.targets ? kBlack : kWhite);
  }
}

// A quarter ring from 0 to 90 degrees: mirrored, the mapping turns arcs
// the other way round, so the angles change places and the ring keeps its
// place on the board (upper right of its centre) in the mirror image.
TEST_F(SheetFixture, MirroredArcKeepsItsQuadrant) {
  list.clear();
  list.push_back(createCircle({1000, -500}, 300, kPadRound, kCopper1, 250));
  list.back()->angle = 0;
  list.back()->dim3 = 90;
  for (bool mirror : {false, true}) {
    options.mirror = mirror;
    const RasterImage image = draw();
    // World point -> pixel, mirrored about the block.
    auto pixel = [&](int32_t x, int32_t y) {
      const int32_t right = mirror ? board.width + 100 - x : x + 100;
      return image.pixel(right / 10, (100 - y) / 10);
    };
    EXPECT_EQ(pixel(1195, -305), kCopper) << mirror;  // on the ring at 45 degrees
    EXPECT_EQ(pixel(805, -305), kWhite) << mirror;    // at 135 degrees: not drawn
  }
}

// The template of side 1 as a two-colour picture: dark pixels in the layer
// colour and light ones white, or the other way round in negative.
TEST_F(SheetFixture, TemplateInTheLayerColour) {
  list.clear();
  CanvasImage picture;
  picture.width = 2;
  picture.height = 1;
  picture.pixels = {kBlack, kWhite};
  picture.twoColour = true;
  board.template1Dpi = 10;  // 2 pixels cover 5.08 mm
  TPrintSource source{&list, &board, {&picture, nullptr}};
  struct Case {
    bool useTemplate, negative;
    TColour dark, light;
  };
  const Case cases[] = {{false, false, kWhite, kWhite},
                        {true, false, kCopper, kWhite},
                        {true, true, kWhite, kCopper}};
  for (const Case& c : cases) {
    options.useTemplate = c.useTemplate;
    options.negative = c.negative;
    RasterImage image(240, 130, kWhite);
    RasterCanvas canvas(image);
    TSheetDevice device;
    device.pixelsPerMmX = device.pixelsPerMmY = 10;
    drawPrintSheet(canvas, source, options, device, TRenderSettings());
    EXPECT_EQ(at(image, 100, -100), c.dark) << c.useTemplate << c.negative;
    EXPECT_EQ(at(image, 400, -100), c.light) << c.useTemplate << c.negative;
  }
}

}  // namespace
}  // namespace plavesk
