// The order of the ways on from a place of the contour graph, by how far
// left each turns from the way in, in integer arithmetic.
#pragma once

#include <cstdint>

namespace plavesk {

// An edge's direction: its end minus its start, in scaled units.
struct TDirection {
  int64_t x = 0;
  int64_t y = 0;
};

// The turning value of a way on is the angle from the way back (the way in
// reversed) counter-clockwise to it, in [0, 2 pi): the largest is the
// leftmost turn. Compared exactly; a way straight back has the value 0.
class TTurnOrder {
 public:
  explicit TTurnOrder(TDirection in) : bx_(-__int128(in.x)), by_(-__int128(in.y)) {}

  // Whether the way leads straight back (or has no length, or the way in
  // has none): its value then depends on how the angles are measured.
  bool backOrNone(TDirection v) const {
    const __int128 cross = bx_ * v.y - by_ * v.x, dot = bx_ * v.x + by_ * v.y;
    return cross == 0 && dot >= 0;
  }
  // -1, 0 or 1 as the value of u is below, equal to or above that of w;
  // neither may lead straight back.
  int compare(TDirection u, TDirection w) const {
    const int hu = half(u), hw = half(w);
    if (hu != hw) return hu < hw ? -1 : 1;
    const __int128 cross = __int128(u.x) * w.y - __int128(u.y) * w.x;
    return cross > 0 ? -1 : (cross < 0 ? 1 : 0);
  }

 private:
  // 0 for values in (0, pi), 1 for values in [pi, 2 pi).
  int half(TDirection v) const {
    const __int128 cross = bx_ * v.y - by_ * v.x;
    return cross > 0 ? 0 : 1;
  }
  __int128 bx_, by_;
};

}  // namespace plavesk
