// The tool column at the left of the main window: the tool buttons, the
// value fields and, at the bottom, the board-zoom overview.
#pragma once

#include <QWidget>
#include <functional>
#include <map>
#include <memory>

#include "view/view_state.h"

class QAbstractButton;
class QButtonGroup;
class QScrollArea;
class QToolButton;

namespace plavesk {

class TBoardZoomView;
class TEditor;
class TLaySpinEdit;
class TToolValueFields;
class TValueListMenus;
enum class TValueField : uint8_t;
struct TSpinHighlights;
struct TToolButton;
struct TValueLists;

class TToolPanel : public QWidget {
  Q_OBJECT

 public:
  TToolPanel(int language, TViewState& view, QWidget* parent = nullptr);
  ~TToolPanel() override;

  TBoardZoomView* overview() const { return overview_; }
  QToolButton* gridButton() const { return grid_; }
  QButtonGroup* tools() const { return tools_; }
  // A tool button was clicked.
  std::function<void(const TToolButton&)> toolClicked;
  // Presses the button of a tool without running its click.
  void showTool(const TToolButton& button);
  // The value fields that edit the selection: red with white digits, the
  // others black with yellow ones. Hovering over a drawing tool's button
  // marks its fields until the pointer leaves it.
  void highlightFields(const TSpinHighlights& highlights);
  // The grid button shows the grid in mm.
  void showGrid(double gridUnits);

  // The value fields edit `fields`: entering, typing, spinning and leaving a
  // field run its handlers; values the program sets are shown.
  void connectFields(TToolValueFields& fields);
  // A value field placed elsewhere (the clearance field of the status bar)
  // joins the same handling and highlighting.
  void registerField(TValueField field, TLaySpinEdit* edit);
  // Null for a field not shown.
  TLaySpinEdit* field(TValueField field) const;
  // The container buttons and the grid button open these lists.
  void setValueLists(TValueListMenus& lists);
  // The whole value side in one: the fields edit `fields`, the lists kept in
  // `lists` (the settings) open from the container and grid buttons, the
  // grid list sets the editor's grid; the grid dialog asks for new grids.
  TValueListMenus& attachValues(TToolValueFields& fields, TEditor& editor, TValueLists& lists);
  TValueListMenus* valueLists() const { return valueLists_; }
  QToolButton* listButton(TValueField field) const;
  void setOverviewVisible(bool visible);

 protected:
  void resizeEvent(QResizeEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void fitWidth();
  void paintHighlights(const TSpinHighlights& highlights);

  QScrollArea* scroll_;
  QWidget* content_;
  QButtonGroup* tools_;
  std::map<QAbstractButton*, const TToolButton*> buttonTools_;
  QToolButton* grid_;
  TBoardZoomView* overview_;
  std::map<TValueField, TLaySpinEdit*> fields_;
  std::map<TValueField, QToolButton*> listButtons_;
  TToolValueFields* model_ = nullptr;
  TValueListMenus* valueLists_ = nullptr;
  int language_;
  // Set while the program writes a field, so its change is not the user's.
  bool showing_ = false;
  std::unique_ptr<TSpinHighlights> selectionHighlights_;
};

}  // namespace plavesk
