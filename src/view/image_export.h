// The pictures of a whole board: its size in pixels at a resolution, the
// memory the export dialog estimates, and the drawing of the board into a
// raster image with the passes of the main view.
#pragma once

#include <cstdint>

#include "document/board.h"
#include "platform/core/canvas.h"
#include "platform/core/raster_canvas.h"
#include "view/main_view_paint.h"
#include "view/render_settings.h"

namespace plavesk {

constexpr int kExportMinDpi = 100;
constexpr int kExportMaxDpi = 600;
constexpr int kExportDefaultDpi = 300;
constexpr int64_t kLargeExportKb = 25000;  // asks before going on

struct TImageSize {
  int32_t width = 0;
  int32_t height = 0;
  friend bool operator==(const TImageSize&, const TImageSize&) = default;
};

// round(dpi x mm / 25.4) in each direction.
TImageSize exportImageSize(int32_t boardWidth, int32_t boardHeight, double dpi);
// Black and white round(w h / 1024) div 8 kB; colour round(w h / 1024) x 3 kB.
int64_t exportMemoryEstimateKb(const TImageSize& size, bool colour);

// The board rectangle onto the whole image; mirrored left-right for the
// photo view of side 2.
CanvasMapping exportMapping(int32_t boardWidth, int32_t boardHeight, const TImageSize& size,
                            bool mirrored);

// The export passes on any canvas with its mapping installed: board
// background (margin 1 unit), ground plane, template, elements with holes.
// No grid, rubber bands or contours; selected elements in their ordinary
// look. The photo view is drawn when settings.photoView is set.
void drawBoardPicture(const TObjektList& list, Canvas& canvas, const TBoardRecord& state,
                      const TRenderSettings& settings, const TTemplateImages& templates);

// The whole board as a 24-bit image of `size` pixels.
RasterImage renderBoardImage(const TObjektList& list, const TBoardRecord& state,
                             const TRenderSettings& settings, const TImageSize& size,
                             const TTemplateImages& templates = {});

// Black and white: the background colour and near-white become white,
// everything drawn on it black, so copper prints dark on a light film.
bool isBlackInMonochrome(CanvasColour c, CanvasColour background);

}  // namespace plavesk
