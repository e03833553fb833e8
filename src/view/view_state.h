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
  // The board values (size, grid, origin, zoom, scroll) are read from and
  // written to one record: the active board's of the layout the view is
  // bound to, or else a record the view owns. A copy of a view always owns
  // a copy of the values, so changing its zoom never reaches a board.
  void bind(TLayout& layout);
  // Works on a record of its own holding a copy of `values`, with zoom and
  // scroll brought within range as when a board is shown.
  void setRecord(const TBoardRecord& values);
  // Keeps the current values in a record of its own.
  void detach();
  TBoardRecord& record() { return board_.get(); }
  const TBoardRecord& record() const { return board_.get(); }

  int32_t boardWidth() const { return record().width; }
  int32_t boardHeight() const { return record().height; }
  double grid() const { return record().grid; }
  TPoint origin() const { return TPoint{record().originX, record().originY}; }
  void setOrigin(TPoint world);
  double zoom() const { return record().zoom; }  // pixels per unit, see setZoom
  int32_t scrollX() const { return record().scrollX; }
  int32_t scrollY() const { return record().scrollY; }

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

  // The record's board comes into view: takes its zoom-previous stack and
  // brings its zoom and scroll positions within range.
  void showBoard(std::vector<TZoomState>* stack);

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
  // World point <-> pixel of the viewport, the scrolled window onto the
  // paint surface.
  TPoint worldToViewport(TPoint world) const;
  TPoint viewportToWorld(TPoint pixel, bool snap) const;
  // The part of the board the viewport shows, in world units from the
  // board's top-left corner (y growing downwards), unrounded.
  struct TVisibleArea {
    double left = 0, top = 0, width = 0, height = 0;
  };
  TVisibleArea visibleArea() const;
  TPoint snap(TPoint p) const { return snapToGrid(p, grid()); }

  // Relative to the origin, y growing downwards; mm, or inch in inch mode.
  DisplayCoords toDisplayCoords(TPoint world) const;
  // "X: 5 mm" / "Y: 5 mm", or in inch mode "X: 0.1969 \"".
  std::string displayTextX(TPoint world) const;
  std::string displayTextY(TPoint world) const;

  // The device rectangle to invalidate for an element: its bounds in pixels
  // of the paint surface, grown by 5 pixels on every side.
  TRect invalidationRect(const TObjekt& e) const;

  // Kept in [kMinZoom, kMaxZoom]; the centre of the viewport stays.
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

 private:
  // Where the board values live; copying takes the values, not the link.
  class TRecordLink {
   public:
    TRecordLink() = default;
    TRecordLink(const TRecordLink& other) : own_(other.get()) {}
    TRecordLink& operator=(const TRecordLink& other) {
      if (this != &other) {
        own_ = other.get();
        layout_ = nullptr;
      }
      return *this;
    }
    TBoardRecord& get() { return layout_ ? layout_->working() : own_; }
    const TBoardRecord& get() const { return layout_ ? layout_->working() : own_; }
    void bind(TLayout* layout) { layout_ = layout; }
    void detach() {
      if (layout_) own_ = layout_->working();
      layout_ = nullptr;
    }

   private:
    TBoardRecord own_;
    TLayout* layout_ = nullptr;
  };

  void applyZoom(double z);

  TRecordLink board_;
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
