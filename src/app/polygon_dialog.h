// The regular-polygon dialog TVielEckDlg ("Vieleck generieren"): corners,
// radius, angle offset, line width and fill of the polygon tool.
#pragma once

#include <QDialog>

#include "editing/tools/drawing_settings.h"

class QCheckBox;

namespace plavesk {

class TLaySpinEdit;

class TVielEckDlg : public QDialog {
  Q_OBJECT

 public:
  explicit TVielEckDlg(int language, QWidget* parent = nullptr);

  void setSettings(const TPolygonSettings& settings);
  TPolygonSettings settings();

  TLaySpinEdit* cornersField() const { return corners_; }
  TLaySpinEdit* radiusField() const { return radius_; }
  TLaySpinEdit* offsetField() const { return offset_; }
  TLaySpinEdit* widthField() const { return width_; }
  QCheckBox* fillBox() const { return filled_; }

 private:
  TLaySpinEdit* corners_;
  TLaySpinEdit* radius_;
  TLaySpinEdit* offset_;
  TLaySpinEdit* width_;
  QCheckBox* filled_;
};

}  // namespace plavesk
