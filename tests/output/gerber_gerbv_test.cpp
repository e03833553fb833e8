// Every output of a fixture board rendered by gerbv and compared with our
// own flat picture of the same layer.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "document/layout_file.h"
#include "gerber_test_raster.h"
#include "output/excellon_export.h"
#include "output/fab_export.h"
#include "output/gerber_export.h"

namespace plavesk {
namespace {

namespace fs = std::filesystem;
using namespace gerber_testing;

constexpr double kMinAgreement = 0.99;

TObjekt& add(TObjektList& l, TObjektPtr e, int32_t clearance = 40) {
  e->clearance = clearance;
  l.push_back(std::move(e));
  return *l.back();
}

TObjekt& track(TObjektList& l, int layer, int32_t width, std::vector<TPoint> points,
               int32_t clearance = 40) {
  TObjekt& t = add(l, createTrack(width, layer), clearance);
  t.points = std::move(points);
  return t;
}

TObjekt& circle(TObjektList& l, int layer, TPoint c, int32_t outer, int32_t inner, int from, int to,
                bool filled = false) {
  TObjekt& e = add(l, createCircle(c, outer, kPadRound, layer, inner));
  e.angle = from;
  e.dim3 = to;
  e.filled = filled;
  return e;
}

TObjekt& text(TObjektList& l, int layer, TPoint at) {
  TObjekt& t = add(l, createText(at, "LT", false, false, layer, 0, 1, 1, 200));
  for (auto points :
       {std::vector<TPoint>{{at.x, at.y}, {at.x, at.y - 200}, {at.x + 100, at.y - 200}},
        std::vector<TPoint>{{at.x + 150, at.y}, {at.x + 250, at.y}},
        std::vector<TPoint>{{at.x + 200, at.y}, {at.x + 200, at.y - 200}}}) {
    auto stroke = createTrack(24, layer);
    stroke->points = points;
    t.strokes.push_back(std::move(stroke));
  }
  return t;
}

// 30 x 20 mm with every kind on both copper sides and both silkscreens:
// the nine pad shapes, a bare hole, a pad without drill, a through pair,
// SMD pads of odd sizes, tracks, a legacy line, areas and a cut-out, rings,
// arcs, a disc and texts. One track has no clearance and joins the plane.
TBoardRecord fixtureBoard(TObjektList& l) {
  TBoardRecord board;
  board.width = 3000;
  board.height = 2000;
  for (int shape = 1; shape <= 9; ++shape)
    add(l, createPad({300 * shape, -450}, 60, shape, kCopper1, 30));
  add(l, createPad({300, -1000}, 50, kPadRound, kCopper1, 50));
  add(l, createPad({600, -1000}, 60, kPadSquare, kCopper1, 0));
  TObjekt& top = add(l, createPad({900, -1000}, 70, kPadOctagon, kCopper1, 35));
  TObjekt& bottom = add(l, createPad({900, -1000}, 70, kPadOctagon, kCopper2, 35));
  top.padLink = &bottom;
  bottom.padLink = &top;
  add(l, createSmdPad({1300, -1000}, 150, kCopper1, 80));
  add(l, createSmdPad({1600, -1000}, 81, kCopper1, 151));
  track(l, kCopper1, 50, {{300, -1400}, {1000, -1400}, {1300, -1700}});
  track(l, kCopper1, 30, {{1400, -1250}, {1900, -1250}}, 0);
  TObjekt& line = add(l, std::make_unique<TObjekt>());
  line.kind = kLine;
  line.layer = kCopper1;
  line.x = 1500;
  line.y = -1350;
  line.dim1 = 2000;
  line.dim2 = -1450;
  line.dim3 = 30;
  TObjekt& area = add(l, createArea(20, kCopper1));
  area.points = {{2000, -1550}, {2600, -1550}, {2600, -1850}, {2200, -1850}};
  TObjekt& cutout = add(l, createArea(20, kCopper1));
  cutout.points = {{1600, -1850}, {1900, -1850}, {1900, -1650}, {1600, -1650}};
  cutout.cutout = 1;
  circle(l, kCopper1, {2400, -1050}, 150, 100, 0, 0);
  circle(l, kCopper1, {2000, -1000}, 120, 90, 30, 200);
  circle(l, kCopper1, {2800, -1150}, 80, 0, 0, 0, true);
  text(l, kCopper1, {400, -1600});

  add(l, createSmdPad({1300, -700}, 120, kCopper2, 60));
  add(l, createPad({2700, -800}, 60, kPadOblongV, kCopper2, 30));
  track(l, kCopper2, 60, {{900, -1000}, {1300, -700}, {2700, -800}});
  TObjekt& area2 = add(l, createArea(20, kCopper2));
  area2.points = {{200, -1900}, {700, -1900}, {450, -1500}};
  text(l, kCopper2, {1200, -1500});

  track(l, kSilk1, 20, {{150, -150}, {2850, -150}, {2850, -1900}});
  circle(l, kSilk1, {1500, -300}, 110, 90, 90, 270);
  text(l, kSilk1, {2100, -300});
  track(l, kSilk2, 20, {{200, -300}, {1000, -300}});
  circle(l, kSilk2, {1800, -1700}, 120, 100, 0, 0);
  text(l, kSilk2, {2300, -1300});
  return board;
}

struct GerbvCase {
  const char* name;
  TGerberOutput output;
  bool groundPlane = false;
  void (*adjust)(TGerberOptions&) = nullptr;
};

class GerberAgainstGerbv : public ::testing::TestWithParam<GerbvCase> {
 protected:
  void SetUp() override {
    if (!gerbvAvailable()) GTEST_SKIP() << "gerbv is not installed";
    file = (fs::temp_directory_path() /
            ("plavesk-gerbv-" + std::to_string(::getpid()) + "-" + GetParam().name + ".gbr"))
               .string();
  }
  void TearDown() override { fs::remove(file); }
  std::string file;
};

TEST_P(GerberAgainstGerbv, RendersAsTheLayer) {
  const GerbvCase& c = GetParam();
  TObjektList elements;
  TBoardRecord board = fixtureBoard(elements);
  board.groundPlane1 = board.groundPlane2 = c.groundPlane;
  TGerberOptions options = gerberDefaults(c.output);
  if (c.adjust) c.adjust(options);
  std::string error;
  ASSERT_TRUE(PlotteGerberfile(file, elements, board, options, 1, error)) << error;

  const TPixelGrid grid{board.width, board.height, 1, options.mirror};
  const auto drawn = renderWithGerbv(file, grid, error);
  ASSERT_TRUE(drawn) << error;
  const TRaster expected = rasterise(expectedArtwork(elements, board, options), grid);
  ASSERT_GT(expected.count(), 1000u) << "the fixture draws nothing on this output";
  EXPECT_GE(intersectionOverUnion(*drawn, expected), kMinAgreement)
      << "gerbv " << drawn->count() << " dark pixels, ours " << expected.count() << "; see "
      << writeDifferencePicture(*drawn, expected, std::string("gerbv-") + c.name);
}

INSTANTIATE_TEST_SUITE_P(
    EveryOutput, GerberAgainstGerbv,
    ::testing::Values(GerbvCase{"K1", TGerberOutput::K1},
                      GerbvCase{"K1Punched", TGerberOutput::K1, false,
                                [](TGerberOptions& o) { o.setPunch(true); }},
                      GerbvCase{"K1Marked", TGerberOutput::K1, false,
                                [](TGerberOptions& o) {
                                  o.setPunch(true);
                                  o.setMark(true);
                                }},
                      GerbvCase{"K1GroundPlane", TGerberOutput::K1, true},
                      GerbvCase{"K1GroundPlanePunched", TGerberOutput::K1, true,
                                [](TGerberOptions& o) { o.setPunch(true); }},
                      GerbvCase{"K2Mirrored", TGerberOutput::K2},
                      GerbvCase{"K2GroundPlaneMirrored", TGerberOutput::K2, true},
                      GerbvCase{"B1", TGerberOutput::B1},
                      GerbvCase{"B1Outline", TGerberOutput::B1, false,
                                [](TGerberOptions& o) { o.outline = true; }},
                      GerbvCase{"B2Mirrored", TGerberOutput::B2},
                      GerbvCase{"LStop1", TGerberOutput::LStop1},
                      GerbvCase{"LStop1OffsetsNoSmd", TGerberOutput::LStop1, false,
                                [](TGerberOptions& o) {
                                  o.setPadOffset(0.55);
                                  o.smdPads = false;
                                  o.outline = true;
                                }},
                      GerbvCase{"LStop2InvertedMirrored", TGerberOutput::LStop2, false,
                                [](TGerberOptions& o) { o.invert = true; }},
                      GerbvCase{"LStop1PadsOnlyUnmirrored", TGerberOutput::LStop1, false,
                                [](TGerberOptions& o) { o.setSmdOffset(1.0); }},
                      GerbvCase{"SMD1", TGerberOutput::SmdOnly1, true},
                      GerbvCase{"SMD2", TGerberOutput::SmdOnly2}),
    [](const auto& info) { return std::string(info.param.name); });

struct DrillCase {
  const char* name;
  TExcellonOptions options;
};

class DrillAgainstGerbv : public ::testing::TestWithParam<DrillCase> {};

// Inch files round sizes to a thousandth of an inch, so the holes here are
// whole thousandths: 2.54 mm and 5.08 mm.
TEST_P(DrillAgainstGerbv, RendersTheHoles) {
  if (!gerbvAvailable()) GTEST_SKIP() << "gerbv is not installed";
  const DrillCase& c = GetParam();
  // Positions too: multiples of 1.27 mm on a board of 30.48 x 20.32 mm.
  TBoardRecord board;
  board.width = 24 * 127;
  board.height = 16 * 127;
  TObjektList elements;
  TObjekt& top = add(elements, createPad({508, -508}, 200, kPadRound, kCopper1, 127));
  TObjekt& bottom = add(elements, createPad({508, -508}, 200, kPadRound, kCopper2, 127));
  top.padLink = &bottom;
  bottom.padLink = &top;
  add(elements, createPad({1397, -635}, 300, kPadRound, kCopper2, 254));
  add(elements, createPad({2540, -1524}, 200, kPadSquare, kCopper1, 127));
  add(elements, createPad({381, -1651}, 300, kPadRound, kCopper1, 254));
  add(elements, createPad({2032, -1016}, 300, kPadRound, kSilk1, 254));  // never drilled

  const std::string file = (fs::temp_directory_path() /
                            ("plavesk-drill-" + std::to_string(::getpid()) + "-" + c.name + ".drl"))
                               .string();
  std::string error;
  ASSERT_TRUE(writeExcellonFile(file, elements, board, c.options, error)) << error;
  const TPixelGrid grid{board.width, board.height, 1, c.options.fromBottom};
  const auto drawn = renderWithGerbv(file, grid, error);
  fs::remove(file);
  ASSERT_TRUE(drawn) << error;
  const TRaster expected = rasterise(expectedHoles(elements), grid);
  EXPECT_GE(intersectionOverUnion(*drawn, expected), kMinAgreement)
      << "gerbv " << drawn->count() << " dark pixels, ours " << expected.count();
}

INSTANTIATE_TEST_SUITE_P(UnitsAndZeros, DrillAgainstGerbv,
                         ::testing::Values(DrillCase{"Inch", {true, true, false}},
                                           DrillCase{"InchNoLeadingZeros", {true, false, false}},
                                           DrillCase{"Millimetres", {false, true, false}},
                                           DrillCase{"MillimetresNoLeadingZeros",
                                                     {false, false, false}},
                                           DrillCase{"MillimetresFromBottom", {false, true, true}}),
                         [](const auto& info) { return std::string(info.param.name); });

// The board-house set of the bundled example, each file against its layer
// seen from side 1, at two units a pixel (the board is 100 x 80 mm).
TEST(FabricationSet, TheExampleRendersAsTheBoard) {
  if (!gerbvAvailable()) GTEST_SKIP() << "gerbv is not installed";
  TLayout layout;
  TReadReport report =
      readLayoutFile(layout, std::string(PLAVESK_SOURCE_DIR) + "/examples/demo.lay", {});
  ASSERT_TRUE(report.ok) << report.error;
  const fs::path folder = fs::temp_directory_path() / ("plavesk-fab-" + std::to_string(::getpid()));
  fs::create_directories(folder);
  struct Cleanup {
    fs::path folder;
    ~Cleanup() { fs::remove_all(folder); }
  } cleanup{folder};
  const TBoardRecord& board = layout.working();
  const TFabResult result = writeFabricationSet(folder.string(), "demo", layout.elements(), board);
  ASSERT_TRUE(result.ok) << result.error;
  ASSERT_EQ(result.written.size(), fabFiles().size());

  const TPixelGrid grid{board.width, board.height, 2, false};
  for (size_t i = 0; i < fabFiles().size(); ++i) {
    const TFabFile& f = fabFiles()[i];
    SCOPED_TRACE(result.written[i]);
    Region expected;
    if (f.output) {
      TGerberOptions options = gerberDefaults(*f.output);
      options.mirror = options.outline = false;
      expected = expectedArtwork(layout.elements(), board, options);
    } else if (f.drill) {
      expected = expectedHoles(layout.elements());
    } else {
      expected = boardOutline(board);
    }
    const TRaster ours = rasterise(expected, grid);
    // A layer without elements is an empty file, which gerbv only guesses at.
    if (ours.count() == 0) continue;
    std::string error;
    const auto drawn = renderWithGerbv(result.written[i], grid, error);
    ASSERT_TRUE(drawn) << error;
    // gerbv puts the centre lines of strokes and the drill circles on its
    // pixel lattice; at two units a pixel that moves thin silkscreen lines
    // and small holes by a pixel now and then.
    const bool lattice = f.drill || f.output == TGerberOutput::B1 || f.output == TGerberOutput::B2;
    EXPECT_GE(lattice ? agreementWithinOnePixel(*drawn, ours) : intersectionOverUnion(*drawn, ours),
              kMinAgreement)
        << "gerbv " << drawn->count() << " dark pixels, ours " << ours.count() << "; see "
        << writeDifferencePicture(*drawn, ours, "gerbv-demo" + f.extension);
  }
}

}  // namespace
}  // namespace plavesk
