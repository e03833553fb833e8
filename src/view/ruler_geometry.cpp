#include "view/ruler_geometry.h"

#include <cmath>
#include <cstdio>

#include "view/units.h"

namespace plavesk {

TRulerScale rulerScale(double zoom, bool inchMode) {
  TRulerScale s;
  s.step = inchMode ? 254 : 100;
  s.pixels = s.step * zoom;
  s.major = s.pixels > 40 ? 1 : s.pixels >= 3 ? 10 : 25;
  return s;
}

std::string rulerLabel(int64_t step, bool inchMode) {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%.3g", inchMode ? double(step) / 10 : double(step));
  return buffer;
}

std::vector<TRulerTick> rulerTicks(RulerSide side, double zoom, bool inchMode, int32_t originPixel,
                                   int32_t lead, int32_t boardHeight) {
  const TRulerScale s = rulerScale(zoom, inchMode);
  const bool top = side == RulerSide::kTop;
  const int64_t span =
      top ? roundToUnit(30000.0 / s.step) : roundToUnit(double(boardHeight) / s.step);
  const double shift = top ? originPixel + lead : originPixel + 2;
  std::vector<TRulerTick> ticks;
  for (int64_t e = -span; e <= span; ++e) {
    TRulerTick t;
    t.position = roundToUnit(double(e) * s.pixels + shift);
    if (e % s.major == 0) {
      t.length = 14;
      t.label = rulerLabel(e, inchMode);
    } else if ((2 * e) % s.major == 0 && (!top || s.pixels > 4)) {
      t.length = 8;
    } else if (s.pixels > 4) {
      t.length = 4;
    } else {
      continue;
    }
    ticks.push_back(std::move(t));
  }
  return ticks;
}

}  // namespace plavesk
