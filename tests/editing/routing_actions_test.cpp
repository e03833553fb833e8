#include "editing/routing_actions.h"

#include <gtest/gtest.h>

#include <sstream>

#include "editing/action_runner.h"
#include "editing/autoroute_tool.h"
#include "editing/connections.h"
#include "editing/editor.h"
#include "support/sample_layout.h"
#include "view/view_state.h"

namespace plavesk {
namespace {

// The sample board: 0 pad A (side 1), 1 pad A' (side 2), 2 pad B, 3 SMD pad,
// 4 track routed 0->2, 5 cutout area, 6 circle, 7 text, 8 plain track.
// Bands 0-3 and 2-3.
class RoutingActions : public ::testing::Test {
 protected:
  void SetUp() override {
    editor.layout = testing::makeSampleLayout();
  }
  bool run(const std::string& action) {
    out.str("");
    error.clear();
    TActionContext context{editor, out};
    return runAction(context, action, error);
  }
  TObjekt& at(size_t i) { return *editor.elements()[i]; }

  TEditor editor;
  std::ostringstream out;
  std::string error;
};

TEST_F(RoutingActions, RefusesBadArguments) {
  struct Case {
    std::string action;
    std::string message;
  } cases[] = {
      {"connect 0 0", "connect: a band joins two different pads"},
      {"connect 0 5", "connect: a band joins two different pads"},
      {"connect 0 99", "connect: J 99 is not an element (0 to 8)"},
      {"connect 0", "connect: missing J"},
      {"test-at 1 x", "test-at: Y \"x\" is not a whole number"},
      {"route 0 2", "route: no rubber band joins elements 0 and 2"},
      {"route 0 3 --width 0.05", "route: width and clearance must lie in 0.1..9.9 mm"},
      {"route 0 3 --clearance", "route: missing clearance in mm"},
      {"route 0 3 --depth 2", "route: unexpected argument \"--depth\""},
      {"unroute 8", "unroute: element 8 is not an autorouted track"},
      {"layer 5", "layer: the layers are 1 to 4"},
      {"ground-plane maybe", "ground-plane: say on or off"},
      {"clear-bands now", "clear-bands: unexpected argument \"now\""},
  };
  for (const Case& c : cases) {
    EXPECT_FALSE(run(c.action)) << c.action;
    EXPECT_EQ(error.rfind(c.message, 0), 0u) << c.action << ": " << error;
  }
}

TEST_F(RoutingActions, ConnectTogglesABandAsOneUndoStep) {
  ASSERT_TRUE(run("connect 0 2")) << error;
  EXPECT_EQ(out.str(), "connect: band 0-2 added\n");
  EXPECT_EQ(at(0).connections.back(), &at(2));
  EXPECT_EQ(at(2).connections.back(), &at(0));
  ASSERT_TRUE(run("connect 2 0")) << error;
  EXPECT_EQ(out.str(), "connect: band 2-0 removed\n");
  EXPECT_EQ(at(0).connections, std::vector<TObjekt*>{&at(3)});
  EXPECT_EQ(at(2).connections, std::vector<TObjekt*>{&at(3)});
  ASSERT_TRUE(editor.undo());
  EXPECT_EQ(at(0).connections.size(), 2u);
}

TEST_F(RoutingActions, TestAtMarksTheNetOnTheActiveSideFirst) {
  ASSERT_TRUE(run("test-at 1000 -1000")) << error;
  EXPECT_EQ(out.str(), "test-at: 4 connected 0 1 2 4\n");
  ASSERT_TRUE(run("test-at 5500 -4200"));  // inside the cutout area only
  EXPECT_EQ(out.str(), "test-at: 0 connected\n");
  ASSERT_TRUE(run("test-at 2000 -3000"));
  EXPECT_EQ(out.str(), "test-at: 1 connected 3\n");
  EXPECT_TRUE(at(3).selected);
}

TEST_F(RoutingActions, ClearBandsReportsAndUndoes) {
  ASSERT_TRUE(run("clear-bands"));
  EXPECT_EQ(out.str(),
            "0 connections (rubberbands) removed.\n2 connections (rubberbands) remaining.\n");
  ASSERT_TRUE(run("connect 0 2"));
  ASSERT_TRUE(run("clear-bands"));
  EXPECT_EQ(out.str(),
            "1 connections (rubberbands) removed.\n2 connections (rubberbands) remaining.\n");
  EXPECT_EQ(at(0).connections, std::vector<TObjekt*>{&at(3)});
  ASSERT_TRUE(editor.undo());
  EXPECT_EQ(editor.elements()[0]->connections.size(), 2u);
}

TEST_F(RoutingActions, RouteAndUnrouteOnTheActiveLayer) {
  ASSERT_TRUE(run("layer 1"));
  ASSERT_TRUE(run("route 3 0 --clearance 0.3 --width 0.5")) << error;
  EXPECT_EQ(out.str(), "route 3 0: Successful\n");
  ASSERT_EQ(editor.elements().size(), 10u);
  const TObjekt& track = at(9);
  EXPECT_EQ(track.dim3, 50);
  EXPECT_EQ(track.layer, kCopper1);
  EXPECT_EQ(track.routeFrom, &at(0));  // the pad earlier in the list starts
  EXPECT_EQ(track.routeTo, &at(3));
  EXPECT_EQ(at(0).connections.size(), 0u);
  ASSERT_TRUE(run("unroute 9")) << error;
  EXPECT_EQ(out.str(), "unroute 9: Autoroute resolved\n");
  EXPECT_EQ(editor.elements().size(), 9u);
  EXPECT_EQ(at(0).connections, std::vector<TObjekt*>{&at(3)});
}

TEST_F(RoutingActions, RouteAllRoutesEveryBandOnce) {
  ASSERT_TRUE(run("layer 1"));
  ASSERT_TRUE(run("route-all")) << error;
  EXPECT_EQ(out.str(),
            "route 0 3: Successful (layer 1)\nroute 2 3: Successful (layer 1)\n"
            "route-all: 2 routed, 0 failed\n");
  for (size_t i : {0u, 2u, 3u}) EXPECT_TRUE(at(i).connections.empty());
  EXPECT_EQ(editor.elements().size(), 11u);
}

TEST_F(RoutingActions, GroundPlaneSwitchesTheActiveSide) {
  struct Case {
    int layer;
    const char* state;
    uint8_t plane1, plane2;
  } cases[] = {{2, "on", 1, 0}, {4, "on", 1, 1}, {1, "off", 0, 1}, {3, "off", 0, 0}};
  for (const Case& c : cases) {
    ASSERT_TRUE(run("layer " + std::to_string(c.layer)));
    ASSERT_TRUE(run(std::string("ground-plane ") + c.state));
    EXPECT_EQ(editor.working().groundPlane1, c.plane1) << c.layer << " " << c.state;
    EXPECT_EQ(editor.working().groundPlane2, c.plane2) << c.layer << " " << c.state;
  }
  EXPECT_TRUE(editor.layout.modified);
  EXPECT_TRUE(toggleGroundPlane(editor));
  EXPECT_FALSE(groundPlaneOfActiveSide(TBoardRecord{}));
}

TEST(Connections, ToggleTwiceInEitherOrderRemovesTheBand) {
  TObjektList l;
  TObjekt& a = testing::addPad(l, 0, 0);
  TObjekt& b = testing::addPad(l, 1000, 0);
  EXPECT_TRUE(toggleConnection(a, b));
  EXPECT_FALSE(toggleConnection(b, a));
  EXPECT_TRUE(a.connections.empty());
  EXPECT_TRUE(b.connections.empty());
  // A band stored twice (an old file) goes in one toggle.
  a.connections = {&b, &b};
  b.connections = {&a, &a};
  EXPECT_FALSE(toggleConnection(a, b));
  EXPECT_TRUE(a.connections.empty() && b.connections.empty());
}

TEST(AutorouteHover, BandHitWithoutDividingByZero) {
  struct Case {
    TPoint a, b, p;
    bool hit;
  } cases[] = {
      {{10, 10}, {10, 200}, {13, 100}, true},  // vertical
      {{10, 10}, {10, 200}, {14, 100}, false},
      {{10, 10}, {200, 10}, {100, 7}, true},  // horizontal
      {{10, 10}, {10, 10}, {11, 11}, true},   // both ends in one pixel
      {{0, 0}, {100, 100}, {50, 53}, true},   // slanted, within the tolerance
      {{0, 0}, {100, 100}, {50, 60}, false},
      {{0, 0}, {100, 5}, {50, 5}, true},        // flat: the x formula decides
      {{0, 0}, {100, 100}, {120, 120}, false},  // beyond the end
  };
  for (const Case& c : cases)
    EXPECT_EQ(bandHit(c.a, c.b, c.p, 3), c.hit)
        << c.a.x << "," << c.a.y << " " << c.b.x << "," << c.b.y << " at " << c.p.x << "," << c.p.y;
  EXPECT_EQ(hoverTolerance(0.01), 3);
  EXPECT_EQ(hoverTolerance(0.1), 6);
  EXPECT_EQ(hoverTolerance(1.0), 10);
}

TEST(AutorouteHover, SelectsBandsAndRoutedTracks) {
  TEditor editor;
  editor.layout = testing::makeSampleLayout();
  TViewState view;
  view.setRecord(editor.working());
  TAutorouteTool tool;
  TObjektList& l = editor.elements();
  // The middle of band 0-3.
  EXPECT_EQ(tool.hoverAt(editor, view, view.worldToDevice({1500, -2000})), kHoverBand);
  EXPECT_TRUE(l[0]->selected && l[3]->selected);
  EXPECT_FALSE(l[2]->selected);
  // The routed track 4, away from every band.
  EXPECT_EQ(tool.hoverAt(editor, view, view.worldToDevice({2500, -1000})), kHoverRoutedTrack);
  EXPECT_TRUE(l[4]->selected);
  EXPECT_FALSE(l[0]->selected);
  EXPECT_EQ(tool.hoverAt(editor, view, view.worldToDevice({9000, -9000})), kHoverNothing);
  EXPECT_EQ(editor.selectedCount(), 0u);
}

}  // namespace
}  // namespace plavesk
