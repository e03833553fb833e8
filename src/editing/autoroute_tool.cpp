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

std::vector<TRoutedBand> listBands(const TObjektList& list) {
  std::vector<TRoutedBand> bands;
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
  return bands;
}

void routeBands(TObjektList& list, TBoardRecord& board, std::vector<TRoutedBand>& bands,
                const TRouteSettings& settings, const TRouterHooks& hooks,
                const std::function<bool(size_t, size_t)>& next) {
  const int activeLayer = board.activeLayer;
  for (size_t k = 0; k < bands.size(); ++k) {
    if (next && !next(k, bands.size())) break;
    TRoutedBand& band = bands[k];
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
    board.activeLayer = layer;
    for (auto& e : list) e->selected = 0;
    a.selected = 1;
    b.selected = 1;
    band.routed = routeSelected(list, board, settings, hooks).outcome == TRouteOutcome::routed;
    board.activeLayer = activeLayer;
  }
}

TRouterHooks listRouterHooks(const TObjektList& list, const TBoardRecord& board) {
  TRouterHooks h;
  h.copperAt = [&list, &board](TPoint p) { return elementAt(list, board, p, true); };
  return h;
}

size_t applyRoutedCopy(TEditor& editor, const TObjektList& routed, size_t originalCount) {
  if (!editor.layout.hasActiveBoard()) return 0;
  TObjektList& list = editor.elements();
  if (list.size() != originalCount || routed.size() <= originalCount) return 0;
  std::unordered_map<const TObjekt*, size_t> position;
  for (size_t i = 0; i < originalCount; ++i) position.emplace(routed[i].get(), i);
  auto own = [&](const TObjekt* end) -> TObjekt* {
    auto it = position.find(end);
    return it == position.end() ? nullptr : list[it->second].get();
  };
  editor.deselectAll();
  editor.takeSnapshot();
  size_t added = 0;
  for (size_t i = originalCount; i < routed.size(); ++i) {
    const TObjekt& track = *routed[i];
    TObjektPtr copy = copyElement(track);
    copy->selected = 0;
    copy->routeFrom = own(track.routeFrom);
    copy->routeTo = own(track.routeTo);
    if (copy->routeFrom && copy->routeTo) {
      std::erase(copy->routeFrom->connections, copy->routeTo);
      std::erase(copy->routeTo->connections, copy->routeFrom);
    }
    list.push_back(std::move(copy));
    editor.invalidate(*list.back());
    ++added;
  }
  editor.repaint();
  editor.commandStatesChanged();
  return added;
}

std::vector<TRoutedBand> routeAllBands(TEditor& editor, TAutorouteTool& tool) {
  if (!editor.layout.hasActiveBoard()) return {};
  std::vector<TRoutedBand> bands = listBands(editor.elements());
  routeBands(editor.elements(), editor.working(), bands, tool.settings(), tool.hooks(editor));
  editor.deselectAll();
  editor.repaint();
  editor.commandStatesChanged();
  return bands;
}

}  // namespace plavesk
