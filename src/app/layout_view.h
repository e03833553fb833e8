// The drawing area: a scrolling viewport over the board-sized paint surface,
// with the origin marker lying on it. Scrolling and zooming go through the
// view state's arithmetic; the window hears about every change through
// `viewMoved` and repaints rulers, overview and status.
//
// Mouse and key events become input events for the tool manager. The picture
// is kept in a frame image of the viewport: the layers are painted into an
// image of their own where they changed and copied into the frame, feedback
// is drawn into the frame in its raster mode and erased by copying the layers
// back, and the screen is updated from the frame, for feedback only in the
// rectangles the figures cover.
#pragma once

#include <QAbstractScrollArea>
#include <QRegion>
#include <functional>
#include <memory>
#include <vector>

#include "document/language_text.h"
#include "document/objekt.h"
#include "editing/editing_keys.h"
#include "editing/tools/tool_host.h"
#include "editing/tools/tool_manager.h"
#include "platform/core/raster_canvas.h"
#include "view/colour_scheme.h"
#include "view/layer_passes.h"
#include "view/view_state.h"

namespace plavesk {

class Canvas;
class TEditor;
class TOriginMarker;
class TRenderSettings;

class TLayoutView : public QAbstractScrollArea, public TToolHost {
  Q_OBJECT

 public:
  TLayoutView(TViewState& view, TEditor& editor, QWidget* parent = nullptr);

  // Paints the layers of the board on the canvas, whose device pixels are
  // those of the paint surface; `clip` is the invalid area in the same pixels.
  std::function<void(Canvas& canvas, const QRect& clip, TElementSubset subset)> paintLayers;
  std::function<TColour()> backgroundColour;
  // Called after every change of zoom, scroll, size or origin.
  std::function<void()> viewMoved;
  std::function<void(TPoint world, bool inside)> cursorMoved;
  std::function<void()> originChanged;
  // The tool manager asks for a menu at a viewport pixel.
  std::function<void(const std::string& menu, const std::vector<std::string>& ids,
                     QPoint viewportPixel)>
      menuRequested;
  // The state machine changed the mode itself: the tool panel follows.
  std::function<void(int mode)> modeShown;
  // What F1..F8 and F12 do while the view has the focus.
  TEditingKeyHandlers editingKeys;
  // The view's own hint after a mouse move ("|long": no tooltip).
  std::function<void(const TText& hint)> hintShown;
  // The macro of the library panel while one is dragged from it (null: no
  // panel), and what follows a drop (the panel's drop was inserted).
  std::function<const TObjektList*()> draggedMacro;
  std::function<void()> macroDropped;
  // After each mouse, key, wheel or drop event: what the event changed is
  // shown before the next event comes (the command states above all).
  std::function<void()> inputHandled;

  // Mouse and key events go to `tools` (null: none) and feedback is drawn
  // with `settings`.
  void setTools(TToolManager* tools, const TRenderSettings* settings);
  TToolManager* tools() const { return tools_; }

  // --- TToolHost ---
  TViewState& view() override { return view_; }
  void drawFeedback(const TFeedback& feedback) override;
  void eraseFeedback(const TFeedback& feedback) override;
  using QAbstractScrollArea::setCursor;
  void setCursor(TCursor cursor) override;
  void confinePointer() override;
  void releasePointer() override;
  void refreshPointer() override;
  void openMenu(const std::string& menu, const std::vector<std::string>& ids,
                TPoint pixel) override;
  // The tool scrolled or zoomed: scroll bars, picture, rulers, overview.
  void viewChanged() override { syncFromView(); }
  void showCoordinates(TPoint world) override;
  void showMode(int mode) override;
  // The drawing tools' dialogs and the measure panel: the window supplies
  // them (unset: cancelled, not shown).
  std::function<bool(TTextSettings&, bool editing)> textDialog;
  std::function<bool(TFontTextSettings&)> fontTextDialog;
  std::function<bool(TPolygonSettings&)> polygonDialog;
  std::function<void()> textNotGenerated;
  std::function<void(const TMeasureReadout* readout, QPoint viewportPixel)> measureShown;
  bool askTextSettings(TTextSettings& settings, bool editing) override {
    return textDialog && textDialog(settings, editing);
  }
  bool askFontTextSettings(TFontTextSettings& settings) override {
    return fontTextDialog && fontTextDialog(settings);
  }
  bool askPolygonSettings(TPolygonSettings& settings) override {
    return polygonDialog && polygonDialog(settings);
  }
  void warnTextNotGenerated() override {
    if (textNotGenerated) textNotGenerated();
  }
  void showMeasure(const TMeasureReadout* readout, TPoint pixel) override;
  TPoint fontTextExtent(const std::string& text, int32_t fontHeight) const override;
  double pixelsPerInch() const override { return logicalDpiY(); }
  // Paints what changed at once (the router's search windows).
  void flush() override;

  // The viewport rectangle a feedback's figures cover (with a margin for
  // the pens' last pixels), clipped to the viewport.
  QRect feedbackRect(const TFeedback& feedback) const;
  bool pointerConfined() const { return confined_; }

  // Takes over the view state's scroll positions and flags: sets the scroll
  // bars, repaints what the flags ask for and tells the window.
  void syncFromView();
  void repaintSurface();
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

  // While a value field changes the selected elements step by step: the
  // picture of everything else is kept with the paint order of its pixels,
  // and a repaint draws only the selected elements into it, each pixel as a
  // picture of all would show it. Dropped (and drawn again when needed)
  // whenever the view, the board or any other element may have changed.
  void holdUnselected(bool on);
  bool holdsUnselected() const { return held_ != nullptr; }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  bool event(QEvent* event) override;
  bool viewportEvent(QEvent* event) override;
  void scrollContentsBy(int dx, int dy) override;
  void wheelEvent(QWheelEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void keyReleaseEvent(QKeyEvent* event) override;
  void leaveEvent(QEvent* event) override;
  // PaintBox1DragOver and the drop of a macro from the library panel.
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dragMoveEvent(QDragMoveEvent* event) override;
  void dragLeaveEvent(QDragLeaveEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  void updateClientSize();
  void notify();
  // The mouse event as an input event at its paint-surface pixel, the
  // pointer held inside the viewport while it is confined.
  TInputEvent inputEvent(TInputEvent::Kind kind, const QMouseEvent& event);
  void handle(const TInputEvent& event);
  // A key the tools know goes to them (auto-repeated only when `repeats`);
  // false for the others.
  bool handleKey(TInputEvent::Kind kind, QKeyEvent& event, bool repeats);
  // The frame image matches the viewport and scroll position; otherwise it
  // is made anew and everything in it needs painting.
  void ensureFrame();
  // The image rectangle of a viewport rectangle.
  QRect imageRect(const QRect& viewportArea) const;
  // Paints the layers into a viewport rectangle of the layer image and
  // shows them with the feedback on them in the frame image.
  void paintFrame(const QRect& area);
  // Copies an image rectangle of the layers into the frame.
  void showLayers(const QRect& inImage);
  // Draws the visible feedback but kind `except` (-1: all) into a viewport
  // rectangle of the frame image.
  void drawVisibleFeedback(const QRect& area, int except);

  TViewState& view_;
  TEditor& editor_;
  TOriginMarker* marker_;
  TToolManager* tools_ = nullptr;
  const TRenderSettings* settings_ = nullptr;
  bool syncing_ = false;
  bool confined_ = false;
  bool measuring_ = false;  // the measure panel is up: the origin marker hides
  TCursor cursor_ = TCursor::arrow;
  double lastPaintMs_ = 0;

  // The frame image, what the screen shows, and the layers alone under it:
  // image pixel (0, 0) is paint-surface pixel (frameX_, frameY_), kept on
  // multiples of 8 so patterns fall as on the surface.
  RasterImage frame_;
  RasterImage layers_;
  int32_t frameX_ = 0, frameY_ = 0;
  int scale_ = 1;  // image pixels a view pixel (the screen's pixel ratio)
  QSize frameViewport_;
  QPoint frameScroll_{-1, -1};
  // Viewport areas whose layers must be painted, and areas asked to be
  // shown again only because feedback changed there.
  QRegion dirty_;
  QRegion feedbackOnly_;
  // Invalidations since the last repaint, and the box of those beyond the
  // first few, shown together once the command is done.
  int invalidations_ = 0;
  QRect bulk_;

  // The layers without the selected elements while they are held, with
  // what they were drawn for.
  struct THeldLayers {
    RasterImage colours;
    std::vector<uint32_t> orders;
    QSize viewport;
    QPoint scroll;
    int scale = 1;
    double zoom = 0;
    int board = -1;
    uint64_t elements = 0;  // the list's elements and their selection
  };
  bool holding_ = false;
  std::unique_ptr<THeldLayers> held_;
  uint64_t elementsFingerprint() const;
  THeldLayers* heldLayers();
  // The layers of `area` (viewport pixels) into `target`, an image of the
  // frame's size: the subset of the elements, drawn with the given use of
  // the paint orders.
  void renderLayers(RasterImage& target, const QRect& area, TElementSubset subset, uint32_t* orders,
                    RasterCanvas::OrderUse use);
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
