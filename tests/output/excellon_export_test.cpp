#include "output/excellon_export.h"

#include <gtest/gtest.h>

namespace plavesk {
namespace {

TObjekt& pad(TObjektList& l, TPoint at, int layer, int32_t drillRadius) {
  l.push_back(createPad(at, 100, kPadRound, layer, drillRadius));
  return *l.back();
}

TEST(Excellon, BoardWithoutHoles) {
  TObjektList l;
  l.push_back(createSmdPad({100, -100}, 100, kCopper1, 100));
  TBoardRecord board;
  EXPECT_EQ(excellonText(l, board, {}),
            "; Drill file\r\n; Format: 2.4 (00.0000)\r\nM48\r\nINCH\r\n%\r\nG05\r\nG90\r\nM30\r\n");
  EXPECT_EQ(excellonText(l, board, {false, true, false}),
            "; Drill file\r\n; Format: 3.3 (000.000)\r\nM48\r\nMETRIC,TZ\r\n%\r\nG05\r\nG90\r\n"
            "M30\r\n");
}

TEST(Excellon, WhichPadsAreDrilled) {
  TObjektList l;
  TObjekt& top = pad(l, {100, -100}, kCopper1, 40);
  TObjekt& bottom = pad(l, {100, -100}, kCopper2, 40);
  top.padLink = &bottom;
  bottom.padLink = &top;
  pad(l, {200, -200}, kCopper2, 40);  // side 2 only: drilled
  pad(l, {300, -300}, kCopper1, 0);   // no drill
  pad(l, {400, -400}, kSilk1, 40);    // silkscreen
  l.push_back(createSmdPad({500, -500}, 100, kCopper1, 100));
  const std::vector<bool> drilled{true, false, true, false, false, false};
  for (size_t i = 0; i < l.size(); ++i) EXPECT_EQ(isDrilledPad(*l[i]), drilled[i]) << i;
  const auto tools = collectDrillTools(l);
  ASSERT_EQ(tools.size(), 1u);
  EXPECT_EQ(tools[0].holes, (std::vector<const TObjekt*>{&top, l[2].get()}));
}

TEST(Excellon, ToolsInOrderOfFirstDiameterWithTheirHoles) {
  TObjektList l;
  pad(l, {1000, -1000}, kCopper1, 50);
  pad(l, {2000, -1000}, kCopper1, 40);
  pad(l, {3000, -2000}, kCopper2, 50);
  TBoardRecord board;
  board.width = 16000;
  board.height = 10000;
  EXPECT_EQ(excellonText(l, board, {false, true, false}),
            "; Drill file\r\n; Format: 3.3 (000.000)\r\nM48\r\nMETRIC,TZ\r\nT01C1.0\r\n"
            "T02C0.8\r\n%\r\nG05\r\nG90\r\nT01\r\nX010000Y090000\r\nX030000Y080000\r\nT02\r\n"
            "X020000Y090000\r\nM30\r\n");
  // From below: X about the board width, Y unchanged; inch.
  EXPECT_EQ(excellonText(l, board, {true, true, true}),
            "; Drill file\r\n; Format: 2.4 (00.0000)\r\nM48\r\nINCH\r\nT01C0.039\r\n"
            "T02C0.031\r\n%\r\nG05\r\nG90\r\nT01\r\nX059060Y035430\r\nX051180Y031500\r\nT02\r\n"
            "X055120Y035430\r\nM30\r\n");
}

TEST(Excellon, TenAndMoreToolsHaveNoLeadingZero) {
  TObjektList l;
  for (int i = 1; i <= 11; ++i) pad(l, {100 * i, -100}, kCopper1, 10 * i);
  const std::string text = excellonText(l, TBoardRecord{}, {false, true, false});
  EXPECT_NE(text.find("\r\nT09C1.8\r\nT10C2.0\r\nT11C2.2\r\n"), std::string::npos) << text;
}

TEST(Excellon, CoordinateFormats) {
  struct Case {
    int64_t units;
    bool inch, leadingZeros;
    const char* text;
  } cases[] = {
      {1234, false, true, "012340"},   {1234, true, true, "004860"},
      {1234, false, false, "12340"},   {1234, true, false, "4860"},
      {0, false, false, "00"},         {0, false, true, "000000"},
      {0, true, false, "00"},          {16000, false, true, "160000"},
      {123456, false, true, "234560"}, {-250, false, true, "-2500"},
      {127, true, true, "000500"},     {1, true, true, "000000"},
  };
  for (const Case& c : cases) {
    const TExcellonOptions o{c.inch, c.leadingZeros, false};
    EXPECT_EQ(excellonCoordinate(c.units, o), c.text)
        << c.units << (c.inch ? " inch" : " mm") << (c.leadingZeros ? "" : " without zeros");
  }
}

TEST(Excellon, DiameterFormats) {
  struct Case {
    int32_t units;
    bool inch;
    const char* text;
  } cases[] = {
      {80, false, "0.8"},      {80, true, "0.031"}, {100, false, "1.0"},  {100, true, "0.039"},
      {254, true, "0.1"},      {2540, true, "1.0"}, {123, false, "1.23"}, {1234, false, "12.34"},
      {12345, false, "123.5"}, {0, false, "0.0"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(excellonDiameter(c.units, {c.inch, true, false}), c.text)
        << c.units << (c.inch ? " inch" : " mm");
}

}  // namespace
}  // namespace plavesk
