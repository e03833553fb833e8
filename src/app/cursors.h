// The drawing area's cursors: six drawn by the program as 32 x 32 pictures
// in two colours with their hot spots on the clicked point, the toolkit's
// cross-hair for measuring and its arrow.
#pragma once

#include <QCursor>

#include "editing/tools/tool_host.h"

namespace plavesk {

// Made once and kept for the run.
const QCursor& toolCursor(TCursor cursor);

}  // namespace plavesk
