// The runner's actions of the drawing tools' dialogs and panels:
// text-options, polygon-options, segment, cutout and measure-readout.
#pragma once

#include <string>

namespace plavesk {

struct TMeasureReadout;

// Adds the actions to the runner's table (called once by the runner).
void registerDrawingActions();

// The measure panel's four values on one line, with English labels:
// "dX: 30 mm  dY: 40 mm  Distance: 50 mm  Angle: 53.1°".
std::string measureLine(const TMeasureReadout& readout);

}  // namespace plavesk
