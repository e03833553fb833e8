#include "routing/autorouter.h"

#include <algorithm>
#include <cmath>

#include "routing/connectivity.h"
#include "routing/region_set.h"
#include "routing/route_check.h"
#include "routing/route_grid.h"
#include "routing/route_texts.h"
#include "view/units.h"

namespace plavesk {
namespace {

constexpr int kMaxStages = 1000;

bool isCutout(const TObjekt& e) {
  return e.kind == kArea && e.cutout;
}

int routerPadShape(int shape) {
  switch (shape) {
    case kPadRound:
      return kPadOctagon;
    case kPadOblongH:
      return kPadOctagonH;
    case kPadOblongV:
      return kPadOctagonV;
    default:
      return shape;
  }
}

void say(const TRouterHooks& hooks, const std::string& text) {
  if (hooks.status) hooks.status(text);
}

// The elements of the active layer in the net under a point, as a click of
// the test tool marks it.
std::vector<size_t> netAt(TObjektList& list, const TCopperAnalysis& analysis,
                          const TRouterHooks& hooks, TPoint p, int layer) {
  for (auto& e : list) e->selected = 0;
  std::vector<size_t> members;
  const int hit = hooks.copperAt ? hooks.copperAt(p) : -1;
  if (hit < 0 || size_t(hit) >= list.size()) return members;
  const TObjekt& e = *list[size_t(hit)];
  if (isCutout(e) || !isCopperLayer(e.layer)) return members;
  markConnected(list, analysis, size_t(hit));
  for (size_t i = 0; i < list.size(); ++i)
    if (list[i]->selected && list[i]->layer == layer) members.push_back(i);
  return members;
}

int32_t roundDiv(double value, double divisor) {
  return roundToUnit(value / divisor);
}

void removeReferences(std::vector<TObjekt*>& connections, const TObjekt* partner) {
  std::erase(connections, partner);
}

}  // namespace

TPoint TRouterUnits::toDevice(TPoint world) const {
  return TPoint{roundToUnit(0.2 * double(world.x)), roundToUnit(-0.2 * double(world.y))};
}

std::optional<Region> routerOutline(const TObjekt& e) {
  static const TRouterUnits units;
  if (e.kind == kPad) {
    if (e.padShape < kPadRound || e.padShape > kPadRectV) return std::nullopt;
    return padShapeOutline({e.x, e.y}, e.dim1, routerPadShape(e.padShape), &units);
  }
  return elementOutline(e, &units);
}

TRouteResult routeConnection(TObjektList& list, const TBoardRecord& state, TObjekt& start,
                             TObjekt& target, const TRouteSettings& settings,
                             const TRouterHooks& hooks) {
  TRouteResult result;
  result.outcome = TRouteOutcome::notFound;
  const int layer = state.activeLayer;
  const TRouterUnits units;
  say(hooks, routeText(TRouteText::analysing, settings.language));

  auto finish = [&]() {
    if (result.outcome != TRouteOutcome::routed)
      say(hooks, routeText(TRouteText::notFound, settings.language));
    start.selected = 1;
    target.selected = 1;
    if (hooks.invalidate) {
      for (const auto& e : list)
        if (e->selected && e->hasConnections()) {
          hooks.invalidate(*e);
          for (const TObjekt* partner : e->connections) hooks.invalidate(*partner);
        }
      hooks.invalidate(start);
      hooks.invalidate(target);
    }
    return result;
  };

  // The copper of the two nets is no obstacle.
  const TCopperAnalysis analysis(list, state);
  const std::vector<size_t> startNet = netAt(list, analysis, hooks, {start.x, start.y}, layer);
  const std::vector<size_t> targetNet = netAt(list, analysis, hooks, {target.x, target.y}, layer);
  for (auto& e : list) e->selected = 0;
  std::vector<uint8_t> ownNet(list.size(), 0);
  TRegionSet nets;
  for (const auto* members : {&startNet, &targetNet})
    for (size_t i : *members) {
      if (ownNet[i]) continue;
      ownNet[i] = 1;
      if (auto outline = routerOutline(*list[i])) nets.add(std::move(*outline));
    }
  TRegionSet obstacles;
  for (size_t i = 0; i < list.size(); ++i) {
    const TObjekt& e = *list[i];
    std::optional<Region> piece;
    if (e.layer == layer) {
      if (isCutout(e) || ownNet[i]) continue;
      piece = routerOutline(e);
    } else if (e.kind == kPad && &e != &start && &e != &target) {
      // A pad of the other side blocks with its drill hole only.
      const TPoint a = units.toDevice({e.x - e.dim2, e.y - e.dim2});
      const TPoint b = units.toDevice({e.x + e.dim2, e.y + e.dim2});
      piece = Region::rectangle(a.x, a.y, b.x, b.y);
    }
    if (!piece) continue;
    nets.subtractFrom(*piece);
    obstacles.add(std::move(*piece));
  }

  const int32_t W = settings.width, D = settings.clearance;
  const int32_t c = routeCellSize(W, D);
  const int32_t cd = c / 5;
  const int maxX = roundDiv(state.width, c) - 1;
  const int maxY = roundDiv(state.height, c) - 1;
  TRouteGrid grid(maxX, maxY);
  auto cellOf = [&](const TObjekt& pad) {
    return TCell{roundDiv(double(pad.x) - c / 2, c), -roundDiv(double(pad.y) + c / 2, c)};
  };
  const TCell startCell = cellOf(start), targetCell = cellOf(target);
  // A pad outside the grid or on its outermost cells cannot be reached.
  if (!grid.inner(startCell) || !grid.inner(targetCell)) return finish();

  const TRect bounds = elementsBounds(list);
  const TCellRect limit{std::max(roundDiv(bounds.left, c) - 10, 0),
                        std::max(roundDiv(-double(bounds.bottom), c) - 10, 0),
                        std::min(roundDiv(bounds.right, c) + 10, grid.maxX()),
                        std::min(roundDiv(-double(bounds.top), c) + 10, grid.maxY())};
  TCellRect window{std::min(startCell.i, targetCell.i) / 10 * 10 - 10,
                   std::min(startCell.j, targetCell.j) / 10 * 10 - 10,
                   std::max(startCell.i, targetCell.i) / 10 * 10 + 10,
                   std::max(startCell.j, targetCell.j) / 10 * 10 + 10};
  const TObstacleTest blocked = [&](const Region::Box& square) {
    return obstacles.intersectsRect(square);
  };
  bool reached = false;
  for (bool last = false; !reached && !last && result.stages < kMaxStages;) {
    if (hooks.stopped && hooks.stopped()) return finish();
    window.left = std::max(window.left, limit.left);
    window.top = std::max(window.top, limit.top);
    window.right = std::min(window.right, limit.right);
    window.bottom = std::min(window.bottom, limit.bottom);
    last = window == limit;
    ++result.stages;
    const TRect area{window.left * c, -window.bottom * c, window.right * c, -window.top * c};
    if (hooks.showWindow) hooks.showWindow(area);
    say(hooks, std::to_string(roundDiv(double(window.left) * c, 100)) + "/" +
                   std::to_string(roundDiv(double(window.top) * c, 100)) + " " +
                   std::to_string(roundDiv(double(window.right) * c, 100)) + "/" +
                   std::to_string(roundDiv(double(window.bottom) * c, 100)));
    classifyWindow(grid, window, cd, blocked);
    reached = runWave(grid, startCell, targetCell);
    if (hooks.showWindow) hooks.showWindow(area);
    window = {window.left - 10, window.top - 10, window.right + 10, window.bottom + 10};
  }
  if (!reached) return finish();

  std::vector<TPoint> points =
      traceBack(grid, startCell, targetCell, c, {start.x, start.y}, {target.x, target.y});
  if (points.empty()) return finish();
  if (hooks.takeSnapshot) hooks.takeSnapshot();
  TObjektPtr created = createTrack(W, layer);
  created->clearance = settings.trackClearance;
  created->points = points;
  TObjekt& track = *created;
  list.push_back(std::move(created));
  if (hooks.invalidate) hooks.invalidate(track);

  const int32_t probeWidth = W + 2 * D;
  const bool clear = checkAndRepairTrack(points, D, [&](TPoint a, TPoint b) {
    return obstacles.overlaps(trackOutline(a, b, probeWidth, &units));
  });
  if (!clear) {
    if (hooks.invalidate) hooks.invalidate(track);
    list.pop_back();
    return finish();
  }
  if (hooks.invalidate) hooks.invalidate(track);
  track.points = std::move(points);
  track.routeFrom = &start;
  track.routeTo = &target;
  track.autorouted = 1;
  removeReferences(start.connections, &target);
  removeReferences(target.connections, &start);
  track.selected = 1;
  if (hooks.invalidate) hooks.invalidate(track);
  result.outcome = TRouteOutcome::routed;
  result.track = &track;
  say(hooks, routeText(TRouteText::successful, settings.language));
  return finish();
}

bool selectedBand(const TObjektList& list, TObjekt*& start, TObjekt*& target) {
  for (const auto& e : list) {
    if (!e->hasConnections() || !e->selected) continue;
    for (TObjekt* partner : e->connections)
      if (partner->selected) {
        start = e.get();
        target = partner;
        return true;
      }
  }
  return false;
}

TRouteResult routeSelected(TObjektList& list, const TBoardRecord& state,
                           const TRouteSettings& settings, const TRouterHooks& hooks) {
  TObjekt *start = nullptr, *target = nullptr;
  if (!selectedBand(list, start, target)) return {};
  return routeConnection(list, state, *start, *target, settings, hooks);
}

bool unrouteSelected(TObjektList& list, int language, const TRouterHooks& hooks) {
  auto it = std::find_if(list.begin(), list.end(), [](const TObjektPtr& e) {
    return e->kind == kTrack && e->autorouted && e->selected;
  });
  if (it == list.end()) return false;
  if (hooks.takeSnapshot) hooks.takeSnapshot();
  // The snapshot copied the list; the elements themselves stay where they are.
  TObjekt& track = **it;
  auto inList = [&](const TObjekt* e) {
    return e &&
           std::any_of(list.begin(), list.end(), [e](const TObjektPtr& p) { return p.get() == e; });
  };
  if (!inList(track.routeFrom) || !inList(track.routeTo)) {
    track.autorouted = 0;
  } else {
    track.routeFrom->connections.push_back(track.routeTo);
    track.routeTo->connections.push_back(track.routeFrom);
    if (hooks.invalidate) hooks.invalidate(track);
    list.erase(it);
  }
  say(hooks, routeText(TRouteText::unrouted, language));
  return true;
}

}  // namespace plavesk
