// The last step of routing: every segment of a new track is tested with a
// probe as wide as the track plus twice the clearance; a segment that comes
// too close to other copper is pushed sideways when its neighbours allow it.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "document/objekt.h"

namespace plavesk {

enum class TSegmentOrientation { horizontal, vertical, rising, falling };

// Vertical wins when both ends coincide.
TSegmentOrientation segmentOrientation(TPoint a, TPoint b);

// Moves the segment p1-p2 sideways by u; the neighbouring segments p0-p1 and
// p2-p3 keep their direction when they are diagonal.
void shiftSegment(TPoint p0, TPoint& p1, TPoint& p2, TPoint p3, int32_t u);

// Whether the probe on the segment a-b shares an area with the obstacles.
using TSegmentTest = std::function<bool(TPoint a, TPoint b)>;

// Tests every segment from the target's centre (points.front()) to the start's
// centre (points.back()). A violating inner segment is shifted by the
// smallest number of steps of clearance div 2 (up to 10 each way, the
// negative direction preferred) that clears it; the segment before it is
// tested again after the shift, and so is the shifted segment itself. Returns false when a segment
// still violates: the first and last segments cannot move, as their ends are pad centres.
bool checkAndRepairTrack(std::vector<TPoint>& points, int32_t clearance,
                         const TSegmentTest& violates);

}  // namespace plavesk
