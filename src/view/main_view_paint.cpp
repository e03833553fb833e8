#include "view/main_view_paint.h"

#include <algorithm>
#include <cmath>
#include <exception>
#include <thread>

#include "view/element_rendering.h"
#include "view/layer_passes.h"
#include "view/layer_visibility.h"
#include "view/memory_prefetch.h"
#include "view/photo_view.h"
#include "view/units.h"

namespace plavesk {

CanvasMapping zoomMapping(double zoom) {
  CanvasMapping m;
  m.windowExtX = 10000;
  m.windowExtY = -10000;
  m.viewportExtX = m.viewportExtY = std::nearbyint(zoom * 10000);
  return m;
}

CanvasMapping viewMapping(const TViewState& view) {
  CanvasMapping m = zoomMapping(view.zoom());
  if (view.mirrored()) {
    m.windowExtX = -10000;
    m.windowOrgX = view.boardWidth();
  }
  return m;
}

void drawBoardBackground(Canvas& canvas, const TBoardRecord& state, const TRenderSettings& settings,
                         int32_t margin) {
  const TColour colour = settings.photoView ? photoBackgroundColour(state, settings.photo)
                                            : boardBackgroundColour(state, settings.colours());
  canvas.setPen({colour, 0, PenStyle::kSolid});
  canvas.setBrush({colour, true, nullptr});
  canvas.rectangle({0, 0, state.width + margin, -state.height - margin});
}

bool templateRect(int32_t w, int32_t h, int32_t dpi, int32_t offsetX, int32_t offsetY, TRect& out) {
  if (dpi <= 0 || w <= 0 || h <= 0) return false;
  const int32_t right = roundToUnit(double(w) / dpi * 25.4 * 100);
  const int32_t bottom = -roundToUnit(double(h) / dpi * 25.4 * 100);
  out = {10 * offsetX, -10 * offsetY, right + 10 * offsetX, bottom - 10 * offsetY};
  return true;
}

void drawTemplate(Canvas& canvas, const TBoardRecord& state, const TRenderSettings& settings,
                  const TTemplateImages& templates) {
  const bool side2 = isSide2Layer(state.activeLayer);
  const CanvasImage* image = side2 ? templates.side2 : templates.side1;
  if (!image || !(side2 ? state.template2Shown : state.template1Shown)) return;
  TRect r;
  if (!templateRect(image->width, image->height, side2 ? state.template2Dpi : state.template1Dpi,
                    side2 ? state.template2OffsetX : state.template1OffsetX,
                    side2 ? state.template2OffsetY : state.template1OffsetY, r))
    return;
  const CanvasRect box{r.left, r.top, r.right, r.bottom};
  const CanvasColour ink =
      TColour(side2 ? state.template2Color : state.template1Color) & 0x00FFFFFF;
  const CanvasColour paper = settings.colour(kColourBackground);
  // A colour picture ignores ink and paper, and a two-colour one may carry
  // them already: only otherwise is the picture copied to recolour it.
  if (!image->twoColour || (image->ink == ink && image->paper == paper)) {
    canvas.image(box, *image);
    return;
  }
  CanvasImage picture = *image;
  picture.ink = ink;
  picture.paper = paper;
  canvas.image(box, picture);
}

void drawGrid(Canvas& canvas, const TBoardRecord& state, const TViewState& view,
              const TRenderSettings& settings, const TGridOptions& options) {
  const double grid = state.grid;
  if (!options.visible || !(grid > 0) || !std::isfinite(grid) || !(view.zoom() > 0)) return;
  const double u = 1 / view.zoom();
  const int32_t ru = roundToUnit(u);
  TRect clip = worldClipRect(canvas);
  clip = {clip.left - 2 * ru - 1, clip.top - ru, clip.right + ru, clip.bottom + ru};
  if (4.0 * ru >= grid) return;
  const int32_t majorWidth = roundToUnit(2 / view.zoom());
  auto penFor = [&](int64_t i) {
    int32_t w = ru;
    if (options.subdivision > 0) w = i % options.subdivision == 0 ? majorWidth : 0;
    canvas.setPen({settings.colour(kColourGrid), w, PenStyle::kSolid});
  };
  const int32_t x0 = roundToUnit(view.scrollX() / view.zoom()) - ru;
  const int32_t x1 = x0 + roundToUnit(view.clientWidth / view.zoom()) + ru;
  const int32_t yTop = -roundToUnit(view.scrollY() / view.zoom());
  const int32_t yBottom =
      -(roundToUnit(view.scrollY() / view.zoom()) + roundToUnit(view.clientHeight / view.zoom()));
  const int64_t rows = int64_t((state.height - 1) / grid);
  for (int64_t i = 1; i <= rows; ++i) {
    const int32_t y = -roundToUnit(double(i) * grid);
    if (y < clip.top || y > clip.bottom) continue;
    penFor(i);
    canvas.line({x0, y}, {x1, y});
  }
  const int64_t columns = int64_t((state.width - 1) / grid);
  for (int64_t i = 1; i <= columns; ++i) {
    const int32_t x = roundToUnit(double(i) * grid);
    if (x < clip.left || x > clip.right) continue;
    penFor(i);
    canvas.line({x, yTop}, {x, yBottom});
  }
}

namespace {

// The passes on one canvas.
void paintPasses(const TObjektList& elements, const TBoardRecord& state, const TViewState& view,
                 Canvas& canvas, const TRenderSettings& baseSettings,
                 const TMainViewExtras& extras) {
  TRenderSettings settings = baseSettings;
  settings.photoView = view.photoViewActive;
  settings.photo.side = view.photoMirrored ? 2 : 1;
  canvas.setMapping(viewMapping(view));
  canvas.setMode(RasterMode::kCopy);
  canvas.setOrder(0);
  const TElementSubset subset = extras.subset;
  const bool ground = subset != TElementSubset::selected;
  const size_t count = elements.size();
  if (ground) drawBoardBackground(canvas, state, settings, roundToUnit(2 / view.zoom()));
  if (ground && !settings.photoView) drawTemplate(canvas, state, settings, extras.templates);
  drawGroundPlane(elements, canvas, state, settings, subset);
  if (ground && !settings.photoView) {
    canvas.setOrder(paintOrder(kGridPass, 0, count));
    drawGrid(canvas, state, view, settings, extras.grid);
  }
  std::vector<TListed> banded;
  drawElements(elements, canvas, state, settings, subset, banded);
  if (!settings.photoView) {
    // The bands' ends lie anywhere in memory: ask for the element, its list
    // of partners and the partners, each a few elements before it is needed.
    constexpr size_t kAhead = 4;
    const size_t n = banded.size();
    for (size_t i = 0; i < n; ++i) {
      if (i + 3 * kAhead < n) prefetchForRead(banded[i + 3 * kAhead].e);
      if (i + 2 * kAhead < n) prefetchForRead(banded[i + 2 * kAhead].e->connections.data());
      if (i + kAhead < n)
        for (const TObjekt* partner : banded[i + kAhead].e->connections) prefetchForRead(partner);
      canvas.setOrder(paintOrder(kBandsPass, banded[i].index, count));
      drawConnections(*banded[i].e, canvas, {}, settings, &elements);
    }
  }
  if (ground && extras.contours && !settings.photoView) {
    canvas.setOrder(UINT32_MAX);
    canvas.setPen({kWhite, 2, PenStyle::kSolid});
    for (const auto& contour : *extras.contours) {
      if (contour.size() < 2) continue;
      std::vector<CanvasPoint> pts;
      pts.reserve(contour.size() + 1);
      for (const TPoint& p : contour) pts.push_back({p.x, p.y});
      pts.push_back(pts.front());
      canvas.polyline(pts);
    }
  }
}

// Below this many rows a second thread costs more than it saves.
constexpr int32_t kMinRowsForParts = 128;

}  // namespace

void paintMainView(const TObjektList& elements, const TBoardRecord& state, const TViewState& view,
                   Canvas& canvas, const TRenderSettings& settings, const TMainViewExtras& extras) {
  if (view.paintSuppressed) return;
  const CanvasRect clip = canvas.clipBox();
  if (clip.bottom - clip.top >= kMinRowsForParts && std::thread::hardware_concurrency() > 1) {
    // The upper and the lower half of the clip on two threads: the passes
    // give the same pixels inside any clip, so the halves join seamlessly,
    // and they only read the elements.
    const int32_t middle = clip.top + (clip.bottom - clip.top) / 2;
    std::unique_ptr<Canvas> upper = canvas.band({clip.left, clip.top, clip.right, middle});
    std::unique_ptr<Canvas> lower = canvas.band({clip.left, middle, clip.right, clip.bottom});
    if (upper && lower) {
      std::exception_ptr failure;
      std::thread helper([&] {
        try {
          paintPasses(elements, state, view, *lower, settings, extras);
        } catch (...) {
          failure = std::current_exception();
        }
      });
      try {
        paintPasses(elements, state, view, *upper, settings, extras);
      } catch (...) {
        helper.join();
        throw;
      }
      helper.join();
      if (failure) std::rethrow_exception(failure);
      canvas.setMapping(upper->mapping());
      return;
    }
  }
  paintPasses(elements, state, view, canvas, settings, extras);
}

}  // namespace plavesk
