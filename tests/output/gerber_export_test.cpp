#include "output/gerber_export.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "output/gerber_texts.h"

namespace plavesk {
namespace {

std::vector<std::string> lines(const std::string& text) {
  std::vector<std::string> out;
  for (size_t start = 0, end; (end = text.find("\r\n", start)) != std::string::npos;
       start = end + 2)
    out.push_back(text.substr(start, end - start));
  return out;
}

bool contains(const std::vector<std::string>& l, const std::string& line) {
  return std::find(l.begin(), l.end(), line) != l.end();
}

size_t indexOf(const std::vector<std::string>& l, const std::string& line, size_t from = 0) {
  return size_t(std::find(l.begin() + long(from), l.end(), line) - l.begin());
}

// A 160 x 100 mm board.
struct Board {
  TObjektList elements;
  TBoardRecord record;
  TObjekt& add(TObjektPtr e, int32_t clearance = 0) {
    e->clearance = clearance;
    elements.push_back(std::move(e));
    return *elements.back();
  }
  std::vector<std::string> plot(TGerberOutput output, void (*adjust)(TGerberOptions&) = nullptr,
                                int language = 1) {
    TGerberOptions o = gerberDefaults(output);
    if (adjust) adjust(o);
    return lines(gerberText(elements, record, o, language));
  }
};

TEST(GerberExport, SideTwoIsMirroredAboutTheBoardWidthAndYStartsAtTheBottom) {
  Board b;
  b.add(createPad({1000, -2500}, 80, kPadRound, kCopper2, 40));
  const auto l = b.plot(TGerberOutput::K2);
  EXPECT_TRUE(contains(l, "X15000Y7500D02*"));
  // The outline runs round the whole board.
  const size_t outline = indexOf(l, "X16000Y0D02*");
  ASSERT_LT(outline + 4, l.size());
  EXPECT_EQ(l[outline + 1], "X0Y0D01*");
  EXPECT_EQ(l[outline + 2], "X0Y10000D01*");
  EXPECT_EQ(l[outline + 3], "X16000Y10000D01*");
  EXPECT_EQ(l[outline + 4], "X16000Y0D01*");
}

TEST(GerberExport, OnlyTheOutputsLayerIsWritten) {
  struct Case {
    int layer;
    TGerberOutput output;
    bool belongs;
  } cases[] = {{1, TGerberOutput::K1, true},       {1, TGerberOutput::SmdOnly1, true},
               {1, TGerberOutput::K2, false},      {2, TGerberOutput::B1, true},
               {2, TGerberOutput::K1, false},      {3, TGerberOutput::K2, true},
               {3, TGerberOutput::SmdOnly2, true}, {3, TGerberOutput::SmdOnly1, false},
               {4, TGerberOutput::B2, true},       {4, TGerberOutput::B1, false},
               {1, TGerberOutput::LStop1, false},  {5, TGerberOutput::K2, false}};
  for (const Case& c : cases) {
    TObjektPtr e = createTrack(30, c.layer);
    EXPECT_EQ(GerberSichtbar(*e, c.output), c.belongs)
        << "layer " << c.layer << " output " << gerberOutputName(c.output);
  }
}

TEST(GerberExport, EveryKindInTheNormalPass) {
  Board b;
  b.record.width = 10000;
  b.record.height = 8000;
  TObjekt& track = b.add(createTrack(50, kCopper1));
  track.points = {{100, -100}, {200, -100}, {200, -300}};
  TObjekt& area = b.add(createArea(20, kCopper1));
  area.points = {{1000, -1000}, {2000, -1000}, {2000, -2000}};
  b.add(createCircle({3000, -3000}, 300, kPadRound, kCopper1, 250));
  b.add(createSmdPad({4000, -4000}, 151, kCopper1, 80));
  TObjekt& text = b.add(createText({0, 0}, "I", false, false, kCopper1, 0, 1, 1, 100));
  auto stroke = createTrack(12, kCopper1);
  stroke->points = {{500, -500}, {500, -600}};
  text.strokes.push_back(std::move(stroke));
  b.add(createPad({5000, -5000}, 60, kPadOblongH, kCopper1, 30));
  const auto l = b.plot(TGerberOutput::K1, [](TGerberOptions& o) { o.outline = false; });
  const std::vector<std::string> expected{
      // track
      "G54D10*", "X100Y7900D02*", "X200Y7900D01*", "X200Y7700D01*",
      // area: region, then its outline back to the first point
      "G54D11*", "G36*", "X1000Y7000D02*", "X2000Y7000D01*", "X2000Y6000D01*", "G37*",
      "X1000Y7000D02*", "X2000Y7000D01*", "X2000Y6000D01*", "X1000Y7000D01*",
      // ring of width 50 on radius 300 - 25
      "G54D10*", "G75*", "G01X3275Y5000D02*", "G03X3275Y5000I-275J0D01*", "G01*",
      // SMD pad 151 x 80: half sizes round(75.5) = 76 and 40
      "X4000Y4000D02*", "G54D12*", "D03*",
      // text stroke
      "G54D13*", "X500Y7500D02*", "X500Y7400D01*",
      // oblong pad: half sizes 120 x 60
      "X5000Y3000D02*", "G36*", "X4925Y2985D02*", "X4925Y3015D01*", "X5075Y3015D01*",
      "X5075Y2985D01*", "G37*", "G54D14*", "X4925Y2985D02*", "X4925Y3015D01*", "X5075Y3015D01*",
      "X5075Y2985D01*", "X4925Y2985D01*", "G54D13*"};
  ASSERT_GE(l.size(), expected.size() + 1);
  EXPECT_EQ(std::vector<std::string>(l.end() - 1 - long(expected.size()), l.end() - 1), expected);
  EXPECT_TRUE(contains(l, "%ADD12R, 1.52X0.80*%"));
}

TEST(GerberExport, GroundPlaneFillsTheBoardCutsClearancesThenDrawsTheElements) {
  Board b;
  b.record.groundPlane1 = 1;
  TObjekt& joined = b.add(createTrack(30, kCopper1), 0);
  joined.points = {{100, -100}, {900, -100}};
  TObjekt& kept = b.add(createTrack(40, kCopper1), 30);
  kept.points = {{100, -500}, {900, -500}};
  TObjekt& cutout = b.add(createArea(20, kCopper1), 30);
  cutout.points = {{2000, -2000}, {3000, -2000}, {3000, -3000}};
  cutout.cutout = 1;
  b.add(createPad({5000, -5000}, 60, kPadRound, kCopper1, 60), 30);  // bare hole
  const auto l = b.plot(TGerberOutput::K1, [](TGerberOptions& o) { o.outline = false; });
  const size_t fill = indexOf(l, "G36*");
  ASSERT_LT(fill + 6, l.size());
  EXPECT_EQ(std::vector<std::string>(l.begin() + long(fill), l.begin() + long(fill) + 7),
            (std::vector<std::string>{"G36*", "X0Y0D02*", "X16000Y0D01*", "X16000Y10000D01*",
                                      "X0Y10000D01*", "G37*", "%LPC*%"}));
  const size_t dark = indexOf(l, "%LPD*%", fill);
  ASSERT_LT(dark, l.size());
  const std::vector<std::string> clearance(l.begin() + long(fill) + 7, l.begin() + long(dark));
  const std::vector<std::string> normal(l.begin() + long(dark) + 1, l.end());
  // Clearance 0 draws with the normal pen: the track joins the plane.
  EXPECT_EQ(clearance[0], "G54D10*");
  EXPECT_EQ(normal[0], "G54D10*");
  EXPECT_TRUE(contains(l, "%ADD10C, 0.30*%"));
  EXPECT_TRUE(contains(l, "%ADD11C, 1.00*%"));  // 40 + 2 * 30
  // The cut-out clears at its own pen and is never drawn dark.
  EXPECT_TRUE(contains(clearance, "X2000Y8000D02*"));
  EXPECT_FALSE(contains(normal, "X2000Y8000D02*"));
  // The bare hole only clears: radius 60 + 30.
  EXPECT_TRUE(contains(clearance, "X5000Y5000D02*"));
  EXPECT_FALSE(contains(normal, "X5000Y5000D02*"));
  EXPECT_TRUE(contains(l, "%ADD13C, 1.80*%"));
}

TEST(GerberExport, NoGroundPlaneWithoutItsSwitchOrOnOtherOutputs) {
  Board b;
  b.record.groundPlane2 = 1;
  b.add(createSmdPad({100, -100}, 100, kCopper1, 100));
  b.add(createSmdPad({100, -100}, 100, kCopper2, 100));
  for (TGerberOutput o : {TGerberOutput::K1, TGerberOutput::SmdOnly2, TGerberOutput::B2})
    EXPECT_FALSE(contains(b.plot(o), "G36*")) << gerberOutputName(o);
  EXPECT_TRUE(contains(b.plot(TGerberOutput::K2), "G36*"));
}

TEST(GerberExport, PunchingCutsEachDrilledPadOfTheLayer) {
  Board b;
  b.add(createPad({1000, -1000}, 80, kPadRound, kCopper1, 40));
  b.add(createPad({2000, -1000}, 80, kPadSquare, kCopper1, 0));  // no drill
  b.add(createPad({3000, -1000}, 80, kPadRound, kCopper2, 35));  // other side
  for (bool mark : {false, true}) {
    SCOPED_TRACE(mark ? "marked" : "punched");
    TGerberOptions o = gerberDefaults(TGerberOutput::K1);
    o.setPunch(true);
    o.setMark(mark);
    const auto l = lines(gerberText(b.elements, b.record, o, 1));
    const size_t holes = indexOf(l, "%LNAUGENFREISTANZEN*%");
    ASSERT_LT(holes + 1, l.size());
    EXPECT_EQ(l[holes + 1], "%LPC*%");
    EXPECT_EQ(std::vector<std::string>(l.begin() + long(holes) + 2, l.end() - 1),
              (std::vector<std::string>{"X1000Y9000D02*", "G54D13*", "D03*"}));
    EXPECT_TRUE(contains(l, mark ? "%ADD13C, 0.30*%" : "%ADD13C, 0.80*%"));
  }
}

TEST(GerberExport, SmdOnlyWritesTheSidesSmdPadsAndNothingElse) {
  Board b;
  b.record.groundPlane1 = 1;
  b.add(createSmdPad({1000, -1000}, 150, kCopper1, 80));
  b.add(createSmdPad({2000, -1000}, 150, kCopper2, 80));
  b.add(createPad({3000, -1000}, 80, kPadRound, kCopper1, 40));
  TObjekt& t = b.add(createTrack(30, kCopper1));
  t.points = {{0, 0}, {10, 10}};
  const auto l = b.plot(TGerberOutput::SmdOnly1, [](TGerberOptions& o) { o.punch = true; });
  EXPECT_EQ(std::vector<std::string>(l.begin() + 5, l.end()),
            (std::vector<std::string>{"%ADD10R, 1.50X0.80*%", "%LPD*%", "X1000Y9000D02*", "G54D10*",
                                      "D03*", "M02*"}));
  EXPECT_EQ(l[2], "%LNSMDPads1*%");
}

TEST(GerberExport, SolderMaskOpensPadsAndSmdPadsByTheOffsets) {
  Board b;
  b.add(createPad({1000, -1000}, 80, kPadRound, kCopper1, 40));
  b.add(createSmdPad({2000, -1000}, 150, kCopper1, 80));
  b.add(createPad({3000, -1000}, 50, kPadRound, kCopper1, 50));  // a bare hole is opened too
  b.add(createPad({4000, -1000}, 80, kPadRound, kCopper2, 40));  // other side
  TObjekt& t = b.add(createTrack(30, kCopper1));
  t.points = {{0, 0}, {10, 10}};
  const auto l = b.plot(TGerberOutput::LStop1);
  EXPECT_EQ(
      std::vector<std::string>(l.begin() + 5, l.end()),
      (std::vector<std::string>{"%ADD10C, 2.20*%", "%ADD11R, 1.70X1.00*%", "%ADD12C, 1.60*%",
                                "%LPD*%", "X1000Y9000D02*", "G54D10*", "D03*", "X2000Y9000D02*",
                                "G54D11*", "D03*", "X3000Y9000D02*", "G54D12*", "D03*", "M02*"}));
  EXPECT_EQ(l[2], "%LNSOLDERMASK1*%");
}

TEST(GerberExport, SolderMaskOptions) {
  Board b;
  b.add(createPad({1000, -1000}, 80, kPadSquare, kCopper2, 40));
  b.add(createSmdPad({2000, -1000}, 150, kCopper2, 80));
  const auto inverted = b.plot(TGerberOutput::LStop2, [](TGerberOptions& o) { o.invert = true; });
  // The board dark, then the openings cleared; mirrored about the width.
  const size_t fill = indexOf(inverted, "G36*");
  ASSERT_LT(fill + 7, inverted.size());
  EXPECT_EQ(inverted[fill + 6], "%LPC*%");
  EXPECT_EQ(inverted[fill + 7], "X15000Y9000D02*");
  EXPECT_TRUE(contains(inverted, "%ADD10R, 2.20X2.20*%"));

  const auto padsOnly = b.plot(TGerberOutput::LStop2, [](TGerberOptions& o) {
    o.smdPads = false;
    o.setPadOffset(0.55);
    o.outline = true;
  });
  EXPECT_TRUE(contains(padsOnly, "%ADD11R, 2.70X2.70*%"));
  EXPECT_FALSE(contains(padsOnly, "X14000Y9000D02*"));
  EXPECT_TRUE(contains(padsOnly, "%ADD10C, 0.20*%"));  // the outline

  const auto smdOnly = b.plot(TGerberOutput::LStop2, [](TGerberOptions& o) {
    o.pads = false;
    o.setSmdOffset(0.25);
  });
  EXPECT_FALSE(contains(smdOnly, "X15000Y9000D02*"));
  EXPECT_TRUE(contains(smdOnly, "%ADD10R, 2.00X1.30*%"));
}

TEST(GerberExport, SilkscreenGetsTheOutlineOnlyWhenAsked) {
  Board b;
  void (*withOutline)(TGerberOptions&) = [](TGerberOptions& o) { o.outline = true; };
  for (bool outline : {false, true}) {
    const auto l = b.plot(TGerberOutput::B1, outline ? withOutline : nullptr);
    EXPECT_EQ(contains(l, "X16000Y0D01*"), outline);
  }
}

TEST(GerberExport, LegacyFontTextsAndUnknownPadShapesAreLeftOut) {
  Board b;
  TObjekt& font = b.add(std::make_unique<TObjekt>());
  font.kind = kFontText;
  font.layer = kCopper1;
  b.add(createPad({1000, -1000}, 80, 12, kCopper1, 40));
  const auto l = b.plot(TGerberOutput::K1, [](TGerberOptions& o) { o.outline = false; });
  EXPECT_EQ(std::vector<std::string>(l.begin() + 5, l.end()),
            (std::vector<std::string>{"%LPD*%", "M02*"}));
}

TEST(GerberTexts, FileAndLayerNamesInEachLanguage) {
  struct Case {
    TGerberOutput output;
    int language;
    const char* file;
    const char* layer;
  } cases[] = {
      {TGerberOutput::K1, 0, "Kupfer1.GBR", "KUPFERSEITE1"},
      {TGerberOutput::K2, 1, "Copper2.GBR", "COPPER2"},
      {TGerberOutput::B1, 2, "Serigraphie1.GBR", "SERIGRAPHIE1"},
      {TGerberOutput::B2, 0, "Bestueckung2.GBR", "BESTUECKUNG2"},
      {TGerberOutput::LStop1, 2, "Masquesoudure1.GBR", "MASQUESOUDURE1"},
      {TGerberOutput::LStop2, 0, "Loetstop2.GBR", "LOETSTOP2"},
      {TGerberOutput::SmdOnly1, 2, "SMDPads1.GBR", "SMDPads1"},
      {TGerberOutput::SmdOnly2, 0, "SMDPads2.GBR", "SMDPads2"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(gerberFileName(c.output, c.language), c.file);
    EXPECT_EQ(gerberLayerName(c.output, c.language), c.layer);
  }
  Board b;
  EXPECT_EQ(b.plot(TGerberOutput::B2, nullptr, 2)[2], "%LNSERIGRAPHIE2*%");
}

}  // namespace
}  // namespace plavesk
