// The rulers above and left of the drawing area, in mm or inch relative to
// the coordinate origin, with a red marker following the mouse.
#pragma once

#include <QPixmap>
#include <QWidget>
#include <tuple>

#include "view/ruler_geometry.h"
#include "view/view_state.h"

namespace plavesk {

class TLayoutView;

constexpr int kRulerDepth = 25;

class TRuler : public QWidget {
  Q_OBJECT

 public:
  TRuler(RulerSide side, const TViewState& view, const TLayoutView& layoutView,
         QWidget* parent = nullptr);

  // The mouse position along the ruler in viewport pixels; -1 hides it.
  void setCursorMarker(int viewportPixel);

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  // Pixels between the ruler's start and the viewport's left or top edge.
  int viewportOffset() const;
  // The strip of the marker at a viewport pixel, in ruler pixels.
  QRect markerStrip(int viewportPixel) const;
  // The background, ticks and labels, drawn again only when what they show
  // changed, so the marker can follow the mouse without redrawing them.
  void paintScale(QPainter& p);
  using ScaleKey = std::tuple<double, int, int, int, bool, bool, int32_t, int, int, int>;
  ScaleKey scaleKey() const;

  RulerSide side_;
  const TViewState& view_;
  const TLayoutView& layoutView_;
  int cursor_ = -1;
  QPixmap scale_;
  ScaleKey scaleKey_{};
};

}  // namespace plavesk
