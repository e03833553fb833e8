#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "editing/editor.h"
#include "editing/tools/draw_tools.h"
#include "editing/tools/feedback_paint.h"
#include "editing/tools/tool_manager.h"
#include "platform/core/raster_canvas.h"
#include "view/main_view_paint.h"
#include "view/render_settings.h"
#include "view/view_state.h"

namespace plavesk {
namespace {

constexpr CanvasColour kPaper = 0x00FFFFFF;

// The window's side, recorded: what is on screen per feedback kind, and,
// when `image` is set, the figures really drawn into a picture of the paint
// surface, so that an erase that misses a pixel shows.
class FakeHost : public TToolHost {
 public:
  TViewState viewState;
  RasterImage* image = nullptr;
  TRenderSettings settings;
  int shown[kFeedbackKinds] = {};
  TFeedback lastDrawn;
  TCursor cursor = TCursor::arrow;
  bool confined = false;
  int refreshes = 0;
  int viewChanges = 0;
  std::vector<int> modesShown;
  TPoint coordinates{};
  bool measureShown = false;
  std::string measureDistance;

  TViewState& view() override { return viewState; }
  void drawFeedback(const TFeedback& f) override {
    ++shown[size_t(f.kind)];
    lastDrawn.kind = f.kind;
    lastDrawn.figures.clear();
    for (const auto& fig : f.figures) {
      TFeedbackFigure& c = lastDrawn.figures.emplace_back();
      c.shape = fig.shape;
      c.mode = fig.mode;
      c.colour = fig.colour;
      c.width = fig.width;
      c.points = fig.points;
    }
    paint(f);
  }
  void eraseFeedback(const TFeedback& f) override {
    --shown[size_t(f.kind)];
    paint(f);
  }
  void setCursor(TCursor c) override { cursor = c; }
  void confinePointer() override { confined = true; }
  void releasePointer() override { confined = false; }
  void refreshPointer() override { ++refreshes; }
  void openMenu(const std::string&, const std::vector<std::string>&, TPoint) override {}
  void viewChanged() override { ++viewChanges; }
  void showCoordinates(TPoint world) override { coordinates = world; }
  void showMode(int mode) override { modesShown.push_back(mode); }
  void showMeasure(const TMeasureReadout* r, TPoint) override {
    measureShown = r != nullptr;
    if (r) measureDistance = r->distance;
  }

  int totalShown() const {
    int n = 0;
    for (int s : shown) n += s;
    return n;
  }

 private:
  void paint(const TFeedback& f) {
    if (!image) return;
    RasterCanvas canvas(*image);
    canvas.setMapping(viewMapping(viewState));
    plavesk::drawFeedback(f, canvas, settings);
  }
};

struct Keys {
  bool shift = false;
  bool ctrl = false;
};
constexpr Keys kCtrl{false, true};

// A board of 2000 x 1200 units shown at one pixel a unit, grid 100: world
// (x, y) is surface pixel (x, -y).
class ToolsTest : public ::testing::Test {
 protected:
  TEditor editor;
  FakeHost host;
  std::unique_ptr<TToolManager> tools;

  void SetUp() override {
    std::fill(std::begin(host.shown), std::end(host.shown), 0);
    editor.newLayout("Test");
    TBoardRecord& r = editor.working();
    r.width = 2000;
    r.height = 1200;
    r.grid = 100;
    r.zoom = 1;
    r.activeLayer = kCopper1;
    host.viewState.bind(editor.layout);
    host.viewState.clientWidth = 1200;
    host.viewState.clientHeight = 800;
    host.viewState.showBoard(&editor.layout.active().zoomStack);
    host.viewState.setZoom(1);
    host.viewState.setScroll(0, 0);
    tools = std::make_unique<TToolManager>(editor, host);
  }

  TToolResult send(TInputEvent::Kind kind, TPoint world, TInputEvent::Button button, Keys keys) {
    TInputEvent e;
    e.kind = kind;
    e.pixel = host.viewState.worldToDevice(world);
    e.button = button;
    e.shift = keys.shift;
    e.ctrl = keys.ctrl;
    e.leftHeld = leftHeld_;
    if (kind == TInputEvent::press && button == TInputEvent::left) leftHeld_ = true;
    if (kind == TInputEvent::release && button == TInputEvent::left) leftHeld_ = false;
    return tools->handle(e);
  }
  void move(TPoint w, Keys k = {}) { send(TInputEvent::move, w, TInputEvent::none, k); }
  void press(TPoint w, Keys k = {}) { send(TInputEvent::press, w, TInputEvent::left, k); }
  void release(TPoint w, Keys k = {}) { send(TInputEvent::release, w, TInputEvent::left, k); }
  void click(TPoint w, Keys k = {}) {
    move(w, k);
    press(w, k);
    release(w, k);
  }
  void rightClick(TPoint w) {
    move(w);
    send(TInputEvent::press, w, TInputEvent::right, {});
    send(TInputEvent::release, w, TInputEvent::right, {});
  }
  void key(TInputEvent::Kind kind, const std::string& name) {
    TInputEvent e;
    e.kind = kind;
    e.key = name;
    e.leftHeld = leftHeld_;
    tools->handle(e);
  }
  void tapKey(const std::string& name) {
    key(TInputEvent::keyDown, name);
    key(TInputEvent::keyUp, name);
  }

  const TObjektList& list() { return editor.elements(); }
  size_t undoSteps() { return editor.layout.active().undoStack.size(); }

  bool leftHeld_ = false;
};

// --- snapping and bend modes ---

TEST_F(ToolsTest, TrackPointsSnapToTheGridUnlessCtrlHalvesToEven) {
  struct Case {
    TPoint at;
    bool ctrl;
    TPoint expected;
  } cases[] = {
      {{150, -250}, false, {200, -200}},  // both half-way: the even multiple
      {{350, -450}, false, {400, -400}},    {{149, -51}, false, {100, -100}},
      {{150, -250}, true, {150, -250}},  // Ctrl: exactly the pointer
      {{1999, -1199}, true, {1999, -1199}},
  };
  for (const Case& c : cases) {
    ASSERT_TRUE(tools->selectTool(TToolMode::track));
    click(c.at, c.ctrl ? kCtrl : Keys{});
    ASSERT_FALSE(list().empty());
    EXPECT_EQ(list().back()->points.front(), c.expected) << c.at.x << "," << c.at.y;
    // Status coordinates follow the same rule in track mode.
    EXPECT_EQ(host.coordinates, c.expected);
  }
}

TEST_F(ToolsTest, StatusCoordinatesAreUnsnappedWhereTheModeNeverSnaps) {
  ASSERT_TRUE(tools->selectTool(TToolMode::measure));
  move({150, -250});
  EXPECT_EQ(host.coordinates, (TPoint{150, -250}));
  ASSERT_TRUE(tools->selectTool(TToolMode::pad));
  move({150, -250});
  EXPECT_EQ(host.coordinates, (TPoint{200, -200}));
}

TEST(BendCorner, EveryModeForTheReferenceExample) {
  const TPoint a{1000, -500};
  struct Case {
    uint8_t mode;
    TPoint c;
    TPoint corner;
  } cases[] = {
      {0, {1300, -400}, {1200, -500}},  // straight first, then 45 degrees
      {1, {1300, -400}, {1100, -400}},  // 45 degrees first
      {2, {1300, -400}, {1000, -400}},  // vertical first
      {3, {1300, -400}, {1300, -500}},  // horizontal first
      {4, {1300, -400}, {1300, -400}},  // one segment
      {0, {700, -600}, {800, -500}},    // to the lower left
      {1, {700, -600}, {900, -600}},   {0, {1100, -900}, {1000, -800}},  // steeper than 45 degrees
  };
  for (const Case& c : cases)
    EXPECT_EQ(bendCorner(c.mode, a, c.c), c.corner) << int(c.mode) << " " << c.c.x;
}

TEST_F(ToolsTest, SpaceWhileDrawingCyclesTheBendModeAndSetsTheCorner) {
  struct Case {
    int spaces;  // presses of Space after the first click
    std::vector<TPoint> points;
  } cases[] = {
      {0, {{0, 0}, {200, 0}, {300, -100}}},
      {1, {{0, 0}, {100, -100}, {300, -100}}},
      {4, {{0, 0}, {300, -100}}},  // bend mode 4 adds no corner
      {5, {{0, 0}, {200, 0}, {300, -100}}},
  };
  for (const Case& c : cases) {
    ASSERT_TRUE(tools->selectTool(TToolMode::track));
    tools->state().bendMode = 0;
    click({0, 0});
    for (int i = 0; i < c.spaces; ++i) tapKey("Space");
    EXPECT_EQ(tools->mode(), TToolMode::track) << "Space while drawing starts no zoom";
    EXPECT_FALSE(tools->state().tempZoom);
    EXPECT_EQ(tools->state().bendMode, c.spaces % 5);
    click({300, -100});
    rightClick({300, -100});
    EXPECT_EQ(list().back()->points, c.points) << c.spaces;
  }
}

TEST_F(ToolsTest, SpaceShowsTheRubberBandAgainAfterChangingTheBend) {
  ASSERT_TRUE(tools->selectTool(TToolMode::track));
  click({0, 0});
  move({300, -100});
  ASSERT_EQ(host.shown[size_t(TFeedbackKind::trackRubberBand)], 1);
  tapKey("Space");
  EXPECT_EQ(host.shown[size_t(TFeedbackKind::trackRubberBand)], 1);
  ASSERT_EQ(host.lastDrawn.figures.size(), 1u);
  EXPECT_EQ(host.lastDrawn.figures[0].points,
            (std::vector<TPoint>{{0, 0}, {100, -100}, {300, -100}}));
}

// --- the press rules ---

TEST_F(ToolsTest, IgnoreNextPressSkipsExactlyOnePressOfAnyButton) {
  ASSERT_TRUE(tools->selectTool(TToolMode::pad));
  for (auto button : {TInputEvent::left, TInputEvent::right}) {
    tools->state().ignoreNextPress = true;
    move({500, -500});
    send(TInputEvent::press, {500, -500}, button, {});
    send(TInputEvent::release, {500, -500}, button, {});
    EXPECT_TRUE(list().empty());
    EXPECT_EQ(tools->mode(), TToolMode::pad) << "the right press did not go back to edit mode";
    EXPECT_FALSE(tools->state().ignoreNextPress);
  }
  click({500, -500});
  EXPECT_EQ(list().size(), 1u);
}

TEST_F(ToolsTest, RightButtonWithTheLeftHeldDoesNothing) {
  ASSERT_TRUE(tools->selectTool(TToolMode::track));
  click({0, 0});
  move({300, 0});
  press({300, 0});
  send(TInputEvent::press, {300, 0}, TInputEvent::right, {});
  EXPECT_EQ(tools->mode(), TToolMode::track);
  EXPECT_TRUE(tools->state().inProgress);
  release({300, 0});
  ASSERT_EQ(list().size(), 1u);
  EXPECT_EQ(list()[0]->points.size(), 2u);
}

TEST_F(ToolsTest, AReleaseThatNeverCameEndsTheDragAtTheNextMove) {
  ASSERT_TRUE(tools->selectTool(TToolMode::circle));
  move({1000, -1000});
  press({1000, -1000});
  move({1300, -1000});
  EXPECT_TRUE(editor.operationInProgress) << "undo waits while the button is held";
  leftHeld_ = false;  // the button came up outside the view
  move({1300, -1000});
  ASSERT_EQ(list().size(), 1u);
  EXPECT_EQ(list()[0]->kind, kCircle);
  EXPECT_FALSE(editor.operationInProgress);
  EXPECT_EQ(host.totalShown(), 1) << "only the tool dot";
  // The late release changes nothing.
  release({1300, -1000});
  EXPECT_EQ(list().size(), 1u);
}

TEST_F(ToolsTest, RightButtonWithoutADrawingReturnsToEditMode) {
  for (TToolMode m : {TToolMode::track, TToolMode::pad, TToolMode::area, TToolMode::circle,
                      TToolMode::measure, TToolMode::smdPad}) {
    ASSERT_TRUE(tools->selectTool(m));
    host.modesShown.clear();
    rightClick({500, -500});
    EXPECT_EQ(tools->mode(), TToolMode::edit) << int(m);
    EXPECT_EQ(host.modesShown, std::vector<int>{0}) << int(m);
    EXPECT_EQ(host.totalShown(), 0) << int(m);
  }
}

// Every button's mode has its tool now; a mode code without one (4 is
// unused, 15 and above are beyond the table) is refused and leaves the
// current tool and the selection as they were.
TEST_F(ToolsTest, ModesWithoutAToolAreRefused) {
  ASSERT_TRUE(tools->selectTool(TToolMode::pad));
  click({500, -500});
  ASSERT_EQ(list().size(), 1u);
  editor.setSelected(*list()[0], true);
  for (int code : {4, 15, 255}) {
    EXPECT_FALSE(tools->selectTool(TToolMode(code))) << code;
    EXPECT_EQ(tools->mode(), TToolMode::pad) << code;
    EXPECT_EQ(list()[0]->selected, 1) << code;
  }
}

// --- temporary zoom ---

TEST_F(ToolsTest, SpaceHeldZoomsTemporarilyAndReturnsWithNothingSelected) {
  ASSERT_TRUE(tools->selectTool(TToolMode::pad));
  click({500, -500});
  ASSERT_EQ(list().size(), 1u);
  editor.setSelected(*list()[0], true);
  key(TInputEvent::keyDown, "Space");
  EXPECT_EQ(tools->mode(), TToolMode::zoom);
  EXPECT_TRUE(tools->state().tempZoom);
  EXPECT_EQ(host.cursor, TCursor::magnifier);
  EXPECT_EQ(host.totalShown(), 0);
  key(TInputEvent::keyDown, "Space");  // auto-repeat changes nothing
  EXPECT_EQ(tools->state().savedMode, TToolMode::pad);
  key(TInputEvent::keyUp, "Space");
  EXPECT_EQ(tools->mode(), TToolMode::pad);
  EXPECT_FALSE(tools->state().tempZoom);
  EXPECT_EQ(host.modesShown, (std::vector<int>{3, 2}));
  EXPECT_EQ(list()[0]->selected, 0);
}

TEST_F(ToolsTest, SpaceStartsNoTemporaryZoomWithTheLeftButtonHeld) {
  ASSERT_TRUE(tools->selectTool(TToolMode::circle));
  move({500, -500});
  press({500, -500});
  key(TInputEvent::keyDown, "Space");
  EXPECT_EQ(tools->mode(), TToolMode::circle);
  EXPECT_FALSE(tools->state().tempZoom);
}

// --- zoom mode ---

TEST_F(ToolsTest, ZoomClickAndSmallFramesZoomInAtThePoint) {
  // Frames of at most 8 pixels either way count as a click at the release.
  struct Case {
    TPoint from, to;
  } cases[] = {{{8000, -5000}, {8000, -5000}},
               {{8000, -5000}, {8080, -5500}},
               {{8000, -5000}, {8500, -5080}}};
  for (const Case& c : cases) {
    editor.working().width = 16000;
    editor.working().height = 10000;
    host.viewState.setZoom(0.1);
    ASSERT_TRUE(tools->selectTool(TToolMode::zoom));
    const size_t history = editor.layout.active().zoomStack.size();
    move(c.from);
    press(c.from);
    move(c.to);
    release(c.to);
    EXPECT_DOUBLE_EQ(host.viewState.zoom(), 0.1 * 1.4);
    EXPECT_EQ(editor.layout.active().zoomStack.size(), history + 1);
    const auto v = host.viewState.visibleArea();
    EXPECT_NEAR(v.left + v.width / 2, c.to.x, 1 / 0.14);
    EXPECT_NEAR(v.top + v.height / 2, -c.to.y, 1 / 0.14);
    EXPECT_EQ(host.totalShown(), 0);
  }
}

TEST_F(ToolsTest, ZoomFrameFillsTheViewAndRightClickZoomsOut) {
  editor.working().width = 16000;
  editor.working().height = 10000;
  host.viewState.setZoom(0.1);
  ASSERT_TRUE(tools->selectTool(TToolMode::zoom));
  move({1000, -1000});
  press({1000, -1000});
  move({4000, -3000});
  EXPECT_EQ(host.shown[size_t(TFeedbackKind::selectionFrame)], 1);
  release({4000, -3000});
  // min(1200 / 3000, 800 / 2000), the frame's centre (2500, 2000) centred.
  EXPECT_DOUBLE_EQ(host.viewState.zoom(), 0.4);
  EXPECT_EQ(host.viewState.scrollX(), 400);
  EXPECT_EQ(host.viewState.scrollY(), 400);
  EXPECT_EQ(host.totalShown(), 0);
  rightClick({2500, -2000});
  EXPECT_DOUBLE_EQ(host.viewState.zoom(), 0.4 / 1.4);
  EXPECT_EQ(tools->mode(), TToolMode::zoom);
}

TEST_F(ToolsTest, PhotoViewButtonSelectsZoomMode) {
  ASSERT_TRUE(tools->selectTool(TToolMode::zoom, true));
  EXPECT_EQ(tools->mode(), TToolMode::zoom);
  EXPECT_TRUE(tools->state().photoView);
  EXPECT_EQ(host.cursor, TCursor::magnifier);
  ASSERT_TRUE(tools->selectTool(TToolMode::zoom));
  EXPECT_FALSE(tools->state().photoView);
}

// --- tracks and areas ---

TEST_F(ToolsTest, EndingATrackKeepsItOnlyWithTwoPoints) {
  struct Case {
    std::vector<TPoint> clicks;
    size_t elements;
    size_t undo;
  } cases[] = {
      {{{100, -100}}, 0, 0},  // one point: gone, and nothing to undo
      {{{100, -100}, {500, -100}}, 1, 1},
      {{{100, -100}, {500, -100}, {500, -500}}, 1, 1},  // one snapshot for the whole track
  };
  for (const Case& c : cases) {
    SetUp();
    ASSERT_TRUE(tools->selectTool(TToolMode::track));
    for (TPoint p : c.clicks) click(p);
    EXPECT_TRUE(host.confined);
    EXPECT_TRUE(editor.operationInProgress) << "undo waits while a track is drawn";
    rightClick(c.clicks.back());
    EXPECT_FALSE(host.confined);
    EXPECT_FALSE(editor.operationInProgress);
    EXPECT_EQ(list().size(), c.elements);
    EXPECT_EQ(undoSteps(), c.undo);
    EXPECT_EQ(tools->mode(), TToolMode::track);
    EXPECT_EQ(host.shown[size_t(TFeedbackKind::toolDot)], 1);
    EXPECT_EQ(host.shown[size_t(TFeedbackKind::trackRubberBand)], 0);
  }
}

TEST_F(ToolsTest, NewTrackTakesTheToolValues) {
  tools->values().trackWidth = 50;
  tools->values().clearance = 25;
  editor.working().activeLayer = kSilk2;
  ASSERT_TRUE(tools->selectTool(TToolMode::track));
  click({100, -100});
  click({300, -100});
  const TObjekt& t = *list().back();
  EXPECT_EQ(t.kind, kTrack);
  EXPECT_EQ(t.dim3, 50);
  EXPECT_EQ(t.clearance, 25);
  EXPECT_EQ(t.layer, kSilk2);
  // Silkscreen feedback is red.
  move({500, -100});
  EXPECT_EQ(host.lastDrawn.figures.at(0).colour, 0x0000FFu);
}

TEST_F(ToolsTest, DeleteWhileDrawingRemovesTheLastPointButNeverTheFirst) {
  ASSERT_TRUE(tools->selectTool(TToolMode::track));
  tools->state().bendMode = 4;
  click({100, -100});
  click({300, -100});
  tapKey("Delete");
  ASSERT_EQ(list().back()->points.size(), 1u);
  EXPECT_EQ(tools->state().anchor, (TPoint{100, -100}));
  tapKey("Delete");
  EXPECT_EQ(list().back()->points.size(), 1u);
  rightClick({100, -100});
  EXPECT_TRUE(list().empty());
}

TEST_F(ToolsTest, AreasAreKeptOnlyWithExtentAndFourPoints) {
  struct Case {
    std::vector<TPoint> clicks;
    bool rightClickCloses;
    size_t points;  // 0: deleted
  } cases[] = {
      // Closing on the first point keeps a triangle (four points).
      {{{100, -100}, {500, -100}, {500, -500}, {100, -100}}, false, 4},
      {{{100, -100}, {500, -100}, {500, -500}}, true, 4},
      // All on one horizontal line.
      {{{100, -100}, {500, -100}, {900, -100}, {100, -100}}, false, 0},
      {{{100, -100}, {500, -500}}, true, 0},  // closed: 3 points
  };
  for (const Case& c : cases) {
    SetUp();
    ASSERT_TRUE(tools->selectTool(TToolMode::area));
    tools->state().bendMode = 4;
    for (TPoint p : c.clicks) click(p);
    if (c.rightClickCloses) rightClick(c.clicks.back());
    EXPECT_FALSE(tools->state().inProgress);
    EXPECT_FALSE(host.confined);
    EXPECT_FALSE(editor.operationInProgress);
    if (c.points == 0) {
      EXPECT_TRUE(list().empty());
      EXPECT_EQ(undoSteps(), 0u);
      EXPECT_EQ(host.totalShown() - host.shown[size_t(TFeedbackKind::toolDot)], 0);
    } else {
      ASSERT_EQ(list().size(), 1u);
      EXPECT_EQ(list()[0]->points.size(), c.points);
      EXPECT_EQ(list()[0]->closed, 1);
      EXPECT_EQ(undoSteps(), 1u);
    }
  }
}

TEST_F(ToolsTest, CutoutAreaOnSilkscreenGoesToTheCopperOfTheSide) {
  tools->values().cutout = true;
  editor.working().activeLayer = kSilk1;
  ASSERT_TRUE(tools->selectTool(TToolMode::area));
  click({100, -100});
  EXPECT_EQ(list().back()->layer, kCopper1);
  EXPECT_EQ(list().back()->cutout, 1);
  // Every other tool releases the cutout button.
  ASSERT_TRUE(tools->selectTool(TToolMode::area));
  EXPECT_TRUE(tools->values().cutout);
  ASSERT_TRUE(tools->selectTool(TToolMode::track));
  EXPECT_FALSE(tools->values().cutout);
}

TEST_F(ToolsTest, ChoosingAnotherToolKeepsTheFixedPointsOfATrack) {
  ASSERT_TRUE(tools->selectTool(TToolMode::track));
  click({100, -100});
  click({500, -100});
  ASSERT_TRUE(tools->selectTool(TToolMode::pad));
  ASSERT_EQ(list().size(), 1u);
  EXPECT_EQ(list()[0]->points.size(), 2u);
  EXPECT_FALSE(editor.operationInProgress);
  // A new track starts afresh.
  ASSERT_TRUE(tools->selectTool(TToolMode::track));
  click({100, -500});
  EXPECT_EQ(list().size(), 2u);
}

// No sequence of mouse and key events leaves a track or area of fewer
// than two points behind, nor one that is not the element being drawn.
TEST_F(ToolsTest, NoEventSequenceLeavesADegenerateTrackOrArea) {
  std::mt19937 random(12345);
  const TToolMode modes[] = {TToolMode::track, TToolMode::area, TToolMode::pad, TToolMode::edit,
                             TToolMode::zoom};
  auto pick = [&](int n) { return int(random() % unsigned(n)); };
  auto point = [&]() { return TPoint{100 * pick(4), -100 * pick(4)}; };
  for (int step = 0; step < 3000; ++step) {
    switch (pick(9)) {
      case 0:
        tools->selectTool(modes[pick(5)]);
        break;
      case 1:
        rightClick(point());
        break;
      case 2:
        tapKey(pick(2) ? "Space" : "Delete");
        break;
      case 3:
        tools->pointerLeftView();
        break;
      case 4:
        if (editor.undo()) tools->eraseAllFeedback();
        break;
      default:
        click(point(), pick(4) == 0 ? kCtrl : Keys{});
        break;
    }
    if (tools->mode() == TToolMode::zoom) tools->selectTool(TToolMode::track);
    const bool drawing = tools->drawingElement();
    for (size_t i = 0; i < list().size(); ++i) {
      const TObjekt& e = *list()[i];
      if (!e.hasPoints() || (drawing && i + 1 == list().size())) continue;
      ASSERT_GE(e.points.size(), 2u) << "step " << step;
    }
  }
  tools->selectTool(TToolMode::edit);
  for (const auto& e : list())
    if (e->hasPoints()) {
      EXPECT_GE(e->points.size(), 2u);
    }
  EXPECT_EQ(host.totalShown(), 0);
}

// --- pads, SMD pads, circles ---

TEST_F(ToolsTest, PadsAndSmdPadsArePlacedWithTheToolValues) {
  tools->values().padRadius = 75;
  tools->values().drillRadius = 20;
  tools->values().padShape = kPadOctagon;
  tools->values().throughPad = true;
  editor.working().activeLayer = kCopper2;
  ASSERT_TRUE(tools->selectTool(TToolMode::pad));
  click({430, -470});
  ASSERT_EQ(list().size(), 2u);
  const TObjekt& pad = *list()[0];
  EXPECT_EQ(pad.kind, kPad);
  EXPECT_EQ((TPoint{pad.x, pad.y}), (TPoint{400, -500}));
  EXPECT_EQ(pad.dim1, 75);
  EXPECT_EQ(pad.dim2, 20);
  EXPECT_EQ(pad.padShape, kPadOctagon);
  EXPECT_EQ(pad.layer, kCopper2);
  EXPECT_EQ(list()[1]->layer, kCopper1);
  EXPECT_EQ(pad.padLink, list()[1].get());
  EXPECT_EQ(undoSteps(), 1u);
  EXPECT_EQ(host.shown[size_t(TFeedbackKind::padOutline)], 1) << "the outline is shown again";

  tools->values().smdWidthMm = 1.25;
  tools->values().smdHeightMm = 0.5;
  ASSERT_TRUE(tools->selectTool(TToolMode::smdPad));
  click({1000, -1000});
  const TObjekt& smd = *list().back();
  EXPECT_EQ(smd.kind, kSmdPad);
  EXPECT_EQ(smd.dim1, 125);
  EXPECT_EQ(smd.dim2, 50);
  const TFeedbackFigure& outline = host.lastDrawn.figures.at(0);
  EXPECT_EQ(outline.shape, TFeedbackFigure::rectangle);
  // Half widths round(62.5) = 62, halves to even.
  EXPECT_EQ(outline.points, (std::vector<TPoint>{{938, -975}, {1062, -1025}}));
}

TEST_F(ToolsTest, CircleNeedsMoreThanFiveUnits) {
  struct Case {
    TPoint to;
    bool ctrl;
    int32_t outer, inner;  // 0: none
  } cases[] = {
      {{1005, -1000}, true, 0, 0},
      {{1003, -995}, true, 0, 0},
      {{1006, -1000}, true, 6 + 25, 6 - 25},
      // 1000 right and 200 up with a width of 50.
      {{2000, -800}, false, 1025, 975},
  };
  tools->values().trackWidth = 50;
  for (const Case& c : cases) {
    SetUp();
    tools->values().trackWidth = 50;
    editor.working().width = 3000;
    ASSERT_TRUE(tools->selectTool(TToolMode::circle));
    move({1000, -1000});
    press({1000, -1000});
    move(c.to, c.ctrl ? kCtrl : Keys{});
    EXPECT_EQ(host.shown[size_t(TFeedbackKind::circlePreview)], 1);
    release(c.to, c.ctrl ? kCtrl : Keys{});
    EXPECT_EQ(host.shown[size_t(TFeedbackKind::circlePreview)], 0);
    if (c.outer == 0) {
      EXPECT_TRUE(list().empty()) << c.to.x;
      EXPECT_EQ(undoSteps(), 0u);
      continue;
    }
    ASSERT_EQ(list().size(), 1u);
    const TObjekt& e = *list()[0];
    EXPECT_EQ(e.kind, kCircle);
    EXPECT_EQ((TPoint{e.x, e.y}), (TPoint{1000, -1000}));
    EXPECT_EQ(e.dim1, c.outer);
    EXPECT_EQ(e.dim2, c.inner);
    EXPECT_EQ(e.angle, 0);
    EXPECT_EQ(e.dim3, 0);
  }
}

// --- measuring ---

TEST(MeasureReadout, MillimetresAndInches) {
  struct Case {
    TPoint a, c;
    bool inch;
    TMeasureReadout expected;
  } cases[] = {
      {{0, 0}, {1000, -1000}, false, {"10 mm", "10 mm", "14.14 mm", "45\u00B0"}},
      {{0, 0}, {1000, -1000}, true, {"0.39 \"", "0.39 \"", "0.56 \"", "45\u00B0"}},
      {{500, -500}, {500, -500}, false, {"0 mm", "0 mm", "0 mm", "0\u00B0"}},
      {{0, 0}, {-300, 400}, false, {"-3 mm", "-4 mm", "5 mm", "53.1\u00B0"}},
  };
  for (const Case& c : cases) {
    const TMeasureReadout r = measureReadout(c.a, c.c, c.inch);
    EXPECT_EQ(r.dx, c.expected.dx);
    EXPECT_EQ(r.dy, c.expected.dy);
    EXPECT_EQ(r.distance, c.expected.distance);
    EXPECT_EQ(r.angle, c.expected.angle);
  }
}

TEST_F(ToolsTest, MeasureShowsThePanelWhileTheButtonIsHeld) {
  ASSERT_TRUE(tools->selectTool(TToolMode::measure));
  EXPECT_EQ(host.cursor, TCursor::crossHair);
  move({100, -100});
  press({100, -100});
  EXPECT_TRUE(host.measureShown);
  EXPECT_TRUE(host.confined);
  move({403, -500}, kCtrl);
  EXPECT_EQ(host.measureDistance, "5.02 mm");  // never snapped: 303 x 400
  EXPECT_EQ(host.shown[size_t(TFeedbackKind::measureLines)], 1);
  release({403, -500});
  EXPECT_FALSE(host.measureShown);
  EXPECT_FALSE(host.confined);
  EXPECT_EQ(host.totalShown(), 0);
  EXPECT_TRUE(list().empty());
}

// --- autoscroll ---

TEST_F(ToolsTest, AutoscrollAtTheBorderWhileTheButtonIsHeld) {
  host.viewState.lineStepX = 75;
  host.viewState.lineStepY = 50;
  ASSERT_TRUE(tools->selectTool(TToolMode::circle));
  move({600, -400});
  press({600, -400});
  move({1195, -400});  // 8 pixels from the right edge of 1200
  EXPECT_EQ(host.viewState.scrollX(), 75);
  EXPECT_EQ(host.viewState.scrollY(), 0);
  EXPECT_EQ(host.refreshes, 1);
  EXPECT_EQ(host.viewChanges, 1);
  // Already at the top: nothing to scroll up to.
  move({700, -3});
  EXPECT_EQ(host.viewState.scrollY(), 0);
  release({700, -3});
  // Without the button held nothing scrolls.
  move({1270, -400});
  EXPECT_EQ(host.viewState.scrollX(), 75);
}

// --- feedback on screen ---

TEST_F(ToolsTest, EveryToolChangeLeavesNoFeedbackOnScreen) {
  RasterImage image(2001, 1201, kPaper);
  host.image = &image;
  const TToolMode modes[] = {TToolMode::track,  TToolMode::area, TToolMode::pad,
                             TToolMode::circle, TToolMode::zoom, TToolMode::measure,
                             TToolMode::smdPad};
  for (TToolMode m : modes) {
    for (TToolMode next : {TToolMode::edit, TToolMode::pad, TToolMode::track}) {
      ASSERT_TRUE(tools->selectTool(m));
      // Something on screen in every mode: a drawing, a drag or an outline.
      move({500, -500});
      press({500, -500});
      move({930, -770});
      if (m == TToolMode::track || m == TToolMode::area) {
        release({930, -770});
        move({1200, -300});
      }
      ASSERT_GT(host.totalShown(), 0) << int(m);
      ASSERT_TRUE(tools->selectTool(next));
      if (leftHeld_) release({930, -770});
      EXPECT_EQ(host.totalShown(), 0) << int(m) << " -> " << int(next);
      for (bool v : tools->state().visible) EXPECT_FALSE(v);
      // Every pixel drawn has been erased.
      bool clean = true;
      for (int32_t y = 0; y < image.height() && clean; ++y)
        for (int32_t x = 0; x < image.width() && clean; ++x) clean = image.pixel(x, y) == kPaper;
      EXPECT_TRUE(clean) << int(m) << " -> " << int(next);
    }
  }
}

TEST_F(ToolsTest, LeavingTheViewErasesFeedbackAndTheNextMoveShowsItAgain) {
  ASSERT_TRUE(tools->selectTool(TToolMode::track));
  click({100, -100});
  move({500, -300});
  ASSERT_EQ(host.totalShown(), 1);
  tools->pointerLeftView();
  EXPECT_EQ(host.totalShown(), 0);
  move({500, -300});
  EXPECT_EQ(host.shown[size_t(TFeedbackKind::trackRubberBand)], 1);
}

// The pixels a feedback changes, drawn on paper.
TRect drawnPixels(const RasterImage& image) {
  TRect r{INT32_MAX, INT32_MAX, INT32_MIN, INT32_MIN};
  for (int32_t y = 0; y < image.height(); ++y)
    for (int32_t x = 0; x < image.width(); ++x)
      if (image.pixel(x, y) != kPaper) {
        r.left = std::min(r.left, x);
        r.top = std::min(r.top, y);
        r.right = std::max(r.right, x);
        r.bottom = std::max(r.bottom, y);
      }
  return r;
}

TEST(FeedbackPaint, DrawingTwiceRestoresAndBoundsCoverEveryPixel) {
  TViewState view;
  TBoardRecord record;
  record.width = 400;
  record.height = 300;
  record.zoom = 1;
  view.setRecord(record);
  view.clientWidth = 401;
  view.clientHeight = 301;
  TRenderSettings settings;

  auto figure = [](TFeedbackFigure::Shape shape, TFeedbackFigure::Mode mode, uint32_t colour,
                   int32_t width, std::vector<TPoint> points) {
    TFeedbackFigure f;
    f.shape = shape;
    f.mode = mode;
    f.colour = colour;
    f.width = width;
    f.points = std::move(points);
    return f;
  };
  using F = TFeedbackFigure;
  std::vector<TFeedback> cases;
  cases.push_back({TFeedbackKind::trackRubberBand, {}});
  cases.back().figures.push_back(
      figure(F::polyline, F::notXor, 0, 30, {{50, -50}, {150, -50}, {200, -100}}));
  cases.push_back({TFeedbackKind::toolDot, {}});
  cases.back().figures.push_back(figure(F::polyline, F::notXor, 0x0000FF, 20, {{100, -100}}));
  cases.push_back({TFeedbackKind::smdOutline, {}});
  cases.back().figures.push_back(figure(F::rectangle, F::notXor, 0, 0, {{90, -80}, {130, -160}}));
  cases.push_back({TFeedbackKind::circlePreview, {}});
  cases.back().figures.push_back(
      figure(F::ellipse, F::xorMode, 0xFFFFFF, 12, {{100, -100}, {220, -220}}));
  cases.push_back({TFeedbackKind::selectionFrame, {}});
  cases.back().figures.push_back(
      figure(F::frame, F::notXor, 0x0000FF, 0, {{300, -20}, {20, -250}}));
  cases.push_back({TFeedbackKind::measureLines, {}});
  cases.back().figures.push_back(
      figure(F::polyline, F::xorMode, 0x00FFFF, 0, {{10, -10}, {390, -290}}));
  cases.back().figures.push_back(
      figure(F::frame, F::xorMode, 0x00FFFF, 0, {{10, -10}, {390, -290}}));
  cases.push_back({TFeedbackKind::connectionLine, {}});
  cases.back().figures.push_back(
      figure(F::dottedLine, F::notXor, 0xFF0000, 0, {{20, -280}, {380, -30}}));
  cases.push_back({TFeedbackKind::movePreview, {}});
  {
    F f = figure(F::elementList, F::notXor, 0, 0, {});
    f.owned.push_back(createPad({100, -100}, 40, kPadSquare, kCopper1, 15));
    auto track = createTrack(20, kSilk1);
    addPoint(*track, {50, -200});
    addPoint(*track, {150, -250});
    f.owned.push_back(std::move(track));
    f.offset = {120, 30};
    cases.back().figures.push_back(std::move(f));
  }

  // A moved pad drags its rubber band to a partner that stays.
  TObjektList board;
  board.push_back(createPad({60, -60}, 20, kPadRound, kCopper1, 8));
  board.push_back(createSmdPad({380, -280}, 16, kCopper1, 10));
  board[0]->connections.push_back(board[1].get());
  board[1]->connections.push_back(board[0].get());
  cases.push_back({TFeedbackKind::movePreview, {}});
  {
    F f = figure(F::elementList, F::notXor, 0, 0, {});
    f.elements = {board[0].get()};
    f.connectionList = &board;
    f.offset = {20, -20};
    cases.back().figures.push_back(std::move(f));
  }

  for (const TFeedback& fb : cases) {
    RasterImage image(401, 301, kPaper);
    RasterCanvas canvas(image);
    canvas.setMapping(viewMapping(view));
    drawFeedback(fb, canvas, settings);
    EXPECT_EQ(canvas.mode(), RasterMode::kCopy);
    const TRect pixels = drawnPixels(image);
    ASSERT_LE(pixels.left, pixels.right) << "nothing drawn for kind " << int(fb.kind);
    // The bounds in pixels, with one pixel for rounding, hold every pixel.
    const TRect b = feedbackBounds(fb);
    const TPoint a = view.worldToDevice({b.left, b.bottom});
    const TPoint z = view.worldToDevice({b.right, b.top});
    EXPECT_GE(pixels.left, a.x - 1) << int(fb.kind);
    EXPECT_GE(pixels.top, a.y - 1) << int(fb.kind);
    EXPECT_LE(pixels.right, z.x + 1) << int(fb.kind);
    EXPECT_LE(pixels.bottom, z.y + 1) << int(fb.kind);
    drawFeedback(fb, canvas, settings);
    EXPECT_GT(drawnPixels(image).left, drawnPixels(image).right)
        << "drawing twice left pixels for kind " << int(fb.kind);
  }
}

TEST(FeedbackPaint, DottedFrameSkipsEveryOtherPixelAndXorInvertsItsColour) {
  TViewState view;
  TBoardRecord record;
  record.width = 100;
  record.height = 100;
  record.zoom = 1;
  view.setRecord(record);
  RasterImage image(101, 101, kPaper);
  RasterCanvas canvas(image);
  canvas.setMapping(viewMapping(view));
  TFeedback fb{TFeedbackKind::measureLines, {}};
  TFeedbackFigure& f = fb.figures.emplace_back();
  f.shape = TFeedbackFigure::frame;
  f.mode = TFeedbackFigure::xorMode;
  f.colour = 0x00FFFF;
  f.points = {{10, -10}, {20, -15}};
  drawFeedback(fb, canvas, TRenderSettings{});
  // Yellow xor white is blue, on (10, 10), (12, 10), ... of the top edge.
  EXPECT_EQ(image.pixel(10, 10), 0xFF0000u);
  EXPECT_EQ(image.pixel(11, 10), kPaper);
  EXPECT_EQ(image.pixel(12, 10), 0xFF0000u);
  EXPECT_EQ(image.pixel(15, 12), kPaper) << "the frame is hollow";
  // 11 + 5 + 10 + 4 = 30 pixels round, every other one drawn.
  int drawn = 0;
  for (int32_t y = 0; y < 101; ++y)
    for (int32_t x = 0; x < 101; ++x) drawn += image.pixel(x, y) != kPaper;
  EXPECT_EQ(drawn, 15);
}

TEST(FeedbackPaint, ClippedDottedFiguresKeepTheirDots) {
  TViewState view;
  TBoardRecord record;
  record.width = 200;
  record.height = 200;
  record.zoom = 1;
  view.setRecord(record);
  for (auto shape : {TFeedbackFigure::frame, TFeedbackFigure::dottedLine}) {
    TFeedback fb{TFeedbackKind::selectionFrame, {}};
    TFeedbackFigure& f = fb.figures.emplace_back();
    f.shape = shape;
    f.colour = 0x0000FF;
    f.points = {{170, -20}, {15, -183}};
    RasterImage whole(201, 201, kPaper), part(201, 201, kPaper);
    RasterCanvas all(whole), clipped(part);
    all.setMapping(viewMapping(view));
    clipped.setMapping(viewMapping(view));
    const CanvasRect clip{40, 30, 120, 190};
    clipped.setClip(clip);
    drawFeedback(fb, all, TRenderSettings{});
    drawFeedback(fb, clipped, TRenderSettings{});
    int differences = 0, inside = 0;
    for (int32_t y = 0; y < 201; ++y)
      for (int32_t x = 0; x < 201; ++x) {
        const bool in = x >= clip.left && x < clip.right && y >= clip.top && y < clip.bottom;
        const CanvasColour expected = in ? whole.pixel(x, y) : kPaper;
        differences += part.pixel(x, y) != expected;
        inside += in && expected != kPaper;
      }
    EXPECT_GT(inside, 20);
    EXPECT_EQ(differences, 0) << "shape " << int(shape);
  }
}

}  // namespace
}  // namespace plavesk
