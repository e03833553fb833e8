// The isolation contours of one copper layer: the boundaries of the union of
// its copper (grown by half the channel width), as closed polygons.
#pragma once

#include "document/objekt.h"
#include "output/contour_types.h"

namespace plavesk {

// What a run takes at most, in bytes: per element (its copy and outline),
// per polygon vertex and per edge crossing (the nodes and walks it makes).
constexpr uint64_t kContourBytesPerElement = 2048;
constexpr uint64_t kContourBytesPerVertex = 192;
constexpr uint64_t kContourBytesPerCrossing = 320;
uint64_t contourMemoryEstimate(size_t elements, size_t vertices, size_t crossings);

// Runs the five steps on copies of the elements; the list is not changed.
// The progress callback is called within every step. A board that would
// need more memory than the options' budget stops the run before it takes
// it: the result is then over budget and holds no contours.
TContourResult computeContours(const TObjektList& list, const TContourOptions& options,
                               const TContourProgress& progress = {});

}  // namespace plavesk
