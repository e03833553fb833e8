// The tool column at the left of the main window: the tool buttons, the
// value fields and, at the bottom, the board-zoom overview.
#pragma once

#include <QWidget>

#include "view/view_state.h"

class QButtonGroup;
class QDoubleSpinBox;
class QScrollArea;
class QToolButton;

namespace plavesk {

class TBoardZoomView;

class TToolPanel : public QWidget {
  Q_OBJECT

 public:
  TToolPanel(int language, TViewState& view, QWidget* parent = nullptr);

  TBoardZoomView* overview() const { return overview_; }
  QToolButton* gridButton() const { return grid_; }
  QButtonGroup* tools() const { return tools_; }
  // The grid button shows the grid in mm.
  void showGrid(double gridUnits);
  void setOverviewVisible(bool visible);

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  void fitWidth();

  QScrollArea* scroll_;
  QWidget* content_;
  QButtonGroup* tools_;
  QToolButton* grid_;
  TBoardZoomView* overview_;
};

}  // namespace plavesk
