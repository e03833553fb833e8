// Isolation contours on large synthetic boards, against a plain polygon
// union of the same element polygons in the same run; and the board whose
// tracks all cross, which must stop within the memory budget.
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <chrono>
#include <ctime>
#include <polyclipping/clipper.hpp>

#include "output/contour_computation.h"
#include "output/contour_segments.h"
#include "synthetic_board.h"

namespace plavesk {
namespace {

// `count` copper elements on side 1: the copper elements of `make`'s boards
// moved to layer 1, everything else left out.
template <class Make>
TObjektList copperBoard(size_t count, Make make) {
  TObjektList list;
  for (uint32_t seed = 1; list.size() < count; ++seed) {
    TLayout layout = make(count, seed);
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

TObjektList copperBoard(size_t count) {
  return copperBoard(count, [](size_t n, uint32_t seed) { return makeSyntheticLayout(n, seed); });
}

double processSeconds() {
  timespec t;
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
  return double(t.tv_sec) + double(t.tv_nsec) * 1e-9;
}

ClipperLib::Paths clipperPaths(const TObjektList& list) {
  TContourOptions options;
  TContourWorkSet work = makeContourWorkSet(list, options);
  ClipperLib::Paths paths;
  for (const auto& poly : buildSegments(work, {})) {
    ClipperLib::Path p;
    for (const auto& v : poly) p.emplace_back(v.x, v.y);
    paths.push_back(std::move(p));
  }
  return paths;
}

void clipperUnion(const ClipperLib::Paths& paths) {
  ClipperLib::Clipper clipper;
  clipper.AddPaths(paths, ClipperLib::ptSubject, true);
  ClipperLib::Paths out;
  clipper.Execute(ClipperLib::ctUnion, out, ClipperLib::pftNonZero, ClipperLib::pftNonZero);
  benchmark::DoNotOptimize(out);
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
  const ClipperLib::Paths paths = clipperPaths(copperBoard(size_t(state.range(0))));
  for (auto _ : state) clipperUnion(paths);
  state.SetComplexityN(state.range(0));
}

// Both on the same board, one after the other in every iteration, so that
// the ratio does not depend on what else the machine does between two
// benchmarks. The contours use both cores in places, so the ratio is taken
// of the time they take on the clock; their processor time is shown too.
void BM_ContoursToClipperRatio(benchmark::State& state) {
  const TObjektList list = copperBoard(size_t(state.range(0)));
  const ClipperLib::Paths paths = clipperPaths(list);
  double contours = 0, contoursProcessor = 0, clipper = 0;
  auto clock = [] {
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
  };
  for (auto _ : state) {
    const double t0 = clock(), p0 = processSeconds();
    benchmark::DoNotOptimize(computeContours(list, TContourOptions{}));
    const double t1 = clock(), p1 = processSeconds();
    clipperUnion(paths);
    const double t2 = clock();
    contours += t1 - t0, contoursProcessor += p1 - p0, clipper += t2 - t1;
  }
  state.counters["contours_s"] = contours / double(state.iterations());
  state.counters["contours_cpu_s"] = contoursProcessor / double(state.iterations());
  state.counters["clipper_s"] = clipper / double(state.iterations());
  state.counters["ratio"] = contours / clipper;
}

// Where the time of one run on the clock goes: the five steps, timed from
// the progress reports.
void BM_ContourSteps(benchmark::State& state) {
  const TObjektList list = copperBoard(size_t(state.range(0)));
  using Clock = std::chrono::steady_clock;
  double seconds[kContourStepCount] = {};
  for (auto _ : state) {
    int current = 0;
    Clock::time_point since = Clock::now();
    const auto progress = [&](TContourStep step, size_t, size_t) {
      if (int(step) == current) return;
      const Clock::time_point now = Clock::now();
      seconds[current] += std::chrono::duration<double>(now - since).count();
      current = int(step), since = now;
    };
    benchmark::DoNotOptimize(computeContours(list, TContourOptions{}, progress));
    seconds[current] += std::chrono::duration<double>(Clock::now() - since).count();
  }
  const char* names[] = {"segments_s", "vectors_s", "vector_list_s", "outlines_s", "optimise_s"};
  for (int i = 0; i < kContourStepCount; ++i)
    state.counters[names[i]] = seconds[i] / double(state.iterations());
}

// The board whose tracks all cross, with the default budget: it must stop
// over budget, early, and the process must stay below the budget.
void BM_OverfullBoardStops(benchmark::State& state) {
  const TObjektList list = copperBoard(
      size_t(state.range(0)), [](size_t n, uint32_t seed) { return makeCrossingLayout(n, seed); });
  TContourResult r;
  for (auto _ : state) r = computeContours(list, TContourOptions{});
  if (!r.overBudget) state.SkipWithError("the overfull board did not stop");
  rusage usage;
  getrusage(RUSAGE_SELF, &usage);
  state.counters["crossings"] = double(r.crossings);
  state.counters["peak_MB"] = double(usage.ru_maxrss) / 1024;
  state.counters["budget_MB"] = double(kDefaultContourMemoryBudget >> 20);
}

// First, so that the process's peak memory is this run's.
BENCHMARK(BM_OverfullBoardStops)->Arg(100000)->Unit(benchmark::kSecond)->Iterations(1);
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
BENCHMARK(BM_ContoursToClipperRatio)->Arg(10000)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_ContoursToClipperRatio)->Arg(100000)->Unit(benchmark::kSecond)->Iterations(1);
BENCHMARK(BM_ContourSteps)->Arg(100000)->Unit(benchmark::kSecond)->Iterations(1);

}  // namespace
}  // namespace plavesk

BENCHMARK_MAIN();
