#include "editing/grid_values.h"

#include <cmath>
#include <cstdio>

#include "editing/editor.h"

namespace plavesk {

namespace {

constexpr TFixedGrid kFixedGrids[] = {
    {"0.079375 mm (1/32 RM)", 79375},      {"  0.15875 mm (1/16 RM)", 158750},
    {"    0.3175 mm (1/8 RM)", 317500},    {"      0.635 mm (1/4 RM)", 635000},
    {"        1.27 mm (1/2 RM)", 1270000}, {"        2.54 mm (RM)", 2540000},
    {"        5.08 mm (2 RM)", 5080000},
};

}  // namespace

std::span<const TFixedGrid> fixedGrids() {
  return kFixedGrids;
}

double fixedGridUnits(int32_t tag) {
  return tag > 10000 ? tag / 10000.0 : double(tag);
}

double gridUnitsForMm(double mm) {
  for (const TFixedGrid& g : kFixedGrids)
    if (std::abs(mm * 1e6 - g.tag) < 0.5) return fixedGridUnits(g.tag);
  return std::nearbyint(mm * 100);
}

std::string gridButtonCaption(double gridUnits) {
  // "%.8G" as the general format; the C locale's "." is forced below.
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.8G", gridUnits / 100);
  std::string text(buffer);
  for (char& c : text)
    if (c == ',') c = '.';
  text += " mm";
  if (text.size() < 9) text.insert(0, 9 - text.size(), ' ');
  return text;
}

bool setGrid(TEditor& editor, double gridUnits) {
  if (!editor.layout.hasActiveBoard() || !(gridUnits > 0)) return false;
  if (editor.working().grid == gridUnits) return false;
  editor.working().grid = gridUnits;
  editor.repaint();
  return true;
}

}  // namespace plavesk
