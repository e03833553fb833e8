// Steps 0 and 1 of the contour computation: enlarged working copies of the
// copper elements, the removal of covered elements and the element polygons.
#pragma once

#include <optional>
#include <vector>

#include "output/contour_shapes.h"
#include "output/contour_types.h"
#include "platform/core/region.h"
#include "view/geometry.h"

namespace plavesk {

// Copies of the elements the computation looks at, enlarged by the channel
// width. The document is never changed, so an error part-way through cannot
// leave a damaged layout.
struct TContourWorkSet {
  TObjektList copies;
  std::vector<uint8_t> takesPart;  // gives polygons (until found covered)
  std::vector<TRect> bounds;       // elementBounds of each copy
  // elementOutline of each copy, made when first needed.
  std::vector<std::optional<Region>> outlines;
  std::vector<uint8_t> outlineMade;
  const std::optional<Region>& outline(size_t i);
};

// Grows one element by the channel width cw: strokes and outlines by cw,
// radii by round(cw / 2); an inner radius stops at 0.
void applyChannelWidth(TObjekt& e, int32_t cw);

// The elements of layer L without single-line texts, copied and enlarged.
TContourWorkSet makeContourWorkSet(const TObjektList& list, const TContourOptions& options);

// Drops the elements whose outline lies inside another's, then returns the
// clockwise polygons of the remaining ones in list order.
std::vector<TShapePolygon> buildSegments(TContourWorkSet& work, const TContourProgress& progress);

}  // namespace plavesk
