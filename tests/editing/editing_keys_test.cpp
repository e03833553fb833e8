// The editing keys of the drawing area and the status hint of each tool mode.
#include "editing/editing_keys.h"

#include <gtest/gtest.h>

#include <sstream>

#include "editing/action_runner.h"
#include "editing/editor.h"
#include "editing/tools/script_host.h"
#include "editing/view_hints.h"
#include "support/sample_layout.h"

namespace plavesk {
namespace {

using testing::addPad;

class EditingKeysTest : public ::testing::Test {
 protected:
  void SetUp() override {
    editor.addBoard("B");
    editor.working().grid = 100;
    session = std::make_unique<TScriptSession>(editor);
  }
  TInputEvent key(const std::string& name, bool ctrl = false, bool alt = false) {
    TInputEvent e;
    e.kind = TInputEvent::keyDown;
    e.key = name;
    e.ctrl = ctrl;
    e.alt = alt;
    return e;
  }
  TPoint position(size_t i) { return {editor.elements()[i]->x, editor.elements()[i]->y}; }

  TEditor editor;
  std::unique_ptr<TScriptSession> session;
};

TEST_F(EditingKeysTest, ArrowsMoveTheSelectionByAGridStepOrOneUnit) {
  addPad(editor.elements(), 1000, -1000).selected = 1;
  struct Case {
    const char* key;
    bool ctrl;
    TPoint after;
  } cases[] = {
      {"Left", false, {900, -1000}},  {"Right", false, {1000, -1000}},
      {"Up", false, {1000, -900}},    {"Down", false, {1000, -1000}},
      {"Right", true, {1001, -1000}}, {"Down", true, {1001, -1001}},
  };
  size_t steps = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.key);
    EXPECT_TRUE(handleEditingKey(session->tools, key(c.key, c.ctrl)));
    EXPECT_EQ(position(0), c.after);
    EXPECT_EQ(editor.layout.active().undoStack.size(), ++steps) << "one undo step a key";
  }
}

TEST_F(EditingKeysTest, AltPassesEveryKeyOn) {
  addPad(editor.elements(), 1000, -1000).selected = 1;
  editor.working().activeLayer = 1;
  for (const char* name : {"Left", "Delete", "F3", "F5", "F12"})
    EXPECT_FALSE(handleEditingKey(session->tools, key(name, false, true))) << name;
  // Nor does the runner's key hand them to the tool (the edit mode's own
  // arrows).
  std::ostringstream out;
  TActionContext context{editor, out, std::shared_ptr<TScriptSession>(session.get(), [](auto*) {})};
  std::string error;
  ASSERT_TRUE(runAction(context, "key Left --alt", error)) << error;
  EXPECT_EQ(position(0), (TPoint{1000, -1000}));
  EXPECT_EQ(editor.elements().size(), 1u);
  EXPECT_EQ(editor.working().activeLayer, 1);
  EXPECT_FALSE(session->tools.values().throughPad);
}

TEST_F(EditingKeysTest, OtherKeysAreNotConsumed) {
  for (const char* name : {"Space", "Escape", "R", "F9", "F10", "F11"})
    EXPECT_FALSE(handleEditingKey(session->tools, key(name))) << name;
}

TEST_F(EditingKeysTest, FunctionKeysReachTheWindowsHandlers) {
  std::vector<std::string> calls;
  TEditingKeyHandlers h;
  h.activeLayer = [&](int l) { calls.push_back("active " + std::to_string(l)); };
  h.visibleLayer = [&](int l) { calls.push_back("visible " + std::to_string(l)); };
  h.throughPad = [&] { calls.push_back("through"); };
  for (const char* name : {"F1", "F4", "F5", "F8", "F12"})
    EXPECT_TRUE(handleEditingKey(session->tools, key(name), h)) << name;
  EXPECT_EQ(calls, (std::vector<std::string>{"active 1", "active 4", "visible 1", "visible 4",
                                             "through"}));
}

TEST_F(EditingKeysTest, DeleteRemovesTheSelectionThenTheLastPointOfATrack) {
  addPad(editor.elements(), 3000, -3000).selected = 1;
  std::ostringstream out;
  TActionContext context{editor, out, std::shared_ptr<TScriptSession>(session.get(), [](auto*) {})};
  std::string error;
  ASSERT_TRUE(runAction(context, "key Delete", error)) << error;
  EXPECT_TRUE(editor.elements().empty());
  // While a track is drawn, Delete takes its last fixed point away.
  for (const char* a : {"tool track", "click 1000 -1000", "click 2000 -1000", "click 2000 -2000",
                        "move 2500 -2500"})
    ASSERT_TRUE(runAction(context, a, error)) << a << ": " << error;
  ASSERT_EQ(editor.elements().size(), 1u);
  const size_t points = editor.elements()[0]->points.size();
  ASSERT_GE(points, 3u);
  ASSERT_TRUE(runAction(context, "key Delete", error)) << error;
  ASSERT_EQ(editor.elements().size(), 1u) << "the track being drawn is no selection";
  EXPECT_EQ(editor.elements()[0]->points.size(), points - 1);
}

TEST(ViewHints, EveryModeAndStateHasItsText) {
  struct Case {
    TToolMode mode;
    bool inProgress;
    bool overNode;
    int firstPad;
    const char* english;
  } cases[] = {
      {TToolMode::edit, false, true, -1,
       "Move corners\rUse right mouse button to add/delete corners"},
      {TToolMode::edit, true, false, -1, "Select: Draw a frame to select objects."},
      {TToolMode::edit, false, false, -1,
       "Edit: Select, move, delete, copy or paste objects.\r<SPACE>=Zoom"},
      {TToolMode::track, true, false, -1,
       "Track: Click to next point or abort with right mouse button.\rUse CTRL to turn capture "
       "off. Use SPACE to switch bend mode."},
      {TToolMode::track, false, false, -1, "Track: Click to start point"},
      {TToolMode::pad, false, false, -1, "Pad: Click to add a pad, abort with right mouse button"},
      {TToolMode::zoom, true, false, -1, "Zoom: Select range"},
      {TToolMode::zoom, false, false, -1, "Zoom: Left=Zoom + / Right=Zoom - / Select range"},
      {TToolMode::area, true, false, -1,
       "Area: Click to next point or abort with right mouse button.\rUse CTRL to turn capture "
       "off. Use SPACE to switch bend mode."},
      {TToolMode::area, false, false, -1, "Area: Click to start point"},
      {TToolMode::circle, false, false, -1, "Circle: Click center and draw radius"},
      {TToolMode::text, false, false, -1,
       "Text: Click to text position, abort with right mouse button"},
      {TToolMode::test, false, false, -1, "Test: Click to find connected areas"},
      {TToolMode::connect, false, false, -1, "Connection: Select first pad"},
      {TToolMode::connect, false, false, 3,
       "Connection: Select second pad for connection, abort with right mouse button"},
      {TToolMode::polygon, false, false, -1,
       "Polygon: Click to destination, abort with right mouse button"},
      {TToolMode::autoroute, false, false, -1,
       "Autoroute: Click on a connection to autoroute.\rClick on an existing autoroute to resolve "
       "it"},
      {TToolMode::measure, false, false, -1,
       "Distance: Click to starting point, then move the mouse with pushed mousebutton"},
      {TToolMode::smdPad, false, false, -1,
       "SMD-Pad: Click to add a SMD-pad, abort with right mouse button"},
  };
  for (const Case& c : cases) {
    TToolState s;
    s.mode = c.mode;
    s.inProgress = c.inProgress;
    s.connectFirstPad = c.firstPad;
    const auto hint = viewHint(s, c.overNode);
    ASSERT_TRUE(hint) << c.english;
    EXPECT_EQ(longHint(*hint, kEnglish), c.english);
    for (int language : {kGerman, kEnglish, kFrench}) {
      const std::string text = pickText(language, *hint);
      EXPECT_EQ(text.rfind('|', 0), 0u) << "an empty tooltip: " << text;
      EXPECT_GT(text.size(), 10u) << text;
    }
  }
  TToolState paste;
  paste.mode = TToolMode::paste;
  EXPECT_FALSE(viewHint(paste, false)) << "paste placement keeps the hint it had";
}

TEST(ViewHints, SpotChecksOfTheGermanAndFrenchTexts) {
  TToolState s;
  s.mode = TToolMode::edit;
  EXPECT_EQ(longHint(*viewHint(s, false), kGerman),
            "Standard: Objekte markieren, verschieben, löschen, kopieren, einfügen.\r<Leertaste> = "
            "Zoomen");
  s.mode = TToolMode::area;
  EXPECT_EQ(longHint(*viewHint(s, false), kFrench), "surface: Cliquez à l´endroit de départ");
  s.mode = TToolMode::autoroute;
  EXPECT_EQ(longHint(*viewHint(s, false), kGerman),
            "Autoroute: Luftlinie oder Autoroute anklicken");
}

// The hint follows the state the mouse leaves behind: the connection tool
// says so once its first pad is picked.
TEST_F(EditingKeysTest, TheConnectionHintChangesOnceTheFirstPadIsPicked) {
  addPad(editor.elements(), 1000, -1000);
  addPad(editor.elements(), 3000, -1000);
  ASSERT_TRUE(session->tools.selectTool(TToolMode::connect));
  session->move({2000, -2000}, {});
  EXPECT_EQ(longHint(*viewHint(session->tools.state(), false), kEnglish),
            "Connection: Select first pad");
  session->press({1000, -1000}, TInputEvent::left, {});
  session->release({1000, -1000}, {});
  session->move({2000, -1000}, {});
  EXPECT_EQ(longHint(*viewHint(session->tools.state(), false), kEnglish),
            "Connection: Select second pad for connection, abort with right mouse button");
}

}  // namespace
}  // namespace plavesk
