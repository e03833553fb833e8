#include "printing/print_preview.h"

#include <algorithm>

namespace plavesk {

TPreviewGeometry previewGeometry(int areaWidth, int areaHeight, const TPrinterPage& page) {
  TPreviewGeometry g;
  const double room = std::max(1, areaWidth - 2 * kPreviewMargin);
  const double roomY = std::max(1, areaHeight - 2 * kPreviewMargin);
  if (page.paperWidthMm <= 0 || page.paperHeightMm <= 0) return g;
  g.pixelsPerMm = std::min(room / page.paperWidthMm, roomY / page.paperHeightMm);
  g.sheetWidth = page.paperWidthMm * g.pixelsPerMm;
  g.sheetHeight = page.paperHeightMm * g.pixelsPerMm;
  g.sheetLeft = (areaWidth - g.sheetWidth) / 2;
  g.sheetTop = (areaHeight - g.sheetHeight) / 2;
  g.printableLeft = g.sheetLeft + page.printableLeftMm * g.pixelsPerMm;
  g.printableTop = g.sheetTop + page.printableTopMm * g.pixelsPerMm;
  g.printableWidth = page.printableWidthMm * g.pixelsPerMm;
  g.printableHeight = page.printableHeightMm * g.pixelsPerMm;
  return g;
}

std::vector<TSheetRulerTick> sheetRulerTicks(double sheetStart, double lengthMm,
                                             double pixelsPerMm) {
  std::vector<TSheetRulerTick> ticks;
  for (int mm = 0; mm <= lengthMm; mm += 10) {
    TSheetRulerTick t;
    t.mm = mm;
    t.position = sheetStart + mm * pixelsPerMm;
    if (mm % 50 == 0) {
      t.length = 15;
      t.label = std::to_string(mm);
    }
    ticks.push_back(t);
  }
  return ticks;
}

}  // namespace plavesk
