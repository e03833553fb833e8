// The board outline milling file: the selected tracks and circles of the
// silkscreen layers as open and circular HPGL paths.
#pragma once

#include <string>
#include <vector>

#include "document/board.h"
#include "output/hpgl_writer.h"

namespace plavesk {

struct TOutlineOptions {
  TReferenceHoles holes;  // shared with isolation milling
  TMirror mirror = TMirror::kNone;
  int language = 1;
};

// A selected track or circle on a silkscreen layer.
bool isOutlineElement(const TObjekt& e);
bool hasOutlineElements(const TObjektList& list);

// The points milled along a circle: the middle of the ring from the start
// angle counter-clockwise to the end angle (once round for equal angles).
std::vector<TPoint> outlineCirclePoints(const TObjekt& circle);

std::string outlineFileText(const TObjektList& list, int32_t boardHeight, const TRect& frame,
                            const TOutlineOptions& options);

struct TOutlineRun {
  bool ok = false;
  std::string error;    // when not ok
  std::string caption;  // of the message box for `error`
};

// Checks that something is selected and writes the file through a
// temporary file.
TOutlineRun runOutlineMilling(const TObjektList& list, const TBoardRecord& board,
                              const TOutlineOptions& options, const std::string& path);

}  // namespace plavesk
