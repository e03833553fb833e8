// The editor's connectivity commands: the test tool's click and
// "Luftlinien entfernen".
#pragma once

#include <vector>

#include "document/objekt.h"
#include "routing/band_removal.h"

namespace plavesk {

class TEditor;

// Clears the selection and marks the net of the copper element under the
// world point (the active side first); silkscreen, cutout areas and empty
// ground mark nothing. Returns the positions of the marked elements.
std::vector<size_t> testAt(TEditor& editor, TPoint p);

// Removes the rubber bands that copper already joins, as one undo step.
// The message for the counts is bandRemovalMessage.
TBandCounts clearSatisfiedBands(TEditor& editor);

}  // namespace plavesk
