// The drawing area's paint path: one full frame of a 20,000-element board at
// zoom to board and at a closer zoom, and the first frame after opening a
// 100,000-element layout. The window runs offscreen. For comparison, the
// same frame drawn figure by figure on a QPainter (the canvas of printing
// and the clipboard).
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QPainter>
#include <cstdlib>
#include <filesystem>
#include <memory>

#include "app/layout_view.h"
#include "app/main_window.h"
#include "document/file_io.h"
#include "document/layout_file.h"
#include "platform/qt/qt_canvas.h"
#include "synthetic_board.h"
#include "view/main_view_paint.h"

namespace plavesk {
namespace {

std::unique_ptr<TMainWindow> makeWindow() {
  TMainWindowOptions options;
  options.language = 1;
  options.programFolder = std::filesystem::temp_directory_path().string() + "/";
  options.settingsPath = options.programFolder + "plavesk_bench.ini";
  auto w = std::make_unique<TMainWindow>(options);
  w->resize(1280, 900);
  w->show();
  QApplication::processEvents();
  return w;
}

// Renders the whole viewport through its paint event.
void paintFrame(TMainWindow& w, QImage& target) {
  QWidget* port = w.layoutView()->viewport();
  QPainter p(&target);
  port->render(&p);
}

void paintBoard(benchmark::State& state, bool zoomToBoard) {
  auto w = makeWindow();
  TLayout synthetic = makeSyntheticLayout(20000);
  w->editor().layout = std::move(synthetic);
  w->activateBoard(0);
  if (zoomToBoard)
    w->action("opt.zoomBoard")->trigger();
  else
    w->view().setZoom(0.3);
  QImage target(w->layoutView()->viewport()->size(), QImage::Format_RGB32);
  for (auto _ : state) paintFrame(*w, target);
}

void BM_PaintZoomToBoard(benchmark::State& state) {
  paintBoard(state, true);
}
void BM_PaintCloseZoom(benchmark::State& state) {
  paintBoard(state, false);
}

// Open a 100,000-element file and paint the first frame.
void BM_OpenAndFirstFrame(benchmark::State& state) {
  const std::string path =
      (std::filesystem::temp_directory_path() / "plavesk_bench_100k.lay").string();
  {
    TLayout big = makeSyntheticLayout(100000);
    std::string error;
    if (!writeFileAtomically(path, encodeLayout(big), error)) {
      state.SkipWithError(error.c_str());
      return;
    }
  }
  auto w = makeWindow();
  QImage target(w->layoutView()->viewport()->size(), QImage::Format_RGB32);
  for (auto _ : state) {
    w->editor().layout.modified = false;
    w->files().openFromCommandLine(path);
    paintFrame(*w, target);
  }
  std::filesystem::remove(path);
}

// The window's frame at zoom to board, drawn with QtCanvas on the painter.
void BM_PaintZoomToBoardOnPainter(benchmark::State& state) {
  auto w = makeWindow();
  w->editor().layout = makeSyntheticLayout(20000);
  w->activateBoard(0);
  w->action("opt.zoomBoard")->trigger();
  const TViewState& view = w->view();
  const QSize size = w->layoutView()->viewport()->size();
  QImage target(size, QImage::Format_RGB32);
  const TRenderSettings settings;
  for (auto _ : state) {
    QPainter painter(&target);
    painter.fillRect(target.rect(), Qt::white);
    painter.translate(-view.scrollX(), -view.scrollY());
    const QRect clip = QRect(QPoint(view.scrollX(), view.scrollY()), size)
                           .intersected(QRect(0, 0, view.surfaceWidth(), view.surfaceHeight()));
    painter.setClipRect(clip);
    QtCanvas canvas(painter, {clip.left(), clip.top(), clip.right() + 1, clip.bottom() + 1});
    paintMainView(w->editor().elements(), w->editor().layout.working(), view, canvas, settings);
  }
}

BENCHMARK(BM_PaintZoomToBoard)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PaintZoomToBoardOnPainter)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PaintCloseZoom)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OpenAndFirstFrame)->Unit(benchmark::kMillisecond)->Iterations(3);

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
