// One sheet of the printout drawn on any canvas: the preview of the print
// window, the printer page, the PDF file and the clipboard bitmap all come
// from drawPrintSheet. Per tile: the board background of a ground plane or
// a negative, the template, registration crosses, the outline, then the
// layer, mask and drill-plan passes in their fixed order.
#pragma once

#include <cstdint>
#include <string>

#include "document/board.h"
#include "document/objekt.h"
#include "platform/core/canvas.h"
#include "printing/print_options.h"
#include "view/main_view_paint.h"
#include "view/render_settings.h"

namespace plavesk {

// What is printed: the active board's elements and record (size, ground
// planes, template placement) and the loaded template bitmaps.
struct TPrintSource {
  const TObjektList* elements = nullptr;
  const TBoardRecord* board = nullptr;
  TTemplateImages templates;
};

// Draws every tile that may meet the canvas's clip box. `base` gives the
// current colours; the override and mask enlargements come from `options`.
void drawPrintSheet(Canvas& canvas, const TPrintSource& source, const TPrintOptions& options,
                    const TSheetDevice& device, const TRenderSettings& base);

// The label of a drill in the drill plan: the diameter 2 dim2 / 100 mm,
// general format with up to 8 significant digits, at most 10 characters.
std::string drillPlanLabel(int32_t drillRadius);

// The clipboard bitmap: the first tile at 300 dots per inch, the board
// filling the bitmap (mirrored with "Mirror"). Returns its size in pixels,
// the options to draw it with and the device.
struct TSheetBitmap {
  int32_t width = 0;
  int32_t height = 0;
  TPrintOptions options;
  TSheetDevice device;
};
TSheetBitmap sheetBitmap(const TPrintOptions& options, int32_t boardWidth, int32_t boardHeight,
                         double dpi = 300);

}  // namespace plavesk
