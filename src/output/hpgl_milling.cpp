#include "output/hpgl_milling.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <unordered_set>

#include "document/file_io.h"
#include "output/contour_computation.h"
#include "output/hpgl_texts.h"

namespace plavesk {
namespace {

using MarkSet = std::unordered_set<const TObjekt*>;

// Pads drilled from the chosen side: its own pads and the through pads of
// either side. Pads without a drill have nothing to drill.
bool isDrilledPad(const TObjekt& e, int layer) {
  if (e.kind != kPad || e.dim2 <= 0) return false;
  return e.layer == layer || (isCopperLayer(e.layer) && e.padLink != nullptr);
}

// A through pad is written once: both halves are marked.
bool takeMark(const TObjekt& pad, MarkSet& marked) {
  if (marked.count(&pad)) return false;
  marked.insert(&pad);
  if (pad.padLink) marked.insert(pad.padLink);
  return true;
}

void drillMarks(THpglText& out, const TObjektList& list, const TMillingOptions& o,
                size_t* plunged) {
  MarkSet marked;
  const bool milled = o.drills == TDrillOutput::kMilled;
  const double toolRadius = std::nearbyint(o.toolDiameter / 2.0);
  for (const auto& e : list) {
    if (!isDrilledPad(*e, o.layer) || !takeMark(*e, marked)) continue;
    const TPoint centre{e->x, e->y};
    out.moveTo(centre);
    out.penDown();
    const auto k = static_cast<int32_t>(std::nearbyint((e->dim2 - toolRadius) / 2540.0 * 1000.0));
    if (milled && k > 0) {
      out.circle(k);
    } else {
      // A hole not larger than the tool is a single plunge.
      out.moveTo(centre);
      if (milled && plunged) ++*plunged;
    }
    out.penUp();
  }
}

}  // namespace

TContourOptions TMillingOptions::contourOptions() const {
  TContourOptions c;
  c.layer = layer;
  c.channelWidth = includeChannel ? channelWidth : 0;
  c.singleLineTexts = singleLineTexts;
  c.singleLineMarkedTexts = singleLineMarkedTexts;
  c.memoryBudget = memoryBudget;
  return c;
}

bool millingLayerIsEmpty(const TObjektList& list, int layer) {
  for (const auto& e : list)
    if (e->layer == layer && !(e->kind == kPad && e->dim1 == e->dim2)) return false;
  return true;
}

bool millingLayerNeedsContours(const TObjektList& list, const TMillingOptions& options) {
  const TContourOptions c = options.contourOptions();
  for (const auto& e : list) {
    if (e->layer != options.layer || isSingleLineText(*e, c)) continue;
    if (e->kind != kPad || e->dim1 != e->dim2) return true;
  }
  return false;
}

TMillingFiles millingFiles(const TObjektList& list, int32_t boardHeight, const TRect& frame,
                           const TContourList& contours, const TMillingOptions& o,
                           const std::string& mainName) {
  TMillingFiles result;
  auto fresh = [&] { return THpglText(boardHeight, frame, o.mirror); };
  THpglText main = fresh();
  main.header();
  main.referenceHoles(o.holes);
  for (const auto& contour : contours) main.path(contour, true);
  const TContourOptions c = o.contourOptions();
  for (const auto& e : list) {
    if (e->kind != kText || e->layer != o.layer || !isSingleLineText(*e, c)) continue;
    for (const auto& stroke : e->strokes)
      if (stroke->points.size() >= 2) main.path(stroke->points, false);
  }
  if (o.centreMarks) drillMarks(main, list, o, nullptr);
  result.files.push_back({mainName, main.text()});

  switch (o.drills) {
    case TDrillOutput::kOneFile:
    case TDrillOutput::kMilled: {
      const bool milled = o.drills == TDrillOutput::kMilled;
      THpglText drill = fresh();
      drill.header(milled && o.secondPen);
      drill.referenceHoles(o.holes);
      drillMarks(drill, list, o, &result.plungedHoles);
      result.files.push_back(
          {milled ? drillMilledFileName(o.language) : drillAllFileName(o.language), drill.text()});
      break;
    }
    case TDrillOutput::kPerDiameter: {
      std::vector<int32_t> radii;
      for (const auto& e : list)
        if (isDrilledPad(*e, o.layer) &&
            std::find(radii.begin(), radii.end(), e->dim2) == radii.end())
          radii.push_back(e->dim2);
      MarkSet marked;
      for (int32_t radius : radii) {
        THpglText drill = fresh();
        drill.header();
        drill.referenceHoles(o.holes);
        for (const auto& e : list) {
          if (!isDrilledPad(*e, o.layer) || e->dim2 != radius || !takeMark(*e, marked)) continue;
          drill.moveTo({e->x, e->y});
          drill.penDown();
          drill.moveTo({e->x, e->y});
          drill.penUp();
        }
        result.files.push_back({drillDiameterFileName(2 * radius, o.language), drill.text()});
      }
      break;
    }
    case TDrillOutput::kNone:
      break;
  }
  return result;
}

TMillingRun runIsolationMilling(const TObjektList& list, const TBoardRecord& board,
                                const TMillingOptions& options, const std::string& mainPath,
                                const TContourProgress& progress) {
  TMillingRun run;
  if (millingLayerIsEmpty(list, options.layer)) {
    run.error = millingEmptyLayerMessage(options.language);
    run.caption = millingCaption(options.language);
    return run;
  }
  if (millingLayerNeedsContours(list, options))
    run.contours = computeContours(list, options.contourOptions(), progress);
  if (run.contours.overBudget) {
    run.error =
        contourMemoryMessage(run.contours.crossings, options.memoryBudget, options.language);
    run.caption = millingCaption(options.language);
    return run;
  }
  run.frame = elementsBounds(list);
  const std::filesystem::path main(mainPath);
  const TMillingFiles files = millingFiles(list, board.height, run.frame, run.contours.contours,
                                           options, main.filename().string());
  run.plungedHoles = files.plungedHoles;
  for (const auto& file : files.files) {
    const std::string path = (main.parent_path() / file.name).string();
    std::string error;
    if (!writeFileAtomically(path, {file.text.begin(), file.text.end()}, error)) {
      run.error = error;
      run.caption = millingCaption(options.language);
      return run;
    }
    run.written.push_back(path);
  }
  run.ok = true;
  return run;
}

}  // namespace plavesk
