// The connection, test and autoroute tools driven by mouse events, the macro
// dragged from the panel onto the view, and the ground-plane button.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "editing/connections.h"
#include "editing/editor.h"
#include "editing/tools/macro_drag.h"
#include "editing/tools/script_host.h"
#include "editing/tools/tool_manager.h"
#include "support/sample_layout.h"
#include "view/view_state.h"

namespace plavesk {
namespace {

using testing::addPad;

// The headless drawing area, counting how often each feedback kind was drawn.
class CountingHost : public TScriptHost {
 public:
  using TScriptHost::TScriptHost;
  int drawn[kFeedbackKinds] = {};
  int flushes = 0;
  void drawFeedback(const TFeedback& f) override {
    ++drawn[size_t(f.kind)];
    TScriptHost::drawFeedback(f);
  }
  void flush() override { ++flushes; }
};

// A board of 4000 x 3000 units at a quarter pixel a unit, grid 100, so the
// whole board lies in the client area and nothing scrolls.
class ConnectionToolsTest : public ::testing::Test {
 protected:
  TEditor editor;
  std::unique_ptr<CountingHost> host;
  std::unique_ptr<TToolManager> tools;

  void SetUp() override {
    editor.newLayout("Test");
    TBoardRecord& r = editor.working();
    r.width = 4000;
    r.height = 3000;
    r.grid = 100;
    r.activeLayer = kCopper1;
    host = std::make_unique<CountingHost>(editor);
    host->showActiveBoard();
    host->view().setZoom(0.25);
    host->view().setScroll(0, 0);
    tools = std::make_unique<TToolManager>(editor, *host);
  }

  void send(TInputEvent::Kind kind, TPoint world, TInputEvent::Button button) {
    TInputEvent e;
    e.kind = kind;
    e.pixel = host->view().worldToDevice(world);
    e.button = button;
    e.leftHeld = leftHeld_;
    if (kind == TInputEvent::press && button == TInputEvent::left) leftHeld_ = true;
    if (kind == TInputEvent::release && button == TInputEvent::left) leftHeld_ = false;
    tools->handle(e);
  }
  void move(TPoint w) { send(TInputEvent::move, w, TInputEvent::none); }
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

  TObjektList& list() { return editor.elements(); }
  size_t undoSteps() { return editor.layout.active().undoStack.size(); }
  std::vector<size_t> selected() {
    std::vector<size_t> s;
    for (size_t i = 0; i < list().size(); ++i)
      if (list()[i]->selected) s.push_back(i);
    return s;
  }
  static bool joined(const TObjekt& a, const TObjekt& b) {
    return std::count(a.connections.begin(), a.connections.end(), &b) == 1 &&
           std::count(b.connections.begin(), b.connections.end(), &a) == 1;
  }
  bool lineShown() const { return tools->feedbackVisible(TFeedbackKind::connectionLine); }

  bool leftHeld_ = false;
};

// --- connection tool ---

TEST_F(ConnectionToolsTest, ConnectingTwiceRemovesTheBandEachAsOneUndoStep) {
  TObjekt& a = addPad(list(), 1000, -1000);
  TObjekt& b = addPad(list(), 3000, -2000);
  ASSERT_TRUE(tools->selectTool(TToolMode::connect));
  EXPECT_EQ(host->cursor, TCursor::connect);
  click({1000, -1000});
  EXPECT_EQ(tools->state().connectFirstPad, 0);
  EXPECT_EQ(undoSteps(), 0u);
  move({2000, -1500});
  ASSERT_TRUE(lineShown());
  const TFeedback& line = tools->feedback(TFeedbackKind::connectionLine);
  ASSERT_EQ(line.figures.size(), 1u);
  EXPECT_EQ(line.figures[0].shape, TFeedbackFigure::dottedLine);
  EXPECT_EQ(line.figures[0].points, (std::vector<TPoint>{{1000, -1000}, {2000, -1500}}));
  click({3000, -2000});
  EXPECT_TRUE(joined(a, b));
  EXPECT_FALSE(lineShown());
  EXPECT_EQ(tools->state().connectFirstPad, -1);
  EXPECT_EQ(undoSteps(), 1u);
  // B to A: the same band again, so it goes.
  click({3000, -2000});
  click({1000, -1000});
  EXPECT_TRUE(a.connections.empty());
  EXPECT_TRUE(b.connections.empty());
  EXPECT_EQ(undoSteps(), 2u);
  editor.undo();
  EXPECT_TRUE(joined(*list()[0], *list()[1]));
}

TEST_F(ConnectionToolsTest, OnlyCopperPadsArePickedAndTheFirstPadOrGroundDoNothing) {
  addPad(list(), 1000, -1000);
  addPad(list(), 1000, -2500, kSilk1);  // silkscreen: never a band's end
  list().push_back(createTrack(80, kCopper1));
  list().back()->points = {{2500, -500}, {2500, -2500}};
  ASSERT_TRUE(tools->selectTool(TToolMode::connect));
  for (TPoint p : {TPoint{1000, -2500}, TPoint{2500, -1500}, TPoint{3500, -500}}) {
    click(p);
    EXPECT_EQ(tools->state().connectFirstPad, -1) << p.x << "," << p.y;
    EXPECT_EQ(tools->state().connectHoverPad, -1) << p.x << "," << p.y;
  }
  click({1000, -1000});
  ASSERT_EQ(tools->state().connectFirstPad, 0);
  for (TPoint p : {TPoint{1000, -1000}, TPoint{1000, -2500}, TPoint{2500, -1500}}) {
    click(p);
    EXPECT_EQ(tools->state().connectFirstPad, 0) << p.x << "," << p.y;
  }
  EXPECT_TRUE(list()[0]->connections.empty());
  EXPECT_EQ(undoSteps(), 0u);
}

TEST_F(ConnectionToolsTest, HoverHighlightsThePadAloneAndMovingOffClearsIt) {
  TObjekt& a = addPad(list(), 1000, -1000);
  TObjekt& partner = addPad(list(), 1000, -1000, kCopper2);
  a.padLink = &partner;
  partner.padLink = &a;
  a.groupIds = partner.groupIds = {7};
  ASSERT_TRUE(tools->selectTool(TToolMode::connect));
  move({1000, -1000});
  EXPECT_EQ(selected(), std::vector<size_t>{0});
  EXPECT_EQ(tools->state().connectHoverPad, 0);
  move({2000, -2000});
  EXPECT_TRUE(selected().empty());
  EXPECT_EQ(tools->state().connectHoverPad, -1);
}

TEST_F(ConnectionToolsTest, TheActiveSideIsSearchedFirst) {
  addPad(list(), 1000, -1000, kCopper1);
  list().push_back(createSmdPad({1000, -1000}, 300, kCopper2, 300));
  struct Case {
    int activeLayer;
    size_t picked;
  } cases[] = {{kCopper1, 0}, {kSilk1, 0}, {kCopper2, 1}, {kSilk2, 1}};
  for (const Case& c : cases) {
    editor.working().activeLayer = c.activeLayer;
    ASSERT_TRUE(tools->selectTool(TToolMode::connect));
    move({1000, -1000});
    EXPECT_EQ(tools->state().connectHoverPad, int(c.picked)) << c.activeLayer;
  }
}

TEST_F(ConnectionToolsTest, RightClickDropsTheFirstPadThenLeaves) {
  addPad(list(), 1000, -1000);
  ASSERT_TRUE(tools->selectTool(TToolMode::connect));
  click({1000, -1000});
  move({2000, -2000});
  ASSERT_TRUE(lineShown());
  rightClick({2000, -2000});
  EXPECT_EQ(tools->mode(), TToolMode::connect);
  EXPECT_EQ(tools->state().connectFirstPad, -1);
  EXPECT_FALSE(lineShown());
  rightClick({2000, -2000});
  EXPECT_EQ(tools->mode(), TToolMode::edit);
  // Leaving the tool takes the hover highlight along.
  ASSERT_TRUE(tools->selectTool(TToolMode::connect));
  move({1000, -1000});
  ASSERT_FALSE(selected().empty());
  ASSERT_TRUE(tools->selectTool(TToolMode::edit));
  EXPECT_TRUE(selected().empty());
}

TEST_F(ConnectionToolsTest, ARememberedPadGoneAfterUndoIsNoLongerUsed) {
  addPad(list(), 1000, -1000);
  ASSERT_TRUE(tools->selectTool(TToolMode::connect));
  editor.takeSnapshot();
  addPad(list(), 3000, -2000);
  move({3000, -2000});
  click({3000, -2000});
  ASSERT_EQ(tools->state().connectFirstPad, 1);
  editor.undo();  // the second pad is gone
  ASSERT_EQ(list().size(), 1u);
  // No band to a pad that is gone: the click picks a new first pad.
  click({1000, -1000});
  EXPECT_TRUE(list()[0]->connections.empty());
  EXPECT_EQ(tools->state().connectFirstPad, 0);
  EXPECT_EQ(undoSteps(), 0u);
}

// --- test tool ---

TEST_F(ConnectionToolsTest, TestClickMarksTheNetUntilTheNextClickOrTool) {
  TObjekt& a = addPad(list(), 1000, -1000);             // 0
  TObjekt& a2 = addPad(list(), 1000, -1000, kCopper2);  // 1
  a.padLink = &a2;
  a2.padLink = &a;
  list().push_back(createTrack(80, kCopper1));  // 2 from the pad
  list().back()->points = {{1000, -1000}, {2000, -1000}};
  list().push_back(createTrack(80, kCopper2));  // 3 on the other side
  list().back()->points = {{1000, -1000}, {1000, -2500}};
  addPad(list(), 3000, -2500);                 // 4 elsewhere
  list().push_back(createArea(20, kCopper1));  // 5 cutout over the track
  list().back()->points = {{1800, -900}, {2200, -900}, {2200, -1100}, {1800, -1100}};
  list().back()->cutout = 1;
  ASSERT_TRUE(tools->selectTool(TToolMode::test));
  EXPECT_EQ(host->cursor, TCursor::test);
  click({1500, -1000});
  EXPECT_EQ(selected(), (std::vector<size_t>{0, 1, 2, 3}));
  click({3000, -2500});
  EXPECT_EQ(selected(), std::vector<size_t>{4});
  click({3500, -500});  // empty ground
  EXPECT_TRUE(selected().empty());
  click({1500, -1000});
  ASSERT_FALSE(selected().empty());
  ASSERT_TRUE(tools->selectTool(TToolMode::track));
  EXPECT_TRUE(selected().empty());
  EXPECT_EQ(undoSteps(), 0u);
}

// --- autoroute tool ---

class AutorouteToolTest : public ConnectionToolsTest {
 protected:
  void SetUp() override {
    ConnectionToolsTest::SetUp();
    TObjekt& a = addPad(list(), 1000, -1500);
    TObjekt& b = addPad(list(), 3000, -1500);
    toggleConnection(a, b);
    tools->autorouter().status = [this](const std::string& s) { status.push_back(s); };
  }
  std::vector<std::string> status;
};

TEST_F(AutorouteToolTest, ClickOnTheHoveredBandRoutesItAndOnTheTrackUnroutesIt) {
  ASSERT_TRUE(tools->selectTool(TToolMode::autoroute));
  EXPECT_EQ(host->cursor, TCursor::autoroute);
  move({2000, -1500});
  EXPECT_EQ(tools->state().autorouteHover, 1);
  EXPECT_EQ(selected(), (std::vector<size_t>{0, 1}));
  click({2000, -1500});
  ASSERT_EQ(list().size(), 3u);
  const TObjekt& track = *list()[2];
  EXPECT_EQ(track.kind, kTrack);
  EXPECT_TRUE(track.autorouted);
  EXPECT_EQ(track.dim3, 40);  // the window's 0.4 mm
  EXPECT_TRUE(list()[0]->connections.empty());
  EXPECT_EQ(undoSteps(), 1u);
  // Each stage's search window was drawn and taken off again.
  EXPECT_GT(host->drawn[size_t(TFeedbackKind::searchWindow)], 0);
  EXPECT_EQ(host->feedbackShown[size_t(TFeedbackKind::searchWindow)], 0);
  EXPECT_GT(host->flushes, 0);
  ASSERT_FALSE(status.empty());
  EXPECT_EQ(status.back(), "Erfolgreich");
  // The band is gone: hovering its middle now finds the track.
  move({2000, -1500});
  EXPECT_EQ(tools->state().autorouteHover, 2);
  click({2000, -1500});
  EXPECT_EQ(list().size(), 2u);
  EXPECT_TRUE(joined(*list()[0], *list()[1]));
  EXPECT_EQ(status.back(), "Autoroute aufgelöst");
  move({3500, -500});
  EXPECT_EQ(tools->state().autorouteHover, 0);
  EXPECT_TRUE(selected().empty());
  click({3500, -500});
  EXPECT_EQ(list().size(), 2u);
  EXPECT_EQ(undoSteps(), 2u);
}

TEST_F(AutorouteToolTest, TheWindowFieldsSetWidthAndClearance) {
  tools->autorouter().widthMm = 0.8;
  tools->autorouter().clearanceMm = 0.3;
  tools->values().clearance = 0;
  ASSERT_TRUE(tools->selectTool(TToolMode::autoroute));
  click({2000, -1500});
  ASSERT_EQ(list().size(), 3u);
  EXPECT_EQ(list()[2]->dim3, 80);
  // The new track keeps the ground-plane clearance of the tool values.
  EXPECT_EQ(list()[2]->clearance, 0);
}

TEST_F(AutorouteToolTest, ABlockedBandFailsAndLeavesTheBand) {
  // A wall of foreign copper across the whole board.
  list().push_back(createTrack(100, kCopper1));
  list().back()->points = {{2000, 0}, {2000, -3000}};
  ASSERT_TRUE(tools->selectTool(TToolMode::autoroute));
  click({2500, -1500});
  EXPECT_EQ(list().size(), 3u);
  EXPECT_TRUE(joined(*list()[0], *list()[1]));
  EXPECT_EQ(status.back(), "Kein Weg gefunden");
  EXPECT_EQ(host->feedbackShown[size_t(TFeedbackKind::searchWindow)], 0);
}

// --- macro drag ---

class MacroDragTest : public ConnectionToolsTest {
 protected:
  void SetUp() override {
    ConnectionToolsTest::SetUp();
    // A macro as the panel holds it: its reference pad at (0, 0).
    macro.push_back(createPad({0, 0}, 80, kPadRound, kCopper1, 40));
    macro.push_back(createPad({300, 0}, 80, kPadRound, kCopper1, 40));
    macro.push_back(createTrack(20, kSilk1));
    macro.back()->points = {{-100, 100}, {400, 100}};
  }
  TObjektList macro;
};

TEST_F(MacroDragTest, ThePreviewFollowsSnappedAndTheDropIsOneStepAndOneGroup) {
  TMacroDrag& drag = tools->macroDrag();
  struct Case {
    TPoint pointer;
    TPoint placed;
  } cases[] = {
      {{1240, -1260}, {1200, -1300}},  // snapped to the grid
      {{-700, -1000}, {0, -1000}},     // left of the board: held on its edge
      {{2500, 900}, {2500, 0}},        // above it
      {{5000, -3500}, {4000, -3000}},  // beyond the far corner
  };
  size_t steps = 0;
  std::vector<int32_t> groups;
  for (const Case& c : cases) {
    drag.over(macro, c.pointer, false);
    ASSERT_TRUE(tools->feedbackVisible(TFeedbackKind::movePreview));
    EXPECT_EQ(drag.offset(), c.placed) << c.pointer.x << "," << c.pointer.y;
    const size_t before = list().size();
    ASSERT_TRUE(drag.drop(macro, c.pointer, false));
    EXPECT_FALSE(tools->feedbackVisible(TFeedbackKind::movePreview));
    ASSERT_EQ(list().size(), before + 3);
    EXPECT_EQ(list()[before]->x, c.placed.x);
    EXPECT_EQ(list()[before]->y, c.placed.y);
    EXPECT_EQ(undoSteps(), ++steps);
    // The inserted macro is one group of its own, and selected.
    const int32_t id = list()[before]->groupIds.back();
    for (size_t i = before; i < list().size(); ++i) {
      EXPECT_EQ(list()[i]->groupIds.back(), id);
      EXPECT_TRUE(list()[i]->selected);
    }
    groups.push_back(id);
  }
  std::sort(groups.begin(), groups.end());
  EXPECT_EQ(std::unique(groups.begin(), groups.end()), groups.end());
}

TEST_F(MacroDragTest, AnEmptyMacroIsRefusedAndLeavingTakesThePreviewOff) {
  TMacroDrag& drag = tools->macroDrag();
  const TObjektList empty;
  drag.over(empty, {1000, -1000}, false);
  EXPECT_FALSE(tools->feedbackVisible(TFeedbackKind::movePreview));
  EXPECT_FALSE(drag.drop(empty, {1000, -1000}, false));
  EXPECT_TRUE(list().empty());
  EXPECT_EQ(undoSteps(), 0u);
  drag.over(macro, {1000, -1000}, false);
  ASSERT_TRUE(tools->feedbackVisible(TFeedbackKind::movePreview));
  drag.leave();
  EXPECT_FALSE(tools->feedbackVisible(TFeedbackKind::movePreview));
  EXPECT_TRUE(list().empty());
}

// --- ground plane ---

TEST_F(ConnectionToolsTest, GroundPlaneSwitchesTheActiveSideAndReleasesTheCutoutButton) {
  struct Case {
    int activeLayer;
    bool on;
    uint8_t side1, side2;
  } cases[] = {
      {kSilk1, true, 1, 0},
      {kSilk2, true, 1, 1},
      {kCopper1, false, 0, 1},
      {kCopper2, false, 0, 0},
  };
  for (const Case& c : cases) {
    editor.working().activeLayer = c.activeLayer;
    tools->values().cutout = true;
    switchGroundPlane(editor, tools->values(), c.on);
    EXPECT_EQ(editor.working().groundPlane1, c.side1) << c.activeLayer;
    EXPECT_EQ(editor.working().groundPlane2, c.side2) << c.activeLayer;
    EXPECT_FALSE(tools->values().cutout);
    EXPECT_EQ(groundPlaneOfActiveSide(editor.working()), c.on);
  }
  // No undo step: the switches are not part of the snapshots.
  EXPECT_EQ(undoSteps(), 0u);
  EXPECT_TRUE(editor.layout.modified);
}

}  // namespace
}  // namespace plavesk
