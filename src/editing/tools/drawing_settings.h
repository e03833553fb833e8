// The values of the drawing tools' dialogs: the text dialog, the regular
// polygon dialog, the arc dialog and the legacy font-text dialog. The window
// shows them as dialogs; a script fills them in with its options.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "view/geometry.h"
#include "view/stroke_font.h"

namespace plavesk {

// The regular-polygon dialog. It keeps its values between uses.
struct TPolygonSettings {
  int corners = 6;         // 3..99
  double radiusMm = 10.0;  // 0.5..99.9
  double offsetDeg = 0.0;  // -180..180, the angle of the first corner
  double widthMm = 1.0;    // 0..99.9, the line width
  bool filled = false;     // an area instead of a closed track
};

// The ranges of the dialog's fields: values outside are limited to them.
TPolygonSettings limited(TPolygonSettings settings);
// The n + 1 corners relative to the centre (the last closes the figure):
// corner k at (360 / n * k + offset) degrees on the radius, in units.
std::vector<TPoint> polygonCorners(const TPolygonSettings& settings);
int32_t polygonLineWidth(const TPolygonSettings& settings);

// The arc dialog on the selected circles.
struct TArcSettings {
  int startDeg = 0;         // 0..359
  int stopDeg = 0;          // 0..359; both 0: a full circle
  double diameterMm = 0.1;  // 0.1..99.9, of the ring's centre line
  bool filled = false;      // a filled segment (no Gerber export for it)
};
TArcSettings limited(TArcSettings settings);

// The legacy font-text dialog: text (at most 15 characters), character
// height in mm (1.0..99.9) and orientation in quarter turns.
struct TFontTextSettings {
  std::string text;
  double heightMm = 5.0;
  int orientation = 0;
};
constexpr size_t kMaxFontTextLength = 15;
TFontTextSettings limited(TFontTextSettings settings);

// The text dialog's fields: at most 50 characters, height 0.1..50 mm, start
// value 0..9999; others to their nearest choice.
constexpr size_t kMaxDialogTextLength = 50;
TTextSettings limited(TTextSettings settings);

// What the dialogs remember between uses, and the text counter.
struct TDrawingDialogs {
  TTextSettings text;
  TTextCounter counter;
  TPolygonSettings polygon;
};

}  // namespace plavesk
