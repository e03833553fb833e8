#include "output/gerber_options.h"

#include <gtest/gtest.h>

namespace plavesk {
namespace {

TEST(GerberOptions, TheDialogStartsWithTheRuleOfK1) {
  const TGerberOptions o;
  EXPECT_EQ(o.output, TGerberOutput::K1);
  EXPECT_FALSE(o.mirror);
  EXPECT_TRUE(o.outline);
  EXPECT_FALSE(o.punch);
  EXPECT_FALSE(o.mark);
  EXPECT_FALSE(o.markEnabled());
  EXPECT_FALSE(o.invert);
  EXPECT_TRUE(o.pads);
  EXPECT_TRUE(o.smdPads);
  EXPECT_DOUBLE_EQ(o.padOffset, 0.30);
  EXPECT_DOUBLE_EQ(o.smdOffset, 0.10);
}

TEST(GerberOptions, ChoosingAnOutputSetsItsMirrorAndOutline) {
  struct Case {
    TGerberOutput output;
    const char* name;
    int layer;
    bool mirror, outline, punchEnabled, maskOptions;
  } cases[] = {
      {TGerberOutput::K1, "K1", 1, false, true, true, false},
      {TGerberOutput::B1, "B1", 2, false, false, true, false},
      {TGerberOutput::K2, "K2", 3, true, true, true, false},
      {TGerberOutput::B2, "B2", 4, true, false, true, false},
      {TGerberOutput::LStop1, "LStop1", 1, false, false, false, true},
      {TGerberOutput::LStop2, "LStop2", 3, true, false, false, true},
      {TGerberOutput::SmdOnly1, "SMD1", 1, false, false, true, false},
      {TGerberOutput::SmdOnly2, "SMD2", 3, true, false, true, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    // Start from the opposite state so that every box is really set.
    TGerberOptions o;
    o.mirror = !c.mirror;
    o.outline = !c.outline;
    o.chooseOutput(c.output);
    EXPECT_EQ(o.mirror, c.mirror);
    EXPECT_EQ(o.outline, c.outline);
    EXPECT_EQ(o.punchEnabled(), c.punchEnabled);
    EXPECT_EQ(o.maskOptionsEnabled(), c.maskOptions);
    EXPECT_EQ(gerberOutputName(c.output), c.name);
    EXPECT_EQ(gerberOutputFromName(c.name), c.output);
    EXPECT_EQ(gerberOutputLayer(c.output), c.layer);
    EXPECT_EQ(gerberDefaults(c.output).mirror, c.mirror);
  }
  EXPECT_EQ(gerberOutputFromName("lstop2"), TGerberOutput::LStop2);
  EXPECT_FALSE(gerberOutputFromName("K3"));
  EXPECT_FALSE(gerberOutputFromName(""));
}

TEST(GerberOptions, PunchAndMark) {
  TGerberOptions o;
  o.setMark(true);  // disabled while punch is off
  EXPECT_FALSE(o.mark);
  o.setPunch(true);
  EXPECT_TRUE(o.markEnabled());
  o.setMark(true);
  EXPECT_TRUE(o.mark);
  o.setPunch(false);  // unchecking punch clears mark
  EXPECT_FALSE(o.mark);

  o.setPunch(true);
  o.setMark(true);
  o.chooseOutput(TGerberOutput::LStop1);  // disabled, not cleared
  EXPECT_FALSE(o.markEnabled());
  o.setPunch(false);
  EXPECT_TRUE(o.punch);
  o.chooseOutput(TGerberOutput::SmdOnly1);  // the SMD outputs clear both
  EXPECT_FALSE(o.punch);
  EXPECT_FALSE(o.mark);
}

TEST(GerberOptions, OffsetFieldsKeepTheirRangeAndTwoDecimals) {
  struct Case {
    double typed, held;
  } cases[] = {{0.30, 0.30}, {12.0, 9.99},  {9.99, 9.99}, {0.0, 0.01},
               {-1.0, 0.01}, {0.123, 0.12}, {0.55, 0.55}, {1.0, 1.0}};
  for (const Case& c : cases) {
    EXPECT_DOUBLE_EQ(maskOffsetFieldValue(c.typed), c.held) << c.typed;
    TGerberOptions o;
    o.setPadOffset(c.typed);
    o.setSmdOffset(c.typed);
    EXPECT_DOUBLE_EQ(o.padOffset, c.held);
    EXPECT_DOUBLE_EQ(o.smdOffset, c.held);
  }
}

}  // namespace
}  // namespace plavesk
