#include "output/hpgl_writer.h"

#include <cmath>

namespace plavesk {

TPlotterPoint toPlotter(TPoint p, int32_t boardHeight) {
  return {static_cast<int32_t>(std::nearbyint(0.4 * p.x)),
          static_cast<int32_t>(std::nearbyint(0.4 * (double(p.y) + boardHeight)))};
}

TPoint mirrorPoint(TPoint p, const TRect& frame, TMirror mirror) {
  // The frame's "top" is its smallest y.
  switch (mirror) {
    case TMirror::kX:
      return {frame.left + frame.right - p.x, p.y};
    case TMirror::kY:
      return {p.x, frame.top + frame.bottom - p.y};
    default:
      return p;
  }
}

void THpglText::moveTo(TPoint p) {
  moveToUnmirrored(mirrorPoint(p, frame_, mirror_));
}

void THpglText::moveToUnmirrored(TPoint p) {
  const TPlotterPoint q = toPlotter(p, height_);
  statement("PA" + std::to_string(q.x) + "," + std::to_string(q.y) + ";");
}

void THpglText::header(bool secondPen) {
  statement("IN;");
  if (secondPen) text_ += "SP2\r\n";
  statement("PT0;");
  penUp();
}

void THpglText::referenceHoles(const TReferenceHoles& holes) {
  // Bottom is the smallest y: the frame's "top" field.
  const TPoint corners[4] = {{frame_.left, frame_.top},
                             {frame_.right, frame_.top},
                             {frame_.left, frame_.bottom},
                             {frame_.right, frame_.bottom}};
  const bool chosen[4] = {holes.bottomLeft, holes.bottomRight, holes.topLeft, holes.topRight};
  for (int i = 0; i < 4; ++i) {
    if (!chosen[i]) continue;
    moveToUnmirrored(corners[i]);
    penDown();
    penUp();
  }
}

void THpglText::path(const std::vector<TPoint>& points, bool closed) {
  if (points.empty()) return;
  moveTo(points[0]);
  penDown();
  for (size_t i = 1; i < points.size(); ++i) moveTo(points[i]);
  if (closed) moveTo(points[0]);
  penUp();
}

}  // namespace plavesk
