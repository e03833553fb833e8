// Isolation milling files: the contours around the copper of one layer,
// single-line texts, reference holes and drill marks in one HPGL file, and
// the extra drill files next to it.
#pragma once

#include <string>
#include <vector>

#include "document/board.h"
#include "output/contour_types.h"
#include "output/hpgl_writer.h"

namespace plavesk {

enum class TDrillOutput { kNone, kOneFile, kPerDiameter, kMilled };

// One value holding the milling dialog's choices, with its defaults.
struct TMillingOptions {
  int layer = kCopper1;
  bool includeChannel = false;
  int32_t channelWidth = 0;  // units; used only with includeChannel
  bool singleLineTexts = false;
  bool singleLineMarkedTexts = false;
  TDrillOutput drills = TDrillOutput::kNone;
  int32_t toolDiameter = 0;  // units, for milled holes
  bool secondPen = false;    // milled holes on pen 2
  TReferenceHoles holes;
  bool centreMarks = false;
  TMirror mirror = TMirror::kNone;
  int language = 1;  // names of the extra drill files and messages
  uint64_t memoryBudget = kDefaultContourMemoryBudget;  // bytes, for the contours

  TContourOptions contourOptions() const;
};

// The layer holds nothing but pads whose outer radius equals their drill.
bool millingLayerIsEmpty(const TObjektList& list, int layer);
// Something on the layer needs contours (not only bare holes and
// single-line texts).
bool millingLayerNeedsContours(const TObjektList& list, const TMillingOptions& options);

struct THpglFile {
  std::string name;  // without folder
  std::string text;
};

struct TMillingFiles {
  std::vector<THpglFile> files;  // the main file first
  size_t plungedHoles = 0;       // milled holes not larger than the tool
};

// The texts of the main file (named `mainName`) and the extra drill files.
// The contours are given unmirrored.
TMillingFiles millingFiles(const TObjektList& list, int32_t boardHeight, const TRect& frame,
                           const TContourList& contours, const TMillingOptions& options,
                           const std::string& mainName);

struct TMillingRun {
  bool ok = false;
  std::string error;        // when not ok
  std::string caption;      // of the message box for `error`
  TContourResult contours;  // unmirrored, for the view
  TRect frame;
  std::vector<std::string> written;  // paths
  size_t plungedHoles = 0;
};

// The whole command after its dialog: checks the layer, computes the
// contours when needed and writes every file through a temporary file.
TMillingRun runIsolationMilling(const TObjektList& list, const TBoardRecord& board,
                                const TMillingOptions& options, const std::string& mainPath,
                                const TContourProgress& progress = {});

}  // namespace plavesk
