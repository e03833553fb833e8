#include "editing/font_text_conversion.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

#include "view/geometry.h"

namespace plavesk {
namespace {

// A legacy font text with its box top-left at (x, y). A font height of -200
// pixels at 96 pixels per inch gives 1.35 mm characters (s = 1.5 units).
TObjektPtr makeFontText(const std::string& text, TPoint at, int32_t degrees = 0, int layer = kSilk1,
                        std::vector<int32_t> groupIds = {}) {
  auto f = std::make_unique<TObjekt>();
  f->kind = kFontText;
  f->x = at.x;
  f->y = at.y;
  f->dim1 = at.x + 400;
  f->dim2 = at.y - 200;
  f->dim3 = -200;
  f->angle = degrees;
  f->layer = static_cast<uint8_t>(layer);
  f->text = text;
  f->groupIds = std::move(groupIds);
  return f;
}

TObjektPtr makeTrack() {
  auto t = createTrack(30, kCopper1);
  addPoint(*t, {0, 0});
  addPoint(*t, {100, 0});
  return t;
}

struct ConversionFixture : testing::Test {
  TLayout layout;
  void SetUp() override {
    layout.addBoard("A");
    layout.addBoard("B");
    layout.activateBoard(0);
  }
  TObjektList& board(int i) { return layout.boards[i]->elements; }
};

TEST(FontTextHeight, FromScreenPixels) {
  auto f = makeFontText("x", {0, 0});
  EXPECT_NEAR(fontTextHeightMm(*f, 96.0), 1.35, 1e-12);
  EXPECT_NEAR(fontTextHeightMm(*f, 120.0), 1.08, 1e-12);
  f->dim3 = 300;
  EXPECT_NEAR(fontTextHeightMm(*f, 96.0), 2.025, 1e-12);
  f->dim3 = INT32_MIN;
  EXPECT_EQ(fontTextHeightMm(*f, 96.0), kMaxFontTextHeightMm);
}

// The corner of the new text's box that lands on the font text's position
// depends on the orientation.
TEST_F(ConversionFixture, CornerRuleForEachOrientation) {
  struct Case {
    int32_t degrees;
    int quarterTurns;
    bool right;  // corner at maximum x
    bool upper;  // corner at maximum y
  };
  const Case cases[] = {
      {0, 0, false, true}, {90, 1, true, true}, {180, 2, true, false}, {270, 3, false, false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.degrees);
    TObjektList list;
    const TPoint at{2000, -1500};
    list.push_back(makeFontText("Lg", at, c.degrees));
    ASSERT_EQ(convertFontTextList(list, 96.0, TTextContext{kCopper1, 40, 254.0}), 1);
    ASSERT_EQ(list.size(), 1u);
    const TObjekt& t = *list[0];
    EXPECT_EQ(t.kind, kText);
    EXPECT_EQ(t.text, "Lg");
    EXPECT_EQ(t.angle, c.quarterTurns);
    EXPECT_EQ(t.dim1, 135);
    EXPECT_EQ(t.dim2, kBold);
    EXPECT_EQ(t.dim3, kNormalStyle);
    EXPECT_EQ(t.mirrorH, 0);
    EXPECT_EQ(t.mirrorV, 0);
    ASSERT_EQ(t.strokes.size(), 3u);
    EXPECT_EQ(t.strokes[0]->dim3, 21);  // bold: round(10 × 1.5 / 0.7)
    const TRect b = elementBounds(t);
    EXPECT_EQ(c.right ? b.right : b.left, at.x);
    EXPECT_EQ(c.upper ? b.bottom : b.top, at.y);
  }
}

TEST_F(ConversionFixture, KeepsGroupIdsLayerAndOtherElements) {
  layout.working().activeLayer = kCopper1;
  board(0).push_back(makeTrack());
  board(0).push_back(makeFontText("Hi", {0, 0}, 0, kSilk2, {3, 9}));
  board(0).push_back(makeTrack());
  ASSERT_EQ(convertFontTexts(layout, 96.0, 55), 1);

  ASSERT_EQ(board(0).size(), 3u);
  EXPECT_EQ(board(0)[0]->kind, kTrack);
  EXPECT_EQ(board(0)[1]->kind, kTrack);
  const TObjekt& t = *board(0)[2];
  EXPECT_EQ(t.kind, kText);
  EXPECT_EQ(t.groupIds, (std::vector<int32_t>{3, 9}));
  EXPECT_EQ(t.layer, kSilk2);
  EXPECT_EQ(t.clearance, 55);
  ASSERT_FALSE(t.strokes.empty());
  for (const auto& s : t.strokes) {
    EXPECT_EQ(s->layer, kSilk2);
    EXPECT_TRUE(s->groupIds.empty());
  }
}

TEST_F(ConversionFixture, AllBoardsConvertedAndActiveBoardRestored) {
  board(0).push_back(makeFontText("A", {0, 0}));
  board(1).push_back(makeFontText("B", {0, 0}));
  board(1).push_back(makeFontText("$ ", {0, 0}));  // no glyphs: dropped
  board(1).push_back(makeFontText("", {0, 0}));    // empty: dropped
  // The first board is active while the last one is converted last.
  layout.working().grid = 127.0;  // unsaved working state of the active board
  ASSERT_EQ(countFontTexts(layout), 4);

  EXPECT_EQ(convertFontTexts(layout, 96.0), 4);

  EXPECT_EQ(countFontTexts(layout), 0);
  ASSERT_EQ(board(0).size(), 1u);
  EXPECT_EQ(board(0)[0]->kind, kText);
  ASSERT_EQ(board(1).size(), 1u);
  EXPECT_EQ(board(1)[0]->text, "B");
  EXPECT_EQ(layout.activeBoard, 0);
  EXPECT_EQ(layout.working().grid, 127.0);
  EXPECT_EQ(layout.suppressSnapshots, 0);
  EXPECT_TRUE(layout.modified);
  EXPECT_TRUE(layout.boards[0]->undoStack.empty());
}

TEST_F(ConversionFixture, NothingToConvertLeavesTheLayoutAlone) {
  board(0).push_back(makeTrack());
  EXPECT_EQ(convertFontTexts(layout, 96.0), 0);
  EXPECT_FALSE(layout.modified);
  EXPECT_EQ(board(0).size(), 1u);
  EXPECT_THROW(convertFontTexts(layout, 0.0), std::invalid_argument);
}

TEST_F(ConversionFixture, DamagedFontHeightsDoNotCrash) {
  auto huge = makeFontText("WW", {0, 0}, 45);
  huge->dim3 = INT32_MIN;
  board(0).push_back(std::move(huge));
  auto flipped = makeFontText("x", {0, 0}, -90);
  flipped->dim3 = 400;  // positive: negative height
  board(0).push_back(std::move(flipped));
  EXPECT_EQ(convertFontTexts(layout, 96.0), 2);
  ASSERT_EQ(board(0).size(), 2u);
  EXPECT_EQ(board(0)[0]->dim1, 100000);  // capped at a metre
  EXPECT_EQ(board(0)[0]->angle, 0);
  EXPECT_EQ(board(0)[1]->dim1, 270);  // 400 / 96 × 0.648 mm
  EXPECT_EQ(board(0)[1]->angle, 3);
  EXPECT_GT(board(0)[1]->strokes[0]->dim3, 0);
}

TEST(FontTextMessages, CountAndLanguages) {
  EXPECT_EQ(fontTextQuestion(1, 5),
            "There are 5 Font-Text elements on the layout.\rThese elements will not be supported "
            "anymore.\r\rReplace these elements with Layout-Text elements?");
  EXPECT_NE(fontTextQuestion(0, 5).find("Sie haben 5 Font-Text"), std::string::npos);
  EXPECT_NE(fontTextQuestion(2, 5).find("Il y a 5 Fontes"), std::string::npos);
  EXPECT_EQ(fontTextQuestion(9, 5), fontTextQuestion(1, 5));
  EXPECT_EQ(fontTextReport(0), "Texte wurden konvertiert");
  EXPECT_EQ(fontTextReport(2), "Elément Texte converti.");
  EXPECT_EQ(fontTextReport(-1), fontTextReport(1));
}

}  // namespace
}  // namespace plavesk
