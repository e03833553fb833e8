// The transform and layer commands in the window: menus and the runner give
// the same elements, the editing keys act only while the drawing area has
// the focus, the pad-shape menu and its images, and the status hint of the
// drawing area in the three languages.
#include <gtest/gtest.h>

#include <QAbstractSpinBox>
#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QToolButton>
#include <sstream>

#include "app/layout_view.h"
#include "app/pad_shape_images.h"
#include "editing/action_runner.h"
#include "editing/editor.h"
#include "editing/tool_actions.h"
#include "editing/tools/tool_manager.h"
#include "support/sample_layout.h"
#include "window_fixture.h"

namespace plavesk {
namespace {

using testing::WindowFixture;

// Two pads joined by a rubber band, a track and a grouped pair of pads.
TLayout fixtureLayout() {
  TLayout layout = testing::boardLayout("T", 10000, 7000, 100);
  TObjektList& l = layout.elements();
  l.push_back(createPad({2030, -2000}, 120, kPadRound, 1, 40));
  l.push_back(createPad({5000, -2970}, 120, kPadRound, 1, 40));
  l[0]->connections.push_back(l[1].get());
  l[1]->connections.push_back(l[0].get());
  l.push_back(createTrack(50, 1));
  l.back()->points = {{1010, -5000}, {4000, -5000}, {4000, -6500}};
  l.push_back(createPad({7000, -1000}, 100, kPadSquare, 1, 40));
  l.push_back(createPad({7500, -1200}, 100, kPadSquare, 1, 40));
  l[3]->groupIds = l[4]->groupIds = {1};
  layout.modified = false;
  return layout;
}

std::vector<FileImage> images(const TObjektList& list) {
  std::vector<FileImage> out;
  for (const auto& e : list) out.push_back(encodeFileImage(*e));
  return out;
}

class TransformWindowTest : public WindowFixture {
 protected:
  TMainWindow& openFixture(int language = kEnglish) {
    TMainWindow& w = open(language);
    w.resize(1500, 1100);
    QApplication::processEvents();
    w.editor().layout = fixtureLayout();
    w.activateBoard(0);
    QApplication::processEvents();
    return w;
  }
  QWidget* port() { return window->layoutView()->viewport(); }
  void moveOver(TPoint world) {
    const TPoint p = window->view().worldToViewport(world);
    QMouseEvent e(QEvent::MouseMove, QPoint(p.x, p.y), port()->mapToGlobal(QPoint(p.x, p.y)),
                  Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(port(), &e);
  }
  void key(QWidget* to, int code, Qt::KeyboardModifiers keys = Qt::NoModifier) {
    QKeyEvent down(QEvent::KeyPress, code, keys);
    QApplication::sendEvent(to, &down);
    QKeyEvent up(QEvent::KeyRelease, code, keys);
    QApplication::sendEvent(to, &up);
  }
  QString hint() { return window->findChild<QLabel*>("L_Hilfetext")->text(); }
};

// Each command from the window's menus changes the elements exactly as the
// runner's action does: both run the one implementation.
TEST_F(TransformWindowTest, MenuEntriesAndRunnerActionsGiveTheSameElements) {
  struct Case {
    const char* menuEntry;
    const char* action;
  } cases[] = {
      {"fn.rotate", "rotate"},          {"fn.mirrorH", "mirror-h"},
      {"fn.mirrorV", "mirror-v"},       {"fn.adjustGrid", "snap-to-grid"},
      {"fn.changeSide", "change-side"}, {"fn.setLayer2", "set-layer 2"},
      {"fn.align1", "align top"},       {"fn.align3", "align left"},
      {"fn.align5", "align hcentre"},   {"fn.align6", "align vcentre"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.action);
    TMainWindow& w = openFixture();
    w.editor().selectAll();
    QAction* entry = w.action(c.menuEntry);
    ASSERT_NE(entry, nullptr);
    EXPECT_TRUE(entry->isEnabled());
    entry->trigger();

    TEditor scripted;
    scripted.layout = fixtureLayout();
    std::ostringstream out;
    TActionContext context{scripted, out};
    std::string error;
    ASSERT_TRUE(runAction(context, "select-all", error));
    ASSERT_TRUE(runAction(context, c.action, error)) << error;
    EXPECT_EQ(images(w.editor().elements()), images(scripted.elements()));
    EXPECT_NE(images(w.editor().elements()), images(fixtureLayout().elements()))
        << "the command changed something";
    EXPECT_EQ(w.editor().layout.active().undoStack.size(), 1u);
    window.reset();
  }
}

TEST_F(TransformWindowTest, EntriesOfTheSelectionAreDisabledWithoutOne) {
  TMainWindow& w = openFixture();
  for (const char* id : {"fn.rotate", "fn.mirrorH", "fn.changeSide", "fn.setLayer1", "tb.align",
                         "fn.align1", "fn.adjustGrid"})
    EXPECT_FALSE(w.action(id)->isEnabled()) << id;
  w.editor().selectAll();
  w.updateCommandStates();
  for (const char* id : {"fn.rotate", "fn.changeSide", "fn.setLayer1", "tb.align", "fn.align1"})
    EXPECT_TRUE(w.action(id)->isEnabled()) << id;
  // One group alone cannot be grouped, so it cannot be aligned.
  w.editor().deselectAll();
  w.editor().setSelected(*w.editor().elements()[3], true);
  w.updateCommandStates();
  EXPECT_TRUE(w.action("fn.rotate")->isEnabled());
  EXPECT_FALSE(w.action("tb.align")->isEnabled());
}

TEST_F(TransformWindowTest, EditingKeysActOnlyWhileTheViewHasTheFocus) {
  TMainWindow& w = openFixture();
  const TBoardRecord& s = w.editor().working();
  auto* field = w.findChild<QWidget*>("SE_Breite");
  ASSERT_NE(field, nullptr);
  field->setEnabled(true);
  field->setFocus();
  w.editor().setSelected(*w.editor().elements()[0], true);
  key(field, Qt::Key_F3);
  key(field, Qt::Key_Left);
  EXPECT_EQ(s.activeLayer, 1);
  EXPECT_EQ(w.editor().elements()[0]->x, 2030);
  // Space still reaches the temporary zoom: the window previews it.
  QKeyEvent space(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier, " ");
  QApplication::sendEvent(field, &space);
  EXPECT_EQ(w.tools().mode(), TToolMode::zoom);
  QKeyEvent spaceUp(QEvent::KeyRelease, Qt::Key_Space, Qt::NoModifier, " ");
  QApplication::sendEvent(field, &spaceUp);
  EXPECT_EQ(w.tools().mode(), TToolMode::edit);
  // (the temporary zoom left edit mode anew: the selection is gone)
  w.editor().setSelected(*w.editor().elements()[0], true);
  // Moving the mouse over the view gives it the focus back.
  moveOver({3000, -3000});
  // (the viewport hands its focus to the scrolling frame)
  EXPECT_EQ(w.focusWidget(), static_cast<QWidget*>(w.layoutView()));
  key(port(), Qt::Key_F3);
  EXPECT_EQ(s.activeLayer, 3);
  EXPECT_TRUE(w.action("layer.active3")->isChecked());
  key(port(), Qt::Key_Left);
  EXPECT_EQ(w.editor().elements()[0]->x, 1930);
  // Alt held: the keys are the menus', not the view's.
  key(port(), Qt::Key_F1, Qt::AltModifier);
  EXPECT_EQ(s.activeLayer, 3);
  // F7 would hide the active layer: nothing happens.
  key(port(), Qt::Key_F7);
  EXPECT_EQ(s.layerVisible[2], 1);
  key(port(), Qt::Key_F5);
  EXPECT_EQ(s.layerVisible[0], 0);
  EXPECT_FALSE(w.action("layer.visible1")->isChecked());
  EXPECT_EQ(w.editor().selectedCount(), 0u) << "the layer keys deselect everything";
}

TEST_F(TransformWindowTest, PadShapeMenuShowsItsImagesAndSetsThePadTool) {
  TMainWindow& w = openFixture();
  auto* menu = w.findChild<QMenu*>("LAForm_Popup");
  ASSERT_NE(menu, nullptr);
  auto* shapeButton = w.findChild<QToolButton*>("SB_PadShape");
  ASSERT_NE(shapeButton, nullptr);
  EXPECT_EQ(shapeButton->menu(), menu);
  EXPECT_TRUE(shapeButton->isEnabled());
  const QList<QAction*> entries = menu->actions();
  ASSERT_EQ(entries.size(), 11);  // nine shapes, a separator, through pad
  EXPECT_TRUE(entries[9]->isSeparator());
  EXPECT_EQ(entries[3]->text(), "Rounded, horizontal");
  auto same = [](const QIcon& icon, const QPixmap& image) {
    return icon.pixmap(16, 16).toImage() == image.toImage();
  };
  auto* padButton = w.findChild<QToolButton*>("SB_Circle");
  w.editor().setSelected(*w.editor().elements()[0], true);
  entries[5]->trigger();
  EXPECT_EQ(w.tools().values().padShape, kPadRectH);
  EXPECT_EQ(w.editor().elements()[0]->padShape, kPadRectH);
  EXPECT_TRUE(entries[5]->isChecked());
  EXPECT_TRUE(same(padButton->icon(), padShapeImage(5)));
  // F12 in the view: through pads, the images switch to their variants.
  moveOver({3000, -3000});
  key(port(), Qt::Key_F12);
  EXPECT_TRUE(w.tools().values().throughPad);
  EXPECT_TRUE(w.action("pad.through")->isChecked());
  EXPECT_TRUE(same(padButton->icon(), padShapeImage(5 + 9)));
  EXPECT_TRUE(same(entries[0]->icon(), padShapeImage(9)));
  EXPECT_NE(w.editor().elements()[0]->padLink, nullptr) << "the selected pad got its partner";
  // The 18 images differ from each other.
  for (int i = 0; i < kPadShapeImages; ++i)
    for (int j = i + 1; j < kPadShapeImages; ++j)
      EXPECT_NE(padShapeImage(i).toImage(), padShapeImage(j).toImage()) << i << " " << j;
}

TEST_F(TransformWindowTest, StatusLineShowsTheHintOfTheModeInEachLanguage) {
  struct Case {
    int language;
    const char* tool;  // the runner's tool name
    QString text;
  } cases[] = {
      {kEnglish, "edit", "Edit: Select, move, delete, copy or paste objects.\n<SPACE>=Zoom"},
      {kGerman, "edit",
       "Standard: Objekte markieren, verschieben, löschen, kopieren, einfügen.\n<Leertaste> = "
       "Zoomen"},
      {kFrench, "edit",
       "Editer: Sélectionner, déplacer, effacer, copier ou coller objets.\n<ESPACE>=Zoom"},
      {kEnglish, "track", "Track: Click to start point"},
      {kGerman, "pad", "Lötauge: Platzieren mit linker Maustaste, abbrechen mit rechter Maustaste"},
      {kFrench, "measure",
       "Distance: Cliquez sur le point de départ, puis déplacez la souris en restant appuyé sur le "
       "bouton gauche de la souris"},
      {kEnglish, "zoom", "Zoom: Left=Zoom + / Right=Zoom - / Select range"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.tool);
    TMainWindow& w = openFixture(c.language);
    w.selectTool(*findToolButton(c.tool));
    moveOver({3000, -3000});
    EXPECT_EQ(hint(), c.text);
    EXPECT_TRUE(port()->toolTip().isEmpty()) << "the view's hint has no short part";
    window.reset();
  }
}

}  // namespace
}  // namespace plavesk
