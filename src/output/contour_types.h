// The values shared by the isolation contour computation and its users: the
// options of a run, the progress report and the result the editor keeps.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

#include "document/objekt.h"

namespace plavesk {

// The memory a contour computation may take unless told otherwise.
constexpr uint64_t kDefaultContourMemoryBudget = uint64_t(2) << 30;

struct TContourOptions {
  int layer = kCopper1;                // copper layer 1 or 3
  int32_t channelWidth = 0;            // units; 0 unless the channel is included
  bool singleLineTexts = false;        // unselected texts are engraved as single lines
  bool singleLineMarkedTexts = false;  // selected texts are engraved as single lines
  // Bytes. A board whose crossings would need more stops the computation
  // before it takes the memory.
  uint64_t memoryBudget = kDefaultContourMemoryBudget;
  // Asked between the steps (each at most a few seconds on the largest
  // boards); true stops the computation with `cancelled` and no contours.
  std::function<bool()> stopRequested;
};

// Texts engraved as single lines are not part of the copper.
inline bool isSingleLineText(const TObjekt& e, const TContourOptions& o) {
  return e.kind == kText && (e.selected ? o.singleLineMarkedTexts : o.singleLineTexts);
}

// The five steps shown by the progress window, in order.
enum class TContourStep : int {
  kSegments = 0,
  kVectors = 1,
  kVectorList = 2,
  kOutlines = 3,
  kOptimise = 4,
};
constexpr int kContourStepCount = 5;

// Called with the current step and the progress within it (position of
// range); the range is set per step.
using TContourProgress = std::function<void(TContourStep step, size_t position, size_t range)>;

// A closed milling path in units; the last point connects to the first.
using TContour = std::vector<TPoint>;
// The result of a run, in the order the milling file writes it. The editor
// keeps it for the view until an edit, undo or redo, the photo view, the
// connection tool, a new or opened layout or the next run discards it.
using TContourList = std::vector<TContour>;

struct TContourResult {
  TContourList contours;
  // Traces that ran into an earlier trace and gave no loop.
  size_t abandonedTraces = 0;
  // The edge crossings the contours are built from; when over budget, those
  // found before the computation stopped.
  size_t crossings = 0;
  // The board would need more memory than the budget: no contours.
  bool overBudget = false;
  // Stopped on request: no contours.
  bool cancelled = false;
};

}  // namespace plavesk
