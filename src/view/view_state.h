// The main view's mapping between world units and pixels, grid snapping, the
// user's coordinates relative to the origin, and the arithmetic of the zoom
// commands. A widget owns one of these, keeps the client sizes up to date and
// repaints what the flags ask for.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "document/board.h"
#include "document/objekt.h"
#include "view/geometry.h"
#include "view/units.h"

namespace plavesk {

constexpr double kZoomStep = 1.4;

struct DisplayCoords {
  double x = 0;
  double y = 0;
};

class TViewState {
 public:
  // Working state of the active board.
  int32_t boardWidth = 16000;
  int32_t boardHeight = 10000;
  double grid = 254.0;
  int32_t originX = 0;
  int32_t originY = 0;
  double zoom = 0.1;  // pixels per unit, kept in [kMinZoom, kMaxZoom] by setZoom
  int32_t scrollX = 0;
  int32_t scrollY = 0;

  bool inchMode = false;
  bool photoViewActive = false;
  bool photoMirrored = false;
  bool paintSuppressed = false;

  // The viewport: client area and outer size including the scroll bars.
  int32_t clientWidth = 0;
  int32_t clientHeight = 0;
  int32_t outerWidth = 0;
  int32_t outerHeight = 0;
  // Scroll-bar line increments.
  int32_t lineStepX = 0;
  int32_t lineStepY = 0;

  // The active board's zoom-previous stack; null while no board is active.
  std::vector<TZoomState>* zoomStack = nullptr;

  // What the widget has to do after a call; it clears them when done.
  bool surfaceNeedsRepaint = false;
  bool rulersNeedRepaint = false;
  bool commandStatesNeedUpdate = false;

  // Takes the board's size, grid, origin, zoom (through setZoom) and scroll
  // positions, and its zoom stack.
  void loadBoard(const TBoardRecord& record, std::vector<TZoomState>* stack);
  void storeTo(TBoardRecord& record) const;

  // Pixels per unit as the device mapping uses it: zoom quantised to 1/10000.
  double scale() const;
  bool mirrored() const { return photoViewActive && photoMirrored; }
  // Size of the paint surface in pixels.
  int32_t surfaceWidth() const;
  int32_t surfaceHeight() const;

  // World point <-> pixel of the paint surface (the board's top-left corner
  // is pixel (0, 0)).
  TPoint worldToDevice(TPoint world) const;
  TPoint deviceToWorld(TPoint pixel, bool snap) const;
  // A pixel of the viewport (scrolled) to the world.
  TPoint viewportToWorld(TPoint pixel, bool snap) const;
  TPoint snap(TPoint p) const { return snapToGrid(p, grid); }

  // Relative to the origin, y growing downwards; mm, or inch in inch mode.
  DisplayCoords toDisplayCoords(TPoint world) const;
  // "X: 5 mm" / "Y: 5 mm", or in inch mode "X: 0.1969 \"".
  std::string displayTextX(TPoint world) const;
  std::string displayTextY(TPoint world) const;

  // The device rectangle to invalidate for an element: its bounds in pixels
  // of the paint surface, grown by 5 pixels on every side.
  TRect invalidationRect(const TObjekt& e) const;

  void setZoom(double z);
  // Scrolls so that (x, y) with y growing downwards (y = -world y) is at the
  // centre of the viewport.
  void centreView(int32_t x, int32_t y);

  void pushZoomState();
  // Wheel over the viewport at a viewport pixel; always handled.
  bool wheel(int delta, TPoint cursor);
  // The menu commands; each pushes the zoom state first.
  void zoomBoard();
  void zoomObjects(const TObjektList& list);
  void zoomSelection(const TObjektList& list);
  // The shared part of zoomObjects and zoomSelection, without the push.
  void zoomToRect(const TRect& bounds);
  // Returns whether there was a state to go back to.
  bool zoomPrevious();

  // Clamps the scroll positions to the scroll bars' ranges.
  void setScroll(int32_t x, int32_t y);
};

// Outlines in the main view's device pixels.
class ViewMapping : public DeviceMapping {
 public:
  explicit ViewMapping(const TViewState& view) : view_(view) {}
  TPoint toDevice(TPoint world) const override { return view_.worldToDevice(world); }
  double pixelScale() const override { return view_.scale(); }

 private:
  const TViewState& view_;
};

}  // namespace plavesk
