// A drag step of the track-width field's spinner knob while 1,000 tracks are
// selected: every step changes the width of all of them (their areas
// invalidated before and after). In the window on the 20,000-element
// synthetic board, viewport 1920 x 1080 at zoom to board, with the tracks
// strewn over the board or in one neighbourhood, the repaint that follows
// timed apart (stepMs: the knob's move event; showMs: the event loop
// painting; pressMs: the press that starts the drag; held: whether the steps
// drew the selected tracks into a kept picture of the rest; paintsPerStep
// and paintedPx: the drawing area's paint events and the pixels they
// covered; unionPx against boxPx: how much of the box the tracks' own boxes
// cover); and without a window on the 100,000-element board.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QRegion>
#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <vector>

#include "app/lay_spin_edit.h"
#include "app/layout_view.h"
#include "app/main_window.h"
#include "editing/editor.h"
#include "editing/tool_value_fields.h"
#include "editing/tools/tool_values.h"
#include "synthetic_board.h"
#include "view/geometry.h"

namespace plavesk {
namespace {

// Selects `count` ungrouped tracks: the first ones in list order, strewn
// over the whole board, or (`block`) the ones nearest to the first track, as
// a frame would select them.
size_t selectTracks(TEditor& editor, size_t count, bool block = false) {
  editor.deselectAll();
  std::vector<TObjekt*> tracks;
  for (const auto& e : editor.elements())
    if (e->kind == kTrack && e->groupIds.empty() && !e->points.empty()) tracks.push_back(e.get());
  if (tracks.empty()) return 0;
  if (block) {
    const TPoint c = tracks.front()->points.front();
    auto distance = [&](const TObjekt* t) {
      const double dx = double(t->points.front().x) - c.x, dy = double(t->points.front().y) - c.y;
      return dx * dx + dy * dy;
    };
    std::sort(tracks.begin(), tracks.end(),
              [&](const TObjekt* a, const TObjekt* b) { return distance(a) < distance(b); });
  }
  size_t n = 0;
  for (TObjekt* t : tracks) {
    if (n == count) break;
    editor.setSelected(*t, true);
    ++n;
  }
  return n;
}

// Counts the drawing area's paint events and the pixels they cover.
class PaintCounter : public QObject {
 public:
  int paints = 0;
  double pixels = 0;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Paint) {
      ++paints;
      for (const QRect& r : static_cast<QPaintEvent*>(event)->region())
        pixels += double(r.width()) * r.height();
    }
    return QObject::eventFilter(watched, event);
  }
};

// The viewport area of every selected element's box, grown by the 5 pixels
// an invalidation adds.
QRegion selectedArea(TMainWindow& window) {
  QRegion area;
  for (const auto& e : window.editor().elements()) {
    if (!e->selected) continue;
    const TRect b = elementBounds(*e);
    const TPoint a = window.view().worldToViewport(TPoint{b.left, b.top});
    const TPoint c = window.view().worldToViewport(TPoint{b.right, b.bottom});
    area += QRect(QPoint(std::min(a.x, c.x), std::min(a.y, c.y)),
                  QPoint(std::max(a.x, c.x), std::max(a.y, c.y)))
                .adjusted(-5, -5, 5, 5);
  }
  return area;
}

void knobEvent(QWidget* knob, QEvent::Type type, Qt::MouseButton button, int y,
               Qt::MouseButtons held) {
  const QPointF p(2, y);
  QMouseEvent e(type, p, knob->mapToGlobal(p), button, held, Qt::NoModifier);
  QApplication::sendEvent(knob, &e);
}

void spinnerDragStepWindow(benchmark::State& state, bool block) {
  TMainWindowOptions options;
  options.language = 1;
  options.programFolder = std::filesystem::temp_directory_path().string() + "/";
  options.settingsPath = options.programFolder + "plavesk_value_field_bench.ini";
  auto window = std::make_unique<TMainWindow>(options);
  window->resize(1920, 1080);
  window->show();
  QApplication::processEvents();
  window->editor().layout = makeSyntheticLayout(20000);
  window->activateBoard(0);
  window->action("opt.zoomBoard")->trigger();
  QApplication::processEvents();
  const size_t selected = selectTracks(window->editor(), 1000, block);
  window->updateCommandStates();
  // How much of the changed tracks' bounding box their own boxes cover: the
  // most a repaint of their union instead of the box could spare.
  const QRegion changed = selectedArea(*window);
  double unionPx = 0;
  for (const QRect& r : changed) unionPx += double(r.width()) * r.height();
  const QRect box = changed.boundingRect();
  state.counters["unionPx"] = unionPx;
  state.counters["boxPx"] = double(box.width()) * box.height();
  state.counters["unionRects"] = changed.rectCount();
  auto* field = window->findChild<TLaySpinEdit*>("SE_Breite");
  QWidget* knob = field->knob();
  QElapsedTimer pressClock;
  pressClock.start();
  knobEvent(knob, QEvent::MouseButtonPress, Qt::LeftButton, 8, Qt::LeftButton);
  QApplication::processEvents();
  // The press draws the picture of the unselected elements the steps draw
  // into.
  state.counters["pressMs"] = double(pressClock.nsecsElapsed()) / 1e6;
  // Up and down by 4 pixels: one step each time, so every step changes
  // all the selected tracks.
  int y = 8;
  PaintCounter counter;
  window->layoutView()->viewport()->installEventFilter(&counter);
  QElapsedTimer clock;
  int64_t stepNs = 0, showNs = 0;
  for (auto _ : state) {
    y = y == 8 ? 4 : 8;
    clock.start();
    knobEvent(knob, QEvent::MouseMove, Qt::NoButton, y, Qt::LeftButton);
    stepNs += clock.nsecsElapsed();
    clock.start();
    QApplication::processEvents();
    showNs += clock.nsecsElapsed();
  }
  state.counters["held"] = window->layoutView()->holdsUnselected() ? 1 : 0;
  knobEvent(knob, QEvent::MouseButtonRelease, Qt::LeftButton, y, Qt::NoButton);
  const double n = double(std::max<int64_t>(1, state.iterations()));
  state.counters["stepMs"] = double(stepNs) / 1e6 / n;
  state.counters["showMs"] = double(showNs) / 1e6 / n;
  window->layoutView()->viewport()->removeEventFilter(&counter);
  state.counters["paintsPerStep"] = double(counter.paints) / n;
  state.counters["paintedPx"] = counter.pixels / n;
  state.counters["selected"] = double(selected);
  state.counters["undoSteps"] = double(window->editor().layout.active().undoStack.size());
}

void BM_SpinnerDragStepWindow(benchmark::State& state) {
  spinnerDragStepWindow(state, false);
}
// The tracks of one neighbourhood: the repaint covers only their area.
void BM_SpinnerDragStepWindowBlock(benchmark::State& state) {
  spinnerDragStepWindow(state, true);
}

void BM_SpinnerDragStepHeadless(benchmark::State& state) {
  TEditor editor;
  editor.layout = makeSyntheticLayout(100000);
  editor.activateBoard(0);
  TToolValues values;
  TToolValueFields fields(editor, values);
  const size_t selected = selectTracks(editor, 1000);
  fields.enter(TValueField::width);
  double mm = 0.8;
  for (auto _ : state) {
    mm = mm == 0.8 ? 0.9 : 0.8;
    fields.changed(TValueField::width, mm);
  }
  fields.exit(TValueField::width, mm);
  state.counters["selected"] = double(selected);
}

BENCHMARK(BM_SpinnerDragStepWindow)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SpinnerDragStepWindowBlock)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SpinnerDragStepHeadless)->Unit(benchmark::kMillisecond);

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
