// Step 2 of the contour computation: the crossing points of the polygon
// edges, found through a grid of edge cells instead of comparing every edge
// with every edge, and inserted into the polygons.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "output/contour_shapes.h"
#include "output/contour_types.h"

namespace plavesk {

// The graph works in hundredths of a unit.
constexpr int64_t kContourScale = 100;

struct TPoint64 {
  int64_t x = 0;
  int64_t y = 0;
  friend bool operator==(const TPoint64&, const TPoint64&) = default;
};
using TScaledPolygon = std::vector<TPoint64>;

std::vector<TScaledPolygon> scalePolygons(const std::vector<TShapePolygon>& polygons);

// Rounding can fold the thin tip of a polygon over itself, so that one of
// its edges crosses another: the fold then winds the wrong way round, and a
// walk that keeps the copper on its right goes astray there. Every polygon
// that meets itself is cut at those points into pieces that do not, each
// turned clockwise (pieces without area dropped), in place of the polygon;
// the others stay as they are. The filled region (any non-zero winding) is
// unchanged but for folds lying inside the polygon, which become copper.
std::vector<TScaledPolygon> untangledPolygons(std::vector<TScaledPolygon> polygons);

// The crossing point of edge e0 -> e1 with edge f0 -> f1 as the computation
// records it: the boxes of the edges (widened where flat) overlap, the edges
// are not parallel, and the point on e, rounded, lies on both boxes.
std::optional<TPoint64> edgeCrossing(TPoint64 e0, TPoint64 e1, TPoint64 f0, TPoint64 f1);

// Where edge e0 -> e1 meets edge f0 -> f1: their crossing point, or, when
// the two lie on one line and overlap, the ends of either that lie inside
// the other (there the walk must be able to change from one to the other),
// ordered by x, then y. Appended to `out`.
void edgeMeetings(TPoint64 e0, TPoint64 e1, TPoint64 f0, TPoint64 f1, std::vector<TPoint64>& out);

// A crossing of edge `edgeA` of polygon `polygonA` with edge `edgeB` of the
// later polygon `polygonB` (edge i runs from vertex i to the next, the last
// one back to vertex 0).
struct TCrossingPair {
  uint32_t polygonA = 0;
  uint32_t edgeA = 0;
  uint32_t polygonB = 0;
  uint32_t edgeB = 0;
  TPoint64 point;
  friend bool operator==(const TCrossingPair&, const TCrossingPair&) = default;
};

// Every meeting (crossing, or end inside an overlapping edge) between edges
// of different polygons, in recording order: by polygon A, then polygon B,
// then edge of A, then edge of B, then point. The search
// stops once it has found more than `maxCrossings` (setting `stopped`) and
// then returns what it found, unordered.
std::vector<TCrossingPair> findCrossings(const std::vector<TScaledPolygon>& polygons,
                                         const TContourProgress& progress = {},
                                         size_t maxCrossings = SIZE_MAX, bool* stopped = nullptr);

// Where three edges pass almost through one point, their three crossing
// points, each rounded on its own, lie a few hundredths of a unit apart and
// can stand along the edges in an order that no three straight lines give:
// the walk then turns off the boundary there. Crossing points that follow
// each other on an edge within `radius` (in scaled units, each axis) are
// made one point, that of the first recorded, so the edges meet at one node.
constexpr int64_t kCrossingMergeRadius = 4;
void mergeNearCrossings(const std::vector<TScaledPolygon>& polygons,
                        std::vector<TCrossingPair>& crossings,
                        int64_t radius = kCrossingMergeRadius);

// The polygons with the crossing points inserted after the start vertex of
// their edge, nearest first (Manhattan distance), points at equal distance
// in the reverse order of their recording.
std::vector<TScaledPolygon> insertCrossings(const std::vector<TScaledPolygon>& polygons,
                                            const std::vector<TCrossingPair>& crossings);

}  // namespace plavesk
