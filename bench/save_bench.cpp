// Saving a huge layout: the pass that deletes the elements outside the
// board, which runs before every save, the whole save, and what
// "plavesk-cli convert" does between start-up and exit.
//
// The layout file of the convert measurement is written by
//   save_bench --write-layout=PATH
// and the whole process then measured with, for example,
//   perf stat -r 10 plavesk-cli convert PATH out.lay
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <iostream>
#include <memory>

#include "document/layout_file.h"
#include "editing/layout_commands.h"
#include "synthetic_board.h"

namespace plavesk {
namespace {

constexpr size_t kElements = 100000;

// The 300 x 300 mm synthetic board on a 250 x 250 mm board record, so that
// elements near two edges lie across or outside it.
TLayout smallerBoard(size_t count) {
  TLayout layout = makeSyntheticLayout(count);
  layout.working().width = 25000;
  layout.working().height = 25000;
  return layout;
}

std::string benchPath(const char* what) {
  return (std::filesystem::temp_directory_path() /
          ("plavesk-save-bench-" + std::to_string(::getpid()) + what + ".lay"))
      .string();
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
  const std::string path = benchPath("");
  for (auto _ : state) {
    state.PauseTiming();
    TLayout layout = smallerBoard(size_t(state.range(0)));
    state.ResumeTiming();
    std::string error;
    if (!saveLayout(layout, path, false, error)) state.SkipWithError(error.c_str());
  }
  std::filesystem::remove(path);
}

// Reading the file and saving it again; freeing the layout is left out, as
// the command leaves it to the end of the process.
void BM_ConvertFile(benchmark::State& state) {
  const std::string in = benchPath("-in"), out = benchPath("-out");
  {
    TLayout layout = smallerBoard(size_t(state.range(0)));
    std::string error;
    if (!writeLayoutFile(layout, in, true, error)) state.SkipWithError(error.c_str());
  }
  for (auto _ : state) {
    auto layout = std::make_unique<TLayout>();
    TReadReport report = readLayoutFile(*layout, in, {});
    if (!report.ok) state.SkipWithError(report.error.c_str());
    std::string error;
    if (!saveLayout(*layout, out, false, error)) state.SkipWithError(error.c_str());
    state.PauseTiming();
    layout.reset();
    state.ResumeTiming();
  }
  std::filesystem::remove(in);
  std::filesystem::remove(out);
}

BENCHMARK(BM_DeleteElementsOutside)->Arg(kElements)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_SaveLayout)->Arg(kElements)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_ConvertFile)->Arg(kElements)->Unit(benchmark::kMillisecond)->Iterations(5);

int writeLayoutForConvert(const std::string& path) {
  TLayout layout = smallerBoard(kElements);
  std::string error;
  // Written as an autosave would, so nothing is deleted before writing.
  if (!writeLayoutFile(layout, path, true, error)) {
    std::cerr << error << "\n";
    return 1;
  }
  return 0;
}

}  // namespace
}  // namespace plavesk

int main(int argc, char** argv) {
  constexpr const char* kWrite = "--write-layout=";
  for (int i = 1; i < argc; ++i)
    if (std::strncmp(argv[i], kWrite, std::strlen(kWrite)) == 0)
      return plavesk::writeLayoutForConvert(argv[i] + std::strlen(kWrite));
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
