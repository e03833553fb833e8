// The tool panel's value fields without a window: reading and writing field
// texts, the spinner arithmetic, the current tool values with their editing
// phase, coupling, selection take-over and remembered defaults, and the
// runner's `set`.
#include <gtest/gtest.h>

#include <cmath>
#include <sstream>
#include <string>
#include <vector>

#include "editing/action_runner.h"
#include "editing/editor.h"
#include "editing/grid_values.h"
#include "editing/spin_value.h"
#include "editing/tool_value_fields.h"
#include "editing/tools/script_host.h"
#include "editing/tools/tool_values.h"

namespace plavesk {
namespace {

constexpr TSpinRange kWidth{0, 99.9, 0.1, 1};
constexpr TSpinRange kOuter{0.1, 99.9, 0.1, 1};
constexpr TSpinRange kSmd{0.01, 9.99, 0.01, 2};

TEST(SpinValueTest, ReadsTypedTextAsTheFieldDoes) {
  struct Case {
    const char* text;
    TSpinRange range;
    double expected;
  };
  const Case cases[] = {
      {"1,5", kWidth, 1.5},        // the comma is a decimal point
      {"1.5", kWidth, 1.5},        //
      {"120", kOuter, 99.9},       // above the range: its maximum
      {"0", kOuter, 0.1},          // below: its minimum
      {"-3", kWidth, 0},           // a sign is read, then limited
      {"  2.25", kWidth, 2.25},    // leading blanks
      {"+2", kWidth, 2},           //
      {"1.5x", kWidth, 1.5},       // the valid beginning counts
      {"2.5.3", kWidth, 2.5},      //
      {"1e1", kWidth, 10},         // an exponent
      {"1e", kWidth, 1},           // a broken exponent is left off
      {".5", kWidth, 0.5},         //
      {"", kOuter, 0.1},           // no number at all: the minimum
      {"-", kOuter, 0.1},          //
      {"x1", kSmd, 0.01},          //
      {"inf", kWidth, 0},          // no words taken for numbers
      {"nan", kOuter, 0.1},        //
      {"1e999", kWidth, 99.9},     // too large for a double: the maximum
      {"0.33333", kWidth, 0.3333}  // rounded to 4 decimals
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_DOUBLE_EQ(readSpinText(c.text, c.range), c.expected);
  }
}

TEST(SpinValueTest, WritesFixedDecimalsWithAPoint) {
  struct Case {
    double value;
    TSpinRange range;
    const char* expected;
  };
  const Case cases[] = {
      {0.8, kSmd, "0.80"},   {0.8, kWidth, "0.8"}, {120, kOuter, "99.9"}, {0.0, kOuter, "0.1"},
      {-0.0, kWidth, "0.0"}, {1.8, kOuter, "1.8"}, {9.99, kSmd, "9.99"},  {0.049, kWidth, "0.0"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.value);
    EXPECT_EQ(formatSpinValue(c.value, c.range), c.expected);
  }
}

TEST(SpinValueTest, KnobClicksAndDrags) {
  // A click adds or subtracts a step; Ctrl five steps rounded to a multiple
  // of five steps.
  EXPECT_NEAR(spinClick(0.3, kWidth, true, false), 0.4, 1e-9);
  EXPECT_NEAR(spinClick(0.3, kWidth, true, true), 1.0, 1e-9);
  EXPECT_NEAR(spinClick(0.3, kWidth, false, false), 0.2, 1e-9);
  EXPECT_NEAR(spinClick(1.2, kWidth, false, true), 0.5, 1e-9);
  EXPECT_NEAR(spinClick(0.1, kOuter, false, false), 0.1, 1e-9);  // stays at the minimum
  EXPECT_NEAR(spinClick(99.9, kWidth, true, true), 99.9, 1e-9);  // and at the maximum
  EXPECT_NEAR(spinClick(0.9, kSmd, true, false), 0.91, 1e-9);
  // Drags: q = pixels div 4, q x |q| steps.
  const std::pair<int, int> steps[] = {{8, 4},   {4, 1},   {3, 0},  {0, 0}, {-3, 0},
                                       {-4, -1}, {-8, -4}, {12, 9}, {7, 1}};
  for (const auto& [pixels, expected] : steps) EXPECT_EQ(spinDragSteps(pixels), expected) << pixels;
  EXPECT_NEAR(spinDrag(1.0, kWidth, 8, false), 1.4, 1e-9);
  EXPECT_NEAR(spinDrag(1.0, kWidth, 3, false), 1.0, 1e-9);
  EXPECT_NEAR(spinDrag(1.0, kWidth, 4, true), 1.5, 1e-9);
  EXPECT_NEAR(spinDrag(1.2, kWidth, -4, true), 0.5, 1e-9);
}

TEST(GridValuesTest, FixedGridsAndButtonCaption) {
  EXPECT_DOUBLE_EQ(gridUnitsForMm(2.54), 254);
  EXPECT_DOUBLE_EQ(gridUnitsForMm(0.079375), 7.9375);
  EXPECT_DOUBLE_EQ(gridUnitsForMm(0.15875), 15.875);
  EXPECT_DOUBLE_EQ(gridUnitsForMm(0.5), 50);
  EXPECT_DOUBLE_EQ(gridUnitsForMm(0.123), 12);
  EXPECT_EQ(gridButtonCaption(254), "  2.54 mm");
  EXPECT_EQ(gridButtonCaption(7.9375), "0.079375 mm");
  EXPECT_EQ(gridButtonCaption(50), "   0.5 mm");
  EXPECT_EQ(gridButtonCaption(1000), "    10 mm");
  ASSERT_EQ(fixedGrids().size(), 7u);
  EXPECT_DOUBLE_EQ(fixedGridUnits(fixedGrids()[0].tag), 7.9375);
  EXPECT_DOUBLE_EQ(fixedGridUnits(fixedGrids()[6].tag), 508);
}

// A board with a 0.5 mm and a 0.8 mm track, a pad of 1.8 x 0.6 mm, a
// 0.9 x 1.8 mm SMD pad and a circle of radii 300 / 260 (width 0.4 mm).
class ValueFieldsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    editor.addBoard("B");
    editor.working().width = 10000;
    editor.working().height = 10000;
    auto track = [&](int32_t width, int32_t y) {
      TObjektPtr t = createTrack(width, kCopper1);
      addPoint(*t, {1000, y});
      addPoint(*t, {3000, y});
      editor.elements().push_back(std::move(t));
    };
    track(50, -1000);
    track(80, -2000);
    editor.elements().push_back(createPad({5000, -5000}, 90, kPadRound, kCopper1, 30));
    editor.elements().push_back(createSmdPad({7000, -5000}, 90, kCopper1, 180));
    editor.elements().push_back(createCircle({5000, -8000}, 300, kPadRound, kCopper1, 260));
    editor.layout.modified = false;
  }
  TObjekt& element(size_t i) { return *editor.elements()[i]; }
  void select(std::initializer_list<size_t> which) {
    editor.deselectAll();
    for (size_t i : which) editor.setSelected(element(i), true);
  }
  size_t undoSteps() { return editor.layout.active().undoStack.size(); }
  // A whole typing sequence in one field: enter, every text, leave.
  void typeSequence(TValueField f, std::initializer_list<const char*> texts) {
    fields.enter(f);
    double v = 0;
    for (const char* t : texts) fields.changed(f, v = readSpinText(t, valueFieldInfo(f).range));
    fields.exit(f, v);
  }

  TEditor editor;
  TToolValues values;
  TToolValueFields fields{editor, values};
};

TEST_F(ValueFieldsTest, StartValues) {
  EXPECT_EQ(fields.text(TValueField::width), "0.8");
  EXPECT_EQ(fields.text(TValueField::outer), "1.8");
  EXPECT_EQ(fields.text(TValueField::drill), "0.6");
  EXPECT_EQ(fields.text(TValueField::smdWidth), "0.90");
  EXPECT_EQ(fields.text(TValueField::smdHeight), "1.80");
  EXPECT_EQ(fields.text(TValueField::clearance), "0.4");
  EXPECT_EQ(fields.defaults, TRememberedDefaults{});
  EXPECT_EQ(fields.defaults.trackWidth, 80);
}

TEST_F(ValueFieldsTest, TypingIntoAFieldIsOneUndoStepAndTheNewDefault) {
  select({0});
  typeSequence(TValueField::width, {"1", "1,", "1,5"});
  EXPECT_EQ(values.trackWidth, 150);
  EXPECT_EQ(element(0).dim3, 150);
  EXPECT_EQ(element(1).dim3, 80);  // not selected
  EXPECT_EQ(undoSteps(), 1u);
  EXPECT_EQ(fields.defaults.trackWidth, 150);
  EXPECT_FALSE(fields.phaseOpen());
  EXPECT_TRUE(editor.layout.modified);
  ASSERT_TRUE(editor.undo());
  EXPECT_EQ(element(0).dim3, 50);
  // A second sequence is a second step.
  select({0});
  typeSequence(TValueField::width, {"0.3"});
  typeSequence(TValueField::width, {"0.4"});
  EXPECT_EQ(element(0).dim3, 40);
  EXPECT_EQ(undoSteps(), 2u);
}

TEST_F(ValueFieldsTest, TypingWithoutASelectionOnlySetsTheToolValue) {
  typeSequence(TValueField::smdHeight, {"2.5"});
  EXPECT_DOUBLE_EQ(values.smdHeightMm, 2.5);
  EXPECT_EQ(fields.defaults.smdHeight, 250);
  EXPECT_EQ(fields.defaults.smdWidth, 90);  // the pair is remembered together
  EXPECT_EQ(undoSteps(), 0u);
  EXPECT_FALSE(editor.layout.modified);
}

TEST_F(ValueFieldsTest, AValueThatChangesNoSelectedElementLeavesNoUndoStep) {
  select({1});  // the 0.8 mm track
  typeSequence(TValueField::width, {"0.8"});
  EXPECT_EQ(undoSteps(), 0u);
  // Mixed widths: the current 0.8 mm still changes the 0.5 mm track, and
  // that is one undo step.
  select({0, 1});
  typeSequence(TValueField::width, {"0.8"});
  EXPECT_EQ(element(0).dim3, 80);
  EXPECT_EQ(undoSteps(), 1u);
}

TEST_F(ValueFieldsTest, PadDiametersAreCoupled) {
  typeSequence(TValueField::outer, {"0.5"});
  EXPECT_EQ(values.padRadius, 25);
  EXPECT_EQ(values.drillRadius, 25);
  EXPECT_EQ(fields.text(TValueField::drill), "0.5");
  typeSequence(TValueField::drill, {"2"});
  EXPECT_EQ(values.drillRadius, 100);
  EXPECT_EQ(values.padRadius, 100);
  EXPECT_EQ(fields.text(TValueField::outer), "2.0");
  EXPECT_EQ(fields.defaults.outerDiameter, 200);
  EXPECT_EQ(fields.defaults.drillDiameter, 200);
}

// Every keystroke is a change of the field; the texts on the way to the
// typed value must not leave the other diameter clipped.
TEST_F(ValueFieldsTest, TypedPadDiametersClipThePartnerOnlyByTheFinalValue) {
  struct Sequence {
    TValueField field;
    std::vector<const char*> texts;
  };
  struct Case {
    const char* what;
    std::vector<Sequence> typed;
    const char* outer;
    const char* drill;
  };
  const std::vector<Case> cases{
      {"outer 0.5 passes 0", {{TValueField::outer, {"0", "0.", "0.5"}}}, "0.5", "0.5"},
      {"outer 120 passes 1",
       {{TValueField::drill, {"1", "1.", "1.2"}}, {TValueField::outer, {"1", "12", "120"}}},
       "99.9",
       "1.2"},
      {"drill 0.5 after a typed 5 and an empty field",
       {{TValueField::drill, {"5", "", "0", "0.", "0.5"}}},
       "1.8",
       "0.5"},
      {"drill 2 grows the pad", {{TValueField::drill, {"2"}}}, "2.0", "2.0"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TToolValues v;
    TToolValueFields f{editor, v};
    for (const Sequence& s : c.typed) {
      f.enter(s.field);
      double mm = 0;
      for (const char* t : s.texts)
        f.changed(s.field, mm = readSpinText(t, valueFieldInfo(s.field).range));
      f.exit(s.field, mm);
    }
    EXPECT_EQ(f.text(TValueField::outer), c.outer);
    EXPECT_EQ(f.text(TValueField::drill), c.drill);
    EXPECT_EQ(f.defaults.outerDiameter, int32_t(std::lround(std::stod(c.outer) * 100)));
    EXPECT_EQ(f.defaults.drillDiameter, int32_t(std::lround(std::stod(c.drill) * 100)));
  }
  // A selected pad keeps its drill when the typed outer diameter passes
  // below it, and each sequence is one undo step.
  select({2});
  typeSequence(TValueField::drill, {"1", "1.", "1.2"});
  typeSequence(TValueField::outer, {"1", "12", "120"});
  EXPECT_EQ(element(2).dim1, 4995);
  EXPECT_EQ(element(2).dim2, 60);
  EXPECT_EQ(undoSteps(), 2u);
}

TEST_F(ValueFieldsTest, ChangesReachOnlyTheKindsTheyApplyTo) {
  select({0, 2, 3, 4});
  typeSequence(TValueField::width, {"0.2"});
  EXPECT_EQ(element(0).dim3, 20);
  // The circle keeps its middle radius 280.
  EXPECT_EQ(element(4).dim1, 290);
  EXPECT_EQ(element(4).dim2, 270);
  EXPECT_EQ(element(2).dim1, 90);  // the pad is untouched
  // A smaller outer diameter takes the pad's drill down with it.
  element(2).dim2 = 80;
  typeSequence(TValueField::outer, {"1.0"});
  EXPECT_EQ(element(2).dim1, 50);
  EXPECT_EQ(element(2).dim2, 50);
  typeSequence(TValueField::smdWidth, {"1.25"});
  EXPECT_EQ(element(3).dim1, 125);
  EXPECT_EQ(element(3).dim2, 180);
  EXPECT_EQ(undoSteps(), 3u);
}

TEST_F(ValueFieldsTest, TakesOverCommonValuesOfTheSelection) {
  // Both tracks: mixed widths leave the field alone.
  select({0, 1});
  fields.takeOverFromSelection(false);
  EXPECT_EQ(values.trackWidth, 80);
  // Only the 0.5 mm track: it becomes current, not the default.
  select({0});
  fields.takeOverFromSelection(false);
  EXPECT_EQ(values.trackWidth, 50);
  EXPECT_EQ(fields.text(TValueField::width), "0.5");
  EXPECT_EQ(fields.defaults.trackWidth, 80);
  // Deselecting returns to the default.
  editor.deselectAll();
  fields.refresh();
  EXPECT_EQ(values.trackWidth, 80);
  // With Ctrl it becomes the default as well.
  select({0});
  fields.takeOverFromSelection(true);
  EXPECT_EQ(fields.defaults.trackWidth, 50);
  editor.deselectAll();
  fields.refresh();
  EXPECT_EQ(values.trackWidth, 50);
  // Pads and SMD pads; nothing is written back to the selection.
  element(2).dim1 = 25;
  element(2).dim2 = 20;
  element(2).clearance = 0;
  element(3).clearance = 0;
  select({2, 3});
  fields.takeOverFromSelection(false);
  EXPECT_EQ(values.padRadius, 25);
  EXPECT_EQ(values.drillRadius, 20);
  EXPECT_DOUBLE_EQ(values.smdWidthMm, 0.9);
  EXPECT_EQ(values.clearance, 0);
  EXPECT_EQ(undoSteps(), 0u);
  EXPECT_FALSE(editor.layout.modified);
}

TEST_F(ValueFieldsTest, ListChoicesAreOneUndoStepAndTheNewDefaults) {
  select({2});
  // The coupling cannot clip either value, whichever order they come in.
  fields.choosePadSize(50, 40);
  EXPECT_EQ(element(2).dim1, 25);
  EXPECT_EQ(element(2).dim2, 20);
  EXPECT_EQ(undoSteps(), 1u);
  EXPECT_EQ(fields.defaults.outerDiameter, 50);
  EXPECT_EQ(fields.defaults.drillDiameter, 40);
  fields.choosePadSize(300, 250);
  EXPECT_EQ(values.padRadius, 150);
  EXPECT_EQ(values.drillRadius, 125);
  EXPECT_EQ(undoSteps(), 2u);
  fields.chooseTrackWidth(120);
  EXPECT_EQ(fields.defaults.trackWidth, 120);
  EXPECT_EQ(undoSteps(), 2u);  // no track selected
}

TEST_F(ValueFieldsTest, ClearanceHasOneStepPerEditingAndNoDefault) {
  select({0, 1, 2});
  typeSequence(TValueField::clearance, {"0.2", "0"});
  for (size_t i : {0u, 1u, 2u}) EXPECT_EQ(element(i).clearance, 0) << i;
  EXPECT_EQ(undoSteps(), 1u);
  editor.deselectAll();
  fields.refresh();
  EXPECT_EQ(values.clearance, 0);  // stays when the selection goes
  typeSequence(TValueField::clearance, {"7"});
  EXPECT_EQ(values.clearance, 500);
  EXPECT_EQ(undoSteps(), 1u);
}

TEST_F(ValueFieldsTest, ThroughPadStateAndShapeReachSelectedPads) {
  select({2});
  const size_t before = editor.elements().size();
  values.throughPad = true;
  EXPECT_TRUE(fields.applyToSelection(TApplyWhat::throughPad));
  ASSERT_EQ(editor.elements().size(), before + 1);
  TObjekt* partner = element(2).padLink;
  ASSERT_NE(partner, nullptr);
  EXPECT_EQ(partner->layer, kCopper2);
  EXPECT_EQ(partner->padLink, &element(2));
  // Nothing to do when the pad is as the values say.
  EXPECT_FALSE(fields.applyToSelection(TApplyWhat::throughPad));
  values.padShape = kPadOctagon;
  EXPECT_TRUE(fields.applyToSelection(TApplyWhat::shape));
  EXPECT_EQ(element(2).padShape, kPadOctagon);
  // Off again: the partner goes, and no reference to it stays.
  values.throughPad = false;
  EXPECT_TRUE(fields.applyToSelection(TApplyWhat::throughPad));
  EXPECT_EQ(editor.elements().size(), before);
  EXPECT_EQ(element(2).padLink, nullptr);
  EXPECT_EQ(undoSteps(), 0u);  // no editing phase was open
}

// The runner's `set`: as typing into the field and leaving it.
class SetActionTest : public ValueFieldsTest {
 protected:
  bool run(const std::string& action) {
    error.clear();
    return runAction(context, action, error);
  }
  std::ostringstream out;
  TActionContext context{editor, out};
  std::string error;
};

TEST_F(SetActionTest, SetsTheFieldsOfTheSession) {
  ASSERT_TRUE(run("set width 1,5")) << error;
  const TToolValues& v = context.session->tools.values();
  EXPECT_EQ(v.trackWidth, 150);
  ASSERT_TRUE(run("set outer 120")) << error;
  EXPECT_EQ(v.padRadius, 4995);
  ASSERT_TRUE(run("set drill 0.8x")) << error;
  EXPECT_EQ(v.drillRadius, 40);
  ASSERT_TRUE(run("set smd-width 0")) << error;
  EXPECT_DOUBLE_EQ(v.smdWidthMm, 0.01);
  ASSERT_TRUE(run("set smd-height abc")) << error;
  EXPECT_DOUBLE_EQ(v.smdHeightMm, 0.01);
  ASSERT_TRUE(run("set clearance 0.25")) << error;
  EXPECT_EQ(v.clearance, 25);  // round half to even
  ASSERT_TRUE(run("set grid 2.54")) << error;
  EXPECT_DOUBLE_EQ(editor.working().grid, 254);
  ASSERT_TRUE(run("set grid 0.079375")) << error;
  EXPECT_DOUBLE_EQ(editor.working().grid, 7.9375);
  ASSERT_TRUE(run("set grid 500")) << error;
  EXPECT_DOUBLE_EQ(editor.working().grid, 9990);
  EXPECT_EQ(undoSteps(), 0u);
  EXPECT_EQ(context.session->tools.fields().defaults.trackWidth, 150);

  EXPECT_FALSE(run("set colour 1"));
  EXPECT_NE(error.find("set"), std::string::npos);
  EXPECT_FALSE(run("set width"));
}

TEST_F(SetActionTest, AppliesToWhatAScriptSelected) {
  // A click on the 0.5 mm track in edit mode selects it and takes its width.
  ASSERT_TRUE(run("tool edit")) << error;
  ASSERT_TRUE(run("click 2000 -1000")) << error;
  ASSERT_TRUE(element(0).selected);
  EXPECT_EQ(context.session->tools.values().trackWidth, 50);
  ASSERT_TRUE(run("set width 0.3")) << error;
  EXPECT_EQ(element(0).dim3, 30);
  EXPECT_EQ(undoSteps(), 1u);
  ASSERT_TRUE(run("undo")) << error;
  EXPECT_EQ(element(0).dim3, 50);
}

}  // namespace
}  // namespace plavesk
