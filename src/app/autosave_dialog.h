// The autosave dialog: autosave on or off and its interval in whole minutes.
#pragma once

#include <QDialog>

class QCheckBox;
class QSpinBox;
class QLabel;

namespace plavesk {

class TAutoSaveDialog : public QDialog {
  Q_OBJECT

 public:
  TAutoSaveDialog(int language, bool on, int intervalMs, QWidget* parent = nullptr);

  bool autoSaveOn() const;
  int intervalMs() const;  // minutes x 60000

  QCheckBox* onBox() const { return on_; }
  QSpinBox* minutesField() const { return minutes_; }

 private:
  void updateEnabled();

  QCheckBox* on_;
  QSpinBox* minutes_;
  QLabel* minutesLabel_;
};

}  // namespace plavesk
