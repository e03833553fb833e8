#pragma once

#include <string>

#include "document/board.h"

namespace plavesk {

// The layout as JSON: version, boards with their records and, with
// `elements`, every element with its references as list indexes.
std::string layoutJson(TLayout& layout, int version, bool elements);
// A short human-readable summary.
std::string layoutSummary(TLayout& layout, const std::string& fileName, int version);

}  // namespace plavesk
