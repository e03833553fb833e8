// Painting a 20,000-element board into a 1920 x 1080 view, at zoom to board
// and zoomed four times into a corner (where clipping must pay off), and the
// 600 dpi bitmap export of a 300 x 300 mm board.
#include <benchmark/benchmark.h>

#include "platform/core/raster_canvas.h"
#include "synthetic_board.h"
#include "view/bmp_file.h"
#include "view/image_export.h"
#include "view/main_view_paint.h"

namespace plavesk {
namespace {

TLayout& board() {
  static TLayout layout = makeSyntheticLayout(20000);
  return layout;
}

void paintAt(benchmark::State& state, double zoomFactor) {
  TLayout& layout = board();
  TViewState view;
  view.clientWidth = view.outerWidth = 1920;
  view.clientHeight = view.outerHeight = 1080;
  view.setRecord(layout.working());
  view.zoomBoard();
  if (zoomFactor != 1) view.setZoom(view.zoom() * zoomFactor);
  view.setScroll(0, 0);  // the top-left corner
  RasterImage image(1920, 1080);
  TRenderSettings settings;
  for (auto _ : state) {
    RasterCanvas canvas(image);
    paintMainView(layout.elements(), layout.working(), view, canvas, settings);
    benchmark::DoNotOptimize(image.row(0));
  }
  state.counters["zoom"] = view.zoom();
}

void BM_PaintZoomBoard(benchmark::State& state) {
  paintAt(state, 1);
}
void BM_PaintZoomedIntoCorner(benchmark::State& state) {
  paintAt(state, 4);
}
BENCHMARK(BM_PaintZoomBoard)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PaintZoomedIntoCorner)->Unit(benchmark::kMillisecond);

void BM_ExportBmp600Dpi(benchmark::State& state) {
  TLayout& layout = board();
  const TImageSize size = exportImageSize(layout.working().width, layout.working().height, 600);
  for (auto _ : state) {
    // The image and the file's bytes: two copies at most.
    RasterImage image =
        renderBoardImage(layout.elements(), layout.working(), TRenderSettings(), size);
    std::vector<uint8_t> bmp = encodeBmp24(image, 600);
    benchmark::DoNotOptimize(bmp.data());
  }
  state.counters["pixels"] = double(size.width) * size.height;
}
BENCHMARK(BM_ExportBmp600Dpi)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace
}  // namespace plavesk

BENCHMARK_MAIN();
