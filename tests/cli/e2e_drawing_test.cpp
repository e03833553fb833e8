// A new user's first drawing, scripted as the mouse and the tool panel make
// it in the window (tests/fixtures/e2e/draw-board.actions): tracks in every
// bend mode, an area and a cutout area, a circle turned into an arc, pads of
// several shapes and a through pad, numbered texts, a hexagon and SMD pads.
// scripts/e2e-draw-board.sh draws the same in the window under xvfb and saved
// tests/fixtures/e2e/draw-board.lay with the file dialog.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

#include "cli/commands/cli.h"
#include "document/layout_file.h"
#include "view/stroke_font.h"

namespace plavesk {
namespace {

namespace fs = std::filesystem;

const std::string kFixtures = std::string(PLAVESK_SOURCE_DIR) + "/tests/fixtures/e2e/";

std::vector<std::string> readActions(const std::string& path) {
  std::ifstream in(path);
  std::vector<std::string> actions;
  for (std::string line; std::getline(in, line);)
    if (!line.empty() && line[0] != '#') actions.push_back(line);
  return actions;
}

std::vector<uint8_t> readBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

using TPoints = std::vector<TPoint>;

// A text's strokes moved so that their lowest and leftmost points lie at 0,
// which leaves the letters and digits alone.
std::vector<TPoints> strokeShape(const TObjekt& text) {
  int32_t left = INT32_MAX, bottom = INT32_MAX;
  for (const TObjektPtr& s : text.strokes)
    for (TPoint p : s->points) {
      left = std::min(left, p.x);
      bottom = std::min(bottom, p.y);
    }
  std::vector<TPoints> shape;
  for (const TObjektPtr& s : text.strokes) {
    TPoints& points = shape.emplace_back();
    for (TPoint p : s->points) points.push_back({p.x - left, p.y - bottom});
  }
  return shape;
}

// The shape the text of `placed` gets with the number n appended.
std::vector<TPoints> numberedShape(const TObjekt& placed, int n) {
  TTextSettings settings = textSettingsFromElement(placed);
  settings.addNumber = true;
  TTextCounter counter{n};
  TObjektList scratch;
  return strokeShape(createTextElement(scratch, {0, 0}, settings, counter,
                                       {placed.layer, placed.clearance, 254.0}));
}

class DrawingSession : public ::testing::Test {
 protected:
  void SetUp() override {
    dir = fs::temp_directory_path() / ("plavesk-e2e-draw-" + std::to_string(::getpid()));
    fs::create_directories(dir);
    // The window's File > New: one board with the defaults.
    TLayout fresh;
    fresh.addBoard("Board 1");
    std::string error;
    ASSERT_TRUE(writeLayoutFile(fresh, file("empty.lay"), false, error)) << error;

    std::vector<std::string> args{"run", file("empty.lay")};
    for (const std::string& a : readActions(kFixtures + "draw-board.actions")) {
      args.push_back("-e");
      args.push_back(a);
    }
    ASSERT_GT(args.size(), 20u) << "the action list was not read";
    args.push_back("-o");
    args.push_back(file("board.lay"));
    std::ostringstream out, err;
    ASSERT_EQ(runCli(args, out, err), 0) << err.str();
    const TReadReport report = readLayoutFile(drawn, file("board.lay"), {});
    ASSERT_TRUE(report.ok) << report.error;
  }
  void TearDown() override { fs::remove_all(dir); }
  std::string file(const std::string& name) const { return (dir / name).string(); }

  const TObjekt& at(size_t i) const { return *drawn.elements().at(i); }

  fs::path dir;
  TLayout drawn;
};

TEST_F(DrawingSession, GivesTheFileTheWindowSaved) {
  // When this fails after an intended change of the tools or of the file,
  // run scripts/e2e-draw-board.sh and look at its screenshots before taking
  // its board.lay as the new fixture.
  const std::vector<uint8_t> window = readBytes(kFixtures + "draw-board.lay");
  ASSERT_FALSE(window.empty());
  EXPECT_TRUE(readBytes(file("board.lay")) == window)
      << "the scripted drawing differs from the one made in the window";
}

TEST_F(DrawingSession, ElementsInDrawingOrder) {
  const std::vector<int> kinds{kTrack, kTrack,  kTrack, kTrack, kTrack, kTrack,  kArea,
                               kArea,  kCircle, kPad,   kPad,   kPad,   kPad,    kPad,
                               kPad,   kText,   kText,  kText,  kTrack, kSmdPad, kSmdPad};
  std::vector<int> got;
  for (const TObjektPtr& e : drawn.elements()) got.push_back(e->kind);
  EXPECT_EQ(got, kinds);
  for (size_t i = 0; i < drawn.elements().size(); ++i) {
    SCOPED_TRACE(i);
    // The active layer of a new board is copper side 2; the through pad's
    // second half is on side 1.
    EXPECT_EQ(at(i).layer, i == 14 ? kCopper1 : kCopper2);
    EXPECT_EQ(at(i).clearance, 40);
  }
}

TEST_F(DrawingSession, TracksFollowTheirBendModes) {
  struct Case {
    const char* mode;
    int32_t width;
    TPoints points;
  };
  // Clicks from A to C with dx = 1524, dy = -508 (f = 508), the corner as
  // each bend mode puts it; the last track clicks a V in bend mode 0.
  const std::vector<Case> cases{
      {"0 straight, then 45", 80, {{508, -508}, {1524, -508}, {2032, -1016}}},
      {"1 45, then straight", 80, {{508, -1270}, {1016, -1778}, {2032, -1778}}},
      {"2 vertical, then horizontal", 80, {{508, -2032}, {508, -2540}, {2032, -2540}}},
      {"3 horizontal, then vertical", 80, {{508, -2794}, {2032, -2794}, {2032, -3302}}},
      {"4 straight", 80, {{508, -3556}, {2032, -4064}}},
      {"0 again, typed width",
       40,
       {{508, -4318}, {762, -4318}, {1270, -4826}, {1524, -4826}, {2032, -4318}}},
  };
  for (size_t i = 0; i < cases.size(); ++i) {
    SCOPED_TRACE(cases[i].mode);
    EXPECT_EQ(at(i).kind, kTrack);
    EXPECT_EQ(at(i).dim3, cases[i].width);
    EXPECT_EQ(at(i).points, cases[i].points);
  }
}

TEST_F(DrawingSession, AreaAndCutoutArea) {
  const TObjekt& area = at(6);
  const TObjekt& cutout = at(7);
  // Closed by the right button (which appends the first point) and by a
  // click on the first point.
  EXPECT_EQ(area.points,
            (TPoints{{3048, -508}, {4572, -508}, {4572, -1524}, {3048, -1524}, {3048, -508}}));
  EXPECT_EQ(cutout.points,
            (TPoints{{5080, -508}, {6604, -508}, {6604, -1524}, {5080, -1524}, {5080, -508}}));
  EXPECT_TRUE(area.closed);
  EXPECT_TRUE(cutout.closed);
  EXPECT_FALSE(area.cutout);
  EXPECT_TRUE(cutout.cutout);
  EXPECT_EQ(area.dim3, 40);
  // The ground plane switched on for the active side.
  EXPECT_EQ(drawn.working().groundPlane1, 0);
  EXPECT_EQ(drawn.working().groundPlane2, 1);
}

TEST_F(DrawingSession, CircleMadeAnArc) {
  const TObjekt& arc = at(8);
  EXPECT_EQ(arc.x, 3810);
  EXPECT_EQ(arc.y, -3048);
  EXPECT_EQ(arc.angle, 30);
  EXPECT_EQ(arc.dim3, 270);
  // Dragged 762 units with a 0.4 mm track width: middle radius 762; the arc
  // dialog's 12.7 mm diameter makes it 635 and keeps the ring 40 wide.
  EXPECT_EQ(arc.dim1, 655);
  EXPECT_EQ(arc.dim2, 615);
  EXPECT_FALSE(arc.filled);
}

TEST_F(DrawingSession, PadsAndThroughPad) {
  struct Case {
    size_t index;
    TPoint at;
    int shape;
    int32_t outer;
    int layer;
  };
  const std::vector<Case> cases{
      {9, {7620, -508}, kPadRound, 90, kCopper2},
      {10, {8382, -508}, kPadOctagon, 90, kCopper2},
      {11, {9144, -508}, kPadRectH, 90, kCopper2},
      {12, {9906, -508}, kPadOblongV, 90, kCopper2},
      {13, {7620, -1524}, kPadSquare, 125, kCopper2},
      {14, {7620, -1524}, kPadSquare, 125, kCopper1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.index);
    const TObjekt& pad = at(c.index);
    EXPECT_EQ((TPoint{pad.x, pad.y}), c.at);
    EXPECT_EQ(pad.padShape, c.shape);
    EXPECT_EQ(pad.dim1, c.outer);
    EXPECT_EQ(pad.dim2, 30);
    EXPECT_EQ(pad.layer, c.layer);
  }
  for (size_t i = 9; i <= 12; ++i) EXPECT_EQ(at(i).padLink, nullptr);
  EXPECT_EQ(at(13).padLink, &at(14));
  EXPECT_EQ(at(14).padLink, &at(13));
}

TEST_F(DrawingSession, TextsNumberedFromTheStartValue) {
  for (size_t i = 15; i <= 17; ++i) {
    SCOPED_TRACE(i);
    const TObjekt& text = at(i);
    EXPECT_EQ(text.text, "R");
    EXPECT_EQ(text.dim1, 300);
    // On side 2 the text tool mirrors the text.
    EXPECT_TRUE(text.mirrorH);
    EXPECT_EQ(strokeShape(text), numberedShape(text, int(i) - 14));
  }
  // The shapes tell the numbers apart.
  EXPECT_NE(numberedShape(at(15), 1), numberedShape(at(15), 2));
  // Placed left to right at the clicked points.
  EXPECT_LT(at(15).x, at(16).x);
  EXPECT_LT(at(16).x, at(17).x);
}

TEST_F(DrawingSession, Hexagon) {
  const TObjekt& hexagon = at(18);
  EXPECT_EQ(hexagon.dim3, 50);
  ASSERT_EQ(hexagon.points.size(), 7u);
  EXPECT_EQ(hexagon.points.front(), hexagon.points.back());
  const TPoint centre{7620, -4572};
  for (int k = 0; k < 6; ++k) {
    SCOPED_TRACE(k);
    const double a = (60.0 * k + 30.0) * M_PI / 180.0;
    const TPoint want{centre.x + int32_t(std::nearbyint(std::cos(a) * 500)),
                      centre.y + int32_t(std::nearbyint(std::sin(a) * 500))};
    EXPECT_EQ(hexagon.points[size_t(k)], want);
  }
}

TEST_F(DrawingSession, SmdPads) {
  EXPECT_EQ((TPoint{at(19).x, at(19).y}), (TPoint{10160, -3556}));
  EXPECT_EQ(at(19).dim1, 90);
  EXPECT_EQ(at(19).dim2, 180);
  // The wider one after "set smd-width 1.5" (typed as "1,5" in the window).
  EXPECT_EQ((TPoint{at(20).x, at(20).y}), (TPoint{10668, -3556}));
  EXPECT_EQ(at(20).dim1, 150);
  EXPECT_EQ(at(20).dim2, 180);
}

}  // namespace
}  // namespace plavesk
