// The five panels of the status bar: cursor coordinates; the layer
// visibility switches above the active-layer choices; the board size button;
// the ground-plane switch; the hint text.
#pragma once

#include <QWidget>
#include <array>
#include <functional>

#include "document/board.h"
#include "view/colour_scheme.h"

class QLabel;
class QPushButton;
class QRadioButton;
class QStatusBar;
class QToolButton;

namespace plavesk {

class TGroundPlaneControls;

class TStatusPanels : public QObject {
  Q_OBJECT

 public:
  TStatusPanels(int language, QStatusBar* bar);

  std::function<void(int layer)> visibilityClicked;
  std::function<void(int layer)> activeChosen;
  std::function<void()> boardSizeClicked;
  // The "?" button beside the layer switches.
  std::function<void()> layerInfoClicked;

  void showCoordinates(const QString& x, const QString& y);
  void showLayers(const TBoardRecord& state, const TColourScheme& colours);
  void showBoardSize(int32_t width, int32_t height);
  void setHint(const QString& text);
  QString hint() const;

  QLabel* coordinates() const { return coordinates_; }
  QToolButton* visibilityButton(int layer) const { return visible_[size_t(layer - 1)]; }
  QRadioButton* activeButton(int layer) const { return active_[size_t(layer - 1)]; }
  QPushButton* boardSizeButton() const { return boardSize_; }
  TGroundPlaneControls* groundPlane() const { return groundPlane_; }
  QToolButton* layerInfoButton() const { return layerInfo_; }

 private:
  int language_;
  QLabel* coordinates_;
  QWidget* layerPanel_;
  std::array<QToolButton*, 4> visible_{};
  std::array<QRadioButton*, 4> active_{};
  QPushButton* boardSize_;
  TGroundPlaneControls* groundPlane_;
  QToolButton* layerInfo_;
  QLabel* hint_;
};

}  // namespace plavesk
