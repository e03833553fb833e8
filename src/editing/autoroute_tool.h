// The autoroute tool without its window: hovering over rubber bands and
// autorouted tracks, routing the hovered band and unrouting a track. The
// window's width and clearance fields are the two values here.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "document/objekt.h"
#include "routing/autorouter.h"

namespace plavesk {

class TEditor;
class TViewState;

// Pixels around a band that still hit it: round(zoom * 60), within 3..10.
int32_t hoverTolerance(double zoom);
// Whether the view pixel p lies on the band between the view pixels a and b.
bool bandHit(TPoint a, TPoint b, TPoint p, int32_t tolerance);

enum THoverResult { kHoverNothing = 0, kHoverBand = 1, kHoverRoutedTrack = 2 };

class TAutorouteTool {
 public:
  double widthMm = 0.4;      // 0.1 .. 9.9
  double clearanceMm = 0.2;  // 0.1 .. 9.9
  int language = 0;
  int32_t trackClearance = 40;  // the current ground-plane clearance
  std::function<void(const std::string&)> status;
  // Each stage's search window, shown (first call) and taken off (second).
  std::function<void(const TRect&)> showWindow;
  int lastHover = kHoverNothing;

  // A mouse move at a pixel of the paint surface: selects the band's two
  // pads (1) or the autorouted track (2) under it, else deselects (0).
  int hoverAt(TEditor& editor, const TViewState& view, TPoint pixel);
  // The click on a band or a routed track.
  TRouteResult routeSelected(TEditor& editor);
  bool unrouteSelected(TEditor& editor);

  TRouteSettings settings() const;
  TRouterHooks hooks(TEditor& editor);
};

struct TRoutedBand {
  size_t start = 0;  // positions of the two pads
  size_t target = 0;
  int layer = 0;  // 0: not tried (SMD pads on both sides)
  bool routed = false;
};

// Routes every band of the active board once, in list order of its first
// pad, on the active layer; a band with an SMD pad on the other copper layer
// is routed on that pad's layer, and one between SMD pads of both sides
// fails. Failed bands stay.
std::vector<TRoutedBand> routeAllBands(TEditor& editor, TAutorouteTool& tool);

// The same on a plain list and board record, for a copy of the board routed
// away from the editor. The bands of a list, each once, in list order of
// its first pad:
std::vector<TRoutedBand> listBands(const TObjektList& list);
// routes them one after another as routeAllBands does. Before band k of n,
// `next(k, n)` is asked when set: false stops there, leaving that band and
// the rest untried (layer 0).
void routeBands(TObjektList& list, TBoardRecord& board, std::vector<TRoutedBand>& bands,
                const TRouteSettings& settings, const TRouterHooks& hooks,
                const std::function<bool(size_t, size_t)>& next = {});
// The copper picks of the test tool on that list: all a router on a copy
// needs (no snapshots, nothing to repaint).
TRouterHooks listRouterHooks(const TObjektList& list, const TBoardRecord& board);

// Takes over the tracks routeBands appended to a copy of the active list
// that had `originalCount` elements: one undo snapshot, the tracks appended
// in their order with their routes on the layout's own pads, those bands
// removed, nothing selected. Returns how many tracks came over; 0 and no
// change when there were none or the active list no longer has the copy's
// length.
size_t applyRoutedCopy(TEditor& editor, const TObjektList& routed, size_t originalCount);

}  // namespace plavesk
