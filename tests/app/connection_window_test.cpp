// The window side of the connection tools: the autorouter window, the
// ground-plane field of the status bar, "Luftlinien entfernen" and the macro
// library panel with its drag and drop onto the drawing area.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMimeData>
#include <QToolButton>
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "app/autoroute_window.h"
#include "app/ground_plane_controls.h"
#include "app/lay_spin_edit.h"
#include "app/layout_view.h"
#include "app/macro_panel.h"
#include "app/status_panels.h"
#include "cli/commands/cli.h"
#include "document/file_io.h"
#include "document/layout_file.h"
#include "document/macro_file.h"
#include "editing/tool_actions.h"
#include "editing/tools/tool_manager.h"
#include "support/sample_layout.h"
#include "window_fixture.h"

namespace plavesk {
namespace {

namespace fs = std::filesystem;
using testing::WindowFixture;

// An 80 x 50 mm board at 0.1 pixels a unit (it fits the view), grid 1.27 mm:
// two pads joined by a band, a third pad with a band to the first, and a
// track that already joins the first and the third.
TLayout bandLayout() {
  TLayout layout = testing::boardLayout("Bands", 8000, 5000, 127);
  TObjektList& l = layout.elements();
  for (TPoint p : {TPoint{1016, -1016}, TPoint{4064, -1016}, TPoint{1016, -3048}})
    l.push_back(createPad(p, 80, kPadRound, kCopper1, 40));
  auto join = [&](size_t a, size_t b) {
    l[a]->connections.push_back(l[b].get());
    l[b]->connections.push_back(l[a].get());
  };
  join(0, 1);
  join(0, 2);
  l.push_back(createTrack(50, kCopper1));
  l.back()->points = {{1016, -1016}, {1016, -3048}};
  layout.modified = false;
  return layout;
}

class ConnectionWindowTest : public WindowFixture {
 protected:
  TMainWindow& openBands(int language = kEnglish) {
    // The macros the program brings along, in the program folder.
    fs::copy(std::string(PLAVESK_SOURCE_DIR) + "/examples/Makros", folder / "Makros");
    TMainWindow& w = open(language);
    w.resize(1400, 900);
    QApplication::processEvents();
    w.editor().layout = bandLayout();
    w.activateBoard(0);
    QApplication::processEvents();
    return w;
  }
  void chooseTool(const char* name) { window->selectTool(*findToolButton(name)); }
  TObjektList& list() { return window->editor().elements(); }
  size_t undoSteps() { return window->editor().layout.active().undoStack.size(); }
  TGroundPlaneControls& ground() { return *window->statusPanels()->groundPlane(); }
  QWidget* port() { return window->layoutView()->viewport(); }
  QPoint at(TPoint world) {
    const TPoint p = window->view().worldToViewport(world);
    return QPoint(p.x, p.y);
  }
  void mouse(QEvent::Type type, TPoint world, Qt::MouseButton button) {
    const QPoint p = at(world);
    QMouseEvent e(type, p, port()->mapToGlobal(p), button,
                  type == QEvent::MouseButtonPress ? Qt::MouseButtons(button) : Qt::NoButton,
                  Qt::NoModifier);
    QApplication::sendEvent(port(), &e);
  }
  void click(TPoint world) {
    mouse(QEvent::MouseMove, world, Qt::NoButton);
    mouse(QEvent::MouseButtonPress, world, Qt::LeftButton);
    mouse(QEvent::MouseButtonRelease, world, Qt::LeftButton);
  }
  // A macro dragged from the panel: enter and move over the view, then the
  // drop, as the toolkit delivers them to the viewport.
  bool dragMacro(TPoint world, bool drop) {
    QMimeData data;
    data.setData(kMacroMimeType, "macro");
    const QPoint p = at(world);
    QDragEnterEvent enter(p, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(port(), &enter);
    if (!enter.isAccepted()) return false;
    QDragMoveEvent move(p, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(port(), &move);
    if (!drop) return move.isAccepted();
    QDropEvent dropped(QPointF(p), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(port(), &dropped);
    return dropped.isAccepted();
  }
};

TEST_F(ConnectionWindowTest, TheAutorouterWindowComesAndGoesWithItsTool) {
  TMainWindow& w = openBands();
  TAutorouteWindow* router = w.autorouteWindow();
  ASSERT_NE(router, nullptr);
  EXPECT_FALSE(router->isVisible());
  EXPECT_EQ(router->windowTitle(), "Autorouter");
  EXPECT_TRUE(router->windowFlags() & Qt::WindowStaysOnTopHint);
  EXPECT_EQ(router->statusLine()->text(), "Ready");
  EXPECT_EQ(router->widthField()->objectName(), "SE_AutoWidth");
  EXPECT_DOUBLE_EQ(router->widthField()->value(), 0.4);
  EXPECT_DOUBLE_EQ(router->clearanceField()->value(), 0.2);
  chooseTool("autoroute");
  EXPECT_TRUE(router->isVisible());
  chooseTool("track");
  EXPECT_FALSE(router->isVisible());
  chooseTool("autoroute");
  ASSERT_TRUE(router->isVisible());
  // Its close button is the way back to the standard tool.
  router->close();
  EXPECT_EQ(w.tools().mode(), TToolMode::edit);
  EXPECT_FALSE(router->isVisible());
}

TEST_F(ConnectionWindowTest, RoutingByClickUsesTheWindowsWidthAndReports) {
  TMainWindow& w = openBands();
  chooseTool("autoroute");
  TAutorouteWindow* router = w.autorouteWindow();
  router->widthField()->setText("0.6");
  ASSERT_DOUBLE_EQ(w.tools().autorouter().widthMm, 0.6);
  click({2540, -1016});
  ASSERT_EQ(list().size(), 5u);
  EXPECT_EQ(list()[4]->dim3, 60);
  EXPECT_TRUE(list()[4]->autorouted);
  EXPECT_EQ(router->statusLine()->text(), " Successful");
  click({2540, -1016});
  EXPECT_EQ(list().size(), 4u);
  EXPECT_EQ(router->statusLine()->text(), " Autoroute resolved");
}

TEST_F(ConnectionWindowTest, GroundPlaneButtonFollowsTheActiveSide) {
  TMainWindow& w = openBands();
  TGroundPlaneControls& g = ground();
  EXPECT_FALSE(g.clearanceField()->isVisibleTo(&w));
  g.groundPlaneButton()->click();
  EXPECT_EQ(w.editor().working().groundPlane1, 1);
  EXPECT_TRUE(g.clearanceField()->isVisibleTo(&w));
  EXPECT_TRUE(g.cutoutButton()->isVisibleTo(&w));
  EXPECT_TRUE(w.action("opt.groundPlane")->isChecked());
  EXPECT_EQ(undoSteps(), 0u);
  // Side 2 has its own switch, still off.
  w.chooseActiveLayer(kSilk2);
  EXPECT_FALSE(g.groundPlaneButton()->isChecked());
  EXPECT_FALSE(g.clearanceField()->isVisibleTo(&w));
  w.action("opt.groundPlane")->trigger();
  EXPECT_EQ(w.editor().working().groundPlane2, 1);
  EXPECT_TRUE(g.groundPlaneButton()->isChecked());
  // The cutout button goes up with either switch.
  g.cutoutButton()->click();
  ASSERT_TRUE(w.tools().values().cutout);
  EXPECT_EQ(w.tools().mode(), TToolMode::area);
  g.groundPlaneButton()->click();
  EXPECT_FALSE(w.tools().values().cutout);
  EXPECT_EQ(w.editor().working().groundPlane2, 0);
  EXPECT_EQ(w.editor().working().groundPlane1, 1);
  // A tool other than the area tool releases it as well.
  w.chooseActiveLayer(kCopper1);
  g.cutoutButton()->click();
  ASSERT_TRUE(g.cutoutButton()->isChecked());
  chooseTool("area");
  EXPECT_TRUE(g.cutoutButton()->isChecked());
  chooseTool("pad");
  EXPECT_FALSE(g.cutoutButton()->isChecked());
  EXPECT_FALSE(w.tools().values().cutout);
  // Pressed, it takes the user to the area tool, whose next area keeps the
  // ground plane out.
  g.cutoutButton()->click();
  EXPECT_EQ(w.tools().mode(), TToolMode::area);
  const size_t before = list().size();
  for (TPoint p : {TPoint{5000, -1000}, TPoint{7000, -1000}, TPoint{7000, -3000}}) click(p);
  mouse(QEvent::MouseButtonPress, {7000, -3000}, Qt::RightButton);
  mouse(QEvent::MouseButtonRelease, {7000, -3000}, Qt::RightButton);
  ASSERT_EQ(list().size(), before + 1);
  EXPECT_EQ(list().back()->kind, kArea);
  EXPECT_EQ(list().back()->cutout, 1);
  EXPECT_EQ(list().back()->layer, kCopper1);
}

TEST_F(ConnectionWindowTest, ClearanceFieldChangesTheSelectionInOneStep) {
  TMainWindow& w = openBands();
  ground().groundPlaneButton()->click();
  w.editor().selectAll();
  TLaySpinEdit* field = ground().clearanceField();
  field->edit()->setFocus();
  emit field->OnEditEnter();
  field->setText("0.");
  field->setText("0.0");
  emit field->OnEditExit();
  for (const auto& e : list()) EXPECT_EQ(e->clearance, 0);
  EXPECT_EQ(undoSteps(), 1u);
  EXPECT_EQ(w.tools().values().clearance, 0);
}

TEST_F(ConnectionWindowTest, RemovingJoinedBandsReportsTheCounts) {
  TMainWindow& w = openBands();
  QAction* remove = w.action("fn.removeConnections");
  ASSERT_TRUE(remove->isEnabled());
  remove->trigger();
  ASSERT_EQ(dialogs->messages.size(), 1u);
  EXPECT_EQ(dialogs->messages[0].kind, TMessageKind::Information);
  EXPECT_EQ(dialogs->messages[0].text,
            "1 connections (rubberbands) removed.\n1 connections (rubberbands) remaining.");
  EXPECT_EQ(list()[0]->connections, std::vector<TObjekt*>{list()[1].get()});
  EXPECT_EQ(undoSteps(), 1u);
  remove->trigger();
  w.editor().undo();
  w.editor().undo();
  EXPECT_EQ(list()[0]->connections.size(), 2u);
}

TEST_F(ConnectionWindowTest, ConnectAndTestToolsInTheWindow) {
  TMainWindow& w = openBands();
  chooseTool("connect");
  click({4064, -1016});
  click({1016, -3048});
  EXPECT_EQ(list()[1]->connections.size(), 2u);
  chooseTool("test");
  click({1016, -2000});  // on the track
  EXPECT_TRUE(list()[0]->selected);
  EXPECT_TRUE(list()[2]->selected);
  EXPECT_TRUE(list()[3]->selected);
  EXPECT_FALSE(list()[1]->selected);
  EXPECT_EQ(w.tools().mode(), TToolMode::test);
}

// The connection and autoroute tools highlight by selecting; once the
// pointer has left, the commands that need a selection are off again.
TEST_F(ConnectionWindowTest, HoverHighlightsLeaveNoSelectionCommandsBehind) {
  struct Case {
    const char* tool;
    std::vector<TPoint> clicks;
  };
  const Case cases[] = {
      {"connect", {{4064, -1016}, {1016, -3048}}},  // a new band
      {"autoroute", {{2540, -1016}}},               // routes the band 0-1
  };
  TMainWindow& w = openBands();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.tool);
    w.editor().layout = bandLayout();
    w.activateBoard(0);
    chooseTool(c.tool);
    for (TPoint p : c.clicks) click(p);
    QApplication::processEvents();
    ASSERT_TRUE(w.action("edit.delete")->isEnabled());
    mouse(QEvent::MouseMove, {6000, -4000}, Qt::NoButton);
    QApplication::processEvents();
    EXPECT_EQ(w.editor().selectedCount(), 0u);
    EXPECT_FALSE(w.action("edit.delete")->isEnabled());
  }
}

// What a screen reader or a test driver finds: every control of the panel,
// the autorouter window and the ground-plane field that takes the focus or
// a click carries a name in the window's language.
TEST_F(ConnectionWindowTest, EveryControlOfTheConnectionWindowsHasAName) {
  for (int language : {kGerman, kEnglish, kFrench}) {
    SCOPED_TRACE(language);
    TMainWindow& w = openBands(language);
    const QWidget* parts[] = {w.macroPanel(), w.autorouteWindow(), &ground()};
    int controls = 0;
    for (const QWidget* part : parts) {
      for (QWidget* c : part->findChildren<QWidget*>()) {
        const bool control = c->focusPolicy() != Qt::NoFocus || qobject_cast<QAbstractButton*>(c) ||
                             c->objectName().startsWith("PB_");
        // The viewports and inner editors are named by their owners.
        if (!control || c->objectName().startsWith("qt_")) continue;
        const QWidget* named = c;
        while (named->accessibleName().isEmpty() && named->parentWidget() != part &&
               !qobject_cast<const QAbstractButton*>(named) && named->objectName().isEmpty())
          named = named->parentWidget();
        ++controls;
        EXPECT_FALSE(named->accessibleName().trimmed().isEmpty())
            << c->metaObject()->className() << " " << c->objectName().toStdString();
      }
    }
    EXPECT_GT(controls, 12);
    window.reset();
    std::filesystem::remove_all(folder / "Makros");
  }
}

TEST_F(ConnectionWindowTest, MacroPanelListsDropsAndSurvivesDamagedFiles) {
  TMainWindow& w = openBands();
  w.action("opt.showMacros")->trigger();
  TMacroPanel* panel = w.macroPanel();
  ASSERT_TRUE(panel->isVisible());
  EXPECT_EQ(panel->fileList()->count(), 10);
  // A damaged copy shows in the list; choosing it says so.
  std::vector<uint8_t> bytes;
  std::string error;
  ASSERT_TRUE(readWholeFile(panel->root() + "/DIL8.lmk", bytes, error));
  bytes.resize(bytes.size() / 3);
  ASSERT_TRUE(writeFileAtomically(panel->root() + "/BROKEN.lmk", bytes, error));
  panel->refreshList();
  EXPECT_EQ(panel->fileList()->count(), 11);
  ASSERT_TRUE(panel->selectFile("broken.lmk"));
  ASSERT_EQ(dialogs->messages.size(), 1u);
  EXPECT_NE(dialogs->messages[0].text.find("BROKEN.lmk"), std::string::npos)
      << dialogs->messages[0].text;
  EXPECT_TRUE(panel->macro().empty());
  EXPECT_FALSE(dragMacro({3000, -3000}, false));  // nothing to drag
  ASSERT_TRUE(panel->selectFile("DIL8.lmk"));
  EXPECT_EQ(panel->description(1)->text().toStdString(), "DIL-8, 7.62 mm rows, 2.54 mm pitch");
  // A description longer than the narrow field shows its beginning.
  EXPECT_EQ(panel->description(1)->cursorPosition(), 0);
  const size_t before = list().size();
  ASSERT_TRUE(dragMacro({3000, -3000}, false));
  EXPECT_TRUE(w.tools().feedbackVisible(TFeedbackKind::movePreview));
  ASSERT_TRUE(dragMacro({3000, -3000}, true));
  EXPECT_FALSE(w.tools().feedbackVisible(TFeedbackKind::movePreview));
  ASSERT_EQ(list().size(), before + 18);
  EXPECT_EQ(undoSteps(), 1u);
  // Dropped on the grid point under the pointer.
  const TObjekt& first = *list()[before];
  EXPECT_EQ(first.x % 127, 0);
  EXPECT_EQ(first.y % 127, 0);
}

TEST_F(ConnectionWindowTest, DescriptionsAreSavedWhenTheFieldIsLeft) {
  TMainWindow& w = openBands();
  TMacroPanel* panel = w.macroPanel();
  ASSERT_TRUE(panel->selectFile("TO92.lmk"));
  QLineEdit* line = panel->description(2);
  line->setFocus();
  line->selectAll();
  // Typed, so the field hears of an edit by the user.
  for (QChar c : QString("mine")) {
    QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
    QApplication::sendEvent(line, &press);
  }
  emit line->editingFinished();
  TMacro read;
  std::string error;
  ASSERT_TRUE(readMacroFile(panel->root() + "/TO92.lmk", read, error)) << error;
  EXPECT_EQ(read.description2, "mine");
  // The pads stay where they were.
  EXPECT_EQ(read.elements.size(), panel->macro().size());
}

TEST_F(ConnectionWindowTest, SaveAsMacroWritesTheSelectionAndShowsIt) {
  TMainWindow& w = openBands();
  TMacroPanel* panel = w.macroPanel();
  dialogs->saveFiles.push_back(panel->root() + "/PAIR.lmk");
  w.editor().selectAt({1016, -1016});
  w.action("file.saveMacro")->trigger();
  ASSERT_TRUE(fs::exists(panel->root() + "/PAIR.lmk"));
  ASSERT_NE(panel->fileList()->currentItem(), nullptr);
  EXPECT_EQ(panel->fileList()->currentItem()->text(), "PAIR.lmk");
  EXPECT_FALSE(panel->macro().empty());
  // An empty board: the warning, nothing written.
  w.editor().selectAll();
  w.editor().deleteSelection();
  w.action("file.saveMacro")->trigger();
  ASSERT_FALSE(dialogs->messages.empty());
  EXPECT_EQ(dialogs->messages.back().text, "There are no elements on the board.");
}

TEST_F(ConnectionWindowTest, AMacroRootThatIsGoneFallsBackWithAMessage) {
  std::ofstream(folder / "PLAVESKA.INI")
      << "[Ordner]\nMakro=" << (folder / "gone").string() << "\n";
  TMainWindow& w = openBands();
  TMacroPanel* panel = w.macroPanel();
  EXPECT_EQ(panel->root(), (folder / "Makros").string());
  EXPECT_EQ(panel->fileList()->count(), 10);
  ASSERT_FALSE(dialogs->messages.empty());
  EXPECT_NE(dialogs->messages[0].text.find("no longer exists"), std::string::npos);
}

// A new user's session with the mouse, as events reach the window, and the
// same edits as runner actions: both save the same bytes. Bands A-B and
// C-D, both routed at 0.6 / 0.3 mm and the first un-routed, a test click,
// the ground plane with a cutout area on and off again, a DIL 8 dropped.
TEST_F(ConnectionWindowTest, TheWindowAndTheRunnerSaveTheSameSession) {
  const TPoint a = testing::kFourPadA, b = testing::kFourPadB, c = testing::kFourPadC,
               d = testing::kFourPadD;
  {
    TLayout layout = testing::makeFourPadLayout();
    std::string error;
    ASSERT_TRUE(writeLayoutFile(layout, path("base.lay"), false, error)) << error;
  }
  const std::vector<TPoint> cutout{{4000, -3000}, {6000, -3000}, {6000, -4500}, {4000, -4500}};
  const TPoint drop{4000, -6200};

  TMainWindow& w = openBands();
  w.openStartFile(path("base.lay"));
  QApplication::processEvents();
  ASSERT_EQ(list().size(), 4u);
  chooseTool("connect");
  for (TPoint p : {a, b, c, d}) click(p);
  chooseTool("autoroute");
  w.autorouteWindow()->widthField()->setText("0.6");
  w.autorouteWindow()->clearanceField()->setText("0.3");
  for (TPoint p : {TPoint{5000, -2540}, TPoint{5000, -5080}, TPoint{5000, -2580}}) click(p);
  chooseTool("test");
  click(c);
  click({5000, -4000});
  ground().groundPlaneButton()->click();
  ground().cutoutButton()->click();
  for (TPoint p : cutout) click(p);
  mouse(QEvent::MouseButtonPress, cutout.back(), Qt::RightButton);
  mouse(QEvent::MouseButtonRelease, cutout.back(), Qt::RightButton);
  ground().groundPlaneButton()->click();
  w.action("opt.showMacros")->trigger();
  ASSERT_TRUE(w.macroPanel()->selectFile("DIL8.lmk"));
  ASSERT_TRUE(dragMacro(drop, true));
  dialogs->saveFiles.push_back(path("window.lay"));
  w.action("file.saveAs")->trigger();

  auto at = [](TPoint p, const char* extra = "") {
    return std::to_string(p.x) + " " + std::to_string(p.y) + extra;
  };
  std::vector<std::string> args{"run", path("base.lay")};
  for (const std::string& action : std::vector<std::string>{
           "tool connect",
           "click " + at(a),
           "click " + at(b),
           "click " + at(c),
           "click " + at(d),
           "tool autoroute",
           "autoroute-options 0.6 0.3",
           "click 5000 -2540",
           "click 5000 -5080",
           "click 5000 -2580",
           "tool test",
           "click " + at(c),
           "click 5000 -4000",
           "ground-plane on",
           "cutout on",
           "click " + at(cutout[0]),
           "click " + at(cutout[1]),
           "click " + at(cutout[2]),
           "click " + at(cutout[3]),
           "click " + at(cutout[3], " --right"),
           "ground-plane off",
           "macro-drop \"" + w.macroPanel()->root() + "/DIL8.lmk\" " + at(drop)}) {
    args.push_back("-e");
    args.push_back(action);
  }
  args.push_back("-o");
  args.push_back(path("runner.lay"));
  std::ostringstream out, err;
  ASSERT_EQ(runCli(args, out, err), 0) << err.str();

  std::vector<uint8_t> fromWindow, fromRunner;
  std::string error;
  ASSERT_TRUE(readWholeFile(path("window.lay"), fromWindow, error)) << error;
  ASSERT_TRUE(readWholeFile(path("runner.lay"), fromRunner, error)) << error;
  // Four pads, a track, the cutout area and the 18 elements of the DIL 8.
  TLayout saved;
  ASSERT_TRUE(readLayoutFile(saved, path("window.lay"), {}).ok);
  EXPECT_EQ(saved.elements().size(), 24u);
  ASSERT_EQ(fromWindow.size(), fromRunner.size());
  const auto differ = std::mismatch(fromWindow.begin(), fromWindow.end(), fromRunner.begin());
  EXPECT_TRUE(differ.first == fromWindow.end())
      << "first difference at byte " << (differ.first - fromWindow.begin());
}

}  // namespace
}  // namespace plavesk
