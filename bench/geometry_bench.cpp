// Outlines and hit tests on large boards built by code: a realistic mix of
// pads, tracks, areas, circles, SMD pads and texts.
#include <benchmark/benchmark.h>

#include <random>

#include "view/geometry.h"
#include "view/spatial_index.h"

namespace plavesk {
namespace {

// Elements scattered over a board of `width` x `height` units, in the
// proportions of a dense through-hole and SMD board.
TObjektList syntheticBoard(size_t count, int32_t width, int32_t height, unsigned seed) {
  std::mt19937 rng(seed);
  std::uniform_int_distribution<int32_t> px(0, width), py(-height, 0), kind(0, 99), step(-800, 800),
      shape(1, 9), radius(40, 120), size(60, 300), angle(0, 359);
  auto point = [&] { return TPoint{px(rng), py(rng)}; };
  TObjektList list;
  list.reserve(count);
  while (list.size() < count) {
    const int k = kind(rng);
    TObjektPtr e;
    if (k < 40) {  // tracks of 2 to 5 points
      e = createTrack(size(rng) / 3 + 20, k % 2 ? kCopper1 : kCopper2);
      TPoint p = point();
      const int n = 2 + k % 4;
      for (int i = 0; i < n; ++i) {
        addPoint(*e, p);
        p = TPoint{p.x + step(rng), p.y + step(rng)};
      }
    } else if (k < 65) {
      e = createPad(point(), radius(rng), shape(rng), kCopper2, 40);
    } else if (k < 80) {
      e = createSmdPad(point(), size(rng), kCopper1, size(rng));
    } else if (k < 88) {  // areas of 4 to 7 points
      e = createArea(20, kCopper1);
      const TPoint c = point();
      const int n = 4 + k % 4;
      for (int i = 0; i < n; ++i) addPoint(*e, TPoint{c.x + step(rng) / 2, c.y + step(rng) / 2});
    } else if (k < 96) {  // rings, discs and arcs
      const int32_t r = size(rng);
      e = createCircle(point(), r, 1, kSilk1, r * 3 / 4);
      if (k % 3 == 0) {
        e->angle = angle(rng);
        e->dim3 = angle(rng);
      }
      e->filled = k % 4 == 1;
    } else {  // a short text of four strokes
      const TPoint p = point();
      e = createText(p, "AB", false, false, kSilk2, 0, 1, 1, 200);
      for (int i = 0; i < 4; ++i) {
        auto stroke = createTrack(22, kSilk2);
        addPoint(*stroke, TPoint{p.x + 60 * i, p.y});
        addPoint(*stroke, TPoint{p.x + 60 * i + 40, p.y + 180});
        e->strokes.push_back(std::move(stroke));
      }
    }
    e->clearance = 40;
    list.push_back(std::move(e));
  }
  return list;
}

void BM_BoundsOf100kElements(benchmark::State& state) {
  const TObjektList board = syntheticBoard(100000, 100000, 80000, 1);
  for (auto _ : state) {
    for (const auto& e : board) benchmark::DoNotOptimize(elementBounds(*e));
  }
  state.SetItemsProcessed(state.iterations() * board.size());
}
BENCHMARK(BM_BoundsOf100kElements)->Unit(benchmark::kMillisecond);

// Target: below 0.5 s for the whole board.
void BM_OutlinesOf100kElements(benchmark::State& state) {
  const TObjektList board = syntheticBoard(100000, 100000, 80000, 1);
  for (auto _ : state) {
    for (const auto& e : board) {
      auto outline = elementOutline(*e);
      benchmark::DoNotOptimize(outline);
    }
  }
  state.SetItemsProcessed(state.iterations() * board.size());
}
BENCHMARK(BM_OutlinesOf100kElements)->Unit(benchmark::kMillisecond);

// Target: below 50 us a point on average, index included.
void BM_HitTestWithIndex(benchmark::State& state) {
  const TObjektList board = syntheticBoard(20000, 30000, 20000, 2);
  TSpatialIndex index;
  index.build(board);
  std::mt19937 rng(3);
  std::uniform_int_distribution<int32_t> px(0, 30000), py(-20000, 0);
  std::vector<TPoint> points(10000);
  for (auto& p : points) p = TPoint{px(rng), py(rng)};
  size_t hits = 0;
  for (auto _ : state) {
    for (const auto& p : points) hits += hitElements(board, index, p, 0.1).size();
  }
  benchmark::DoNotOptimize(hits);
  state.SetItemsProcessed(state.iterations() * points.size());
  state.counters["us_per_point"] = benchmark::Counter(
      double(state.iterations() * points.size()),
      benchmark::Counter::kIsRate | benchmark::Counter::kInvert, benchmark::Counter::OneK::kIs1000);
}
BENCHMARK(BM_HitTestWithIndex)->Unit(benchmark::kMillisecond);

// A fresh index each time: every outline computed on first use.
void BM_HitTestColdIndex(benchmark::State& state) {
  const TObjektList board = syntheticBoard(20000, 30000, 20000, 2);
  std::mt19937 rng(3);
  std::uniform_int_distribution<int32_t> px(0, 30000), py(-20000, 0);
  std::vector<TPoint> points(10000);
  for (auto& p : points) p = TPoint{px(rng), py(rng)};
  size_t hits = 0;
  for (auto _ : state) {
    TSpatialIndex index;
    index.build(board);
    for (const auto& p : points) hits += hitElements(board, index, p, 0.1).size();
  }
  benchmark::DoNotOptimize(hits);
  state.SetItemsProcessed(state.iterations() * points.size());
}
BENCHMARK(BM_HitTestColdIndex)->Unit(benchmark::kMillisecond);

// Building the index once for the 20,000-element board.
void BM_BuildIndex(benchmark::State& state) {
  const TObjektList board = syntheticBoard(20000, 30000, 20000, 2);
  for (auto _ : state) {
    TSpatialIndex index;
    index.build(board);
    benchmark::DoNotOptimize(index.size());
  }
}
BENCHMARK(BM_BuildIndex)->Unit(benchmark::kMillisecond);

// The same points tested against every element, for comparison.
void BM_HitTestLinearScan(benchmark::State& state) {
  const TObjektList board = syntheticBoard(20000, 30000, 20000, 2);
  std::mt19937 rng(3);
  std::uniform_int_distribution<int32_t> px(0, 30000), py(-20000, 0);
  std::vector<TPoint> points(200);
  for (auto& p : points) p = TPoint{px(rng), py(rng)};
  size_t hits = 0;
  for (auto _ : state) {
    for (const auto& p : points)
      for (const auto& e : board) hits += hitElement(*e, p, 0.1);
  }
  benchmark::DoNotOptimize(hits);
  state.SetItemsProcessed(state.iterations() * points.size());
}
BENCHMARK(BM_HitTestLinearScan)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace plavesk

BENCHMARK_MAIN();
