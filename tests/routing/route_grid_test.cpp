#include "routing/route_grid.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "routing/region_set.h"

namespace plavesk {
namespace {

TEST(RouteGrid, CellSizeFollowsWidthAndClearance) {
  struct Case {
    int32_t width, clearance, cell;
  } cases[] = {
      {10, 10, 40},                    // (10 + 20) / 10 = 3 -> 30, below the minimum
      {40, 20, 80},                    // the start values
      {50, 20, 90},     {45, 20, 80},  // 8.5 rounds to the even 8
      {55, 20, 100},                   // 9.5 rounds to the even 10
      {990, 990, 2970},
  };
  for (const Case& c : cases)
    EXPECT_EQ(routeCellSize(c.width, c.clearance), c.cell) << c.width << " " << c.clearance;
}

// The wave as the ring scan states it: every ring listed in full, and each
// repetition rescans the ring for the cheapest cell. Returns the passes run.
int literalWave(TRouteGrid& g, TCell s, TCell t, bool& reached) {
  g.at(t) = kCellFree;
  g.at(s) = 0;
  const int mx = g.maxX(), my = g.maxY();
  const int rmax = std::max({mx - s.i, s.i, my - s.j, s.j});
  reached = false;
  for (int pass = 1; pass <= kMaxWavePasses; ++pass) {
    bool progress = false;
    for (int r = 1; r <= rmax; ++r) {
      std::vector<TCell> ring;
      auto list = [&](int i, int j) {
        if (i > 0 && i < mx && j > 0 && j < my) ring.push_back({i, j});
      };
      for (int i = s.i - r; i <= s.i + r; ++i) list(i, s.j - r);
      for (int j = s.j - r + 1; j <= s.j + r; ++j) list(s.i + r, j);
      for (int i = s.i + r - 1; i >= s.i - r; --i) list(i, s.j + r);
      for (int j = s.j + r - 1; j >= s.j - r + 1; --j) list(s.i - r, j);
      for (size_t repeat = 0; repeat <= ring.size(); ++repeat) {
        int best = -1;
        int32_t bestCost = 0;
        for (size_t k = 0; k < ring.size(); ++k) {
          const TCell c = ring[k];
          if (g.at(c) != kCellFree) continue;
          int32_t cost = -1;
          for (int dj = -1; dj <= 1; ++dj)
            for (int di = -1; di <= 1; ++di) {
              if (!di && !dj) continue;
              const int32_t v = g.at(c.i + di, c.j + dj);
              if (v < 0) continue;
              const int32_t candidate = v + ((di && dj) ? 2 : 1);
              if (cost < 0 || candidate < cost) cost = candidate;
            }
          if (cost >= 0 && (best < 0 || cost < bestCost)) {
            best = int(k);
            bestCost = cost;
          }
        }
        if (best < 0) break;
        g.at(ring[size_t(best)]) = bestCost;
        progress = true;
      }
      if (g.at(t) != kCellFree) {
        reached = true;
        return pass;
      }
    }
    if (!progress) return pass;
  }
  return kMaxWavePasses;
}

// Random grids: free and blocked cells, some left unclassified or coarse,
// and a part of the grid never touched. The fast wave must settle the same
// cells with the same costs.
TEST(RouteGrid, WaveSettlesTheSameCellsAsTheRingScan) {
  std::mt19937 rng(7);
  int multiPass = 0, reachedCount = 0, failedCount = 0;
  for (int round = 0; round < 120; ++round) {
    const int mx = 8 + int(rng() % 25), my = 8 + int(rng() % 25);
    TRouteGrid fast(mx, my);
    const int blockedPercent = 10 + int(rng() % 45);
    // Only a window is classified, as in a stage of the router.
    const int left = int(rng() % 4), top = int(rng() % 4);
    const int right = mx - int(rng() % 4), bottom = my - int(rng() % 4);
    for (int j = top; j <= bottom; ++j)
      for (int i = left; i <= right; ++i) {
        const int roll = int(rng() % 100);
        fast.at(i, j) = roll < blockedPercent       ? kCellBlocked
                        : roll < blockedPercent + 3 ? kCellNearObstacle
                                                    : kCellFree;
      }
    fast.touch(left, top, right, bottom);
    TCell s{1 + int(rng() % uint32_t(mx - 1)), 1 + int(rng() % uint32_t(my - 1))};
    TCell t{1 + int(rng() % uint32_t(mx - 1)), 1 + int(rng() % uint32_t(my - 1))};
    s = {std::clamp(s.i, left, right), std::clamp(s.j, top, bottom)};
    t = {std::clamp(t.i, left, right), std::clamp(t.j, top, bottom)};
    if (!fast.inner(s) || !fast.inner(t)) continue;
    TRouteGrid literal = fast;
    bool reached = false;
    const int passes = literalWave(literal, s, t, reached);
    ASSERT_EQ(runWave(fast, s, t), reached) << "round " << round;
    for (int j = 0; j <= my; ++j)
      for (int i = 0; i <= mx; ++i)
        ASSERT_EQ(fast.at(i, j), literal.at(i, j))
            << "round " << round << " cell " << i << "," << j;
    multiPass += passes > 2;
    (reached ? reachedCount : failedCount)++;
  }
  // The sample must exercise later passes, successes and failures.
  EXPECT_GT(multiPass, 5);
  EXPECT_GT(reachedCount, 10);
  EXPECT_GT(failedCount, 10);
}

// A wall with its opening behind the start: the target is reached only in a
// later pass, after the wave has come back around the wall.
TEST(RouteGrid, WaveGoesAroundAWallInALaterPass) {
  TRouteGrid grid(40, 40);
  for (int j = 0; j <= 40; ++j)
    for (int i = 0; i <= 40; ++i) grid.at(i, j) = kCellFree;
  grid.touch(0, 0, 40, 40);
  // A U around the target, open to the left; the start lies to its right.
  for (int j = 10; j <= 30; ++j) grid.at(30, j) = kCellBlocked;
  for (int i = 15; i <= 30; ++i) grid.at(i, 10) = grid.at(i, 30) = kCellBlocked;
  for (int j = 10; j <= 30; ++j)
    if (j != 20) grid.at(15, j) = kCellBlocked;
  TRouteGrid literal = grid;
  bool reached = false;
  const int passes = literalWave(literal, {38, 20}, {25, 20}, reached);
  EXPECT_TRUE(reached);
  EXPECT_GT(passes, 1);
  EXPECT_TRUE(runWave(grid, {38, 20}, {25, 20}));
  EXPECT_EQ(grid.at(25, 20), literal.at(25, 20));
}

TEST(RouteGrid, ClassifiesEachCellOfTheWindowByItsOwnSquare) {
  std::mt19937 rng(3);
  const int32_t cd = 16;
  TRegionSet obstacles(100);
  std::vector<Region> pieces;
  for (int k = 0; k < 25; ++k) {
    const int32_t x = int32_t(rng() % 1200), y = int32_t(rng() % 1200);
    const int32_t w = 1 + int32_t(rng() % 120), h = 1 + int32_t(rng() % 120);
    Region r = k % 2 ? Region::rectangle(x, y, x + w, y + h) : Region::ellipse(x, y, x + w, y + h);
    pieces.push_back(r);
    obstacles.add(r);
  }
  auto direct = [&](int i, int j) {
    const Region::Box square{i * cd, j * cd, (i + 1) * cd, (j + 1) * cd};
    return std::any_of(pieces.begin(), pieces.end(),
                       [&](const Region& p) { return p.intersectsRect(square); });
  };
  TRouteGrid grid(70, 70);
  int tests = 0;
  const TObstacleTest counted = [&](const Region::Box& box) {
    ++tests;
    return obstacles.intersectsRect(box);
  };
  const TCellRect first{23, 17, 41, 38};
  classifyWindow(grid, first, cd, counted);
  grid.at(30, 30) = 7;  // reached in the first stage
  const int firstTests = tests;
  const TCellRect second{13, 7, 51, 48};
  classifyWindow(grid, second, cd, counted);
  for (int j = second.top; j <= second.bottom; ++j)
    for (int i = second.left; i <= second.right; ++i) {
      if (i == 30 && j == 30) continue;
      ASSERT_EQ(grid.at(i, j), direct(i, j) ? kCellBlocked : kCellFree) << i << "," << j;
    }
  EXPECT_EQ(grid.at(30, 30), 7);
  // Coarse blocks settle most of the area: far fewer tests than cells.
  EXPECT_LT(tests, (second.right - second.left + 1) * (second.bottom - second.top + 1));
  EXPECT_GT(tests, firstTests);
}

TEST(RouteGrid, TraceBackPullsTheEndCornersOntoThePads) {
  struct Case {
    const char* name;
    TCell start, target;
    TPoint startPad, targetPad;
    std::vector<TPoint> points;
  } cases[] = {
      {"along a row",
       {32, 12},
       {12, 12},
       {2610, -1005},
       {1010, -1005},
       {{1010, -1005}, {1010, -1000}, {2600, -1000}, {2610, -1005}}},
      // Along a diagonal a corner slides by the smaller distance, so the
      // middle segment stays at 45 degrees.
      {"along a diagonal",
       {20, 20},
       {12, 12},
       {1620, -1630},
       {1030, -1020},
       {{1030, -1020}, {1020, -1020}, {1630, -1630}, {1620, -1630}}},
      {"pads behind their corners",
       {20, 20},
       {12, 12},
       {1650, -1630},
       {990, -1010},
       {{990, -1010}, {1000, -1000}, {1640, -1640}, {1650, -1630}}},
  };
  for (const Case& c : cases) {
    TRouteGrid grid(40, 40);
    for (int j = 0; j <= 40; ++j)
      for (int i = 0; i <= 40; ++i) grid.at(i, j) = kCellFree;
    grid.touch(0, 0, 40, 40);
    ASSERT_TRUE(runWave(grid, c.start, c.target)) << c.name;
    EXPECT_EQ(traceBack(grid, c.start, c.target, 80, c.startPad, c.targetPad), c.points) << c.name;
  }
}

}  // namespace
}  // namespace plavesk
