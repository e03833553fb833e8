#include "routing/route_check.h"

namespace plavesk {

TSegmentOrientation segmentOrientation(TPoint a, TPoint b) {
  if (a.x == b.x) return TSegmentOrientation::vertical;
  if (a.y == b.y) return TSegmentOrientation::horizontal;
  if ((b.x > a.x && b.y > a.y) || (b.x < a.x && b.y < a.y)) return TSegmentOrientation::rising;
  return TSegmentOrientation::falling;
}

void shiftSegment(TPoint p0, TPoint& p1, TPoint& p2, TPoint p3, int32_t u) {
  using O = TSegmentOrientation;
  const O middle = segmentOrientation(p1, p2);
  const O before = segmentOrientation(p0, p1);
  const O after = segmentOrientation(p2, p3);
  switch (middle) {
    case O::horizontal:
      p1.y += u;
      p2.y += u;
      if (before == O::rising) p1.x += u;
      if (before == O::falling) p1.x -= u;
      if (after == O::rising) p2.x += u;
      if (after == O::falling) p2.x -= u;
      break;
    case O::vertical:
      p1.x += u;
      p2.x += u;
      if (before == O::rising) p1.y += u;
      if (before == O::falling) p1.y -= u;
      if (after == O::rising) p2.y += u;
      if (after == O::falling) p2.y -= u;
      break;
    case O::rising:
      if (before == O::horizontal) p1.x -= u;
      if (before == O::vertical) p1.y += u;
      if (after == O::horizontal) p2.x -= u;
      if (after == O::vertical) p2.y += u;
      break;
    case O::falling:
      if (before == O::horizontal) p1.x += u;
      if (before == O::vertical) p1.y += u;
      if (after == O::horizontal) p2.x += u;
      if (after == O::vertical) p2.y += u;
      break;
  }
}

bool checkAndRepairTrack(std::vector<TPoint>& points, int32_t clearance,
                         const TSegmentTest& violates) {
  const size_t n = points.size();
  if (n < 2) return false;
  const int32_t a = clearance / 2;
  for (size_t k = 0; k + 1 < n; ++k) {
    if (!violates(points[k], points[k + 1])) continue;
    if (k == 0 || k == n - 2) return false;
    const TPoint p0 = points[k - 1], p1 = points[k], p2 = points[k + 1], p3 = points[k + 2];
    int m = 0;
    TPoint q1 = p1, q2 = p2;
    for (int step = 1; step <= 10; ++step) {
      shiftSegment(p0, q1, q2, p3, a);
      if (!violates(q1, q2)) {
        m = step;
        break;
      }
    }
    q1 = p1;
    q2 = p2;
    for (int step = 1; step <= 10; ++step) {
      shiftSegment(p0, q1, q2, p3, -a);
      if (!violates(q1, q2)) {
        m = -step;
        break;
      }
    }
    if (m == 0) return false;
    q1 = p1;
    q2 = p2;
    shiftSegment(p0, q1, q2, p3, m * a);
    points[k] = q1;
    points[k + 1] = q2;
    // One shift by m steps may end elsewhere than m single steps, and it
    // moved the end of the segment before; the segment after is tested next.
    if (violates(points[k], points[k + 1]) || violates(points[k - 1], points[k])) return false;
  }
  return true;
}

}  // namespace plavesk
