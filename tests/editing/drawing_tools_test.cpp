// The drawing tools with dialogs: texts (prepared, previewed on the board,
// placed, numbered, cancelled), regular polygons, the arc dialog on circles,
// double-click editing of texts, and the runner's actions for them.
#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "editing/action_runner.h"
#include "editing/drawing_actions.h"
#include "editing/editor.h"
#include "editing/text_commands.h"
#include "editing/tools/drawing_settings.h"
#include "editing/tools/script_host.h"
#include "editing/tools/tool_manager.h"

namespace plavesk {
namespace {

// The headless host with dialogs that answer from a queue: each entry
// confirms with its settings, nullopt cancels; an empty queue cancels.
class DialogHost : public TScriptHost {
 public:
  using TScriptHost::TScriptHost;

  std::vector<std::optional<TTextSettings>> textAnswers;
  std::vector<TTextSettings> textShown;  // what each text dialog showed
  std::vector<bool> textEditing;
  std::optional<TPolygonSettings> polygonAnswer;
  std::optional<TFontTextSettings> fontAnswer;
  std::vector<TFontTextSettings> fontShown;
  int warnings = 0;

  bool askTextSettings(TTextSettings& s, bool editing) override {
    textShown.push_back(s);
    textEditing.push_back(editing);
    if (textAnswers.empty()) return false;
    const std::optional<TTextSettings> a = textAnswers.front();
    textAnswers.erase(textAnswers.begin());
    if (!a) return false;
    s = *a;
    return true;
  }
  bool askPolygonSettings(TPolygonSettings& s) override {
    if (!polygonAnswer) return false;
    s = *polygonAnswer;
    return true;
  }
  bool askFontTextSettings(TFontTextSettings& s) override {
    fontShown.push_back(s);
    if (!fontAnswer) return false;
    s = *fontAnswer;
    return true;
  }
  void warnTextNotGenerated() override { ++warnings; }
};

TTextSettings textOf(const std::string& text, bool number = false, int start = 0) {
  TTextSettings s;
  s.text = text;
  s.addNumber = number;
  s.startValue = start;
  return s;
}

// A 100 x 80 mm board, grid 1 mm, shown at 0.1 pixels a unit so that it
// fits the 1200 x 800 client area and no move scrolls.
class DrawingToolsTest : public ::testing::Test {
 protected:
  TEditor editor;
  std::unique_ptr<DialogHost> host;
  std::unique_ptr<TToolManager> tools;

  void SetUp() override {
    editor.newLayout("Test");
    TBoardRecord& r = editor.working();
    r.width = 10000;
    r.height = 8000;
    r.grid = 100;
    r.activeLayer = kCopper1;
    host = std::make_unique<DialogHost>(editor);
    TViewState& v = host->view();
    v.showBoard(&editor.layout.active().zoomStack);
    v.setZoom(0.1);
    v.setScroll(0, 0);
    tools = std::make_unique<TToolManager>(editor, *host);
  }

  void send(TInputEvent::Kind kind, TPoint world, TInputEvent::Button button = TInputEvent::none) {
    TInputEvent e;
    e.kind = kind;
    e.pixel = host->view().worldToDevice(world);
    e.button = button;
    e.leftHeld = kind == TInputEvent::press && button == TInputEvent::left;
    tools->handle(e);
  }
  void move(TPoint w) { send(TInputEvent::move, w); }
  void click(TPoint w) {
    move(w);
    send(TInputEvent::press, w, TInputEvent::left);
    send(TInputEvent::release, w, TInputEvent::left);
  }
  void rightClick(TPoint w) {
    move(w);
    send(TInputEvent::press, w, TInputEvent::right);
    send(TInputEvent::release, w, TInputEvent::right);
  }

  const TObjektList& list() { return editor.elements(); }
  size_t undoSteps() { return editor.layout.active().undoStack.size(); }

  // The strokes a text made from `drawn` (without numbering) at p has.
  std::vector<std::vector<TPoint>> strokesOf(const std::string& drawn, TPoint p) {
    TObjektList scratch;
    TTextCounter counter;
    const TTextContext context{kCopper1, 40, editor.working().grid};
    const TObjekt& t = createTextElement(scratch, p, textOf(drawn), counter, context);
    return strokePoints(t);
  }
  static std::vector<std::vector<TPoint>> strokePoints(const TObjekt& t) {
    std::vector<std::vector<TPoint>> out;
    for (const auto& s : t.strokes) out.push_back(s->points);
    return out;
  }
};

// --- texts ---

TEST_F(DrawingToolsTest, NumberedTextsAreOneUndoStepEachAndCancelDropsThePreparedOne) {
  host->textAnswers = {textOf("R", true, 1)};
  ASSERT_TRUE(tools->selectTool(TToolMode::text));
  ASSERT_EQ(list().size(), 1u);  // the prepared text, selected, above the board
  EXPECT_TRUE(list()[0]->selected);
  EXPECT_TRUE(host->confined);
  const TPoint at[] = {{1000, -2000}, {3000, -2000}, {5000, -2000}};
  for (TPoint p : at) click(p);
  // Three placed texts and the prepared fourth.
  ASSERT_EQ(list().size(), 4u);
  for (int i = 0; i < 3; ++i) {
    const TObjekt& t = *list()[size_t(i)];
    EXPECT_EQ(t.text, "R");  // the number is drawn, not stored
    EXPECT_EQ(t.selected, 0);
    EXPECT_EQ(strokePoints(t), strokesOf("R" + std::to_string(i + 1), at[i])) << i;
  }
  EXPECT_EQ(strokePoints(*list()[3]), strokesOf("R4", {0, 100}));
  // The dialog came once: numbering goes on without it.
  EXPECT_EQ(host->textShown.size(), 1u);
  rightClick({5000, -5000});
  EXPECT_EQ(tools->mode(), TToolMode::edit);
  EXPECT_EQ(list().size(), 3u);
  EXPECT_FALSE(host->confined);
  EXPECT_EQ(undoSteps(), 3u);
  ASSERT_TRUE(editor.undo());
  ASSERT_EQ(list().size(), 2u);
  EXPECT_EQ(strokePoints(*list()[1]), strokesOf("R2", at[1]));
}

TEST_F(DrawingToolsTest, WithoutNumberingEveryPlacementAsksTheDialogAgain) {
  host->textAnswers = {textOf("A"), textOf("BC"), std::nullopt};
  ASSERT_TRUE(tools->selectTool(TToolMode::text));
  click({1000, -1000});
  EXPECT_EQ(host->textShown.size(), 2u);
  EXPECT_EQ(tools->mode(), TToolMode::text);
  // The third dialog is cancelled: the second text stays, the tool ends.
  click({3000, -1000});
  EXPECT_EQ(host->textShown.size(), 3u);
  EXPECT_EQ(tools->mode(), TToolMode::edit);
  ASSERT_EQ(list().size(), 2u);
  EXPECT_EQ(list()[0]->text, "A");
  EXPECT_EQ(list()[1]->text, "BC");
  EXPECT_EQ(undoSteps(), 2u);
  EXPECT_FALSE(editor.operationInProgress);
  EXPECT_EQ(host->feedbackShown[size_t(TFeedbackKind::textPreview)], 0);
}

TEST_F(DrawingToolsTest, TextsWithoutStrokesLeaveNothing) {
  const char* texts[] = {"", "$$$", "@[]{}", "\xE2\x82\xAC", " "};
  for (const char* text : texts) {
    SetUp();
    host->textAnswers = {textOf(text)};
    EXPECT_FALSE(tools->selectTool(TToolMode::text)) << text;
    EXPECT_EQ(tools->mode(), TToolMode::edit) << text;
    EXPECT_TRUE(list().empty()) << text;
    EXPECT_EQ(undoSteps(), 0u) << text;
    EXPECT_EQ(host->warnings, 1) << text;
    EXPECT_FALSE(editor.operationInProgress) << text;
  }
}

TEST_F(DrawingToolsTest, CancelledDialogOrAnotherToolLeavesNoTextAndNoUndoStep) {
  EXPECT_FALSE(tools->selectTool(TToolMode::text));
  EXPECT_EQ(tools->mode(), TToolMode::edit);
  EXPECT_EQ(host->warnings, 0);
  // Prepared, then another tool: the prepared text and its snapshot go.
  host->textAnswers = {textOf("X")};
  ASSERT_TRUE(tools->selectTool(TToolMode::text));
  move({2000, -2000});
  EXPECT_EQ(host->feedbackShown[size_t(TFeedbackKind::textPreview)], 1);
  ASSERT_TRUE(tools->selectTool(TToolMode::pad));
  EXPECT_TRUE(list().empty());
  EXPECT_EQ(undoSteps(), 0u);
  EXPECT_EQ(host->feedbackShown[size_t(TFeedbackKind::textPreview)], 0);
}

TEST_F(DrawingToolsTest, PreparedTextHoldsUndoUntilPlacedOrDropped) {
  host->textAnswers = {textOf("X", true)};
  ASSERT_TRUE(tools->selectTool(TToolMode::text));
  EXPECT_TRUE(editor.operationInProgress);
  EXPECT_FALSE(editor.undo());
  tools->selectTool(TToolMode::edit);
  EXPECT_FALSE(editor.operationInProgress);
}

// The undo and redo commands show what they would do: while a tool keeps an
// element (a prepared text, a track being drawn) they would do nothing, so
// they are disabled, whatever the stacks hold; afterwards the stacks decide.
TEST_F(DrawingToolsTest, UndoAndRedoAreDisabledWhileAToolHoldsAnElement) {
  auto undoOn = [&] { return editor.enabled(*findCommand("edit.undo")); };
  auto redoOn = [&] { return editor.enabled(*findCommand("edit.redo")); };
  struct Case {
    const char* name;
    bool earlierStep;  // a placed pad, undone and redone, before the tool starts
  };
  for (const Case& c : {Case{"fresh board", false}, Case{"after an undone step", true}}) {
    SCOPED_TRACE(c.name);
    SetUp();
    if (c.earlierStep) {
      ASSERT_TRUE(tools->selectTool(TToolMode::pad));
      click({1000, -1000});
      ASSERT_TRUE(tools->selectTool(TToolMode::pad));
      click({2000, -1000});
      ASSERT_TRUE(editor.undo());
      ASSERT_TRUE(undoOn() && redoOn());
    }
    // A prepared text: its snapshot is on the stack, but nothing is undone.
    host->textAnswers = {textOf("X")};
    ASSERT_TRUE(tools->selectTool(TToolMode::text));
    EXPECT_FALSE(undoOn());
    EXPECT_FALSE(redoOn());
    // Placed, it is a step of its own (the text dialog, asked again, is
    // cancelled and the tool ends).
    click({3000, -3000});
    ASSERT_EQ(tools->mode(), TToolMode::edit);
    EXPECT_TRUE(undoOn());
    // A track being drawn holds its element until the right click ends it.
    ASSERT_TRUE(tools->selectTool(TToolMode::track));
    click({1000, -5000});
    click({4000, -5000});
    EXPECT_FALSE(undoOn());
    rightClick({4000, -5000});
    EXPECT_TRUE(undoOn());
    EXPECT_FALSE(redoOn());
  }
}

TEST_F(DrawingToolsTest, TextDialogOpensMirroredHorizontallyOnSide2) {
  for (int layer : {kCopper1, kSilk1, kCopper2, kSilk2}) {
    SetUp();
    editor.working().activeLayer = uint8_t(layer);
    TTextSettings s = textOf("A");
    tools->dialogs().text.mirrorV = true;
    tools->selectTool(TToolMode::text);
    ASSERT_EQ(host->textShown.size(), 1u);
    EXPECT_EQ(host->textShown[0].mirrorH, isSide2Layer(layer)) << layer;
    EXPECT_FALSE(host->textShown[0].mirrorV) << layer;
    EXPECT_FALSE(host->textEditing[0]);
  }
}

// Wherever the pointer goes, the preview and the placed text stay on the
// board, in every orientation and with texts of any size.
TEST_F(DrawingToolsTest, TextPreviewAndPlacedTextNeverLeaveTheBoard) {
  struct Case {
    const char* text;
    double height;
    int orientation;
    bool mirrorH;
  } cases[] = {
      {"WIDE TEXT", 5, 0, false}, {"WIDE TEXT", 5, 1, false}, {"WIDE TEXT", 5, 2, true},
      {"WIDE TEXT", 5, 3, false}, {"g_j", 12, 0, false},      {"MMMMMMMMMM", 50, 0, false},
  };
  const TPoint pointers[] = {{9900, -100}, {9900, -7900}, {100, -100}, {5000, -4000}, {100, -7900}};
  for (const Case& c : cases) {
    SetUp();
    TTextSettings s = textOf(c.text);
    s.height = c.height;
    s.orientation = c.orientation;
    s.mirrorH = c.mirrorH;
    host->textAnswers = {s, s, s, s, s, s};
    ASSERT_TRUE(tools->selectTool(TToolMode::text)) << c.text;
    for (TPoint p : pointers) {
      SCOPED_TRACE(std::string(c.text) + " " + std::to_string(c.orientation) + " at " +
                   std::to_string(p.x) + "," + std::to_string(p.y));
      move(p);
      ASSERT_TRUE(tools->feedbackVisible(TFeedbackKind::textPreview));
      const TRect shown = feedbackBounds(tools->feedback(TFeedbackKind::textPreview));
      const TRect placed0 = elementBounds(*list().back());
      const int32_t w = placed0.right - placed0.left, h = placed0.bottom - placed0.top;
      const bool fits = w <= 10000 && h <= 8000;
      if (fits) {
        EXPECT_GE(shown.left, 0);
        EXPECT_LE(shown.right, 10000);
        EXPECT_GE(shown.top, -8000);
        EXPECT_LE(shown.bottom, 0);
      }
      send(TInputEvent::press, p, TInputEvent::left);
      send(TInputEvent::release, p, TInputEvent::left);
      // The placed text is the one before the new prepared one.
      const TRect b = elementBounds(*list()[list().size() - 2]);
      EXPECT_GE(b.left, 0);
      EXPECT_GE(b.top, -8000);
      if (fits) {
        EXPECT_LE(b.right, 10000);
        EXPECT_LE(b.bottom, 0);
      }
    }
  }
}

TEST_F(DrawingToolsTest, TheTextIsPlacedWhereThePreviewShowedIt) {
  host->textAnswers = {textOf("AB"), textOf("AB")};
  ASSERT_TRUE(tools->selectTool(TToolMode::text));
  move({4000, -3000});
  const TRect shown = feedbackBounds(tools->feedback(TFeedbackKind::textPreview));
  click({4000, -3000});
  const TRect placed = elementBounds(*list()[0]);
  // The preview draws the strokes thinner and without the clearance margin.
  EXPECT_EQ(placed.left + (placed.right - placed.left) / 2,
            shown.left + (shown.right - shown.left) / 2);
  EXPECT_EQ(placed.top + (placed.bottom - placed.top) / 2,
            shown.top + (shown.bottom - shown.top) / 2);
  EXPECT_EQ(placed.left, 4000);
  EXPECT_EQ(placed.top, -3000);
}

// --- double-click editing ---

TEST_F(DrawingToolsTest, DoubleClickOnATextReplacesItFromTheDialog) {
  host->textAnswers = {textOf("AB")};
  ASSERT_TRUE(tools->selectTool(TToolMode::text));
  click({3000, -3000});
  tools->selectTool(TToolMode::edit);
  ASSERT_EQ(list().size(), 1u);
  addGroupId(*editor.elements()[0], 7);
  editor.working().activeLayer = kSilk1;
  editor.elements().push_back(createPad({8000, -6000}, 90, kPadRound, kCopper1, 30));
  const std::vector<std::vector<TPoint>> before = strokePoints(*list()[0]);
  const TRect oldBox = elementBounds(*list()[0]);
  const size_t steps = undoSteps();

  // Confirmed unchanged: the same text again, at the end of the list.
  TTextSettings same = textSettingsFromElement(*list()[0]);
  host->textAnswers = {same};
  const TPoint inside{oldBox.left + 60, oldBox.top + 60};
  move(inside);
  send(TInputEvent::doubleClick, inside, TInputEvent::left);
  ASSERT_EQ(host->textEditing.back(), true);
  EXPECT_EQ(host->textShown.back().text, "AB");
  EXPECT_TRUE(tools->state().ignoreNextPress);
  ASSERT_EQ(list().size(), 2u);
  EXPECT_EQ(list()[0]->kind, kPad);
  const TObjekt& t = *list()[1];
  EXPECT_EQ(strokePoints(t), before);
  EXPECT_EQ(t.groupIds, std::vector<int32_t>{7});
  EXPECT_EQ(t.layer, kCopper1);  // its own layer, not the active one
  EXPECT_EQ(undoSteps(), steps + 1);

  // A larger text keeps the box's left and top edges.
  TTextSettings bigger = same;
  bigger.height = 8;
  bigger.text = "ABC";
  host->textAnswers = {bigger};
  send(TInputEvent::press, inside, TInputEvent::left);  // the ignored press
  send(TInputEvent::doubleClick, inside, TInputEvent::left);
  const TRect newBox = elementBounds(*list()[1]);
  EXPECT_EQ(newBox.left, oldBox.left);
  EXPECT_EQ(newBox.top, oldBox.top);
  EXPECT_GT(newBox.right, oldBox.right);
  EXPECT_EQ(list()[1]->dim1, 800);

  // A text without strokes replaces the old one by nothing, one undo step.
  host->textAnswers = {textOf("$")};
  send(TInputEvent::press, inside, TInputEvent::left);
  send(TInputEvent::doubleClick, inside, TInputEvent::left);
  ASSERT_EQ(list().size(), 1u);
  ASSERT_TRUE(editor.undo());
  EXPECT_EQ(list().size(), 2u);

  // Cancelled: nothing changes, the next press is still ignored.
  const size_t stepsNow = undoSteps();
  send(TInputEvent::press, inside, TInputEvent::left);
  send(TInputEvent::doubleClick, inside, TInputEvent::left);
  EXPECT_EQ(undoSteps(), stepsNow);
  EXPECT_TRUE(tools->state().ignoreNextPress);
}

TEST_F(DrawingToolsTest, DoubleClickOnOtherElementsOrEmptyGroundOpensNothing) {
  editor.elements().push_back(createPad({3000, -3000}, 90, kPadRound, kCopper1, 30));
  send(TInputEvent::doubleClick, {3000, -3000}, TInputEvent::left);
  send(TInputEvent::doubleClick, {6000, -6000}, TInputEvent::left);
  EXPECT_TRUE(host->textShown.empty());
  EXPECT_FALSE(tools->state().ignoreNextPress);
}

TEST_F(DrawingToolsTest, DoubleClickOnAFontTextEditsItInPlaceWithoutUndo) {
  auto f = std::make_unique<TObjekt>();
  f->kind = kFontText;
  f->layer = kCopper1;
  f->x = 3000;
  f->y = -3000;
  f->text = "OLD";
  f->dim3 = -1333;  // 10 mm at 96 pixels per inch
  f->dim1 = 3500;
  f->dim2 = -3100;
  editor.elements().push_back(std::move(f));
  TFontTextSettings answer;
  answer.text = "NEW TEXT";
  answer.heightMm = 20;
  answer.orientation = 1;
  host->fontAnswer = answer;
  send(TInputEvent::doubleClick, {3100, -3050}, TInputEvent::left);
  ASSERT_EQ(host->fontShown.size(), 1u);
  EXPECT_NEAR(host->fontShown[0].heightMm, 1333 / 96.0 * 72 / 100, 1e-9);
  EXPECT_EQ(host->fontShown[0].text, "OLD");
  const TObjekt& e = *list()[0];
  EXPECT_EQ(e.text, "NEW TEXT");
  EXPECT_EQ(e.angle, 90);
  EXPECT_EQ(e.dim3, -roundToUnit(96.0 * 2000 / 72));
  // At 90 degrees the box corner is (x - height, y - width) of the text
  // and one blank, as the host measures it.
  const TPoint extent = host->fontTextExtent("NEW TEXT ", -e.dim3);
  EXPECT_EQ(e.dim1, 3000 - extent.y);
  EXPECT_EQ(e.dim2, -3000 - extent.x);
  EXPECT_EQ(undoSteps(), 0u);
  EXPECT_TRUE(editor.layout.modified);
  EXPECT_TRUE(tools->state().ignoreNextPress);
}

// --- regular polygons ---

TEST(PolygonCorners, VerticesFromCornersRadiusAndOffset) {
  struct Case {
    int corners;
    double radius, offset;
    TPoint first, second;
  } cases[] = {
      {4, 10, 45, {707, 707}, {-707, 707}},
      {6, 10, 0, {1000, 0}, {500, 866}},
      {3, 0.5, -90, {0, -50}, {43, 25}},
      // Out of range: limited to 3..99 corners and 0.5..99.9 mm.
      {2, 200, 0, {9990, 0}, {-4995, 8652}},
  };
  for (const Case& c : cases) {
    TPolygonSettings s;
    s.corners = c.corners;
    s.radiusMm = c.radius;
    s.offsetDeg = c.offset;
    const std::vector<TPoint> v = polygonCorners(s);
    const size_t n = size_t(std::max(3, c.corners));
    ASSERT_EQ(v.size(), n + 1);
    EXPECT_EQ(v[0], c.first) << c.corners;
    EXPECT_EQ(v[1], c.second) << c.corners;
    EXPECT_EQ(v.back(), v.front());
  }
}

TEST_F(DrawingToolsTest, PolygonToolPlacesTracksOrAreasOnTheBoardOnly) {
  EXPECT_FALSE(tools->selectTool(TToolMode::polygon));  // dialog cancelled
  EXPECT_EQ(tools->mode(), TToolMode::edit);
  TPolygonSettings s;
  s.corners = 6;
  s.radiusMm = 10;
  s.widthMm = 0.5;
  host->polygonAnswer = s;
  ASSERT_TRUE(tools->selectTool(TToolMode::polygon));
  move({5000, -4000});
  EXPECT_EQ(host->feedbackShown[size_t(TFeedbackKind::polygonPreview)], 1);
  click({5000, -4000});
  ASSERT_EQ(list().size(), 1u);
  const TObjekt& track = *list()[0];
  EXPECT_EQ(track.kind, kTrack);
  EXPECT_EQ(track.dim3, 50);
  ASSERT_EQ(track.points.size(), 7u);
  EXPECT_EQ(track.points[0], (TPoint{6000, -4000}));
  EXPECT_EQ(track.points[6], track.points[0]);
  EXPECT_EQ(undoSteps(), 1u);
  EXPECT_EQ(host->feedbackShown[size_t(TFeedbackKind::polygonPreview)], 1);

  // Reaching over the edge: nothing, no undo step.
  for (TPoint p : {TPoint{500, -4000}, TPoint{5000, -7500}, TPoint{9500, -500}}) click(p);
  EXPECT_EQ(list().size(), 1u);
  EXPECT_EQ(undoSteps(), 1u);

  // Filled: an area.
  s.filled = true;
  host->polygonAnswer = s;
  ASSERT_TRUE(tools->selectTool(TToolMode::polygon));
  click({2000, -2000});
  ASSERT_EQ(list().size(), 2u);
  EXPECT_EQ(list()[1]->kind, kArea);
  EXPECT_EQ(list()[1]->closed, 1);
  EXPECT_EQ(undoSteps(), 2u);
  // The dialog keeps its values.
  EXPECT_TRUE(tools->dialogs().polygon.filled);
}

// --- the arc dialog ---

TEST_F(DrawingToolsTest, ArcDialogFromTheLastSelectedCircleChangesAllByTheSameAmount) {
  // Middle radii 100 and 200 (widths 40 and 82).
  auto a = createCircle({2000, -2000}, 120, kPadRound, kCopper1, 80);
  auto b = createCircle({5000, -2000}, 241, kPadRound, kCopper1, 159);
  a->selected = b->selected = 1;
  editor.elements().push_back(std::move(a));
  editor.elements().push_back(std::move(b));
  editor.elements().push_back(createCircle({8000, -2000}, 300, kPadRound, kCopper1, 200));
  TArcSettings s;
  int32_t middle = 0;
  ASSERT_TRUE(arcSettingsFromSelection(editor, s, middle));
  EXPECT_EQ(middle, 200);
  EXPECT_DOUBLE_EQ(s.diameterMm, 4.0);

  s.diameterMm = 5.0;
  s.startDeg = 30;
  s.stopDeg = 300;
  s.filled = true;
  ASSERT_TRUE(applyArcSettings(editor, s, middle));
  EXPECT_EQ(undoSteps(), 1u);
  const TObjekt& ca = *list()[0];
  const TObjekt& cb = *list()[1];
  EXPECT_EQ(ca.dim1, 170);
  EXPECT_EQ(ca.dim2, 130);
  EXPECT_EQ(cb.dim1, 291);
  EXPECT_EQ(cb.dim2, 209);
  for (const TObjekt* c : {&ca, &cb}) {
    EXPECT_EQ(c->angle, 30);
    EXPECT_EQ(c->dim3, 300);
    EXPECT_EQ(c->filled, 1);
  }
  EXPECT_EQ(list()[2]->dim1, 300);  // not selected
  // Confirming the same values again changes nothing.
  ASSERT_TRUE(arcSettingsFromSelection(editor, s, middle));
  EXPECT_FALSE(applyArcSettings(editor, s, middle));
  EXPECT_EQ(undoSteps(), 1u);
  // A diameter below the ring's width stops the inner radius at 0.
  s.diameterMm = 0.1;
  ASSERT_TRUE(applyArcSettings(editor, s, middle));
  EXPECT_EQ(list()[1]->dim2, 0);
  EXPECT_GT(list()[1]->dim1, 0);
}

// --- runner actions ---

class DrawingActionsTest : public ::testing::Test {
 protected:
  TEditor editor;
  std::ostringstream out;
  TActionContext context{editor, out};
  std::string error;

  void SetUp() override {
    editor.newLayout("Test");
    editor.working().width = 10000;
    editor.working().height = 8000;
    editor.working().grid = 100;
  }
  bool run(const std::string& action) { return runAction(context, action, error); }
};

TEST_F(DrawingActionsTest, TextNeedsItsOptionsAndBadTextsAreRefused) {
  EXPECT_FALSE(run("tool text"));
  EXPECT_NE(error.find("text-options"), std::string::npos) << error;
  ASSERT_TRUE(run("text-options \"$ $\""));
  EXPECT_FALSE(run("tool text"));
  EXPECT_NE(error.find("could not be generated"), std::string::npos) << error;
  EXPECT_TRUE(editor.elements().empty());
  EXPECT_TRUE(editor.layout.active().undoStack.empty());

  ASSERT_TRUE(run("text-options C --height 2.5 --number 7")) << error;
  ASSERT_TRUE(run("tool text")) << error;
  ASSERT_TRUE(run("click 2000 -2000"));
  ASSERT_TRUE(run("click 4000 -2000"));
  ASSERT_TRUE(run("click 2000 -4000 --right"));
  ASSERT_EQ(editor.elements().size(), 2u);
  EXPECT_EQ(editor.elements()[0]->dim1, 250);
  EXPECT_EQ(editor.layout.active().undoStack.size(), 2u);
}

TEST_F(DrawingActionsTest, PolygonOptionsAreTheConfirmedDialog) {
  ASSERT_TRUE(run("polygon-options 4 10 45 1.5 --fill")) << error;
  ASSERT_TRUE(run("tool polygon")) << error;
  ASSERT_TRUE(run("click 5000 -4000"));
  ASSERT_EQ(editor.elements().size(), 1u);
  const TObjekt& p = *editor.elements()[0];
  EXPECT_EQ(p.kind, kArea);
  EXPECT_EQ(p.dim3, 150);
  EXPECT_EQ(p.points[0], (TPoint{5707, -3293}));
  // Out-of-range values are limited as the dialog's fields limit them.
  ASSERT_TRUE(run("polygon-options 500 0 720 -1"));
  ASSERT_TRUE(run("tool polygon"));
  ASSERT_TRUE(run("click 3000 -3000"));
  ASSERT_EQ(editor.elements().size(), 2u);
  EXPECT_EQ(editor.elements()[1]->points.size(), 100u);
  EXPECT_EQ(editor.elements()[1]->points[0], (TPoint{2950, -3000}));
  EXPECT_EQ(editor.elements()[1]->dim3, 0);
}

TEST_F(DrawingActionsTest, SegmentWorksOnTheSelectedCircles) {
  EXPECT_FALSE(run("segment 0 90 5"));  // nothing selected: the menu entry is disabled
  editor.elements().push_back(createCircle({3000, -3000}, 120, kPadRound, kCopper1, 80));
  ASSERT_TRUE(run("select-at 3100 -3000"));
  ASSERT_TRUE(run("segment 0 90 5 --fill")) << error;
  const TObjekt& c = *editor.elements()[0];
  EXPECT_EQ(c.dim1, 270);
  EXPECT_EQ(c.dim2, 230);
  EXPECT_EQ(c.dim3, 90);
  EXPECT_EQ(c.filled, 1);
  // Angles beyond 359 are limited like the dialog's fields.
  ASSERT_TRUE(run("segment 400 -5 5"));
  EXPECT_EQ(c.angle, 359);
  EXPECT_EQ(c.dim3, 0);
}

TEST_F(DrawingActionsTest, CutoutButtonChoosesTheAreaToolAndMakesCutouts) {
  ASSERT_TRUE(run("tool track"));
  ASSERT_TRUE(run("cutout on")) << error;
  EXPECT_EQ(context.session->tools.mode(), TToolMode::area);
  EXPECT_TRUE(context.session->tools.values().cutout);
  for (const char* a :
       {"click 1000 -1000", "click 3000 -1000", "click 3000 -3000", "click 1000 -1000"})
    ASSERT_TRUE(run(a));
  ASSERT_EQ(editor.elements().size(), 1u);
  EXPECT_EQ(editor.elements()[0]->cutout, 1);
  ASSERT_TRUE(run("cutout off"));
  EXPECT_EQ(context.session->tools.mode(), TToolMode::area);
  for (const char* a :
       {"click 5000 -1000", "click 7000 -1000", "click 7000 -3000", "click 5000 -1000"})
    ASSERT_TRUE(run(a));
  ASSERT_EQ(editor.elements().size(), 2u);
  EXPECT_EQ(editor.elements()[1]->cutout, 0);
  // Another tool releases the button.
  ASSERT_TRUE(run("cutout on"));
  ASSERT_TRUE(run("tool pad"));
  EXPECT_FALSE(context.session->tools.values().cutout);
  EXPECT_FALSE(run("cutout sideways"));
}

TEST_F(DrawingActionsTest, MeasureReadoutPrintsTheLastMeasurement) {
  EXPECT_FALSE(run("measure-readout"));
  for (const char* a : {"tool measure", "press 1000 -1000", "move 4000 -5000", "release 4000 -5000",
                        "measure-readout"})
    ASSERT_TRUE(run(a)) << a << ": " << error;
  EXPECT_EQ(out.str(), "dX: 30 mm  dY: 40 mm  Distance: 50 mm  Angle: 53.1\u00B0\n");
}

}  // namespace
}  // namespace plavesk
