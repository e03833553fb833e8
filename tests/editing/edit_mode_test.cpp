#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "editing/connections.h"
#include "editing/editor.h"
#include "editing/tools/edit_move.h"
#include "editing/tools/edit_tool.h"
#include "editing/tools/tool_manager.h"
#include "support/sample_layout.h"
#include "view/view_state.h"

namespace plavesk {
namespace {

// Records what the tools ask of the window.
class FakeHost : public TToolHost {
 public:
  explicit FakeHost(TEditor& editor) {
    view_.bind(editor.layout);
    view_.clientWidth = 1200;
    view_.clientHeight = 800;
  }
  TViewState& view() override { return view_; }
  void drawFeedback(const TFeedback& f) override { ++shown[size_t(f.kind)]; }
  void eraseFeedback(const TFeedback& f) override { --shown[size_t(f.kind)]; }
  void setCursor(TCursor c) override { cursor = c; }
  void confinePointer() override { confined = true; }
  void releasePointer() override { confined = false; }
  void refreshPointer() override {}
  void openMenu(const std::string& name, const std::vector<std::string>& ids, TPoint) override {
    menu = name;
    menuIds = ids;
  }
  void viewChanged() override {}
  void showCoordinates(TPoint) override {}
  void showMode(int) override {}

  int shown[kFeedbackKinds] = {};
  TCursor cursor = TCursor::arrow;
  bool confined = false;
  std::string menu;
  std::vector<std::string> menuIds;

 private:
  TViewState view_;
};

// A 160 x 100 mm board at zoom 1, so a world point (x, y) is the surface
// pixel (x, -y); grid 2.54 mm.
class EditMode : public ::testing::Test {
 protected:
  EditMode() {
    editor.addBoard("B");
    editor.working().zoom = 1.0;
    editor.working().grid = 254;
    editor.working().activeLayer = kCopper1;
  }

  TObjektList& list() { return editor.elements(); }
  TObjekt& track(std::vector<TPoint> points, int layer = kCopper1) {
    list().push_back(createTrack(40, layer));
    list().back()->points = std::move(points);
    return *list().back();
  }
  TObjekt& pad(int x, int y, int layer = kCopper1) { return testing::addPad(list(), x, y, layer); }
  size_t undoSteps() { return editor.layout.active().undoStack.size(); }

  TInputEvent event(TInputEvent::Kind kind, TPoint world, bool shift, bool ctrl) {
    TInputEvent e;
    e.kind = kind;
    e.pixel = {world.x, -world.y};
    e.shift = shift;
    e.ctrl = ctrl;
    e.leftHeld = held_;
    return e;
  }
  void press(TPoint p, bool shift = false, bool ctrl = false) {
    TInputEvent e = event(TInputEvent::press, p, shift, ctrl);
    e.button = TInputEvent::left;
    held_ = true;
    tools.handle(e);
  }
  void move(TPoint p, bool shift = false, bool ctrl = false) {
    tools.handle(event(TInputEvent::move, p, shift, ctrl));
  }
  void release(TPoint p, bool shift = false, bool ctrl = false) {
    TInputEvent e = event(TInputEvent::release, p, shift, ctrl);
    e.button = TInputEvent::left;
    held_ = false;
    tools.handle(e);
  }
  void click(TPoint p, bool shift = false) {
    press(p, shift);
    release(p, shift);
  }
  void drag(TPoint from, TPoint to, bool shift = false, bool ctrl = false) {
    press(from, shift, ctrl);
    move(to, shift, ctrl);
    release(to, shift, ctrl);
  }
  void rightClick(TPoint p) {
    TInputEvent e = event(TInputEvent::press, p, false, false);
    e.button = TInputEvent::right;
    tools.handle(e);
  }
  void key(const std::string& name, bool ctrl = false) {
    TInputEvent e = event(TInputEvent::keyDown, {}, false, ctrl);
    e.key = name;
    tools.handle(e);
  }
  bool feedbackLeft() const {
    return std::any_of(std::begin(host.shown), std::end(host.shown), [](int n) { return n != 0; });
  }

  TEditor editor;
  FakeHost host{editor};
  TToolManager tools{editor, host};

 private:
  bool held_ = false;
};

TEST_F(EditMode, GroupsAndThroughPadsAreSelectedTogether) {
  TObjekt& a = pad(1000, -1000);
  TObjekt& b = pad(2000, -1000);
  TObjekt& lone = pad(3000, -1000);
  a.groupIds = {7};
  b.groupIds = {3, 7};
  TObjekt& top = pad(5000, -1000, kCopper1);
  TObjekt& bottom = pad(5000, -1000, kCopper2);
  top.padLink = &bottom;
  bottom.padLink = &top;

  click({2000, -1000});
  EXPECT_TRUE(a.selected && b.selected) << "the outermost group comes along";
  EXPECT_FALSE(lone.selected);
  click({3000, -1000}, true);
  EXPECT_TRUE(a.selected && b.selected && lone.selected) << "Shift adds";
  click({1000, -1000}, true);
  EXPECT_FALSE(a.selected || b.selected) << "Shift-click on a member drops the whole group";
  EXPECT_TRUE(lone.selected);

  click({5000, -1000});
  EXPECT_TRUE(top.selected && bottom.selected);
  EXPECT_FALSE(lone.selected) << "a plain click on an unselected element replaces the selection";
  drag({5000, -1000}, {5508, -1000});
  EXPECT_EQ(top.x, 5508);
  EXPECT_EQ(bottom.x, 5508) << "the partner moves with its half";
  EXPECT_FALSE(feedbackLeft());
}

TEST_F(EditMode, HiddenLayersAreNeverHit) {
  TObjekt& p = pad(1000, -1000, kCopper2);
  editor.working().layerVisible[kCopper2 - 1] = 0;
  click({1000, -1000});
  EXPECT_FALSE(p.selected);
  drag({900, -900}, {1100, -1100});
  EXPECT_FALSE(p.selected) << "nor taken by a frame";
  EXPECT_EQ(undoSteps(), 0u);
}

TEST_F(EditMode, FrameAddsWhatItTouches) {
  TObjekt& kept = pad(8000, -8000);
  TObjekt& inside = pad(1000, -1000);
  // A long track only crossed by the frame, not enclosed.
  TObjekt& crossed = track({{500, -2000}, {6000, -2000}});
  TObjekt& outside = pad(4000, -4000);
  click({8000, -8000});
  ASSERT_TRUE(kept.selected);

  drag({700, -700}, {1500, -2500}, true);
  EXPECT_TRUE(kept.selected) << "Shift keeps the selection";
  EXPECT_TRUE(inside.selected);
  EXPECT_TRUE(crossed.selected) << "touched is enough";
  EXPECT_FALSE(outside.selected);
  EXPECT_FALSE(feedbackLeft());

  drag({7000, -7000}, {7100, -7100});
  EXPECT_FALSE(kept.selected || inside.selected) << "a press on empty ground without Shift clears";

  // One member in the frame brings its group and through-pad partners.
  TObjekt& member = pad(9000, -6000);
  TObjekt& far = pad(15000, -9000);
  TObjekt& partner = pad(15000, -9000, kCopper2);
  member.groupIds = far.groupIds = partner.groupIds = {9};
  far.padLink = &partner;
  partner.padLink = &far;
  drag({8800, -5800}, {9200, -6200});
  EXPECT_TRUE(member.selected && far.selected && partner.selected);
  EXPECT_FALSE(kept.selected);
}

TEST_F(EditMode, DragSnapsTheDisplacementAndStaysOnTheBoard) {
  // Pad radius 80 plus clearance: its outline box starts 80 units left of
  // the centre.
  TObjekt& p = pad(1000, -1000);
  drag({1000, -1000}, {1300, -1100});
  EXPECT_EQ(p.x, 1254) << "displacement snapped to the grid";
  EXPECT_EQ(p.y, -1000);
  EXPECT_EQ(undoSteps(), 1u);

  drag({1254, -1000}, {1400, -1030}, false, true);
  EXPECT_EQ(p.x, 1400) << "Ctrl: the exact pointer displacement";
  EXPECT_EQ(p.y, -1030);

  // Far past the left edge: the box stops at x = 0.
  drag({1400, -1030}, {-3000, -1030}, false, true);
  EXPECT_EQ(p.x, 80);
  // Past the top edge with the grid: clamped to -950 and then snapped.
  drag({80, -1030}, {80, 2000});
  EXPECT_EQ(p.y, -1030 + snapCoordinate(950, 254));
  EXPECT_FALSE(feedbackLeft());
}

// Autoscroll erases all feedback while the button is held; the release
// still does what the preview last showed.
TEST_F(EditMode, FeedbackErasedDuringADragStillCounts) {
  TObjekt& p = pad(1000, -1000);
  TObjekt& q = pad(3000, -3000);
  press({1000, -1000});
  move({1508, -1000});
  tools.eraseAllFeedback();
  release({1508, -1000});
  EXPECT_EQ(p.x, 1508);

  press({2800, -2800});
  move({3200, -3200});
  tools.eraseAllFeedback();
  release({3200, -3200});
  EXPECT_TRUE(q.selected);
  EXPECT_FALSE(p.selected);
  EXPECT_FALSE(feedbackLeft());
}

TEST_F(EditMode, ClampingUsesTheWholeMovedBox) {
  TBoardRecord board;
  board.width = 10000;
  board.height = 5000;
  board.grid = 100;
  const TRect box{1000, -3000, 4000, -1000};  // x 1000..4000, y -3000..-1000
  struct Case {
    TPoint to;
    bool ctrl;
    TPoint offset;
  } cases[] = {
      {{-5000, 0}, true, {-1000, 0}},   // left edge
      {{9000, 0}, true, {6000, 0}},     // right edge
      {{0, 5000}, true, {0, 1000}},     // top edge (y = 0)
      {{0, -9000}, true, {0, -2000}},   // bottom edge (y = -5000)
      {{33, -47}, true, {33, -47}},     // inside, exact
      {{33, -47}, false, {0, 0}},       // inside, snapped
      {{149, 151}, false, {100, 200}},  // snapped to the nearer multiple
  };
  for (const Case& c : cases)
    EXPECT_EQ(clampedMoveOffset({0, 0}, c.to, box, board, c.ctrl), c.offset)
        << c.to.x << "," << c.to.y;
}

TEST_F(EditMode, ArrowKeysStepByTheRoundedGrid) {
  editor.working().grid = 7.9375;
  TObjekt& p = pad(1000, -1000);
  click({1000, -1000});
  struct Case {
    const char* key;
    bool ctrl;
    TPoint at;
  } cases[] = {
      {"Right", false, {1008, -1000}},
      {"Up", false, {1008, -992}},
      {"Left", true, {1007, -992}},
      {"Down", true, {1007, -993}},
  };
  size_t steps = undoSteps();
  for (const Case& c : cases) {
    key(c.key, c.ctrl);
    EXPECT_EQ((TPoint{p.x, p.y}), c.at) << c.key;
    EXPECT_EQ(undoSteps(), ++steps) << "one undo step a key";
  }
  // No clamping: the keys may push an element off the board.
  editor.working().grid = 2000;
  key("Left");
  EXPECT_EQ(p.x, -993);
}

TEST_F(EditMode, MovingTenThousandElementsIsOneUndoStep) {
  for (int i = 0; i < 10000; ++i) pad(200 + (i % 100) * 150, -200 - (i / 100) * 95);
  editor.selectAll();
  drag({200, -200}, {454, -200});
  EXPECT_EQ(undoSteps(), 1u);
  EXPECT_EQ(list().front()->x, 454);
  EXPECT_EQ(list().back()->x, 200 + 99 * 150 + 254);
  ASSERT_TRUE(editor.undo());
  EXPECT_EQ(editor.elements().front()->x, 200);
}

TEST_F(EditMode, PressAndReleaseWithoutAMoveChangeNothing) {
  pad(1000, -1000);
  TObjekt& t = track({{2000, -2000}, {3000, -2000}, {3000, -3000}});
  click({1000, -1000});
  click({1000, -1000});
  EXPECT_EQ(undoSteps(), 0u);

  click({2500, -2000});
  ASSERT_TRUE(t.selected);
  // On a corner of the selected track: a node drag.
  press({3000, -2000});
  EXPECT_TRUE(tools.state().nodeDrag);
  release({3000, -2000});
  EXPECT_EQ(undoSteps(), 0u) << "a node drag without displacement";
  // Away and back again: the element ends as it was.
  press({3000, -2000});
  move({3500, -2000});
  move({3010, -2000});
  release({3010, -2000});
  EXPECT_EQ(undoSteps(), 0u);
  EXPECT_EQ(t.points[1], (TPoint{3000, -2000}));
  EXPECT_FALSE(feedbackLeft());
}

TEST_F(EditMode, NodeDragMovesTheCornerByGridSteps) {
  TObjekt& t = track({{2000, -2000}, {3010, -2000}, {3000, -3000}});
  click({2500, -2000});
  press({3010, -2000});
  move({3300, -2100});
  EXPECT_EQ(host.shown[size_t(TFeedbackKind::nodePreview)], 1);
  EXPECT_EQ(t.points[1], (TPoint{3010, -2000})) << "unchanged until the release";
  release({3300, -2100});
  EXPECT_EQ(t.points[1], (TPoint{3264, -2000})) << "whole grid steps from where it was";
  EXPECT_EQ(undoSteps(), 1u);

  press({3264, -2000});
  move({3300, -2033}, false, true);
  release({3300, -2033}, false, true);
  EXPECT_EQ(t.points[1], (TPoint{3300, -2033})) << "Ctrl: exactly under the pointer";
  EXPECT_EQ(undoSteps(), 2u);
  EXPECT_FALSE(feedbackLeft());

  t.groupIds = {1};
  click({2500, -2000});
  press({3300, -2033});
  EXPECT_FALSE(tools.state().nodeDrag) << "a grouped element moves instead";
  release({3300, -2033});
}

TEST(HandleAngle, FollowsThePointerAroundTheCentre) {
  struct Case {
    TPoint q;
    int angle;
  } cases[] = {
      {{0, 500}, 90},     {{0, -500}, 270},    {{0, 0}, 0},        {{1000, -1}, 0},
      {{1000, 0}, 0},     {{-1000, 0}, 180},   {{-1000, 1}, 180},  {{100, 100}, 45},
      {{-100, 100}, 135}, {{-100, -100}, 225}, {{100, -100}, 315}, {{1000, 1}, 0},
  };
  for (const Case& c : cases) EXPECT_EQ(handleAngle({0, 0}, c.q), c.angle) << c.q.x << "," << c.q.y;
  EXPECT_EQ(handleAngle({5000, -5000}, {5000, -4000}), 90) << "relative to the centre";
}

TEST_F(EditMode, CircleHandleTakesTheAngleAtTheRelease) {
  list().push_back(createCircle({4000, -4000}, 600, 0, kCopper1, 500));
  TObjekt& c = *list().back();
  c.angle = 0;
  c.dim3 = 180;
  click({4000, -3450});  // on the ring, half-way along the arc
  ASSERT_TRUE(c.selected);
  // Handle 1 sits at 180 degrees, on the middle of the ring.
  press({3450, -4000});
  ASSERT_TRUE(tools.state().nodeDrag);
  move({4000, -3000});
  EXPECT_EQ(host.shown[size_t(TFeedbackKind::circleNodePreview)], 1);
  release({4000, -3000});
  EXPECT_EQ(c.dim3, 90);
  EXPECT_EQ(c.angle, 0);
  EXPECT_EQ(undoSteps(), 1u);
  EXPECT_FALSE(feedbackLeft());
}

TEST_F(EditMode, RightClickOpensTheNodeMenuOnACorner) {
  TObjekt& t = track({{2000, -2000}, {3000, -2000}, {3000, -3000}});
  rightClick({2500, -2000});
  EXPECT_TRUE(t.selected) << "the element under the pointer is selected first";
  EXPECT_EQ(host.menu, "PopupMenu");
  EXPECT_EQ(host.menuIds, contextMenuIds());
  EXPECT_FALSE(editor.commandStates().node);

  rightClick({3000, -2000});
  EXPECT_EQ(host.menu, "KnotenPopup");
  EXPECT_EQ(host.menuIds, nodeMenuIds());
  TCommandStates s = editor.commandStates();
  EXPECT_TRUE(s.node && s.nodeRemovable && s.nodeSplittable);
  rightClick({2000, -2000});
  s = editor.commandStates();
  EXPECT_TRUE(s.node && s.nodeRemovable);
  EXPECT_FALSE(s.nodeSplittable) << "not at an end";
  ASSERT_TRUE(editor.removeCorner(editor.nodeTarget));
  EXPECT_EQ(t.points, (std::vector<TPoint>{{3000, -2000}, {3000, -3000}}));
  rightClick({3000, -2000});
  EXPECT_FALSE(editor.commandStates().nodeRemovable) << "two points stay";
  EXPECT_FALSE(editor.removeCorner(editor.nodeTarget));
  EXPECT_EQ(t.points.size(), 2u);

  // The list changes between the right click and the command: another
  // selected track takes the remembered index.
  TObjekt& other = track({{5000, -5000}, {6000, -5000}, {7000, -5000}});
  rightClick({3000, -2000});
  ASSERT_TRUE(editor.commandStates().node);
  editor.setSelected(other, true);
  list().erase(list().begin());
  EXPECT_FALSE(editor.commandStates().node);
  EXPECT_FALSE(editor.addCorner(editor.nodeTarget));
  EXPECT_EQ(other.points.size(), 3u);
}

TEST_F(EditMode, ContextMenuListsTheCommandsInOrder) {
  std::vector<std::string> ids;
  for (const std::string& id : contextMenuIds()) {
    if (id.empty() || id == "<") continue;
    const std::string name = id.back() == '>' ? id.substr(0, id.size() - 1) : id;
    ASSERT_NE(findCommand(name), nullptr) << name;
    ids.push_back(std::string(commandCaption(*findCommand(name), kGerman)));
  }
  EXPECT_EQ(ids,
            (std::vector<std::string>{
                "&Kopieren", "&Ausschneiden", "&Einfügen", "&Duplizieren", "&Löschen  [Entf]",
                "R&otieren", "&Horizontal spiegeln", "&Vertikal spiegeln",
                "Auf andere Platinenseite setzen", "Setze auf Layer ", "K1", "B1", "K2", "B2",
                "&Gruppieren", "Gruppierung auf&heben", "&Kreisbogen...", "Nullpunkt setzen"}));
  for (const std::string& id : nodeMenuIds()) EXPECT_NE(findCommand(id), nullptr) << id;
}

TEST(NodeRefusals, SayWhatIsMissing) {
  const TCommandStates none{}, corner{.node = true};
  EXPECT_STREQ(refusalOf(TEnableRule::nodeRemovable, none), "no corner was chosen");
  EXPECT_STREQ(refusalOf(TEnableRule::nodeSplittable, none), "no corner was chosen");
  EXPECT_STREQ(refusalOf(TEnableRule::nodeRemovable, corner),
               "a track or area keeps at least two corners");
  EXPECT_STREQ(refusalOf(TEnableRule::selection, none), "nothing is selected");
}

// Corners of a track at the right click's node: the commands on their own.
class NodeCommands : public EditMode {
 protected:
  TObjekt& fivePoints() {
    TObjekt& t = track({{0, 0}, {1000, 0}, {2000, 0}, {3000, 0}, {4000, 0}});
    t.clearance = 33;
    editor.setSelected(t, true);
    return t;
  }
};

TEST_F(NodeCommands, AddCornerSnapsTheNewPoint) {
  TObjekt& t = fivePoints();
  t.points[0] = {1010, -1010};
  ASSERT_TRUE(editor.addCorner({0, 0}));
  EXPECT_EQ(t.points[0], snapToGrid({1010 - 254, -1010 + 254}, 254));
  EXPECT_EQ(t.points[1], (TPoint{1010, -1010}));
  EXPECT_EQ(undoSteps(), 1u);
  // Between points 2 and 3 ((1000, 0) and (2000, 0)): the midpoint, snapped.
  ASSERT_TRUE(editor.addCorner({0, 3}));
  EXPECT_EQ(t.points[3], snapToGrid({1500, 0}, 254));
  EXPECT_EQ(t.points.size(), 7u);
}

TEST_F(NodeCommands, SplitLeavesBothHalvesEndingAtTheNode) {
  TObjekt& t = fivePoints();
  EXPECT_FALSE(editor.splitTrack({0, 0})) << "not at the first point";
  EXPECT_FALSE(editor.splitTrack({0, 4})) << "nor at the last";
  EXPECT_EQ(undoSteps(), 0u);
  ASSERT_TRUE(editor.splitTrack({0, 2}));
  EXPECT_EQ(t.points, (std::vector<TPoint>{{0, 0}, {1000, 0}, {2000, 0}}));
  ASSERT_EQ(list().size(), 2u);
  const TObjekt& rest = *list()[1];
  EXPECT_EQ(rest.kind, kTrack);
  EXPECT_EQ(rest.points, (std::vector<TPoint>{{4000, 0}, {3000, 0}, {2000, 0}}));
  EXPECT_EQ(rest.dim3, t.dim3);
  EXPECT_EQ(rest.layer, t.layer);
  EXPECT_EQ(rest.clearance, 33);
  EXPECT_EQ(undoSteps(), 1u);
}

TEST_F(NodeCommands, StaleOrGroupedTargetsAreRefused) {
  TObjekt& t = fivePoints();
  t.points[1] = {1000, 10};
  EXPECT_FALSE(editor.removeCorner({1, 1})) << "no such element";
  EXPECT_FALSE(editor.snapCorner({0, 5})) << "no such point";
  ASSERT_TRUE(editor.snapCorner({0, 1}));
  EXPECT_EQ(t.points[1], (TPoint{1016, 0}));
  EXPECT_FALSE(editor.snapCorner({0, 1})) << "already on the grid: nothing to undo";
  EXPECT_EQ(undoSteps(), 1u);
  t.groupIds = {4};
  EXPECT_FALSE(editor.addCorner({0, 1}));
  t.groupIds.clear();
  editor.deselectAll();
  EXPECT_FALSE(editor.addCorner({0, 1})) << "only the selected element's corners";
}

TEST_F(EditMode, GroupIsOfferedByTheCountRule) {
  TObjekt& grouped = pad(1000, -1000);
  grouped.groupIds = {5};
  TObjekt& a = pad(2000, -1000);
  TObjekt& b = pad(3000, -1000);
  editor.setSelected(grouped, true);
  editor.setSelected(a, true);
  EXPECT_FALSE(editor.commandStates().buildGroup) << "one grouped element and one other";
  editor.setSelected(b, true);
  EXPECT_TRUE(editor.commandStates().buildGroup);
  editor.deselectAll();
  editor.setSelected(a, true);
  editor.setSelected(b, true);
  EXPECT_TRUE(editor.commandStates().buildGroup) << "two ungrouped elements";
}

TEST_F(EditMode, CommandStatesFollowTheBoard) {
  TCommandStates s = editor.commandStates();
  EXPECT_FALSE(s.elements || s.bands || s.circleSelected || s.severalBoards);
  TObjekt& a = pad(1000, -1000);
  TObjekt& b = pad(2000, -1000);
  list().push_back(createCircle({4000, -4000}, 600, 0, kCopper1, 500));
  TObjekt& c = *list().back();
  s = editor.commandStates();
  EXPECT_TRUE(s.elements);
  EXPECT_FALSE(s.bands);
  ASSERT_TRUE(toggleConnection(a, b));
  editor.setSelected(c, true);
  s = editor.commandStates();
  EXPECT_TRUE(s.bands && s.circleSelected);
  editor.addBoard("C");
  EXPECT_TRUE(editor.commandStates().severalBoards);
}

TEST_F(EditMode, SpinFieldsOfTheSelectedKindsAreHighlighted) {
  TObjekt& p = pad(1000, -1000);
  TObjekt& t = track({{0, -100}, {500, -100}});
  list().push_back(createSmdPad({3000, -3000}, 100, kCopper1, 50));
  TObjekt& smd = *list().back();
  list().push_back(createArea(20, kCopper1));
  TObjekt& cutout = *list().back();
  cutout.cutout = 1;
  cutout.points = {{0, 0}, {100, 0}, {100, -100}};

  EXPECT_EQ(editor.spinHighlights(), TSpinHighlights{});
  editor.setSelected(p, true);
  EXPECT_EQ(editor.spinHighlights(), (TSpinHighlights{.padOuter = true, .padDrill = true}));
  editor.deselectAll();
  editor.setSelected(t, true);
  editor.setSelected(smd, true);
  EXPECT_EQ(editor.spinHighlights(),
            (TSpinHighlights{.trackWidth = true, .smdWidth = true, .smdHeight = true}));
  // The clearance field only with the ground plane of the active side on,
  // and never for a cutout area alone.
  editor.working().groundPlane2 = 1;
  EXPECT_FALSE(editor.spinHighlights().clearance) << "ground plane of the other side";
  editor.working().groundPlane1 = 1;
  EXPECT_TRUE(editor.spinHighlights().clearance);
  editor.deselectAll();
  editor.setSelected(cutout, true);
  EXPECT_EQ(editor.spinHighlights(), (TSpinHighlights{.trackWidth = true}));
}

TEST_F(EditMode, PastePlacementPutsTheBlockCentreOnThePointer) {
  pad(1000, -1000);
  pad(1508, -1000);
  editor.selectAll();
  ASSERT_TRUE(editor.copy());
  tools.enterPastePlacement();
  ASSERT_EQ(tools.mode(), TToolMode::paste);
  // The box centre (1254, -1000) snaps to (1270, -1016), the pointer to
  // (5080, -2540).
  move({5100, -2560});
  EXPECT_EQ(host.shown[size_t(TFeedbackKind::movePreview)], 1);
  EXPECT_EQ(tools.state().moveOffset, (TPoint{5080 - 1270, -2540 + 1016}));
  press({5100, -2560});
  release({5100, -2560});
  EXPECT_EQ(tools.mode(), TToolMode::edit);
  ASSERT_EQ(list().size(), 4u);
  EXPECT_EQ(list()[2]->x, 1000 + 3810);
  EXPECT_EQ(list()[3]->x, 1508 + 3810);
  EXPECT_EQ(list()[2]->y, -1000 - 1524);
  EXPECT_EQ(undoSteps(), 1u);
  EXPECT_FALSE(list()[2]->groupIds.empty());
  EXPECT_EQ(list()[2]->groupIds, list()[3]->groupIds) << "the pasted block is one group";
  EXPECT_TRUE(list()[2]->selected && list()[3]->selected) << "and stays selected";
  EXPECT_FALSE(list()[0]->selected);
  EXPECT_FALSE(feedbackLeft());

  tools.enterPastePlacement();
  move({3000, -3000});
  rightClick({3000, -3000});
  EXPECT_EQ(tools.mode(), TToolMode::edit);
  EXPECT_EQ(list().size(), 4u) << "the right button places nothing";
  EXPECT_FALSE(feedbackLeft());
}

TEST_F(EditMode, ACommandDuringADragLeavesThePreviewDrawable) {
  pad(1000, -1000);
  pad(2000, -1000);
  editor.selectAll();
  press({1000, -1000});
  move({1508, -1000});
  ASSERT_TRUE(tools.feedbackVisible(TFeedbackKind::movePreview));
  // A shortcut deletes what is being dragged while the button is held.
  ASSERT_TRUE(editor.deleteSelection());
  const TFeedback& preview = tools.feedback(TFeedbackKind::movePreview);
  ASSERT_EQ(preview.figures.size(), 1u);
  for (const TObjekt* e : preview.figures[0].elements)
    for (const auto& live : list()) EXPECT_NE(e, live.get()) << "the preview draws copies";
  release({1508, -1000});
  EXPECT_TRUE(list().empty());
  EXPECT_FALSE(feedbackLeft());
}

// The preview keeps the boxes of its elements for the whole drag; they must
// cover what is drawn at every offset: the moved pads and the rubber band
// running back to a partner that stays.
TEST_F(EditMode, MovePreviewBoundsCoverTheMovedBands) {
  TObjekt& a = pad(1000, -1000);
  TObjekt& b = pad(5000, -3000);
  ASSERT_TRUE(toggleConnection(a, b));
  editor.setSelected(a, true);
  press({1000, -1000});
  for (TPoint to : {TPoint{1508, -1000}, TPoint{3000, -2000}, TPoint{200, -200}}) {
    move(to);
    ASSERT_TRUE(tools.feedbackVisible(TFeedbackKind::movePreview));
    const TFeedback& preview = tools.feedback(TFeedbackKind::movePreview);
    const TFeedbackFigure& shown = preview.figures.at(0);
    ASSERT_TRUE(shown.listBounds.has_value());
    const TRect cached = feedbackBounds(preview);
    TFeedback uncached{TFeedbackKind::movePreview, {}};
    TFeedbackFigure& f = uncached.figures.emplace_back();
    f.shape = shown.shape;
    f.elements = shown.elements;
    f.offset = shown.offset;
    f.connectionList = shown.connectionList;
    EXPECT_EQ(cached, feedbackBounds(uncached));
    const TPoint o = shown.offset;
    EXPECT_LE(cached.left, std::min(a.x + o.x, b.x));
    EXPECT_GE(cached.right, std::max(a.x + o.x, b.x));
    EXPECT_LE(cached.top, std::min(a.y + o.y, b.y));
    EXPECT_GE(cached.bottom, std::max(a.y + o.y, b.y));
  }
  release({200, -200});
  EXPECT_FALSE(feedbackLeft());
}

}  // namespace
}  // namespace plavesk
