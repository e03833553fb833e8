// The photo view's options window "Fotoansicht": a small tool window that
// stays on top, with the side looked at and the silkscreen and X-ray
// switches. While it is shown the main view draws the board as made; side 2
// is drawn mirrored left-right, and the horizontal scroll position is
// mirrored with it so that the same part of the board stays in view.
#pragma once

#include <QWidget>
#include <functional>

#include "view/render_settings.h"
#include "view/view_state.h"

class QCheckBox;
class QRadioButton;

namespace plavesk {

// Puts the photo view's state into the view and the paint settings. When the
// effective mapping flips (side 2 chosen or left while shown, or the window
// shown or hidden on side 2) the horizontal scroll position is mirrored:
// surface width - position - client width. Returns whether it flipped.
bool applyPhotoView(TViewState& view, TRenderSettings& render, bool active,
                    const TPhotoOptions& options);

class TPhotoWindow : public QWidget {
  Q_OBJECT

 public:
  TPhotoWindow(int language, TViewState& view, TRenderSettings& render, QWidget* parent);

  TPhotoOptions options() const;
  // After every change: the window repaints the view, its scroll bars and
  // the overview.
  std::function<void()> changed;
  // The user closed the window: back to the standard tool.
  std::function<void()> closedByUser;

  QRadioButton* sideButton(int side) const { return side == 2 ? side2_ : side1_; }
  QCheckBox* silkscreenBox() const { return silkscreen_; }
  QCheckBox* xrayBox() const { return xray_; }
  // Hides the window without it counting as the user's close.
  void leave();

 protected:
  void showEvent(QShowEvent* event) override;
  void hideEvent(QHideEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void refreshView(bool active);

  TViewState& view_;
  TRenderSettings& render_;
  QRadioButton* side1_;
  QRadioButton* side2_;
  QCheckBox* silkscreen_;
  QCheckBox* xray_;
  bool leaving_ = false;
};

}  // namespace plavesk
