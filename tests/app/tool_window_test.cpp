// The drawing area with the tools: accessible names, mouse sequences through
// real toolkit events against the same sequences from the runner, feedback
// shown only in its rectangles, cursors, the tool buttons' radio group and
// the view's menus.
#include <gtest/gtest.h>

#include <QAbstractSpinBox>
#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QBitmap>
#include <QCheckBox>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QRadioButton>
#include <QScreen>
#include <QTimer>
#include <QToolButton>
#include <sstream>

#include "app/cursors.h"
#include "app/lay_spin_edit.h"
#include "app/layout_view.h"
#include "document/layout_file.h"
#include "editing/action_runner.h"
#include "editing/tools/tool_manager.h"
#include "support/sample_layout.h"
#include "window_fixture.h"

namespace plavesk {
namespace {

using testing::WindowFixture;

std::string accessibleName(QObject* object) {
  QAccessibleInterface* a = QAccessible::queryAccessibleInterface(object);
  return a ? a->text(QAccessible::Name).toStdString() : std::string();
}

// A 100 x 70 mm board with a 1 mm grid shown at 0.1 pixels per unit, so it
// fits the view without scrolling: two pads, a three-point track and an SMD
// pad, all on copper side 1.
TLayout fixtureLayout() {
  TLayout layout = testing::boardLayout("Tools", 10000, 7000, 100);
  TObjektList& l = layout.elements();
  l.push_back(createPad({2000, -2000}, 120, kPadRound, 1, 40));
  l.push_back(createPad({5000, -2000}, 120, kPadRound, 1, 40));
  l.push_back(createTrack(50, 1));
  l.back()->points = {{1000, -5000}, {4000, -5000}, {4000, -6500}};
  l.push_back(createSmdPad({7000, -6000}, 150, 1, 80));
  layout.modified = false;
  return layout;
}

class ToolWindowTest : public WindowFixture {
 protected:
  TMainWindow& openFixture() {
    TMainWindow& w = open();
    // Large enough for the whole paint surface: nothing scrolls.
    w.resize(1500, 1100);
    QApplication::processEvents();
    w.editor().layout = fixtureLayout();
    w.activateBoard(0);
    QApplication::processEvents();
    return w;
  }
  QWidget* port() { return window->layoutView()->viewport(); }
  QPoint at(TPoint world) {
    const TPoint p = window->view().worldToViewport(world);
    return QPoint(p.x, p.y);
  }
  void mouse(QEvent::Type type, TPoint world, Qt::MouseButton button,
             Qt::KeyboardModifiers keys = Qt::NoModifier) {
    if (type == QEvent::MouseButtonPress || type == QEvent::MouseButtonDblClick) held_ |= button;
    if (type == QEvent::MouseButtonRelease) held_ &= ~Qt::MouseButtons(button);
    const QPoint p = at(world);
    QMouseEvent e(type, p, port()->mapToGlobal(p), button, held_, keys);
    QApplication::sendEvent(port(), &e);
  }
  void move(TPoint world, Qt::KeyboardModifiers keys = Qt::NoModifier) {
    mouse(QEvent::MouseMove, world, Qt::NoButton, keys);
  }
  // A click as the toolkit sends it, after the pointer came there.
  void click(TPoint world, Qt::MouseButton button = Qt::LeftButton,
             Qt::KeyboardModifiers keys = Qt::NoModifier) {
    move(world, keys);
    mouse(QEvent::MouseButtonPress, world, button, keys);
    mouse(QEvent::MouseButtonRelease, world, button, keys);
  }
  void key(int code, bool down) {
    QKeyEvent e(down ? QEvent::KeyPress : QEvent::KeyRelease, code, Qt::NoModifier);
    QApplication::sendEvent(port(), &e);
  }

  Qt::MouseButtons held_;
};

TEST_F(ToolWindowTest, ControlsCarryAccessibleNames) {
  struct Case {
    int language;
    const char* control;
    const char* name;
  };
  const Case cases[] = {
      {kEnglish, "SB_Line", "Track"},     {kEnglish, "SB_Circle", "Pad"},
      {kEnglish, "SB_SMDPad", "SMD-Pad"}, {kEnglish, "SB_Standard", "Edit"},
      {kEnglish, "SB_Zoom", "Zoom"},      {kEnglish, "SB_RealAnsicht", "Photoview"},
      {kGerman, "SB_Line", "Leiterbahn"}, {kGerman, "SB_Circle", "Lötauge"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.control);
    TMainWindow& w = open(c.language);
    QWidget* control = w.findChild<QWidget*>(c.control);
    ASSERT_NE(control, nullptr);
    EXPECT_EQ(accessibleName(control), c.name);
    EXPECT_EQ(accessibleName(w.layoutView()), "Layout");
    window.reset();
  }

  // Every button, value field, check box and radio button of the window.
  TMainWindow& w = open(kEnglish);
  int controls = 0;
  for (QWidget* widget : w.findChildren<QWidget*>()) {
    const bool control =
        qobject_cast<QAbstractButton*>(widget) || qobject_cast<QAbstractSpinBox*>(widget) ||
        qobject_cast<TLaySpinEdit*>(widget) || qobject_cast<TLaySpinEdit*>(widget->parentWidget());
    // The scroll bars' and tab bar's own arrows are the toolkit's.
    if (!control || widget->objectName().startsWith("qt_") || !widget->isVisibleTo(&w) ||
        (widget->parentWidget() && widget->parentWidget()->inherits("QTabBar")))
      continue;
    ++controls;
    EXPECT_FALSE(accessibleName(widget).empty())
        << widget->metaObject()->className() << " " << widget->objectName().toStdString();
  }
  EXPECT_GT(controls, 40);
}

// The same clicks, Shift-click, drag, frame, node drag, node menu and paste
// placement through the toolkit's events in the window and through the
// runner's actions give the same layout.
TEST_F(ToolWindowTest, MouseSequenceMatchesTheRunner) {
  TMainWindow& w = openFixture();
  ASSERT_EQ(w.view().scrollX(), 0);
  ASSERT_EQ(w.view().scrollY(), 0);
  TEditor& editor = w.editor();

  click({2000, -2000});
  EXPECT_TRUE(editor.elements()[0]->selected);
  click({5000, -2000}, Qt::LeftButton, Qt::ShiftModifier);
  EXPECT_TRUE(editor.elements()[1]->selected);
  // Drag both pads; the displacement (1030, -470) snaps to (1000, -500).
  move({2000, -2000});
  mouse(QEvent::MouseButtonPress, {2000, -2000}, Qt::LeftButton);
  move({2600, -2300});
  move({3030, -2470});
  mouse(QEvent::MouseButtonRelease, {3030, -2470}, Qt::LeftButton);
  EXPECT_EQ(editor.elements()[0]->x, 3000);
  EXPECT_EQ(editor.elements()[1]->y, -2500);
  // Empty ground deselects; a frame around part of the track selects it.
  click({9000, -4000});
  move({500, -4500});
  mouse(QEvent::MouseButtonPress, {500, -4500}, Qt::LeftButton);
  move({2500, -5500});
  mouse(QEvent::MouseButtonRelease, {2500, -5500}, Qt::LeftButton);
  EXPECT_TRUE(editor.elements()[2]->selected);
  EXPECT_FALSE(editor.elements()[0]->selected);
  // Drag the track's middle corner.
  move({4000, -5000});
  mouse(QEvent::MouseButtonPress, {4000, -5000}, Qt::LeftButton);
  move({4300, -4700});
  move({4500, -4500});
  mouse(QEvent::MouseButtonRelease, {4500, -4500}, Qt::LeftButton);
  EXPECT_EQ(editor.elements()[2]->points[1], (TPoint{4500, -4500}));
  // The node menu on the first corner: Add corner.
  QTimer::singleShot(0, [] {
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(menu->objectName(), "KnotenPopup");
    for (QAction* a : menu->actions())
      if (a->objectName() == "node.add") a->trigger();
    menu->close();
  });
  click({1000, -5000}, Qt::RightButton);
  ASSERT_EQ(editor.elements()[2]->points.size(), 4u);
  // Copy the SMD pad and place the copy with the mouse.
  click({7000, -6000});
  w.action("edit.copy")->trigger();
  w.action("edit.paste")->trigger();
  move({8000, -3000});
  click({8000, -3000});
  ASSERT_EQ(editor.elements().size(), 5u);

  TEditor scripted;
  scripted.layout = fixtureLayout();
  std::ostringstream out;
  TActionContext context{scripted, out};
  for (const char* action :
       {"click 2000 -2000",   "click 5000 -2000 --shift", "press 2000 -2000",
        "move 2600 -2300",    "move 3030 -2470",          "release 3030 -2470",
        "click 9000 -4000",   "press 500 -4500",          "move 2500 -5500",
        "release 2500 -5500", "press 4000 -5000",         "move 4300 -4700",
        "move 4500 -4500",    "release 4500 -4500",       "click 1000 -5000 --right",
        "node-add",           "click 7000 -6000",         "key C --ctrl",
        "key V --ctrl",       "move 8000 -3000",          "click 8000 -3000"}) {
    std::string error;
    ASSERT_TRUE(runAction(context, action, error)) << action << ": " << error;
  }
  EXPECT_EQ(encodeLayout(editor.layout), encodeLayout(scripted.layout));
  EXPECT_EQ(editor.layout.active().undoStack.size(), scripted.layout.active().undoStack.size());
}

// A move with feedback repaints the rectangles of the feedback only, and
// erasing it brings back the picture that was there.
TEST_F(ToolWindowTest, FeedbackRepaintsOnlyItsRectangles) {
  TMainWindow& w = openFixture();
  click({2000, -2000});
  QApplication::processEvents();
  const QRect whole = port()->rect();
  const QPoint global = port()->mapToGlobal(QPoint(0, 0));
  auto screenPicture = [&] {
    return w.screen()
        ->grabWindow(0, global.x(), global.y(), whole.width(), whole.height())
        .toImage()
        .convertToFormat(QImage::Format_RGB32);
  };
  const QImage before = screenPicture();

  struct Recorder : QObject {
    QRegion painted;
    bool eventFilter(QObject*, QEvent* e) override {
      if (e->type() == QEvent::Paint) painted += static_cast<QPaintEvent*>(e)->region();
      return false;
    }
  } recorder;
  port()->installEventFilter(&recorder);
  move({2000, -2000});
  mouse(QEvent::MouseButtonPress, {2000, -2000}, Qt::LeftButton);
  QApplication::processEvents();
  recorder.painted = QRegion();
  move({3000, -3000});
  ASSERT_TRUE(w.tools().feedbackVisible(TFeedbackKind::movePreview));
  const QRect shown = w.layoutView()->feedbackRect(w.tools().feedback(TFeedbackKind::movePreview));
  QApplication::processEvents();
  EXPECT_FALSE(recorder.painted.isEmpty());
  EXPECT_TRUE((recorder.painted - QRegion(shown)).isEmpty())
      << "painted " << recorder.painted.boundingRect().width() << " x "
      << recorder.painted.boundingRect().height() << " for a preview of " << shown.width() << " x "
      << shown.height();
  EXPECT_NE(screenPicture(), before) << "the move preview is on screen";

  // Back over the start: the preview goes (nothing is moved by a release
  // there) and the screen is as before, drawn from the frame image alone.
  recorder.painted = QRegion();
  move({2000, -2000});
  mouse(QEvent::MouseButtonRelease, {2000, -2000}, Qt::LeftButton);
  QApplication::processEvents();
  EXPECT_FALSE(w.tools().feedbackVisible(TFeedbackKind::movePreview));
  EXPECT_EQ(w.editor().elements()[0]->x, 2000);
  EXPECT_EQ(screenPicture(), before);
  port()->removeEventFilter(&recorder);
}

TEST_F(ToolWindowTest, CursorsHaveTheirHotSpots) {
  struct Case {
    TCursor cursor;
    QPoint hotSpot;
  };
  const Case cases[] = {
      {TCursor::magnifier, {11, 11}}, {TCursor::test, {3, 3}},      {TCursor::changer, {0, 0}},
      {TCursor::connect, {0, 0}},     {TCursor::autoroute, {0, 0}}, {TCursor::ring, {0, 0}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(int(c.cursor));
    const QCursor& cursor = toolCursor(c.cursor);
    EXPECT_EQ(cursor.shape(), Qt::BitmapCursor);
    EXPECT_EQ(cursor.hotSpot(), c.hotSpot);
    const QImage mask = cursor.mask().toImage();
    ASSERT_EQ(mask.size(), QSize(32, 32));
    // The clicked point is part of the picture (set mask bits read black).
    EXPECT_LT(qGray(mask.pixel(c.hotSpot)), 128);
  }
  EXPECT_EQ(toolCursor(TCursor::crossHair).shape(), Qt::CrossCursor);

  TMainWindow& w = openFixture();
  w.findChild<QToolButton*>("SB_Zoom")->click();
  EXPECT_EQ(port()->cursor().hotSpot(), QPoint(11, 11));
  w.findChild<QToolButton*>("SB_Standard")->click();
  EXPECT_EQ(port()->cursor().shape(), Qt::ArrowCursor);
}

// The tool buttons form one radio group that follows the state machine.
TEST_F(ToolWindowTest, ToolButtonsFollowTheMode) {
  TMainWindow& w = openFixture();
  auto button = [&](const char* name) { return w.findChild<QToolButton*>(name); };
  button("SB_Zoom")->click();
  EXPECT_EQ(w.tools().mode(), TToolMode::zoom);
  EXPECT_FALSE(w.tools().state().photoView);
  button("SB_RealAnsicht")->click();
  EXPECT_EQ(w.tools().mode(), TToolMode::zoom);
  EXPECT_TRUE(w.tools().state().photoView);
  EXPECT_TRUE(button("SB_RealAnsicht")->isChecked());
  EXPECT_FALSE(button("SB_Zoom")->isChecked());

  // Space held in edit mode zooms for the while; its selection is gone after.
  button("SB_Standard")->click();
  click({2000, -2000});
  move({3000, -3000});
  key(Qt::Key_Space, true);
  EXPECT_EQ(w.tools().mode(), TToolMode::zoom);
  EXPECT_TRUE(button("SB_Zoom")->isChecked());
  key(Qt::Key_Space, false);
  EXPECT_EQ(w.tools().mode(), TToolMode::edit);
  EXPECT_TRUE(button("SB_Standard")->isChecked());
  EXPECT_FALSE(w.editor().elements()[0]->selected);

  // Paste placement has no button: the pressed one stays.
  click({2000, -2000});
  w.action("edit.duplicate")->trigger();
  EXPECT_EQ(w.tools().mode(), TToolMode::paste);
  EXPECT_TRUE(button("SB_Standard")->isChecked());
}

// The right button on an element opens the context menu with the main
// menu's own actions.
TEST_F(ToolWindowTest, ContextMenuUsesTheMenuCommands) {
  TMainWindow& w = openFixture();
  std::vector<QAction*> shown;
  QString name;
  QTimer::singleShot(0, [&] {
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    ASSERT_NE(menu, nullptr);
    name = menu->objectName();
    for (QAction* a : menu->actions()) shown.push_back(a);
    menu->close();
  });
  click({5000, -2000}, Qt::RightButton);
  EXPECT_EQ(name, "PopupMenu");
  EXPECT_TRUE(w.editor().elements()[1]->selected);
  EXPECT_NE(std::find(shown.begin(), shown.end(), w.action("edit.copy")), shown.end());
  EXPECT_NE(std::find(shown.begin(), shown.end(), w.action("view.setOrigin")), shown.end());
  EXPECT_TRUE(w.action("edit.copy")->isEnabled());
}

// Selecting marks the value fields that edit the selection.
TEST_F(ToolWindowTest, ValueFieldsOfTheSelectionAreMarked) {
  TMainWindow& w = openFixture();
  auto marked = [&](const char* name) {
    return w.findChild<TLaySpinEdit*>(name)->property("highlighted").toBool();
  };
  struct Case {
    TPoint click;
    bool trackWidth, padOuter, smdWidth;
  };
  const Case cases[] = {
      {{2000, -2000}, false, true, false},   // a pad
      {{2500, -5000}, true, false, false},   // the track
      {{7000, -6000}, false, false, true},   // the SMD pad
      {{9000, -4000}, false, false, false},  // nothing
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.click.x);
    click(c.click);
    EXPECT_EQ(marked("SE_Breite"), c.trackWidth);
    EXPECT_EQ(marked("SE_Aussen"), c.padOuter);
    EXPECT_EQ(marked("SE_Innen"), c.padOuter);
    EXPECT_EQ(marked("SE_SMDPad_X"), c.smdWidth);
    EXPECT_EQ(marked("SE_SMDPad_Y"), c.smdWidth);
  }
}

}  // namespace
}  // namespace plavesk
