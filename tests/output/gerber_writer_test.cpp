#include "output/gerber_writer.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <sstream>

#include "document/file_io.h"

namespace plavesk {
namespace {

// The lines of a finished file; fails when a line does not end in CR LF.
std::vector<std::string> linesOf(const std::string& text) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < text.size()) {
    const size_t end = text.find("\r\n", start);
    EXPECT_NE(end, std::string::npos) << "last line without CR LF";
    if (end == std::string::npos) break;
    const std::string line = text.substr(start, end - start);
    EXPECT_EQ(line.find('\n'), std::string::npos) << "bare LF in " << line;
    lines.push_back(line);
    start = end + 2;
  }
  return lines;
}

// The body lines between "%LPD*%" and "M02*".
std::vector<std::string> bodyOf(TGerberFile& f) {
  auto lines = linesOf(f.Finish());
  auto first = std::find(lines.begin(), lines.end(), "%LPD*%");
  EXPECT_NE(first, lines.end());
  EXPECT_EQ(lines.back(), "M02*");
  return {first + 1, lines.end() - 1};
}

TEST(GerberWriter, EmptyFileIsHeaderPolarityAndEnd) {
  TGerberFile f;
  EXPECT_EQ(f.Path, "GERBER.GBR");
  EXPECT_EQ(f.Penwidth(), 0);
  f.Open("KUPFERSEITE1");
  EXPECT_EQ(f.Finish(),
            "%FSLAX32Y32*%\r\n%MOMM*%\r\n%LNKUPFERSEITE1*%\r\nG71*\r\nG01*\r\n%LPD*%\r\nM02*\r\n");
}

TEST(GerberWriter, BoardOutlineWithAPointTwoPen) {
  TGerberFile f;
  f.Open("COPPER1");
  f.SetPenwidth(20);
  f.MoveTo(0, 0);
  f.LineTo(16000, 0);
  EXPECT_EQ(f.Penwidth(), 20);
  EXPECT_EQ(f.Finish(),
            "%FSLAX32Y32*%\r\n%MOMM*%\r\n%LNCOPPER1*%\r\nG71*\r\nG01*\r\n%ADD10C, 0.20*%\r\n"
            "%LPD*%\r\nG54D10*\r\nX0Y0D02*\r\nX16000Y0D01*\r\nM02*\r\n");
}

TEST(GerberWriter, EqualRequestsShareOneAperture) {
  TGerberFile f;
  f.Open("L");
  f.SetPenwidth(20);
  f.SetPenwidth(20);
  f.FlashCircle(40, 80);
  f.SetPenwidth(20);
  f.FlashCircle(40, 80);
  f.FlashCircle(30, 80);  // another drill: another aperture, same definition
  f.FlashRect(100, 50);
  f.FlashRect(50, 100);
  EXPECT_EQ(bodyOf(f), (std::vector<std::string>{"G54D10*", "G54D10*", "G54D11*", "D03*", "G54D10*",
                                                 "G54D11*", "D03*", "G54D12*", "D03*", "G54D13*",
                                                 "D03*", "G54D14*", "D03*"}));
  auto lines = linesOf(f.Finish());
  EXPECT_EQ(std::vector<std::string>(lines.begin() + 5, lines.begin() + 10),
            (std::vector<std::string>{"%ADD10C, 0.20*%", "%ADD11C, 1.60*%", "%ADD12C, 1.60*%",
                                      "%ADD13R, 2.00X1.00*%", "%ADD14R, 1.00X2.00*%"}));
}

TEST(GerberWriter, SizesAreMillimetresWithTwoDecimals) {
  struct Case {
    int64_t units;
    const char* text;
  } cases[] = {{0, "0.00"},   {5, "0.05"},           {25, "0.25"},
               {160, "1.60"}, {1234567, "12345.67"}, {-5, "-0.05"}};
  for (const Case& c : cases) EXPECT_EQ(gerberMillimetres(c.units), c.text) << c.units;
}

TEST(GerberWriter, OpenStartsAgainAtD10) {
  TGerberFile f;
  f.Open("A");
  f.SetPenwidth(20);
  f.SetPenwidth(30);
  f.Open("B");
  f.SetPenwidth(30);
  EXPECT_EQ(bodyOf(f), std::vector<std::string>{"G54D10*"});
  EXPECT_EQ(f.apertures().size(), 1u);
}

TEST(GerberWriter, MirrorReplacesEveryX) {
  TGerberFile f;
  f.mirror = true;
  f.mirrorWidth = 16000;
  f.Open("L");
  f.MoveTo(1000, -5);
  f.LineTo(17000, 20);
  EXPECT_EQ(bodyOf(f), (std::vector<std::string>{"X15000Y-5D02*", "X-1000Y20D01*"}));
}

TEST(GerberWriter, ArcRunsCounterClockwiseAlsoWhenMirrored) {
  TGerberFile plain;
  plain.Open("L");
  plain.Arc(1000, 1000, 1100, 1000, 1000, 1100);
  EXPECT_EQ(bodyOf(plain), (std::vector<std::string>{"G75*", "G01X1100Y1000D02*",
                                                     "G03X1000Y1100I-100J0D01*", "G01*"}));
  TGerberFile mirrored;
  mirrored.mirror = true;
  mirrored.mirrorWidth = 3000;
  mirrored.Open("L");
  mirrored.Arc(1000, 1000, 1100, 1000, 1000, 1100);
  // Centre at 2000; the quarter from 0 to 90 degrees becomes the one from
  // 90 to 180, started at its counter-clockwise beginning.
  EXPECT_EQ(bodyOf(mirrored), (std::vector<std::string>{"G75*", "G01X2000Y1100D02*",
                                                        "G03X1900Y1000I0J-100D01*", "G01*"}));
}

TEST(GerberWriter, FullCircleStartsAndEndsAtOnePoint) {
  TGerberFile f;
  f.Open("L");
  f.Arc(0, 0, 50, 0, 50, 0);
  EXPECT_EQ(bodyOf(f)[2], "G03X50Y0I-50J0D01*");
}

TEST(GerberWriter, OctagonCutsCornersByRoundedHalfEven) {
  TGerberFile f;
  f.Open("L");
  f.SetPenwidth(20);
  f.FillOctagon(1000, 1000, 100, 100);  // 100 * 0.585 = 58.5 -> 58
  EXPECT_EQ(bodyOf(f), (std::vector<std::string>{
                           "G54D10*", "G36*", "X900Y1042D02*", "X958Y1100D01*", "X1042Y1100D01*",
                           "X1100Y1042D01*", "X1100Y958D01*", "X1042Y900D01*", "X958Y900D01*",
                           "X900Y958D01*", "G37*", "G54D10*"}));
  EXPECT_EQ(f.Penwidth(), 20);
}

TEST(GerberWriter, OblongIsAFilledInnerRectangleStrokedWithTheCornerPen) {
  TGerberFile f;
  f.Open("L");
  f.SetPenwidth(20);
  // Half sizes 120 x 60: pen round(60 * 1.5) = 90, inset 45.
  f.FillOblong(1000, 1000, 120, 60);
  EXPECT_EQ(bodyOf(f), (std::vector<std::string>{
                           "G54D10*", "G36*", "X925Y985D02*", "X925Y1015D01*", "X1075Y1015D01*",
                           "X1075Y985D01*", "G37*", "G54D11*", "X925Y985D02*", "X925Y1015D01*",
                           "X1075Y1015D01*", "X1075Y985D01*", "X925Y985D01*", "G54D10*"}));
  EXPECT_EQ(linesOf(f.Finish())[6], "%ADD11C, 0.90*%");
}

TEST(GerberWriter, PolaritiesRegionsAndTheHoleLayer) {
  TGerberFile f;
  f.Open("L");
  f.BeginRegion();
  f.EndRegion();
  f.ClearPolarity();
  f.DarkPolarity();
  f.BeginHoleLayer();
  f.Flash();
  EXPECT_EQ(bodyOf(f), (std::vector<std::string>{"G36*", "G37*", "%LPC*%", "%LPD*%",
                                                 "%LNAUGENFREISTANZEN*%", "%LPC*%", "D03*"}));
}

class GerberWriterFile : public ::testing::Test {
 protected:
  void SetUp() override {
    dir = std::filesystem::temp_directory_path() /
          ("plavesk-gerber-writer-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
  }
  void TearDown() override { std::filesystem::remove_all(dir); }
  std::filesystem::path dir;
};

TEST_F(GerberWriterFile, CloseWritesWhatFinishReturns) {
  TGerberFile f;
  f.Path = (dir / "out.gbr").string();
  f.Open("L");
  f.SetPenwidth(20);
  f.MoveTo(1, 2);
  std::string error;
  ASSERT_TRUE(f.Close(error)) << error;
  std::vector<uint8_t> bytes;
  ASSERT_TRUE(readWholeFile(f.Path, bytes, error)) << error;
  EXPECT_EQ(std::string(bytes.begin(), bytes.end()), f.Finish());
}

TEST_F(GerberWriterFile, AFileThatCannotBeCreatedIsReportedAndLeavesNothing) {
  TGerberFile f;
  f.Path = (dir / "missing" / "out.gbr").string();
  f.Open("L");
  std::string error;
  EXPECT_FALSE(f.Close(error));
  EXPECT_NE(error.find("out.gbr"), std::string::npos) << error;
  EXPECT_TRUE(std::filesystem::is_empty(dir));
}

}  // namespace
}  // namespace plavesk
