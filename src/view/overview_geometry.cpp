#include "view/overview_geometry.h"

#include <algorithm>

#include "view/units.h"

namespace plavesk {

TOverviewGeometry overviewGeometry(const TViewState& v) {
  TOverviewGeometry g;
  const int32_t longer = std::max(v.boardWidth(), v.boardHeight());
  if (longer <= 0 || !(v.zoom() > 0)) return g;
  const double k = longer / kOverviewPixels;
  g.unitsPerPixel = k;
  g.panelWidth = roundToUnit(v.boardWidth() / k);
  g.panelHeight = roundToUnit(v.boardHeight() / k);
  g.panelLeft = (kOverviewColumnWidth - g.panelWidth) / 2;
  const TViewState::TVisibleArea area = v.visibleArea();
  g.width = roundToUnit(area.width / k);
  g.height = roundToUnit(area.height / k);
  g.left = roundToUnit(area.left / k);
  g.top = roundToUnit(area.top / k);
  return g;
}

TPoint overviewScroll(const TViewState& v, const TOverviewGeometry& g, int32_t left, int32_t top) {
  return {roundToUnit(v.zoom() * left * g.unitsPerPixel),
          roundToUnit(v.zoom() * top * g.unitsPerPixel)};
}

}  // namespace plavesk
