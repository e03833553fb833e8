// The board-zoom overview in the tool column: the board panel and the
// rectangle of the area the viewport shows.
#pragma once

#include <cstdint>

#include "view/view_state.h"

namespace plavesk {

constexpr int32_t kOverviewColumnWidth = 93;
constexpr double kOverviewPixels = 80;  // the board's longer side

struct TOverviewGeometry {
  double unitsPerPixel = 0;  // k
  int32_t panelLeft = 0;     // within the column
  int32_t panelWidth = 0;
  int32_t panelHeight = 0;
  // The visible area, in panel pixels.
  int32_t left = 0, top = 0, width = 0, height = 0;
};

// Nothing sensible for an empty board or a zero zoom: all zero then.
TOverviewGeometry overviewGeometry(const TViewState& view);

// The scroll positions for the rectangle dragged to (left, top) of the panel.
TPoint overviewScroll(const TViewState& view, const TOverviewGeometry& g, int32_t left,
                      int32_t top);

}  // namespace plavesk
