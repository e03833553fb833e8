// The footprints the program brings along in its macro folder: DIL 8, 14
// and 16, TO-92, TO-220, 0805, 1206, SOT-23, SOIC-8 and a pin header row,
// each with two description lines. Made here so the files in the example
// folder are what this code writes.
#pragma once

#include <string>
#include <vector>

#include "document/macro_file.h"

namespace plavesk {

struct TFootprintMacro {
  std::string fileName;  // "DIL8.lmk"
  TMacro macro;
};

std::vector<TFootprintMacro> footprintMacros();

// Writes every footprint into `folder` (which must exist); false with a
// message when a file cannot be written.
bool writeFootprintMacros(const std::string& folder, std::string& error);

}  // namespace plavesk
