#include "routing/route_grid.h"

#include <algorithm>
#include <functional>
#include <limits>
#include <queue>

#include "view/units.h"

namespace plavesk {
namespace {

constexpr int kLast = kRouteGridSize - 1;

// Steps of the trace back: 0 up (row - 1), then clockwise.
constexpr int kStepColumn[8] = {0, 1, 1, 1, 0, -1, -1, -1};
constexpr int kStepRow[8] = {-1, -1, 0, 1, 1, 1, 0, -1};

// Moves an end corner of a track onto its pad: the first corner forward to
// the target pad when the pad lies further along the first step's direction,
// the last corner back to the start pad when it lies beyond it. Along a
// diagonal the corner slides by the smaller of the two distances, so the
// segment behind it keeps its 45 degrees.
TPoint pullOnto(TPoint corner, TPoint pad, int direction, bool forward) {
  const int sx = kStepColumn[direction], sy = -kStepRow[direction];  // board y grows up
  const int64_t ahead = forward ? 1 : -1;
  const int64_t fx = sx ? ahead * (int64_t(pad.x) - corner.x) * sx : 0;
  const int64_t fy = sy ? ahead * (int64_t(pad.y) - corner.y) * sy : 0;
  int64_t d = 0;
  if (sx && sy)
    d = std::min(fx, fy);
  else
    d = sx ? fx : fy;
  if (d <= 0) return corner;
  return TPoint{int32_t(corner.x + ahead * sx * d), int32_t(corner.y + ahead * sy * d)};
}

}  // namespace

int32_t routeCellSize(int32_t width, int32_t clearance) {
  const double pitch = (double(width) + 2.0 * double(clearance)) / 10.0;
  const int64_t c = int64_t(roundHalfEven(pitch)) * 10;
  return int32_t(std::clamp<int64_t>(c, 40, 1000000));
}

TRouteGrid::TRouteGrid(int maxX, int maxY)
    : maxX_(std::min(maxX, kLast - 1)),
      maxY_(std::min(maxY, kLast - 1)),
      cells_(size_t(kRouteGridSize) * kRouteGridSize, kCellUnclassified) {}

void TRouteGrid::touch(int left, int top, int right, int bottom) {
  left = std::max(left, 0);
  top = std::max(top, 0);
  right = std::min(right, kLast);
  bottom = std::min(bottom, kLast);
  if (left > right || top > bottom) return;
  if (touched_.left > touched_.right) {
    touched_ = {left, top, right, bottom};
    return;
  }
  touched_.left = std::min(touched_.left, left);
  touched_.top = std::min(touched_.top, top);
  touched_.right = std::max(touched_.right, right);
  touched_.bottom = std::max(touched_.bottom, bottom);
}

void classifyWindow(TRouteGrid& grid, const TCellRect& window, int32_t cd,
                    const TObstacleTest& obstacle) {
  if (window.left < 0 || window.top < 0 || window.left > window.right || window.top > window.bottom)
    return;
  for (int s : {10, 5, 2, 1}) {
    for (int bj = window.top / s; bj <= window.bottom / s; ++bj) {
      for (int bi = window.left / s; bi <= window.right / s; ++bi) {
        const int fi = bi * s, fj = bj * s;
        if (fi > kLast || fj > kLast) continue;
        if (grid.at(fi, fj) >= kCellBlocked) continue;
        const Region::Box square{int32_t(fi * cd), int32_t(fj * cd), int32_t((fi + s) * cd),
                                 int32_t((fj + s) * cd)};
        const int32_t value =
            obstacle(square) ? (s == 1 ? kCellBlocked : kCellNearObstacle) : kCellFree;
        const int li = std::min(fi + s - 1, kLast), lj = std::min(fj + s - 1, kLast);
        for (int j = fj; j <= lj; ++j)
          for (int i = fi; i <= li; ++i)
            if (grid.at(i, j) < kCellBlocked) grid.at(i, j) = value;
        grid.touch(fi, fj, li, lj);
      }
    }
  }
}

// The ring scan: each ring's cells are settled cheapest first, the first in
// ring order among equal costs, as repeated scans of the ring would settle
// them; a priority queue finds that cell without rescanning the ring. Only
// the part of a ring inside the touched rectangle is listed: outside it no
// cell is free or reached.
bool runWave(TRouteGrid& grid, TCell start, TCell target) {
  if (!grid.inner(start) || !grid.inner(target)) return false;
  grid.at(target) = kCellFree;
  grid.at(start) = 0;
  grid.touch(start.i, start.j, start.i, start.j);
  grid.touch(target.i, target.j, target.i, target.j);
  const int si = start.i, sj = start.j, mx = grid.maxX(), my = grid.maxY();
  const int rmax = std::max({mx - si, si, my - sj, sj});
  const TCellRect& t = grid.touched();
  const TCellRect scan{std::max(t.left, 1), std::max(t.top, 1), std::min(t.right, mx - 1),
                       std::min(t.bottom, my - 1)};

  static thread_local std::vector<uint32_t> stamp;
  static thread_local std::vector<int32_t> position;
  static thread_local uint32_t ringId = 0;
  if (stamp.empty()) {
    stamp.assign(size_t(kRouteGridSize) * kRouteGridSize, 0);
    position.assign(stamp.size(), 0);
  }
  constexpr int32_t kNone = std::numeric_limits<int32_t>::max();
  std::vector<TCell> ring;
  std::vector<int32_t> cost;
  using Entry = std::pair<int32_t, int32_t>;  // cost, position in the ring
  std::priority_queue<Entry, std::vector<Entry>, std::greater<Entry>> queue;
  auto key = [](int i, int j) { return size_t(j) * kRouteGridSize + size_t(i); };

  auto neighbourCost = [&](int i, int j) {
    int32_t best = kNone;
    for (int dj = -1; dj <= 1; ++dj)
      for (int di = -1; di <= 1; ++di) {
        if (!di && !dj) continue;
        const int32_t v = grid.at(i + di, j + dj);
        if (v >= 0) best = std::min(best, v + ((di && dj) ? 2 : 1));
      }
    return best;
  };

  // A scanned ring has no free cell left next to a reached one; it can only
  // change again after a cell of a neighbouring ring was reached, so rings
  // without such a change are skipped.
  std::vector<uint8_t> dirty(size_t(rmax) + 2, 1);
  for (int pass = 1; pass <= kMaxWavePasses; ++pass) {
    bool progress = false;
    for (int r = 1; r <= rmax; ++r) {
      if (!dirty[size_t(r)]) {
        if (grid.at(target) != kCellFree) return true;
        continue;
      }
      dirty[size_t(r)] = 0;
      bool changed = false;
      ring.clear();
      const int upper = sj - r, lower = sj + r, leftCol = si - r, rightCol = si + r;
      if (upper >= scan.top && upper <= scan.bottom)
        for (int i = std::max(leftCol, scan.left); i <= std::min(rightCol, scan.right); ++i)
          ring.push_back({i, upper});
      if (rightCol >= scan.left && rightCol <= scan.right)
        for (int j = std::max(upper + 1, scan.top); j <= std::min(lower, scan.bottom); ++j)
          ring.push_back({rightCol, j});
      if (lower >= scan.top && lower <= scan.bottom)
        for (int i = std::min(rightCol - 1, scan.right); i >= std::max(leftCol, scan.left); --i)
          ring.push_back({i, lower});
      if (leftCol >= scan.left && leftCol <= scan.right)
        for (int j = std::min(lower - 1, scan.bottom); j >= std::max(upper + 1, scan.top); --j)
          ring.push_back({leftCol, j});
      if (!ring.empty()) {
        if (++ringId == 0) {
          std::fill(stamp.begin(), stamp.end(), 0);
          ringId = 1;
        }
        cost.assign(ring.size(), kNone);
        for (size_t k = 0; k < ring.size(); ++k) {
          const TCell c = ring[k];
          stamp[key(c.i, c.j)] = ringId;
          position[key(c.i, c.j)] = int32_t(k);
          if (grid.at(c) != kCellFree) continue;
          cost[k] = neighbourCost(c.i, c.j);
          if (cost[k] != kNone) queue.push({cost[k], int32_t(k)});
        }
        while (!queue.empty()) {
          const auto [value, k] = queue.top();
          queue.pop();
          const TCell c = ring[size_t(k)];
          if (grid.at(c) != kCellFree || value != cost[size_t(k)]) continue;
          grid.at(c) = value;
          progress = changed = true;
          for (int dj = -1; dj <= 1; ++dj)
            for (int di = -1; di <= 1; ++di) {
              if (!di && !dj) continue;
              const size_t n = key(c.i + di, c.j + dj);
              if (stamp[n] != ringId || grid.at(c.i + di, c.j + dj) != kCellFree) continue;
              const int32_t next = value + ((di && dj) ? 2 : 1);
              const int32_t p = position[n];
              if (next < cost[size_t(p)]) {
                cost[size_t(p)] = next;
                queue.push({next, p});
              }
            }
        }
      }
      if (changed) dirty[size_t(r) - 1] = dirty[size_t(r) + 1] = 1;
      if (grid.at(target) != kCellFree) return true;
    }
    if (!progress) return false;
  }
  return false;
}

TPoint cellCentre(TCell c, int32_t cellSize) {
  return TPoint{c.i * cellSize + cellSize / 2, -c.j * cellSize - cellSize / 2};
}

std::vector<TPoint> traceBack(const TRouteGrid& grid, TCell start, TCell target, int32_t cellSize,
                              TPoint startCentre, TPoint targetCentre) {
  std::vector<TPoint> points{targetCentre};
  // The order in which neighbours are examined: left, up-left, up, up-right,
  // right, down-right, down, down-left.
  static constexpr int kOrder[8] = {6, 7, 0, 1, 2, 3, 4, 5};
  TCell current = target;
  int last = -1;
  size_t steps = 0;
  while (!(current == start) && grid.at(current) != 0) {
    if (++steps > size_t(kRouteGridSize) * kRouteGridSize) return {};
    int bestDirection = -1;
    int32_t best = 0;
    for (int d : kOrder) {
      const int i = current.i + kStepColumn[d], j = current.j + kStepRow[d];
      if (i < 0 || j < 0 || i > kLast || j > kLast) continue;
      const int32_t v = grid.at(i, j);
      if (v >= 0 && (bestDirection < 0 || v < best)) {
        best = v;
        bestDirection = d;
      }
    }
    if (bestDirection < 0 || best >= grid.at(current)) return {};
    if (bestDirection != last) {
      TPoint corner = cellCentre(current, cellSize);
      if (last < 0) corner = pullOnto(corner, targetCentre, bestDirection, true);
      points.push_back(corner);
      last = bestDirection;
    }
    current = {current.i + kStepColumn[bestDirection], current.j + kStepRow[bestDirection]};
  }
  // The last corner does not lie beyond the start pad.
  TPoint corner = cellCentre(current, cellSize);
  if (last >= 0) corner = pullOnto(corner, startCentre, last, false);
  points.push_back(corner);
  points.push_back(startCentre);
  return points;
}

}  // namespace plavesk
