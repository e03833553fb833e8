#include "editing/connections.h"

#include <algorithm>

#include "editing/editor.h"

namespace plavesk {

bool toggleConnection(TObjekt& a, TObjekt& b) {
  const size_t removed = std::erase(a.connections, &b) + std::erase(b.connections, &a);
  if (removed) return false;
  a.connections.push_back(&b);
  b.connections.push_back(&a);
  return true;
}

bool toggleConnection(TEditor& editor, TObjekt& a, TObjekt& b) {
  const bool added = toggleConnection(a, b);
  if (!added && editor.layout.hasActiveBoard()) {
    for (const auto& e : editor.elements()) {
      if (!e->selected || !e->hasConnections()) continue;
      editor.invalidate(*e);
      for (const TObjekt* partner : e->connections) editor.invalidate(*partner);
    }
    editor.invalidate(a);
    editor.invalidate(b);
    editor.repaint();
  }
  return added;
}

bool canConnect(const TObjekt& e) {
  return (e.kind == kPad || e.kind == kSmdPad) && isCopperLayer(e.layer);
}

bool groundPlaneOfActiveSide(const TBoardRecord& state) {
  return isSide2Layer(state.activeLayer) ? state.groundPlane2 != 0 : state.groundPlane1 != 0;
}

void setGroundPlane(TEditor& editor, bool on) {
  TBoardRecord& state = editor.working();
  (isSide2Layer(state.activeLayer) ? state.groundPlane2 : state.groundPlane1) = on ? 1 : 0;
  editor.layout.modified = true;
  editor.repaint();
}

void switchGroundPlane(TEditor& editor, TToolValues& values, bool on) {
  values.cutout = false;
  setGroundPlane(editor, on);
}

bool toggleGroundPlane(TEditor& editor) {
  const bool on = !groundPlaneOfActiveSide(editor.working());
  setGroundPlane(editor, on);
  return on;
}

}  // namespace plavesk
