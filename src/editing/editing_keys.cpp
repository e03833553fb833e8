#include "editing/editing_keys.h"

#include "editing/editor.h"
#include "editing/tools/tool_manager.h"
#include "editing/transforms.h"

namespace plavesk {

namespace {

// "F1" .. "F12" as 1 .. 12; 0 for other keys.
int functionKey(const std::string& key) {
  if (key.size() < 2 || key.size() > 3 || key[0] != 'F') return 0;
  int n = 0;
  for (size_t i = 1; i < key.size(); ++i) {
    if (key[i] < '0' || key[i] > '9') return 0;
    n = n * 10 + (key[i] - '0');
  }
  return n >= 1 && n <= 12 ? n : 0;
}

bool nudge(TToolManager& tools, TNudge direction, bool ctrl) {
  // A drag in edit mode owns the selection until the button comes up.
  const TToolState& st = tools.state();
  if (st.mode == TToolMode::edit && st.inProgress) return true;
  tools.editor().nudgeSelection(direction, ctrl);
  return true;
}

}  // namespace

bool handleEditingKey(TToolManager& tools, const TInputEvent& event,
                      const TEditingKeyHandlers& handlers) {
  if (event.kind != TInputEvent::keyDown || event.alt) return false;
  TEditor& editor = tools.editor();
  if (!editor.layout.hasActiveBoard()) return false;
  const std::string& key = event.key;
  if (key == "Left") return nudge(tools, TNudge::left, event.ctrl);
  if (key == "Right") return nudge(tools, TNudge::right, event.ctrl);
  if (key == "Up") return nudge(tools, TNudge::up, event.ctrl);
  if (key == "Down") return nudge(tools, TNudge::down, event.ctrl);
  if (key == "Delete") {
    editor.deleteSelection();
    return false;
  }
  const int f = functionKey(key);
  if (f >= 1 && f <= 4) {
    if (handlers.activeLayer)
      handlers.activeLayer(f);
    else
      chooseActiveLayer(tools, f);
    return true;
  }
  if (f >= 5 && f <= 8) {
    if (handlers.visibleLayer)
      handlers.visibleLayer(f - 4);
    else
      toggleViewLayer(tools, f - 4, true);
    return true;
  }
  if (f == 12) {
    if (handlers.throughPad)
      handlers.throughPad();
    else
      toggleThroughPadMode(tools);
    return true;
  }
  return false;
}

}  // namespace plavesk
