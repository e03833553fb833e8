// Printing the 20,000-element synthetic board (300 x 300 mm): the print
// window's preview redrawn after a check box changed, in a maximised
// window's preview area, and the PDF file at 1:1 on A3 (the board's
// rightmost 4 mm fall off the paper).
#include <benchmark/benchmark.h>

#include <QImage>
#include <QPainter>

#include "platform/qt/svg_picture.h"
#include "printing/qt/sheet_pdf.h"
#include "printing/qt/sheet_preview.h"
#include "synthetic_board.h"

namespace plavesk {
namespace {

TLayout& board() {
  static TLayout layout = makeSyntheticLayout(20000);
  return layout;
}

void BM_PrintPreviewAfterCheckBox(benchmark::State& state) {
  ensureGuiApplication();
  TLayout& layout = board();
  TPrintSource source{&layout.elements(), &layout.working(), {}};
  TPrintOptions options;
  // 0: the four layers; 1: with the solder mask and the labelled drill
  // plan of side 1.
  options.items[kPrintMask1] = options.items[kPrintDrill1] = state.range(0) == 1;
  TPrinterPage page;  // A4, printable everywhere but 5 mm
  page.printableLeftMm = page.printableTopMm = 5;
  page.printableWidthMm = 200;
  page.printableHeightMm = 287;
  const int width = 1400, height = 900;
  const TPreviewGeometry g = previewGeometry(width, height, page);
  QImage picture(width, height, QImage::Format_RGB32);
  TRenderSettings settings;
  for (auto _ : state) {
    options.items[kPrintCopper2] = !options.items[kPrintCopper2];
    const RasterImage area = renderPrintableArea(g, source, options, settings);
    QPainter painter(&picture);
    paintSheetPreview(painter, width, height, g, page, area, std::nullopt);
    painter.end();
    benchmark::DoNotOptimize(picture.constBits());
  }
}
BENCHMARK(BM_PrintPreviewAfterCheckBox)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_PrintPdfOneToOne(benchmark::State& state) {
  ensureGuiApplication();
  TLayout& layout = board();
  TPrintSource source{&layout.elements(), &layout.working(), {}};
  TPrintOptions options;
  options.items[kPrintMask1] = options.items[kPrintDrill1] = state.range(0) == 1;
  const TPaperSize paper = *paperSize("A3");
  size_t bytes = 0;
  for (auto _ : state) {
    const std::vector<uint8_t> pdf = sheetPdf(source, options, TRenderSettings(), paper, "bench");
    bytes = pdf.size();
    benchmark::DoNotOptimize(pdf.data());
  }
  state.counters["kB"] = double(bytes) / 1024;
}
BENCHMARK(BM_PrintPdfOneToOne)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace plavesk

BENCHMARK_MAIN();
