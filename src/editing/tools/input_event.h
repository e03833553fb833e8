// A mouse or key event of the drawing area as a plain value: the window turns
// a toolkit event into one of these, the runner makes them from a script.
#pragma once

#include <string>

#include "view/geometry.h"

namespace plavesk {

struct TInputEvent {
  enum Kind { press, move, release, doubleClick, keyDown, keyUp };
  enum Button { none, left, right, middle };

  Kind kind = move;
  // Pixel of the paint surface (the board's top-left corner is (0, 0)); for
  // key events the pointer's last position.
  TPoint pixel{};
  Button button = none;  // the button that changed (press, release)
  bool shift = false;
  bool ctrl = false;
  bool alt = false;
  bool leftHeld = false;  // the left button is down (during moves)
  // Key events: "Space", "Delete", "Left", "Right", "Up", "Down", "F1".."F12",
  // "Escape", or one capital letter.
  std::string key;
};

}  // namespace plavesk
