// TRasterDlg: asks for a new grid spacing in mm ("Raster definieren").
#pragma once

#include <QDialog>

namespace plavesk {

class TLaySpinEdit;

class TRasterDlg : public QDialog {
  Q_OBJECT

 public:
  explicit TRasterDlg(int language, QWidget* parent = nullptr);
  // The field's value, limited to 0.01..99.9 mm.
  double gridMm();
  TLaySpinEdit* field() const { return field_; }

 private:
  TLaySpinEdit* field_;
};

}  // namespace plavesk
