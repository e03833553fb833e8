#include "routing/autorouter.h"

#include <gtest/gtest.h>

#include <functional>

#include "router_fixture.h"
#include "routing/route_check.h"
#include "support/sample_layout.h"

namespace plavesk {
namespace {

using testing::addPad;

TObjekt& track(TObjektList& l, int layer, std::vector<TPoint> points, int32_t width = 50) {
  l.push_back(createTrack(width, layer));
  l.back()->clearance = 40;
  l.back()->points = std::move(points);
  return *l.back();
}

void band(TObjekt& a, TObjekt& b) {
  a.connections.push_back(&b);
  b.connections.push_back(&a);
}

class Autorouter : public ::testing::Test {
 protected:
  void SetUp() override {
    state.activeLayer = kCopper1;
    target = &addPad(list, 5000, -5000);
    start = &addPad(list, 1000, -5000);
    band(*start, *target);
  }
  TRouteResult route() {
    return routeConnection(list, state, *start, *target, settings, probe.hooks(list, state));
  }

  TObjektList list;
  TBoardRecord state;
  TRouteSettings settings;
  testing::RouterProbe probe;
  TObjekt* start = nullptr;
  TObjekt* target = nullptr;
};

TEST_F(Autorouter, FreeRowBecomesAStraightTrackAndTheBandGoes) {
  list.clear();
  target = &addPad(list, 1010, -1005);
  start = &addPad(list, 2610, -1005);
  band(*start, *target);
  const TRouteResult result = route();
  ASSERT_EQ(result.outcome, TRouteOutcome::routed);
  const TObjekt& t = *result.track;
  EXPECT_EQ(t.points,
            (std::vector<TPoint>{{1010, -1005}, {1010, -1000}, {2600, -1000}, {2610, -1005}}));
  EXPECT_EQ(t.dim3, 40);
  EXPECT_EQ(t.layer, kCopper1);
  EXPECT_EQ(t.clearance, 40);
  EXPECT_TRUE(t.autorouted);
  EXPECT_EQ(t.routeFrom, start);
  EXPECT_EQ(t.routeTo, target);
  EXPECT_TRUE(start->connections.empty());
  EXPECT_TRUE(target->connections.empty());
  EXPECT_TRUE(t.selected && start->selected && target->selected);
  EXPECT_EQ(probe.snapshots, 1);
  EXPECT_EQ(probe.status, (std::vector<std::string>{"Analysiere...", "1/1 32/16", "Erfolgreich"}));
}

TEST_F(Autorouter, WhatBlocksTheWay) {
  const std::vector<TPoint> straight{{5000, -5000}, {5000, -5000}, {1000, -5000}, {1000, -5000}};
  struct Case {
    const char* name;
    std::function<void(TObjektList&, TObjekt& start, TObjekt& target)> add;
    TRouteOutcome outcome;
    bool straight;
  } cases[] = {
      {"free space", [](TObjektList&, TObjekt&, TObjekt&) {}, TRouteOutcome::routed, true},
      {"copper of the target's net may be crossed",
       [](TObjektList& l, TObjekt&, TObjekt&) {
         track(l, 1, {{5000, -5000}, {3000, -5000}, {3000, -3000}});
         track(l, 1, {{3000, -3000}, {3000, -7000}});
       },
       TRouteOutcome::routed, true},
      {"so may copper of the start's net",
       [](TObjektList& l, TObjekt&, TObjekt&) {
         track(l, 1, {{1000, -5000}, {2000, -5000}, {2000, -7000}});
         track(l, 1, {{2000, -3000}, {2000, -7000}});
       },
       TRouteOutcome::routed, true},
      {"a pad of the other side blocks with its drill only",
       [](TObjektList& l, TObjekt&, TObjekt&) {
         l.push_back(createPad({3000, -5250}, 400, kPadRound, kCopper2, 20));
       },
       TRouteOutcome::routed, true},
      {"the same pad on the active side is avoided",
       [](TObjektList& l, TObjekt&, TObjekt&) {
         l.push_back(createPad({3000, -5250}, 400, kPadRound, kCopper1, 20));
       },
       TRouteOutcome::routed, false},
      {"a wall of a third net is passed around",
       [](TObjektList& l, TObjekt&, TObjekt&) {
         track(l, 1, {{3000, -2000}, {3000, -8000}});
       },
       TRouteOutcome::routed, false},
      {"silkscreen is no obstacle",
       [](TObjektList& l, TObjekt&, TObjekt&) {
         track(l, 2, {{3000, -2000}, {3000, -8000}});
       },
       TRouteOutcome::routed, true},
      {"a target walled in by a third net",
       [](TObjektList& l, TObjekt&, TObjekt&) {
         track(l, 1, {{4400, -4400}, {5600, -4400}, {5600, -5600}, {4400, -5600}, {4400, -4400}});
       },
       TRouteOutcome::notFound, false},
      {"a start pad on the outermost column of the grid",
       [](TObjektList&, TObjekt& s, TObjekt&) { s.x = 15990; }, TRouteOutcome::notFound, false},
      {"a start pad far outside the board",
       [](TObjektList&, TObjekt& s, TObjekt&) { s.x = 900000; }, TRouteOutcome::notFound, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    list.clear();
    target = &addPad(list, 5000, -5000);
    start = &addPad(list, 1000, -5000);
    band(*start, *target);
    c.add(list, *start, *target);
    const size_t before = list.size();
    probe = {};
    const TRouteResult result = route();
    EXPECT_EQ(result.outcome, c.outcome);
    EXPECT_TRUE(start->selected && target->selected);
    if (c.outcome == TRouteOutcome::routed) {
      ASSERT_EQ(list.size(), before + 1);
      EXPECT_EQ(result.track->points == straight, c.straight);
      EXPECT_TRUE(start->connections.empty());
    } else {
      EXPECT_EQ(list.size(), before);
      EXPECT_EQ(start->connections, std::vector<TObjekt*>{target});
      EXPECT_EQ(probe.status.back(), "Kein Weg gefunden");
    }
  }
}

// The walled-in target makes the search window grow stage by stage up to
// the limit around all elements.
TEST_F(Autorouter, FailedSearchGrowsTheWindowToTheLimit) {
  track(list, 1, {{4400, -4400}, {5600, -4400}, {5600, -5600}, {4400, -5600}, {4400, -4400}});
  addPad(list, 12000, -9000);  // widens the limit
  const TRouteResult result = route();
  EXPECT_EQ(result.outcome, TRouteOutcome::notFound);
  EXPECT_GT(result.stages, 3);
  EXPECT_EQ(probe.snapshots, 0);
}

TEST_F(Autorouter, StatusTextsInThreeLanguages) {
  settings.language = 1;
  route();
  EXPECT_EQ(probe.status.front(), "Analyzing...");
  EXPECT_EQ(probe.status.back(), "Successful");
  probe = {};
  settings.language = 2;
  start->x = 15990;
  route();
  EXPECT_EQ(probe.status.front(), "Analyse...");
  EXPECT_EQ(probe.status.back(), "Non trouvé");
}

TEST_F(Autorouter, RoutesTheFirstSelectedBand) {
  TObjekt& other = addPad(list, 1000, -8000);
  band(other, *target);
  EXPECT_EQ(routeSelected(list, state, settings, probe.hooks(list, state)).outcome,
            TRouteOutcome::noBand);
  other.selected = target->selected = 1;
  start->selected = 1;
  const TRouteResult result = routeSelected(list, state, settings, probe.hooks(list, state));
  ASSERT_EQ(result.outcome, TRouteOutcome::routed);
  // The target comes first in the list, so it is the start of the route.
  EXPECT_EQ(result.track->routeFrom, target);
  EXPECT_EQ(result.track->routeTo, start);
  EXPECT_EQ(other.connections, std::vector<TObjekt*>{target});
}

TEST_F(Autorouter, UnrouteRestoresTheBand) {
  const TRouteResult result = route();
  ASSERT_EQ(result.outcome, TRouteOutcome::routed);
  for (auto& e : list) e->selected = 0;
  EXPECT_FALSE(unrouteSelected(list, 0, probe.hooks(list, state)));
  result.track->selected = 1;
  const size_t count = list.size();
  ASSERT_TRUE(unrouteSelected(list, 1, probe.hooks(list, state)));
  EXPECT_EQ(list.size(), count - 1);
  EXPECT_EQ(start->connections, std::vector<TObjekt*>{target});
  EXPECT_EQ(target->connections, std::vector<TObjekt*>{start});
  EXPECT_EQ(probe.status.back(), "Autoroute resolved");
  EXPECT_EQ(probe.snapshots, 2);
}

TEST_F(Autorouter, UnrouteWithoutItsPadsKeepsAPlainTrack) {
  const TRouteResult result = route();
  ASSERT_EQ(result.outcome, TRouteOutcome::routed);
  TObjekt* track = result.track;
  deleteElementsIf(list, [&](const TObjekt& e) { return &e == start; });
  track->selected = 1;
  ASSERT_TRUE(unrouteSelected(list, 0, probe.hooks(list, state)));
  EXPECT_EQ(list.back().get(), track);
  EXPECT_FALSE(track->autorouted);
  EXPECT_TRUE(target->connections.empty());
  EXPECT_EQ(probe.status.back(), "Autoroute aufgelöst");
}

// The check of a finished track, with obstacles given as the set of
// segments that violate.
TEST(RouteCheck, RepairsOrRefusesViolatingSegments) {
  // T, two corners, S: a horizontal middle segment between vertical ones.
  const std::vector<TPoint> track{{0, 0}, {0, 100}, {400, 100}, {400, 0}};
  struct Case {
    const char* name;
    std::function<bool(TPoint, TPoint)> violates;
    bool passes;
    std::vector<TPoint> result;
  } cases[] = {
      {"clear", [](TPoint, TPoint) { return false; }, true, track},
      {"first segment too close",
       [](TPoint a, TPoint) {
         return a == TPoint{0, 0};
       },
       false,
       {}},
      {"last segment too close",
       [](TPoint, TPoint b) {
         return b == TPoint{400, 0};
       },
       false,
       {}},
      // Both directions clear after one step; the negative one wins.
      {"middle segment shifted",
       [](TPoint a, TPoint b) { return a.y == 100 && b.y == 100; },
       true,
       {{0, 0}, {0, 90}, {400, 90}, {400, 0}}},
      {"middle segment needs three steps up",
       [](TPoint a, TPoint b) { return a.y == b.y && a.y < 130; },
       true,
       {{0, 0}, {0, 130}, {400, 130}, {400, 0}}},
      {"no shift clears it", [](TPoint a, TPoint b) { return a.y == b.y; }, false, {}},
      // The shift clears the middle segment, but the segment before it now
      // comes too close: the track must not pass.
      {"shift spoils the segment before",
       [](TPoint a, TPoint b) {
         return (a.y == 100 && b.y == 100) || (a == TPoint{0, 0} && b.y != 100);
       },
       false,
       {}},
  };
  for (const Case& c : cases) {
    std::vector<TPoint> points = track;
    EXPECT_EQ(checkAndRepairTrack(points, 20, c.violates), c.passes) << c.name;
    if (c.passes) {
      EXPECT_EQ(points, c.result) << c.name;
    }
  }
}

TEST(RouteCheck, ShiftKeepsDiagonalNeighboursDiagonal) {
  // Horizontal segment between a rising and a falling diagonal.
  TPoint p1{100, 100}, p2{300, 100};
  shiftSegment({0, 0}, p1, p2, {400, 0}, 10);
  EXPECT_EQ(p1, (TPoint{110, 110}));
  EXPECT_EQ(p2, (TPoint{290, 110}));
  // Rising segment between a horizontal and a vertical one.
  TPoint q1{100, 0}, q2{200, 100};
  shiftSegment({0, 0}, q1, q2, {200, 300}, 10);
  EXPECT_EQ(q1, (TPoint{90, 0}));
  EXPECT_EQ(q2, (TPoint{200, 110}));
  EXPECT_EQ(segmentOrientation({5, 5}, {5, 5}), TSegmentOrientation::vertical);
}

}  // namespace
}  // namespace plavesk
