// The polygons a copper element gives for the isolation contours: strokes
// with round ends, pad shapes, rings and discs, all built from the same arc
// rule and oriented clockwise (y pointing up).
#pragma once

#include <cstdint>
#include <vector>

#include "document/objekt.h"

namespace plavesk {

using TShapePolygon = std::vector<TPoint>;

enum class TArcDirection { kCounterClockwise, kClockwise };

// Angle of B - A in [0, 2 pi); 0 for identical points.
long double directionAngle(long double ax, long double ay, long double bx, long double by);
inline long double directionAngle(TPoint a, TPoint b) {
  return directionAngle(a.x, a.y, b.x, b.y);
}
// Turning value at B for the way A -> B -> C: pi straight on, more for a left
// turn, less for a right turn, 0 for going straight back.
long double turningValue(long double ax, long double ay, long double bx, long double by,
                         long double cx, long double cy);
// The same from the direction angles of A -> B and B -> C.
long double turningValueOf(long double in, long double out);

// Appends n points of a circle of diameter d around c, from the direction of
// s toward the direction of e (s itself is not appended; equal directions
// give a full turn).
void appendArc(TShapePolygon& out, TPoint c, TPoint s, TPoint e, TArcDirection direction, int n,
               int64_t d);
// The outline of a stroke of width w from p0 to p1 with round ends.
TShapePolygon stadium(TPoint p0, TPoint p1, int32_t w);

// The polygons of one element as it stands (channel width already applied),
// before orientation. Legacy lines and font texts give none.
std::vector<TShapePolygon> elementPolygons(const TObjekt& e);

// Makes the polygon clockwise: by the sign of its area, or for a polygon
// without area by the sum of its turning values.
void orientClockwise(TShapePolygon& polygon);

}  // namespace plavesk
