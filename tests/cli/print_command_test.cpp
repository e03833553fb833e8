// plavesk-cli print: the PDF read back by an independent renderer
// (pdftoppm at 1200 dpi) and measured; bad options refused without a file.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "cli/commands/cli.h"
#include "document/file_io.h"
#include "document/layout_file.h"

namespace plavesk {
namespace {

namespace fs = std::filesystem;

constexpr double kDpi = 1200;
constexpr double kMmPerPixel = 25.4 / kDpi;

// A grey picture read from pdftoppm's PGM output.
struct Grey {
  int width = 0, height = 0;
  std::vector<uint8_t> pixels;
  int at(int x, int y) const { return pixels[size_t(y) * size_t(width) + size_t(x)]; }
  // Darkness summed along row y from x0 to x1 (exclusive), in pixels: with
  // anti-aliasing, the covered length to a fraction of a pixel.
  double darkness(int y, int x0, int x1) const {
    double sum = 0;
    for (int x = x0; x < x1; ++x) sum += (255 - at(x, y)) / 255.0;
    return sum;
  }
  // The covered runs of row y: [start, end) in fractional pixels, each end
  // placed by the coverage of its edge pixel.
  std::vector<std::pair<double, double>> runs(int y) const {
    std::vector<std::pair<double, double>> found;
    int x = 0;
    while (x < width) {
      while (x < width && at(x, y) > 200) ++x;
      if (x >= width) break;
      const int start = x;
      while (x < width && at(x, y) <= 200) ++x;
      // Grey neighbours are partly covered.
      const double before = start > 0 ? (255 - at(start - 1, y)) / 255.0 : 0;
      const double after = x < width ? (255 - at(x, y)) / 255.0 : 0;
      found.emplace_back(start - before, x + after);
      ++x;
    }
    return found;
  }
};

// A 120 x 40 mm board with a 0.5 mm wide track on copper 1 from x = 10 to
// 110 mm at y = 20 mm and a short one at y = 30 mm from 10 to 30 mm (only
// on the left: the mirror image shows it on the right).
class PrintCommand : public ::testing::Test {
 protected:
  void SetUp() override {
#ifndef PLAVESK_WITH_QT
    GTEST_SKIP() << "a build without the toolkit writes no PDF";
#endif
    dir = fs::temp_directory_path() / ("plavesk-print-" + std::to_string(::getpid()));
    fs::create_directories(dir);
    TLayout layout;
    layout.addBoard("Board 1");
    layout.working().width = 12000;
    layout.working().height = 4000;
    layout.working().groundPlane1 = 0;
    TObjektList& l = layout.elements();
    l.push_back(createTrack(50, kCopper1));
    l.back()->points = {{1000, -2000}, {11000, -2000}};
    l.push_back(createTrack(50, kCopper1));
    l.back()->points = {{1000, -3000}, {3000, -3000}};
    std::string error;
    ASSERT_TRUE(writeFileAtomically(path("board.lay"), encodeLayout(layout), error)) << error;
  }
  void TearDown() override {
    if (!dir.empty()) fs::remove_all(dir);
  }
  std::string path(const std::string& name) const { return (dir / name).string(); }

  int run(std::vector<std::string> args, const std::string& output = "out.pdf") {
    std::ostringstream out, err;
    args.insert(args.begin(), {"print", path("board.lay"), "-o", path(output)});
    const int status = runCli(args, out, err);
    lastError = err.str();
    return status;
  }

  // The page area from (x, y) mm, w x h mm, rendered at 1200 dpi.
  Grey render(const std::string& pdf, double x, double y, double w, double h) {
    const std::string base = path("page");
    std::ostringstream cmd;
    cmd << "pdftoppm -r " << kDpi << " -gray -singlefile -x " << int(x / kMmPerPixel) << " -y "
        << int(y / kMmPerPixel) << " -W " << int(w / kMmPerPixel) << " -H " << int(h / kMmPerPixel)
        << " '" << path(pdf) << "' '" << base << "'";
    EXPECT_EQ(std::system(cmd.str().c_str()), 0) << cmd.str();
    Grey g;
    std::ifstream in(base + ".pgm", std::ios::binary);
    std::string magic;
    int maxValue = 0;
    in >> magic >> g.width >> g.height >> maxValue;
    in.get();
    EXPECT_EQ(magic, "P5");
    g.pixels.resize(size_t(g.width) * size_t(g.height));
    in.read(reinterpret_cast<char*>(g.pixels.data()), std::streamsize(g.pixels.size()));
    EXPECT_TRUE(in) << "pdftoppm wrote no picture";
    origin = {x, y};
    return g;
  }
  // Page millimetres of a pixel of the last rendering.
  double mmX(double px) const {
    return int(origin.first / kMmPerPixel) * kMmPerPixel + px * kMmPerPixel;
  }
  int rowOf(double mmY) const {
    return int((mmY - int(origin.second / kMmPerPixel) * kMmPerPixel) / kMmPerPixel);
  }

  fs::path dir;
  std::string lastError;
  std::pair<double, double> origin;
};

TEST_F(PrintCommand, PdftoppmIsInstalled) {
  ASSERT_EQ(std::system("pdftoppm -v > /dev/null 2>&1"), 0)
      << "pdftoppm (poppler-utils) is needed; run scripts/install-deps";
}

// A 100 mm track is 100 mm long at 1:1 and 101 mm with a horizontal
// correction of 1.01; the line's round caps add its width (stretched too).
TEST_F(PrintCommand, TrackLengthAtTrueSizeAndCorrected) {
  struct Case {
    std::vector<std::string> args;
    double length, capX;
  };
  const Case cases[] = {{{"--no-outline"}, 100.0, 0.5},
                        {{"--no-outline", "--correction", "1.01", "1"}, 101.0, 0.505},
                        {{"--no-outline", "--correction", "0.9", "1.2"}, 90.0, 0.45}};
  for (const Case& c : cases) {
    ASSERT_EQ(run(c.args), 0) << lastError;
    // The track's row: 1 mm offset + board y = 20 mm, stretched vertically.
    const double rowMm = 21 * (c.args.size() > 2 ? std::stod(c.args[3]) : 1.0);
    const Grey g = render("out.pdf", 0, rowMm - 1, 140, 2);
    const int row = rowOf(rowMm);
    const double extent = g.darkness(row, 0, g.width) * kMmPerPixel;
    EXPECT_NEAR(extent - c.capX, c.length, 0.05) << c.args.size();
  }
}

TEST_F(PrintCommand, BoardCornerLiesAtTheOffset) {
  struct Case {
    std::vector<std::string> args;
    double x, y;
  };
  const Case cases[] = {{{}, 1.0, 1.0},
                        {{"--offset", "10", "20"}, 10.0, 20.0},
                        {{"--offset", "25.5", "3"}, 25.5, 3.0}};
  for (const Case& c : cases) {
    ASSERT_EQ(run(c.args), 0) << lastError;
    // The outline's left edge on a row halfway down the board, and the
    // short track's left end 10 mm right of it.
    const Grey g = render("out.pdf", 0, c.y + 9, 60, 2);
    const auto runs = g.runs(rowOf(c.y + 10));
    ASSERT_FALSE(runs.empty());
    const double edge = mmX((runs[0].first + runs[0].second) / 2);
    EXPECT_NEAR(edge, c.x, 0.05);
    // The board's top edge: a column through the board, first dark pixel.
    const Grey top = render("out.pdf", c.x + 40, std::max(0.0, c.y - 1), 1, 3);
    int y = 0;
    while (y < top.height && top.at(top.width / 2, y) > 200) ++y;
    ASSERT_LT(y, top.height);
    EXPECT_NEAR(int(std::max(0.0, c.y - 1) / kMmPerPixel) * kMmPerPixel + (y + 0.5) * kMmPerPixel,
                c.y, 0.05);
  }
}

TEST_F(PrintCommand, MirrorTurnsTheBoardOverInPlace) {
  for (bool mirror : {false, true}) {
    std::vector<std::string> args;
    if (mirror) args.push_back("--mirror");
    ASSERT_EQ(run(args), 0) << lastError;
    // The short track's row: y = 30 mm on the board, 31 mm on the paper.
    const Grey g = render("out.pdf", 0, 30, 130, 2);
    const auto runs = g.runs(rowOf(31));
    // Outline left, track, outline right.
    ASSERT_EQ(runs.size(), 3u) << mirror;
    EXPECT_NEAR(mmX((runs[0].first + runs[0].second) / 2), 1.0, 0.05);
    EXPECT_NEAR(mmX((runs[2].first + runs[2].second) / 2), 121.0, 0.05);
    // The track from 10 mm to 30 mm (with its 0.25 mm caps), or mirrored
    // from 90 to 110 mm.
    const double left = mirror ? 91 : 11, right = mirror ? 111 : 31;
    EXPECT_NEAR(mmX(runs[1].first), left - 0.25, 0.05);
    EXPECT_NEAR(mmX(runs[1].second), right + 0.25, 0.05);
  }
}

TEST_F(PrintCommand, TilesRepeatAtBoardWidthPlusGap) {
  ASSERT_EQ(run({"--tiles", "3x1", "--gap", "2", "--no-outline", "--paper", "A3"}, "tiles.pdf"), 0)
      << lastError;
  const Grey g = render("tiles.pdf", 0, 30, 290, 2);
  const auto runs = g.runs(rowOf(31));
  ASSERT_EQ(runs.size(), 3u);
  for (size_t i = 0; i < 3; ++i) {
    EXPECT_NEAR(mmX(runs[i].first), 1 + 10 - 0.25 + double(i) * 122, 0.05) << i;
    EXPECT_NEAR(mmX(runs[i].second) - mmX(runs[i].first), 20.5, 0.05) << i;
  }
}

// Without a ground plane the negative fills the board in the copper colour
// and leaves the copper white.
TEST_F(PrintCommand, NegativeInvertsTheCopper) {
  ASSERT_EQ(run({"--negative", "--layers", "K1"}), 0) << lastError;
  const Grey g = render("out.pdf", 0, 20, 130, 2);
  const int row = rowOf(21);
  const auto runs = g.runs(row);
  // Dark board from 1 to 121 mm, broken by the white track from 10.75 to
  // 111.25 mm.
  ASSERT_EQ(runs.size(), 2u);
  EXPECT_NEAR(mmX(runs[0].first), 1.0, 0.05);
  EXPECT_NEAR(mmX(runs[0].second), 10.75, 0.05);
  EXPECT_NEAR(mmX(runs[1].first), 111.25, 0.05);
  EXPECT_NEAR(mmX(runs[1].second), 121.0, 0.05);
  // Positive: only the track is dark.
  ASSERT_EQ(run({"--layers", "K1", "--no-outline"}), 0) << lastError;
  const auto positive = render("out.pdf", 0, 20, 130, 2).runs(row);
  ASSERT_EQ(positive.size(), 1u);
  EXPECT_NEAR(mmX(positive[0].first), 10.75, 0.05);
}

TEST_F(PrintCommand, BadOptionsAreRefusedWithoutAFile) {
  struct Case {
    std::vector<std::string> args;
    const char* message;
  };
  const Case cases[] = {
      {{"--correction", "1.25", "1"}, "Please enter values from 0.8 to 1.2"},
      {{"--correction", "1", "0.7"}, "Please enter values from 0.8 to 1.2"},
      {{"--correction", "x", "1"}, "Please enter values from 0.8 to 1.2"},
      {{"--tiles", "21x1"}, "--tiles"},
      {{"--tiles", "0x2"}, "--tiles"},
      {{"--tiles", "3"}, "--tiles"},
      {{"--gap", "50.1"}, "--gap"},
      {{"--gap", "-1"}, "--gap"},
      {{"--scale", "5"}, "--scale"},
      {{"--scale", "1010"}, "--scale"},
      {{"--scale", "15"}, "--scale"},
      {{"--paper", "A5"}, "--paper"},
      {{"--layers", "K1,K3"}, "--layers"},
      {{"--mask-offsets", "0", "0.1"}, "--mask-offsets"},
      {{"--mask-offsets", "0.1", "10"}, "--mask-offsets"},
      {{"--offset", "1", "2", "--centre"}, "exclude"},
      {{"--offset", "1"}, "--offset"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(run(c.args), 1) << c.message;
    EXPECT_NE(lastError.find(c.message), std::string::npos) << lastError;
    EXPECT_FALSE(fs::exists(path("out.pdf"))) << c.message;
  }
}

TEST_F(PrintCommand, UnwritablePathLeavesNoFile) {
  EXPECT_EQ(run({}, "missing/out.pdf"), 2);
  EXPECT_NE(lastError.find("missing/out.pdf"), std::string::npos) << lastError;
  EXPECT_FALSE(fs::exists(path("missing")));
  // A folder in the way: the rename fails and no temporary file stays.
  fs::create_directories(path("taken.pdf"));
  EXPECT_EQ(run({}, "taken.pdf"), 2);
  EXPECT_FALSE(lastError.empty());
  size_t files = 0;
  for (const auto& entry : fs::directory_iterator(dir))
    if (entry.is_regular_file()) ++files;
  EXPECT_EQ(files, 1u);  // board.lay only
  EXPECT_TRUE(fs::is_directory(path("taken.pdf")));
}

}  // namespace
}  // namespace plavesk
