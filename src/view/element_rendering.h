// How one element is drawn on a canvas whose world mapping is installed: the
// normal look in its layer colour, the clearance look that cuts it out of a
// ground plane, the single-colour look of printing, the selection handles
// and the rubber bands of pads.
#pragma once

#include <cstdint>

#include "document/objekt.h"
#include "platform/core/canvas.h"
#include "view/geometry.h"
#include "view/render_settings.h"

namespace plavesk {

// Whether the element shows its selection: exports draw every element in
// its ordinary look.
bool showsSelected(const TObjekt& e, const TRenderSettings& settings);

// Magenta when selected on the active side, dim magenta when selected on the
// other side, otherwise the colour of the layer (black for unknown codes).
TColour elementColour(const TObjekt& e, int activeLayer, const TColourScheme& colours);

// The colour a pad's hole shows in the normal look: white; the partner
// side's colour for a through pad outside the photo view; the override
// colour while printing.
TColour padHoleColour(const TObjekt& pad, const TRenderSettings& settings);

// The drawing routines read the element and write nothing into it, so that
// any list (a board, a snapshot, a tool's preview) can be drawn, and by
// several threads at once. In the mirrored photo view an arc and a legacy
// font text are drawn so that they keep their look under the mirrored
// mapping.

// Normal look. `offset` draws a moved copy (tool feedback); handles are then
// left out.
void drawElement(const TObjekt& e, Canvas& canvas, int activeLayer, const TRenderSettings& settings,
                 TPoint offset = {});

// The element grown by its clearance (a text's strokes by the text's) in
// the clearance colour: the background, white when `highlighted`, the photo
// board colour in the photo view, the override colour while printing (later
// rules win).
void drawClearance(const TObjekt& e, Canvas& canvas, const TRenderSettings& settings,
                   TPoint offset = {}, bool highlighted = false);

// The element in one colour, unselected; with `enlarge`, pads grow by the
// pad mask enlargement and SMD pads by the SMD mask enlargement.
void drawFlat(const TObjekt& e, Canvas& canvas, TColour colour, bool enlarge,
              const TRenderSettings& settings);

// Rubber bands of a pad or SMD pad of `list` to each partner. The element's
// end is moved by `offset`, a partner's end only when the partner is
// selected. In not-xor mode a band to a selected partner is drawn by the
// element that comes first in the list, so it appears once.
void drawConnections(const TObjekt& e, Canvas& canvas, TPoint offset,
                     const TRenderSettings& settings, const TObjektList* list = nullptr);

// The canvas's clip box in world units (normalised).
TRect worldClipRect(const Canvas& canvas);

// Adapts a canvas's mapping for outlines built in device pixels.
class CanvasDeviceMapping : public DeviceMapping {
 public:
  explicit CanvasDeviceMapping(const Canvas& canvas) : canvas_(canvas) {}
  TPoint toDevice(TPoint world) const override;
  double pixelScale() const override { return canvas_.mapping().pixelScale(); }

 private:
  const Canvas& canvas_;
};

}  // namespace plavesk
