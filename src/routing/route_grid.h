// The autorouter's cell grid: cell size, lazy classification of a search
// window against the obstacles, the cost wave from the start cell and the
// trace back from the target cell to a polyline.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "document/objekt.h"
#include "platform/core/region.h"

namespace plavesk {

constexpr int kRouteGridSize = 801;
constexpr int kMaxWavePasses = 80;

// Cell values.
constexpr int32_t kCellUnclassified = -3;
constexpr int32_t kCellNearObstacle = -4;  // block touches an obstacle: refine
constexpr int32_t kCellBlocked = -2;
constexpr int32_t kCellFree = -1;

// round((width + 2 * clearance) / 10) * 10, at least 40 units.
int32_t routeCellSize(int32_t width, int32_t clearance);

struct TCell {
  int i = 0;  // column
  int j = 0;  // row, growing downwards on the screen
  friend bool operator==(const TCell&, const TCell&) = default;
};

// Inclusive cell rectangle.
struct TCellRect {
  int left = 0;
  int top = 0;
  int right = -1;
  int bottom = -1;
  bool contains(TCell c) const {
    return c.i >= left && c.i <= right && c.j >= top && c.j <= bottom;
  }
  friend bool operator==(const TCellRect&, const TCellRect&) = default;
};

class TRouteGrid {
 public:
  // Every cell unclassified. maxX and maxY bound the cells the wave may
  // enter (0 < i < maxX, 0 < j < maxY); they are clamped to the array.
  TRouteGrid(int maxX, int maxY);

  int maxX() const { return maxX_; }
  int maxY() const { return maxY_; }
  int32_t& at(int i, int j) { return cells_[size_t(j) * kRouteGridSize + size_t(i)]; }
  int32_t at(int i, int j) const { return cells_[size_t(j) * kRouteGridSize + size_t(i)]; }
  int32_t& at(TCell c) { return at(c.i, c.j); }
  int32_t at(TCell c) const { return at(c.i, c.j); }
  // A cell the wave may enter.
  bool inner(TCell c) const { return c.i > 0 && c.i < maxX_ && c.j > 0 && c.j < maxY_; }
  // Marks a cell as possibly holding a free or reached value, so the wave
  // scans it.
  void touch(int left, int top, int right, int bottom);
  const TCellRect& touched() const { return touched_; }

 private:
  int maxX_;
  int maxY_;
  std::vector<int32_t> cells_;
  TCellRect touched_;
};

// Whether a square in region units shares an area with the obstacles.
using TObstacleTest = std::function<bool(const Region::Box&)>;

// Classifies the unclassified cells of the window in blocks of 10, 5, 2 and
// 1 cells; a block is tested only when its first cell is still below -2, and
// only its cells below -2 receive the result, so cells settled or reached in
// an earlier stage keep their values. cd is the cell size in region units.
void classifyWindow(TRouteGrid& grid, const TCellRect& window, int32_t cd,
                    const TObstacleTest& obstacle);

// Sets the target free and the start to 0 and spreads the cost wave (passes
// of rings around the start). Returns whether the target was reached.
bool runWave(TRouteGrid& grid, TCell start, TCell target);

// The polyline from the target pad's centre over the corners of the traced
// cells to the start pad's centre; empty when the trace back gets stuck. The
// first and last corners are pulled onto the pads along the direction of
// travel (along a diagonal by equal amounts, keeping the 45 degrees).
std::vector<TPoint> traceBack(const TRouteGrid& grid, TCell start, TCell target, int32_t cellSize,
                              TPoint startCentre, TPoint targetCentre);

// Centre of a cell in board units.
TPoint cellCentre(TCell c, int32_t cellSize);

}  // namespace plavesk
