// Where the rulers above and left of the main view put their ticks and
// labels. The ruler widgets draw what this computes.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace plavesk {

// One step is 1 mm (100 units), or 0.1 inch (254 units) in inch mode.
struct TRulerScale {
  int32_t step = 100;  // units a step
  double pixels = 0;   // pixels a step
  int major = 1;       // every major-th step is labelled
};
TRulerScale rulerScale(double zoom, bool inchMode);

struct TRulerTick {
  int32_t position = 0;  // pixels along the ruler
  int length = 0;        // 14 labelled, 8 half interval, 4 other
  std::string label;     // labelled ticks only
};

enum class RulerSide { kTop, kLeft };

// Ticks of one ruler. `originPixel` is the viewport position of the origin
// along the ruler; the top ruler spans +-300 mm around it and adds the
// viewport's left within the ruler (`lead`), the left ruler spans +-board
// height and adds 2 pixels.
std::vector<TRulerTick> rulerTicks(RulerSide side, double zoom, bool inchMode, int32_t originPixel,
                                   int32_t lead, int32_t boardHeight);

// A label: e, or e / 10 in inch mode, with at most 3 significant digits.
std::string rulerLabel(int64_t step, bool inchMode);

}  // namespace plavesk
