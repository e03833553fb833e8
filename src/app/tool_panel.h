// The tool column at the left of the main window: the tool buttons, the
// value fields and, at the bottom, the board-zoom overview.
#pragma once

#include <QWidget>
#include <functional>
#include <map>

#include "view/view_state.h"

class QAbstractButton;
class QButtonGroup;
class QDoubleSpinBox;
class QScrollArea;
class QToolButton;

namespace plavesk {

class TBoardZoomView;
struct TSpinHighlights;
struct TToolButton;

class TToolPanel : public QWidget {
  Q_OBJECT

 public:
  TToolPanel(int language, TViewState& view, QWidget* parent = nullptr);

  TBoardZoomView* overview() const { return overview_; }
  QToolButton* gridButton() const { return grid_; }
  QButtonGroup* tools() const { return tools_; }
  // A tool button was clicked.
  std::function<void(const TToolButton&)> toolClicked;
  // Presses the button of a tool without running its click.
  void showTool(const TToolButton& button);
  // The value fields that edit the selection: red with white digits, the
  // others black with yellow ones.
  void highlightFields(const TSpinHighlights& highlights);
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
  std::map<QAbstractButton*, const TToolButton*> buttonTools_;
  QToolButton* grid_;
  TBoardZoomView* overview_;
};

}  // namespace plavesk
