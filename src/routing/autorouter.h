// The grid maze router: turns one rubber band into a track on the active
// layer, and turns an autorouted track back into its rubber band.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "document/board.h"
#include "view/geometry.h"

namespace plavesk {

struct TRouteSettings {
  int32_t width = 40;           // track width W, units
  int32_t clearance = 20;       // distance D to other copper, units
  int32_t trackClearance = 40;  // ground-plane clearance of the new track
  int language = 0;
};

// What the router needs from the editor. Unset hooks are skipped, except
// `copperAt`: without it the start and target nets hold nothing.
struct TRouterHooks {
  // The copper element under a world point as the test tool picks it.
  std::function<int(TPoint)> copperAt;
  // Status texts; the search window of each stage as "L/T R/B" in mm.
  std::function<void(const std::string&)> status;
  std::function<void()> takeSnapshot;  // before the new track is added
  std::function<void(const TObjekt&)> invalidate;
  // The board area of each stage's search window, shown while it runs.
  std::function<void(const TRect&)> showWindow;
  // Asked before each stage: true ends the route at once as not found (a
  // long job the user cancelled).
  std::function<bool()> stopped;
};

enum class TRouteOutcome { noBand, routed, notFound };

struct TRouteResult {
  TRouteOutcome outcome = TRouteOutcome::noBand;
  TObjekt* track = nullptr;  // the new track when routed
  int stages = 0;            // search windows tried
};

// Maps board units to the router's region units (a fifth, y downwards).
class TRouterUnits : public DeviceMapping {
 public:
  TPoint toDevice(TPoint world) const override;
  double pixelScale() const override { return 0.2; }
};

// An element's outline for the router, in region units: round pads are taken
// as octagons, rounded oblongs as octagonal ones.
std::optional<Region> routerOutline(const TObjekt& e);

// Routes the band from `start` to `target` (both elements of `list`) on the
// active layer. Leaves the two pads selected (and the track when routed).
TRouteResult routeConnection(TObjektList& list, const TBoardRecord& state, TObjekt& start,
                             TObjekt& target, const TRouteSettings& settings,
                             const TRouterHooks& hooks);

// The band the click routes: the first selected pad or SMD pad in list order
// with a selected partner, and its first such partner.
bool selectedBand(const TObjektList& list, TObjekt*& start, TObjekt*& target);
TRouteResult routeSelected(TObjektList& list, const TBoardRecord& state,
                           const TRouteSettings& settings, const TRouterHooks& hooks);

// Turns the first selected autorouted track back into its rubber band (or,
// when one of its pads is gone, into an ordinary track). Returns false when
// no autorouted track is selected.
bool unrouteSelected(TObjektList& list, int language, const TRouterHooks& hooks);

}  // namespace plavesk
