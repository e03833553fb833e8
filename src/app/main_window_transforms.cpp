// The window's side of the transform, layer and pad commands: menu and
// tool-bar entries, the align drop-down, the pad-shape menu with its images,
// the editing keys of the drawing area and its status hint.
#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCursor>
#include <QKeyEvent>
#include <QMenu>
#include <QToolBar>
#include <QToolButton>

#include "app/layout_view.h"
#include "app/main_window.h"
#include "app/pad_shape_images.h"
#include "app/status_panels.h"
#include "app/tool_panel.h"
#include "editing/editor.h"
#include "editing/tools/tool_manager.h"
#include "editing/transforms.h"
#include "editing/view_hints.h"

namespace plavesk {

namespace {

// The window previews Space wherever the keyboard focus is: outside the
// drawing area (which handles its keys itself) Space still switches to the
// temporary zoom and back.
class TSpacePreview : public QObject {
 public:
  TSpacePreview(QWidget* window, TLayoutView* view, TToolManager& tools)
      : QObject(window), window_(window), view_(view), tools_(tools) {}

 protected:
  bool eventFilter(QObject* object, QEvent* event) override {
    if (event->type() != QEvent::KeyPress && event->type() != QEvent::KeyRelease) return false;
    auto* key = static_cast<QKeyEvent*>(event);
    auto* widget = qobject_cast<QWidget*>(object);
    if (key->key() != Qt::Key_Space || !widget || widget->window() != window_ || widget == view_ ||
        view_->isAncestorOf(widget))
      return false;
    if (!tools_.editor().layout.hasActiveBoard()) return false;
    if (key->isAutoRepeat()) return true;
    TInputEvent e;
    e.kind = event->type() == QEvent::KeyPress ? TInputEvent::keyDown : TInputEvent::keyUp;
    e.key = "Space";
    const QPoint at = view_->viewport()->mapFromGlobal(QCursor::pos());
    e.pixel = TPoint{at.x() + view_->view().scrollX(), at.y() + view_->view().scrollY()};
    e.leftHeld = QGuiApplication::mouseButtons() & Qt::LeftButton;
    return tools_.handle(e) != TToolResult::ignored;
  }

 private:
  QWidget* window_;
  TLayoutView* view_;
  TToolManager& tools_;
};

}  // namespace

void TMainWindow::buildTransformCommands() {
  auto on = [this](const std::string& id, std::function<void()> run) {
    connect(action(id), &QAction::triggered, this, [run = std::move(run)] { run(); });
  };
  on("fn.rotate", [this] { rotateSelection(editor_); });
  on("fn.mirrorH", [this] { mirrorSelectionH(editor_); });
  on("fn.mirrorV", [this] { mirrorSelectionV(editor_); });
  on("fn.adjustGrid", [this] { snapSelectionToGrid(editor_); });
  on("fn.changeSide", [this] { changeSelectionSide(editor_); });
  for (int layer = 1; layer <= 4; ++layer)
    on("fn.setLayer" + std::to_string(layer), [this, layer] { setSelectionLayer(editor_, layer); });
  // The submenu itself is greyed out as its entries are.
  if (QMenu* functions = menu("functions"))
    connect(functions, &QMenu::aboutToShow, this, [this] {
      if (QMenu* setLayer = menu("fn.setLayer"))
        setLayer->setEnabled(editor_.enabled(*findCommand("fn.setLayer")));
    });

  // The align button opens its drop-down of six entries.
  auto* alignMenu = new QMenu(this);
  alignMenu->setObjectName("AusrichtenPopup");
  for (int tag = 1; tag <= 6; ++tag)
    addCommand(alignMenu, "fn.align" + std::to_string(tag),
               [this, tag] { alignSelection(editor_, TAlign(tag)); });
  QAction* align = action("tb.align");
  align->setMenu(alignMenu);
  if (auto* bar = findChild<QToolBar*>("ToolBar"))
    if (auto* button = qobject_cast<QToolButton*>(bar->widgetForAction(align)))
      button->setPopupMode(QToolButton::InstantPopup);

  // The pad-shape menu drops down from the pad-shape button.
  padShapeMenu_ = new QMenu(this);
  padShapeMenu_->setObjectName("LAForm_Popup");
  auto* shapes = new QActionGroup(this);
  for (int shape = 1; shape <= 9; ++shape)
    shapes->addAction(addCommand(padShapeMenu_, "pad.shape" + std::to_string(shape),
                                 [this, shape] { choosePadShape(shape); }));
  padShapeMenu_->addSeparator();
  QAction* through = addCommand(padShapeMenu_, "pad.through", [this] { toggleThroughPad(); });
  // F1..F8 and F12 are editing keys of the drawing area, not shortcuts of
  // the window (a value field with the focus keeps them): the menus show
  // them, bound only to the menus themselves.
  auto showKey = [](QAction* a, const QString& key) {
    a->setShortcutContext(Qt::WidgetShortcut);
    a->setShortcut(QKeySequence(key));
  };
  showKey(through, "F12");
  if (auto* button = toolPanel_->findChild<QToolButton*>("SB_PadShape")) {
    button->setMenu(padShapeMenu_);
    button->setPopupMode(QToolButton::InstantPopup);
  }
  for (int layer = 1; layer <= 4; ++layer) {
    QAction* active = activeLayerActions_[size_t(layer - 1)];
    QAction* visible = visibleLayerActions_[size_t(layer - 1)];
    showKey(active, "F" + QString::number(layer));
    showKey(visible, "F" + QString::number(layer + 4));
  }
  refreshPadImages();

  qApp->installEventFilter(new TSpacePreview(this, layoutView_, *tools_));
  layoutView_->editingKeys.activeLayer = [this](int layer) { chooseActiveLayer(layer); };
  layoutView_->editingKeys.visibleLayer = [this](int layer) { toggleLayerVisible(layer, true); };
  layoutView_->editingKeys.throughPad = [this] { toggleThroughPad(); };
  layoutView_->hintShown = [this](const TText& hint) {
    // The status line shows both lines of a two-line hint.
    const QString text = QString::fromStdString(longHint(hint, language_)).replace('\r', '\n');
    if (status_->hint() != text) status_->setHint(text);
  };
}

void TMainWindow::choosePadShape(int shape) {
  plavesk::choosePadShape(*tools_, shape);
  refreshPadImages();
}

void TMainWindow::toggleThroughPad() {
  toggleThroughPadMode(*tools_);
  refreshPadImages();
}

void TMainWindow::refreshPadImages() {
  const TToolValues& values = tools_->values();
  for (int shape = 1; shape <= 9; ++shape) {
    QAction* a = action("pad.shape" + std::to_string(shape));
    a->setIcon(padShapeIcon(shape, values.throughPad));
    a->setChecked(values.padShape == shape);
  }
  action("pad.through")->setChecked(values.throughPad);
  if (auto* pad = toolPanel_->findChild<QToolButton*>("SB_Circle"))
    pad->setIcon(padShapeIcon(values.padShape, values.throughPad));
}

}  // namespace plavesk
