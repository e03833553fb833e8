// Reading and writing a 100,000-element layout. The peak resident memory of
// the whole run is reported as a counter (kilobytes).
#include <benchmark/benchmark.h>
#include <sys/resource.h>
#include <unistd.h>

#include <cstdio>
#include <string>

#include "document/file_io.h"
#include "document/layout_file.h"
#include "synthetic_board.h"

namespace plavesk {
namespace {

constexpr size_t kElements = 100000;

std::string benchPath() { return "/tmp/plavesk-bench-" + std::to_string(getpid()) + ".lay"; }

double peakKilobytes() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return double(usage.ru_maxrss);
}

void BM_WriteLayout(benchmark::State& state) {
  TLayout layout = makeSyntheticLayout(kElements);
  const std::string path = benchPath();
  std::string error;
  for (auto _ : state) {
    if (!writeLayoutFile(layout, path, false, error)) state.SkipWithError(error.c_str());
  }
  state.counters["elements"] = double(layout.elements().size());
  state.counters["peakKB"] = peakKilobytes();
  std::remove(path.c_str());
}
BENCHMARK(BM_WriteLayout)->Unit(benchmark::kMillisecond);

void BM_ReadLayout(benchmark::State& state) {
  const std::string path = benchPath();
  {
    TLayout layout = makeSyntheticLayout(kElements);
    std::string error;
    if (!writeLayoutFile(layout, path, false, error)) state.SkipWithError(error.c_str());
  }
  for (auto _ : state) {
    TLayout layout;
    TReadReport report = readLayoutFile(layout, path, {});
    if (!report.ok) state.SkipWithError(report.error.c_str());
    benchmark::DoNotOptimize(layout.elements().size());
  }
  state.counters["peakKB"] = peakKilobytes();
  std::remove(path.c_str());
}
BENCHMARK(BM_ReadLayout)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace plavesk

BENCHMARK_MAIN();
