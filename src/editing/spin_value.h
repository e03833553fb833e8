// The arithmetic of the numeric entry field with its spinner knob, free of
// any toolkit so the window's control and the runner read and write values
// the same way. Values are millimetres.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace plavesk {

struct TSpinRange {
  double min = 0;
  double max = 99.9;
  double step = 0.1;
  int decimals = 1;  // NachkommaStellen

  // Rounded to 4 decimals and limited to [min, max].
  double limit(double v) const;
};

// Reads a field's text: optional blanks and sign, digits with "." (a ","
// counts as "."), an optional exponent. A text that is a number only in its
// beginning ("1.5x") reads as that beginning; a text without any number
// ("", "-", "x") reads as the minimum. The result is limited to the range.
double readSpinText(std::string_view text, const TSpinRange& range);
// The number at the beginning of such a text as it stands (not limited, not
// rounded); nothing when the text does not begin with one.
std::optional<double> readDecimalPrefix(std::string_view text);

// The canonical text of a value: limited, fixed-point with the range's
// decimals and "." whatever the locale ("0.80" for 0.8 with 2 decimals).
std::string formatSpinValue(double v, const TSpinRange& range);

// One click on the knob: +Step (up) or -Step (down); with Ctrl 5 x Step and
// the result rounded to a multiple of 5 x Step. Limited and rounded.
double spinClick(double value, const TSpinRange& range, bool up, bool ctrl);

// Steps a drag moves for `pixelsUp` pixels upward since the last change:
// q = pixelsUp div 4, q x |q| steps (so faster moves accelerate).
int spinDragSteps(int pixelsUp);
// The value after such a move; with Ctrl 5 times the steps, rounded to a
// multiple of 5 x Step. Unchanged when the move is below 4 pixels.
double spinDrag(double value, const TSpinRange& range, int pixelsUp, bool ctrl);

}  // namespace plavesk
