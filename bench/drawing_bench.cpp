// Placing one pad on the 100,000-element synthetic board with the pad tool:
// the click, its undo snapshot of the whole list and the invalidation of
// the pad's area. Once through the window offscreen (viewport 1920 x 1080
// at zoom to board, the screen update timed apart), once headless through
// the runner's drawing area. Between placements, outside the timing, the
// placement is undone so the undo stack and the board keep their size.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QMouseEvent>
#include <cstdlib>
#include <filesystem>
#include <memory>

#include "app/layout_view.h"
#include "app/main_window.h"
#include "editing/editor.h"
#include "editing/tools/script_host.h"
#include "editing/tools/tool_manager.h"
#include "synthetic_board.h"

namespace plavesk {
namespace {

constexpr size_t kElements = 100000;

// An empty spot of the board (the pad lands on whatever is there anyway).
TPoint spot(const TEditor& editor) {
  return {editor.working().width / 2, -editor.working().height / 2};
}

void BM_PlacePadWindow(benchmark::State& state) {
  TMainWindowOptions options;
  options.language = 1;
  options.programFolder = std::filesystem::temp_directory_path().string() + "/";
  options.settingsPath = options.programFolder + "plavesk_drawing_bench.ini";
  auto window = std::make_unique<TMainWindow>(options);
  window->resize(1920, 1080);
  window->show();
  QApplication::processEvents();
  QWidget* port = window->layoutView()->viewport();
  const QSize chrome = window->size() - port->size();
  window->resize(QSize(1920, 1080) + chrome);
  QApplication::processEvents();
  window->editor().layout = makeSyntheticLayout(kElements);
  window->activateBoard(0);
  window->action("opt.zoomBoard")->trigger();
  window->tools().selectTool(TToolMode::pad);
  QApplication::processEvents();
  const TPoint p = window->view().worldToViewport(spot(window->editor()));
  const QPoint at(p.x, p.y);
  auto send = [&](QEvent::Type type, Qt::MouseButton button, Qt::MouseButtons held) {
    QMouseEvent e(type, at, port->mapToGlobal(at), button, held, Qt::NoModifier);
    QApplication::sendEvent(port, &e);
  };
  send(QEvent::MouseMove, Qt::NoButton, Qt::NoButton);
  QApplication::processEvents();
  const size_t before = window->editor().elements().size();
  QElapsedTimer clock;
  int64_t showNs = 0;
  for (auto _ : state) {
    send(QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton);
    send(QEvent::MouseButtonRelease, Qt::LeftButton, Qt::NoButton);
    state.PauseTiming();
    clock.start();
    QApplication::processEvents();
    showNs += clock.nsecsElapsed();
    if (window->editor().elements().size() != before + 1) {
      state.SkipWithError("the click placed no pad");
      break;
    }
    window->editor().undo();
    QApplication::processEvents();
    state.ResumeTiming();
  }
  state.counters["showMs"] =
      double(showNs) / 1e6 / double(std::max<int64_t>(1, state.iterations()));
  state.counters["elements"] = double(before);
}

void BM_PlacePadHeadless(benchmark::State& state) {
  TEditor editor;
  editor.layout = makeSyntheticLayout(kElements);
  editor.activateBoard(0);
  TScriptSession session(editor);
  session.tools.selectTool(TToolMode::pad);
  const TPoint at = spot(editor);
  session.move(at, {});
  const size_t before = editor.elements().size();
  for (auto _ : state) {
    session.press(at, TInputEvent::left, {});
    session.release(at, {});
    state.PauseTiming();
    if (editor.elements().size() != before + 1) {
      state.SkipWithError("the click placed no pad");
      break;
    }
    editor.undo();
    state.ResumeTiming();
  }
  state.counters["elements"] = double(before);
}

// The reference: the undo snapshot alone, the bulk of a placement (each
// one copied into the records of the one withdrawn before it, as a
// placement after an undo reuses those of the dropped redo step).
void BM_SnapshotOnly(benchmark::State& state) {
  TEditor editor;
  editor.layout = makeSyntheticLayout(kElements);
  editor.activateBoard(0);
  for (auto _ : state) {
    editor.takeSnapshot();
    state.PauseTiming();
    editor.discardNewestSnapshot();
    state.ResumeTiming();
  }
}

// The command-state pass that follows every placement, alone.
void BM_CommandStatesOnly(benchmark::State& state) {
  TEditor editor;
  editor.layout = makeSyntheticLayout(kElements);
  editor.activateBoard(0);
  TSpinHighlights highlights;
  for (auto _ : state) benchmark::DoNotOptimize(editor.commandStates(highlights));
}

BENCHMARK(BM_CommandStatesOnly)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SnapshotOnly)->Unit(benchmark::kMillisecond)->Iterations(30);
BENCHMARK(BM_PlacePadWindow)->Unit(benchmark::kMillisecond)->Iterations(30);
BENCHMARK(BM_PlacePadHeadless)->Unit(benchmark::kMillisecond)->Iterations(30);

}  // namespace
}  // namespace plavesk

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 1);
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
