#include "app/main_window.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QScrollBar>
#include <QTabBar>
#include <QTimer>
#include <QToolButton>
#include <QWheelEvent>
#include <filesystem>
#include <functional>

#include "app/board_properties_dialog.h"
#include "app/layout_view.h"
#include "app/project_info_dialog.h"
#include "app/status_panels.h"
#include "document/file_io.h"
#include "document/layout_file.h"
#include "editing/command_table.h"
#include "scripted_dialogs.h"
#include "support/sample_layout.h"

namespace plavesk {
namespace {

namespace fs = std::filesystem;

// A window in a scratch program folder without settings file, answering
// through a script.
class MainWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder = fs::temp_directory_path() /
             ("plavesk_window_" + std::to_string(::getpid()) + "_" +
              ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(folder);
    fs::create_directories(folder);
  }
  void TearDown() override {
    window.reset();
    fs::remove_all(folder);
  }
  TMainWindow& open(int language = kEnglish) {
    TMainWindowOptions options;
    options.language = language;
    options.programFolder = folder.string() + "/";
    options.settingsPath = (folder / "PLAVESKA.INI").string();
    auto scripted = std::make_unique<testing::TScriptedDialogs>();
    dialogs = scripted.get();
    window = std::make_unique<TMainWindow>(options, std::move(scripted));
    window->resize(1000, 700);
    window->show();
    return *window;
  }
  std::string writeLayout(const std::string& name, TLayout layout) {
    const std::string path = (folder / name).string();
    std::string error;
    EXPECT_TRUE(writeFileAtomically(path, encodeLayout(layout), error)) << error;
    return path;
  }

  fs::path folder;
  std::unique_ptr<TMainWindow> window;
  testing::TScriptedDialogs* dialogs = nullptr;
};

std::vector<QString> topMenuTitles(const TMainWindow& w) {
  std::vector<QString> titles;
  for (QAction* a : w.menuBar()->actions()) titles.push_back(a->text());
  return titles;
}

TEST_F(MainWindowTest, MenusSpeakTheChosenLanguage) {
  struct Case {
    int language;
    std::vector<QString> menus;
    QString open, exit, undo, import, copper1, firstBoard;
  } cases[] = {
      {kGerman,
       {"&Datei", "&Bearbeiten", "&Platine", "&Funktionen", "&Optionen", "&Layer", "&?"},
       "Ö&ffnen...",
       "&Beenden",
       "Rückgängig",
       "Pla&tinen nachladen...",
       "&Kupferseite  (1)",
       "Platine 1"},
      {kEnglish,
       {"&File", "&Edit", "&Board", "F&unctions", "&Options", "&Layer", "&?"},
       "&Open...",
       "E&xit",
       "&Undo",
       "&Import boards from file...",
       "&Copper (1)",
       "Board 1"},
      {kFrench,
       {"&Fichier", "&Edition", "&Carte", "F&onctions", "&Options", "Couche", "&?"},
       "&Ouvrir...",
       "Sor&tir",
       "&Retour en arrière",
       "&Importer cartes depuis fichier...",
       "&Cuivre (1)",
       "Carte 1"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.language);
    TMainWindow& w = open(c.language);
    EXPECT_EQ(topMenuTitles(w), c.menus);
    EXPECT_EQ(w.action("file.open")->text(), c.open);
    EXPECT_EQ(w.action("file.exit")->text(), c.exit);
    EXPECT_EQ(w.action("edit.undo")->text(), c.undo);
    EXPECT_EQ(w.action("board.import")->text(), c.import);
    EXPECT_EQ(w.action("layer.active1")->text(), c.copper1);
    EXPECT_EQ(w.boardTabs()->tabText(0), c.firstBoard);
    EXPECT_EQ(w.windowTitle(), "Plavesk 4.0");
  }
}

TEST_F(MainWindowTest, CommandsOfLaterPartsArePresentButDisabled) {
  TMainWindow& w = open();
  for (const char* name : {"fn.rotate", "fn.changeSide", "edit.paste"}) {
    ASSERT_NE(w.action(name), nullptr) << name;
    EXPECT_FALSE(w.action(name)->isEnabled()) << name;
  }
  for (const char* name :
       {"file.new",       "file.open",     "file.save",     "file.saveAs",
        "board.add",      "board.import",  "opt.zoomBoard", "opt.projectInfo",
        "file.exit",      "export.bmp",    "export.gif",    "export.emf",
        "opt.template",   "export.gerber", "export.drill",  "export.isolation",
        "export.outline", "opt.colours",   "file.print",    "file.printerSetup"}) {
    ASSERT_NE(w.action(name), nullptr) << name;
    EXPECT_TRUE(w.action(name)->isEnabled()) << name;
  }
  EXPECT_EQ(w.action("edit.undo")->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Z));
  EXPECT_EQ(w.action("fn.mirrorV")->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_T));
}

// Every menu entry, tool-bar button and button of the window comes from the
// command table, and shows its caption in the window's language.
TEST_F(MainWindowTest, EveryCommandAndButtonHasItsTableEntry) {
  for (int language : {kGerman, kEnglish, kFrench}) {
    SCOPED_TRACE(language);
    TMainWindow& w = open(language);
    int actions = 0, buttons = 0;
    for (QAction* a : w.findChildren<QAction*>()) {
      if (a->isSeparator() || a->objectName().isEmpty() || a->menu()) continue;
      const TCommand* command = findCommand(a->objectName().toStdString());
      ASSERT_NE(command, nullptr) << a->objectName().toStdString();
      ++actions;
      if (a->objectName().startsWith("file.recent")) continue;  // shows the file name
      EXPECT_EQ(a->text().toStdString(), commandCaption(*command, language));
      EXPECT_EQ(a->isEnabled() && command->pending, false) << command->id;
    }
    for (QAbstractButton* b : w.findChildren<QAbstractButton*>()) {
      const QString name = b->objectName();
      if (!name.startsWith("SB_") && !name.startsWith("RB_") && !name.startsWith("TB_")) continue;
      const TCommand* command = findCommandForControl(name.toStdString());
      ASSERT_NE(command, nullptr) << name.toStdString();
      ++buttons;
      EXPECT_FALSE(b->accessibleName().isEmpty()) << name.toStdString();
    }
    EXPECT_GT(actions, 80);
    EXPECT_GT(buttons, 25);
    EXPECT_EQ(w.findChild<QToolButton*>("SB_Line")->accessibleName().toStdString(),
              commandCaption(*findCommand("tool.track"), language));
    window.reset();
  }
}

TEST_F(MainWindowTest, StartsWithTheDefaultsAndWritesThemAtClose) {
  TMainWindow& w = open();
  const TEditor& e = w.editor();
  ASSERT_EQ(e.layout.boards.size(), 1u);
  EXPECT_EQ(e.layout.working().width, 16000);
  EXPECT_EQ(e.layout.working().activeLayer, 3);
  EXPECT_DOUBLE_EQ(w.view().zoom(), 0.1);
  EXPECT_FALSE(w.view().inchMode);
  EXPECT_EQ(w.rulerUnitButton()->text(), "M");
  EXPECT_TRUE(w.action("opt.hints")->isChecked());
  EXPECT_TRUE(w.action("opt.showBoardZoom")->isChecked());
  EXPECT_TRUE(w.action("opt.showGrid")->isChecked());
  EXPECT_TRUE(w.action("opt.gridMarking4")->isChecked());
  EXPECT_FALSE(w.autosaveTimer()->isActive());
  EXPECT_EQ(w.autosaveTimer()->interval(), 300000);
  EXPECT_EQ(e.undoDepth(), 49) << "the undo stack holds at most 50 entries";
  EXPECT_FALSE(fs::exists(folder / "PLAVESKA.INI"));

  w.action("opt.gridMarking10")->trigger();
  w.action("opt.showBoardZoom")->trigger();
  w.setAutoSave(true, 120000);
  EXPECT_TRUE(w.autosaveTimer()->isActive());
  ASSERT_TRUE(w.close());
  const TIniFile ini = loadIniFile((folder / "PLAVESKA.INI").string());
  EXPECT_EQ(ini.readInteger("Optionen", "RasterMarkierung", 0), 10);
  EXPECT_EQ(ini.readInteger("Optionen", "PlatinenZoom", 1), 0);
  EXPECT_EQ(ini.readInteger("Optionen", "AutoSave", 0), 1);
  EXPECT_EQ(ini.readInteger("Optionen", "AutoSaveTime", 0), 120000);
  EXPECT_EQ(ini.readString("Ordner", "Layout", ""), folder.string() + "/");

  // The next start reads them back.
  TMainWindow& again = open();
  EXPECT_TRUE(again.action("opt.gridMarking10")->isChecked());
  EXPECT_FALSE(again.action("opt.showBoardZoom")->isChecked());
  EXPECT_TRUE(again.autosaveTimer()->isActive());
}

TEST_F(MainWindowTest, CloseAsksAndCancelKeepsTheWindow) {
  TMainWindow& w = open();
  w.editor().takeSnapshot();
  testing::addPad(w.editor().elements(), 1000, -1000);
  dialogs->answers = {TAnswer::Cancel};
  EXPECT_FALSE(w.close());
  EXPECT_TRUE(w.isVisible());
  EXPECT_FALSE(fs::exists(folder / "PLAVESKA.INI")) << "settings are written only on closing";
  dialogs->answers = {TAnswer::No};
  EXPECT_TRUE(w.close());
  EXPECT_EQ(dialogs->questions.size(), 2u);
}

// A new layout's single board is a tab too, as at start as after File > New.
TEST_F(MainWindowTest, TheFirstBoardOfANewLayoutShowsAsATab) {
  TMainWindow& w = open();
  QApplication::processEvents();
  auto shown = [&](const char* when) {
    QTabBar* tabs = w.boardTabs();
    ASSERT_EQ(tabs->count(), 1) << when;
    EXPECT_EQ(tabs->tabText(0), "Board 1") << when;
    EXPECT_TRUE(tabs->isVisible()) << when;
    EXPECT_GT(tabs->height(), 10) << when;
  };
  shown("at start");
  // File > New asks for the board's properties: taken as they are.
  QTimer::singleShot(0, [] {
    if (auto* d = qobject_cast<QDialog*>(QApplication::activeModalWidget())) d->accept();
  });
  w.action("file.new")->trigger();
  QApplication::processEvents();
  shown("after File > New");
}

TEST_F(MainWindowTest, BoardTabsKeepTheirViews) {
  TLayout layout;
  layout.addBoard("First");
  layout.addBoard("Second");
  layout.activateBoard(0);
  const std::string path = writeLayout("two.lay", std::move(layout));
  TMainWindow& w = open();
  w.openStartFile(path);
  ASSERT_EQ(w.boardTabs()->count(), 2);
  EXPECT_EQ(w.boardTabs()->tabText(1), "Second");

  // Change the first board's view.
  w.view().setZoom(0.5);
  w.view().setScroll(300, 200);
  w.layoutView()->syncFromView();
  w.editor().layout.working().grid = 127;
  w.chooseActiveLayer(1);
  w.toggleLayerVisible(4);
  const int scrollX = w.view().scrollX(), scrollY = w.view().scrollY();
  ASSERT_GT(scrollX, 0);

  w.boardTabs()->setCurrentIndex(1);
  EXPECT_EQ(w.editor().layout.activeBoard, 1);
  EXPECT_DOUBLE_EQ(w.view().zoom(), 0.1);
  EXPECT_EQ(w.editor().layout.working().activeLayer, 3);

  w.boardTabs()->setCurrentIndex(0);
  const TBoardRecord& s = w.editor().layout.working();
  EXPECT_DOUBLE_EQ(w.view().zoom(), 0.5);
  EXPECT_EQ(w.view().scrollX(), scrollX);
  EXPECT_EQ(w.view().scrollY(), scrollY);
  EXPECT_DOUBLE_EQ(s.grid, 127);
  EXPECT_DOUBLE_EQ(w.view().grid(), 127);
  EXPECT_EQ(s.activeLayer, 1);
  EXPECT_EQ(s.layerVisible[3], 0);
  EXPECT_FALSE(w.statusPanels()->activeButton(3)->isChecked());
  EXPECT_TRUE(w.statusPanels()->activeButton(1)->isChecked());

  // Saved with the second board active, both boards' views come back on
  // opening; a zoom after saving is not in the file.
  w.boardTabs()->setCurrentIndex(1);
  w.view().setZoom(0.4);
  w.view().setScroll(150, 90);
  w.layoutView()->syncFromView();
  const int secondX = w.view().scrollX(), secondY = w.view().scrollY();
  ASSERT_GT(secondX, 0);
  ASSERT_TRUE(w.files().save());
  w.view().setZoom(0.2);
  ASSERT_TRUE(w.files().openFile(path, false));
  EXPECT_EQ(w.editor().layout.activeBoard, 1);
  EXPECT_DOUBLE_EQ(w.view().zoom(), 0.4);
  EXPECT_EQ(w.view().scrollX(), secondX);
  EXPECT_EQ(w.view().scrollY(), secondY);
  w.boardTabs()->setCurrentIndex(0);
  EXPECT_DOUBLE_EQ(w.view().zoom(), 0.5);
  EXPECT_EQ(w.view().scrollX(), scrollX);
  EXPECT_EQ(w.view().scrollY(), scrollY);
}

// Closes the next modal dialog once the event loop runs it.
void rejectNextDialog() {
  QTimer::singleShot(0, [] {
    if (QWidget* d = QApplication::activeModalWidget()) qobject_cast<QDialog*>(d)->reject();
  });
}

TEST_F(MainWindowTest, ZoomPreviousStackBelongsToItsBoard) {
  TMainWindow& w = open();
  EXPECT_FALSE(w.action("opt.zoomPrevious")->isEnabled());
  w.action("opt.zoomBoard")->trigger();
  EXPECT_TRUE(w.action("opt.zoomPrevious")->isEnabled());
  const double boardZoom = w.view().zoom();
  EXPECT_NE(boardZoom, 0.1);

  rejectNextDialog();
  w.addNewBoard();
  ASSERT_EQ(w.boardTabs()->count(), 2);
  EXPECT_EQ(w.boardTabs()->tabText(1), "Board 2");
  EXPECT_TRUE(w.editor().layout.modified);
  EXPECT_FALSE(w.action("opt.zoomPrevious")->isEnabled());

  w.activateBoard(0);
  EXPECT_DOUBLE_EQ(w.view().zoom(), boardZoom);
  ASSERT_TRUE(w.action("opt.zoomPrevious")->isEnabled());
  w.action("opt.zoomPrevious")->trigger();
  EXPECT_DOUBLE_EQ(w.view().zoom(), 0.1);
  EXPECT_FALSE(w.action("opt.zoomPrevious")->isEnabled());
}

// A wheel turn over the drawing area, as the mouse sends it.
void turnWheel(TMainWindow& w, int delta, QPoint at) {
  QWidget* port = w.layoutView()->viewport();
  QWheelEvent event(QPointF(at), QPointF(port->mapToGlobal(at)), QPoint(), QPoint(0, delta),
                    Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
  QApplication::sendEvent(port, &event);
}

TEST_F(MainWindowTest, WheelOverTheDrawingAreaZoomsAndScrolls) {
  TMainWindow& w = open();
  TViewState& v = w.view();
  turnWheel(w, 120, QPoint(200, 150));
  EXPECT_DOUBLE_EQ(v.zoom(), 0.1 * 1.4);
  // The surface grew; the scroll bars follow the view state.
  QAbstractScrollArea* area = w.layoutView();
  EXPECT_EQ(area->horizontalScrollBar()->maximum(), v.surfaceWidth() - v.clientWidth);
  EXPECT_EQ(area->horizontalScrollBar()->value(), v.scrollX());
  EXPECT_EQ(area->verticalScrollBar()->value(), v.scrollY());
  turnWheel(w, -120, QPoint(200, 150));
  turnWheel(w, -120, QPoint(200, 150));
  EXPECT_DOUBLE_EQ(v.zoom(), 0.1 * 1.4 / 1.4 / 1.4);

  // Scrolling with the bar moves the view state.
  w.view().setZoom(0.5);
  w.layoutView()->syncFromView();
  area->horizontalScrollBar()->setValue(250);
  EXPECT_EQ(v.scrollX(), 250);
}

TEST_F(MainWindowTest, OriginMovesWithTheContextMenuAndShowsInCoordinates) {
  TMainWindow& w = open();
  w.layoutView()->setOrigin(TPoint{1000, -2000});
  EXPECT_EQ(w.editor().layout.working().originX, 1000);
  EXPECT_EQ(w.editor().layout.working().originY, -2000);
  EXPECT_EQ(w.view().displayTextX(TPoint{1500, -2500}), "X: 5 mm");
  EXPECT_EQ(w.view().displayTextY(TPoint{1500, -2500}), "Y: 5 mm");
  w.setInchMode(true);
  EXPECT_EQ(w.rulerUnitButton()->text(), "I");
  EXPECT_TRUE(w.action("opt.rulerInch")->isChecked());
}

TEST_F(MainWindowTest, LayerVisibilityRefusesTheActiveLayer) {
  TMainWindow& w = open();
  TBoardRecord& s = w.editor().layout.working();
  w.toggleLayerVisible(3);  // active
  EXPECT_EQ(s.layerVisible[2], 1);
  EXPECT_FALSE(w.action("layer.visible3")->isEnabled());
  w.toggleLayerVisible(2);
  EXPECT_EQ(s.layerVisible[1], 0);
  EXPECT_FALSE(w.action("layer.visible2")->isChecked());
  w.chooseActiveLayer(2);  // shows the hidden layer again
  EXPECT_EQ(s.activeLayer, 2);
  EXPECT_EQ(s.layerVisible[1], 1);
  EXPECT_TRUE(w.action("layer.active2")->isChecked());
}

TEST_F(MainWindowTest, DeletingBoardsAsksAndKeepsTheLast) {
  TMainWindow& w = open();
  w.deleteActiveBoard();
  ASSERT_EQ(dialogs->messages.size(), 1u);
  EXPECT_EQ(dialogs->messages[0].text, "A project must at least contains one board.");
  w.editor().addBoard("Board 2");
  w.activateBoard(1);
  dialogs->yesNo = {false, true};
  w.deleteActiveBoard();
  EXPECT_EQ(w.editor().layout.boards.size(), 2u);
  ASSERT_FALSE(dialogs->questions.empty());
  EXPECT_EQ(dialogs->questions.back(), "Delete board \"Board 2\" ?");
  w.deleteActiveBoard();
  EXPECT_EQ(w.editor().layout.boards.size(), 1u);
  EXPECT_EQ(w.boardTabs()->count(), 1);
}

TEST(BoardPropertiesDialog, SizeChecks) {
  struct Case {
    const char* text;
    BoardSizeCheck check;
    int mm;
  } cases[] = {
      {"300", BoardSizeCheck::Ok, 300},       {"1", BoardSizeCheck::Ok, 1},
      {" 160 ", BoardSizeCheck::Ok, 160},     {"100.0", BoardSizeCheck::Ok, 100},
      {"301", BoardSizeCheck::OutOfRange, 0}, {"0.5", BoardSizeCheck::OutOfRange, 0},
      {"0", BoardSizeCheck::OutOfRange, 0},   {"abc", BoardSizeCheck::OutOfRange, 0},
      {"", BoardSizeCheck::OutOfRange, 0},    {"12.5", BoardSizeCheck::NotWhole, 0},
      {"12,5", BoardSizeCheck::NotWhole, 0},
  };
  for (const Case& c : cases) {
    int mm = 0;
    EXPECT_EQ(checkBoardSize(c.text, mm), c.check) << c.text;
    if (c.check == BoardSizeCheck::Ok) {
      EXPECT_EQ(mm, c.mm) << c.text;
    }
  }
}

TEST(BoardPropertiesDialog, RefusesAHalfMillimetreWithItsOwnMessage) {
  TBoardPropertiesDialog dialog(kEnglish, "Board 1", 16050, 10000);
  dialog.showMessages = false;
  EXPECT_EQ(dialog.widthField()->text(), "160") << "fraction dropped";
  dialog.widthField()->setText("12.5");
  dialog.accept();
  EXPECT_EQ(dialog.result(), QDialog::Rejected);
  EXPECT_EQ(dialog.lastRefusal(), "Please enter whole millimetres.");
  dialog.widthField()->setText("301");
  dialog.accept();
  EXPECT_EQ(dialog.lastRefusal(), "Please enter values from 1 mm to 300 mm.");
  dialog.widthField()->setText("120");
  dialog.nameField()->setText("Amplifier");
  dialog.accept();
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
  EXPECT_EQ(dialog.boardWidth(), 12000);
  EXPECT_EQ(dialog.boardHeight(), 10000);
  EXPECT_EQ(dialog.name(), "Amplifier");
}

TEST_F(MainWindowTest, ProjectInfoTakesTextsOnlyOnOk) {
  TMainWindow& w = open();
  w.editor().layout.project.title = "Old";
  for (bool ok : {false, true}) {
    QTimer::singleShot(0, [ok] {
      auto* dialog = qobject_cast<TProjectInfoDialog*>(QApplication::activeModalWidget());
      ASSERT_NE(dialog, nullptr);
      dialog->titleField()->setText("New title");
      dialog->commentField()->setPlainText(QString(2000, 'x'));
      ok ? dialog->accept() : dialog->reject();
    });
    w.showProjectInfo();
    const TProjectInfo& p = w.editor().layout.project;
    EXPECT_EQ(p.title, ok ? "New title" : "Old") << ok;
    EXPECT_EQ(w.editor().layout.modified, ok);
    if (ok) {
      EXPECT_EQ(p.comment.size(), 1900u);
    }
  }
}

TEST_F(MainWindowTest, RecentFilesShowInTheFileMenu) {
  TMainWindow& w = open();
  const std::string a = writeLayout("a & b.lay", testing::makeSampleLayout());
  const std::string b = writeLayout("second.lay", testing::makeSampleLayout());
  w.openStartFile(a);
  w.openStartFile(b);
  w.menu("file")->popup(QPoint(0, 0));
  EXPECT_EQ(w.action("file.recent1")->text(), "&1 second.lay");
  EXPECT_EQ(w.action("file.recent2")->text(), "&2 a && b.lay");
  EXPECT_TRUE(w.action("file.recent2")->isVisible());
  EXPECT_FALSE(w.action("file.recent3")->isVisible());
  w.menu("file")->hide();
  // Written at once, not only at close.
  const TIniFile ini = loadIniFile((folder / "PLAVESKA.INI").string());
  EXPECT_EQ(ini.readString("History", "D1", ""), b);
  EXPECT_EQ(ini.readString("History", "D2", ""), a);
  EXPECT_EQ(w.windowTitle(), QString::fromStdString("Plavesk 4.0 - [" + b + "]"));
}

// An edit made outside the drawing area's events refreshes the command
// states once per event-loop turn; whoever looks earlier (a menu about to
// show, a look-up of the action) still sees them as the edit left them.
TEST_F(MainWindowTest, CommandStatesAreRightWhereverTheyAreLookedAt) {
  TMainWindow& w = open();
  QApplication::processEvents();
  ASSERT_TRUE(w.editor().layout.hasActiveBoard());
  QAction* undo = w.action("edit.undo");
  QMenu* edit = w.menu("edit");
  ASSERT_NE(edit, nullptr);
  struct Look {
    const char* name;
    std::function<bool()> undoEnabled;
  };
  const Look looks[] = {
      {"event loop",
       [&] {
         QApplication::processEvents();
         return undo->isEnabled();
       }},
      {"action look-up", [&] { return w.action("edit.undo")->isEnabled(); }},
      {"menu about to show",
       [&] {
         emit edit->aboutToShow();
         return undo->isEnabled();
       }},
  };
  for (const Look& look : looks) {
    SCOPED_TRACE(look.name);
    w.editor().takeSnapshot();
    EXPECT_TRUE(look.undoEnabled());
    w.editor().undo();
    EXPECT_FALSE(look.undoEnabled());
  }
}

}  // namespace
}  // namespace plavesk
