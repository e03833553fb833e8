// The paint procedure of the main view and the passes it shares with image
// export: the board background, the template of the active side, the ground
// plane, the grid, the elements with their holes, the rubber bands and the
// isolation contours. The window calls paintMainView for every paint request
// with a canvas on the paint surface whose clip box is the invalid area.
#pragma once

#include <cstdint>
#include <vector>

#include "document/board.h"
#include "document/objekt.h"
#include "platform/core/canvas.h"
#include "view/layer_passes.h"
#include "view/render_settings.h"
#include "view/view_state.h"

namespace plavesk {

// Settings of the view menu.
struct TGridOptions {
  bool visible = true;
  int subdivision = 4;  // 0 ("Off"), 2, 4, 5 or 10: every n-th line is two pixels wide
};

// The loaded template bitmaps of side 1 and side 2 (null when none).
struct TTemplateImages {
  const CanvasImage* side1 = nullptr;
  const CanvasImage* side2 = nullptr;
};

struct TMainViewExtras {
  TGridOptions grid;
  TTemplateImages templates;
  // The isolation contours while they exist: closed polylines.
  const std::vector<std::vector<TPoint>>* contours = nullptr;
  // The selected elements alone draw only their own figures: no ground,
  // template, grid or contours.
  TElementSubset subset = TElementSubset::all;
};

// 10000 units onto round(zoom x 10000) pixels, y upwards, world (0, 0) on
// pixel (0, 0).
CanvasMapping zoomMapping(double zoom);

// The main view's mapping: zoomMapping, the board's top-left corner at pixel
// (0, 0) of the paint surface; mirrored left-right inside the board in the
// photo view of side 2.
CanvasMapping viewMapping(const TViewState& view);

// The whole picture of the main view. The photo view and its side follow the
// view state (photoViewActive, photoMirrored); the silkscreen and X-ray
// switches come from settings.photo. Nothing while paintSuppressed. The
// elements are only read: a tall clip is painted in two halves on two
// threads.
void paintMainView(const TObjektList& elements, const TBoardRecord& state, const TViewState& view,
                   Canvas& canvas, const TRenderSettings& settings,
                   const TMainViewExtras& extras = {});

// The board rectangle grown by `margin` units to the right and below, in the
// background colour (the active side's copper with its ground plane on; the
// photo board or copper colour in the photo view).
void drawBoardBackground(Canvas& canvas, const TBoardRecord& state, const TRenderSettings& settings,
                         int32_t margin);

// The template of the active side, stretched into templateRect. Nothing
// when it is not shown, not loaded or its resolution is not positive.
void drawTemplate(Canvas& canvas, const TBoardRecord& state, const TRenderSettings& settings,
                  const TTemplateImages& templates);

// World rectangle {left, top, right, bottom} (top = 0 edge, bottom below) a
// template of the given pixel size covers; false for a resolution <= 0.
bool templateRect(int32_t pixelWidth, int32_t pixelHeight, int32_t dpi, int32_t offsetX,
                  int32_t offsetY, TRect& out);

// Grid lines inside the board, every n-th two pixels wide. Nothing when the
// grid is 4 pixels or finer, or not positive.
void drawGrid(Canvas& canvas, const TBoardRecord& state, const TViewState& view,
              const TRenderSettings& settings, const TGridOptions& options);

}  // namespace plavesk
