// The built-in single-stroke vector font: texts on the board are made of
// ordinary track records ("strokes") generated from the glyph table, so they
// etch, print and mill like any other copper or silkscreen.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "document/objekt.h"

namespace plavesk {

// Element fields of a text: dim2 is the stroke thickness, dim3 the letter
// style (spacing), angle the orientation in quarter turns.
enum TextThickness : int { kThin = 0, kNormalThickness = 1, kBold = 2 };
enum TextStyle : int { kNarrow = 0, kNormalStyle = 1, kWide = 2 };

// The settings of the text properties dialog.
struct TTextSettings {
  std::string text;     // UTF-8, without the appended number
  double height = 5.0;  // mm
  int thickness = kNormalThickness;
  int spacing = kNormalStyle;
  int orientation = 0;  // quarter turns 0..3 (0, 90, 180, 270 degrees)
  bool mirrorH = false;
  bool mirrorV = false;
  bool addNumber = false;  // "add number": append the text counter
  int startValue = 0;      // 0..9999
};

// The number appended to generated texts when "add number" is on. It counts
// up by one with every generated text and restarts from the dialog's start
// value each time the dialog is confirmed.
struct TTextCounter {
  int value = 0;
  void restart(const TTextSettings& settings) { value = settings.startValue; }
};

// What a new text takes from the editor: the active layer, the clearance for
// new elements and the board's grid (the centre of rotation is snapped).
struct TTextContext {
  int layer = kCopper1;
  int32_t clearance = 40;
  double grid = 254.0;
};

// Glyph strings are sequences of 6-character tokens: "XXXXXX" pen up (new
// stroke), "ZZZZZZ" end, otherwise a point "+xx+yy" in glyph units.
// A code without a glyph has "ZZZZZZ".
const char* glyphString(uint8_t code);

enum class GlyphTokenKind { penUp, end, point };
struct TGlyphToken {
  GlyphTokenKind kind = GlyphTokenKind::end;
  TPoint point;  // glyph units, y up
};
// Token k of the glyph of `code`; past the end of the string it is `end`.
TGlyphToken glyphToken(uint8_t code, int k);

// Largest x >= 0 of the glyph's points, 0 without points; the blank is 1.
int glyphWidth(uint8_t code);

// The Windows-1252 code of every character of a UTF-8 text, -1 for a
// character that has no such code (it is drawn as nothing).
std::vector<int> glyphCodes(const std::string& utf8);

// Sizes derived from height (mm), thickness and style.
struct TStrokeMetrics {
  double scale = 0;    // units per glyph unit
  double stretch = 0;  // horizontal style factor
  int32_t strokeWidth = 0;
  int32_t gap = 0;  // letter gap in units, not stretched
};
TStrokeMetrics strokeMetrics(double heightMm, int thickness, int spacing);

// Appends the strokes of `text` to `target`, the glyph origin (left end of the
// baseline) of the first character at p. Each stroke is a track with the
// stroke width, `layer` and `clearance`. Returns the pen position after the
// last character's gap.
TPoint generateStrokes(TPoint p, const std::string& text, double heightMm, int thickness,
                       int spacing, int layer, int32_t clearance, TObjektList& target);

// The string that is drawn: the dialog text with the counter appended when
// "add number" is on. Does not advance the counter.
std::string textWithNumber(const TTextSettings& settings, const TTextCounter& counter);

// Builds a text element from the settings with its strokes turned to the
// orientation and mirrored as set, moves it so that the left and lower edges
// of its bounds lie at p and appends it to `target`. Advances the counter
// when "add number" is on. Taking an undo snapshot beforehand and
// invalidating the screen afterwards are the caller's business. A text that
// produced no strokes stays at p, unturned; the caller decides to drop it.
TObjekt& createTextElement(TObjektList& target, TPoint p, const TTextSettings& settings,
                           TTextCounter& counter, const TTextContext& context);

// At least one stroke and a first stroke with points.
bool hasStrokes(const TObjekt& text);

// Rough extent (w, h) of the text being placed, for keeping it on the board;
// turned with the orientation, so either value may be negative.
TPoint textExtentEstimate(const TTextSettings& settings, const TTextCounter& counter);

// The dialog's settings for editing an existing text element.
TTextSettings textSettingsFromElement(const TObjekt& text);

}  // namespace plavesk
