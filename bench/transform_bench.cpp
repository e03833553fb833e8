// Rotating, mirroring, aligning and snapping 10,000 selected elements of the
// 100,000-element synthetic board, each with its undo snapshot of the whole
// list, as the menu commands run them (target: below 80 ms each).
#include <benchmark/benchmark.h>

#include <unordered_map>
#include <vector>

#include "editing/editor.h"
#include "editing/transforms.h"
#include "synthetic_board.h"

namespace plavesk {
namespace {

constexpr size_t kElements = 100000;
constexpr size_t kSelected = 10000;

// Selects elements from the start of the list, each with its whole group
// and through-pad partner as a click would, until about kSelected are.
void selectFirst(TEditor& editor) {
  std::unordered_map<int32_t, std::vector<TObjekt*>> groups;
  for (auto& e : editor.elements())
    if (!e->groupIds.empty()) groups[e->groupIds.back()].push_back(e.get());
  size_t count = 0;
  auto mark = [&](TObjekt& x) {
    count += !x.selected;
    x.selected = 1;
    if (x.kind == kPad && x.padLink && !x.padLink->selected) {
      x.padLink->selected = 1;
      ++count;
    }
  };
  for (auto& e : editor.elements()) {
    if (count >= kSelected) break;
    if (e->selected) continue;
    mark(*e);
    if (!e->groupIds.empty())
      for (TObjekt* m : groups[e->groupIds.back()]) mark(*m);
  }
}

template <class Command>
void runCommand(benchmark::State& state, Command command) {
  TEditor editor;
  editor.layout = makeSyntheticLayout(kElements);
  editor.setUndoEntries(1);  // one snapshot kept: memory stays flat
  selectFirst(editor);
  for (auto _ : state) benchmark::DoNotOptimize(command(editor));
  state.counters["elements"] = double(editor.elements().size());
  state.counters["selected"] = double(editor.selectedCount());
}

void BM_Rotate(benchmark::State& state) {
  runCommand(state, rotateSelection);
}
BENCHMARK(BM_Rotate)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_MirrorH(benchmark::State& state) {
  runCommand(state, mirrorSelectionH);
}
BENCHMARK(BM_MirrorH)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_MirrorV(benchmark::State& state) {
  runCommand(state, mirrorSelectionV);
}
BENCHMARK(BM_MirrorV)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_AlignLeft(benchmark::State& state) {
  runCommand(state, [](TEditor& e) { return alignSelection(e, TAlign::left); });
}
BENCHMARK(BM_AlignLeft)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_AlignVerticalCentre(benchmark::State& state) {
  runCommand(state, [](TEditor& e) { return alignSelection(e, TAlign::vcentre); });
}
BENCHMARK(BM_AlignVerticalCentre)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_SnapToGrid(benchmark::State& state) {
  runCommand(state, snapSelectionToGrid);
}
BENCHMARK(BM_SnapToGrid)->Unit(benchmark::kMillisecond)->UseRealTime();

// The snapshot alone, the part of each command that does not depend on the
// selection.
void BM_SnapshotOnly(benchmark::State& state) {
  runCommand(state, [](TEditor& e) {
    e.takeSnapshot();
    return true;
  });
}
BENCHMARK(BM_SnapshotOnly)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
}  // namespace plavesk

BENCHMARK_MAIN();
