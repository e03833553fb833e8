// Feedback as a value: what a tool shows while the mouse moves (rubber bands,
// previews, frames) is a small list of figures with their raster mode. The
// window draws it into its frame image and repaints only the rectangles it
// covers; tests compare the figures or draw them on the raster canvas.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "document/objekt.h"
#include "view/geometry.h"

namespace plavesk {

class Canvas;
class TViewState;
class TRenderSettings;

enum class TFeedbackKind : uint8_t {
  trackRubberBand,
  toolDot,
  padOutline,
  smdOutline,
  textPreview,
  polygonPreview,
  measureLines,
  circlePreview,
  movePreview,
  nodePreview,
  circleNodePreview,
  selectionFrame,
  connectionLine,
  searchWindow,  // the autorouter's search window while the wave runs
};
constexpr size_t kFeedbackKinds = 14;

// The boxes of an element list at offset zero: the elements themselves and
// the far ends of their rubber bands (partner centres).
struct TListBounds {
  bool anyElement = false, anyPartner = false;
  TRect elements{}, partners{};
};

// One figure in world units. Drawing it twice restores the picture (not-xor
// or xor), so erasing is drawing again with the same figure.
struct TFeedbackFigure {
  enum Shape {
    polyline,     // `points`, pen `width` (0: one pixel), round ends
    polygon,      // closed `points`, hollow
    rectangle,    // filled, corners points[0] and points[1]
    frame,        // dotted one-pixel rectangle, corners points[0] and points[1]
    dottedLine,   // one pixel, points[0] to points[1]
    ellipse,      // hollow, inside the box points[0]..points[1], pen `width`
    elementList,  // `owned` and `elements` in `colour` alone, shifted by `offset`
  };
  enum Mode { notXor, xorMode };

  Shape shape = polyline;
  Mode mode = notXor;
  uint32_t colour = 0;  // 0x00BBGGRR
  int32_t width = 0;
  std::vector<TPoint> points;
  // For `elementList`: copies made for the preview (pad outline, node preview,
  // text preview) or, to spare copying a large selection, borrowed elements.
  TObjektList owned;
  std::vector<const TObjekt*> elements;
  TPoint offset{};
  int activeLayer = 1;
  // For `elementList`: when set, pads and SMD pads are followed by their rubber
  // bands, their own end moved by `offset`; the list they belong to decides
  // which of two moved pads draws a band between them.
  const TObjektList* connectionList = nullptr;
  // For `elementList`: the boxes of `owned` and `elements`, given by a tool
  // that shows the same list at many offsets (exact outlines of a thousand
  // elements are costly); computed from the elements when absent.
  std::optional<TListBounds> listBounds;
};

struct TFeedback {
  TFeedbackKind kind{};
  std::vector<TFeedbackFigure> figures;
};

// The world rectangle a feedback covers, with room for pen widths and the
// renderer's anti-aliasing margin left to the caller.
TRect feedbackBounds(const TFeedback& feedback);

// The boxes of the figure's elements, as `listBounds` caches them.
TListBounds elementListBounds(const TFeedbackFigure& figure);

}  // namespace plavesk
