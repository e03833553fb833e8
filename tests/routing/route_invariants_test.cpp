// Routes on generated boards, checked independently of the router: each
// track joins its two pads, runs at 0, 45 or 90 degrees between its end
// corners and keeps the clearance to the copper of every other net.
#include <gtest/gtest.h>

#include <random>
#include <unordered_map>

#include "router_fixture.h"
#include "routing/autorouter.h"
#include "routing/connectivity.h"

namespace plavesk {
namespace {

// The router works on a raster of 5 units; outlines there are rounded to
// half a raster unit on both sides, so the independent check allows 5 units.
constexpr int32_t kRasterTolerance = 5;

struct Board {
  TObjektList list;
  TBoardRecord state;
  std::vector<std::pair<TObjekt*, TObjekt*>> bands;
};

Board generate(uint32_t seed) {
  std::mt19937 rng(seed);
  Board b;
  b.state.width = 9000;
  b.state.height = 7000;
  b.state.activeLayer = kCopper1;
  auto coord = [&](int lo, int hi) { return lo + int32_t(rng() % uint32_t(hi - lo)); };
  std::vector<TObjekt*> pads;
  for (int k = 0; k < 24; ++k) {
    auto pad = createPad({coord(600, 8400), -coord(600, 6400)}, 60 + coord(0, 40),
                         1 + int(rng() % 9), kCopper1, 30);
    pad->clearance = 40;
    // Pads keep apart, so every pad starts in a net of its own.
    bool crowded = false;
    for (const TObjekt* p : pads)
      crowded |= std::abs(p->x - pad->x) < 500 && std::abs(p->y - pad->y) < 500;
    if (crowded) continue;
    pads.push_back(pad.get());
    b.list.push_back(std::move(pad));
  }
  for (int k = 0; k < 14; ++k) {
    auto t = createTrack(30 + coord(0, 50), rng() % 4 ? kCopper1 : kCopper2);
    t->clearance = 40;
    TPoint p{coord(300, 8700), -coord(300, 6700)};
    t->points.push_back(p);
    const bool vertical = rng() % 2;
    const int32_t length = coord(800, 3000);
    t->points.push_back(vertical ? TPoint{p.x, std::max(p.y - length, -6800)}
                                 : TPoint{std::min(p.x + length, 8800), p.y});
    b.list.push_back(std::move(t));
  }
  for (size_t k = 0; k + 1 < pads.size(); k += 2) {
    pads[k]->connections.push_back(pads[k + 1]);
    pads[k + 1]->connections.push_back(pads[k]);
    b.bands.push_back({pads[k], pads[k + 1]});
  }
  return b;
}

bool straightOrDiagonal(TPoint a, TPoint b) {
  const int32_t dx = std::abs(b.x - a.x), dy = std::abs(b.y - a.y);
  return dx == 0 || dy == 0 || dx == dy;
}

TEST(RouteInvariants, RoutedTracksJoinTheirPadsAndKeepClear) {
  const TRouteSettings settings;  // 0.4 mm track, 0.2 mm clearance
  int routed = 0, failed = 0;
  for (uint32_t seed = 1; seed <= 6; ++seed) {
    Board b = generate(seed);
    testing::RouterProbe probe;
    for (auto [s, t] : b.bands) {
      SCOPED_TRACE("seed " + std::to_string(seed));
      std::vector<int> nets;
      std::unordered_map<const TObjekt*, size_t> at;
      {
        TCopperAnalysis before(b.list, b.state);
        nets = copperNets(before);
        for (size_t i = 0; i < b.list.size(); ++i) at[b.list[i].get()] = i;
      }
      const int startNet = nets[at[s]], targetNet = nets[at[t]];
      const TRouteResult result =
          routeConnection(b.list, b.state, *s, *t, settings, probe.hooks(b.list, b.state));
      if (result.outcome != TRouteOutcome::routed) {
        ++failed;
        continue;
      }
      ++routed;
      const TObjekt& track = *result.track;
      const std::vector<TPoint>& p = track.points;
      ASSERT_GE(p.size(), 3u);
      EXPECT_EQ(p.front(), (TPoint{t->x, t->y}));
      EXPECT_EQ(p.back(), (TPoint{s->x, s->y}));
      for (size_t k = 1; k + 2 < p.size(); ++k)
        EXPECT_TRUE(straightOrDiagonal(p[k], p[k + 1]))
            << "segment " << k << ": " << p[k].x << "," << p[k].y << " to " << p[k + 1].x << ","
            << p[k + 1].y;

      Region keepOut;
      for (size_t k = 0; k + 1 < p.size(); ++k)
        keepOut.unite(trackOutline(p[k], p[k + 1],
                                   settings.width + 2 * (settings.clearance - kRasterTolerance)));
      for (size_t i = 0; i < nets.size(); ++i) {
        const TObjekt& e = *b.list[i];
        if (e.layer != b.state.activeLayer || nets[i] == startNet || nets[i] == targetNet) continue;
        const auto outline = elementOutline(e);
        ASSERT_TRUE(outline);
        EXPECT_TRUE((keepOut & *outline).empty()) << "element " << i << " of another net";
      }

      TCopperAnalysis after(b.list, b.state);
      const std::vector<int> joined = copperNets(after);
      EXPECT_EQ(joined[size_t(after.indexOf(s))], joined[size_t(after.indexOf(t))]);
    }
  }
  EXPECT_GT(routed, 20);
}

}  // namespace
}  // namespace plavesk
