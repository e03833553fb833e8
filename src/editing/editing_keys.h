// The editing keys of the drawing area (the main window's shortcut hook):
// arrows, Delete, F1..F8 and F12. They act while the view has the keyboard
// focus and Alt is up; the window calls the hook only then, the runner's
// `key` action always.
#pragma once

#include <functional>

#include "editing/tools/input_event.h"

namespace plavesk {

class TToolManager;

// What F1..F8 and F12 do; unset handlers run the commands of transforms.h
// directly (the window sets them so that its buttons follow).
struct TEditingKeyHandlers {
  std::function<void(int layer)> activeLayer;   // F1..F4: RB_K1 .. RB_B2
  std::function<void(int layer)> visibleLayer;  // F5..F8: SB_K1 .. SB_B2
  std::function<void()> throughPad;             // F12
};

// Handles a key event of the drawing area. Returns true when the key was
// consumed; otherwise the caller hands it on to the tool manager (Space,
// Escape, letters, key-up events, and Delete after it deleted the selection,
// so that a track being drawn loses its last point as well).
bool handleEditingKey(TToolManager& tools, const TInputEvent& event,
                      const TEditingKeyHandlers& handlers = {});

}  // namespace plavesk
