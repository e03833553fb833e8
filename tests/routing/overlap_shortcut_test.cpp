// The overlap rule decides most pairs from centre lines, pad boxes, area
// polygons and ring radii before intersecting outlines; every such decision
// must be the one the outlines give.
#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "routing/connectivity.h"
#include "support/sample_layout.h"
#include "view/geometry.h"

namespace plavesk {
namespace {

bool outlinesShareArea(const TObjekt& a, const TObjekt& b) {
  const auto oa = elementOutline(a);
  const auto ob = elementOutline(b);
  return oa && ob && !(*oa & *ob).empty();
}

// Pads of every shape, SMD pads, tracks, areas, rings, discs and arcs packed
// on one copper layer of a 30 x 30 mm board, so that many pairs touch, cross,
// nest or nearly meet.
TObjektList crowd(uint32_t seed, size_t count) {
  std::mt19937 rng(seed);
  auto uniform = [&](int lo, int hi) { return lo + int(rng() % uint32_t(hi - lo + 1)); };
  auto point = [&] { return TPoint{uniform(0, 3000), -uniform(0, 3000)}; };
  TObjektList l;
  while (l.size() < count) {
    switch (uniform(0, 5)) {
      case 0:
        l.push_back(createPad(point(), uniform(1, 150), uniform(1, 9), kCopper1, 20));
        break;
      case 1:
        l.push_back(createSmdPad(point(), uniform(1, 300), kCopper1, uniform(1, 300)));
        break;
      case 2: {
        l.push_back(createTrack(uniform(1, 120), kCopper1));
        TPoint p = point();
        for (int i = uniform(2, 4); i > 0; --i) {
          l.back()->points.push_back(p);
          // Often axis-parallel or ending where another element starts.
          p.x += uniform(0, 2) ? uniform(-600, 600) : 0;
          p.y += uniform(0, 2) ? uniform(-600, 600) : 0;
        }
        break;
      }
      case 3: {
        l.push_back(createArea(uniform(0, 40), kCopper1));
        const TPoint c = point();
        for (int i = uniform(3, 6); i > 0; --i)
          l.back()->points.push_back({c.x + uniform(-700, 700), c.y + uniform(-700, 700)});
        break;
      }
      default: {
        const int outer = uniform(5, 700);
        l.push_back(createCircle(point(), outer, 1, kCopper1, uniform(0, outer + 20)));
        l.back()->filled = uniform(0, 3) == 0;
        if (uniform(0, 2) == 0) {
          l.back()->angle = uniform(0, 359);
          l.back()->dim3 = uniform(0, 359);
        }
        break;
      }
    }
  }
  return l;
}

TEST(OverlapShortcut, EveryPairIsDecidedAsTheOutlinesDecide) {
  TBoardRecord state;
  int overlapping = 0, pairs = 0;
  for (uint32_t seed : {1u, 2u}) {
    const TObjektList list = crowd(seed, 200);
    const TCopperAnalysis analysis(list, state);
    for (size_t i = 0; i < list.size(); ++i)
      for (size_t j = i + 1; j < list.size(); ++j) {
        const bool exact = outlinesShareArea(*list[i], *list[j]);
        ASSERT_EQ(analysis.overlap(i, j), exact)
            << "seed " << seed << ": elements " << i << " (kind " << int(list[i]->kind) << ") and "
            << j << " (kind " << int(list[j]->kind) << ")";
        ASSERT_EQ(analysis.overlap(j, i), exact);
        overlapping += exact;
        ++pairs;
      }
  }
  // The crowd is dense enough that both answers occur often.
  EXPECT_GT(overlapping, pairs / 50);
  EXPECT_LT(overlapping, pairs / 2);
}

// Edge cases of the shortcuts: ends meeting, edges touching, a track in a
// ring's hole, a pad exactly on an area's edge.
TEST(OverlapShortcut, TouchingAndNestedCases) {
  struct Case {
    const char* what;
    TObjektPtr a, b;
  };
  const auto track = &testing::copperTrack;
  const auto area = &testing::copperArea;
  std::vector<Case> cases;
  cases.push_back({"ends meet", track(40, {{0, 0}, {500, 0}}), track(40, {{500, 0}, {500, -500}})});
  cases.push_back({"parallel, edges 1 apart", track(40, {{0, 0}, {500, 0}}),
                   track(40, {{0, -41}, {500, -41}})});
  cases.push_back(
      {"crossing thin", track(2, {{0, 0}, {500, 0}}), track(2, {{250, 200}, {250, -200}})});
  cases.push_back({"in a ring's hole", createCircle({0, 0}, 500, 1, kCopper1, 400),
                   track(40, {{-100, 0}, {100, 0}})});
  cases.push_back({"on a ring", createCircle({0, 0}, 500, 1, kCopper1, 400),
                   track(40, {{-450, 0}, {-300, 0}})});
  cases.push_back({"pad on an area's edge",
                   area(20, {{0, 0}, {1000, 0}, {1000, -1000}, {0, -1000}}),
                   createPad({0, -500}, 60, kPadSquare, kCopper1, 30)});
  cases.push_back({"SMD pad beside an area",
                   area(20, {{0, 0}, {1000, 0}, {1000, -1000}, {0, -1000}}),
                   createSmdPad({1100, -500}, 178, kCopper1, 100)});
  cases.push_back({"SMD pads sharing an edge", createSmdPad({0, 0}, 100, kCopper1, 100),
                   createSmdPad({100, 0}, 100, kCopper1, 100)});
  TBoardRecord state;
  for (Case& c : cases) {
    TObjektList list;
    list.push_back(std::move(c.a));
    list.push_back(std::move(c.b));
    const TCopperAnalysis analysis(list, state);
    EXPECT_EQ(analysis.overlap(0, 1), outlinesShareArea(*list[0], *list[1])) << c.what;
  }
}

// Tracks ending just outside or just inside pads and SMD pads of every
// shape, from eight directions: the capsules around pad axes and track centre
// lines must never reach past the outlines, round or chamfered corners
// included.
TEST(OverlapShortcut, TrackEndsAroundPadOutlines) {
  std::vector<TObjektPtr> pads;
  for (int shape = kPadRound; shape <= kPadRectV; ++shape)
    pads.push_back(createPad({0, 0}, 80, shape, kCopper1, 30));
  pads.push_back(createSmdPad({0, 0}, 240, kCopper1, 80));
  pads.push_back(createSmdPad({0, 0}, 80, kCopper1, 240));
  const TPoint directions[] = {{1, 0},  {1, 1},   {0, 1},  {-1, 1},
                               {-1, 0}, {-1, -1}, {0, -1}, {1, -1}};
  TBoardRecord state;
  int joined = 0, apart = 0;
  for (auto& pad : pads)
    for (TPoint d : directions)
      for (int32_t width : {12, 40, 100})
        for (int reach = 0; reach <= 260; reach += 2) {
          const double unit = std::hypot(double(d.x), double(d.y));
          const TPoint end{int32_t(std::lround(d.x * reach / unit)),
                           int32_t(std::lround(d.y * reach / unit))};
          TObjektList list;
          list.push_back(std::move(pad));
          auto t = createTrack(width, kCopper1);
          t->points = {end, {end.x + d.x * 400, end.y + d.y * 400}};
          list.push_back(std::move(t));
          const bool exact = outlinesShareArea(*list[0], *list[1]);
          const TCopperAnalysis analysis(list, state);
          ASSERT_EQ(analysis.overlap(0, 1), exact)
              << "kind " << int(list[0]->kind) << " shape " << int(list[0]->padShape)
              << " direction " << d.x << "," << d.y << " width " << width << " reach " << reach;
          (exact ? joined : apart) += 1;
          pad = std::move(list[0]);
        }
  EXPECT_GT(joined, 0);
  EXPECT_GT(apart, 0);
}

}  // namespace
}  // namespace plavesk
