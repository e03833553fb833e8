#include "editing/autoroute_tool.h"

#include <algorithm>
#include <cstdlib>
#include <set>
#include <unordered_map>

#include "editing/editor.h"
#include "editing/element_at.h"
#include "view/units.h"
#include "view/view_state.h"

namespace plavesk {

int32_t hoverTolerance(double zoom) {
  return std::clamp(roundToUnit(zoom * 60), 3, 10);
}

bool bandHit(TPoint a, TPoint b, TPoint p, int32_t t) {
  if (p.x < std::min(a.x, b.x) - t || p.x > std::max(a.x, b.x) + t) return false;
  if (p.y < std::min(a.y, b.y) - t || p.y > std::max(a.y, b.y) + t) return false;
  // Only a slanted band needs the line test, so neither slope divides by zero.
  if (a.x == b.x || a.y == b.y) return true;
  const double dx = double(a.x) - b.x, dy = double(a.y) - b.y;
  const int64_t yOnLine = a.y + int64_t(roundHalfEven(dy / dx * (double(p.x) - a.x)));
  const int64_t xOnLine = a.x + int64_t(roundHalfEven(dx / dy * (double(p.y) - a.y)));
  return std::llabs(yOnLine - p.y) <= t || std::llabs(xOnLine - p.x) <= t;
}

int TAutorouteTool::hoverAt(TEditor& editor, const TViewState& view, TPoint pixel) {
  if (!editor.layout.hasActiveBoard()) return lastHover = kHoverNothing;
  TObjektList& list = editor.elements();
  const int32_t t = hoverTolerance(view.scale());
  for (const auto& a : list) {
    if (!a->hasConnections()) continue;
    for (TObjekt* b : a->connections) {
      if (!bandHit(view.worldToDevice({a->x, a->y}), view.worldToDevice({b->x, b->y}), pixel, t))
        continue;
      if (!(a->selected && b->selected)) {
        editor.deselectAll();
        a->selected = 1;
        b->selected = 1;
        editor.invalidate(*a);
        editor.invalidate(*b);
      }
      return lastHover = kHoverBand;
    }
  }
  const int hit = elementAt(list, editor.working(), view.deviceToWorld(pixel, false), false);
  if (hit >= 0 && list[size_t(hit)]->kind == kTrack && list[size_t(hit)]->autorouted) {
    TObjekt& track = *list[size_t(hit)];
    if (!track.selected) {
      editor.deselectAll();
      track.selected = 1;
      editor.invalidate(track);
    }
    return lastHover = kHoverRoutedTrack;
  }
  editor.deselectAll();
  return lastHover = kHoverNothing;
}

TRouteSettings TAutorouteTool::settings() const {
  TRouteSettings s;
  s.width = roundToUnit(widthMm * 100);
  s.clearance = roundToUnit(clearanceMm * 100);
  s.trackClearance = trackClearance;
  s.language = language;
  return s;
}

TRouterHooks TAutorouteTool::hooks(TEditor& editor) {
  TRouterHooks h;
  h.copperAt = [&editor](TPoint p) {
    return elementAt(editor.elements(), editor.working(), p, true);
  };
  h.status = status;
  h.showWindow = showWindow;
  h.takeSnapshot = [&editor] { editor.takeSnapshot(); };
  h.invalidate = [&editor](const TObjekt& e) { editor.invalidate(e); };
  return h;
}

TRouteResult TAutorouteTool::routeSelected(TEditor& editor) {
  if (!editor.layout.hasActiveBoard()) return {};
  TRouteResult result =
      plavesk::routeSelected(editor.elements(), editor.working(), settings(), hooks(editor));
  editor.repaint();
  editor.commandStatesChanged();
  return result;
}

bool TAutorouteTool::unrouteSelected(TEditor& editor) {
  if (!editor.layout.hasActiveBoard()) return false;
  const bool done = plavesk::unrouteSelected(editor.elements(), language, hooks(editor));
  if (done) {
    editor.repaint();
    editor.commandStatesChanged();
  }
  return done;
}

std::vector<TRoutedBand> routeAllBands(TEditor& editor, TAutorouteTool& tool) {
  std::vector<TRoutedBand> bands;
  if (!editor.layout.hasActiveBoard()) return bands;
  TObjektList& list = editor.elements();
  std::unordered_map<const TObjekt*, size_t> position;
  for (size_t i = 0; i < list.size(); ++i) position.emplace(list[i].get(), i);
  std::set<std::pair<size_t, size_t>> seen;
  for (size_t i = 0; i < list.size(); ++i) {
    if (!list[i]->hasConnections()) continue;
    for (const TObjekt* partner : list[i]->connections) {
      auto it = position.find(partner);
      if (it == position.end()) continue;
      const auto pair = std::minmax(i, it->second);
      if (seen.insert(pair).second) bands.push_back({i, it->second});
    }
  }
  const int activeLayer = editor.working().activeLayer;
  for (TRoutedBand& band : bands) {
    TObjekt& a = *list[band.start];
    TObjekt& b = *list[band.target];
    if (std::find(a.connections.begin(), a.connections.end(), &b) == a.connections.end()) continue;
    // An SMD pad can be reached on its own side only.
    if (a.kind == kSmdPad && b.kind == kSmdPad && a.layer != b.layer) continue;
    int layer = activeLayer;
    for (const TObjekt* end : {&a, &b})
      if (end->kind == kSmdPad && isCopperLayer(end->layer) && end->layer != activeLayer)
        layer = end->layer;
    band.layer = layer;
    editor.working().activeLayer = layer;
    editor.deselectAll();
    a.selected = 1;
    b.selected = 1;
    band.routed = tool.routeSelected(editor).outcome == TRouteOutcome::routed;
    editor.working().activeLayer = activeLayer;
  }
  editor.deselectAll();
  return bands;
}

}  // namespace plavesk
