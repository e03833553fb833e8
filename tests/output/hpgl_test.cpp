// The HPGL milling, drilling and outline files: the numbers the machine
// sees, the drill outputs, the outline paths, and an independent reader
// (hp2xx) that must accept every statement.
#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>

#include "document/file_io.h"
#include "output/hpgl_milling.h"
#include "output/hpgl_outline.h"
#include "output/hpgl_texts.h"

namespace plavesk {
namespace {

namespace fs = std::filesystem;

std::vector<std::string> lines(const std::string& text) {
  std::vector<std::string> out;
  size_t start = 0;
  for (size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2)
    out.push_back(text.substr(start, end - start));
  EXPECT_EQ(start, text.size()) << "every line ends with CR LF";
  return out;
}

size_t countOf(const std::vector<std::string>& l, const std::string& s) {
  return size_t(std::count(l.begin(), l.end(), s));
}

TObjekt& pad(TObjektList& list, int x, int y, int layer, int32_t drill, int32_t outer = 80) {
  list.push_back(createPad({x, y}, outer, kPadRound, layer, drill));
  return *list.back();
}

TEST(HpglCoordinates, PlotterUnitsFromTheLowerLeftCorner) {
  EXPECT_EQ(toPlotter({1000, -2500}, 10000), (TPlotterPoint{400, 3000}));
  EXPECT_EQ(toPlotter({0, -10000}, 10000), (TPlotterPoint{0, 0}));
  EXPECT_EQ(toPlotter({5, 0}, 0), (TPlotterPoint{2, 0}));  // 2.0
  EXPECT_EQ(toPlotter({-5, 0}, 0), (TPlotterPoint{-2, 0}));
  EXPECT_EQ(toPlotter({3, 0}, 0), (TPlotterPoint{1, 0}));  // 1.2
}

TEST(HpglCoordinates, MirroringAboutTheFrame) {
  const TRect frame{500, -9000, 15500, -1000};
  THpglText text(10000, frame, TMirror::kX);
  text.moveTo({1000, -2500});
  EXPECT_EQ(text.text(), "PA6000,3000;\r\n");
  EXPECT_EQ(mirrorPoint({1000, -2500}, frame, TMirror::kY), (TPoint{1000, -7500}));
  EXPECT_EQ(mirrorPoint({1000, -2500}, frame, TMirror::kNone), (TPoint{1000, -2500}));
}

TEST(HpglCoordinates, ReferenceHolesAtTheUnmirroredCornersInOrder) {
  const TRect frame{0, -1000, 2000, 0};
  THpglText text(1000, frame, TMirror::kX);
  text.referenceHoles({true, true, true, true});
  EXPECT_EQ(lines(text.text()),
            (std::vector<std::string>{"PA0,0;", "PD;", "PU;", "PA800,0;", "PD;", "PU;", "PA0,400;",
                                      "PD;", "PU;", "PA800,400;", "PD;", "PU;"}));
}

// A board of height 100 mm: a contour, a through pad pair, two more pads and
// a pad without a drill.
struct Board {
  TObjektList list;
  Board() {
    TObjekt& a = pad(list, 1000, -2500, kCopper1, 40);
    TObjekt& b = pad(list, 1000, -2500, kCopper2, 40);
    a.padLink = &b;
    b.padLink = &a;
    pad(list, 2000, -2500, kCopper1, 40);
    pad(list, 3000, -2500, kCopper1, 50);
    pad(list, 4000, -2500, kCopper1, 0);  // SMD-like pad without drill
  }
};

TEST(HpglMilling, DrillFilesPerDiameterInTheOrderRadiiOccur) {
  Board board;
  TMillingOptions o;
  o.drills = TDrillOutput::kPerDiameter;
  o.language = 0;
  const auto frame = elementsBounds(board.list);
  const TMillingFiles files = millingFiles(board.list, 10000, frame, {}, o, "iso.plt");
  ASSERT_EQ(files.files.size(), 3u);
  EXPECT_EQ(files.files[1].name, "BOHR_80.PLT");
  EXPECT_EQ(files.files[2].name, "BOHR_100.PLT");
  // The through pair counts once; the pad without drill is left out.
  const auto eighty = lines(files.files[1].text);
  EXPECT_EQ(countOf(eighty, "PD;"), 3u);  // the reference hole and two holes
  EXPECT_EQ(countOf(eighty, "PA400,3000;"), 2u);
  EXPECT_EQ(countOf(lines(files.files[2].text), "PD;"), 2u);
}

struct DrillCase {
  TDrillOutput drills;
  int language;
  std::vector<std::string> names;
  size_t holes;  // PD statements besides the reference hole
};

class HpglDrillOutput : public ::testing::TestWithParam<DrillCase> {};

TEST_P(HpglDrillOutput, NamesAndOneMarkPerHole) {
  Board board;
  TMillingOptions o;
  o.drills = GetParam().drills;
  o.language = GetParam().language;
  o.toolDiameter = 40;
  const TMillingFiles files =
      millingFiles(board.list, 10000, elementsBounds(board.list), {}, o, "main.plt");
  std::vector<std::string> names;
  size_t holes = 0;
  for (size_t i = 1; i < files.files.size(); ++i) {
    names.push_back(files.files[i].name);
    holes += countOf(lines(files.files[i].text), "PD;") - 1;
  }
  EXPECT_EQ(names, GetParam().names);
  EXPECT_EQ(holes, GetParam().holes);
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, HpglDrillOutput,
    ::testing::Values(DrillCase{TDrillOutput::kNone, 0, {}, 0},
                      DrillCase{TDrillOutput::kOneFile, 0, {"BOHRUNG.PLT"}, 3},
                      DrillCase{TDrillOutput::kOneFile, 1, {"DRILLING.PLT"}, 3},
                      DrillCase{TDrillOutput::kOneFile, 2, {"BOHRUNG.PLT"}, 3},
                      DrillCase{TDrillOutput::kMilled, 0, {"BOHR_FRS.PLT"}, 3},
                      DrillCase{TDrillOutput::kMilled, 1, {"DRIL_MIL.PLT"}, 3},
                      DrillCase{TDrillOutput::kMilled, 2, {"DRIL_MIL.PLT"}, 3},
                      DrillCase{TDrillOutput::kPerDiameter, 1, {"DRIL_80.PLT", "DRIL_100.PLT"}, 3},
                      DrillCase{
                          TDrillOutput::kPerDiameter, 2, {"BOHR_80.PLT", "BOHR_100.PLT"}, 3}));

TEST(HpglMilling, MilledHolesAreCirclesOfHoleMinusToolRadius) {
  TObjektList list;
  pad(list, 1000, -1000, kCopper1, 100, 150);  // 2 mm hole
  pad(list, 2000, -1000, kCopper1, 50, 150);   // 1 mm hole: as wide as the tool
  TMillingOptions o;
  o.drills = TDrillOutput::kMilled;
  o.toolDiameter = 100;
  o.secondPen = true;
  const TMillingFiles files = millingFiles(list, 5000, elementsBounds(list), {}, o, "m.plt");
  ASSERT_EQ(files.files.size(), 2u);
  const auto l = lines(files.files[1].text);
  ASSERT_GE(l.size(), 4u);
  EXPECT_EQ(l[0], "IN;");
  EXPECT_EQ(l[1], "SP2");
  EXPECT_EQ(l[2], "PT0;");
  EXPECT_EQ(countOf(l, "CI20;"), 1u);        // round(50 / 2540 * 1000)
  EXPECT_EQ(countOf(l, "PA800,1600;"), 2u);  // the plunge: centre twice
  EXPECT_EQ(files.plungedHoles, 1u);
}

TEST(HpglMilling, ContoursClosedTextsOpenAndCentreMarks) {
  TObjektList list;
  list.push_back(createText({0, 0}, "I", false, false, kCopper1, 0, 1, 1, 300));
  auto stroke = createTrack(30, kCopper1);
  stroke->points = {{100, -100}, {100, -400}};
  list.back()->strokes.push_back(std::move(stroke));
  pad(list, 1000, -1000, kCopper1, 40);
  TMillingOptions o;
  o.singleLineTexts = true;
  o.centreMarks = true;
  o.holes = {false, false, false, false};
  const TContourList contours{{{0, 0}, {100, 0}, {100, -100}}};
  const auto l =
      lines(millingFiles(list, 1000, elementsBounds(list), contours, o, "x").files[0].text);
  EXPECT_EQ(
      l, (std::vector<std::string>{"IN;", "PT0;", "PU;",
                                   // contour, closed
                                   "PA0,400;", "PD;", "PA40,400;", "PA40,360;", "PA0,400;", "PU;",
                                   // text stroke, open
                                   "PA40,360;", "PD;", "PA40,240;", "PU;",
                                   // centre mark
                                   "PA400,0;", "PD;", "PA400,0;", "PU;"}));
}

TEST(HpglMilling, RunChecksTheLayerAndWritesOnlyTexts) {
  const fs::path dir = fs::temp_directory_path() / ("plavesk-hpgl-" + std::to_string(::getpid()));
  fs::create_directories(dir);
  TBoardRecord record;
  TObjektList list;
  pad(list, 1000, -1000, kCopper1, 80, 80);  // a bare hole only
  TMillingOptions o;
  TMillingRun run = runIsolationMilling(list, record, o, (dir / "a.plt").string());
  EXPECT_FALSE(run.ok);
  EXPECT_EQ(run.error, "The selected layer is empty");
  EXPECT_FALSE(fs::exists(dir / "a.plt"));

  list.push_back(createText({0, 0}, "I", false, false, kCopper1, 0, 1, 1, 300));
  auto stroke = createTrack(30, kCopper1);
  stroke->points = {{2000, -100}, {2000, -400}};
  list.back()->strokes.push_back(std::move(stroke));
  list.push_back(createTrack(30, kSilk1));
  list.back()->points = {{-500, 200}, {9000, 200}};
  o.singleLineTexts = true;
  run = runIsolationMilling(list, record, o, (dir / "a.plt").string());
  ASSERT_TRUE(run.ok) << run.error;
  EXPECT_TRUE(run.contours.contours.empty());
  EXPECT_EQ(run.frame, elementsBounds(list));  // every layer
  std::vector<uint8_t> bytes;
  std::string error;
  ASSERT_TRUE(readWholeFile((dir / "a.plt").string(), bytes, error));
  EXPECT_EQ(countOf(lines({bytes.begin(), bytes.end()}), "PA800,3960;"), 1u);
  fs::remove_all(dir);
}

TEST(HpglTexts, MessagesInThreeLanguages) {
  EXPECT_EQ(millingEmptyLayerMessage(0), "Der gewählte Kupferlayer ist leer");
  EXPECT_EQ(millingEmptyLayerMessage(2), "Der gewählte Kupferlayer ist leer");
  EXPECT_EQ(millingCaption(1), "Isolation milling");
  EXPECT_EQ(outlineNothingSelectedMessage(1), "No elements selected for the PCB outline");
  EXPECT_EQ(outlineCaption(0), "Platinenkontur erstellen");
  EXPECT_EQ(contourMemoryMessage(12345678, uint64_t(2) << 30, 1),
            "The copper has at least 12,345,678 crossings of outline edges: its isolation contours "
            "would need more than the memory budget of 2,048 MB. Nothing was written.");
  EXPECT_NE(contourMemoryMessage(1234, uint64_t(2) << 30, 0).find("1.234"), std::string::npos);
  EXPECT_NE(contourMemoryMessage(1234, uint64_t(2) << 30, 2).find("1 234"), std::string::npos);
}

// ---- outline milling ----

TObjektPtr selectedCircle(int32_t outer, int32_t inner, int32_t start, int32_t end) {
  auto c = createCircle({0, 0}, outer, 1, kSilk1, inner);
  c->angle = start;
  c->dim3 = end;
  c->selected = 1;
  return c;
}

TEST(HpglOutline, FullCircleHasFortyOnePointsFirstEqualsLast) {
  const auto c = selectedCircle(1100, 900, 0, 0);
  const auto p = outlineCirclePoints(*c);
  ASSERT_EQ(p.size(), 41u);
  EXPECT_EQ(p.front(), p.back());
  EXPECT_EQ(p.front(), (TPoint{1000, 0}));
  EXPECT_EQ(p[10], (TPoint{0, 1000}));
}

TEST(HpglOutline, ArcsRunCounterClockwiseOverTheirQuarter) {
  struct Arc {
    int32_t start, end;
    TPoint first, last;
    int ySign;  // the quadrant: x >= 0 and y of this sign
  };
  for (const Arc& a :
       {Arc{0, 90, {1000, 0}, {0, 1000}, 1}, Arc{270, 0, {0, -1000}, {1000, 0}, -1}}) {
    const auto p = outlineCirclePoints(*selectedCircle(1100, 900, a.start, a.end));
    EXPECT_EQ(p.front(), a.first);
    EXPECT_EQ(p.back(), a.last);
    for (const auto& q : p) {
      EXPECT_GE(q.x, 0);
      EXPECT_GE(q.y * a.ySign, 0);
    }
  }
}

TEST(HpglOutline, OnlySelectedSilkscreenTracksAndCircles) {
  TObjektList list;
  list.push_back(createTrack(20, kCopper1));
  list.back()->points = {{0, 0}, {1000, 0}};
  list.back()->selected = 1;  // copper: not milled
  list.push_back(createTrack(20, kSilk2));
  list.back()->points = {{0, -1000}, {1000, -1000}};  // not selected
  EXPECT_FALSE(hasOutlineElements(list));
  TOutlineRun run = runOutlineMilling(list, TBoardRecord{}, {}, "/nonexistent/dir/x.plt");
  EXPECT_FALSE(run.ok);
  EXPECT_EQ(run.error, "No elements selected for the PCB outline");
  list.back()->selected = 1;
  TOutlineOptions o;
  o.holes.bottomLeft = false;
  const auto l = lines(outlineFileText(list, 2000, elementsBounds(list), o));
  EXPECT_EQ(
      l, (std::vector<std::string>{"IN;", "PT0;", "PU;", "PA0,400;", "PD;", "PA400,400;", "PU;"}));
}

// ---- an independent reader ----

struct Hp2xxReport {
  int status = -1;
  int read = -1, ignored = -1, unexpected = -1;
};

Hp2xxReport hp2xx(const std::string& plt, const std::string& png) {
  const std::string log = png + ".log";
  Hp2xxReport r;
  // A fixed window: a drill file of plunges only has no extent of its own,
  // which the reader cannot scale.
  r.status = std::system(("hp2xx -m png -x -10 -X 300 -y -10 -Y 300 -f '" + png + "' '" + plt +
                          "' > '" + log + "' 2>&1")
                             .c_str());
  std::ifstream in(log);
  std::stringstream ss;
  ss << in.rdbuf();
  const std::string text = ss.str();
  std::smatch m;
  if (std::regex_search(text, m, std::regex("HPGL commands read: *([0-9]+)")))
    r.read = std::stoi(m[1]);
  if (std::regex_search(text, m, std::regex("HPGL command\\(s\\) ignored: *([0-9]+)")))
    r.ignored = std::stoi(m[1]);
  if (std::regex_search(text, m, std::regex("Unexpected event\\(s\\): *([0-9]+)")))
    r.unexpected = std::stoi(m[1]);
  return r;
}

TEST(HpglReader, EveryFileParsesWithoutIgnoredCommands) {
  if (std::system("command -v hp2xx > /dev/null 2>&1") != 0) GTEST_SKIP() << "hp2xx not installed";
  const fs::path dir = fs::temp_directory_path() / ("plavesk-hp2xx-" + std::to_string(::getpid()));
  fs::create_directories(dir);
  Board board;
  board.list.push_back(createTrack(60, kCopper1));
  board.list.back()->points = {{500, -2500}, {3500, -2500}, {3500, -4000}};
  board.list.push_back(selectedCircle(1100, 900, 0, 0));
  board.list.back()->x = 5000;
  board.list.back()->y = -5000;
  TBoardRecord record;
  for (TDrillOutput d :
       {TDrillOutput::kOneFile, TDrillOutput::kPerDiameter, TDrillOutput::kMilled}) {
    TMillingOptions o;
    o.drills = d;
    o.toolDiameter = 60;
    o.secondPen = true;
    o.centreMarks = true;
    o.mirror = TMirror::kX;
    o.holes = {true, true, true, true};
    const TMillingRun run = runIsolationMilling(board.list, record, o, (dir / "iso.plt").string());
    ASSERT_TRUE(run.ok) << run.error;
    ASSERT_FALSE(run.contours.contours.empty());
    std::vector<std::string> files = run.written;
    TOutlineOptions oo;
    ASSERT_TRUE(runOutlineMilling(board.list, record, oo, (dir / "outline.plt").string()).ok);
    files.push_back((dir / "outline.plt").string());
    for (const auto& f : files) {
      std::vector<uint8_t> bytes;
      std::string error;
      ASSERT_TRUE(readWholeFile(f, bytes, error));
      const size_t statements = lines({bytes.begin(), bytes.end()}).size();
      const Hp2xxReport r = hp2xx(f, f + ".png");
      EXPECT_EQ(r.status, 0) << f;
      EXPECT_EQ(r.read, int(statements)) << f;
      EXPECT_EQ(r.ignored, 0) << f;
      EXPECT_EQ(r.unexpected, 0) << f;
      EXPECT_GT(fs::file_size(f + ".png"), 0u) << f;
    }
  }
  fs::remove_all(dir);
}

}  // namespace
}  // namespace plavesk
