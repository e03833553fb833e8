// The drawing tools' dialogs in the window: the text dialog of the text tool
// (numbered texts placed with the mouse, as the runner places them), the
// warning for a text without strokes, the polygon dialog, the arc dialog of
// "Segment..." and the measure panel, in the three languages.
#include <gtest/gtest.h>

#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>
#include <sstream>

#include "app/arc_dialog.h"
#include "app/font_text_dialog.h"
#include "app/lay_spin_edit.h"
#include "app/layout_view.h"
#include "app/measure_panel.h"
#include "app/polygon_dialog.h"
#include "app/text_dialog.h"
#include "document/layout_file.h"
#include "editing/action_runner.h"
#include "editing/tools/tool_manager.h"
#include "support/sample_layout.h"
#include "window_fixture.h"

namespace plavesk {
namespace {

using testing::answerNextDialog;
using testing::WindowFixture;

// A 100 x 70 mm board, grid 1 mm, at 0.1 pixels a unit: nothing scrolls.
TLayout emptyBoard() {
  TLayout layout = testing::boardLayout("Draw", 10000, 7000, 100);
  layout.modified = false;
  return layout;
}

class DrawingDialogsTest : public WindowFixture {
 protected:
  TMainWindow& openBoard(int language = kEnglish, TLayout layout = emptyBoard()) {
    TMainWindow& w = open(language);
    w.resize(1500, 1100);
    QApplication::processEvents();
    w.editor().layout = std::move(layout);
    w.activateBoard(0);
    QApplication::processEvents();
    return w;
  }
  QWidget* port() { return window->layoutView()->viewport(); }
  QPoint at(TPoint world) {
    const TPoint p = window->view().worldToViewport(world);
    return QPoint(p.x, p.y);
  }
  void mouse(QEvent::Type type, TPoint world, Qt::MouseButton button) {
    if (type == QEvent::MouseButtonPress) held_ |= button;
    if (type == QEvent::MouseButtonRelease) held_ &= ~Qt::MouseButtons(button);
    const QPoint p = at(world);
    QMouseEvent e(type, p, port()->mapToGlobal(p), button, held_, Qt::NoModifier);
    QApplication::sendEvent(port(), &e);
  }
  void click(TPoint world, Qt::MouseButton button = Qt::LeftButton) {
    mouse(QEvent::MouseMove, world, Qt::NoButton);
    mouse(QEvent::MouseButtonPress, world, button);
    mouse(QEvent::MouseButtonRelease, world, button);
  }
  void pressTool(const char* control) {
    auto* b = window->findChild<QToolButton*>(control);
    ASSERT_NE(b, nullptr) << control;
    b->click();
    QApplication::processEvents();
  }
  Qt::MouseButtons held_;
};

TEST_F(DrawingDialogsTest, NumberedTextsWithTheMouseMatchTheRunner) {
  TMainWindow& w = openBoard();
  answerNextDialog<TLinienText_Dlg>([](TLinienText_Dlg& d) {
    // Side 1: the dialog opens unmirrored, the text focused.
    EXPECT_FALSE(d.mirrorHBox()->isChecked());
    EXPECT_FALSE(d.mirrorVBox()->isChecked());
    d.textField()->setText("R");
    d.heightField()->setValue(2.5);
    d.addNumberBox()->setChecked(true);
    d.startField()->setValue(1);
    d.accept();
  });
  pressTool("SB_LineText");
  ASSERT_EQ(w.tools().mode(), TToolMode::text);
  for (TPoint p : {TPoint{1000, -2000}, TPoint{3000, -2000}, TPoint{5000, -2000}}) click(p);
  click({5000, -5000}, Qt::RightButton);
  EXPECT_EQ(w.tools().mode(), TToolMode::edit);
  ASSERT_EQ(w.editor().elements().size(), 3u);

  TEditor scripted;
  scripted.layout = emptyBoard();
  std::ostringstream out;
  TActionContext context{scripted, out};
  std::string error;
  for (const char* a : {"text-options R --height 2.5 --number 1", "tool text", "click 1000 -2000",
                        "click 3000 -2000", "click 5000 -2000", "click 5000 -5000 --right"})
    ASSERT_TRUE(runAction(context, a, error)) << a << ": " << error;
  ASSERT_EQ(scripted.elements().size(), 3u);
  for (size_t i = 0; i < 3; ++i) {
    const TObjekt& a = *w.editor().elements()[i];
    const TObjekt& b = *scripted.elements()[i];
    EXPECT_EQ(a.text, b.text);
    EXPECT_EQ(a.dim1, b.dim1);
    EXPECT_EQ(elementBounds(a), elementBounds(b)) << i;
    ASSERT_EQ(a.strokes.size(), b.strokes.size());
    for (size_t k = 0; k < a.strokes.size(); ++k)
      EXPECT_EQ(a.strokes[k]->points, b.strokes[k]->points);
  }
  EXPECT_EQ(w.editor().layout.active().undoStack.size(), 3u);
  EXPECT_EQ(scripted.layout.active().undoStack.size(), 3u);
}

TEST_F(DrawingDialogsTest, TextWithoutStrokesWarnsAndReturnsToEditMode) {
  TMainWindow& w = openBoard(kGerman);
  answerNextDialog<TLinienText_Dlg>([](TLinienText_Dlg& d) {
    d.textField()->setText("$$");
    d.accept();
  });
  pressTool("SB_LineText");
  EXPECT_EQ(w.tools().mode(), TToolMode::edit);
  EXPECT_TRUE(w.editor().elements().empty());
  ASSERT_EQ(dialogs->messages.size(), 1u);
  EXPECT_EQ(dialogs->messages[0].title, "Layout-Text");
  EXPECT_EQ(dialogs->messages[0].text, "Der Text konnte nicht generiert werden.");
  EXPECT_FALSE(w.action("edit.undo")->isEnabled());
}

// While a text is prepared, undo would do nothing: the command and its
// button are disabled until the text is placed, then undo removes it.
TEST_F(DrawingDialogsTest, UndoWaitsForThePreparedTextToBePlaced) {
  TMainWindow& w = openBoard();
  QAction* undo = w.action("edit.undo");
  EXPECT_FALSE(undo->isEnabled());
  answerNextDialog<TLinienText_Dlg>([](TLinienText_Dlg& d) {
    d.textField()->setText("R");
    d.addNumberBox()->setChecked(true);
    d.startField()->setValue(1);
    d.accept();
  });
  pressTool("SB_LineText");
  ASSERT_EQ(w.tools().mode(), TToolMode::text);
  ASSERT_EQ(w.editor().layout.active().undoStack.size(), 1u);
  QApplication::processEvents();
  EXPECT_FALSE(undo->isEnabled());
  click({3000, -3000});  // R1 placed, R2 prepared
  QApplication::processEvents();
  EXPECT_FALSE(undo->isEnabled());
  click({3000, -3000}, Qt::RightButton);  // R2 dropped, the tool ends
  QApplication::processEvents();
  ASSERT_EQ(w.tools().mode(), TToolMode::edit);
  ASSERT_TRUE(undo->isEnabled());
  undo->trigger();
  EXPECT_TRUE(w.editor().elements().empty());
}

TEST_F(DrawingDialogsTest, PolygonDialogKeepsItsValuesAndCancelEndsInEditMode) {
  TMainWindow& w = openBoard();
  answerNextDialog<TVielEckDlg>([](TVielEckDlg& d) {
    EXPECT_EQ(d.cornersField()->text(), "6");
    EXPECT_EQ(d.radiusField()->text(), "10.0");
    d.cornersField()->setValue(4);
    d.offsetField()->setValue(-180);
    EXPECT_EQ(d.offsetField()->text(), "-180.0");
    d.fillBox()->setChecked(true);
    d.accept();
  });
  pressTool("SB_Vieleck");
  ASSERT_EQ(w.tools().mode(), TToolMode::polygon);
  click({5000, -3000});
  ASSERT_EQ(w.editor().elements().size(), 1u);
  EXPECT_EQ(w.editor().elements()[0]->kind, kArea);
  EXPECT_EQ(w.editor().elements()[0]->points[0], (TPoint{4000, -3000}));
  answerNextDialog<TVielEckDlg>([](TVielEckDlg& d) {
    EXPECT_EQ(d.cornersField()->text(), "4");
    EXPECT_TRUE(d.fillBox()->isChecked());
    d.reject();
  });
  pressTool("SB_Vieleck");
  EXPECT_EQ(w.tools().mode(), TToolMode::edit);
  EXPECT_TRUE(w.findChild<QToolButton*>("SB_Standard")->isChecked());
}

TEST_F(DrawingDialogsTest, SegmentDialogChangesTheSelectedCircles) {
  TLayout layout = emptyBoard();
  layout.elements().push_back(createCircle({3000, -3000}, 120, kPadRound, kCopper1, 80));
  TMainWindow& w = openBoard(kEnglish, std::move(layout));
  QAction* segment = w.action("fn.segment");
  ASSERT_NE(segment, nullptr);
  EXPECT_FALSE(segment->isEnabled());
  click({3100, -3000});
  ASSERT_TRUE(w.editor().elements()[0]->selected);
  ASSERT_TRUE(segment->isEnabled());
  answerNextDialog<TBogenDlg>([](TBogenDlg& d) {
    EXPECT_EQ(d.windowTitle(), "Segment");
    EXPECT_EQ(d.diameterField()->text(), "2.00");
    EXPECT_FALSE(d.fillWarning()->isEnabled());
    d.fillBox()->click();
    EXPECT_TRUE(d.fillWarning()->isEnabled());
    d.startField()->setValue(90);
    d.diameterField()->setValue(5);
    d.accept();
  });
  segment->trigger();
  const TObjekt& c = *w.editor().elements()[0];
  EXPECT_EQ(c.angle, 90);
  EXPECT_EQ(c.filled, 1);
  EXPECT_EQ(c.dim1, 270);
  EXPECT_EQ(c.dim2, 230);
  EXPECT_TRUE(w.action("edit.undo")->isEnabled());
}

TEST_F(DrawingDialogsTest, MeasurePanelFollowsTheDragAndHidesAtTheRelease) {
  TMainWindow& w = openBoard();
  pressTool("SB_Messen");
  auto* panel = w.findChild<TMeasurePanel*>("P_Messen");
  ASSERT_NE(panel, nullptr);
  mouse(QEvent::MouseMove, {1000, -1000}, Qt::NoButton);
  mouse(QEvent::MouseButtonPress, {1000, -1000}, Qt::LeftButton);
  EXPECT_TRUE(panel->isVisible());
  mouse(QEvent::MouseMove, {4000, -5000}, Qt::NoButton);
  EXPECT_EQ(panel->line(0), "dX: 30 mm");
  EXPECT_EQ(panel->line(1), "dY: 40 mm");
  EXPECT_EQ(panel->line(2), "Distance: 50 mm");
  EXPECT_EQ(panel->line(3), QString::fromUtf8("Angle: 53.1\u00B0"));
  // Below and right of the pointer, 20 pixels away.
  EXPECT_EQ(panel->pos(), at({4000, -5000}) + QPoint(20, 20));
  mouse(QEvent::MouseButtonRelease, {4000, -5000}, Qt::LeftButton);
  EXPECT_FALSE(panel->isVisible());
}

// Every dialog speaks the interface language and names its controls.
TEST_F(DrawingDialogsTest, DialogsSpeakTheInterfaceLanguage) {
  struct Case {
    int language;
    const char *text, *fontText, *arc, *polygon, *help;
  } cases[] = {
      {kGerman, "Texteigenschaften", "Texteingabe", "Kreisbogen", "Vieleck generieren", "Hilfe"},
      {kEnglish, "Text", "Text input", "Segment", "Create polygon", "Help"},
      {kFrench, "Texte", "Saisie de texte", "Segment", "Créer un polygone", "Aide"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.language);
    TLinienText_Dlg text(c.language);
    TTXT_Dlg fontText(c.language);
    TBogenDlg arc(c.language);
    TVielEckDlg polygon(c.language);
    EXPECT_EQ(text.windowTitle().toStdString(), c.text);
    EXPECT_EQ(fontText.windowTitle().toStdString(), c.fontText);
    EXPECT_EQ(arc.windowTitle().toStdString(), c.arc);
    EXPECT_EQ(polygon.windowTitle().toStdString(), c.polygon);
    for (QDialog* d : std::initializer_list<QDialog*>{&text, &arc, &polygon}) {
      auto* help = d->findChild<QPushButton*>("HelpBtn");
      ASSERT_NE(help, nullptr) << d->objectName().toStdString();
      EXPECT_EQ(help->accessibleName().toStdString(), c.help);
      for (QWidget* widget : d->findChildren<QWidget*>()) {
        const bool control =
            qobject_cast<QAbstractButton*>(widget) || qobject_cast<TLaySpinEdit*>(widget);
        QAccessibleInterface* a = QAccessible::queryAccessibleInterface(widget);
        if (control) {
          EXPECT_TRUE(a && !a->text(QAccessible::Name).isEmpty())
              << d->objectName().toStdString() << " " << widget->objectName().toStdString();
        }
      }
    }
  }
}

// The text dialog shows an element's values and gives back what it shows.
TEST_F(DrawingDialogsTest, TextDialogRoundTripsEveryField) {
  TTextSettings s;
  s.text = "AbC 12";
  s.height = 7.5;
  s.thickness = kBold;
  s.spacing = kWide;
  s.orientation = 3;
  s.mirrorH = true;
  s.mirrorV = true;
  s.addNumber = true;
  s.startValue = 42;
  TLinienText_Dlg d(kEnglish);
  d.setSettings(s);
  EXPECT_TRUE(d.thicknessButton(kBold)->isChecked());
  EXPECT_TRUE(d.orientationButton(3)->isChecked());
  EXPECT_TRUE(d.styleButton(kWide)->isChecked());
  EXPECT_EQ(d.textField()->selectedText(), "AbC 12");
  const TTextSettings back = d.settings();
  EXPECT_EQ(back.text, s.text);
  EXPECT_DOUBLE_EQ(back.height, 7.5);
  EXPECT_EQ(back.thickness, kBold);
  EXPECT_EQ(back.spacing, kWide);
  EXPECT_EQ(back.orientation, 3);
  EXPECT_TRUE(back.mirrorH);
  EXPECT_TRUE(back.mirrorV);
  EXPECT_TRUE(back.addNumber);
  EXPECT_EQ(back.startValue, 42);
  // A typed height out of range is limited.
  d.heightField()->setText("80");
  EXPECT_DOUBLE_EQ(d.settings().height, 50.0);
}

}  // namespace
}  // namespace plavesk
