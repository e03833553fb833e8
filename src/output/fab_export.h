// The set of files a board house asks for, written in one go: both copper
// sides, silkscreens and solder masks as seen from side 1 (nothing
// mirrored), the board outline on its own and the drill file, named with the
// extensions that upload pages of board houses recognise.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "document/board.h"
#include "output/gerber_options.h"

namespace plavesk {

struct TFabFile {
  std::string extension;                // ".GTL", ...
  std::string description;              // "top copper (K1)", ...
  std::optional<TGerberOutput> output;  // none: outline or drill file
  bool drill = false;
};
// In the order they are written.
const std::vector<TFabFile>& fabFiles();

// The outline file: the board rectangle drawn with a 0.2 mm pen.
std::string gerberOutlineText(const TBoardRecord& board);

struct TFabResult {
  bool ok = false;
  std::string error;
  std::vector<std::string> written;  // paths, in order
};
// Writes every file of the set as folder/stem + extension. Stops at the
// first file that cannot be written; each file is complete or absent.
TFabResult writeFabricationSet(const std::string& folder, const std::string& stem,
                               const TObjektList& elements, const TBoardRecord& board);

}  // namespace plavesk
