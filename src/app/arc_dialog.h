// The arc dialog TBogenDlg ("Kreisbogen"): start and stop angle, diameter
// and fill of the selected circles.
#pragma once

#include <QDialog>

#include "editing/tools/drawing_settings.h"

class QCheckBox;
class QLabel;

namespace plavesk {

class TLaySpinEdit;

class TBogenDlg : public QDialog {
  Q_OBJECT

 public:
  explicit TBogenDlg(int language, QWidget* parent = nullptr);

  void setSettings(const TArcSettings& settings);
  TArcSettings settings();

  TLaySpinEdit* startField() const { return start_; }
  TLaySpinEdit* stopField() const { return stop_; }
  TLaySpinEdit* diameterField() const { return diameter_; }
  QCheckBox* fillBox() const { return fill_; }
  // "No Gerber export for filled segments", enabled while the box is checked.
  QLabel* fillWarning() const { return warning_; }

 private:
  TLaySpinEdit* start_;
  TLaySpinEdit* stop_;
  TLaySpinEdit* diameter_;
  QCheckBox* fill_;
  QLabel* warning_;
};

}  // namespace plavesk
