// The drawing area's feedback and moves on the 20,000-element synthetic
// board, viewport 1920 x 1080 at zoom to board, the window offscreen: one
// mouse move with the move preview of one element (erase, redraw and the
// repaint of its rectangles), one move of the preview of a 1,000-element
// selection, and the release of a move of 10,000 selected elements with its
// undo snapshot.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QMouseEvent>
#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <vector>

#include "app/layout_view.h"
#include "app/main_window.h"
#include "editing/tools/tool_manager.h"
#include "synthetic_board.h"
#include "view/geometry.h"

namespace plavesk {
namespace {

constexpr size_t kElements = 20000;

class Bench {
 public:
  Bench() {
    TMainWindowOptions options;
    options.language = 1;
    options.programFolder = std::filesystem::temp_directory_path().string() + "/";
    options.settingsPath = options.programFolder + "plavesk_tool_bench.ini";
    window = std::make_unique<TMainWindow>(options);
    window->resize(1920, 1080);
    window->show();
    QApplication::processEvents();
    // The viewport itself 1920 x 1080.
    const QSize chrome = window->size() - port()->size();
    window->resize(QSize(1920, 1080) + chrome);
    QApplication::processEvents();
    window->editor().layout = makeSyntheticLayout(kElements);
    window->activateBoard(0);
    window->action("opt.zoomBoard")->trigger();
    QApplication::processEvents();
  }

  QWidget* port() const { return window->layoutView()->viewport(); }
  TEditor& editor() { return window->editor(); }

  QPoint viewportAt(TPoint world) const {
    const TPoint p = window->view().worldToViewport(world);
    return QPoint(p.x, p.y);
  }
  void send(QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::MouseButtons held) {
    QMouseEvent e(type, at, port()->mapToGlobal(at), button, held, Qt::NoModifier);
    QApplication::sendEvent(port(), &e);
  }
  void moveTo(QPoint at) { send(QEvent::MouseMove, at, Qt::NoButton, Qt::LeftButton); }

  // Selects `count` elements (whole groups, so a few more) and presses on
  // a selected SMD pad so that the selection is being moved; false when no
  // press started a move. A block is the elements nearest to the pad, as a
  // frame selects them; otherwise they are taken in list order, strewn over
  // the whole board.
  bool pressOnSelection(size_t count, bool block = true) {
    for (const auto& candidate : editor().elements()) {
      // One element alone: an SMD pad outside any group.
      if (candidate->kind != kSmdPad || !candidate->groupIds.empty()) continue;
      editor().deselectAll();
      editor().setSelected(*candidate, true);
      std::vector<TObjekt*> order;
      for (const auto& e : editor().elements()) order.push_back(e.get());
      if (block) {
        auto distance = [&](const TObjekt* e) {
          const TRect b = elementBounds(*e);
          const double dx = (double(b.left) + b.right) / 2 - candidate->x;
          const double dy = (double(b.top) + b.bottom) / 2 - candidate->y;
          return dx * dx + dy * dy;
        };
        std::sort(order.begin(), order.end(),
                  [&](const TObjekt* a, const TObjekt* b) { return distance(a) < distance(b); });
      }
      for (TObjekt* e : order) {
        if (editor().selectedCount() >= count) break;
        editor().setSelected(*e, true);
      }
      pressed = viewportAt(TPoint{candidate->x, candidate->y});
      send(QEvent::MouseMove, pressed, Qt::NoButton, Qt::NoButton);
      send(QEvent::MouseButtonPress, pressed, Qt::LeftButton, Qt::LeftButton);
      if (window->tools().state().movingSelection && editor().selectedCount() >= count) {
        QApplication::processEvents();
        return true;
      }
      send(QEvent::MouseButtonRelease, pressed, Qt::LeftButton, Qt::NoButton);
    }
    return false;
  }

  std::unique_ptr<TMainWindow> window;
  QPoint pressed;
};

// One move of the pointer while a preview is shown: the previous preview is
// erased, the new one drawn, and the screen updated where they lie.
void previewMoves(benchmark::State& state, size_t selected, bool block = true, bool rulers = true) {
  Bench b;
  // Without the rulers' markers and the status coordinates, which follow
  // every move of the pointer, the drawing area's own share.
  if (!rulers) b.window->layoutView()->cursorMoved = {};
  if (!b.pressOnSelection(selected, block)) {
    state.SkipWithError("no selected pad to press on");
    return;
  }
  const QPoint there = b.pressed + QPoint(40, 30), back = b.pressed + QPoint(20, 60);
  bool toThere = true;
  // The two halves: the tools erase and draw the preview into the frame
  // image; the event loop puts its rectangles on the screen.
  QElapsedTimer clock;
  int64_t drawNs = 0, showNs = 0;
  for (auto _ : state) {
    clock.start();
    b.moveTo(toThere ? there : back);
    drawNs += clock.nsecsElapsed();
    clock.start();
    QApplication::processEvents();
    showNs += clock.nsecsElapsed();
    toThere = !toThere;
  }
  const double n = double(std::max<int64_t>(1, state.iterations()));
  state.counters["drawMs"] = double(drawNs) / 1e6 / n;
  state.counters["showMs"] = double(showNs) / 1e6 / n;
  state.counters["selected"] = double(b.editor().selectedCount());
  state.counters["visible"] = b.window->tools().feedbackVisible(TFeedbackKind::movePreview);
}

void BM_MovePreviewOneElement(benchmark::State& state) {
  previewMoves(state, 1);
}
void BM_MovePreviewOneElementViewOnly(benchmark::State& state) {
  previewMoves(state, 1, true, false);
}
void BM_MovePreview1000Elements(benchmark::State& state) {
  previewMoves(state, 1000);
}
// The worst case: the 1,000 elements strewn over the whole view, so each
// move shows the whole viewport again.
void BM_MovePreview1000Strewn(benchmark::State& state) {
  previewMoves(state, 1000, false);
}

// The release that moves 10,000 selected elements (a block of half the board), undo snapshot and
// the invalidation of their areas included; the repaint that follows and the undo that restores the
// board are not timed.
void BM_ReleaseMove10000Elements(benchmark::State& state) {
  Bench b;
  if (!b.pressOnSelection(10000)) {
    state.SkipWithError("no selected pad to press on");
    return;
  }
  const QPoint there = b.pressed + QPoint(40, 30);
  size_t moved = 0;
  for (auto _ : state) {
    state.PauseTiming();
    b.moveTo(there);
    moved = b.editor().selectedCount();
    state.ResumeTiming();
    b.send(QEvent::MouseButtonRelease, there, Qt::LeftButton, Qt::NoButton);
    state.PauseTiming();
    QApplication::processEvents();
    b.editor().undo();
    const bool again = b.pressOnSelection(10000);
    state.ResumeTiming();
    if (!again) {
      state.SkipWithError("the selection could not be pressed again");
      break;
    }
  }
  state.counters["selected"] = double(moved);
}

BENCHMARK(BM_MovePreviewOneElement)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MovePreviewOneElementViewOnly)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MovePreview1000Elements)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MovePreview1000Strewn)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReleaseMove10000Elements)->Unit(benchmark::kMillisecond)->Iterations(10);

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
