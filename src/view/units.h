// The program's rounding and the grid lattice, shared by the view transform
// and the element geometry.
#pragma once

#include <cmath>
#include <cstdint>

#include "document/objekt.h"

namespace plavesk {

// Round to nearest, halves to the even neighbour.
inline double roundHalfEven(double v) {
  return std::nearbyint(v);
}
inline int32_t roundToUnit(double v) {
  return static_cast<int32_t>(std::nearbyint(v));
}

// The lattice is anchored at the world origin (the board's top-left corner).
inline int32_t snapCoordinate(int32_t v, double grid) {
  if (!(grid > 0.0)) return v;
  const long double g = grid;
  const long double steps = std::nearbyint(static_cast<long double>(v) / g);
  return static_cast<int32_t>(std::nearbyint(g * steps));
}

inline TPoint snapToGrid(TPoint p, double grid) {
  return TPoint{snapCoordinate(p.x, grid), snapCoordinate(p.y, grid)};
}

}  // namespace plavesk
