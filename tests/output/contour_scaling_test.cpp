// The row-by-row grid search for crossings, the hashed node matching, the
// walk with its cached directions and the covered-element pass with its
// shortcuts must give exactly what the plain all-pairs versions give; and on
// random boards of thousands of elements the contours must be the rings of an
// independent polygon union, point for point.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <map>
#include <optional>
#include <polyclipping/clipper.hpp>
#include <random>
#include <string>
#include <unordered_map>

#include "document/layout_file.h"
#include "output/contour_computation.h"
#include "output/contour_crossings.h"
#include "output/contour_graph.h"
#include "output/contour_loops.h"
#include "output/contour_segments.h"
#include "platform/core/region.h"
#include "view/geometry.h"

namespace plavesk {
namespace {

// ---- the straightforward versions ----

std::vector<TCrossingPair> allPairsCrossings(const std::vector<TScaledPolygon>& polys) {
  std::vector<TCrossingPair> out;
  for (uint32_t p = 0; p < polys.size(); ++p)
    for (uint32_t q = p + 1; q < polys.size(); ++q)
      for (uint32_t e = 0; e < polys[p].size(); ++e)
        for (uint32_t f = 0; f < polys[q].size(); ++f) {
          const auto& P = polys[p];
          const auto& Q = polys[q];
          std::vector<TPoint64> meetings;
          edgeMeetings(P[e], P[(e + 1) % P.size()], Q[f], Q[(f + 1) % Q.size()], meetings);
          for (const TPoint64 x : meetings) out.push_back({p, e, q, f, x});
        }
  return out;
}

// Each point goes in front of the first one at the same or a larger distance.
std::vector<TScaledPolygon> insertByHand(const std::vector<TScaledPolygon>& polys,
                                         const std::vector<TCrossingPair>& crossings) {
  std::vector<std::vector<std::vector<TPoint64>>> onEdge(polys.size());
  for (size_t p = 0; p < polys.size(); ++p) onEdge[p].resize(polys[p].size());
  auto record = [&](uint32_t p, uint32_t e, TPoint64 x) {
    const TPoint64 s = polys[p][e];
    auto dist = [&](TPoint64 q) { return std::abs(q.x - s.x) + std::abs(q.y - s.y); };
    auto& list = onEdge[p][e];
    auto it = list.begin();
    while (it != list.end() && dist(*it) < dist(x)) ++it;
    list.insert(it, x);
  };
  for (const auto& c : crossings) {
    record(c.polygonA, c.edgeA, c.point);
    record(c.polygonB, c.edgeB, c.point);
  }
  std::vector<TScaledPolygon> out(polys.size());
  for (size_t p = 0; p < polys.size(); ++p)
    for (size_t e = 0; e < polys[p].size(); ++e) {
      out[p].push_back(polys[p][e]);
      out[p].insert(out[p].end(), onEdge[p][e].begin(), onEdge[p][e].end());
    }
  return out;
}

// Each edge's crossings in order of distance from its start (in recording
// order at equal distance), neighbours within the radius joined under the
// first recorded of the two groups unless that group's point would then lie
// more than twice the radius from the other's; then every point moved to its
// group's, where that stays strictly inside both its edges.
std::vector<TCrossingPair> mergeByHand(const std::vector<TScaledPolygon>& polys,
                                       std::vector<TCrossingPair> crossings, int64_t radius) {
  auto near = [](TPoint64 a, TPoint64 b, int64_t r) {
    return std::abs(a.x - b.x) <= r && std::abs(a.y - b.y) <= r;
  };
  std::vector<uint32_t> root(crossings.size());
  for (uint32_t k = 0; k < root.size(); ++k) root[k] = k;
  auto find = [&](uint32_t k) {
    while (root[k] != k) k = root[k];
    return k;
  };
  for (uint32_t p = 0; p < polys.size(); ++p)
    for (uint32_t e = 0; e < polys[p].size(); ++e) {
      const TPoint64 s = polys[p][e];
      std::vector<std::pair<int64_t, uint32_t>> onEdge;  // distance, record
      for (uint32_t k = 0; k < crossings.size(); ++k) {
        const TCrossingPair& c = crossings[k];
        if ((c.polygonA == p && c.edgeA == e) || (c.polygonB == p && c.edgeB == e))
          onEdge.push_back({std::abs(c.point.x - s.x) + std::abs(c.point.y - s.y), k});
      }
      std::stable_sort(onEdge.begin(), onEdge.end(),
                       [](const auto& l, const auto& r) { return l.first < r.first; });
      for (size_t i = 0; i + 1 < onEdge.size(); ++i) {
        const uint32_t k = onEdge[i].second, l = onEdge[i + 1].second;
        if (!near(crossings[k].point, crossings[l].point, radius)) continue;
        const uint32_t rk = find(k), rl = find(l);
        if (rk != rl && near(crossings[rk].point, crossings[rl].point, 2 * radius))
          root[std::max(rk, rl)] = std::min(rk, rl);
      }
    }
  auto inside = [&](uint32_t p, uint32_t e, TPoint64 x) {
    const TPoint64 s = polys[p][e], t = polys[p][(e + 1) % polys[p].size()];
    const __int128 along = __int128(t.x - s.x) * (x.x - s.x) + __int128(t.y - s.y) * (x.y - s.y);
    return along > 0 &&
           along < __int128(t.x - s.x) * (t.x - s.x) + __int128(t.y - s.y) * (t.y - s.y);
  };
  std::vector<TCrossingPair> out = crossings;
  for (uint32_t k = 0; k < out.size(); ++k) {
    const TPoint64 target = crossings[find(k)].point;
    if (inside(out[k].polygonA, out[k].edgeA, target) &&
        inside(out[k].polygonB, out[k].edgeB, target))
      out[k].point = target;
  }
  return out;
}

std::vector<std::vector<uint32_t>> allPairsSuccessors(const TContourGraph& g) {
  std::vector<std::vector<uint32_t>> succ(g.nodes.size());
  for (uint32_t n = 0; n < g.nodes.size(); ++n) succ[n].push_back(g.nodes[n].next);
  for (uint32_t a = 0; a < g.nodes.size(); ++a)
    for (uint32_t b = a + 1; b < g.nodes.size(); ++b)
      if (g.nodes[a].p == g.nodes[b].p) {
        const uint32_t firstA = succ[a][0], firstB = succ[b][0];
        succ[b].push_back(firstA);
        succ[a].push_back(firstB);
      }
  return succ;
}

// Every element against every other one whose bounds it overlaps, both
// outlines clipped in full.
std::vector<TShapePolygon> allPairsSegments(const TObjektList& list, int32_t cw) {
  TContourOptions o;
  o.channelWidth = cw;
  TContourWorkSet work = makeContourWorkSet(list, o);
  const size_t n = work.copies.size();
  std::vector<std::optional<Region>> outlines(n);
  for (size_t i = 0; i < n; ++i) outlines[i] = elementOutline(*work.copies[i]);
  EXPECT_TRUE(
      std::all_of(work.takesPart.begin(), work.takesPart.end(), [](uint8_t t) { return t; }));
  auto overlap = [](const TRect& a, const TRect& b) {
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
  };
  for (size_t a = 0; a < n; ++a) {
    if (!work.takesPart[a]) continue;
    for (size_t b = 0; b < n; ++b) {
      if (b == a || !work.takesPart[b] || !overlap(work.bounds[a], work.bounds[b])) continue;
      const auto& inner = outlines[b];
      const auto& outer = outlines[a];
      if (!inner || inner->empty() || (outer && !outer->empty() && (*inner - *outer).empty()))
        work.takesPart[b] = 0;
    }
  }
  std::vector<TShapePolygon> out;
  for (size_t i = 0; i < n; ++i) {
    if (!work.takesPart[i]) continue;
    for (auto& p : elementPolygons(*work.copies[i])) {
      orientClockwise(p);
      out.push_back(std::move(p));
    }
  }
  return out;
}

// Every step of the walk turns by the coordinates of the three places; then
// the walks from the closed-off branches with only the loops in the way,
// which pass by the loops they meet.
TTraceResult stepByStepTrace(const TContourGraph& g) {
  TTraceResult result;
  const size_t count = g.nodes.size();
  std::vector<uint8_t> used(count, 0), onLoop(count, 0), branch(count, 0);
  bool passLoops = false;
  auto step = [&](uint32_t n) {
    const TContourNode& node = g.nodes[n];
    const TPoint64 a = g.nodes[node.pred].p, b = node.p;
    uint32_t best = UINT32_MAX;
    long double bestValue = -1;
    for (uint32_t s : g.successors(n)) {
      if (passLoops && onLoop[s]) continue;
      const TPoint64 c = g.nodes[s].p;
      const long double value = turningValue(a.x, a.y, b.x, b.y, c.x, c.y);
      if (value > bestValue) bestValue = value, best = s;
    }
    return best;
  };
  auto walk = [&](uint32_t start, bool firstPass) {
    std::vector<uint32_t> trace{start};
    used[start] = 1;
    for (;;) {
      const uint32_t best = step(trace.back());
      if (best == UINT32_MAX) return;
      const auto at = std::find(trace.begin(), trace.end(), best);
      if (at != trace.end()) {
        const size_t closedAt = size_t(at - trace.begin());
        TContour loop;
        for (size_t i = closedAt; i < trace.size(); ++i) {
          const TPoint64 p = g.nodes[trace[i]].p;
          loop.push_back({int32_t(std::nearbyint(double(p.x) / kContourScale)),
                          int32_t(std::nearbyint(double(p.y) / kContourScale))});
          onLoop[trace[i]] = 1;
        }
        result.loops.push_back(std::move(loop));
        result.firstEdge.push_back(trace[closedAt + 1 < trace.size() ? closedAt + 1 : closedAt]);
        if (firstPass)
          for (size_t i = closedAt; i < trace.size(); ++i)
            for (uint32_t s : g.successors(trace[i]))
              if (!used[s]) used[s] = branch[s] = 1;
        return;
      }
      trace.push_back(best);
      if (used[best]) {
        result.abandoned += firstPass;
        return;
      }
      used[best] = 1;
    }
  };
  for (uint32_t start = 0; start < count; ++start)
    if (!used[start]) walk(start, true);
  result.firstRescued = result.loops.size();
  used = onLoop;
  for (uint32_t start = 0; start < count; ++start)
    if (!used[start] && branch[start]) walk(start, false);
  result.firstPassing = result.loops.size();
  used = onLoop;
  passLoops = true;
  for (uint32_t start = 0; start < count; ++start)
    if (!used[start] && branch[start]) walk(start, false);
  return result;
}

TObjektPtr track(std::vector<TPoint> points, int32_t width) {
  auto t = createTrack(width, kCopper1);
  t->points = std::move(points);
  return t;
}

// Coordinates on a 25-unit lattice so shapes often share edges, vertices and
// directions: the degenerate cases the crossing search must get right.
TObjektList randomBoard(uint32_t seed, int count, int32_t size) {
  std::mt19937 rng(seed);
  auto uni = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
  auto point = [&] { return TPoint{uni(0, size / 25) * 25, -uni(0, size / 25) * 25}; };
  TObjektList list;
  for (int i = 0; i < count; ++i) {
    const int kind = uni(0, 9);
    if (kind < 4) {
      auto t = createTrack(uni(1, 6) * 20, kCopper1);
      TPoint p = point();
      for (int k = uni(2, 4); k > 0; --k) {
        t->points.push_back(p);
        p = uni(0, 1) ? TPoint{p.x + uni(-20, 20) * 25, p.y}
                      : TPoint{p.x + uni(-12, 12) * 25, p.y + uni(-12, 12) * 25};
      }
      list.push_back(std::move(t));
    } else if (kind < 6) {
      list.push_back(createPad(point(), uni(2, 8) * 20, uni(1, 9), kCopper1, 30));
    } else if (kind < 7) {
      list.push_back(createSmdPad(point(), uni(2, 12) * 25, kCopper1, uni(2, 12) * 25));
    } else if (kind < 8) {
      const int32_t r = uni(4, 16) * 25;
      list.push_back(createCircle(point(), r, 1, kCopper1, r - uni(1, 3) * 25));
      if (uni(0, 1)) {
        list.back()->angle = uni(0, 7) * 45;
        list.back()->dim3 = uni(0, 7) * 45;
      }
    } else if (kind < 9) {
      auto a = createArea(uni(1, 3) * 20, kCopper1);
      const TPoint c = point();
      const int32_t w = uni(4, 20) * 25, h = uni(4, 20) * 25;
      a->points = {c, {c.x + w, c.y}, {c.x + w, c.y + h}};
      if (uni(0, 1)) a->points.push_back({c.x, c.y + h});
      list.push_back(std::move(a));
    } else {
      list.push_back(track({point()}, 40));  // a lone point gives nothing
    }
  }
  return list;
}

// Elements stacked on larger ones: inside them, across their edges and
// beside them, so that the covered-element pass meets every outcome.
TObjektList stackedBoard(uint32_t seed, int count) {
  std::mt19937 rng(seed);
  auto uni = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
  TObjektList list;
  for (int i = 0; i < count; ++i) {
    const TPoint c{uni(0, 40) * 50, -uni(0, 40) * 50};
    const int32_t r = uni(2, 8) * 25;
    switch (uni(0, 3)) {
      case 0:
        list.push_back(createPad(c, r, uni(1, 9), kCopper1, 20));
        break;
      case 1:
        list.push_back(createSmdPad(c, 2 * r, kCopper1, uni(2, 16) * 25));
        break;
      case 2:
        list.push_back(createCircle(c, r, 1, kCopper1, uni(0, 1) ? r / 2 : 0));
        list.back()->filled = uni(0, 1);
        break;
      default:
        list.push_back(track({c, {c.x + uni(-4, 4) * 25, c.y + uni(-4, 4) * 25}}, uni(1, 4) * 20));
    }
    const TPoint d{c.x + uni(-3, 3) * 25, c.y + uni(-3, 3) * 25};
    if (uni(0, 1))
      list.push_back(createSmdPad(d, uni(1, 6) * 20, kCopper1, uni(1, 6) * 20));
    else
      list.push_back(createPad(d, uni(1, 5) * 20, uni(1, 9), kCopper1, 10));
  }
  return list;
}

std::vector<TScaledPolygon> boardPolygons(const TObjektList& list, int32_t cw) {
  TContourOptions o;
  o.channelWidth = cw;
  TContourWorkSet work = makeContourWorkSet(list, o);
  return scalePolygons(buildSegments(work, {}));
}

TEST(ContourScaling, GridCrossingsEqualAllPairs) {
  for (uint32_t seed = 1; seed <= 12; ++seed) {
    TObjektList list = randomBoard(seed, 40 + 5 * seed, 4000);
    // A far-off pad makes the board's grid too large to count into, and a
    // track to it crosses the board with edges too long for the grid.
    if (seed % 4 == 0) {
      list.push_back(createPad({2000000, -1500000}, 60, kPadRound, kCopper1, 20));
      list.push_back(track({{1000, -1000}, {2000000, -1500000}}, 40));
    }
    const auto polys = boardPolygons(list, seed % 3 * 20);
    const auto reference = allPairsCrossings(polys);
    const auto found = findCrossings(polys);
    ASSERT_FALSE(reference.empty());
    ASSERT_EQ(found.size(), reference.size()) << "seed " << seed;
    EXPECT_TRUE(found == reference) << "seed " << seed;
    EXPECT_TRUE(insertCrossings(polys, found) == insertByHand(polys, reference)) << "seed " << seed;
  }
}

// Edges whose lines meet just beyond the end of one of them, by less than a
// unit of the grid or a little more: the crossing point, rounded to the
// grid, may still lie on both edges and is then recorded; the grid search
// must record exactly those. Each case is a pair of triangles, far from the
// others; coordinates in hundredths of a unit.
TEST(ContourScaling, CrossingsNearEdgeEndsEqualAllPairs) {
  std::vector<TScaledPolygon> polys;
  auto add = [&](int64_t at, std::vector<TPoint64> e, std::vector<TPoint64> f) {
    for (auto* poly : {&e, &f}) {
      for (TPoint64& q : *poly) q.x += at;
      polys.push_back(*poly);
    }
  };
  int64_t at = 0;
  // A nearly upright edge from (1000 + i, 1000) to (1000 + j, -1000) meets
  // the flat edge (0, 0)..(1000, 0) at x = 1000 + (i + j) / 2: on its end,
  // half a hundredth beyond (a tie), one beyond, and so on.
  for (int64_t i = -3; i <= 3; ++i)
    for (int64_t j = -3; j <= 3; ++j, at += 10000)
      add(at, {{0, 0}, {1000, 0}, {500, -3000}}, {{1000 + i, 1000}, {1000 + j, -1000}, {3000, 0}});
  // The same beyond the end of a slanted edge; and an edge ending just
  // short of, on or just past another one.
  for (int64_t i = -3; i <= 3; ++i, at += 10000) {
    add(at, {{0, 0}, {1000, 7}, {500, -3000}}, {{1000 + i, 1000}, {1001 + i, -1000}, {3000, 0}});
    add(at + 5000, {{0, 0}, {1000, 0}, {500, 3000}}, {{500 + i, -1000}, {500, i}, {-2000, -1000}});
  }
  const auto reference = allPairsCrossings(polys);
  const auto found = findCrossings(polys);
  ASSERT_FALSE(reference.empty());
  EXPECT_TRUE(found == reference) << found.size() << " crossings found, " << reference.size()
                                  << " by all pairs";
}

TEST(ContourScaling, HashedNodeMatchingEqualsAllPairs) {
  for (uint32_t seed = 20; seed <= 26; ++seed) {
    auto polys = boardPolygons(randomBoard(seed, 40, 3000), 0);
    polys = insertCrossings(polys, findCrossings(polys));
    const TContourGraph g = buildContourGraph(polys);
    const auto reference = allPairsSuccessors(g);
    size_t joined = 0;
    for (uint32_t n = 0; n < g.nodes.size(); ++n) {
      ASSERT_EQ(g.successors(n), reference[n]) << "seed " << seed << " node " << n;
      joined += reference[n].size() > 1;
    }
    EXPECT_GT(joined, 0u);
  }
}

TEST(ContourScaling, CoveredElementsEqualAllPairs) {
  for (uint32_t seed = 40; seed <= 47; ++seed) {
    TObjektList list = stackedBoard(seed, 60);
    // Areas over part of the board, one of them with a notch, cover some
    // elements wholly and cross others.
    if (seed % 2 == 0) {
      const std::vector<std::vector<TPoint>> outlines = {
          {{100, -100}, {900, -100}, {900, -900}, {100, -900}},
          {{1000, -1000}, {1900, -1000}, {1900, -1900}, {1450, -1300}, {1000, -1900}},
          {{1100, -100}, {1900, -300}, {1200, -800}}};
      for (const auto& points : outlines) {
        auto a = createArea(20 * (seed % 3), kCopper1);
        a->points = points;
        list.push_back(std::move(a));
      }
    }
    const int32_t cw = seed % 2 ? 0 : 20;
    TContourOptions o;
    o.channelWidth = cw;
    TContourWorkSet work = makeContourWorkSet(list, o);
    const auto reference = allPairsSegments(list, cw);
    const auto found = buildSegments(work, {});
    size_t given = 0;
    for (size_t i = 0; i < work.copies.size(); ++i)
      given += work.takesPart[i] ? 0 : elementPolygons(*work.copies[i]).size();
    EXPECT_GT(given, 0u) << "seed " << seed;  // some elements were covered
    EXPECT_TRUE(found == reference) << "seed " << seed;
  }
}

TEST(ContourScaling, WalkEqualsStepByStepTurns) {
  for (uint32_t seed = 30; seed <= 35; ++seed) {
    auto polys = boardPolygons(randomBoard(seed, 50, 3000), seed % 2 * 20);
    polys = insertCrossings(polys, findCrossings(polys));
    const TContourGraph g = buildContourGraph(polys);
    const TTraceResult reference = stepByStepTrace(g);
    const TTraceResult found = traceOutlines(g);
    ASSERT_GT(reference.loops.size(), 1u);
    EXPECT_EQ(found.abandoned, reference.abandoned) << "seed " << seed;
    EXPECT_EQ(found.firstRescued, reference.firstRescued) << "seed " << seed;
    EXPECT_EQ(found.firstPassing, reference.firstPassing) << "seed " << seed;
    EXPECT_TRUE(found.loops == reference.loops) << "seed " << seed;
    EXPECT_TRUE(found.firstEdge == reference.firstEdge) << "seed " << seed;
  }
}

// The steps share their work between two threads only from a few thousand
// items on (nodes, crossings, places, elements): a board that large through
// the same straightforward versions, the sizes checked so that the shared
// paths are the ones taken.
TEST(ContourScaling, TwoThreadStepsEqualTheStraightforwardOnes) {
  auto polys = boardPolygons(randomBoard(7, 340, 6000), 20);
  const auto reference = allPairsCrossings(polys);
  const auto found = findCrossings(polys);
  ASSERT_GE(reference.size(), 4096u);
  EXPECT_TRUE(found == reference);
  // Crossings near each other (some made one point) are merged alike.
  auto merged = found;
  mergeNearCrossings(polys, merged);
  const auto mergedByHand = mergeByHand(polys, reference, kCrossingMergeRadius);
  size_t moved = 0;
  for (size_t k = 0; k < found.size(); ++k) moved += !(merged[k].point == found[k].point);
  EXPECT_GT(moved, 0u);
  EXPECT_TRUE(merged == mergedByHand);
  const auto plain = polys;
  polys = insertCrossings(polys, found);
  EXPECT_TRUE(polys == insertByHand(plain, reference));
  const TContourGraph g = buildContourGraph(polys);
  ASSERT_GE(g.groupStart.size() - 1, 4096u);
  const auto successors = allPairsSuccessors(g);
  for (uint32_t n = 0; n < g.nodes.size(); ++n)
    ASSERT_EQ(g.successors(n), successors[n]) << "node " << n;
  const TTraceResult walked = stepByStepTrace(g);
  const TTraceResult traced = traceOutlines(g);
  EXPECT_EQ(traced.abandoned, walked.abandoned);
  EXPECT_EQ(traced.firstRescued, walked.firstRescued);
  EXPECT_EQ(traced.firstPassing, walked.firstPassing);
  EXPECT_TRUE(traced.loops == walked.loops);
  EXPECT_TRUE(traced.firstEdge == walked.firstEdge);
  // The loops probed while the walk goes on, in batches on two threads,
  // decide as the probes after it, of every pass.
  const TObjektList list = randomBoard(7, 340, 6000);
  TContourOptions o;
  o.channelWidth = 20;
  const TContourWorkSet work = makeContourWorkSet(list, o);
  TLoopProbes early(g, work);
  size_t handedOver = 0;
  const TTraceResult again = traceOutlines(g, {}, [&](const TTraceResult& found) {
    ++handedOver;
    early.take(found);
  });
  EXPECT_EQ(handedOver, again.loops.size());
  ASSERT_GT(again.loops.size(), TLoopProbes::kBatch);  // more than one batch
  ASSERT_LT(again.firstPassing, again.loops.size());   // passing loops among them
  std::vector<uint8_t> decided;
  const TCopperProbe* probe = early.finish(again, decided);
  EXPECT_EQ(decided.size(), again.loops.size());
  EXPECT_EQ(boundaryLoops(g, again, work, {}, probe, decided), boundaryLoops(g, again, work));
}

TEST(ContourScaling, CoveredElementsOfALargeBoardEqualAllPairs) {
  const TObjektList list = randomBoard(8, 4200, 60000);
  TContourWorkSet work = makeContourWorkSet(list, {});
  ASSERT_GE(work.copies.size(), 4096u);
  const auto found = buildSegments(work, {});
  EXPECT_LT(std::count(work.takesPart.begin(), work.takesPart.end(), 1), work.copies.size());
  EXPECT_TRUE(found == allPairsSegments(list, 0));
}

// ---- the oracle ----

using ClipperLib::IntPoint;
using ClipperLib::Path;
using ClipperLib::Paths;

// Boards like the benchmark's synthetic ones at any size, the copper density
// kept: footprints of pads in rows, SMD pads, tracks of a few bends, rings and
// arcs, areas, and texts, on free coordinates.
TObjektList syntheticBoard(uint32_t seed, int count) {
  std::mt19937 rng(seed);
  auto uni = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
  const int side = int(30000 * std::sqrt(count / 5000.0));
  auto point = [&] { return TPoint{uni(0, side), -uni(0, side)}; };
  TObjektList list;
  while (int(list.size()) < count) {
    const int pick = uni(0, 99);
    if (pick < 30) {
      const TPoint at = point();
      const int shape = uni(1, 9);
      for (int i = uni(2, 8); i > 0; --i)
        list.push_back(createPad({at.x + i * 254, at.y}, 80, shape, kCopper1, 40));
    } else if (pick < 65) {
      auto t = createTrack(uni(20, 150), kCopper1);
      TPoint p = point();
      for (int k = uni(2, 5); k > 0; --k) {
        t->points.push_back(p);
        p = {p.x + uni(-800, 800), p.y + uni(-800, 800)};
      }
      list.push_back(std::move(t));
    } else if (pick < 80) {
      list.push_back(createSmdPad(point(), uni(40, 200), kCopper1, uni(40, 200)));
    } else if (pick < 85) {
      auto a = createArea(20, kCopper1);
      const TPoint c = point();
      for (int k = uni(3, 6); k > 0; --k)
        a->points.push_back({c.x + uni(-1500, 1500), c.y + uni(-1500, 1500)});
      list.push_back(std::move(a));
    } else if (pick < 92) {
      const int outer = uni(100, 1000);
      list.push_back(createCircle(point(), outer, 1, kCopper1, outer - uni(10, outer)));
      if (uni(0, 2) == 0) list.back()->angle = uni(0, 359), list.back()->dim3 = uni(0, 359);
      list.back()->filled = uni(0, 4) == 0;
    } else {
      const TPoint at = point();
      list.push_back(createText(at, "R", false, false, kCopper1, 0, 1, 1, 150));
      for (int k = uni(3, 12); k > 0; --k) {
        auto stroke = createTrack(17, kCopper1);
        for (int i = 0; i < 3; ++i)
          stroke->points.push_back({at.x + k * 30 + i * 10, at.y + i * 20});
        list.back()->strokes.push_back(std::move(stroke));
      }
    }
  }
  return list;
}

// Clipper's union of the same copper (the element polygons and the even-odd
// insides of the areas), worked in the same hundredths of a unit and rounded
// to units as the contours are.
TContourList clipperRings(const TObjektList& list, const TContourOptions& o) {
  constexpr int64_t k = kContourScale;
  TContourWorkSet work = makeContourWorkSet(list, o);
  Paths paths;
  for (const auto& poly : buildSegments(work, {})) {
    Path p;
    for (const auto& v : poly) p.emplace_back(v.x * k, v.y * k);
    paths.push_back(std::move(p));
  }
  for (const auto& e : work.copies) {
    if (e->kind != kArea || e->points.size() < 3) continue;
    Path p;
    for (const auto& v : e->points) p.emplace_back(v.x * k, v.y * k);
    ClipperLib::Clipper inside;
    inside.AddPath(p, ClipperLib::ptSubject, true);
    Paths filled;
    inside.Execute(ClipperLib::ctUnion, filled, ClipperLib::pftEvenOdd, ClipperLib::pftEvenOdd);
    for (auto& q : filled) {
      ClipperLib::ReversePath(q);  // clockwise like the element polygons, so windings add up
      paths.push_back(std::move(q));
    }
  }
  ClipperLib::Clipper c;
  c.AddPaths(paths, ClipperLib::ptSubject, true);
  Paths rings;
  c.Execute(ClipperLib::ctUnion, rings, ClipperLib::pftNonZero, ClipperLib::pftNonZero);
  TContourList out;
  for (const auto& r : rings) {
    TContour ring;
    for (const auto& v : r) {
      const TPoint p{int32_t(std::nearbyint(double(v.X) / k)),
                     int32_t(std::nearbyint(double(v.Y) / k))};
      if (ring.empty() || !(ring.back() == p)) ring.push_back(p);
    }
    out.push_back(std::move(ring));
  }
  return out;
}

double ringArea(const TContour& c) {
  double a = 0;
  for (size_t i = 0, j = c.size() - 1; i < c.size(); j = i++)
    a += double(c[j].x) * c[i].y - double(c[i].x) * c[j].y;
  return a / 2;
}

// The edges of a set of rings in square cells, to ask how far a point lies
// from the nearest of them.
class EdgeCells {
 public:
  explicit EdgeCells(const std::vector<const TContour*>& rings) : rings_(rings) {
    for (uint32_t r = 0; r < rings.size(); ++r)
      for (uint32_t i = 0; i < rings[r]->size(); ++i) {
        const TPoint a = (*rings[r])[i], b = (*rings[r])[(i + 1) % rings[r]->size()];
        for (int64_t x = cellOf(std::min(a.x, b.x) - 2); x <= cellOf(std::max(a.x, b.x) + 2); ++x)
          for (int64_t y = cellOf(std::min(a.y, b.y) - 2); y <= cellOf(std::max(a.y, b.y) + 2); ++y)
            cells_[key(x, y)].push_back({r, i});
      }
  }
  // Whether an edge comes within `tolerance` (at most 2) of p.
  bool near(TPoint p, double tolerance) const {
    const auto it = cells_.find(key(cellOf(p.x), cellOf(p.y)));
    if (it == cells_.end()) return false;
    for (const auto& [r, i] : it->second) {
      const TPoint a = (*rings_[r])[i], b = (*rings_[r])[(i + 1) % rings_[r]->size()];
      const double dx = double(b.x) - a.x, dy = double(b.y) - a.y;
      const double px = double(p.x) - a.x, py = double(p.y) - a.y;
      const double l = dx * dx + dy * dy;
      const double u = l > 0 ? std::clamp((px * dx + py * dy) / l, 0.0, 1.0) : 0.0;
      if (std::hypot(px - u * dx, py - u * dy) <= tolerance) return true;
    }
    return false;
  }

 private:
  static int64_t cellOf(int64_t v) { return v >= 0 ? v / 64 : -((-v + 63) / 64); }
  static uint64_t key(int64_t x, int64_t y) { return uint64_t(x) << 32 ^ uint64_t(uint32_t(y)); }
  std::vector<const TContour*> rings_;
  std::unordered_map<uint64_t, std::vector<std::pair<uint32_t, uint32_t>>> cells_;
};

// Within one unit on each axis: x and y are rounded each on its own, so a
// crossing that falls on a half unit in both (a notch tip where two edges
// meet at 71270.50, -34746.50) rounds a unit apart on both axes when the two
// unions place it a hundredth of a unit apart.
bool allNear(const TContour& ring, const EdgeCells& cells) {
  return std::all_of(ring.begin(), ring.end(),
                     [&](TPoint p) { return cells.near(p, std::sqrt(2.0)); });
}

struct RingComparison {
  size_t ours = 0, reference = 0, matched = 0;
  // Rings that touch another at a point may be cut there differently: the
  // rest of each side, which must cover the same boundary.
  size_t oursTouching = 0, referenceTouching = 0;
  std::vector<std::string> faults;
};

// Every ring of one side has a ring of the other with every point within
// one unit of it and the other way round, the same area and, the contours
// being clockwise around copper and Clipper's rings counter-clockwise, the
// opposite orientation. Rings that touch others at points may be cut into
// rings differently by the two; what remains unmatched on each side must run
// along what remains on the other and enclose the same area. Slivers of
// less than four square units are matched by neither: rounding to units
// decides them differently.
RingComparison compareRings(const TContourList& oursAll, const TContourList& referenceAll) {
  RingComparison c;
  std::vector<const TContour*> ours, reference;
  for (const auto& r : oursAll)
    if (std::fabs(ringArea(r)) >= 4) ours.push_back(&r);
  for (const auto& r : referenceAll)
    if (std::fabs(ringArea(r)) >= 4) reference.push_back(&r);
  c.ours = ours.size(), c.reference = reference.size();
  auto box = [](const TContour& r) {
    TRect b{r[0].x, r[0].y, r[0].x, r[0].y};
    for (const auto& p : r)
      b.left = std::min(b.left, p.x), b.right = std::max(b.right, p.x),
      b.top = std::min(b.top, p.y), b.bottom = std::max(b.bottom, p.y);
    return b;
  };
  std::multimap<int32_t, size_t> byLeft;
  for (size_t i = 0; i < reference.size(); ++i) byLeft.emplace(box(*reference[i]).left, i);
  std::vector<uint8_t> oursMatched(ours.size(), 0), referenceMatched(reference.size(), 0);
  for (size_t i = 0; i < ours.size(); ++i) {
    const TRect b = box(*ours[i]);
    for (auto it = byLeft.lower_bound(b.left - 1); it != byLeft.end() && it->first <= b.left + 1;
         ++it) {
      const TContour& r = *reference[it->second];
      const TRect rb = box(r);
      if (referenceMatched[it->second] || std::abs(rb.top - b.top) > 1 ||
          std::abs(rb.right - b.right) > 1 || std::abs(rb.bottom - b.bottom) > 1)
        continue;
      if (!allNear(*ours[i], EdgeCells({&r})) || !allNear(r, EdgeCells({ours[i]}))) continue;
      const double a = ringArea(*ours[i]), ra = ringArea(r);
      double perimeter = 0;
      for (size_t k = 0; k < r.size(); ++k)
        perimeter += std::hypot(double(r[(k + 1) % r.size()].x) - r[k].x,
                                double(r[(k + 1) % r.size()].y) - r[k].y);
      if (std::fabs(a + ra) > perimeter + 4) {
        c.faults.push_back("area " + std::to_string(a) + " against " + std::to_string(ra));
        continue;
      }
      oursMatched[i] = referenceMatched[it->second] = 1;
      ++c.matched;
      break;
    }
  }
  // The rest of each side, slivers included, must run along the rest of the
  // other and enclose the same area.
  std::vector<const TContour*> oursRest, referenceRest;
  for (size_t i = 0; i < ours.size(); ++i)
    if (!oursMatched[i]) oursRest.push_back(ours[i]);
  for (size_t i = 0; i < reference.size(); ++i)
    if (!referenceMatched[i]) referenceRest.push_back(reference[i]);
  c.oursTouching = oursRest.size(), c.referenceTouching = referenceRest.size();
  std::vector<const TContour*> oursAround = oursRest, referenceAround = referenceRest;
  for (const auto& r : oursAll)
    if (std::fabs(ringArea(r)) < 4) oursAround.push_back(&r);
  for (const auto& r : referenceAll)
    if (std::fabs(ringArea(r)) < 4) referenceAround.push_back(&r);
  const EdgeCells oursCells(oursAround), referenceCells(referenceAround);
  double oursArea = 0, referenceArea = 0, slack = 4;
  for (const TContour* r : oursAround) oursArea += ringArea(*r), slack += double(r->size());
  for (const TContour* r : referenceAround)
    referenceArea += ringArea(*r), slack += double(r->size());
  for (const TContour* r : oursRest)
    if (!allNear(*r, referenceCells))
      c.faults.push_back("a contour of " + std::to_string(r->size()) + " points at " +
                         std::to_string((*r)[0].x) + "," + std::to_string((*r)[0].y) +
                         " is no ring of the union");
  for (const TContour* r : referenceRest)
    if (!allNear(*r, oursCells))
      c.faults.push_back("the ring of " + std::to_string(r->size()) + " points at " +
                         std::to_string((*r)[0].x) + "," + std::to_string((*r)[0].y) +
                         " has no contour");
  if (std::fabs(oursArea + referenceArea) > slack)
    c.faults.push_back("touching rings enclose " + std::to_string(-oursArea) + " against " +
                       std::to_string(referenceArea));
  return c;
}

void expectSameRings(const TObjektList& list, int32_t cw, const std::string& what) {
  TContourOptions o;
  o.channelWidth = cw;
  const TContourResult result = computeContours(list, o);
  ASSERT_FALSE(result.overBudget) << what;
  const RingComparison c = compareRings(result.contours, clipperRings(list, o));
  for (const auto& f : c.faults)
    ADD_FAILURE() << what << ": " << f << " (" << c.matched << " of " << c.reference
                  << " rings matched)";
  EXPECT_GT(c.matched, 0u) << what;
  // Rings cut differently at touching points are the exception.
  EXPECT_LE(c.referenceTouching, c.reference / 50 + 2) << what;
  EXPECT_EQ(c.ours + c.referenceTouching, c.reference + c.oursTouching) << what;
}

TEST(ContourOracle, DenseLatticeBoardsGiveTheRingsOfTheUnion) {
  // On a lattice, shapes share edges, corners and directions.
  for (uint32_t seed = 100; seed < 106; ++seed)
    expectSameRings(randomBoard(seed, 1000, 30000), seed % 2 ? 0 : 30,
                    "lattice board " + std::to_string(seed));
}

TEST(ContourOracle, SyntheticBoardsGiveTheRingsOfTheUnion) {
  const std::pair<uint32_t, int> boards[] = {{1, 1000}, {2, 3000}, {3, 10000}};
  for (const auto& [seed, count] : boards)
    expectSameRings(syntheticBoard(seed, count), seed == 2 ? 20 : 0,
                    std::to_string(count) + " elements");
}

// A hundred thousand elements: half a minute against Clipper here, so not
// in the default run; run with --gtest_also_run_disabled_tests. Its one lost
// ring (a filled arc with folded tips) is kept as a fixture above.
TEST(ContourOracle, DISABLED_AHundredThousandElementsGiveTheRingsOfTheUnion) {
  expectSameRings(syntheticBoard(4, 100000), 0, "100000 elements");
}

// Thirty thousand elements, the boards on which rings of the union once had
// no contour (reproduced by the small fixtures below); a few seconds each.
TEST(ContourOracle, DISABLED_ThirtyThousandElementsGiveTheRingsOfTheUnion) {
  for (uint32_t seed : {6u, 7u})
    expectSameRings(syntheticBoard(seed, 30000), 0, "30000 elements, seed " + std::to_string(seed));
}

// A short filled arc is a sliver of a disc between the arc and its chord;
// rounding folds its thin tips over themselves. Such a fold once caught the
// walk along the arc in a loop of its own, and the whole contour of the arc
// was lost (on the 100,000-element board, among others).
TEST(ContourOracle, FilledArcsWithFoldedTipsKeepTheirContour) {
  struct Arc {
    TPoint centre;
    int32_t outer, inner, from, to;
  };
  const Arc arcs[] = {
      {{129589, -127410}, 892, 510, 314, 335},  // the one of the 100,000-element board
      {{46770, -19069}, 536, 162, 51, 62},     {{9161, -27186}, 109, 63, 294, 305},
      {{18948, 42650}, 692, 355, 2, 11},       {{16789, 22430}, 249, 200, 319, 333},
      {{30298, -40146}, 252, 242, 45, 48},     {{71, 13698}, 344, 237, 286, 300},
  };
  for (const Arc& a : arcs) {
    TObjektList list;
    list.push_back(createCircle(a.centre, a.outer, 1, kCopper1, a.inner));
    list.back()->angle = a.from, list.back()->dim3 = a.to, list.back()->filled = 1;
    const std::string what = "arc " + std::to_string(a.from) + ".." + std::to_string(a.to) +
                             " of radius " + std::to_string(a.outer);
    expectSameRings(list, 0, what);
    TContourOptions o;
    EXPECT_GE(computeContours(list, o).contours.size(), 1u) << what;
  }
}

// Three edges passing almost through one point: a track's lower edge and
// the two round ends of another track's bend. Their three crossing points,
// each rounded on its own, once stood along the edges in an order no three
// lines give, and the walk left the boundary there: the round start of the
// thin track lost its contour (on a 30,000-element board).
TEST(ContourOracle, EdgesCrossingNearlyAtOnePointKeepTheBoundary) {
  TObjektList list;
  list.push_back(track({{55437, -64670}, {55747, -64077}, {55193, -63327}, {55900, -63148}}, 129));
  list.push_back(track({{55046, -63200}, {55668, -63801}, {56206, -64533}}, 82));
  expectSameRings(list, 0, "tracks crossing at a bend");
  EXPECT_EQ(computeContours(list, TContourOptions{}).contours.size(), 1u);
}

// Ring arcs of a degree or two. A span shorter than the gap a whole ring
// keeps turns the arc into a nearly whole ring whose ends overlap: its
// polygon meets itself, and the hole was filled as if it were a fold (the
// inner contour lost). A short arc whose round ends nearly coincide has its
// thin body poking out of them; the boundary through that tip was never
// walked (no contour at all).
TEST(ContourOracle, ShortRingArcsKeepEveryContour) {
  struct Arc {
    TPoint centre;
    int32_t outer, inner, from, to;
    size_t contours;  // at least: the outline, and the hole of a ring
  };
  const Arc arcs[] = {
      {{43803, -34706}, 322, 255, 135, 136, 2}, {{46335, -9756}, 654, 522, 292, 293, 2},
      {{31210, -49258}, 881, 525, 174, 176, 2}, {{37115, -26892}, 60, 41, 277, 278, 2},
      {{15049, -18911}, 130, 100, 2, 3, 2},     {{3517, -15544}, 134, 85, 103, 105, 1},
      {{32827, -29972}, 135, 86, 209, 211, 1},  {{35429, -8934}, 316, 192, 312, 314, 1},
      {{12679, -41328}, 435, 433, 102, 103, 1}, {{5897, -21943}, 1445, 1442, 281, 282, 1},
  };
  for (const Arc& a : arcs) {
    TObjektList list;
    list.push_back(createCircle(a.centre, a.outer, 1, kCopper1, a.inner));
    list.back()->angle = a.from, list.back()->dim3 = a.to;
    const std::string what = "ring arc " + std::to_string(a.from) + ".." + std::to_string(a.to) +
                             " of radii " + std::to_string(a.outer) + ", " +
                             std::to_string(a.inner);
    expectSameRings(list, 0, what);
    // The thin tip may come as a contour of its own, pinched off the outline.
    EXPECT_GE(computeContours(list, TContourOptions{}).contours.size(), a.contours) << what;
  }
}

// Polygons that meet themselves are cut into clockwise pieces that do not,
// covering what the polygon covers by the non-zero rule; the others pass
// unchanged. Coordinates are in hundredths of a unit, as the graph's.
TEST(ContourUntangling, CutsPolygonsThatMeetThemselves) {
  struct Case {
    const char* name;
    TScaledPolygon polygon;
    size_t pieces;  // 0: the polygon passes unchanged
  };
  const Case cases[] = {
      {"clockwise square", {{0, 0}, {0, 100}, {100, 100}, {100, 0}}, 0},
      {"clockwise L without crossings",
       {{0, 0}, {0, 300}, {100, 300}, {100, 100}, {300, 100}, {300, 0}},
       0},
      {"repeated points only", {{0, 0}, {0, 0}, {0, 100}, {100, 100}, {100, 0}}, 0},
      // The left lobe winds the wrong way.
      {"bow tie", {{0, 0}, {100, 100}, {100, 0}, {0, 100}}, 2},
      // Clockwise, then straight back along the last edge past its start.
      {"spike back along an edge", {{0, 0}, {0, 100}, {100, 100}, {100, 0}, {50, 0}, {150, 0}}, 1},
      // A thin tip whose last arc points dip below the chord and come back:
      // the tip, the fold below the chord (turned round) and the rest.
      {"folded tip",
       {{0, 0}, {1000, 20}, {2000, 30}, {2900, 12}, {2950, -2}, {2970, 1}, {3000, 0}},
       3},
      // The notch from below reaches up to the top edge.
      {"touching itself at a vertex",
       {{0, 0}, {0, 200}, {300, 200}, {300, 0}, {200, 0}, {150, 200}, {100, 0}},
       2},
  };
  auto nonZeroArea = [](const std::vector<TScaledPolygon>& polys) {
    Paths paths;
    for (const auto& poly : polys) {
      Path p;
      for (const auto& v : poly) p.emplace_back(v.x, v.y);
      paths.push_back(std::move(p));
    }
    ClipperLib::Clipper c;
    c.AddPaths(paths, ClipperLib::ptSubject, true);
    Paths out;
    c.Execute(ClipperLib::ctUnion, out, ClipperLib::pftNonZero, ClipperLib::pftNonZero);
    double area = 0;
    for (const auto& r : out) area += ClipperLib::Area(r);
    return area;
  };
  for (const Case& c : cases) {
    const auto out = untangledPolygons({c.polygon});
    if (c.pieces == 0) {
      ASSERT_EQ(out.size(), 1u) << c.name;
      EXPECT_TRUE(out[0] == c.polygon) << c.name;
      continue;
    }
    EXPECT_EQ(out.size(), c.pieces) << c.name;
    for (const auto& piece : out) {
      ASSERT_GE(piece.size(), 3u) << c.name;
      double twiceArea = 0;
      for (size_t i = 0, j = piece.size() - 1; i < piece.size(); j = i++)
        twiceArea += double(piece[j].x) * piece[i].y - double(piece[i].x) * piece[j].y;
      EXPECT_LT(twiceArea, 0) << c.name << ": a piece is not clockwise";
      // No two edges of a piece meet but neighbours at their common end.
      const size_t m = piece.size();
      for (size_t e = 0; e < m; ++e)
        for (size_t f = e + 1; f < m; ++f) {
          std::vector<TPoint64> meetings;
          edgeMeetings(piece[e], piece[(e + 1) % m], piece[f], piece[(f + 1) % m], meetings);
          for (const TPoint64 x : meetings) {
            const bool sharedEnd =
                (f == e + 1 && x == piece[f]) || (e == 0 && f == m - 1 && x == piece[0]);
            EXPECT_TRUE(sharedEnd)
                << c.name << ": edges " << e << " and " << f << " meet at " << x.x << "," << x.y;
          }
        }
    }
    // Cut points are rounded to the grid: the area may move by a little.
    EXPECT_NEAR(nonZeroArea(out), nonZeroArea({c.polygon}), 0.01 * nonZeroArea({c.polygon}))
        << c.name;
  }
}

// ---- the memory budget ----

// Tracks from edge to edge of the board: every one crosses most others.
TObjektList crossingTracksBoard(int count) {
  std::mt19937 rng(7);
  auto uni = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
  TObjektList list;
  for (int i = 0; i < count; ++i)
    list.push_back(track({{0, -uni(0, 30000)}, {30000, -uni(0, 30000)}}, 40));
  return list;
}

TEST(ContourBudget, AnOverfullBoardStopsEarlyAndNamesItsCrossings) {
  const TObjektList list = crossingTracksBoard(4000);
  std::vector<FileImage> before;
  for (const auto& e : list) before.push_back(encodeFileImage(*e));
  TContourOptions o;
  o.memoryBudget = uint64_t(64) << 20;
  const TContourResult r = computeContours(list, o);
  EXPECT_TRUE(r.overBudget);
  EXPECT_TRUE(r.contours.empty());
  // It stopped once the crossings found so far filled the budget, long
  // before the millions the board holds.
  EXPECT_GT(contourMemoryEstimate(list.size(), 0, r.crossings), o.memoryBudget / 2);
  EXPECT_LT(r.crossings, 400000u);
  for (size_t i = 0; i < list.size(); ++i) EXPECT_EQ(encodeFileImage(*list[i]), before[i]);

  // A board the budget holds is computed whole.
  const TContourResult small = computeContours(crossingTracksBoard(40), o);
  EXPECT_FALSE(small.overBudget);
  EXPECT_GT(small.crossings, 0u);
  EXPECT_FALSE(small.contours.empty());
}

}  // namespace
}  // namespace plavesk
