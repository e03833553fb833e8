// "Bohrdaten exportieren": drilling side, unit and leading zeros of the
// Excellon drill file. The caller keeps the options between uses.
#pragma once

#include <QDialog>

#include "output/excellon_export.h"

class QCheckBox;
class QRadioButton;

namespace plavesk {

class TExcellonDialog : public QDialog {
  Q_OBJECT

 public:
  TExcellonDialog(int language, const TExcellonOptions& options, QWidget* parent = nullptr);

  TExcellonOptions options() const;

  QRadioButton* fromBottomButton() const { return fromBottom_; }
  QRadioButton* fromTopButton() const { return fromTop_; }
  QRadioButton* mmButton() const { return mm_; }
  QRadioButton* inchButton() const { return inch_; }
  QCheckBox* leadingZerosBox() const { return removeZeros_; }

 private:
  QRadioButton* fromBottom_;
  QRadioButton* fromTop_;
  QRadioButton* mm_;
  QRadioButton* inch_;
  QCheckBox* removeZeros_;
};

}  // namespace plavesk
