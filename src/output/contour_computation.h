// The isolation contours of one copper layer: the boundaries of the union of
// its copper (grown by half the channel width), as closed polygons.
#pragma once

#include "document/objekt.h"
#include "output/contour_types.h"

namespace plavesk {

// Runs the five steps on copies of the elements; the list is not changed.
// The progress callback is called within every step.
TContourResult computeContours(const TObjektList& list, const TContourOptions& options,
                               const TContourProgress& progress = {});

}  // namespace plavesk
