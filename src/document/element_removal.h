// Deleting many elements of a huge list at once.
#pragma once

#include <cstdint>
#include <vector>

#include "document/objekt.h"

namespace plavesk {

// Removes the elements whose flag is set (one flag per list position) and
// clears every reference to them that remains in the list, as
// deleteElementsIf does, without a set of the deleted elements. Returns how
// many were removed.
size_t deleteFlaggedElements(TObjektList& list, const std::vector<uint8_t>& doomed);

}  // namespace plavesk
