// Isolation contours on large synthetic boards, against a plain polygon
// union of the same element polygons in the same run.
#include <benchmark/benchmark.h>

#include <polyclipping/clipper.hpp>

#include "output/contour_computation.h"
#include "output/contour_segments.h"
#include "synthetic_board.h"

namespace plavesk {
namespace {

// `count` copper elements on side 1: the synthetic mix with every copper
// element moved to layer 1 and everything else left out.
TObjektList copperBoard(size_t count) {
  TObjektList list;
  for (uint32_t seed = 1; list.size() < count; ++seed) {
    TLayout layout = makeSyntheticLayout(count, seed);
    TObjektList& source = layout.elements();
    for (auto& e : source)
      e->padLink = nullptr, e->connections.clear(), e->routeFrom = e->routeTo = nullptr;
    for (auto& e : source) {
      if (list.size() == count) break;
      if (!isCopperLayer(e->layer)) continue;
      e->layer = kCopper1;
      for (auto& s : e->strokes) s->layer = kCopper1;
      list.push_back(std::move(e));
    }
  }
  return list;
}

void BM_Contours(benchmark::State& state) {
  const TObjektList list = copperBoard(size_t(state.range(0)));
  TContourOptions options;
  size_t contours = 0;
  for (auto _ : state) {
    TContourResult r = computeContours(list, options);
    contours = r.contours.size();
    benchmark::DoNotOptimize(r);
  }
  state.counters["contours"] = double(contours);
  state.SetComplexityN(state.range(0));
}

void BM_ClipperUnion(benchmark::State& state) {
  const TObjektList list = copperBoard(size_t(state.range(0)));
  TContourOptions options;
  TContourWorkSet work = makeContourWorkSet(list, options);
  ClipperLib::Paths paths;
  for (const auto& poly : buildSegments(work, {})) {
    ClipperLib::Path p;
    for (const auto& v : poly) p.emplace_back(v.x, v.y);
    paths.push_back(std::move(p));
  }
  for (auto _ : state) {
    ClipperLib::Clipper clipper;
    clipper.AddPaths(paths, ClipperLib::ptSubject, true);
    ClipperLib::Paths out;
    clipper.Execute(ClipperLib::ctUnion, out, ClipperLib::pftNonZero, ClipperLib::pftNonZero);
    benchmark::DoNotOptimize(out);
  }
  state.SetComplexityN(state.range(0));
}

BENCHMARK(BM_Contours)
    ->Arg(500)
    ->Arg(2000)
    ->Arg(10000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity();
BENCHMARK(BM_ClipperUnion)
    ->Arg(500)
    ->Arg(2000)
    ->Arg(10000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity();

}  // namespace
}  // namespace plavesk

BENCHMARK_MAIN();
