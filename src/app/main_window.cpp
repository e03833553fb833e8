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
#include "app/crash_recovery.h"
#include "app/help_topics.h"
#include "app/hint_text.h"
#include "app/layout_view.h"
#include "app/macro_panel.h"
#include "app/long_job.h"
#include "app/manufacturing_commands.h"
#include "app/colour_dialog.h"
#include "app/photo_window.h"
#include "app/main_window_texts.h"
#include "app/print_window.h"
#include "app/project_info_dialog.h"
#include "app/recovery_offer.h"
#include "app/ruler.h"
#include "app/status_panels.h"
#include "app/template_dialog.h"
#include "app/tool_panel.h"
#include "app/value_lists.h"
#include "editing/command_table.h"
#include "editing/tool_actions.h"
#include "editing/tools/tool_manager.h"
#include "editing/transforms.h"
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
  recovery_ = std::make_unique<TRecoverySession>(options.recoveryFolder);
  images_ = std::make_unique<TImageCommands>(editor_, view_, render_, templates_, *dialogs_,
                                             language_, this);
  jobs_ = std::make_unique<TLongJobs>(this, language_);
  images_->jobs = jobs_.get();
  manufacturing_ =
      std::make_unique<TManufacturingCommands>(editor_, *dialogs_, *jobs_, language_, this);
  manufacturing_->colours = [this] { return colours_.current(); };
  manufacturing_->pixelsPerInch = files_->pixelsPerInch;
  manufacturing_->contoursChanged = [this] { layoutView_->repaintSurface(); };
  // Boards becoming active (switching, opening) read their template files;
  // loadViewFromWorking hands the bitmaps to the view.
  editor_.layout.loadTemplate = [this](const std::string& path) {
    return templates_.preload(path);
  };

  // Zoom, scroll, grid and origin are the active board's own values.
  view_.bind(editor_.layout);

  // The first board, named by language, becomes active.
  editor_.layout.addBoard(boardBaseName(language_) + "1");
  editor_.layout.modified = false;

  settings_ = readSettings(loadIniFile(settingsPath_), programFolder_);

  buildCentre();
  buildMenus();
  toolPanel_->valueLists()->setGridExtras(menu("opt.gridMarking"), action("opt.showGrid"));
  buildToolBar();
  buildTransformCommands();
  connectEditor();
  buildConnectionCommands();
  buildDrawingTools();
  applySettings();

  files_->layoutReplaced = [this] { reloadFromLayout(); };
  files_->titleChanged = [this] { refreshTitle(); };
  files_->recentChanged = [this] {
    refreshRecentMenu();
    writeRecentFiles();
  };
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

TMainWindow::~TMainWindow() {
  // The drawing area outlives the tools while the widgets are torn down.
  layoutView_->setTools(nullptr, nullptr);
  layoutView_->inputHandled = nullptr;
}

QAction* TMainWindow::action(const std::string& name) const {
  // Whoever asks for an action sees its enabled state as the last edit left
  // it, even before the queued refresh ran.
  if (commandStatesPending_) const_cast<TMainWindow*>(this)->flushCommandStates();
  auto it = actions_.find(name);
  return it == actions_.end() ? nullptr : it->second;
}

QMenu* TMainWindow::menu(const std::string& name) const {
  auto it = menus_.find(name);
  return it == menus_.end() ? nullptr : it->second;
}

QAction* TMainWindow::addCommand(QMenu* menu, const std::string& id, std::function<void()> run) {
  const TCommand* command = findCommand(id);
  if (!command) throw std::logic_error("no command \"" + id + "\" in the command table");
  const std::string_view caption = commandCaption(*command, language_);
  auto* a = new QAction(QString::fromUtf8(caption.data(), qsizetype(caption.size())), this);
  a->setObjectName(q(id));
  if (!command->shortcut.empty())
    a->setShortcut(QKeySequence(
        QString::fromUtf8(command->shortcut.data(), qsizetype(command->shortcut.size())),
        QKeySequence::PortableText));
  if (hasHint(*command)) applyHint(a, language_, command->hint);
  if (command->icon != IconId::None) a->setIcon(appIcon(command->icon));
  a->setCheckable(command->checkable);
  if (command->pending) {
    a->setEnabled(false);
    a->setProperty("pending", true);
  } else if (run) {
    connect(a, &QAction::triggered, this, [run = std::move(run)] { run(); });
  }
  if (menu) menu->addAction(a);
  actions_[id] = a;
  commandActions_.clear();
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
  tools_ = std::make_unique<TToolManager>(editor_, *layoutView_);
  layoutView_->setTools(tools_.get(), &render_);
  // The value fields and the remembered-value lists kept in the settings.
  toolPanel_->attachValues(tools_->fields(), editor_, settings_.valueLists);
  unitButton_ = new QToolButton;
  unitButton_->setObjectName("SB_Einheit");
  unitButton_->setFixedSize(kRulerDepth, kRulerDepth);
  applyHint(unitButton_, language_, findCommand("view.rulerUnit")->hint);
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
  macroPanel_ = new TMacroPanel(language_, editor_, *dialogs_, render_);
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

  layoutView_->viewMoved = [this] { onViewChanged(); };
  layoutView_->menuRequested = [this](const std::string& name, const std::vector<std::string>& ids,
                                      QPoint at) { openViewMenu(name, ids, at); };
  layoutView_->modeShown = [this](int) { showToolMode(); };
  toolPanel_->toolClicked = [this](const TToolButton& button) { selectTool(button); };
  layoutView_->cursorMoved = [this](TPoint p, bool inside) { onCursorMoved(p, inside); };
  layoutView_->originChanged = [this] {
    topRuler_->update();
    leftRuler_->update();
  };
  // The passes draw on the raster canvas into the view's frame image: the
  // pixels of image export, and far fewer painter calls than one per figure.
  layoutView_->paintLayers = [this](Canvas& canvas, const QRect&, TElementSubset subset) {
    if (!editor_.layout.hasActiveBoard()) return;
    TMainViewExtras extras;
    extras.subset = subset;
    extras.grid.visible = settings_.gridVisible;
    extras.grid.subdivision = settings_.gridMarking;
    if (!editor_.contours.empty()) extras.contours = &editor_.contours;
    extras.templates = templates_.images();
    paintMainView(editor_.elements(), editor_.layout.working(), view_, canvas, render_, extras);
  };
  toolPanel_->overview()->viewChanged = [this] { layoutView_->syncFromView(); };

  connect(tabs_, &QTabBar::currentChanged, this, [this](int index) {
    if (!rebuildingTabs_ && index >= 0 && index != editor_.layout.activeBoard) activateBoard(index);
  });
  connect(tabs_, &QTabBar::customContextMenuRequested, this, [this](const QPoint& pos) {
    QMenu* board = menu("board");
    if (board) board->exec(tabs_->mapToGlobal(pos));
  });

  status_->layerInfoClicked = [this] { showLayerInfo(); };

  autosaveTimer_ = new QTimer(this);
  connect(autosaveTimer_, &QTimer::timeout, this, [this] {
    files_->autosave();
    recovery_->autosave(editor_.layout, files_->fileName, layoutNeedsSaveQuestion(editor_.layout));
  });
}

void TMainWindow::buildMenus() {
  const int L = language_;
  QMenuBar* bar = menuBar();
  auto topMenu = [&](const std::string& name, const TText& caption) {
    QMenu* m = bar->addMenu(pick(L, caption));
    m->setObjectName(q(name));
    menus_[name] = m;
    connect(m, &QMenu::aboutToShow, this, [this] { flushCommandStates(); });
    return m;
  };
  auto subMenu = [&](QMenu* parent, const std::string& name, const TText& caption) {
    QMenu* m = parent->addMenu(pick(L, caption));
    m->setObjectName(q(name));
    menus_[name] = m;
    connect(m, &QMenu::aboutToShow, this, [this] { flushCommandStates(); });
    return m;
  };
  // A checkable entry whose handler reads its new state.
  auto toggle = [&](QMenu* m, const std::string& id, std::function<void(bool)> run) {
    QAction* a = addCommand(m, id);
    connect(a, &QAction::triggered, this, [run = std::move(run)](bool on) { run(on); });
    return a;
  };

  QMenu* file = topMenu("file", texts::kMenuFile);
  addCommand(file, "file.new", [this] { files_->newLayout(); });
  addCommand(file, "file.open", [this] { files_->open(false); });
  addCommand(file, "file.save", [this] { files_->save(); });
  addCommand(file, "file.saveAs", [this] { files_->saveAs(); });
  addCommand(file, "file.saveMacro");
  file->addSeparator();
  addCommand(file, "file.autoSave", [this] { showAutoSaveDialog(); });
  QMenu* exportMenu = subMenu(file, "file.export", texts::kFileExport);
  addCommand(exportMenu, "export.gerber", [this] { manufacturing_->exportGerber(); });
  addCommand(exportMenu, "export.drill", [this] { manufacturing_->exportDrill(); });
  exportMenu->addSeparator();
  addCommand(exportMenu, "export.bmp", [this] { images_->exportBitmap(TExportFormat::kBmp); });
  addCommand(exportMenu, "export.gif", [this] { images_->exportBitmap(TExportFormat::kGif); });
  addCommand(exportMenu, "export.emf", [this] { images_->exportMetafileCommand(); });
  exportMenu->addSeparator();
  QMenu* milling = subMenu(exportMenu, "file.milling", texts::kExportMilling);
  addCommand(milling, "export.isolation", [this] { manufacturing_->isolationMilling(); });
  addCommand(milling, "export.outline", [this] { manufacturing_->outlineMilling(); });
  file->addSeparator();
  addCommand(file, "file.directories", [this] { showFoldersDialog(); });
  file->addSeparator();
  addCommand(file, "file.printerSetup", [this] {
    tools_->backToEditMode();
    TPrinterSetupDialog setup(language_, currentPrinter(language_), this);
    setup.exec();
  });
  addCommand(file, "file.print", [this] { showPrintWindow(); });
  file->addSeparator();
  for (int i = 0; i < kRecentFileCount; ++i)
    recentActions_[size_t(i)] = addCommand(file, "file.recent" + std::to_string(i + 1),
                                           [this, i] { files_->openRecent(i); });
  recentSeparator_ = file->addSeparator();
  addCommand(file, "file.exit", [this] { close(); });
  connect(file, &QMenu::aboutToShow, this, [this] { refreshRecentMenu(); });

  QMenu* edit = topMenu("edit", texts::kMenuEdit);
  addCommand(edit, "edit.undo", [this] { editor_.undo(); });
  addCommand(edit, "edit.redo", [this] { editor_.redo(); });
  edit->addSeparator();
  addCommand(edit, "edit.copy", [this] {
    if (editor_.copy()) images_->copySelectionPicture();
  });
  addCommand(edit, "edit.cut", [this] { editor_.cut(); });
  // Paste and Duplicate place the block with the mouse (paste placement).
  addCommand(edit, "edit.paste", [this] { tools_->enterPastePlacement(); });
  addCommand(edit, "edit.duplicate", [this] {
    editor_.duplicate();
    tools_->enterPastePlacement();
  });
  addCommand(edit, "edit.delete", [this] { editor_.deleteSelection(); });
  addCommand(edit, "edit.selectAll", [this] { editor_.selectAll(); });

  QMenu* board = topMenu("board", texts::kMenuBoard);
  addCommand(board, "board.add", [this] { addNewBoard(); });
  addCommand(board, "board.properties", [this] { editBoardProperties(); });
  addCommand(board, "board.delete", [this] { deleteActiveBoard(); });
  board->addSeparator();
  addCommand(board, "board.toEnd", [this] { moveBoard(&TLayout::moveBoardToEnd); });
  addCommand(board, "board.toStart", [this] { moveBoard(&TLayout::moveBoardToStart); });
  addCommand(board, "board.right", [this] { moveBoard(&TLayout::moveBoardRight); });
  addCommand(board, "board.left", [this] { moveBoard(&TLayout::moveBoardLeft); });
  board->addSeparator();
  addCommand(board, "board.import", [this] { files_->open(true); });

  QMenu* fn = topMenu("functions", texts::kMenuFunctions);
  addCommand(fn, "fn.rotate");
  addCommand(fn, "fn.mirrorH");
  addCommand(fn, "fn.mirrorV");
  fn->addSeparator();
  addCommand(fn, "fn.segment");
  fn->addSeparator();
  addCommand(fn, "fn.group", [this] { editor_.buildGroup(); });
  addCommand(fn, "fn.ungroup", [this] { editor_.splitGroup(); });
  fn->addSeparator();
  addCommand(fn, "fn.changeSide");
  QMenu* setLayer = subMenu(fn, "fn.setLayer", texts::kFnSetLayer);
  for (int layer = 1; layer <= 4; ++layer)
    addCommand(setLayer, "fn.setLayer" + std::to_string(layer));
  addCommand(fn, "fn.adjustGrid");
  fn->addSeparator();
  addCommand(fn, "fn.removeConnections");
  addCommand(fn, "fn.routeAll");
  addCommand(fn, "fn.deleteOutside", [this] { editor_.deleteOutside(); });
  // The node menu and the view's context menu have entries of their own.
  addCommand(nullptr, "node.remove", [this] { editor_.removeCorner(editor_.nodeTarget); });
  addCommand(nullptr, "node.add", [this] { editor_.addCorner(editor_.nodeTarget); });
  addCommand(nullptr, "node.snap", [this] { editor_.snapCorner(editor_.nodeTarget); });
  addCommand(nullptr, "node.split", [this] { editor_.splitTrack(editor_.nodeTarget); });
  addCommand(nullptr, "view.setOrigin",
             [this] { layoutView_->setOrigin(layoutView_->worldAt(menuPixel_, false)); });

  QMenu* opt = topMenu("options", texts::kMenuOptions);
  addCommand(opt, "opt.template", [this] { showTemplateDialog(); });
  opt->addSeparator();
  addCommand(opt, "opt.showMacros");
  addCommand(opt, "opt.macroFolder");
  opt->addSeparator();
  addCommand(opt, "opt.undoDepth", [this] {
    const QString title = action("opt.undoDepth")->text().remove('&').remove("...");
    bool ok = false;
    const int entries =
        QInputDialog::getInt(this, title, title, std::min(editor_.undoDepth() + 1, kMaxUndoEntries),
                             1, kMaxUndoEntries, 1, &ok);
    if (ok) editor_.setUndoEntries(entries);
  });
  addCommand(opt, "opt.groundPlane");
  opt->addSeparator();
  QMenu* rulers = subMenu(opt, "opt.rulers", texts::kOptRulers);
  auto* unitGroup = new QActionGroup(this);
  unitGroup->addAction(addCommand(rulers, "opt.rulerMm", [this] { setInchMode(false); }));
  unitGroup->addAction(addCommand(rulers, "opt.rulerInch", [this] { setInchMode(true); }));
  action("opt.rulerMm")->setChecked(true);
  toggle(opt, "opt.showBoardZoom", [this](bool on) {
    settings_.boardZoom = on;
    toolPanel_->setOverviewVisible(on);
  });
  toggle(opt, "opt.showGrid", [this](bool on) {
    settings_.gridVisible = on;
    layoutView_->repaintSurface();
  });
  QMenu* marking = subMenu(opt, "opt.gridMarking", texts::kOptGridMarking);
  auto* markingGroup = new QActionGroup(this);
  for (int n : {0, 2, 4, 5, 10})
    markingGroup->addAction(addCommand(marking, "opt.gridMarking" + std::to_string(n), [this, n] {
      settings_.gridMarking = n;
      layoutView_->repaintSurface();
    }));
  addCommand(opt, "opt.repaint", [this] { layoutView_->repaintSurface(); });
  opt->addSeparator();
  addCommand(opt, "opt.zoomBoard", [this] { zoomCommand([this] { view_.zoomBoard(); }); });
  addCommand(opt, "opt.zoomObjects",
             [this] { zoomCommand([this] { view_.zoomObjects(editor_.elements()); }); });
  addCommand(opt, "opt.zoomSelection",
             [this] { zoomCommand([this] { view_.zoomSelection(editor_.elements()); }); });
  addCommand(opt, "opt.zoomPrevious", [this] { zoomCommand([this] { view_.zoomPrevious(); }); });
  opt->addSeparator();
  addCommand(opt, "opt.colours", [this] { showColourDialog(); });
  addCommand(opt, "opt.projectInfo", [this] { showProjectInfo(); });
  toggle(opt, "opt.hints", [this](bool on) { toggleHints(on); });

  QMenu* layers = topMenu("layer", texts::kMenuLayer);
  QMenu* active = subMenu(layers, "layer.active", texts::kLayerActive);
  QMenu* visible = subMenu(layers, "layer.visible", texts::kLayerVisible);
  auto* activeGroup = new QActionGroup(this);
  for (int layer = 1; layer <= 4; ++layer) {
    const std::string n = std::to_string(layer);
    activeLayerActions_[size_t(layer - 1)] =
        addCommand(active, "layer.active" + n, [this, layer] { chooseActiveLayer(layer); });
    activeGroup->addAction(activeLayerActions_[size_t(layer - 1)]);
    visibleLayerActions_[size_t(layer - 1)] =
        addCommand(visible, "layer.visible" + n, [this, layer] { toggleLayerVisible(layer, false); });
  }

  QMenu* help = topMenu("help", texts::kMenuHelp);
  addCommand(help, "help.topics", [] { showHelpContents(); });
  addCommand(help, "help.update", [this] { showUpdateWindow(); });
  help->addSeparator();
  addCommand(help, "help.info", [this] { showAboutWindow(); });
}

void TMainWindow::buildToolBar() {
  QToolBar* bar = addToolBar("Tools");
  bar->setObjectName("ToolBar");
  bar->setMovable(false);
  bar->setIconSize(QSize(24, 24));
  // The buttons in their order; "" stands for a separator. Buttons without
  // a menu entry of their own are made here.
  const char* const buttons[] = {
      "file.new",
      "file.open",
      "file.save",
      "file.print",
      "",
      "edit.undo",
      "edit.redo",
      "",
      "edit.cut",
      "edit.copy",
      "edit.paste",
      "edit.delete",
      "",
      "edit.duplicate",
      "fn.rotate",
      "fn.mirrorH",
      "fn.mirrorV",
      "tb.align",
      "fn.adjustGrid",
      "",
      "fn.removeConnections",
      "",
      "fn.group",
      "fn.ungroup",
      "",
      "opt.zoomBoard",
      "opt.zoomObjects",
      "opt.zoomSelection",
      "opt.zoomPrevious",
      "",
      "opt.repaint",
      "",
      "opt.template",
      "",
      "opt.showMacros",
      "",
      "opt.projectInfo",
  };
  for (const char* id : buttons) {
    if (!*id) {
      bar->addSeparator();
      continue;
    }
    QAction* a = action(id);
    if (!a) a = addCommand(nullptr, id);
    bar->addAction(a);
  }
}

void TMainWindow::connectEditor() {
  editor_.events.invalidate = [this](const TRect& area) { layoutView_->invalidateWorld(area); };
  editor_.events.repaint = [this] { layoutView_->repaintSurface(); };
  editor_.events.commandStatesChanged = [this] { scheduleCommandStates(); };
  layoutView_->inputHandled = [this] { flushCommandStates(); };
}

void TMainWindow::applySettings() {
  toggleHints(settings_.hints);
  action("opt.hints")->setChecked(settings_.hints);
  action("opt.showBoardZoom")->setChecked(settings_.boardZoom);
  toolPanel_->setOverviewVisible(settings_.boardZoom);
  action("opt.showGrid")->setChecked(settings_.gridVisible);
  if (QAction* m = action("opt.gridMarking" + std::to_string(settings_.gridMarking)))
    m->setChecked(true);
  showMacroPanel(settings_.macroPanel);
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
  TTemplateDialog dialog(language_, layout.working(), templates_, *dialogs_, templateFolder_,
                         templateSideOf(layout.working().activeLayer), this);
  dialog.repaintView = [this] { layoutView_->repaintSurface(); };
  const bool accepted = dialog.exec() == QDialog::Accepted;
  templateFolder_ = dialog.folder();
  if (accepted) editor_.boardSettingsChanged();
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
  // A tab bar not yet shown does not tell its layout that its height
  // changed: without this, the first board of a new window had no tab.
  tabs_->updateGeometry();
  rebuildingTabs_ = false;
}

void TMainWindow::loadViewFromWorking() {
  TLayout& layout = editor_.layout;
  templates_.adopt(layout.working());
  showActiveLayer(layout.working());
  view_.showBoard(&layout.active().zoomStack);
  layoutView_->syncFromView();
  toolPanel_->showGrid(layout.working().grid);
  refreshStatus();
  updateCommandStates();
  layoutView_->repaintSurface();
}

void TMainWindow::activateBoard(int index) {
  if (index < 0 || index >= int(editor_.layout.boards.size())) return;
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
  const TPoint at = view_.worldToViewport(world);
  topRuler_->setCursorMarker(at.x);
  leftRuler_->setCursorMarker(at.y);
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
  plavesk::chooseActiveLayer(*tools_, layer, macroToActiveSide);
  refreshStatus();
}

void TMainWindow::toggleLayerVisible(int layer, bool fromButton) {
  toggleViewLayer(*tools_, layer, fromButton);
  refreshStatus();
}

void TMainWindow::refreshStatus() {
  const TBoardRecord& state = editor_.layout.working();
  status_->showLayers(state, colours_.current());
  status_->showBoardSize(state.width, state.height);
  for (int layer = 1; layer <= 4; ++layer) {
    activeLayerActions_[size_t(layer - 1)]->setChecked(state.activeLayer == layer);
    visibleLayerActions_[size_t(layer - 1)]->setChecked(isLayerVisible(state, layer));
    visibleLayerActions_[size_t(layer - 1)]->setEnabled(state.activeLayer != layer);
  }
  // The ground-plane button and the macro preview follow the active side.
  showActiveSide();
}

void TMainWindow::selectTool(const TToolButton& button) {
  if (!editor_.layout.hasActiveBoard()) return;
  tools_->selectTool(button.mode, button.photoView);
  if (button.photoView) {
    // The photo view shows the board as made, from the side the window says.
    // The window is made on first use, at the drawing area's top right corner.
    if (!photoWindow_) {
      photoWindow_ = new TPhotoWindow(language_, view_, render_, this);
      photoWindow_->changed = [this] {
        layoutView_->syncFromView();
        layoutView_->repaintSurface();
        onViewChanged();
      };
      photoWindow_->closedByUser = [this] {
        tools_->backToEditMode();
        showToolMode();
        onViewChanged();
      };
      const QWidget* port = layoutView_->viewport();
      photoWindow_->move(port->mapToGlobal(QPoint(port->width() - photoWindow_->width() - 24, 8)));
    }
    photoWindow_->show();
    photoWindow_->raise();
  }
  // A tool whose dialog was cancelled leaves edit mode pressed.
  showToolMode();
}

void TMainWindow::showToolMode() {
  const TToolState& state = tools_->state();
  if (photoWindow_ && photoWindow_->isVisible() && !state.photoView) photoWindow_->leave();
  showAutorouteTool();
  // Paste placement has no button: the one pressed before stays.
  if (state.mode == TToolMode::paste) return;
  for (const TToolButton& b : toolButtons())
    if (b.mode == state.mode && b.photoView == (state.mode == TToolMode::zoom && state.photoView)) {
      toolPanel_->showTool(b);
      return;
    }
}

void TMainWindow::openViewMenu(const std::string& name, const std::vector<std::string>& ids,
                               QPoint at) {
  // The entries are the main menu's actions; "id>" opens a submenu headed
  // by that command's caption, "<" closes it.
  QMenu popup(this);
  popup.setObjectName(q(name));
  QMenu* into = &popup;
  for (const std::string& id : ids) {
    if (id.empty()) {
      into->addSeparator();
    } else if (id == "<") {
      into = &popup;
    } else if (id.back() == '>') {
      const std::string head = id.substr(0, id.size() - 1);
      const TCommand* command = findCommand(head);
      const std::string_view caption = command ? commandCaption(*command, language_) : "";
      into = popup.addMenu(QString::fromUtf8(caption.data(), qsizetype(caption.size())));
      into->setObjectName(q(head));
      if (command) into->setEnabled(editor_.enabled(*command));
    } else if (QAction* a = action(id)) {
      into->addAction(a);
    }
  }
  menuPixel_ = at;
  updateCommandStates();
  popup.exec(layoutView_->viewport()->mapToGlobal(at));
}

void TMainWindow::scheduleCommandStates() {
  if (commandStatesPending_) return;
  commandStatesPending_ = true;
  QMetaObject::invokeMethod(this, &TMainWindow::flushCommandStates, Qt::QueuedConnection);
}

void TMainWindow::flushCommandStates() {
  if (commandStatesPending_) updateCommandStates();
}

void TMainWindow::updateCommandStates() {
  commandStatesPending_ = false;
  if (!editor_.layout.hasActiveBoard()) return;
  TSpinHighlights highlights;
  const TCommandStates states = editor_.commandStates(highlights);
  if (commandActions_.empty()) {
    for (const auto& [id, a] : actions_)
      if (const TCommand* command = findCommand(id)) commandActions_.emplace_back(command, a);
  }
  for (const auto& [command, a] : commandActions_)
    if (!command->pending) a->setEnabled(plavesk::isEnabled(command->rule, states));
  // Nothing selected: the tools draw with the remembered values again.
  tools_->fields().refresh();
  toolPanel_->highlightFields(highlights);
}

void TMainWindow::refreshTitle() {
  setWindowTitle(q(files_->windowTitle()));
  recovery_->setLayoutFile(files_->fileName);
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
  storeMacroPanel();
  writeSettings(ini, settings_);
  std::string error;
  return saveIniFile(ini, settingsPath_, error);
}

void TMainWindow::openStartFile(const std::string& path) {
  // After a run that did not close normally its unsaved work is offered
  // back first.
  if (recovery_->start()) {
    recovery_->setLayoutFile(files_->fileName);
    offerRecovery(*recovery_, editor_, *files_, *dialogs_, language_);
  }
  if (path.empty()) return;
  files_->openFromCommandLine(path);
}

void TMainWindow::addNewBoard() {
  const std::string name =
      boardBaseName(language_) + std::to_string(editor_.layout.boards.size() + 1);
  editor_.addBoard(name);
  reloadFromLayout();
  editBoardProperties();
}

void TMainWindow::editBoardProperties() {
  TLayout& layout = editor_.layout;
  if (!layout.hasActiveBoard()) return;
  TBoardPropertiesDialog dialog(language_, layout.active().name, layout.working().width,
                                layout.working().height, this);
  if (dialog.exec() != QDialog::Accepted) return;
  editor_.setBoardProperties(dialog.name(), dialog.boardWidth(), dialog.boardHeight());
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
  editor_.deleteBoard(layout.activeBoard);
  reloadFromLayout();
}

void TMainWindow::moveBoard(bool (TLayout::*move)()) {
  if (editor_.moveBoard(move)) rebuildTabs();
}

void TMainWindow::applyColours() {
  render_.setColours(colours_.current());
  layoutView_->repaintSurface();
  refreshStatus();
}

void TMainWindow::showColourDialog() {
  TColourDialog dialog(language_, colours_, programFolder_, *dialogs_, this);
  dialog.preview = [this] { applyColours(); };
  dialog.exec();
  applyColours();
}

void TMainWindow::showLayerInfo() {
  TLayerInfoDialog dialog(language_, colours_.current(), this);
  dialog.exec();
}

void TMainWindow::showProjectInfo() {
  TProjectInfoDialog dialog(language_, editor_.layout.project, this);
  if (dialog.exec() == QDialog::Accepted) editor_.setProjectInfo(dialog.info());
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
  recovery_->finish();
  event->accept();
}

}  // namespace plavesk
