// Connectivity and the autorouter on a 300 x 300 mm board with 2,000 pads
// and 3,000 tracks: removing satisfied bands in one pass, a route across the
// board at the smallest cell size, and a route whose target is walled in.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdlib>
#include <random>

#include "editing/element_at.h"
#include "routing/autorouter.h"
#include "routing/band_removal.h"

namespace plavesk {
namespace {

constexpr int32_t kBoard = 30000;

struct BigBoard {
  TLayout layout;
  TObjekt* left = nullptr;   // a pad at the left edge
  TObjekt* right = nullptr;  // a pad at the right edge
};

// Pads on a jittered lattice (one in ten a through pair), tracks between
// neighbouring pads on both sides, and bands between random pads.
BigBoard makeBoard() {
  std::mt19937 rng(11);
  BigBoard b;
  b.layout.addBoard("Bench");
  b.layout.working().width = kBoard;
  b.layout.working().height = kBoard;
  b.layout.working().activeLayer = kCopper1;
  TObjektList& l = b.layout.elements();
  const int columns = 50, rows = 37;
  std::vector<TObjekt*> lattice;
  size_t pads = 0;
  for (int r = 0; r < rows && pads < 2000; ++r)
    for (int c = 0; c < columns && pads < 2000; ++c) {
      const TPoint at{300 + c * 590 + int32_t(rng() % 60), -400 - r * 790 - int32_t(rng() % 60)};
      l.push_back(createPad(at, 60, 1 + int(rng() % 9), kCopper1, 30));
      l.back()->clearance = 40;
      TObjekt& pad = *l.back();
      lattice.push_back(&pad);
      ++pads;
      if (rng() % 10 == 0 && pads < 2000) {
        l.push_back(createPad(at, 60, pad.padShape, kCopper2, 30));
        l.back()->clearance = 40;
        pad.padLink = l.back().get();
        l.back()->padLink = &pad;
        ++pads;
      }
    }
  for (int k = 0; k < 3000; ++k) {
    const size_t i = rng() % lattice.size();
    const size_t j = (i + 1 + (rng() % 3 == 0 ? columns - 1 : 0)) % lattice.size();
    const TObjekt& a = *lattice[i];
    const TObjekt& z = *lattice[j];
    auto t = createTrack(25 + int32_t(rng() % 30), rng() % 3 ? kCopper1 : kCopper2);
    t->clearance = 40;
    // A short stub that reaches only part of the way, so the nets stay many.
    const int32_t dx = (z.x - a.x) / 3, dy = (z.y - a.y) / 3;
    t->points = {{a.x, a.y}, {a.x + dx, a.y + dy / 2}, {a.x + dx, a.y + dy}};
    l.push_back(std::move(t));
  }
  for (int k = 0; k < 1000; ++k) {
    TObjekt& a = *lattice[rng() % lattice.size()];
    TObjekt& z = *lattice[rng() % lattice.size()];
    if (&a == &z) continue;
    a.connections.push_back(&z);
    z.connections.push_back(&a);
  }
  b.left = lattice[size_t(columns) * 18];
  b.right = lattice[size_t(columns) * 18 + columns - 1];
  return b;
}

TRouterHooks hooksFor(TLayout& layout) {
  TRouterHooks h;
  h.copperAt = [&layout](TPoint p) {
    return elementAt(layout.elements(), layout.working(), p, true);
  };
  return h;
}

void BM_RemoveSatisfiedBands(benchmark::State& state) {
  BigBoard b = makeBoard();
  TObjektList work;
  for (auto _ : state) {
    state.PauseTiming();
    copyList(work, b.layout.elements());
    state.ResumeTiming();
    benchmark::DoNotOptimize(removeSatisfiedBands(work, b.layout.working()));
  }
}
BENCHMARK(BM_RemoveSatisfiedBands)->Unit(benchmark::kMillisecond);

void route(benchmark::State& state, bool walledIn) {
  BigBoard b = makeBoard();
  TObjektList& l = b.layout.elements();
  if (walledIn) {
    // A ring of another net around the target, clear of the target's tracks.
    const int32_t x = b.right->x, y = b.right->y;
    std::erase_if(l, [&](const TObjektPtr& e) {
      return e->kind == kTrack && std::any_of(e->points.begin(), e->points.end(), [&](TPoint p) {
               return std::abs(p.x - x) < 700 && std::abs(p.y - y) < 700;
             });
    });
    auto wall = createTrack(40, kCopper1);
    wall->points = {{x - 400, y - 400},
                    {x + 400, y - 400},
                    {x + 400, y + 400},
                    {x - 400, y + 400},
                    {x - 400, y - 400}};
    l.push_back(std::move(wall));
  }
  b.left->connections.push_back(b.right);
  b.right->connections.push_back(b.left);
  TRouteSettings settings;
  settings.width = 10;
  settings.clearance = 10;  // the cell size is then its minimum, 40
  const TRouterHooks hooks = hooksFor(b.layout);
  TRouteOutcome outcome = TRouteOutcome::noBand;
  for (auto _ : state) {
    const TRouteResult result =
        routeConnection(l, b.layout.working(), *b.left, *b.right, settings, hooks);
    outcome = result.outcome;
    state.PauseTiming();
    if (result.track) {
      l.pop_back();
      b.left->connections.push_back(b.right);
      b.right->connections.push_back(b.left);
    }
    state.ResumeTiming();
  }
  state.counters["routed"] = outcome == TRouteOutcome::routed ? 1 : 0;
}

void BM_RouteAcrossTheBoard(benchmark::State& state) {
  route(state, false);
}
BENCHMARK(BM_RouteAcrossTheBoard)->Unit(benchmark::kMillisecond);

void BM_RouteToAWalledInTarget(benchmark::State& state) {
  route(state, true);
}
BENCHMARK(BM_RouteToAWalledInTarget)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace plavesk

BENCHMARK_MAIN();
