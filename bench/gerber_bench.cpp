// Gerber and drill files of every output of the 100,000-element synthetic
// board, written to a temporary file as the export does (target: each file
// below one second). Both ground planes are on, so the copper files carry
// the clearance pass too.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <string>

#include "output/excellon_export.h"
#include "output/gerber_export.h"
#include "output/gerber_writer.h"
#include "synthetic_board.h"

namespace plavesk {
namespace {

constexpr size_t kElements = 100000;

std::string benchPath() {
  return "/tmp/plavesk-gerber-bench-" + std::to_string(getpid());
}

TLayout& board() {
  static TLayout layout = [] {
    TLayout l = makeSyntheticLayout(kElements);
    l.working().groundPlane1 = l.working().groundPlane2 = 1;
    return l;
  }();
  return layout;
}

void BM_GerberOutput(benchmark::State& state) {
  const auto output = TGerberOutput(state.range(0));
  state.SetLabel(std::string(gerberOutputName(output)));
  TLayout& layout = board();
  TGerberOptions options = gerberDefaults(output);
  if (options.punchEnabled() && !isSmdOnlyOutput(output)) options.setPunch(true);
  const std::string path = benchPath() + ".gbr";
  size_t bytes = 0, apertures = 0;
  for (auto _ : state) {
    TGerberFile file;
    file.Path = path;
    plotGerberOutput(file, layout.elements(), layout.working(), options, 1);
    std::string error;
    if (!file.Close(error)) state.SkipWithError(error.c_str());
    apertures = file.apertures().size();
    bytes = file.Finish().size();
  }
  std::remove(path.c_str());
  state.counters["apertures"] = double(apertures);
  state.counters["MB"] = double(bytes) / 1e6;
}
BENCHMARK(BM_GerberOutput)->DenseRange(0, kGerberOutputCount - 1)->Unit(benchmark::kMillisecond);

void BM_DrillFile(benchmark::State& state) {
  TLayout& layout = board();
  const std::string path = benchPath() + ".drl";
  for (auto _ : state) {
    std::string error;
    if (!writeExcellonFile(path, layout.elements(), layout.working(), {false, true, false}, error))
      state.SkipWithError(error.c_str());
  }
  std::remove(path.c_str());
}
BENCHMARK(BM_DrillFile)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace plavesk

BENCHMARK_MAIN();
