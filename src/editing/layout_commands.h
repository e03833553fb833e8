// Commands on the whole layout that need the element geometry: removing
// elements outside the board and saving.
#pragma once

#include <string>

#include "document/board.h"

namespace plavesk {

// Whether the element's bounding box (clearance included) shares no area
// with the board rectangle.
bool isOutsideBoard(const TObjekt& e, const TBoardRecord& record);
size_t countElementsOutside(const TLayout& layout);

// Deletes every element of the active board whose bounding box (clearance
// included) shares no area with the board rectangle, as a deletion does.
// Returns how many were deleted. The caller takes the undo snapshot.
size_t deleteElementsOutside(TLayout& layout);

// Save: unless autosaving, the active board loses the elements outside it and
// tracks and areas of fewer than two points; then the file is written through
// a temporary file. On failure the old file and the modified flag stay.
bool saveLayout(TLayout& layout, const std::string& path, bool autosave, std::string& error);

}  // namespace plavesk
