#include "view/layer_passes.h"

#include <array>
#include <cstdlib>

#include "view/element_rendering.h"
#include "view/geometry.h"
#include "view/layer_visibility.h"
#include "view/photo_view.h"
#include "view/units.h"

namespace plavesk {

namespace {

bool meets(const TRect& a, const TRect& b) {
  return a.left <= b.right && b.left <= a.right && a.top <= b.bottom && b.top <= a.bottom;
}

// Circles take a box around their full disc: their exact bounds need the
// outline region, too dear for every paint.
TRect clipBounds(const TObjekt& e) {
  if (e.kind != kCircle) return elementBounds(e);
  const int32_t w = e.dim3 / 2 == 0 ? 20 : std::abs(e.dim3 / 2);
  const int32_t r = std::abs(e.dim1) + w + std::abs(e.clearance);
  return {e.x - r, e.y - r, e.x + r, e.y + r};
}

bool inClip(const TObjekt& e, const TRect& clip) {
  return meets(clipBounds(e), clip);
}

bool mirroredPhoto(const TRenderSettings& s) {
  return s.photoView && s.photo.mirrored();
}

CanvasRect circleBox(int32_t x, int32_t y, int32_t r) {
  return {x - r, y + r, x + r, y - r};
}

}  // namespace

TMirroredDrawing::TMirroredDrawing(TObjekt& e, bool active) {
  if (!active || (e.kind != kFontText && e.kind != kCircle)) return;
  e_ = &e;
  x_ = e.x;
  y_ = e.y;
  angle_ = e.angle;
  dim3_ = e.dim3;
  if (e.kind == kFontText) {
    if (e.angle == 90 || e.angle == 270)
      e.y = e.dim2;
    else
      e.x = e.dim1;
  } else {
    std::swap(e.angle, e.dim3);
  }
}

TMirroredDrawing::~TMirroredDrawing() {
  if (!e_) return;
  e_->x = x_;
  e_->y = y_;
  e_->angle = angle_;
  e_->dim3 = dim3_;
}

void drawLayerPass(TObjektList& list, Canvas& canvas, int layer, const TBoardRecord& state,
                   const TRenderSettings& settings, bool onlyMarked) {
  if (!settings.photoView && !isLayerVisible(state, layer)) return;
  const TRect clip = worldClipRect(canvas);
  const bool mirrored = mirroredPhoto(settings);
  for (int padPass = 0; padPass < 2; ++padPass) {
    for (auto& ep : list) {
      TObjekt& e = *ep;
      if (e.layer != layer || (onlyMarked && !e.workMark)) continue;
      if ((e.kind == kPad) != (padPass == 1)) continue;
      if (e.kind == kArea && e.cutout) continue;
      if (!inClip(e, clip)) continue;
      TMirroredDrawing adjust(e, mirrored);
      drawElement(e, canvas, state.activeLayer, settings);
    }
  }
}

void drawHoles(const TObjektList& list, Canvas& canvas, const TBoardRecord& state,
               const TRenderSettings& settings, bool onlyMarked) {
  const TRect clip = worldClipRect(canvas);
  canvas.setBrush({kWhite, true, nullptr});
  for (const auto& ep : list) {
    const TObjekt& e = *ep;
    if (e.kind != kPad || (onlyMarked && !e.workMark) || !isLayerVisible(state, e.layer)) continue;
    if (!inClip(e, clip)) continue;
    const TColour rim = settings.photoView ? kBlack : e.padLink ? kThroughHoleRim : kWhite;
    canvas.setPen({rim, 0, PenStyle::kSolid});
    canvas.setBrush({kWhite, true, nullptr});
    canvas.ellipse(circleBox(e.x, e.y, e.dim2));
    if (!settings.photoView && e.dim2 == e.dim1) {
      canvas.setPen({e.selected ? kSelectionColour : kBlack, 0, PenStyle::kSolid});
      const int32_t h = roundToUnit(e.dim1 / 2.0);
      canvas.line({e.x - h, e.y + h}, {e.x + h, e.y - h});
      canvas.line({e.x + h, e.y + h}, {e.x - h, e.y - h});
    }
  }
}

void drawElements(TObjektList& list, Canvas& canvas, const TBoardRecord& state,
                  const TRenderSettings& settings, bool onlyMarked) {
  if (!settings.photoView) {
    for (int layer : layerDrawOrder(state.activeLayer))
      drawLayerPass(list, canvas, layer, state, settings, onlyMarked);
    drawHoles(list, canvas, state, settings, onlyMarked);
    return;
  }
  const TRenderSettings photo = photoRenderSettings(settings, state);
  for (int layer : photoLayerOrder(settings.photo))
    drawLayerPass(list, canvas, layer, state, photo, onlyMarked);
  drawHoles(list, canvas, state, photo, onlyMarked);
}

void drawGroundPlane(TObjektList& list, Canvas& canvas, const TBoardRecord& state,
                     const TRenderSettings& settings) {
  const TRect clip = worldClipRect(canvas);
  if (settings.photoView) {
    const int viewed = settings.photo.side == 2 ? kCopper2 : kCopper1;
    if (!isGroundPlaneOn(state, viewed)) return;
    const bool mirrored = mirroredPhoto(settings);
    for (auto& ep : list) {
      if (ep->layer != viewed || !inClip(*ep, clip)) continue;
      TMirroredDrawing adjust(*ep, mirrored);
      drawClearance(*ep, canvas, state.activeLayer, settings);
    }
    return;
  }
  const bool planeOn = isGroundPlaneOn(state, state.activeLayer);
  const int activeCopper = isSide2Layer(state.activeLayer) ? kCopper2 : kCopper1;
  for (auto& ep : list) {
    TObjekt& e = *ep;
    if (e.kind != kArea || !e.cutout || !isLayerVisible(state, e.layer)) continue;
    if (planeOn && e.layer == activeCopper) continue;
    if (inClip(e, clip)) drawElement(e, canvas, state.activeLayer, settings);
  }
  if (!planeOn) return;
  for (auto& ep : list) {
    TObjekt& e = *ep;
    if (e.layer != activeCopper || !isLayerVisible(state, e.layer) || !inClip(e, clip)) continue;
    drawClearance(e, canvas, state.activeLayer, settings);
  }
}

void drawPreview(TObjektList& list, Canvas& canvas, const TRenderSettings& settings,
                 bool sideSwapped) {
  TRenderSettings s = settings;
  s.photoView = false;
  const std::array<int, 4> order =
      sideSwapped ? std::array<int, 4>{1, 3, 2, 4} : std::array<int, 4>{3, 1, 4, 2};
  const int active = sideSwapped ? kCopper2 : kCopper1;
  for (int layer : order)
    for (int padPass = 0; padPass < 2; ++padPass)
      for (auto& ep : list)
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
