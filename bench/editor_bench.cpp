// Undo snapshots and undo on a 100,000-element board.
#include <benchmark/benchmark.h>

#include "editing/editor.h"
#include "synthetic_board.h"

namespace plavesk {
namespace {

constexpr size_t kElements = 100000;

void BM_TakeSnapshot(benchmark::State& state) {
  TEditor editor;
  editor.layout = makeSyntheticLayout(kElements);
  editor.setUndoEntries(1);  // keep one snapshot so memory stays flat
  for (auto _ : state) editor.takeSnapshot();
  state.counters["elements"] = double(editor.elements().size());
}
BENCHMARK(BM_TakeSnapshot)->Unit(benchmark::kMillisecond);

void BM_UndoRedo(benchmark::State& state) {
  TEditor editor;
  editor.layout = makeSyntheticLayout(kElements);
  editor.takeSnapshot();
  for (auto _ : state) {
    editor.undo();
    editor.redo();
  }
  state.SetItemsProcessed(int64_t(state.iterations()) * 2);
}
BENCHMARK(BM_UndoRedo)->Unit(benchmark::kMillisecond);

void BM_SelectAllCopyPaste(benchmark::State& state) {
  TEditor editor;
  editor.layout = makeSyntheticLayout(kElements / 10);
  editor.setUndoEntries(1);
  for (auto _ : state) {
    editor.selectAll();
    editor.copy();
    editor.paste(100, -100);
    editor.undo();
  }
}
BENCHMARK(BM_SelectAllCopyPaste)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace plavesk

BENCHMARK_MAIN();
