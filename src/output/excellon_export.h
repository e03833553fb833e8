// Excellon drill files: the holes of a board's pads, one tool per drill
// diameter in order of first occurrence, in mm (3.3) or inch (2.4).
#pragma once

#include <string>
#include <vector>

#include "document/board.h"

namespace plavesk {

struct TExcellonOptions {
  bool inch = true;          // "Zoll" (2.4); otherwise mm (3.3)
  bool leadingZeros = true;  // cleared by "Führende Nullen entfernen"
  bool fromBottom = false;   // "Von unten bohren (x-gespiegelt)"
};

struct TDrillTool {
  int32_t diameter = 0;               // units
  std::vector<const TObjekt*> holes;  // in element-list order
};

// Pads on a copper layer with a drill; a through pair counts once, through
// its side-1 pad.
bool isDrilledPad(const TObjekt& e);
std::vector<TDrillTool> collectDrillTools(const TObjektList& elements);

// A coordinate in units as written: digits in thousandths of a mm or
// ten-thousandths of an inch, left-padded with zeros to six characters
// unless leading zeros are removed. Negative values keep their sign and get
// no padding.
std::string excellonCoordinate(int64_t units, const TExcellonOptions& options);
// A tool diameter in units as written ("0.8", "1.0", "0.031"): at most four
// significant digits, no trailing zeros, but always a decimal point.
std::string excellonDiameter(int32_t units, const TExcellonOptions& options);

std::string excellonText(const TObjektList& elements, const TBoardRecord& board,
                         const TExcellonOptions& options);
// On failure returns false with a message naming the file; nothing
// half-written is left.
bool writeExcellonFile(const std::string& path, const TObjektList& elements,
                       const TBoardRecord& board, const TExcellonOptions& options,
                       std::string& error);

}  // namespace plavesk
