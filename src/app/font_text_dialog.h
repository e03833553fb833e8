// The legacy font-text dialog TTXT_Dlg ("Texteingabe"): the text of a font
// text (kind 3), its character height and orientation.
#pragma once

#include <QDialog>
#include <array>

#include "editing/tools/drawing_settings.h"

class QCheckBox;
class QLineEdit;
class QRadioButton;

namespace plavesk {

class TLaySpinEdit;

class TTXT_Dlg : public QDialog {
  Q_OBJECT

 public:
  explicit TTXT_Dlg(int language, QWidget* parent = nullptr);

  void setSettings(const TFontTextSettings& settings);
  TFontTextSettings settings();

  QLineEdit* textField() const { return text_; }
  TLaySpinEdit* heightField() const { return height_; }
  QRadioButton* orientationButton(int quarter) const { return orientation_[size_t(quarter)]; }

 private:
  QLineEdit* text_;
  TLaySpinEdit* height_;
  std::array<QRadioButton*, 4> orientation_{};
  QCheckBox* addNumber_;
  TLaySpinEdit* start_;
};

}  // namespace plavesk
