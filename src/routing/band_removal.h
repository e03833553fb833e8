// "Luftlinien entfernen": deletes every rubber band whose two pads copper
// already joins, and the message that reports it.
#pragma once

#include <string>

#include "document/board.h"

namespace plavesk {

// Bands, not list entries: every band is recorded at both of its ends, so
// each count is the number of entries divided by two.
struct TBandCounts {
  int removed = 0;
  int remaining = 0;
  friend bool operator==(const TBandCounts&, const TBandCounts&) = default;
};

// Removes from each pad's `connections` every partner in the same net. One
// connectivity pass serves the whole board. Leaves `selected` cleared on
// every element.
TBandCounts removeSatisfiedBands(TObjektList& list, const TBoardRecord& state);

// The two lines of the report, separated by a carriage return, in the
// interface language 0 (German), 1 (English) or 2 (French).
std::string bandRemovalMessage(const TBandCounts& counts, int language);

}  // namespace plavesk
