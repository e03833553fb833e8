// The sizes the drawing tools give new elements (units of 0.01 mm). The
// tool panel's value fields write them; until then they hold the values a
// fresh start shows.
#pragma once

#include <cstdint>

#include "document/objekt.h"

namespace plavesk {

struct TToolValues {
  int32_t trackWidth = 80;
  int32_t padRadius = 90;    // outer radius: half the 1.8 mm diameter
  int32_t drillRadius = 30;  // half the 0.6 mm drill
  uint8_t padShape = kPadRound;
  // The SMD fields hold millimetres; the pad is round(mm x 100) units.
  double smdWidthMm = 0.9;
  double smdHeightMm = 1.8;
  int32_t clearance = 40;
  // "Through pad" in the pad menu: a new pad gets a partner on the other side.
  bool throughPad = false;
  // The cutout button: new areas are ground-plane cutouts.
  bool cutout = false;
};

}  // namespace plavesk
