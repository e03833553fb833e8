// The drawing area: a scrolling viewport over the board-sized paint surface,
// with the origin marker lying on it. Scrolling and zooming go through the
// view state's arithmetic; the window hears about every change through
// `viewChanged` and repaints rulers, overview and status.
#pragma once

#include <QAbstractScrollArea>
#include <functional>

#include "document/objekt.h"
#include "view/colour_scheme.h"
#include "view/view_state.h"

class QPainter;

namespace plavesk {

class TEditor;
class TOriginMarker;

class TLayoutView : public QAbstractScrollArea {
  Q_OBJECT

 public:
  TLayoutView(TViewState& view, TEditor& editor, QWidget* parent = nullptr);

  // Paints the layers of the board onto the painter, which is set up with
  // paint-surface pixels; `clip` is the invalid area in the same pixels.
  std::function<void(QPainter& painter, const QRect& clip)> paintLayers;
  std::function<TColour()> backgroundColour;
  // Called after every change of zoom, scroll, size or origin.
  std::function<void()> viewChanged;
  std::function<void(TPoint world, bool inside)> cursorMoved;
  std::function<void()> originChanged;
  // The caption of the context menu's "set origin" entry.
  QString setOriginCaption;

  // Takes over the view state's scroll positions and flags: sets the scroll
  // bars, repaints what the flags ask for and tells the window.
  void syncFromView();
  void repaintSurface() { viewport()->update(); }
  // Repaints the device rectangle of a world area (grown by 5 pixels).
  void invalidateWorld(const TRect& area);
  void placeOriginMarker();
  // The origin in pixels of the viewport.
  QPoint originInViewport() const;
  // World point of a viewport pixel, snapped to the grid unless `noSnap`.
  TPoint worldAt(QPoint viewportPixel, bool noSnap) const;
  // Where the origin goes for the origin marker's centre at a viewport
  // pixel: the pixel is held inside the viewport, and the point snapped to
  // the grid (unless `noSnap`) is the nearest grid point still inside it;
  // when no grid point is inside, the pixel's own world point.
  TPoint originAt(QPoint viewportPixel, bool noSnap) const;
  void setOrigin(TPoint world);

  // Paint time of the last full frame in milliseconds (benchmarks, status).
  double lastPaintMs() const { return lastPaintMs_; }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void scrollContentsBy(int dx, int dy) override;
  void wheelEvent(QWheelEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void leaveEvent(QEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;

 private:
  void updateClientSize();
  void notify();

  TViewState& view_;
  TEditor& editor_;
  TOriginMarker* marker_;
  bool syncing_ = false;
  double lastPaintMs_ = 0;
};

// The 13 x 13 pixel disc at the coordinate origin; dragging it moves the
// origin, snapped to the grid unless Ctrl is held.
class TOriginMarker : public QWidget {
  Q_OBJECT

 public:
  explicit TOriginMarker(TLayoutView& view);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  TLayoutView& view_;
  QPoint grabOffset_;
  bool dragging_ = false;
};

}  // namespace plavesk
