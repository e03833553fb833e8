// Mappings and small element lists shared by the rendering tests.
#pragma once

#include <cmath>

#include "document/objekt.h"
#include "platform/core/canvas.h"

namespace plavesk::testing {

// The main view's mapping at a zoom: the world origin at pixel (0, 0), y up.
inline CanvasMapping zoomMapping(double zoom) {
  CanvasMapping m;
  m.windowExtX = 10000;
  m.windowExtY = -10000;
  m.viewportExtX = m.viewportExtY = std::nearbyint(zoom * 10000);
  return m;
}

inline TObjekt& addTrack(TObjektList& list, int layer, int32_t width, std::vector<TPoint> points) {
  list.push_back(createTrack(width, layer));
  list.back()->points = std::move(points);
  return *list.back();
}

// Two pads at the same place on both copper sides, linked.
inline TObjekt& addThroughPad(TObjektList& list, TPoint at, int32_t radius, int32_t drill) {
  list.push_back(createPad(at, radius, kPadRound, kCopper1, drill));
  TObjekt& top = *list.back();
  list.push_back(createPad(at, radius, kPadRound, kCopper2, drill));
  TObjekt& bottom = *list.back();
  top.padLink = &bottom;
  bottom.padLink = &top;
  return top;
}

}  // namespace plavesk::testing
