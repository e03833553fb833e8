#include "editing/command_table.h"

#include <gtest/gtest.h>

#include <set>
#include <sstream>
#include <string>

#include "editing/action_runner.h"
#include "editing/editor.h"
#include "support/sample_layout.h"

namespace plavesk {
namespace {

bool filled(const char* text) {
  return text && *text;
}

TEST(CommandTable, EveryEntryIsCompleteInThreeLanguages) {
  std::set<std::string_view> ids, actionNames, controls, shortcuts;
  for (const TCommand& c : commandTable()) {
    SCOPED_TRACE(std::string(c.id));
    EXPECT_TRUE(ids.insert(c.id).second) << "duplicate id";
    EXPECT_TRUE(c.action.empty() || actionNames.insert(c.action).second) << "duplicate action";
    EXPECT_TRUE(c.control.empty() || controls.insert(c.control).second) << "duplicate control";
    EXPECT_TRUE(c.shortcut.empty() || shortcuts.insert(c.shortcut).second) << "shared shortcut";
    EXPECT_TRUE(c.caption.de || hasHint(c)) << "neither caption nor hint";
    for (int language : {kGerman, kEnglish, kFrench}) {
      EXPECT_FALSE(commandCaption(c, language).empty()) << "language " << language;
      EXPECT_TRUE(!c.caption.de || filled(pickText(language, c.caption))) << language;
      if (hasHint(c)) {
        const std::string hint = pickText(language, c.hint);
        const size_t bar = hint.find('|');
        ASSERT_NE(bar, std::string::npos) << "hint without its long part: " << hint;
        EXPECT_GT(bar, 0u) << hint;
        EXPECT_LT(bar + 1, hint.size()) << hint;
      }
    }
  }
}

TEST(CommandTable, RunnerActionsAndEntriesMatch) {
  for (const auto& [name, entry] : actions())
    EXPECT_NE(findCommandForAction(name), nullptr) << "runner action without an entry: " << name;
  for (const TCommand& c : commandTable())
    EXPECT_TRUE(c.action.empty() || actions().count(std::string(c.action)))
        << c.id << " names the unknown action " << c.action;
}

TEST(CommandTable, LookupsFindTheirEntry) {
  EXPECT_EQ(findCommand("edit.undo")->action, "undo");
  EXPECT_EQ(findCommandForAction("undo")->id, "edit.undo");
  EXPECT_EQ(findCommandForControl("SB_Line")->id, "tool.track");
  EXPECT_EQ(commandCaption(*findCommand("tool.track"), kEnglish), "Track");
  EXPECT_EQ(commandCaption(*findCommand("tool.smd"), kEnglish), "SMD-Pad");
  EXPECT_EQ(findCommand("no.such"), nullptr);
  EXPECT_EQ(findCommandForAction(""), nullptr);
}

// The runner refuses a command exactly when its menu entry is disabled.
class RunnerRules : public ::testing::Test {
 protected:
  void SetUp() override {
    editor.addBoard("B");
    for (int i = 0; i < 3; ++i) testing::addPad(editor.elements(), 1000 + i * 300, -500);
  }
  bool run(const std::string& action) {
    std::ostringstream out;
    TActionContext context{editor, out};
    return runAction(context, action, error);
  }
  TEditor editor;
  std::string error;
};

TEST_F(RunnerRules, DisabledCommandsAreRefusedWithTheirReason) {
  struct Case {
    const char* setup;  // run first, must succeed; "" for none
    const char* action;
    const char* message;
  } cases[] = {
      {"", "copy", "copy: nothing is selected"},
      {"", "ungroup", "ungroup: no selected element belongs to a group"},
      {"select-at 1000 -500", "group", "group: select elements of more than one group"},
      {"", "paste 0 0", "paste: the clipboard is empty"},
      {"", "paste", "paste: the clipboard is empty"},
      {"", "redo", "redo: nothing to redo"},
  };
  for (const Case& c : cases) {
    SetUp();
    if (*c.setup) {
      ASSERT_TRUE(run(c.setup)) << error;
    }
    EXPECT_FALSE(run(c.action)) << c.action;
    EXPECT_EQ(error, c.message);
  }
}

TEST_F(RunnerRules, ArgumentsAreCheckedFromTheTable) {
  struct Case {
    const char* action;
    const char* message;
  } cases[] = {
      {"select-at 1", "select-at: missing Y"},
      {"select-at 1 2.5", "select-at: Y \"2.5\" is not a whole number"},
      {"layer 0", "layer: the layers are 1 to 4"},
      {"undo-depth 51", "undo-depth: the number of undo steps must lie in 1..50"},
      {"route-all --width", "route-all: missing width in mm"},
      {"route-all --width x", "route-all: width in mm \"x\" is not a number"},
      {"ground-plane half", "ground-plane: say on or off"},
      {"deselect now", "deselect: unexpected argument \"now\""},
  };
  for (const Case& c : cases) {
    EXPECT_FALSE(run(c.action)) << c.action;
    EXPECT_EQ(error, c.message);
  }
  EXPECT_TRUE(run("macro-insert --mirror missing.lmk 0 0") == false);
  EXPECT_EQ(error.rfind("macro-insert: ", 0), 0u) << error;
  EXPECT_EQ(error.find("missing"), error.find("missing.lmk")) << "the path, not a missing word";
}

TEST(ActionUsage, IsMadeFromTheParameters) {
  EXPECT_EQ(actionUsage("paste", actions().at("paste")), "paste [DX DY]");
  EXPECT_EQ(actionUsage("click", actions().at("click")), "click X Y [--right] [--shift] [--ctrl]");
  EXPECT_EQ(actionUsage("route", actions().at("route")), "route I J [--width MM] [--clearance MM]");
  EXPECT_EQ(actionUsage("ground-plane", actions().at("ground-plane")), "ground-plane on|off");
  EXPECT_EQ(actionUsage("macro-insert", actions().at("macro-insert")),
            "macro-insert PATH X Y [--mirror] [--other-side] [--through-pads]");
}

}  // namespace
}  // namespace plavesk
