// The measure panel P_Messen: dX, dY, distance and angle of the measure
// tool, shown next to the pointer while the button is held.
#pragma once

#include <QFrame>
#include <array>

#include "editing/tools/tool_host.h"

class QLabel;

namespace plavesk {

class TMeasurePanel : public QFrame {
  Q_OBJECT

 public:
  TMeasurePanel(int language, QWidget* parent);

  // Shows the values next to the pointer: below it unless it is within 80
  // pixels of the visible part's lower edge, right of it unless within 120
  // pixels of the right edge (otherwise above or left of it).
  void showAt(const TMeasureReadout& readout, QPoint pointer, QSize visible);
  // "dX: 10 mm" and so on, as the labels read.
  QString line(int row) const;
  QLabel* value(int row) const { return values_[size_t(row)]; }

 private:
  std::array<QLabel*, 4> captions_{};
  std::array<QLabel*, 4> values_{};
};

}  // namespace plavesk
