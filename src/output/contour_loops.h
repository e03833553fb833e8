// Step 5 of the contour computation: every loop is classified by a point
// just inside it (copper or gap) and by the loops that contain it; loops
// inside copper, inner edges of filled areas and repeated boundaries go.
#pragma once

#include <vector>

#include "output/contour_segments.h"
#include "output/contour_types.h"

namespace plavesk {

struct TLoopClass {
  int value = -1;   // 1 encloses copper, 0 encloses a gap, -1 no inner point
  int parent = -1;  // the innermost loop containing it, -1 for none
  std::vector<int> containers;
};

// Classifies the loops against the copper of the work set; cw is the channel
// width the inner-point search steps away from the loop with.
std::vector<TLoopClass> classifyLoops(const std::vector<TContour>& loops, TContourWorkSet& work,
                                      int32_t cw, const TContourProgress& progress = {});

// The loops that stay, in their order; `dropped` counts the loops without an
// inner point.
TContourList selectContours(std::vector<TContour> loops, const std::vector<TLoopClass>& classes,
                            size_t& dropped);

}  // namespace plavesk
