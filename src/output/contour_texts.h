// The texts of the progress window of the contour computation.
#pragma once

#include <string>

#include "output/contour_types.h"

namespace plavesk {

// "Umrisserstellung" / "Isolation outlines" by language 0, 1, 2.
std::string contourProgressTitle(int language);
// The label of one step.
std::string contourStepLabel(TContourStep step, int language);

}  // namespace plavesk
