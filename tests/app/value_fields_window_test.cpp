// The value field control, the tool panel's fields on a real selection, the
// remembered-value lists with their settings sections and the grid dialog.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QToolButton>
#include <vector>

#include "app/grid_dialog.h"
#include "app/lay_spin_edit.h"
#include "app/layout_view.h"
#include "app/tool_panel.h"
#include "app/value_lists.h"
#include "editing/editor.h"
#include "editing/tool_value_fields.h"
#include "editing/tools/tool_manager.h"
#include "window_fixture.h"

namespace plavesk {
namespace {

using testing::WindowFixture;

void focus(QWidget* w, QEvent::Type type) {
  QFocusEvent e(type, Qt::TabFocusReason);
  QApplication::sendEvent(w, &e);
}

void knobMouse(TLaySpinEdit& s, QEvent::Type type, Qt::MouseButton button, int y,
               Qt::MouseButtons held, Qt::KeyboardModifiers keys = Qt::NoModifier) {
  QWidget* knob = s.knob();
  const QPointF p(2, y);
  QMouseEvent e(type, p, knob->mapToGlobal(p), button, held, keys);
  QApplication::sendEvent(knob, &e);
}

void clickKnob(TLaySpinEdit& s, Qt::MouseButton button, Qt::KeyboardModifiers keys = {}) {
  knobMouse(s, QEvent::MouseButtonPress, button, 8, button, keys);
  knobMouse(s, QEvent::MouseButtonRelease, button, 8, Qt::NoButton, keys);
}

// Records the control's events in order.
struct EventLog {
  explicit EventLog(TLaySpinEdit& s) {
    QObject::connect(&s, &TLaySpinEdit::OnEditEnter, [this] { log += "enter "; });
    QObject::connect(&s, &TLaySpinEdit::OnBackup, [this] { log += "backup "; });
    QObject::connect(&s, &TLaySpinEdit::OnEditChange, [this] { log += "change "; });
    QObject::connect(&s, &TLaySpinEdit::OnEditExit, [this] { log += "exit "; });
  }
  std::string log;
};

TEST(LaySpinEditTest, EventsOfOneEditing) {
  TLaySpinEdit s(0, 99.9, 0.1, 1, 0.8);
  EventLog events(s);
  focus(s.edit(), QEvent::FocusIn);
  s.edit()->setText("1");
  s.edit()->setText("1,5");
  EXPECT_EQ(events.log, "enter backup change change ");
  // Reading turns "," into "." in the field, the caret where it was.
  s.edit()->setCursorPosition(1);
  EXPECT_DOUBLE_EQ(s.value(), 1.5);
  EXPECT_EQ(s.text().toStdString(), "1.5");
  EXPECT_EQ(s.edit()->cursorPosition(), 1);
  events.log.clear();
  s.edit()->setText("1.");
  focus(s.edit(), QEvent::FocusOut);
  // Leaving shows the canonical text; no second backup in one editing.
  EXPECT_EQ(s.text().toStdString(), "1.0");
  EXPECT_EQ(events.log, "change change exit ");
  // The next entering arms the backup again.
  events.log.clear();
  focus(s.edit(), QEvent::FocusIn);
  s.setValue(2);
  EXPECT_EQ(events.log, "enter backup change ");
}

// Leaving for another window and coming back is no leaving and entering;
// but a click into the field of an inactive window brings the focus with
// the window's reason, and that is an entering.
TEST(LaySpinEditTest, EnteringAndLeavingWithOtherWindows) {
  struct Step {
    QEvent::Type type;
    Qt::FocusReason reason;
  };
  struct Case {
    const char* what;
    std::vector<Step> steps;
    const char* log;
  };
  const auto in = QEvent::FocusIn, out = QEvent::FocusOut;
  const auto window = Qt::ActiveWindowFocusReason, mouse = Qt::MouseFocusReason;
  const std::vector<Case> cases{
      {"clicked in an active window", {{in, mouse}}, "enter "},
      {"clicked in an inactive window", {{in, window}}, "enter "},
      {"away to another window and back", {{in, mouse}, {out, window}, {in, window}}, "enter "},
      {"a popup menu opened and closed",
       {{in, mouse}, {out, Qt::PopupFocusReason}, {in, Qt::PopupFocusReason}},
       "enter "},
      {"left, then clicked in again",
       {{in, mouse}, {out, mouse}, {in, window}},
       "enter exit enter "},
      {"left twice", {{in, window}, {out, mouse}, {out, mouse}}, "enter exit "},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TLaySpinEdit s(0, 99.9, 0.1, 1, 0.8);
    EventLog events(s);
    for (const Step& step : c.steps) {
      QFocusEvent e(step.type, step.reason);
      QApplication::sendEvent(s.edit(), &e);
    }
    EXPECT_EQ(events.log, c.log);
  }
}

TEST(LaySpinEditTest, ValuesAreLimitedAndShownWithTheirDecimals) {
  struct Case {
    const char* typed;
    const char* shownAfterLeaving;
  };
  const Case cases[] = {{"120", "99.90"}, {"1.5x", "1.50"},  {"abc", "0.01"},
                        {"", "0.01"},     {"0,255", "0.26"}, {"-2", "0.01"}};
  TLaySpinEdit s(0.01, 99.9, 0.01, 2, 0.5);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.typed);
    focus(s.edit(), QEvent::FocusIn);
    s.setText(c.typed);
    focus(s.edit(), QEvent::FocusOut);
    EXPECT_EQ(s.text().toStdString(), c.shownAfterLeaving);
  }
  s.setValue(0.8);
  EXPECT_EQ(s.text().toStdString(), "0.80");
}

TEST(LaySpinEditTest, KnobClicksAndDrags) {
  TLaySpinEdit s(0, 99.9, 0.1, 1, 0.3);
  clickKnob(s, Qt::LeftButton);
  EXPECT_EQ(s.text().toStdString(), "0.4");
  clickKnob(s, Qt::RightButton);
  EXPECT_EQ(s.text().toStdString(), "0.3");
  clickKnob(s, Qt::LeftButton, Qt::ControlModifier);
  EXPECT_EQ(s.text().toStdString(), "1.0");
  clickKnob(s, Qt::RightButton, Qt::ControlModifier);
  EXPECT_EQ(s.text().toStdString(), "0.5");
  // A drag: 8 pixels up in one move are 4 steps, then 3 pixels nothing,
  // then 1 more pixel (4 since the last change) one step; the release is no
  // click.
  knobMouse(s, QEvent::MouseButtonPress, Qt::LeftButton, 20, Qt::LeftButton);
  knobMouse(s, QEvent::MouseMove, Qt::NoButton, 12, Qt::LeftButton);
  EXPECT_EQ(s.text().toStdString(), "0.9");
  knobMouse(s, QEvent::MouseMove, Qt::NoButton, 9, Qt::LeftButton);
  EXPECT_EQ(s.text().toStdString(), "0.9");
  knobMouse(s, QEvent::MouseMove, Qt::NoButton, 8, Qt::LeftButton);
  EXPECT_EQ(s.text().toStdString(), "1.0");
  knobMouse(s, QEvent::MouseMove, Qt::NoButton, 16, Qt::LeftButton);  // down again
  EXPECT_EQ(s.text().toStdString(), "0.6");
  knobMouse(s, QEvent::MouseButtonRelease, Qt::LeftButton, 16, Qt::NoButton);
  EXPECT_EQ(s.text().toStdString(), "0.6");
  // The knob's cursor is the spinner cursor with its hot spot.
  EXPECT_EQ(s.knob()->cursor().hotSpot(), QPoint(14, 16));
}

TEST(LaySpinEditTest, ColoursAndDisabledLook) {
  TLaySpinEdit s;
  EXPECT_EQ(s.edit()->palette().color(QPalette::Text), QColor(0xff, 0xff, 0x00));
  EXPECT_EQ(s.edit()->palette().color(QPalette::Base), QColor(0, 0, 0));
  s.setEditTextColor(Qt::white);
  s.setEditBKColor(Qt::red);
  EXPECT_EQ(s.edit()->palette().color(QPalette::Base), QColor(Qt::red));
  s.setEnabled(false);
  EXPECT_EQ(s.edit()->palette().color(QPalette::Text), QColor(0xc0, 0xc0, 0xc0));
  EXPECT_EQ(s.edit()->palette().color(QPalette::Base), QColor(0x80, 0x80, 0x80));
  s.setEnabled(true);
  EXPECT_EQ(s.edit()->palette().color(QPalette::Text), QColor(Qt::white));
}

// --- pure list rules ---

TEST(ValueListRulesTest, TrackWidthsStayAscendingAndUnique) {
  TValueList list;
  EXPECT_TRUE(addTrackWidth(list, 80, "0.8 mm"));
  EXPECT_TRUE(addTrackWidth(list, 30, "0.3 mm"));
  EXPECT_TRUE(addTrackWidth(list, 150, "1.5 mm"));
  EXPECT_TRUE(addTrackWidth(list, 50, "0.5 mm"));
  EXPECT_FALSE(addTrackWidth(list, 50, "0.5 mm"));
  std::vector<int> tags;
  for (const auto& e : list) tags.push_back(e.value);
  EXPECT_EQ(tags, (std::vector<int>{30, 50, 80, 150}));
  EXPECT_TRUE(removeTrackWidth(list, 80));
  EXPECT_FALSE(removeTrackWidth(list, 80));
  EXPECT_EQ(findTrackWidth(list, 150), 2);
}

TEST(ValueListRulesTest, SizeCaptionsAreReadAndOrdered) {
  struct Case {
    const char* caption;
    int first, second;
  };
  const Case cases[] = {{"1.8 x 0.6 mm", 180, 60},
                        {"&1.8 x 0.6 mm", 180, 60},
                        {"10.5 x 1.2 mm", 1050, 120},
                        {"0.90 x 1.80 mm", 90, 180},
                        {"2.0 x 12.5 mm", 200, 1250}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.caption);
    const auto p = readSizeCaption(c.caption);
    ASSERT_TRUE(p);
    EXPECT_EQ(p->first, c.first);
    EXPECT_EQ(p->second, c.second);
  }
  EXPECT_FALSE(readSizeCaption("mm"));
  EXPECT_FALSE(readSizeCaption("1.8 mm"));
  TValueList pads;
  for (const char* c : {"1.8 x 0.6 mm", "1.2 x 0.8 mm", "1.8 x 0.4 mm", "2.5 x 1.0 mm"})
    addSizeCaption(pads, c);
  std::vector<std::string> order;
  for (const auto& e : pads) order.push_back(e.caption);
  EXPECT_EQ(order, (std::vector<std::string>{"1.2 x 0.8 mm", "1.8 x 0.4 mm", "1.8 x 0.6 mm",
                                             "2.5 x 1.0 mm"}));
  // Pads match by radius: diameter div 2.
  EXPECT_EQ(findPadSize(pads, 90, 30), 2);
  EXPECT_EQ(findPadSize(pads, 90, 31), -1);
  TValueList smd{{-1, "0.90 x 1.80 mm"}};
  EXPECT_EQ(findSmdSize(smd, 90, 180), 0);
  EXPECT_EQ(findSmdSize(smd, 180, 90), -1);
}

TEST(ValueListRulesTest, AddingAnExistingGridChoosesIt) {
  TValueList grids;
  EXPECT_EQ(addGrid(grids, 50, "      0.50 mm"), 0);
  EXPECT_EQ(addGrid(grids, 20, "      0.20 mm"), 0);
  EXPECT_EQ(addGrid(grids, 50, "      0.50 mm"), 1);
  EXPECT_EQ(grids.size(), 2u);
  EXPECT_TRUE(removeGrid(grids, 20));
  EXPECT_FALSE(removeGrid(grids, 254));
}

// --- the window ---

// A board with a 0.5 mm and a 0.8 mm track and a pad, nothing selected.
class ValueFieldsWindowTest : public WindowFixture {
 protected:
  TMainWindow& openBoard() {
    TMainWindow& w = open();
    TLayout& layout = w.editor().layout;
    TObjektList& l = layout.elements();
    for (int32_t width : {50, 80}) {
      l.push_back(createTrack(width, kCopper1));
      l.back()->points = {{1000, -1000 * width / 10}, {3000, -1000 * width / 10}};
    }
    l.push_back(createPad({5000, -2000}, 90, kPadRound, kCopper1, 30));
    layout.modified = false;
    w.activateBoard(0);
    QApplication::processEvents();
    return w;
  }
  TLaySpinEdit& field(const char* name) { return *window->findChild<TLaySpinEdit*>(name); }
  // Typing into a field as a user does: entering it, the texts, leaving it.
  void type(const char* name, std::initializer_list<const char*> texts) {
    TLaySpinEdit& f = field(name);
    focus(f.edit(), QEvent::FocusIn);
    for (const char* t : texts) f.setText(t);
    focus(f.edit(), QEvent::FocusOut);
  }
  // The menu of a list as it shows when opened: its captions, "-" for a
  // visible separator, "[x]" before checked and "(off)" after disabled entries.
  std::vector<std::string> opened(QMenu* menu) {
    emit menu->aboutToShow();
    std::vector<std::string> out;
    for (QAction* a : menu->actions()) {
      if (!a->isVisible()) continue;
      if (a->isSeparator()) {
        out.push_back("-");
        continue;
      }
      out.push_back((a->isChecked() ? "[x]" : "") + a->text().toStdString() +
                    (a->isEnabled() ? "" : "(off)"));
    }
    return out;
  }
  QAction* entry(QMenu* menu, const std::string& text) {
    for (QAction* a : menu->actions())
      if (a->text().toStdString() == text) return a;
    ADD_FAILURE() << "no entry " << text;
    return nullptr;
  }
  size_t undoSteps() { return window->editor().layout.active().undoStack.size(); }
};

TEST_F(ValueFieldsWindowTest, TypingChangesTheSelectionInOneUndoStep) {
  TMainWindow& w = openBoard();
  TEditor& ed = w.editor();
  ed.setSelected(*ed.elements()[0], true);
  type("SE_Breite", {"1", "1,", "1,5"});
  EXPECT_EQ(field("SE_Breite").text().toStdString(), "1.5");
  EXPECT_EQ(ed.elements()[0]->dim3, 150);
  EXPECT_EQ(ed.elements()[1]->dim3, 80);
  EXPECT_EQ(undoSteps(), 1u);
  EXPECT_EQ(w.tools().values().trackWidth, 150);
  // The coupling shows in the other field.
  type("SE_Aussen", {"0.5"});
  EXPECT_EQ(field("SE_Innen").text().toStdString(), "0.5");
  // Spinning is typing too: the knob gives the field the focus.
  TLaySpinEdit& width = field("SE_Breite");
  clickKnob(width, Qt::LeftButton);
  clickKnob(width, Qt::LeftButton);
  focus(width.edit(), QEvent::FocusOut);
  EXPECT_EQ(ed.elements()[0]->dim3, 170);
  EXPECT_EQ(undoSteps(), 2u);
  // Deselecting brings the remembered default back into the field.
  ed.deselectAll();
  w.updateCommandStates();
  EXPECT_EQ(width.text().toStdString(), "1.7");
}

// While the knob is dragged, the view draws only the selected track over a
// kept picture of the rest: what it shows must be what a full paint shows,
// where the area and the pad listed after the track cover it, and where the
// track covers the other track and the silkscreen drawn before it.
TEST_F(ValueFieldsWindowTest, KnobDragShowsWhatAFullPaintShows) {
  TMainWindow& w = openBoard();
  TObjektList& l = w.editor().elements();
  l.push_back(createArea(20, kCopper1));
  l.back()->points = {{1500, -4000}, {2500, -4000}, {2500, -6000}, {1500, -6000}};
  l.push_back(createPad({2800, -5000}, 120, kPadSquare, kCopper1, 40));
  l.push_back(createTrack(200, kSilk1));
  l.back()->points = {{1200, -5600}, {1200, -4400}};
  w.view().setZoom(0.1);
  w.layoutView()->syncFromView();
  TEditor& ed = w.editor();
  ed.setSelected(*l[0], true);
  w.updateCommandStates();
  QApplication::processEvents();
  TLayoutView& view = *w.layoutView();
  const QImage before = view.viewport()->grab().toImage();

  TLaySpinEdit& width = field("SE_Breite");
  knobMouse(width, QEvent::MouseButtonPress, Qt::LeftButton, 8, Qt::LeftButton);
  QApplication::processEvents();
  EXPECT_TRUE(view.holdsUnselected());
  for (int y : {4, 0, -4, -8}) {
    knobMouse(width, QEvent::MouseMove, Qt::NoButton, y, Qt::LeftButton);
    QApplication::processEvents();
  }
  EXPECT_GT(l[0]->dim3, 50);
  EXPECT_TRUE(view.holdsUnselected());
  const QImage held = view.viewport()->grab().toImage();
  knobMouse(width, QEvent::MouseButtonRelease, Qt::LeftButton, -8, Qt::NoButton);
  focus(width.edit(), QEvent::FocusOut);
  EXPECT_FALSE(view.holdsUnselected());
  view.repaintSurface();
  const QImage full = view.viewport()->grab().toImage();
  ASSERT_EQ(held.size(), full.size());
  EXPECT_NE(held, before);
  int wrong = 0;
  for (int y = 0; y < full.height(); ++y)
    for (int x = 0; x < full.width(); ++x)
      if (held.pixel(x, y) != full.pixel(x, y) && wrong++ == 0)
        ADD_FAILURE() << "pixel " << x << "," << y;
  EXPECT_EQ(wrong, 0);
}

TEST_F(ValueFieldsWindowTest, SelectionHighlightAndToolButtonHover) {
  TMainWindow& w = openBoard();
  auto red = [&](const char* name) {
    return field(name).edit()->palette().color(QPalette::Base) == QColor(Qt::red);
  };
  TEditor& ed = w.editor();
  ed.setSelected(*ed.elements()[2], true);
  w.updateCommandStates();
  EXPECT_TRUE(red("SE_Aussen"));
  EXPECT_FALSE(red("SE_Breite"));
  QWidget* track = w.findChild<QWidget*>("SB_Line");
  QEvent enter(QEvent::Enter), leave(QEvent::Leave);
  QApplication::sendEvent(track, &enter);
  EXPECT_TRUE(red("SE_Breite"));
  EXPECT_FALSE(red("SE_Aussen"));
  QApplication::sendEvent(track, &leave);
  EXPECT_FALSE(red("SE_Breite"));
  EXPECT_TRUE(red("SE_Aussen"));
}

TEST_F(ValueFieldsWindowTest, TrackListAddCheckRemoveAndChoose) {
  TMainWindow& w = openBoard();
  TToolPanel& panel = *w.toolPanel();
  QMenu* menu = panel.listButton(TValueField::width)->menu();
  ASSERT_NE(menu, nullptr);
  EXPECT_EQ(opened(menu), (std::vector<std::string>{"Add", "Remove(off)"}));
  entry(menu, "Add")->trigger();
  type("SE_Breite", {"0.3"});
  emit menu->aboutToShow();
  entry(menu, "Add")->trigger();
  EXPECT_EQ(opened(menu),
            (std::vector<std::string>{"[x]0.3 mm", "0.8 mm", "-", "Add(off)", "Remove"}));
  // Choosing 0.8 mm with the 0.5 mm track selected: one undo step, the
  // width is the new default.
  TEditor& ed = w.editor();
  ed.setSelected(*ed.elements()[0], true);
  emit menu->aboutToShow();
  entry(menu, "0.8 mm")->trigger();
  EXPECT_EQ(ed.elements()[0]->dim3, 80);
  EXPECT_EQ(undoSteps(), 1u);
  EXPECT_EQ(w.tools().fields().defaults.trackWidth, 80);
  emit menu->aboutToShow();
  entry(menu, "Remove")->trigger();
  EXPECT_EQ(opened(menu), (std::vector<std::string>{"0.3 mm", "-", "Add", "Remove(off)"}));
}

TEST_F(ValueFieldsWindowTest, PadAndSmdListsHoldCaptions) {
  TMainWindow& w = openBoard();
  TToolPanel& panel = *w.toolPanel();
  QMenu* pads = panel.listButton(TValueField::outer)->menu();
  QMenu* smd = panel.listButton(TValueField::smdWidth)->menu();
  emit pads->aboutToShow();
  entry(pads, "Add")->trigger();
  type("SE_Aussen", {"2.5"});
  type("SE_Innen", {"1.1"});
  emit pads->aboutToShow();
  entry(pads, "Add")->trigger();
  EXPECT_EQ(opened(pads), (std::vector<std::string>{"1.8 x 0.6 mm", "[x]2.5 x 1.1 mm", "-",
                                                    "Add(off)", "Remove"}));
  emit smd->aboutToShow();
  entry(smd, "Add")->trigger();
  EXPECT_EQ(w.settings().valueLists.smdSizes,
            (std::vector<TValueListEntry>{{-1, "0.90 x 1.80 mm"}}));
  // Choosing the first pad size sets both fields, the larger drill first
  // would be clipped otherwise.
  emit pads->aboutToShow();
  entry(pads, "1.8 x 0.6 mm")->trigger();
  EXPECT_EQ(field("SE_Aussen").text().toStdString(), "1.8");
  EXPECT_EQ(field("SE_Innen").text().toStdString(), "0.6");
  // The lists are written to their sections when the settings are saved.
  ASSERT_TRUE(w.writeSettingsFile());
  const TIniFile ini = loadIniFile(path("PLAVESKA.INI"));
  EXPECT_EQ(ini.readString("LA_POPUP", "S0", ""), "1.8 x 0.6 mm");
  EXPECT_EQ(ini.readString("LA_POPUP", "S1", ""), "2.5 x 1.1 mm");
  EXPECT_EQ(ini.readString("SMD_POPUP", "S0", ""), "0.90 x 1.80 mm");
}

TEST_F(ValueFieldsWindowTest, GridDialogAddsAUserGrid) {
  TMainWindow& w = openBoard();
  QToolButton* button = w.toolPanel()->gridButton();
  QMenu* grids = button->menu();
  ASSERT_NE(grids, nullptr);
  EXPECT_TRUE(button->isEnabled());
  testing::answerNextDialog<TRasterDlg>([](TRasterDlg& d) {
    EXPECT_EQ(d.field()->text().toStdString(), "0.50");
    d.accept();
  });
  emit grids->aboutToShow();
  entry(grids, "Add new grid value...")->trigger();
  EXPECT_DOUBLE_EQ(w.editor().working().grid, 50);
  EXPECT_EQ(button->text().toStdString(), "   0.5 mm");
  // The same grid again adds nothing and chooses it.
  w.editor().working().grid = 254;
  testing::answerNextDialog<TRasterDlg>([](TRasterDlg& d) {
    d.field()->setText("0,5");
    d.accept();
  });
  emit grids->aboutToShow();
  entry(grids, "Add new grid value...")->trigger();
  EXPECT_DOUBLE_EQ(w.editor().working().grid, 50);
  ASSERT_EQ(w.settings().valueLists.grids.size(), 1u);
  emit grids->aboutToShow();
  EXPECT_TRUE(entry(grids, "      0.50 mm")->isChecked());
  EXPECT_TRUE(entry(grids, "Remove current grid value")->isEnabled());
  ASSERT_TRUE(w.writeSettingsFile());
  const TIniFile ini = loadIniFile(path("PLAVESKA.INI"));
  EXPECT_EQ(ini.readInteger("R_POPUP", "T8", -1), 50);
  EXPECT_EQ(ini.readString("R_POPUP", "S8", ""), "0.50 mm");
  // A fixed grid: its exact spacing.
  entry(grids, "        2.54 mm (RM)")->trigger();
  EXPECT_DOUBLE_EQ(w.editor().working().grid, 254);
  EXPECT_EQ(button->text().toStdString(), "  2.54 mm");
  // After the next start the user grid shows with the same caption.
  window.reset();
  TMainWindow& again = open();
  QMenu* reread = again.toolPanel()->gridButton()->menu();
  emit reread->aboutToShow();
  EXPECT_NE(entry(reread, "      0.50 mm"), nullptr);
}

}  // namespace
}  // namespace plavesk
