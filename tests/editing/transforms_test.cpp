// Rotate, mirror, snap to grid, align, board side and layers of the
// selection, the active and visible layers, through-pad mode and the pad
// shape, driven through the runner as scripts and menus drive them.
#include "editing/transforms.h"

#include <gtest/gtest.h>

#include <sstream>

#include "editing/action_runner.h"
#include "editing/editor.h"
#include "editing/tools/script_host.h"
#include "support/sample_layout.h"
#include "view/geometry.h"

namespace plavesk {
namespace {

using testing::addPad;

class TransformsTest : public ::testing::Test {
 protected:
  void SetUp() override { editor.addBoard("B"); }

  bool run(const std::string& action) { return runAction(context, action, error); }
  void runOk(const std::string& action) { ASSERT_TRUE(run(action)) << error; }

  TObjekt& track(std::vector<TPoint> points, int layer = 1) {
    editor.elements().push_back(createTrack(50, layer));
    editor.elements().back()->points = std::move(points);
    return *editor.elements().back();
  }
  TObjekt& at(size_t i) { return *editor.elements()[i]; }
  size_t undoSteps() { return editor.layout.active().undoStack.size(); }
  TToolManager& tools() {
    if (!context.session) context.session = std::make_shared<TScriptSession>(editor);
    return context.session->tools;
  }
  // Two pads on layers 1 and 3 linked as a through pad.
  std::pair<TObjekt*, TObjekt*> throughPad(int x, int y) {
    TObjekt& a = addPad(editor.elements(), x, y, 1);
    TObjekt& b = addPad(editor.elements(), x, y, 3);
    a.padLink = &b;
    b.padLink = &a;
    return {&a, &b};
  }
  static void connect(TObjekt& a, TObjekt& b) {
    a.connections.push_back(&b);
    b.connections.push_back(&a);
  }

  TEditor editor;
  std::ostringstream out;
  TActionContext context{editor, out};
  std::string error;
};

TEST_F(TransformsTest, QuarterTurnAndMirrorsAboutTheSnappedSelectionCentre) {
  // The pad's own centre (1000, -1000) snaps to (1016, -1016) on the 254
  // grid, so every transform moves it.
  struct Case {
    const char* action;
    TPoint expected;
  } cases[] = {
      {"rotate", {1032, -1000}},       {"mirror-h", {1032, -1000}},
      {"mirror-v", {1000, -1032}},     {"key R --ctrl", {1032, -1000}},
      {"key H --ctrl", {1032, -1000}}, {"key T --ctrl", {1000, -1032}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.action);
    editor.layout = TLayout();
    editor.addBoard("B");
    addPad(editor.elements(), 1000, -1000).selected = 1;
    runOk(c.action);
    EXPECT_EQ(at(0).x, c.expected.x);
    EXPECT_EQ(at(0).y, c.expected.y);
    EXPECT_EQ(undoSteps(), 1u);
    ASSERT_TRUE(editor.undo());
    EXPECT_EQ(at(0).x, 1000);
  }
}

TEST_F(TransformsTest, RotationKeepsTheBlockTogether) {
  editor.working().grid = 100;
  addPad(editor.elements(), 0, 0);
  track({{0, 0}, {1000, 0}});
  editor.selectAll();
  runOk("rotate");
  // The box 0..1000 x -80..80 turns about (500, 0).
  EXPECT_EQ(at(0).x, 500);
  EXPECT_EQ(at(0).y, 500);
  EXPECT_EQ(at(1).points, (std::vector<TPoint>{{500, 500}, {500, -500}}));
  // Four turns are the identity.
  for (int i = 0; i < 3; ++i) runOk("rotate");
  EXPECT_EQ(at(0).x, 0);
  EXPECT_EQ(at(1).points, (std::vector<TPoint>{{0, 0}, {1000, 0}}));
}

TEST_F(TransformsTest, MovingPadsRepaintsTheirRubberBands) {
  TObjekt& a = addPad(editor.elements(), 1000, -1000);
  TObjekt& far = addPad(editor.elements(), 9000, -5000);
  connect(a, far);
  a.selected = 1;
  std::vector<TRect> areas;
  editor.events.invalidate = [&](const TRect& r) { areas.push_back(r); };
  runOk("rotate");
  // The band ends at the pad that stayed: its area is repainted.
  const TRect farBox = elementBounds(far);
  bool covered = false;
  for (const TRect& r : areas)
    covered |= r.left <= farBox.left && r.right >= farBox.right && r.top <= farBox.top &&
               r.bottom >= farBox.bottom;
  EXPECT_TRUE(covered);
}

TEST_F(TransformsTest, SelectionCommandsAreRefusedWithoutASelection) {
  addPad(editor.elements(), 1000, -1000);
  for (const char* action :
       {"rotate", "mirror-h", "mirror-v", "snap-to-grid", "change-side", "set-layer 2"}) {
    SCOPED_TRACE(action);
    EXPECT_FALSE(run(action));
    EXPECT_NE(error.find("nothing is selected"), std::string::npos) << error;
  }
  EXPECT_EQ(undoSteps(), 0u);
}

TEST_F(TransformsTest, SnapToGridByKind) {
  editor.working().grid = 100;
  TObjekt& pad = addPad(editor.elements(), 1030, -1060);
  TObjekt& t = track({{130, -170}, {455, -170}, {455, -600}});
  editor.elements().push_back(createCircle({2049, -2051}, 300, kPadRound, 1, 250));
  editor.elements().push_back(createText({5000, -8000}, "", false, false, 2, 0, 1, 1, 500));
  TObjekt& bare = *editor.elements().back();  // no strokes
  bare.x = 5010;
  editor.elements().push_back(createSmdPad({740, -760}, 100, 1, 60));
  for (auto& e : editor.elements()) e->selected = 1;
  runOk("snap-to-grid");
  EXPECT_EQ((TPoint{pad.x, pad.y}), (TPoint{1000, -1100}));
  // The track moves as a whole: its first point onto the grid.
  EXPECT_EQ(t.points, (std::vector<TPoint>{{100, -200}, {425, -200}, {425, -630}}));
  EXPECT_EQ((TPoint{at(2).x, at(2).y}), (TPoint{2000, -2100}));
  EXPECT_EQ(bare.x, 5010) << "a text without strokes stays";
  EXPECT_EQ((TPoint{at(4).x, at(4).y}), (TPoint{700, -800}));
  EXPECT_EQ(undoSteps(), 1u);
}

TEST_F(TransformsTest, SnapToGridMovesAGroupByItsFirstPad) {
  editor.working().grid = 100;
  TObjekt& t = track({{111, -111}, {500, -111}});  // first in the list, but not a pad
  TObjekt& pad = addPad(editor.elements(), 530, -140);
  TObjekt& other = addPad(editor.elements(), 777, -140);
  for (TObjekt* e : {&t, &pad, &other}) e->groupIds = {7};
  TObjekt& loose = addPad(editor.elements(), 1234, -1234);
  editor.selectAll();
  runOk("snap-to-grid");
  // d = (-30, +40) from the first pad, for every member.
  EXPECT_EQ((TPoint{pad.x, pad.y}), (TPoint{500, -100}));
  EXPECT_EQ((TPoint{other.x, other.y}), (TPoint{747, -100}));
  EXPECT_EQ(t.points, (std::vector<TPoint>{{81, -71}, {470, -71}}));
  EXPECT_EQ((TPoint{loose.x, loose.y}), (TPoint{1200, -1200}));
}

TEST_F(TransformsTest, SnapToGridMovesAGroupWithoutPadsByItsFirstElement) {
  editor.working().grid = 100;
  TObjekt& a = track({{111, -111}, {500, -111}});
  TObjekt& b = track({{1010, -1010}, {1500, -1010}});
  a.groupIds = b.groupIds = {3};
  editor.selectAll();
  runOk("snap-to-grid");
  EXPECT_EQ(a.points.front(), (TPoint{100, -100}));
  EXPECT_EQ(b.points.front(), (TPoint{999, -999}));
}

TEST_F(TransformsTest, AlignMovesEachUnitToTheEdgeOfTheSelection) {
  // Pads of radius 80: boxes of 160 around their centres (without the
  // clearance, which the outline does not include).
  struct Case {
    const char* how;
    std::vector<TPoint> expected;  // the centres of the three pads
  } cases[] = {
      {"left", {{180, -1000}, {180, -2000}, {180, -3000}}},
      {"right", {{380, -1000}, {380, -2000}, {380, -3000}}},
      {"top", {{180, -1000}, {280, -1000}, {380, -1000}}},
      {"bottom", {{180, -3000}, {280, -3000}, {380, -3000}}},
      {"hcentre", {{280, -1000}, {280, -2000}, {280, -3000}}},
      {"vcentre", {{180, -2000}, {280, -2000}, {380, -2000}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.how);
    editor.layout = TLayout();
    editor.addBoard("B");
    // Boxes starting at x = 100, 200 and 300.
    addPad(editor.elements(), 180, -1000);
    addPad(editor.elements(), 280, -2000);
    addPad(editor.elements(), 380, -3000);
    editor.selectAll();
    runOk(std::string("align ") + c.how);
    for (size_t i = 0; i < 3; ++i) EXPECT_EQ((TPoint{at(i).x, at(i).y}), c.expected[i]) << i;
    EXPECT_EQ(undoSteps(), 1u);
  }
}

TEST_F(TransformsTest, AlignMovesAGroupAsOneUnit) {
  addPad(editor.elements(), 1080, -1000).groupIds = {4};
  addPad(editor.elements(), 2080, -1500).groupIds = {4};
  addPad(editor.elements(), 580, -3000);
  editor.selectAll();
  runOk("align left");
  EXPECT_EQ(at(0).x, 580);
  EXPECT_EQ(at(1).x, 1580) << "the group keeps its shape";
  EXPECT_EQ(at(2).x, 580);
  EXPECT_EQ(at(1).y, -1500);
}

TEST_F(TransformsTest, AlignNeedsASelectionThatCouldBeGrouped) {
  addPad(editor.elements(), 1000, -1000).groupIds = {2};
  addPad(editor.elements(), 3000, -1000).groupIds = {2};
  editor.selectAll();
  EXPECT_FALSE(run("align top"));
  EXPECT_EQ(error, "align: select elements of more than one group");
  EXPECT_FALSE(run("align middle"));
  EXPECT_EQ(error, "align: say top, bottom, left, right, hcentre or vcentre");
  EXPECT_EQ(undoSteps(), 0u);
}

TEST_F(TransformsTest, ChangeSideSwapsTheSidesOfEveryLayer) {
  for (int layer = 1; layer <= 4; ++layer) addPad(editor.elements(), 1000 * layer, -1000, layer);
  editor.elements().push_back(createText({5000, -8000}, "A", false, false, 2, 0, 1, 1, 500));
  auto stroke = createTrack(56, 2);
  stroke->points = {{5000, -8000}, {5000, -7500}};
  editor.elements().back()->strokes.push_back(std::move(stroke));
  addPad(editor.elements(), 9000, -1000, 1);  // not selected
  for (size_t i = 0; i < 5; ++i) at(i).selected = 1;
  runOk("key W --ctrl");
  EXPECT_EQ(at(0).layer, 3);
  EXPECT_EQ(at(1).layer, 4);
  EXPECT_EQ(at(2).layer, 1);
  EXPECT_EQ(at(3).layer, 2);
  EXPECT_EQ(at(4).layer, 4);
  EXPECT_EQ(at(4).strokes[0]->layer, 4) << "the strokes go with their text";
  EXPECT_EQ(at(5).layer, 1);
}

TEST_F(TransformsTest, SetLayerPutsTheLaterHalfOfAThroughPadOnTheOtherSide) {
  auto [a, b] = throughPad(1000, -1000);
  TObjekt& t = track({{0, 0}, {100, 0}}, 2);
  editor.selectAll();
  ASSERT_TRUE(a->selected && b->selected);
  runOk("set-layer 3");
  EXPECT_EQ(a->layer, 3);
  EXPECT_EQ(b->layer, 1);
  EXPECT_EQ(t.layer, 3);
  runOk("set-layer 2");
  EXPECT_EQ(a->layer, 2);
  EXPECT_EQ(b->layer, 4);
  EXPECT_FALSE(run("set-layer 5"));
  EXPECT_EQ(error, "set-layer: the layers are 1 to 4");
}

TEST_F(TransformsTest, ThroughPadModeGivesSelectedPadsAPartner) {
  TObjekt& pad = addPad(editor.elements(), 1000, -1000, 1);
  TObjekt& smd = *editor.elements().emplace_back(createSmdPad({3000, -1000}, 100, 1, 60));
  connect(pad, smd);
  pad.selected = 1;
  runOk("through-pad");
  EXPECT_TRUE(tools().values().throughPad);
  ASSERT_EQ(editor.elements().size(), 3u);
  TObjekt& partner = at(2);
  EXPECT_EQ(partner.kind, kPad);
  EXPECT_EQ(partner.layer, 3);
  EXPECT_EQ(pad.padLink, &partner);
  EXPECT_EQ(partner.padLink, &pad);
  EXPECT_TRUE(partner.connections.empty()) << "the bands stay with the pad";
  EXPECT_EQ(pad.connections.size(), 1u);
  EXPECT_EQ(undoSteps(), 1u);
  // A pad already a through pad is left alone; the mode alone changes.
  runOk("deselect");
  runOk("through-pad");
  runOk("through-pad");
  EXPECT_EQ(editor.elements().size(), 3u);
  EXPECT_EQ(undoSteps(), 1u);
}

TEST_F(TransformsTest, ThroughPadModeOffKeepsTheHalfOnTheActiveSideWithAllBands) {
  for (int active : {3, 1}) {
    SCOPED_TRACE(active);
    editor.layout = TLayout();
    editor.addBoard("B");
    editor.working().activeLayer = active;
    auto [a, b] = throughPad(1000, -1000);
    TObjekt& s1 = *editor.elements().emplace_back(createSmdPad({3000, -1000}, 100, 1, 60));
    TObjekt& s3 = *editor.elements().emplace_back(createSmdPad({3000, -3000}, 100, 3, 60));
    connect(*a, s1);
    connect(*b, s3);
    a->selected = b->selected = 1;
    tools().values().throughPad = true;
    runOk("through-pad");
    ASSERT_EQ(editor.elements().size(), 3u);
    TObjekt& kept = at(0);
    EXPECT_EQ(kept.layer, active);
    EXPECT_EQ(kept.padLink, nullptr);
    EXPECT_EQ(kept.connections.size(), 2u);
    EXPECT_EQ(s1.connections, std::vector<TObjekt*>{&kept});
    EXPECT_EQ(s3.connections, std::vector<TObjekt*>{&kept});
    ASSERT_TRUE(editor.undo());
    EXPECT_EQ(editor.elements().size(), 4u);
    EXPECT_EQ(at(0).padLink, &at(1));
  }
}

TEST_F(TransformsTest, ThroughPadModeSkipsPadsOnHiddenLayers) {
  editor.working().activeLayer = 3;
  addPad(editor.elements(), 1000, -1000, 1).selected = 1;
  editor.working().layerVisible[0] = 0;
  runOk("key F12");
  EXPECT_TRUE(tools().values().throughPad);
  EXPECT_EQ(editor.elements().size(), 1u);
  EXPECT_EQ(undoSteps(), 0u);
}

TEST_F(TransformsTest, PadShapeSetsNewAndSelectedPads) {
  addPad(editor.elements(), 1000, -1000).selected = 1;
  addPad(editor.elements(), 2000, -1000);
  runOk("pad-shape 6");
  EXPECT_EQ(tools().values().padShape, kPadRectH);
  EXPECT_EQ(at(0).padShape, kPadRectH);
  EXPECT_EQ(at(1).padShape, kPadRound);
  EXPECT_EQ(undoSteps(), 1u);
  runOk("pad-shape 6");
  EXPECT_EQ(undoSteps(), 1u) << "nothing changed, no undo step";
  EXPECT_FALSE(run("pad-shape 10"));
  EXPECT_EQ(error, "pad-shape: the pad shapes are 1 to 9");
}

TEST_F(TransformsTest, ActiveLayerKeysShowAHiddenLayer) {
  editor.working().activeLayer = 1;
  editor.working().layerVisible[2] = 0;
  runOk("key F3");
  EXPECT_EQ(editor.working().activeLayer, 3);
  EXPECT_EQ(editor.working().layerVisible[2], 1);
  runOk("key F2");
  EXPECT_EQ(editor.working().activeLayer, 2);
  EXPECT_FALSE(chooseActiveLayer(tools(), 2)) << "already active";
}

TEST_F(TransformsTest, LayerButtonsDeselectEverythingAndTheMenuOnlyTheLayer) {
  editor.working().activeLayer = 1;
  addPad(editor.elements(), 1000, -1000, 1).selected = 1;
  addPad(editor.elements(), 2000, -1000, 4).selected = 1;
  addPad(editor.elements(), 3000, -1000, 2).selected = 1;
  // The menu entry: only the hidden layer's elements go.
  EXPECT_TRUE(toggleViewLayer(tools(), 4, false));
  EXPECT_EQ(editor.working().layerVisible[3], 0);
  EXPECT_TRUE(at(0).selected && at(2).selected);
  EXPECT_FALSE(at(1).selected);
  // The button (F8 here): everything is deselected.
  runOk("key F8");
  EXPECT_EQ(editor.working().layerVisible[3], 1);
  EXPECT_FALSE(at(0).selected || at(2).selected);
}

TEST_F(TransformsTest, TheActiveLayerIsNeverHidden) {
  editor.working().activeLayer = 2;
  addPad(editor.elements(), 1000, -1000, 1).selected = 1;
  runOk("key F6");
  EXPECT_EQ(editor.working().layerVisible[1], 1);
  EXPECT_TRUE(at(0).selected) << "F6 on the active layer does nothing at all";
  EXPECT_FALSE(run("visible 2"));
  EXPECT_EQ(error, "visible: the active layer cannot be hidden");
  runOk("visible 1");
  EXPECT_EQ(editor.working().layerVisible[0], 0);
}

TEST(MacroSide, FlipsWhenTheLastElementOfTheKindIsOnTheOtherSide) {
  struct Case {
    std::vector<int> layers;  // of the macro's elements in order
    int active;
    bool flip;
  } cases[] = {
      {{1, 2}, 1, false}, {{1, 2}, 3, true},  {{3, 1}, 1, false}, {{1, 3}, 1, true},
      {{1, 2}, 2, false}, {{1, 2}, 4, true},  {{2}, 1, true},     {{}, 3, true},
      {{4, 3}, 4, false}, {{4, 3}, 3, false},
  };
  for (const Case& c : cases) {
    TObjektList macro;
    for (int layer : c.layers) addPad(macro, 0, 0, layer);
    EXPECT_EQ(macroNeedsFlip(macro, c.active), c.flip)
        << c.layers.size() << " elements, active " << c.active;
  }
}

}  // namespace
}  // namespace plavesk
