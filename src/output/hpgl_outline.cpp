#include "output/hpgl_outline.h"

#include <cmath>
#include <numbers>

#include "document/file_io.h"
#include "output/hpgl_texts.h"

namespace plavesk {

bool isOutlineElement(const TObjekt& e) {
  return e.selected && (e.layer == kSilk1 || e.layer == kSilk2) &&
         (e.kind == kTrack || e.kind == kCircle);
}

bool hasOutlineElements(const TObjektList& list) {
  for (const auto& e : list)
    if (isOutlineElement(*e)) return true;
  return false;
}

std::vector<TPoint> outlineCirclePoints(const TObjekt& c) {
  constexpr double kTwoPi = 2 * std::numbers::pi;
  const double rho = std::nearbyint(c.dim2 + (c.dim1 - c.dim2) / 2.0);
  const int steps = static_cast<int>(rho) / 100 + 30;
  const double alpha = c.angle * std::numbers::pi / 180;
  double beta = c.dim3 * std::numbers::pi / 180;
  if (beta == alpha) beta = alpha + kTwoPi;
  double sweep = std::fabs(alpha - beta);
  if (alpha > beta) sweep = kTwoPi - sweep;
  std::vector<TPoint> points;
  points.reserve(steps + 1);
  for (int i = 0; i <= steps; ++i) {
    const double theta = alpha + sweep * i / steps;
    points.push_back({c.x + static_cast<int32_t>(std::nearbyint(std::cos(theta) * rho)),
                      c.y + static_cast<int32_t>(std::nearbyint(std::sin(theta) * rho))});
  }
  return points;
}

std::string outlineFileText(const TObjektList& list, int32_t boardHeight, const TRect& frame,
                            const TOutlineOptions& options) {
  THpglText out(boardHeight, frame, options.mirror);
  out.header();
  out.referenceHoles(options.holes);
  for (const auto& e : list) {
    if (!isOutlineElement(*e)) continue;
    if (e->kind == kTrack) {
      if (e->points.size() >= 2) out.path(e->points, false);
    } else {
      out.path(outlineCirclePoints(*e), false);
    }
  }
  return out.text();
}

TOutlineRun runOutlineMilling(const TObjektList& list, const TBoardRecord& board,
                              const TOutlineOptions& options, const std::string& path) {
  TOutlineRun run;
  if (!hasOutlineElements(list)) {
    run.error = outlineNothingSelectedMessage(options.language);
    run.caption = outlineCaption(options.language);
    return run;
  }
  const std::string text = outlineFileText(list, board.height, elementsBounds(list), options);
  if (!writeFileAtomically(path, {text.begin(), text.end()}, run.error)) {
    run.caption = outlineCaption(options.language);
    return run;
  }
  run.ok = true;
  return run;
}

}  // namespace plavesk
