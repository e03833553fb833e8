// Editing existing texts from their dialogs (the double-click of edit mode)
// and the arc dialog's change of the selected circles.
#pragma once

#include <functional>

#include "editing/tools/drawing_settings.h"
#include "view/stroke_font.h"

namespace plavesk {

class TEditor;

// The text element `old` (of the active list) is replaced by one made from
// `settings` at its position, with its group ids, layer and clearance and
// the left and top of its box where the old box had them; the new text is
// appended to the list. One undo step. A new text without strokes is
// dropped, so the old text is gone (as if deleted). Returns false when `old`
// is no text of the list (nothing changes).
bool replaceText(TEditor& editor, const TObjekt* old, const TTextSettings& settings,
                 TTextCounter& counter, double grid);

// The legacy font-text dialog's values of a font text (kind 3): height from
// the negative font height counted at `pixelsPerInch`.
TFontTextSettings fontTextSettings(const TObjekt& fontText, double pixelsPerInch);
// Measures text in bold Arial of a character height: (width, height).
using TFontMeasure = std::function<TPoint(const std::string& text, int32_t fontHeight)>;
// Writes the dialog's values into the font text: height, text, angle in
// degrees and the corner of its box measured with `measure` (the text plus
// one blank). Returns false when `fontText` is no font text of the list.
bool editFontText(TEditor& editor, TObjekt* fontText, const TFontTextSettings& settings,
                  double pixelsPerInch, const TFontMeasure& measure);

// The arc dialog filled from the selected circles, in list order, so the
// last one's values remain; `middleRadius` receives that circle's middle
// radius in units. False when no circle is selected.
bool arcSettingsFromSelection(const TEditor& editor, TArcSettings& settings, int32_t& middleRadius);
// Confirming the arc dialog: every selected circle gets the angles and the
// fill, and both radii change by round(D x 50) - middleRadius (a ring keeps
// its width; an inner radius that would fall below 0 stops at 0). One undo
// step when anything changes; returns whether it did.
bool applyArcSettings(TEditor& editor, const TArcSettings& settings, int32_t middleRadius);

}  // namespace plavesk
