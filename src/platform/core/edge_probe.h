// Exact tests of the place just beside an edge of a polygon, against other
// polygons, in integer arithmetic.
#pragma once

#include <cstdint>

namespace plavesk {

// The place q = m + e n + e^2 d for an infinitesimal e > 0, where m is the
// middle of an edge a -> b, d = b - a, and n is the edge's left normal
// (-d.y, d.x) or its right one: just beside the edge and a little further
// along it, so that it lies on no edge and no vertex of any polygon, and
// every test below is decided exactly. The edge must have a length;
// coordinates stay below 2^61 in magnitude.
struct TEdgeProbe {
  int64_t mx2 = 0, my2 = 0;  // twice the middle, a + b
  int64_t dx = 0, dy = 0;
  int64_t nx = 0, ny = 0;

  static TEdgeProbe beside(int64_t ax, int64_t ay, int64_t bx, int64_t by, bool left) {
    const int64_t dx = bx - ax, dy = by - ay;
    return left ? TEdgeProbe{ax + bx, ay + by, dx, dy, -dy, dx}
                : TEdgeProbe{ax + bx, ay + by, dx, dy, dy, -dx};
  }

  // A point that lies on no edge of the polygons it is tested against.
  static TEdgeProbe at(int64_t x, int64_t y) { return TEdgeProbe{2 * x, 2 * y, 0, 0, 0, 0}; }

  // Whether a point at height y lies above q (has the larger y): when
  // twice its y exceeds this.
  int64_t aboveThreshold() const { return my2 - (ny < 0 || (ny == 0 && dy < 0) ? 1 : 0); }
  bool above(int64_t y) const { return 2 * y > aboveThreshold(); }
  // The side of q seen along u -> v: 1 left, -1 right (never 0 for an edge
  // whose ends lie on either side of q's horizontal).
  int side(int64_t ux, int64_t uy, int64_t vx, int64_t vy) const {
    const __int128 wx = vx - ux, wy = vy - uy;
    if (int s = sign(wx * (my2 - 2 * uy) - wy * (mx2 - 2 * ux))) return s;
    if (int s = sign(wx * ny - wy * nx)) return s;
    return sign(wx * dy - wy * dx);
  }
  // What the edge u -> v adds to the winding number around q.
  int winding(int64_t ux, int64_t uy, int64_t vx, int64_t vy) const {
    const bool uAbove = above(uy), vAbove = above(vy);
    if (uAbove == vAbove) return 0;
    const int s = side(ux, uy, vx, vy);
    if (!uAbove && s > 0) return 1;
    if (uAbove && s < 0) return -1;
    return 0;
  }

 private:
  static int sign(__int128 v) { return v > 0 ? 1 : (v < 0 ? -1 : 0); }
};

}  // namespace plavesk
