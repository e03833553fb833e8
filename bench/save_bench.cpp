// Saving a huge layout: the pass that deletes the elements outside the
// board, which runs before every save, and the whole save.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>

#include "editing/layout_commands.h"
#include "synthetic_board.h"

namespace plavesk {
namespace {

// The 300 x 300 mm synthetic board on a 250 x 250 mm board record, so that
// elements near two edges lie across or outside it.
TLayout smallerBoard(size_t count) {
  TLayout layout = makeSyntheticLayout(count);
  layout.working().width = 25000;
  layout.working().height = 25000;
  return layout;
}

void BM_DeleteElementsOutside(benchmark::State& state) {
  size_t deleted = 0;
  for (auto _ : state) {
    state.PauseTiming();
    TLayout layout = smallerBoard(size_t(state.range(0)));
    state.ResumeTiming();
    deleted = deleteElementsOutside(layout);
  }
  state.counters["deleted"] = double(deleted);
}

void BM_SaveLayout(benchmark::State& state) {
  const std::string path = (std::filesystem::temp_directory_path() /
                            ("plavesk-save-bench-" + std::to_string(::getpid()) + ".lay"))
                               .string();
  for (auto _ : state) {
    state.PauseTiming();
    TLayout layout = smallerBoard(size_t(state.range(0)));
    state.ResumeTiming();
    std::string error;
    if (!saveLayout(layout, path, false, error)) state.SkipWithError(error.c_str());
  }
  std::filesystem::remove(path);
}

BENCHMARK(BM_DeleteElementsOutside)->Arg(100000)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_SaveLayout)->Arg(100000)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace
}  // namespace plavesk

BENCHMARK_MAIN();
