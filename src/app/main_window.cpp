#include "app/main_window.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QGridLayout>
#include <QInputDialog>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QScreen>
#include <QSplitter>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QTabBar>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>

#include "app/app_icons.h"
#include "app/autosave_dialog.h"
#include "app/board_properties_dialog.h"
#include "app/board_zoom_view.h"
#include "app/hint_text.h"
#include "app/layout_view.h"
#include "app/main_window_texts.h"
#include "app/project_info_dialog.h"
#include "app/ruler.h"
#include "app/status_panels.h"
#include "app/template_dialog.h"
#include "app/tool_panel.h"
#include "editing/layout_commands.h"
#include "platform/qt/qt_canvas.h"
#include "view/layer_visibility.h"
#include "view/main_view_paint.h"

namespace plavesk {

namespace {

QString q(const std::string& s) {
  return QString::fromStdString(s);
}

// Tooltips are shown only while "Show hints" is on.
class TTooltipGate : public QObject {
 public:
  explicit TTooltipGate(QObject* parent) : QObject(parent) {}
  bool enabled = true;

 protected:
  bool eventFilter(QObject*, QEvent* event) override {
    return !enabled && event->type() == QEvent::ToolTip;
  }
};

TTooltipGate* tooltipGate = nullptr;

}  // namespace

TMainWindow::TMainWindow(const TMainWindowOptions& options, std::unique_ptr<TUserDialogs> dialogs)
    : language_(options.language),
      programFolder_(options.programFolder),
      settingsPath_(options.settingsPath),
      dialogs_(std::move(dialogs)) {
  setWindowIcon(programIcon());
  if (!dialogs_) dialogs_ = std::make_unique<TQtUserDialogs>(this);
  files_ = std::make_unique<TFileCommands>(editor_, *dialogs_, language_);
  files_->pixelsPerInch = screen() ? screen()->logicalDotsPerInch() : 96;
  images_ = std::make_unique<TImageCommands>(editor_, view_, render_, templates_, *dialogs_,
                                             language_, this);
  // Boards becoming active (switching, opening) read their template files;
  // loadViewFromWorking hands the bitmaps to the view.
  editor_.layout.loadTemplate = [this](const std::string& path) {
    return templates_.preload(path);
  };

  // The first board, named by language, becomes active.
  editor_.layout.addBoard(boardBaseName(language_) + "1");
  editor_.layout.modified = false;

  settings_ = readSettings(loadIniFile(settingsPath_), programFolder_);

  buildCentre();
  buildMenus();
  buildToolBar();
  connectEditor();
  applySettings();

  files_->layoutReplaced = [this] { reloadFromLayout(); };
  files_->titleChanged = [this] { refreshTitle(); };
  files_->recentChanged = [this] {
    refreshRecentMenu();
    writeRecentFiles();
  };
  files_->storeViewState = [this] { view_.storeTo(editor_.layout.working); };
  files_->autosaveRunning = [this](bool running) {
    static QString saved;
    if (running) {
      saved = status_->hint();
      status_->setHint(pick(language_, texts::kAutosaveStatus));
      QApplication::setOverrideCursor(Qt::WaitCursor);
    } else {
      status_->setHint(saved);
      QApplication::restoreOverrideCursor();
    }
  };
  files_->boardPropertiesForNew = [this] { editBoardProperties(); };

  refreshTitle();
  reloadFromLayout();
  const QRect available = screen() ? screen()->availableGeometry() : QRect(0, 0, 1280, 900);
  resize(std::min(1280, available.width() * 9 / 10), std::min(900, available.height() * 9 / 10));
}

TMainWindow::~TMainWindow() = default;

QAction* TMainWindow::action(const std::string& name) const {
  auto it = actions_.find(name);
  return it == actions_.end() ? nullptr : it->second;
}

QMenu* TMainWindow::menu(const std::string& name) const {
  auto it = menus_.find(name);
  return it == menus_.end() ? nullptr : it->second;
}

QAction* TMainWindow::addCommand(QMenu* menu, const std::string& name, const TText& caption,
                                 std::function<void()> run, const QKeySequence& key) {
  auto* a = new QAction(pick(language_, caption), this);
  a->setObjectName(q(name));
  if (!key.isEmpty()) a->setShortcut(key);
  connect(a, &QAction::triggered, this, [run = std::move(run)] { run(); });
  if (menu) menu->addAction(a);
  actions_[name] = a;
  return a;
}

QAction* TMainWindow::addPending(QMenu* menu, const std::string& name, const TText& caption,
                                 const QKeySequence& key) {
  QAction* a = addCommand(
      menu, name, caption, [] {}, key);
  a->setEnabled(false);
  a->setProperty("pending", true);
  return a;
}

void TMainWindow::buildCentre() {
  auto* central = new QWidget;
  auto* columns = new QHBoxLayout(central);
  columns->setContentsMargins(0, 0, 0, 0);
  columns->setSpacing(0);

  toolPanel_ = new TToolPanel(language_, view_);
  columns->addWidget(toolPanel_);

  auto* splitter = new QSplitter(Qt::Horizontal);
  auto* viewArea = new QWidget;
  auto* grid = new QGridLayout(viewArea);
  grid->setContentsMargins(0, 0, 0, 0);
  grid->setSpacing(0);
  layoutView_ = new TLayoutView(view_, editor_);
  layoutView_->setOriginCaption = pick(language_, texts::kSetOrigin);
  unitButton_ = new QToolButton;
  unitButton_->setObjectName("SB_Einheit");
  unitButton_->setFixedSize(kRulerDepth, kRulerDepth);
  applyHint(unitButton_, language_, texts::kRulerUnitHint);
  connect(unitButton_, &QToolButton::clicked, this, [this] { setInchMode(!view_.inchMode); });
  topRuler_ = new TRuler(RulerSide::kTop, view_, *layoutView_);
  leftRuler_ = new TRuler(RulerSide::kLeft, view_, *layoutView_);
  tabs_ = new QTabBar;
  tabs_->setShape(QTabBar::RoundedSouth);
  tabs_->setExpanding(false);
  tabs_->setDocumentMode(true);
  tabs_->setContextMenuPolicy(Qt::CustomContextMenu);
  grid->addWidget(unitButton_, 0, 0);
  grid->addWidget(topRuler_, 0, 1);
  grid->addWidget(leftRuler_, 1, 0);
  grid->addWidget(layoutView_, 1, 1);
  grid->addWidget(tabs_, 2, 0, 1, 2);
  splitter->addWidget(viewArea);
  macroPanel_ = new QWidget;
  macroPanel_->setObjectName("P_Makro");
  macroPanel_->setMinimumWidth(180);
  splitter->addWidget(macroPanel_);
  splitter->setStretchFactor(0, 1);
  splitter->setStretchFactor(1, 0);
  connect(splitter, &QSplitter::splitterMoved, this, [this] { onViewChanged(); });
  columns->addWidget(splitter, 1);
  setCentralWidget(central);

  status_ = new TStatusPanels(language_, statusBar());
  statusBar()->setSizeGripEnabled(true);
  status_->visibilityClicked = [this](int layer) { toggleLayerVisible(layer); };
  status_->activeChosen = [this](int layer) { chooseActiveLayer(layer); };
  status_->boardSizeClicked = [this] { editBoardProperties(); };

  layoutView_->viewChanged = [this] { onViewChanged(); };
  layoutView_->cursorMoved = [this](TPoint p, bool inside) { onCursorMoved(p, inside); };
  layoutView_->originChanged = [this] {
    topRuler_->update();
    leftRuler_->update();
  };
  // The passes draw on the raster canvas into an image of the invalid area,
  // shown in one piece: the pixels of image export, and far fewer painter
  // calls than one per figure.
  layoutView_->paintLayers = [this, buffer = std::make_shared<RasterImage>()](QPainter& painter,
                                                                              const QRect& clip) {
    if (!editor_.layout.hasActiveBoard()) return;
    BufferedQtCanvas canvas(
        painter, CanvasRect{clip.left(), clip.top(), clip.right() + 1, clip.bottom() + 1}, *buffer);
    TMainViewExtras extras;
    extras.grid.visible = settings_.gridVisible;
    extras.grid.subdivision = settings_.gridMarking;
    if (!editor_.contours.empty()) extras.contours = &editor_.contours;
    extras.templates = templates_.images();
    paintMainView(editor_.elements(), editor_.layout.working, view_, canvas, render_, extras);
  };
  toolPanel_->overview()->viewChanged = [this] { layoutView_->syncFromView(); };

  connect(tabs_, &QTabBar::currentChanged, this, [this](int index) {
    if (!rebuildingTabs_ && index >= 0 && index != editor_.layout.activeBoard) activateBoard(index);
  });
  connect(tabs_, &QTabBar::customContextMenuRequested, this, [this](const QPoint& pos) {
    QMenu* board = menu("board");
    if (board) board->exec(tabs_->mapToGlobal(pos));
  });

  autosaveTimer_ = new QTimer(this);
  connect(autosaveTimer_, &QTimer::timeout, this, [this] { files_->autosave(); });
}

void TMainWindow::buildMenus() {
  const int L = language_;
  QMenuBar* bar = menuBar();
  auto topMenu = [&](const std::string& name, const TText& caption) {
    QMenu* m = bar->addMenu(pick(L, caption));
    m->setObjectName(q(name));
    menus_[name] = m;
    return m;
  };
  auto subMenu = [&](QMenu* parent, const std::string& name, const TText& caption) {
    QMenu* m = parent->addMenu(pick(L, caption));
    m->setObjectName(q(name));
    menus_[name] = m;
    return m;
  };

  QMenu* file = topMenu("file", texts::kMenuFile);
  addCommand(file, "file.new", texts::kFileNew, [this] { files_->newLayout(); });
  addCommand(file, "file.open", texts::kFileOpen, [this] { files_->open(false); });
  addCommand(file, "file.save", texts::kFileSave, [this] { files_->save(); });
  addCommand(file, "file.saveAs", texts::kFileSaveAs, [this] { files_->saveAs(); });
  addPending(file, "file.saveMacro", texts::kFileSaveMacro);
  file->addSeparator();
  addCommand(file, "file.autoSave", texts::kFileAutoSave, [this] { showAutoSaveDialog(); });
  QMenu* exportMenu = subMenu(file, "file.export", texts::kFileExport);
  addPending(exportMenu, "export.gerber", texts::kExportGerber);
  addPending(exportMenu, "export.drill", texts::kExportDrill);
  exportMenu->addSeparator();
  addCommand(exportMenu, "export.bmp", texts::kExportBmp,
             [this] { images_->exportBitmap(TExportFormat::kBmp); });
  addCommand(exportMenu, "export.gif", texts::kExportGif,
             [this] { images_->exportBitmap(TExportFormat::kGif); });
  addCommand(exportMenu, "export.emf", texts::kExportEmf,
             [this] { images_->exportMetafileCommand(); });
  exportMenu->addSeparator();
  QMenu* milling = subMenu(exportMenu, "file.milling", texts::kExportMilling);
  addPending(milling, "export.isolation", texts::kExportIsolation);
  addPending(milling, "export.outline", texts::kExportOutline);
  file->addSeparator();
  addPending(file, "file.directories", texts::kFileDirectories);
  file->addSeparator();
  addPending(file, "file.printerSetup", texts::kFilePrinterSetup);
  addPending(file, "file.print", texts::kFilePrint);
  file->addSeparator();
  for (int i = 0; i < kRecentFileCount; ++i) {
    recentActions_[size_t(i)] = addCommand(file, "file.recent" + std::to_string(i + 1),
                                           TText{"", "", ""}, [this, i] { files_->openRecent(i); });
  }
  recentSeparator_ = file->addSeparator();
  addCommand(file, "file.exit", texts::kFileExit, [this] { close(); });
  connect(file, &QMenu::aboutToShow, this, [this] { refreshRecentMenu(); });

  QMenu* edit = topMenu("edit", texts::kMenuEdit);
  addCommand(
      edit, "edit.undo", texts::kEditUndo,
      [this] {
        editor_.undo();
        editor_.repaint();
      },
      QKeySequence(Qt::CTRL | Qt::Key_Z));
  addCommand(
      edit, "edit.redo", texts::kEditRedo,
      [this] {
        editor_.redo();
        editor_.repaint();
      },
      QKeySequence(Qt::CTRL | Qt::Key_Y));
  edit->addSeparator();
  addCommand(
      edit, "edit.copy", texts::kEditCopy,
      [this] {
        if (editor_.copy()) images_->copySelectionPicture();
      },
      QKeySequence(Qt::CTRL | Qt::Key_C));
  addCommand(
      edit, "edit.cut", texts::kEditCut,
      [this] {
        editor_.cut();
        editor_.repaint();
      },
      QKeySequence(Qt::CTRL | Qt::Key_X));
  // Paste and Duplicate place the block with the mouse: they come with the
  // tool modes.
  addPending(edit, "edit.paste", texts::kEditPaste, QKeySequence(Qt::CTRL | Qt::Key_V));
  addPending(edit, "edit.duplicate", texts::kEditDuplicate, QKeySequence(Qt::CTRL | Qt::Key_D));
  addCommand(edit, "edit.delete", texts::kEditDelete, [this] {
    editor_.deleteSelection();
    editor_.repaint();
  });
  addCommand(
      edit, "edit.selectAll", texts::kEditSelectAll,
      [this] {
        editor_.selectAll();
        editor_.repaint();
      },
      QKeySequence(Qt::CTRL | Qt::Key_A));

  QMenu* board = topMenu("board", texts::kMenuBoard);
  addCommand(board, "board.add", texts::kBoardAdd, [this] { addNewBoard(); });
  addCommand(board, "board.properties", texts::kBoardProperties, [this] { editBoardProperties(); });
  addCommand(board, "board.delete", texts::kBoardDelete, [this] { deleteActiveBoard(); });
  board->addSeparator();
  addCommand(board, "board.toEnd", texts::kBoardToEnd,
             [this] { moveBoard(&TLayout::moveBoardToEnd); });
  addCommand(board, "board.toStart", texts::kBoardToStart,
             [this] { moveBoard(&TLayout::moveBoardToStart); });
  addCommand(board, "board.right", texts::kBoardRight,
             [this] { moveBoard(&TLayout::moveBoardRight); });
  addCommand(board, "board.left", texts::kBoardLeft,
             [this] { moveBoard(&TLayout::moveBoardLeft); });
  board->addSeparator();
  addCommand(board, "board.import", texts::kBoardImport, [this] { files_->open(true); });

  QMenu* fn = topMenu("functions", texts::kMenuFunctions);
  addPending(fn, "fn.rotate", texts::kFnRotate, QKeySequence(Qt::CTRL | Qt::Key_R));
  addPending(fn, "fn.mirrorH", texts::kFnMirrorH, QKeySequence(Qt::CTRL | Qt::Key_H));
  addPending(fn, "fn.mirrorV", texts::kFnMirrorV, QKeySequence(Qt::CTRL | Qt::Key_T));
  fn->addSeparator();
  addPending(fn, "fn.segment", texts::kFnSegment);
  fn->addSeparator();
  addCommand(
      fn, "fn.group", texts::kFnGroup,
      [this] {
        editor_.buildGroup();
        editor_.repaint();
      },
      QKeySequence(Qt::CTRL | Qt::Key_G));
  addCommand(
      fn, "fn.ungroup", texts::kFnUngroup,
      [this] {
        editor_.splitGroup();
        editor_.repaint();
      },
      QKeySequence(Qt::CTRL | Qt::Key_U));
  fn->addSeparator();
  addPending(fn, "fn.changeSide", texts::kFnChangeSide, QKeySequence(Qt::CTRL | Qt::Key_W));
  QMenu* setLayer = subMenu(fn, "fn.setLayer", texts::kFnSetLayer);
  for (int layer = 1; layer <= 4; ++layer)
    addPending(setLayer, "fn.setLayer" + std::to_string(layer), texts::kLayerShort[layer - 1]);
  setLayer->setEnabled(false);
  addPending(fn, "fn.adjustGrid", texts::kFnAdjustGrid);
  fn->addSeparator();
  addPending(fn, "fn.removeConnections", texts::kFnRemoveConnections);
  addCommand(fn, "fn.deleteOutside", texts::kFnDeleteOutside, [this] {
    editor_.takeSnapshot();
    deleteElementsOutside(editor_.layout);
    editor_.repaint();
    editor_.commandStatesChanged();
  });

  QMenu* opt = topMenu("options", texts::kMenuOptions);
  addCommand(opt, "opt.template", texts::kOptTemplate, [this] { showTemplateDialog(); });
  opt->addSeparator();
  QAction* macros = addPending(opt, "opt.showMacros", texts::kOptShowMacros);
  macros->setCheckable(true);
  addPending(opt, "opt.macroFolder", texts::kOptMacroFolder);
  opt->addSeparator();
  addCommand(opt, "opt.undoDepth", texts::kOptUndoDepth, [this] {
    bool ok = false;
    const int entries = QInputDialog::getInt(
        this, pick(language_, texts::kOptUndoDepth).remove('&').remove("..."),
        pick(language_, texts::kOptUndoDepth).remove('&').remove("..."),
        std::min(editor_.undoDepth() + 1, kMaxUndoEntries), 1, kMaxUndoEntries, 1, &ok);
    if (ok) editor_.setUndoEntries(entries);
  });
  QAction* ground = addPending(opt, "opt.groundPlane", texts::kOptGroundPlane);
  ground->setCheckable(true);
  opt->addSeparator();
  QMenu* rulers = subMenu(opt, "opt.rulers", texts::kOptRulers);
  auto* unitGroup = new QActionGroup(this);
  QAction* mm =
      addCommand(rulers, "opt.rulerMm", texts::kOptRulerMm, [this] { setInchMode(false); });
  QAction* inch =
      addCommand(rulers, "opt.rulerInch", texts::kOptRulerInch, [this] { setInchMode(true); });
  for (QAction* a : {mm, inch}) {
    a->setCheckable(true);
    unitGroup->addAction(a);
  }
  mm->setChecked(true);
  QAction* boardZoom = addCommand(opt, "opt.showBoardZoom", texts::kOptShowBoardZoom, [this] {
    settings_.boardZoom = action("opt.showBoardZoom")->isChecked();
    toolPanel_->setOverviewVisible(settings_.boardZoom);
  });
  boardZoom->setCheckable(true);
  QAction* showGrid = addCommand(opt, "opt.showGrid", texts::kOptShowGrid, [this] {
    settings_.gridVisible = action("opt.showGrid")->isChecked();
    layoutView_->repaintSurface();
  });
  showGrid->setCheckable(true);
  QMenu* marking = subMenu(opt, "opt.gridMarking", texts::kOptGridMarking);
  auto* markingGroup = new QActionGroup(this);
  for (int n : {0, 2, 4, 5, 10}) {
    const std::string label = std::to_string(n);
    const TText caption =
        n == 0 ? texts::kOptGridMarkingOff : TText{label.c_str(), label.c_str(), label.c_str()};
    QAction* a = addCommand(marking, "opt.gridMarking" + label, caption, [this, n] {
      settings_.gridMarking = n;
      layoutView_->repaintSurface();
    });
    a->setCheckable(true);
    markingGroup->addAction(a);
  }
  addCommand(opt, "opt.repaint", texts::kOptRepaint, [this] { layoutView_->repaintSurface(); });
  opt->addSeparator();
  addCommand(opt, "opt.zoomBoard", texts::kOptZoomBoard,
             [this] { zoomCommand([this] { view_.zoomBoard(); }); });
  addCommand(opt, "opt.zoomObjects", texts::kOptZoomObjects,
             [this] { zoomCommand([this] { view_.zoomObjects(editor_.elements()); }); });
  addCommand(opt, "opt.zoomSelection", texts::kOptZoomSelection,
             [this] { zoomCommand([this] { view_.zoomSelection(editor_.elements()); }); });
  addCommand(opt, "opt.zoomPrevious", texts::kOptZoomPrevious,
             [this] { zoomCommand([this] { view_.zoomPrevious(); }); });
  opt->addSeparator();
  addPending(opt, "opt.colours", texts::kOptColours);
  addCommand(opt, "opt.projectInfo", texts::kOptProjectInfo, [this] { showProjectInfo(); });
  QAction* hints = addCommand(opt, "opt.hints", texts::kOptHints,
                              [this] { toggleHints(action("opt.hints")->isChecked()); });
  hints->setCheckable(true);

  QMenu* layers = topMenu("layer", texts::kMenuLayer);
  QMenu* active = subMenu(layers, "layer.active", texts::kLayerActive);
  QMenu* visible = subMenu(layers, "layer.visible", texts::kLayerVisible);
  auto* activeGroup = new QActionGroup(this);
  for (int layer = 1; layer <= 4; ++layer) {
    QAction* a =
        addCommand(active, "layer.active" + std::to_string(layer), texts::kLayerNames[layer - 1],
                   [this, layer] { chooseActiveLayer(layer); });
    a->setCheckable(true);
    activeGroup->addAction(a);
    activeLayerActions_[size_t(layer - 1)] = a;
    QAction* v =
        addCommand(visible, "layer.visible" + std::to_string(layer), texts::kLayerNames[layer - 1],
                   [this, layer] { toggleLayerVisible(layer); });
    v->setCheckable(true);
    visibleLayerActions_[size_t(layer - 1)] = v;
  }

  QMenu* help = topMenu("help", texts::kMenuHelp);
  addPending(help, "help.topics", texts::kHelpTopics);
  addPending(help, "help.update", texts::kHelpUpdate);
  help->addSeparator();
  addCommand(help, "help.info", texts::kHelpInfo, [this] {
    QMessageBox::about(
        this, "Info",
        QString("<h3>%1</h3><p>%2</p>")
            .arg(texts::kProgramTitle)
            .arg(pick(language_, {"Platinen-Layout-Editor", "Printed circuit board layout editor",
                                  "Éditeur de circuits imprimés"})));
  });
}

void TMainWindow::buildToolBar() {
  QToolBar* bar = addToolBar("Tools");
  bar->setObjectName("ToolBar");
  bar->setMovable(false);
  bar->setIconSize(QSize(24, 24));
  auto use = [&](const std::string& name, IconId icon, const TText& hint) {
    QAction* a = action(name);
    a->setIcon(appIcon(icon));
    applyHint(a, language_, hint);
    bar->addAction(a);
  };
  // Tool-bar buttons without a menu entry of their own.
  auto extra = [&](const std::string& name, IconId icon, const TText& hint) {
    QAction* a = addPending(nullptr, name, hint);
    a->setText(splitHint(pick(language_, hint)).tip);
    a->setIcon(appIcon(icon));
    applyHint(a, language_, hint);
    bar->addAction(a);
  };
  use("file.new", IconId::New, texts::kHintNew);
  use("file.open", IconId::Open, texts::kHintOpen);
  use("file.save", IconId::Save, texts::kHintSave);
  use("file.print", IconId::Print, texts::kHintPrint);
  bar->addSeparator();
  use("edit.undo", IconId::Undo, texts::kHintUndo);
  use("edit.redo", IconId::Redo, texts::kHintRedo);
  bar->addSeparator();
  use("edit.cut", IconId::Cut, texts::kHintCut);
  use("edit.copy", IconId::Copy, texts::kHintCopy);
  use("edit.paste", IconId::Paste, texts::kHintPaste);
  use("edit.delete", IconId::Delete, texts::kHintDelete);
  bar->addSeparator();
  use("edit.duplicate", IconId::Duplicate, texts::kHintDuplicate);
  use("fn.rotate", IconId::Rotate, texts::kHintRotate);
  use("fn.mirrorH", IconId::MirrorH, texts::kHintMirrorH);
  use("fn.mirrorV", IconId::MirrorV, texts::kHintMirrorV);
  extra("tb.align", IconId::Align, texts::kHintAlign);
  use("fn.adjustGrid", IconId::SnapGrid, texts::kHintSnap);
  bar->addSeparator();
  use("fn.removeConnections", IconId::RemoveConnections, texts::kHintRemoveConnections);
  bar->addSeparator();
  use("fn.group", IconId::Group, texts::kHintGroup);
  use("fn.ungroup", IconId::Ungroup, texts::kHintUngroup);
  bar->addSeparator();
  use("opt.zoomBoard", IconId::ZoomBoard, texts::kHintZoomBoard);
  use("opt.zoomObjects", IconId::ZoomObjects, texts::kHintZoomObjects);
  use("opt.zoomSelection", IconId::ZoomSelection, texts::kHintZoomSelection);
  use("opt.zoomPrevious", IconId::ZoomPrevious, texts::kHintZoomPrevious);
  bar->addSeparator();
  use("opt.repaint", IconId::Repaint, texts::kHintRepaint);
  bar->addSeparator();
  use("opt.template", IconId::Template, texts::kHintTemplate);
  bar->addSeparator();
  use("opt.showMacros", IconId::Macros, texts::kHintMacros);
  bar->addSeparator();
  use("opt.projectInfo", IconId::ProjectInfo, texts::kHintProjectInfo);
}

void TMainWindow::connectEditor() {
  editor_.events.invalidate = [this](const TRect& area) { layoutView_->invalidateWorld(area); };
  editor_.events.repaint = [this] { layoutView_->repaintSurface(); };
  editor_.events.commandStatesChanged = [this] { updateCommandStates(); };
  editor_.events.contoursDiscarded = [this] { layoutView_->repaintSurface(); };
}

void TMainWindow::applySettings() {
  toggleHints(settings_.hints);
  action("opt.hints")->setChecked(settings_.hints);
  action("opt.showBoardZoom")->setChecked(settings_.boardZoom);
  toolPanel_->setOverviewVisible(settings_.boardZoom);
  action("opt.showGrid")->setChecked(settings_.gridVisible);
  if (QAction* m = action("opt.gridMarking" + std::to_string(settings_.gridMarking)))
    m->setChecked(true);
  action("opt.showMacros")->setChecked(settings_.macroPanel);
  // The macro library arrives with its panel; until then the panel stays
  // hidden whatever the setting says.
  macroPanel_->setVisible(false);
  if (!editor_.setUndoEntries(settings_.undoDepth + 1)) editor_.setUndoEntries(kMaxUndoEntries);
  colours_.load(programFolder_, settings_.colourScheme);
  render_.setColours(colours_.current());
  files_->layoutFolder = settings_.folders[kFolderLayout];
  images_->bitmapFolder = settings_.folders[kFolderBitmap];
  templateFolder_ = settings_.folders[kFolderTemplate];
  files_->recent.paths = settings_.recentFiles;
  setAutoSave(settings_.autoSave, settings_.autoSaveTime);
  setInchMode(false);
  refreshRecentMenu();
}

void TMainWindow::toggleHints(bool on) {
  settings_.hints = on;
  if (!tooltipGate) {
    tooltipGate = new TTooltipGate(qApp);
    qApp->installEventFilter(tooltipGate);
  }
  tooltipGate->enabled = on;
}

void TMainWindow::setAutoSave(bool on, int intervalMs) {
  settings_.autoSave = on;
  settings_.autoSaveTime = intervalMs > 0 ? intervalMs : kDefaultAutoSaveTime;
  autosaveTimer_->setInterval(settings_.autoSaveTime);
  if (on)
    autosaveTimer_->start();
  else
    autosaveTimer_->stop();
}

void TMainWindow::showAutoSaveDialog() {
  TAutoSaveDialog dialog(language_, settings_.autoSave, settings_.autoSaveTime, this);
  if (dialog.exec() == QDialog::Accepted) setAutoSave(dialog.autoSaveOn(), dialog.intervalMs());
}

void TMainWindow::showTemplateDialog() {
  TLayout& layout = editor_.layout;
  if (!layout.hasActiveBoard()) return;
  TTemplateDialog dialog(language_, layout.working, templates_, *dialogs_, templateFolder_,
                         templateSideOf(layout.working.activeLayer), this);
  dialog.repaintView = [this] { layoutView_->repaintSurface(); };
  const bool accepted = dialog.exec() == QDialog::Accepted;
  templateFolder_ = dialog.folder();
  if (accepted) layout.modified = true;
}

void TMainWindow::reloadFromLayout() {
  if (!editor_.layout.hasActiveBoard()) return;
  rebuildTabs();
  loadViewFromWorking();
}

void TMainWindow::rebuildTabs() {
  rebuildingTabs_ = true;
  while (tabs_->count() > 0) tabs_->removeTab(0);
  for (const auto& board : editor_.layout.boards) tabs_->addTab(q(board->name));
  tabs_->setCurrentIndex(editor_.layout.activeBoard);
  rebuildingTabs_ = false;
}

void TMainWindow::loadViewFromWorking() {
  TLayout& layout = editor_.layout;
  templates_.adopt(layout.working);
  showActiveLayer(layout.working);
  view_.loadBoard(layout.working, &layout.active().zoomStack);
  layoutView_->syncFromView();
  toolPanel_->showGrid(layout.working.grid);
  refreshStatus();
  updateCommandStates();
  layoutView_->repaintSurface();
}

void TMainWindow::activateBoard(int index) {
  if (index < 0 || index >= int(editor_.layout.boards.size())) return;
  view_.storeTo(editor_.layout.working);
  editor_.activateBoard(index);
  rebuildingTabs_ = true;
  tabs_->setCurrentIndex(index);
  rebuildingTabs_ = false;
  loadViewFromWorking();
}

void TMainWindow::onViewChanged() {
  topRuler_->update();
  leftRuler_->update();
  toolPanel_->overview()->update();
  if (view_.commandStatesNeedUpdate) {
    view_.commandStatesNeedUpdate = false;
    updateCommandStates();
  }
}

void TMainWindow::onCursorMoved(TPoint world, bool inside) {
  if (!inside) {
    topRuler_->setCursorMarker(-1);
    leftRuler_->setCursorMarker(-1);
    return;
  }
  status_->showCoordinates(q(view_.displayTextX(world)), q(view_.displayTextY(world)));
  const TPoint d = view_.worldToDevice(world);
  topRuler_->setCursorMarker(d.x - view_.scrollX);
  leftRuler_->setCursorMarker(d.y - view_.scrollY);
}

void TMainWindow::zoomCommand(const std::function<void()>& zoom) {
  zoom();
  layoutView_->syncFromView();
  updateCommandStates();
}

void TMainWindow::setInchMode(bool inch) {
  view_.inchMode = inch;
  unitButton_->setText(inch ? (language_ == kGerman ? "Z" : "I") : "M");
  action(inch ? "opt.rulerInch" : "opt.rulerMm")->setChecked(true);
  topRuler_->update();
  leftRuler_->update();
}

void TMainWindow::chooseActiveLayer(int layer) {
  if (setActiveLayer(editor_.layout.working, layer).changed()) layoutView_->repaintSurface();
  refreshStatus();
}

void TMainWindow::toggleLayerVisible(int layer) {
  TBoardRecord& state = editor_.layout.working;
  if (toggleLayerVisibility(state, layer)) {
    // Hidden elements cannot stay selected.
    if (!isLayerVisible(state, layer))
      for (auto& e : editor_.elements())
        if (e->layer == layer && e->selected) editor_.setSelected(*e, false);
    layoutView_->repaintSurface();
    updateCommandStates();
  }
  refreshStatus();
}

void TMainWindow::refreshStatus() {
  const TBoardRecord& state = editor_.layout.working;
  status_->showLayers(state, colours_.current());
  status_->showBoardSize(state.width, state.height);
  for (int layer = 1; layer <= 4; ++layer) {
    activeLayerActions_[size_t(layer - 1)]->setChecked(state.activeLayer == layer);
    visibleLayerActions_[size_t(layer - 1)]->setChecked(isLayerVisible(state, layer));
    visibleLayerActions_[size_t(layer - 1)]->setEnabled(state.activeLayer != layer);
  }
}

void TMainWindow::updateCommandStates() {
  if (!editor_.layout.hasActiveBoard()) return;
  const TCommandStates s = editor_.commandStates();
  action("edit.undo")->setEnabled(s.undo);
  action("edit.redo")->setEnabled(s.redo);
  action("edit.copy")->setEnabled(s.copy);
  action("edit.cut")->setEnabled(s.copy);
  action("edit.delete")->setEnabled(s.copy);
  action("fn.group")->setEnabled(s.buildGroup);
  action("fn.ungroup")->setEnabled(s.splitGroup);
  action("opt.zoomPrevious")->setEnabled(view_.zoomStack && !view_.zoomStack->empty());
  action("opt.zoomSelection")->setEnabled(editor_.selectedCount() > 0);
  const bool several = editor_.layout.boards.size() > 1;
  const int active = editor_.layout.activeBoard;
  action("board.toStart")->setEnabled(several && active > 0);
  action("board.left")->setEnabled(several && active > 0);
  action("board.toEnd")->setEnabled(several && active + 1 < int(editor_.layout.boards.size()));
  action("board.right")->setEnabled(several && active + 1 < int(editor_.layout.boards.size()));
}

void TMainWindow::refreshTitle() {
  setWindowTitle(q(files_->windowTitle()));
}

void TMainWindow::refreshRecentMenu() {
  for (int i = 0; i < kRecentFileCount; ++i) {
    QAction* a = recentActions_[size_t(i)];
    QString caption = q(files_->recent.caption(i));
    // A "&" in a file name is no accelerator.
    const QString prefix = caption.left(3);
    a->setText(prefix + caption.mid(3).replace("&", "&&"));
    a->setVisible(files_->recent.shown(i));
  }
  recentSeparator_->setVisible(files_->recent.shown(0));
}

void TMainWindow::writeRecentFiles() {
  settings_.recentFiles = files_->recent.paths;
  TIniFile ini = loadIniFile(settingsPath_);
  plavesk::writeRecentFiles(ini, settings_.recentFiles);
  std::string error;
  saveIniFile(ini, settingsPath_, error);
}

bool TMainWindow::writeSettingsFile() {
  TIniFile ini = loadIniFile(settingsPath_);
  settings_.undoDepth = editor_.undoDepth();
  settings_.colourScheme = colours_.selected();
  writeSettings(ini, settings_);
  std::string error;
  return saveIniFile(ini, settingsPath_, error);
}

void TMainWindow::openStartFile(const std::string& path) {
  if (path.empty()) return;
  files_->openFromCommandLine(path);
}

void TMainWindow::addNewBoard() {
  view_.storeTo(editor_.layout.working);
  const std::string name =
      boardBaseName(language_) + std::to_string(editor_.layout.boards.size() + 1);
  editor_.addBoard(name);
  reloadFromLayout();
  editBoardProperties();
}

void TMainWindow::editBoardProperties() {
  TLayout& layout = editor_.layout;
  if (!layout.hasActiveBoard()) return;
  TBoardPropertiesDialog dialog(language_, layout.active().name, layout.working.width,
                                layout.working.height, this);
  if (dialog.exec() != QDialog::Accepted) return;
  layout.active().name = dialog.name();
  layout.working.width = dialog.boardWidth();
  layout.working.height = dialog.boardHeight();
  layout.modified = true;
  view_.boardWidth = layout.working.width;
  view_.boardHeight = layout.working.height;
  tabs_->setTabText(layout.activeBoard, q(layout.active().name));
  layoutView_->syncFromView();
  refreshStatus();
}

void TMainWindow::deleteActiveBoard() {
  TLayout& layout = editor_.layout;
  if (layout.boards.size() < 2) {
    dialogs_->message(TMessageKind::Information, texts::kProgramName,
                      pickText(language_, texts::kLastBoard));
    return;
  }
  const std::string question = std::string(pickText(language_, texts::kDeleteBoardBefore)) + "\"" +
                               layout.active().name + "\"" +
                               pickText(language_, texts::kDeleteBoardAfter);
  if (!dialogs_->askOkCancel(texts::kProgramName, question)) return;
  layout.deleteBoard(layout.activeBoard);
  editor_.discardContours();
  reloadFromLayout();
}

void TMainWindow::moveBoard(bool (TLayout::*move)()) {
  if ((editor_.layout.*move)()) rebuildTabs();
  updateCommandStates();
}

void TMainWindow::showProjectInfo() {
  TProjectInfoDialog dialog(language_, editor_.layout.project, this);
  if (dialog.exec() != QDialog::Accepted) return;
  editor_.layout.project = dialog.info();
  editor_.layout.modified = true;
}

bool TMainWindow::event(QEvent* event) {
  // The long part of a hint goes to the status line's hint panel.
  if (event->type() == QEvent::StatusTip) {
    status_->setHint(static_cast<QStatusTipEvent*>(event)->tip());
    return true;
  }
  return QMainWindow::event(event);
}

void TMainWindow::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  if (shown_) return;
  shown_ = true;
  layoutView_->syncFromView();
  layoutView_->viewport()->setFocus();
}

void TMainWindow::closeEvent(QCloseEvent* event) {
  if (!files_->askToSave()) {
    event->ignore();
    return;
  }
  writeSettingsFile();
  event->accept();
}

}  // namespace plavesk
