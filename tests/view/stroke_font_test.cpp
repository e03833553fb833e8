#include "view/stroke_font.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "document/text_codec.h"
#include "view/geometry.h"

namespace plavesk {
namespace {

std::vector<TPoint> pointsOf(const TObjekt& stroke) {
  return stroke.points;
}

// Every character of the font by its published width; a mistyped glyph string
// almost always moves a width.
TEST(GlyphTable, WidthOfEveryCharacterWithAGlyph) {
  struct Case {
    int width;
    const char* characters;  // UTF-8
  };
  const Case cases[] = {
      {0, "!.:Iil"}, {10, ",j"},
      {15, "\"()"},  {20, "frt"},
      {25, "1c"},    {30, "abdeghknopqsuzµäöü"},
      {35, "EFLß"},  {40, "*+-/023456789<=>?BCDGHJKNOPRSTUZ\\vxyÖÜ"},
      {45, "Q"},     {50, "#&AMVWXY_mÄ"},
      {55, "w"},     {60, "%"},
  };
  int withGlyph = 0;
  for (const Case& c : cases) {
    const std::string codes = utf8ToCp1252(c.characters);
    for (char ch : codes) {
      const auto code = static_cast<uint8_t>(ch);
      SCOPED_TRACE(std::string("code ") + std::to_string(code));
      EXPECT_EQ(glyphWidth(code), c.width);
      EXPECT_EQ(glyphToken(code, 0).kind, GlyphTokenKind::penUp);
      ++withGlyph;
    }
  }
  EXPECT_EQ(withGlyph, 90);
  // No other code has a glyph.
  int drawn = 0;
  for (int code = 0; code < 256; ++code)
    if (std::string(glyphString(uint8_t(code))) != "ZZZZZZ") ++drawn;
  EXPECT_EQ(drawn, 90);
}

TEST(GlyphTable, CharactersWithoutGlyphAndTheBlank) {
  for (char ch : std::string("$';@[]{}^`|~\x80")) {
    const auto code = static_cast<uint8_t>(ch);
    SCOPED_TRACE(int(code));
    EXPECT_STREQ(glyphString(code), "ZZZZZZ");
    EXPECT_EQ(glyphWidth(code), 0);
    EXPECT_EQ(glyphToken(code, 0).kind, GlyphTokenKind::end);
  }
  EXPECT_STREQ(glyphString(' '), "ZZZZZZ");
  EXPECT_EQ(glyphWidth(' '), 1);
}

TEST(GlyphTable, SharedGlyphsAndTokens) {
  EXPECT_STREQ(glyphString('O'), glyphString('0'));
  EXPECT_STREQ(glyphString('l'), glyphString('I'));
  // "XXXXXX+00-15+10-20..." : negative y below the baseline.
  const TGlyphToken t = glyphToken('g', 1);
  EXPECT_EQ(t.kind, GlyphTokenKind::point);
  EXPECT_EQ(t.point, (TPoint{0, -15}));
  EXPECT_EQ(glyphToken('L', 3).point, (TPoint{35, 0}));
  EXPECT_EQ(glyphToken('L', 4).kind, GlyphTokenKind::end);
  EXPECT_EQ(glyphToken('L', 50).kind, GlyphTokenKind::end);
}

TEST(GlyphCodes, MapsUtf8ToWindows1252AndMarksTheRest) {
  EXPECT_EQ(glyphCodes("Aä€?"), (std::vector<int>{65, 228, 0x80, '?'}));
  // A character outside Windows-1252 must not be drawn as a question mark.
  EXPECT_EQ(glyphCodes("a\xE4\xB8\xAD"
                       "b"),
            (std::vector<int>{'a', -1, 'b'}));
  EXPECT_TRUE(glyphCodes("").empty());
}

TEST(GenerateStrokes, LetterLAtFiveMillimetres) {
  TObjektList strokes;
  const TPoint p{1000, -2000};
  const TPoint next =
      generateStrokes(p, "L", 5.0, kNormalThickness, kNormalStyle, kSilk1, 40, strokes);
  ASSERT_EQ(strokes.size(), 1u);
  const TObjekt& s = *strokes[0];
  EXPECT_EQ(s.kind, kTrack);
  EXPECT_EQ(s.dim3, 56);
  EXPECT_EQ(s.layer, kSilk1);
  EXPECT_EQ(s.clearance, 40);
  EXPECT_EQ(pointsOf(s), (std::vector<TPoint>{{1000, -1556}, {1000, -2000}, {1233, -2000}}));
  EXPECT_EQ(next, (TPoint{1355, -2000}));
}

// Stroke width, letter gap and horizontal stretch for every thickness and
// style, seen through "LL": the second L starts one advance to the right.
TEST(GenerateStrokes, ThicknessAndStyleTable) {
  struct Case {
    int thickness;
    int style;
    int32_t width;
    int32_t footEnd;  // x of the L's foot end, relative to its origin
    int32_t advance;
  };
  // s = 500 / 90; widths 10 s / 1.8, 10 s, 10 s / 0.7; gaps 16 s, 22 s, 28 s;
  // foot 35 s f with f = 0.8, 1.2, 1.6.
  const Case cases[] = {
      {kThin, kNarrow, 31, 156, 156 + 89},
      {kThin, kNormalStyle, 31, 233, 233 + 89},
      {kNormalThickness, kNarrow, 56, 156, 156 + 122},
      {kNormalThickness, kWide, 56, 311, 311 + 122},
      {kBold, kNormalStyle, 79, 233, 233 + 156},
      {kBold, kWide, 79, 311, 311 + 156},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "thickness " << c.thickness << " style " << c.style);
    TObjektList strokes;
    generateStrokes({0, 0}, "LL", 5.0, c.thickness, c.style, kCopper1, 0, strokes);
    ASSERT_EQ(strokes.size(), 2u);
    EXPECT_EQ(strokes[0]->dim3, c.width);
    EXPECT_EQ(strokes[0]->points.back(), (TPoint{c.footEnd, 0}));
    EXPECT_EQ(strokes[1]->points.front(), (TPoint{c.advance, 444}));
  }
}

TEST(GenerateStrokes, BlankAndGlyphlessCharactersOnlyAdvance) {
  struct Case {
    const char* text;
    int32_t advance;
  };
  const Case cases[] = {
      {" ", 7 + 122},  // width 1 stretched: round(6.67)
      {"$", 122},
      {"@[]~", 4 * 122},
      {"\xE4\xB8\xAD", 122},  // no Windows-1252 code
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    TObjektList strokes;
    const TPoint next =
        generateStrokes({0, 0}, c.text, 5.0, kNormalThickness, kNormalStyle, kCopper1, 0, strokes);
    EXPECT_TRUE(strokes.empty());
    EXPECT_EQ(next.x, c.advance);
  }
}

TEST(GenerateStrokes, DotsDescendersAndUmlauts) {
  TObjektList strokes;
  generateStrokes({0, 0}, ".", 9.0, kNormalThickness, kNormalStyle, kCopper1, 0, strokes);
  ASSERT_EQ(strokes.size(), 1u);
  EXPECT_EQ(strokes[0]->points, (std::vector<TPoint>{{0, 0}, {0, 0}}));

  strokes.clear();
  generateStrokes({0, 0}, "p", 9.0, kNormalThickness, kNormalStyle, kCopper1, 0, strokes);
  ASSERT_EQ(strokes.size(), 2u);  // s = 10: the stem reaches y = -200
  EXPECT_EQ(strokes[0]->points, (std::vector<TPoint>{{0, 450}, {0, -200}}));

  strokes.clear();
  generateStrokes({0, 0}, "Ä", 9.0, kNormalThickness, kNormalStyle, kCopper1, 0, strokes);
  ASSERT_EQ(strokes.size(), 4u);
  EXPECT_EQ(strokes[3]->points, (std::vector<TPoint>{{540, 850}, {540, 850}}));  // 45 × 10 × 1.2
}

TEST(GenerateStrokes, HugeHeightSaturatesInsteadOfOverflowing) {
  TObjektList strokes;
  const TPoint next =
      generateStrokes({2'000'000'000, 0}, "WWW", 1e9, kBold, kWide, kCopper1, 0, strokes);
  EXPECT_EQ(next.x, 2147483647);
  ASSERT_EQ(strokes.size(), 3u);
}

struct TextFixture : testing::Test {
  TObjektList list;
  TTextCounter counter;
  TTextContext context{kCopper2, 25, 254.0};

  TTextSettings settings(const std::string& text, int orientation = 0, bool mirrorH = false,
                         bool mirrorV = false) {
    TTextSettings s;
    s.text = text;
    s.orientation = orientation;
    s.mirrorH = mirrorH;
    s.mirrorV = mirrorV;
    return s;
  }
};

// Stroke points relative to the first point of the first stroke.
std::vector<std::vector<TPoint>> shape(const TObjekt& text) {
  std::vector<std::vector<TPoint>> out;
  const TPoint o = text.strokes.at(0)->points.at(0);
  for (const auto& s : text.strokes) {
    out.emplace_back();
    for (TPoint q : s->points) out.back().push_back({q.x - o.x, q.y - o.y});
  }
  return out;
}

TEST_F(TextFixture, CreatedTextStoresTheSettingsAndSitsOnP) {
  TTextSettings s = settings("LT");
  s.height = 2.5;
  s.thickness = kBold;
  s.spacing = kWide;
  const TPoint p{3000, -4000};
  TObjekt& t = createTextElement(list, p, s, counter, context);
  ASSERT_EQ(list.size(), 1u);
  EXPECT_EQ(&t, list[0].get());
  EXPECT_EQ(t.kind, kText);
  EXPECT_EQ(t.text, "LT");
  EXPECT_EQ(t.dim1, 250);
  EXPECT_EQ(t.dim2, kBold);
  EXPECT_EQ(t.dim3, kWide);
  EXPECT_EQ(t.layer, kCopper2);
  EXPECT_EQ(t.clearance, 25);
  ASSERT_EQ(t.strokes.size(), 3u);
  for (const auto& stroke : t.strokes) {
    EXPECT_EQ(stroke->layer, kCopper2);
    EXPECT_EQ(stroke->clearance, 25);
  }
  const TRect b = elementBounds(t);
  EXPECT_EQ(b.left, p.x);
  EXPECT_EQ(b.top, p.y);
}

// Each orientation and mirror turns the strokes as the transform primitives
// would, while the stored orientation and flags keep the dialog's values and
// the box stays on p.
TEST_F(TextFixture, OrientationAndMirrorTable) {
  struct Case {
    int orientation;
    bool mirrorH;
    bool mirrorV;
  };
  const Case cases[] = {{0, false, false}, {1, false, false}, {2, false, false}, {3, false, false},
                        {0, true, false},  {0, false, true},  {3, false, true},  {1, true, true}};
  TObjekt& plain = createTextElement(list, {0, 0}, settings("F"), counter, context);
  const auto plainShape = shape(plain);
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.orientation << " H" << c.mirrorH << " V" << c.mirrorV);
    const TPoint p{500, 700};
    TObjekt& t = createTextElement(list, p, settings("F", c.orientation, c.mirrorH, c.mirrorV),
                                   counter, context);
    EXPECT_EQ(t.angle, c.orientation);
    EXPECT_EQ(t.mirrorH, c.mirrorH);
    EXPECT_EQ(t.mirrorV, c.mirrorV);
    auto expected = plainShape;
    for (auto& stroke : expected)
      for (TPoint& q : stroke) {
        for (int i = 0; i < c.orientation; ++i) q = TPoint{q.y, -q.x};  // clockwise on screen
        if (c.mirrorV) q.y = -q.y;
        if (c.mirrorH) q.x = -q.x;
      }
    EXPECT_EQ(shape(t), expected);
    const TRect b = elementBounds(t);
    EXPECT_EQ(b.left, p.x);
    EXPECT_EQ(b.top, p.y);
  }
}

TEST_F(TextFixture, TextCounterNumbersTextsButNotTheStoredText) {
  TTextSettings s = settings("R");
  s.addNumber = true;
  s.startValue = 7;
  counter.restart(s);
  for (int n : {7, 8, 9}) {
    SCOPED_TRACE(n);
    EXPECT_EQ(textWithNumber(s, counter), "R" + std::to_string(n));
    TObjekt& t = createTextElement(list, {0, 0}, s, counter, context);
    EXPECT_EQ(t.text, "R");
    TObjektList direct;
    TObjekt& reference =
        createTextElement(direct, {0, 0}, settings("R" + std::to_string(n)), counter, context);
    EXPECT_EQ(shape(t), shape(reference));
  }
  EXPECT_EQ(counter.value, 10);

  s.addNumber = false;
  createTextElement(list, {0, 0}, s, counter, context);
  EXPECT_EQ(counter.value, 10);
}

TEST_F(TextFixture, TextWithoutGlyphsHasNoStrokesAndNoBox) {
  TObjekt& t =
      createTextElement(list, {100, 200}, settings("$@ ", 1, true, true), counter, context);
  EXPECT_TRUE(t.strokes.empty());
  EXPECT_FALSE(hasStrokes(t));
  EXPECT_EQ(t.x, 100);
  EXPECT_EQ(t.y, 200);
  EXPECT_EQ(t.angle, 1);

  TObjekt& empty = createTextElement(list, {0, 0}, settings(""), counter, context);
  EXPECT_FALSE(hasStrokes(empty));
}

TEST(TextExtentEstimate, TurnsWithTheOrientation) {
  // "L1" at 5 mm: round(35 s) + round(25 s) + round(1.7 s) = 194 + 139 + 9; h = round(8 s).
  struct Case {
    int orientation;
    TPoint extent;
  };
  const Case cases[] = {{0, {342, 44}}, {1, {44, -342}}, {2, {-342, -44}}, {3, {-44, 342}}};
  for (const Case& c : cases) {
    TTextSettings s;
    s.text = "L";
    s.addNumber = true;
    s.orientation = c.orientation;
    TTextCounter counter{1};
    EXPECT_EQ(textExtentEstimate(s, counter), c.extent) << c.orientation;
    EXPECT_EQ(counter.value, 1);
  }
  TTextSettings empty;
  EXPECT_EQ(textExtentEstimate(empty, TTextCounter{}), (TPoint{0, 44}));
}

TEST(TextSettingsFromElement, RecreatesTheDialogValues) {
  auto e = createText({0, 0}, "Ab", true, false, kSilk2, 3, kNarrow, kBold, 1250);
  const TTextSettings s = textSettingsFromElement(*e);
  EXPECT_EQ(s.text, "Ab");
  EXPECT_DOUBLE_EQ(s.height, 12.5);
  EXPECT_EQ(s.thickness, kBold);
  EXPECT_EQ(s.spacing, kNarrow);
  EXPECT_EQ(s.orientation, 3);
  EXPECT_TRUE(s.mirrorV);
  EXPECT_FALSE(s.mirrorH);
}

}  // namespace
}  // namespace plavesk
