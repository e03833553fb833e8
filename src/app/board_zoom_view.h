// The board-zoom overview in the tool column: the whole board in small with
// the visible part as a frame. Dragging the frame scrolls; a left click zooms
// in, a right click zooms out.
#pragma once

#include <QWidget>
#include <functional>

#include "view/overview_geometry.h"
#include "view/view_state.h"

namespace plavesk {

constexpr int kToolColumnWidth = kOverviewColumnWidth;

class TBoardZoomView : public QWidget {
  Q_OBJECT

 public:
  explicit TBoardZoomView(TViewState& view, QWidget* parent = nullptr);

  // Called after the view state changed (scroll or zoom).
  std::function<void()> viewChanged;

  QSize sizeHint() const override;
  // The board panel in this widget's pixels.
  QRect panelRect() const;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  TViewState& view_;
  bool pressed_ = false;
  bool dragged_ = false;
  QPoint lastPos_;
  QPoint frame_;  // top-left of the dragged frame, panel pixels
};

}  // namespace plavesk
