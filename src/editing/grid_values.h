// The grid spacings the grid list offers and the grid button's caption.
#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace plavesk {

class TEditor;

// The seven fixed grids of the grid list; tags in nanometres.
struct TFixedGrid {
  const char* caption;  // indented so the numbers line up
  int32_t tag;
};
std::span<const TFixedGrid> fixedGrids();

// A fixed grid's spacing in units: tag / 10000 when the tag exceeds 10000,
// else the tag itself.
double fixedGridUnits(int32_t tag);

// The grid for a value in mm as the grid field gives it (0.01..99.9): a
// fixed grid's exact spacing when the value is one, else round(mm x 100).
double gridUnitsForMm(double mm);

// The grid button: g / 100 with 8 significant digits and " mm", padded
// with leading blanks to at least 9 characters ("2.54 mm" -> "  2.54 mm").
std::string gridButtonCaption(double gridUnits);

// setGrid: the active board's grid spacing. Returns whether it changed.
bool setGrid(TEditor& editor, double gridUnits);

}  // namespace plavesk
