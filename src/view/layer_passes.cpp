#include "view/layer_passes.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "view/element_rendering.h"
#include "view/geometry.h"
#include "view/layer_visibility.h"
#include "view/memory_prefetch.h"
#include "view/photo_view.h"
#include "view/units.h"

namespace plavesk {

namespace {

bool meets(const TRect& a, const TRect& b) {
  return a.left <= b.right && b.left <= a.right && a.top <= b.bottom && b.top <= a.bottom;
}

// Circles take a box around their full disc: their exact bounds need the
// outline region, too dear for every paint. A text's strokes are drawn with
// the text's clearance, which their own bounds may not cover.
TRect clipBounds(const TObjekt& e) {
  if (e.kind == kText) {
    int64_t grow = 0;
    for (const auto& stroke : e.strokes)
      grow = std::max(grow, int64_t(e.clearance) - stroke->clearance);
    const TRect r = elementBounds(e);
    if (grow == 0) return r;
    auto by = [grow](int32_t v, int sign) {
      return int32_t(std::clamp<int64_t>(v + sign * grow, INT32_MIN, INT32_MAX));
    };
    return {by(r.left, -1), by(r.top, -1), by(r.right, 1), by(r.bottom, 1)};
  }
  if (e.kind != kCircle) return elementBounds(e);
  const int32_t w = e.dim3 / 2 == 0 ? 20 : std::abs(e.dim3 / 2);
  const int32_t r = std::abs(e.dim1) + w + std::abs(e.clearance);
  return {e.x - r, e.y - r, e.x + r, e.y + r};
}

bool inClip(const TObjekt& e, const TRect& clip) {
  return meets(clipBounds(e), clip);
}

// The element eight places on, and the points of the one four places on
// (their bounds need them).
void prefetchAhead(const TObjektList& list, size_t i) {
  if (i + 8 < list.size()) prefetchForRead(list[i + 8].get());
  if (i + 4 < list.size()) prefetchForRead(list[i + 4]->points.data());
}

CanvasRect circleBox(int32_t x, int32_t y, int32_t r) {
  return {x - r, y + r, x + r, y - r};
}

// The elements of a list that meet the clip, sorted in one walk over the
// list into what each layer pass and the hole pass draw, each in list
// order. Walking a long list once rather than once a pass keeps a zoomed-in
// paint from paying for the elements it does not show.
struct TClippedElements {
  std::array<std::vector<TListed>, 5> others;  // by layer code 1..4: neither pads nor cut-outs
  std::array<std::vector<TListed>, 5> pads;
  std::vector<TListed> allPads;  // every layer, for the holes
};

void clipElements(const TObjektList& list, const TRect& clip, TElementSubset subset,
                  TClippedElements& out, std::vector<TListed>* banded) {
  for (size_t i = 0; i < list.size(); ++i) {
    prefetchAhead(list, i);
    const TObjekt& e = *list[i];
    if (!inSubset(e, subset)) continue;
    if (banded && e.hasConnections() && !e.connections.empty()) banded->push_back({&e, i});
    const bool pad = e.kind == kPad;
    const bool layered = isValidLayer(e.layer);
    // Cut-out areas and elements on unknown layers are drawn by no pass
    // here (the ground plane draws cut-outs).
    if (!pad && (!layered || (e.kind == kArea && e.cutout))) continue;
    if (!inClip(e, clip)) continue;
    if (pad) {
      out.allPads.push_back({&e, i});
      if (layered) out.pads[size_t(e.layer)].push_back({&e, i});
    } else {
      out.others[size_t(e.layer)].push_back({&e, i});
    }
  }
}

// The layer drawn `position`-th: its other elements, then its pads.
void layerPass(const TClippedElements& clipped, Canvas& canvas, int layer, size_t position,
               size_t count, const TBoardRecord& state, const TRenderSettings& settings) {
  if (!isValidLayer(layer)) return;
  if (!settings.photoView && !isLayerVisible(state, layer)) return;
  const int pass = kFirstLayerPass + 2 * int(std::min<size_t>(position, 7));
  for (const TListed& l : clipped.others[size_t(layer)]) {
    canvas.setOrder(paintOrder(pass, l.index, count));
    drawElement(*l.e, canvas, state.activeLayer, settings);
  }
  for (const TListed& l : clipped.pads[size_t(layer)]) {
    canvas.setOrder(paintOrder(pass + 1, l.index, count));
    drawElement(*l.e, canvas, state.activeLayer, settings);
  }
}

void holeOf(const TObjekt& e, Canvas& canvas, const TRenderSettings& settings) {
  const TColour rim = settings.photoView ? kBlack : e.padLink ? kThroughHoleRim : kWhite;
  canvas.setPen({rim, 0, PenStyle::kSolid});
  canvas.setBrush({kWhite, true, nullptr});
  canvas.ellipse(circleBox(e.x, e.y, e.dim2));
  if (!settings.photoView && e.dim2 == e.dim1) {
    canvas.setPen({showsSelected(e, settings) ? kSelectionColour : kBlack, 0, PenStyle::kSolid});
    const int32_t h = roundToUnit(e.dim1 / 2.0);
    canvas.line({e.x - h, e.y + h}, {e.x + h, e.y - h});
    canvas.line({e.x + h, e.y + h}, {e.x - h, e.y - h});
  }
}

void holesPass(const std::vector<TListed>& pads, size_t count, Canvas& canvas,
               const TBoardRecord& state, const TRenderSettings& settings) {
  canvas.setBrush({kWhite, true, nullptr});
  for (const TListed& l : pads) {
    if (!isLayerVisible(state, l.e->layer)) continue;
    canvas.setOrder(paintOrder(kHolesPass, l.index, count));
    holeOf(*l.e, canvas, settings);
  }
}

}  // namespace

void drawLayerPass(const TObjektList& list, Canvas& canvas, int layer, const TBoardRecord& state,
                   const TRenderSettings& settings, bool onlySelected) {
  if (!settings.photoView && !isLayerVisible(state, layer)) return;
  const TRect clip = worldClipRect(canvas);
  for (int padPass = 0; padPass < 2; ++padPass) {
    for (const auto& ep : list) {
      const TObjekt& e = *ep;
      if (e.layer != layer || (onlySelected && !e.selected)) continue;
      if ((e.kind == kPad) != (padPass == 1)) continue;
      if (e.kind == kArea && e.cutout) continue;
      if (!inClip(e, clip)) continue;
      drawElement(e, canvas, state.activeLayer, settings);
    }
  }
}

void drawHoles(const TObjektList& list, Canvas& canvas, const TBoardRecord& state,
               const TRenderSettings& settings, bool onlySelected) {
  const TRect clip = worldClipRect(canvas);
  canvas.setBrush({kWhite, true, nullptr});
  for (const auto& ep : list) {
    const TObjekt& e = *ep;
    if (e.kind != kPad || (onlySelected && !e.selected) || !isLayerVisible(state, e.layer))
      continue;
    if (inClip(e, clip)) holeOf(e, canvas, settings);
  }
}

namespace {

void drawClippedElements(const TObjektList& list, Canvas& canvas, const TBoardRecord& state,
                         const TRenderSettings& settings, TElementSubset subset,
                         std::vector<TListed>* banded) {
  TClippedElements clipped;
  clipElements(list, worldClipRect(canvas), subset, clipped, banded);
  const size_t count = list.size();
  if (!settings.photoView) {
    const auto order = layerDrawOrder(state.activeLayer);
    for (size_t k = 0; k < order.size(); ++k)
      layerPass(clipped, canvas, order[k], k, count, state, settings);
    holesPass(clipped.allPads, count, canvas, state, settings);
    return;
  }
  const TRenderSettings photo = photoRenderSettings(settings, state);
  const auto order = photoLayerOrder(settings.photo);
  for (size_t k = 0; k < order.size(); ++k)
    layerPass(clipped, canvas, order[k], k, count, state, photo);
  holesPass(clipped.allPads, count, canvas, state, photo);
}

}  // namespace

void drawElements(const TObjektList& list, Canvas& canvas, const TBoardRecord& state,
                  const TRenderSettings& settings, bool onlySelected) {
  drawClippedElements(list, canvas, state, settings,
                      onlySelected ? TElementSubset::selected : TElementSubset::all, nullptr);
}

void drawElements(const TObjektList& list, Canvas& canvas, const TBoardRecord& state,
                  const TRenderSettings& settings, TElementSubset subset,
                  std::vector<TListed>& banded) {
  drawClippedElements(list, canvas, state, settings, subset, &banded);
}

void drawGroundPlane(const TObjektList& list, Canvas& canvas, const TBoardRecord& state,
                     const TRenderSettings& settings, TElementSubset subset) {
  const TRect clip = worldClipRect(canvas);
  const size_t count = list.size();
  if (settings.photoView) {
    const int viewed = settings.photo.side == 2 ? kCopper2 : kCopper1;
    if (!isGroundPlaneOn(state, viewed)) return;
    for (size_t i = 0; i < count; ++i) {
      const TObjekt& e = *list[i];
      if (e.layer != viewed || !inSubset(e, subset) || !inClip(e, clip)) continue;
      canvas.setOrder(paintOrder(kClearancePass, i, count));
      drawClearance(e, canvas, settings);
    }
    return;
  }
  const bool planeOn = isGroundPlaneOn(state, state.activeLayer);
  const int activeCopper = isSide2Layer(state.activeLayer) ? kCopper2 : kCopper1;
  // The cut-outs first, then the clearances: one walk collects the latter.
  std::vector<TListed> clearances;
  for (size_t i = 0; i < count; ++i) {
    prefetchAhead(list, i);
    const TObjekt& e = *list[i];
    const bool cutout = e.kind == kArea && e.cutout;
    const bool plane = planeOn && e.layer == activeCopper;
    if (!cutout && !plane) continue;
    if (!inSubset(e, subset) || !isLayerVisible(state, e.layer) || !inClip(e, clip)) continue;
    if (plane) {
      clearances.push_back({&e, i});
    } else {
      canvas.setOrder(paintOrder(kCutoutPass, i, count));
      drawElement(e, canvas, state.activeLayer, settings);
    }
  }
  for (const TListed& l : clearances) {
    canvas.setOrder(paintOrder(kClearancePass, l.index, count));
    drawClearance(*l.e, canvas, settings);
  }
}

void drawPreview(const TObjektList& list, Canvas& canvas, const TRenderSettings& settings,
                 bool sideSwapped) {
  TRenderSettings s = settings;
  s.photoView = false;
  const std::array<int, 4> order =
      sideSwapped ? std::array<int, 4>{1, 3, 2, 4} : std::array<int, 4>{3, 1, 4, 2};
  const int active = sideSwapped ? kCopper2 : kCopper1;
  for (int layer : order)
    for (int padPass = 0; padPass < 2; ++padPass)
      for (const auto& ep : list)
        if (ep->layer == layer && (ep->kind == kPad) == (padPass == 1))
          drawElement(*ep, canvas, active, s);
  canvas.setBrush({kWhite, true, nullptr});
  for (const auto& ep : list) {
    if (ep->kind != kPad) continue;
    canvas.setPen({kThroughHoleRim, 0, ep->padLink ? PenStyle::kSolid : PenStyle::kNone});
    canvas.ellipse(circleBox(ep->x, ep->y, ep->dim2));
  }
}

}  // namespace plavesk
