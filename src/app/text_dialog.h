// The text properties dialog TLinienText_Dlg: the text, its stroke
// thickness, orientation, height, numbering, mirroring and letter style. The
// text tool shows it to prepare a text, the double-click on a text to edit it.
#pragma once

#include <QDialog>
#include <array>

#include "view/stroke_font.h"

class QCheckBox;
class QLineEdit;
class QRadioButton;

namespace plavesk {

class TLaySpinEdit;

class TLinienText_Dlg : public QDialog {
  Q_OBJECT

 public:
  explicit TLinienText_Dlg(int language, QWidget* parent = nullptr);

  // Fills every field; the text is focused with all of it selected.
  void setSettings(const TTextSettings& settings);
  TTextSettings settings();

  QLineEdit* textField() const { return text_; }
  TLaySpinEdit* heightField() const { return height_; }
  TLaySpinEdit* startField() const { return start_; }
  QCheckBox* addNumberBox() const { return addNumber_; }
  QCheckBox* mirrorHBox() const { return mirrorH_; }
  QCheckBox* mirrorVBox() const { return mirrorV_; }
  QRadioButton* thicknessButton(int thickness) const { return thickness_[size_t(thickness)]; }
  QRadioButton* orientationButton(int quarter) const { return orientation_[size_t(quarter)]; }
  QRadioButton* styleButton(int style) const { return style_[size_t(style)]; }

 private:
  QLineEdit* text_;
  std::array<QRadioButton*, 3> thickness_{};
  std::array<QRadioButton*, 4> orientation_{};
  std::array<QRadioButton*, 3> style_{};
  TLaySpinEdit* height_;
  QCheckBox* addNumber_;
  TLaySpinEdit* start_;
  QCheckBox* mirrorH_;
  QCheckBox* mirrorV_;
};

}  // namespace plavesk
