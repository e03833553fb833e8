// What the drawing routines read besides the element and the canvas: the
// current colours and their hatch tiles, the photo view's substitutions, the
// printer's colour override and mask enlargements, and the tool state that
// changes a look.
#pragma once

#include <cstdint>
#include <optional>

#include "platform/core/canvas.h"
#include "view/colour_scheme.h"
#include "view/hatch_pattern.h"

namespace plavesk {

// Fixed colours of the drawing routines.
constexpr TColour kSelectionColour = rgb(255, 0, 255);
constexpr TColour kOtherSideSelectionColour = rgb(160, 0, 160);
constexpr TColour kHandleColour = rgb(0, 0, 255);
constexpr TColour kWhite = rgb(255, 255, 255);
constexpr TColour kBlack = rgb(0, 0, 0);
constexpr TColour kThroughHoleRim = rgb(255, 0, 0);

// The photo view's window: the side looked at, the silkscreen and the other
// side shining through.
struct TPhotoOptions {
  int side = 1;  // 2 is shown mirrored left-right
  bool silkscreen = true;
  bool xray = true;
  bool mirrored() const { return side == 2; }
};

class TRenderSettings {
 public:
  TRenderSettings() : TRenderSettings(standardColourScheme()) {}
  explicit TRenderSettings(const TColourScheme& colours) { setColours(colours); }

  // Takes new current colours and rebuilds the hatch tiles.
  void setColours(const TColourScheme& colours);
  const TColourScheme& colours() const { return colours_; }
  TColour colour(int index) const { return colours_[index]; }
  const THatchTiles& tiles() const { return tiles_; }

  bool photoView = false;
  TPhotoOptions photo;
  // Boards colour of the photo view: clearances of its ground plane.
  TColour photoBoardColour = rgb(40, 140, 40);
  // Printing: clearances and the holes of pads in this colour.
  std::optional<TColour> colourOverride;
  int32_t padMaskEnlargement = 30;
  int32_t smdMaskEnlargement = 10;
  // Rubber bands between two selected pads show in magenta.
  bool autorouteToolActive = false;
  // Off for exports: selected elements are drawn in their ordinary look.
  bool selectionShown = true;

 private:
  TColourScheme colours_;
  THatchTiles tiles_;
};

// A hatch tile as the canvas's brush pattern (both are 8 x 8, row by row).
const CanvasPattern& canvasPattern(const THatchTile& tile);

}  // namespace plavesk
