// The connection tools in the window, offscreen, each measured up to the
// picture on screen: a move of the autoroute tool over a 2,000-pad board
// with 1,000 rubber bands (its hover classification and the repaint of the
// highlighted band), a test click on the 20,000-element synthetic board up
// to the marked net painted, again as the first click after an edit, and
// both headless, and opening a macro folder of 500 macros in the library
// panel (the list read and the first macro loaded and drawn), and the first
// test click on a board just opened.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QListWidget>
#include <QMouseEvent>
#include <algorithm>
#include <chrono>
#include <filesystem>
#include <memory>
#include <random>
#include <thread>

#include "app/layout_view.h"
#include "app/macro_panel.h"
#include "app/main_window.h"
#include "editing/connectivity_commands.h"
#include "editing/editor.h"
#include "editing/footprint_macros.h"
#include "editing/tool_actions.h"
#include "editing/tools/tool_manager.h"
#include "routing/connectivity.h"
#include "synthetic_board.h"

namespace plavesk {
namespace {

namespace fs = std::filesystem;

// 2,000 pads on a 300 x 300 mm lattice, a band from every other pad to its
// right-hand neighbour.
TLayout padBoard() {
  TLayout layout;
  layout.addBoard("Pads");
  layout.working().width = 30000;
  layout.working().height = 30000;
  layout.working().activeLayer = kCopper1;
  TObjektList& l = layout.elements();
  std::mt19937 rng(5);
  for (int r = 0; r < 40; ++r)
    for (int c = 0; c < 50; ++c) {
      l.push_back(createPad({300 + c * 590 + int32_t(rng() % 60), -400 - r * 730}, 60, kPadRound,
                            kCopper1, 30));
      l.back()->clearance = 40;
    }
  for (size_t i = 0; i + 1 < l.size(); i += 2) {
    l[i]->connections.push_back(l[i + 1].get());
    l[i + 1]->connections.push_back(l[i].get());
  }
  return layout;
}

// The centre of the first pad on copper side 1: the clicked element.
TPoint firstCopperPad(const TObjektList& list) {
  for (const auto& e : list)
    if (e->kind == kPad && e->layer == kCopper1) return {e->x, e->y};
  return {};
}

class Window {
 public:
  explicit Window(const std::string& folder) {
    TMainWindowOptions options;
    options.language = 1;
    options.programFolder = folder + "/";
    options.settingsPath = folder + "/PLAVESKA.INI";
    window = std::make_unique<TMainWindow>(options);
    window->resize(1600, 1000);
    window->show();
    QApplication::processEvents();
  }
  void load(TLayout layout) {
    window->editor().layout = std::move(layout);
    window->activateBoard(0);
    window->action("opt.zoomBoard")->trigger();
    QApplication::processEvents();
  }
  QWidget* port() const { return window->layoutView()->viewport(); }
  QPoint at(TPoint world) const {
    const TPoint p = window->view().worldToViewport(world);
    return QPoint(p.x, p.y);
  }
  void mouse(QEvent::Type type, QPoint p, Qt::MouseButton button) {
    QMouseEvent e(type, p, port()->mapToGlobal(p), button,
                  type == QEvent::MouseButtonPress ? Qt::MouseButtons(button) : Qt::NoButton,
                  Qt::NoModifier);
    QApplication::sendEvent(port(), &e);
  }
  // Paints what the event asked for, as the next turn of the event loop does.
  void show() { QApplication::processEvents(); }
  // A left click at p after the pointer came there, up to its picture shown.
  void click(QPoint p) {
    mouse(QEvent::MouseMove, p, Qt::NoButton);
    mouse(QEvent::MouseButtonPress, p, Qt::LeftButton);
    mouse(QEvent::MouseButtonRelease, p, Qt::LeftButton);
    show();
  }

  std::unique_ptr<TMainWindow> window;
};

std::string scratch(const char* name) {
  const fs::path p = fs::temp_directory_path() / (std::string("plavesk-bench-") + name);
  fs::remove_all(p);
  fs::create_directories(p);
  return p.string();
}

void BM_AutorouteHover(benchmark::State& state) {
  Window w(scratch("hover"));
  w.load(padBoard());
  w.window->selectTool(*findToolButton("autoroute"));
  const TObjektList& l = w.window->editor().elements();
  // Over a band in the middle of the board, then over empty ground below the
  // last row: each move changes what is highlighted.
  const TObjekt& a = *l[1000];
  const TObjekt& b = *l[1001];
  const QPoint band = w.at({(a.x + b.x) / 2, a.y});
  const QPoint empty = w.at({15000, -29800});
  bool onBand = false;
  for (auto _ : state) {
    onBand = !onBand;
    w.mouse(QEvent::MouseMove, onBand ? band : empty, Qt::NoButton);
    w.show();
  }
  state.counters["hover"] = w.window->tools().state().autorouteHover;
}

void BM_TestClick20000(benchmark::State& state) {
  Window w(scratch("test"));
  w.load(makeSyntheticLayout(20000));
  w.window->selectTool(*findToolButton("test"));
  const TPoint target = firstCopperPad(w.window->editor().elements());
  const QPoint p = w.at(target);
  // The nets of the board are worked out by a first click before the
  // measured ones.
  w.click(p);
  size_t marked = 0;
  for (auto _ : state) {
    w.click(p);
    marked = w.window->editor().selectedCount();
  }
  state.counters["marked"] = double(marked);
}

// The first click after an edit, up to the marked net painted: one track
// end moves by a unit and back in turn before each click, so the nets are
// worked out again every time.
void BM_TestClickAfterEdit20000(benchmark::State& state) {
  Window w(scratch("test-edit"));
  w.load(makeSyntheticLayout(20000));
  w.window->selectTool(*findToolButton("test"));
  TPoint target{};
  TObjekt* moved = nullptr;
  for (const auto& e : w.window->editor().elements()) {
    if (e->kind == kPad && e->layer == kCopper1 && target == TPoint{}) target = {e->x, e->y};
    if (e->kind == kTrack && !moved) moved = e.get();
  }
  const QPoint p = w.at(target);
  // The first analysis of the board happens before the measured clicks.
  w.click(p);
  size_t marked = 0;
  int32_t step = 1;
  for (auto _ : state) {
    moved->points.back().x += step;
    step = -step;
    w.click(p);
    marked = w.window->editor().selectedCount();
  }
  state.counters["marked"] = double(marked);
}

// The first test click on a board just opened, up to the marked net painted.
// Each round starts with no nets kept (as after starting the program), puts
// the board in the window, chooses the test tool (not timed; its cost is the
// counter chooseToolMs), waits the argument in milliseconds (the pointer
// travelling from the tool bar to the board) and then times the click. The
// nets worked out ahead on another thread during the pause are not in the
// CPU time shown; BM_NetsFromScratch20000 is what they cost. With no pause
// the click waits for them.
void BM_FirstTestClickAfterOpen20000(benchmark::State& state) {
  Window w(scratch("test-open"));
  const auto pause = std::chrono::milliseconds(state.range(0));
  size_t marked = 0;
  double chooseMs = 0;
  for (auto _ : state) {
    state.PauseTiming();
    w.window->selectTool(*findToolButton("edit"));
    sharedNetCache() = TNetCache();
    w.load(makeSyntheticLayout(20000));
    const TPoint target = firstCopperPad(w.window->editor().elements());
    const QPoint p = w.at(target);
    const auto chosen = std::chrono::steady_clock::now();
    w.window->selectTool(*findToolButton("test"));
    w.show();
    chooseMs += std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - chosen)
                    .count();
    std::this_thread::sleep_for(pause);
    state.ResumeTiming();
    w.click(p);
    marked = w.window->editor().selectedCount();
  }
  state.counters["marked"] = double(marked);
  state.counters["chooseToolMs"] = chooseMs / double(std::max<int64_t>(1, state.iterations()));
}

// The same click without the window: marking the net alone.
void BM_TestAtHeadless20000(benchmark::State& state) {
  TEditor editor;
  editor.layout = makeSyntheticLayout(20000);
  const TPoint target = firstCopperPad(editor.elements());
  testAt(editor, target);  // the first analysis of the board
  size_t marked = 0;
  for (auto _ : state) marked = testAt(editor, target).size();
  state.counters["marked"] = double(marked);
}

// The nets of the whole board from scratch, as the first click on a board
// just opened needs them.
void BM_NetsFromScratch20000(benchmark::State& state) {
  TLayout layout = makeSyntheticLayout(20000);
  size_t nets = 0;
  for (auto _ : state) {
    TNetCache cache;
    const std::vector<int>& all = cache.nets(layout.elements(), layout.working());
    nets = size_t(std::count_if(all.begin(), all.end(), [&](int n) { return n >= 0; }));
  }
  state.counters["inNets"] = double(nets);
}

// A click right after an edit: the copper changed, so the nets are
// analysed afresh (one track end moves by a unit and back in turn).
void BM_TestAtHeadlessAfterEdit20000(benchmark::State& state) {
  TEditor editor;
  editor.layout = makeSyntheticLayout(20000);
  // The same pad as above; the first track moves.
  const TObjekt* pad = nullptr;
  TObjekt* moved = nullptr;
  for (const auto& e : editor.elements()) {
    if (e->kind == kPad && e->layer == kCopper1 && !pad) pad = e.get();
    if (e->kind == kTrack && !moved) moved = e.get();
  }
  const TPoint target{pad->x, pad->y};
  testAt(editor, target);  // the first analysis of the board
  size_t marked = 0;
  int32_t step = 1;
  for (auto _ : state) {
    moved->points.back().x += step;
    step = -step;
    marked = testAt(editor, target).size();
  }
  state.counters["marked"] = double(marked);
}

void BM_OpenMacroFolder500(benchmark::State& state) {
  const std::string folder = scratch("macros");
  fs::create_directories(folder + "/Makros/Big");
  const std::vector<TFootprintMacro> footprints = footprintMacros();
  std::string error;
  for (int i = 0; i < 500; ++i) {
    const TFootprintMacro& f = footprints[size_t(i) % footprints.size()];
    writeMacroFile(folder + "/Makros/Big/M" + std::to_string(1000 + i) + "_" + f.fileName, f.macro,
                   error);
  }
  Window w(folder);
  w.window->action("opt.showMacros")->trigger();
  TMacroPanel* panel = w.window->macroPanel();
  for (auto _ : state) {
    panel->openFolder("");
    QApplication::processEvents();
    panel->openFolder("Big");
    QApplication::processEvents();
  }
  state.counters["files"] = panel->fileList()->count();
}

BENCHMARK(BM_AutorouteHover)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TestClick20000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TestClickAfterEdit20000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FirstTestClickAfterOpen20000)
    ->Arg(0)
    ->Arg(1000)
    ->Iterations(5)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TestAtHeadless20000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TestAtHeadlessAfterEdit20000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_NetsFromScratch20000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OpenMacroFolder500)->Unit(benchmark::kMillisecond);

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
