// The ground-plane field of the status bar: the button SB_AutoMasse that
// switches the ground plane of the active side, and while it is down the
// clearance field SE_FreistanzOffset and the cutout button SB_Sperrflaeche.
#pragma once

#include <QWidget>
#include <functional>

class QToolButton;

namespace plavesk {

class TLaySpinEdit;

class TGroundPlaneControls : public QWidget {
  Q_OBJECT

 public:
  explicit TGroundPlaneControls(int language, QWidget* parent = nullptr);

  // SB_AutoMasseClick with the button's new state, SB_SperrflaecheClick.
  std::function<void(bool on)> groundPlaneClicked;
  std::function<void(bool down)> cutoutClicked;

  // showGroundPlaneControls: the button shows the active side's switch; the
  // clearance field and the cutout button are shown only while it is down.
  void showGroundPlane(bool on, bool cutoutDown);
  bool controlsShown() const { return controlsShown_; }

  QToolButton* groundPlaneButton() const { return groundPlane_; }
  TLaySpinEdit* clearanceField() const { return clearance_; }
  QToolButton* cutoutButton() const { return cutout_; }

 private:
  QToolButton* groundPlane_;
  TLaySpinEdit* clearance_;
  QToolButton* cutout_;
  bool controlsShown_ = false;
};

}  // namespace plavesk
