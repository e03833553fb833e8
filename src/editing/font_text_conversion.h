// Replacing the legacy font texts (drawn with a system font) by stroke texts
// of the built-in font when a layout holding them is opened.
#pragma once

#include <cstdint>
#include <string>

#include "document/board.h"
#include "view/stroke_font.h"

namespace plavesk {

constexpr double kCommandLinePixelsPerInch = 96.0;

// Font texts over all boards of the layout.
int countFontTexts(const TLayout& layout);

// Character height in mm of a font text whose negative font height was taken
// on a screen with `pixelsPerInch`: its magnitude, at most a metre.
constexpr double kMaxFontTextHeightMm = 1000.0;
double fontTextHeightMm(const TObjekt& fontText, double pixelsPerInch);

// Converts the font texts of one element list: each is replaced by a stroke
// text appended to the list, with a corner of its bounds on the font text's
// position, the font text's group ids and layer. A replacement without
// strokes is dropped too. `context` supplies the active layer, the clearance
// for new elements and the grid. Returns the number of font texts removed.
int convertFontTextList(TObjektList& list, double pixelsPerInch, const TTextContext& context);

// Converts every board in turn with undo snapshots suppressed, then activates
// the board that was active again and marks the layout modified. Returns the
// number of font texts removed; 0 leaves the layout untouched.
// `pixelsPerInch` must be positive.
int convertFontTexts(TLayout& layout, double pixelsPerInch, int32_t clearance = 40);

// The question asked after opening and the report after converting, for
// language 0 German, 1 English, 2 French (others fall back to English).
std::string fontTextQuestion(int language, int count);
std::string fontTextReport(int language);

}  // namespace plavesk
