// The runner's side of the connection, test and autoroute tools and of the
// macro panel: the mouse actions in those tools, `autoroute-options` and
// `macro-drop`.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <sstream>

#include "document/file_io.h"
#include "editing/action_runner.h"
#include "editing/editor.h"
#include "editing/tools/macro_drag.h"
#include "editing/tools/script_host.h"
#include "support/sample_layout.h"

namespace plavesk {
namespace {

namespace fs = std::filesystem;
using testing::addPad;

const std::string kMacros = std::string(PLAVESK_SOURCE_DIR) + "/examples/Makros/";

class ConnectionActions : public ::testing::Test {
 protected:
  void SetUp() override {
    editor.newLayout("Test");
    TBoardRecord& r = editor.working();
    r.width = 8000;
    r.height = 5000;
    r.grid = 127;
    r.activeLayer = kCopper1;
    addPad(editor.elements(), 1016, -1016);
    addPad(editor.elements(), 4064, -1016);
    dir = fs::temp_directory_path() / ("plavesk-actions-" + std::to_string(::getpid()));
    fs::create_directories(dir);
  }
  void TearDown() override { fs::remove_all(dir); }

  bool run(const std::string& action) {
    out.str("");
    error.clear();
    return runAction(context, action, error);
  }
  void runAll(std::initializer_list<const char*> actions) {
    for (const char* a : actions) ASSERT_TRUE(run(a)) << a << ": " << error;
  }
  TObjektList& list() { return editor.elements(); }
  size_t undoSteps() { return editor.layout.active().undoStack.size(); }

  TEditor editor;
  std::ostringstream out;
  std::string error;
  TActionContext context{editor, out};
  fs::path dir;
};

TEST_F(ConnectionActions, ABandDrawnRoutedAndUnroutedWithTheMouse) {
  runAll({"tool connect", "click 1016 -1016", "move 2500 -2000", "click 4064 -1016"});
  ASSERT_EQ(list()[0]->connections, std::vector<TObjekt*>{list()[1].get()});
  runAll({"tool autoroute", "autoroute-options 0.5 0.2", "move 2540 -1016", "click 2540 -1016"});
  ASSERT_EQ(list().size(), 3u);
  EXPECT_EQ(list()[2]->dim3, 50);
  EXPECT_TRUE(list()[2]->autorouted);
  EXPECT_TRUE(list()[0]->connections.empty());
  runAll({"move 2000 -3000", "move 2540 -1016", "click 2540 -1016"});
  EXPECT_EQ(list().size(), 2u);
  EXPECT_EQ(list()[0]->connections, std::vector<TObjekt*>{list()[1].get()});
  // Test mode: the pad alone, its net has nothing else.
  runAll({"tool test", "click 1016 -1016"});
  EXPECT_TRUE(list()[0]->selected);
  EXPECT_FALSE(list()[1]->selected);
}

TEST_F(ConnectionActions, AutorouteOptionsAreCheckedLikeTheWindowsFields) {
  struct Case {
    const char* action;
    const char* message;
  } cases[] = {
      {"autoroute-options 0.05 0.2",
       "autoroute-options: width and clearance must lie in 0.1..9.9 mm"},
      {"autoroute-options 0.4 10",
       "autoroute-options: width and clearance must lie in 0.1..9.9 mm"},
      {"autoroute-options 0.4", "autoroute-options: missing"},
      {"autoroute-options wide 0.2",
       "autoroute-options: track width in mm \"wide\" is not a number"},
  };
  for (const Case& c : cases) {
    EXPECT_FALSE(run(c.action)) << c.action;
    EXPECT_EQ(error.rfind(c.message, 0), 0u) << c.action << ": " << error;
  }
  ASSERT_TRUE(run("autoroute-options 9.9 0.1")) << error;
  EXPECT_DOUBLE_EQ(context.session->tools.autorouter().widthMm, 9.9);
  EXPECT_DOUBLE_EQ(context.session->tools.autorouter().clearanceMm, 0.1);
}

TEST_F(ConnectionActions, MacroDropIsSnappedHeldOnTheBoardAndOneStep) {
  // The pointer snapped to the 1.27 mm grid and held on the 80 x 50 mm
  // board: beyond the right edge the last grid line inside (62 x 1.27 mm),
  // not the grid line nearest the edge, which lies outside.
  struct Case {
    TPoint pointer;
    TPoint placed;
  } cases[] = {
      {{2600, -2600}, {2540, -2540}},
      {{-900, -2600}, {0, -2540}},
      {{9000, 2000}, {7874, 0}},
      {{4000, -6000}, {3937, -4953}},
  };
  for (const Case& c : cases) {
    const size_t before = list().size();
    const size_t steps = undoSteps();
    const std::string action = "macro-drop " + kMacros + "DIL8.lmk " + std::to_string(c.pointer.x) +
                               " " + std::to_string(c.pointer.y);
    ASSERT_TRUE(run(action)) << error;
    // Eight through pads (sixteen pads) and the outline with its notch.
    EXPECT_EQ(list().size() - before, 18u);
    EXPECT_EQ(undoSteps(), steps + 1);
    EXPECT_EQ(context.session->tools.macroDrag().offset(), c.placed) << action;
    EXPECT_EQ(out.str(), "macro-drop: 18 elements at " + std::to_string(c.placed.x) + " " +
                             std::to_string(c.placed.y) + "\n");
  }
}

TEST_F(ConnectionActions, MacroDropOfABadFileSaysSoAndChangesNothing) {
  std::vector<uint8_t> good;
  std::string readError;
  ASSERT_TRUE(readWholeFile(kMacros + "DIL8.lmk", good, readError)) << readError;
  const std::string truncated = (dir / "cut.lmk").string();
  const std::string foreign = (dir / "foreign.lmk").string();
  ASSERT_TRUE(writeFileAtomically(truncated, std::vector<uint8_t>(good.begin(), good.begin() + 60),
                                  readError));
  ASSERT_TRUE(writeFileAtomically(foreign, std::vector<uint8_t>{'G', 'I', 'F', '8', '9', 'a', 0, 0},
                                  readError));
  for (const std::string& path : {truncated, foreign, (dir / "missing.lmk").string()}) {
    EXPECT_FALSE(run("macro-drop " + path + " 1000 -1000")) << path;
    EXPECT_EQ(error.rfind("macro-drop: ", 0), 0u) << error;
    EXPECT_GT(error.size(), std::string("macro-drop: ").size()) << path;
  }
  EXPECT_EQ(list().size(), 2u);
  EXPECT_EQ(undoSteps(), 0u);
}

}  // namespace
}  // namespace plavesk
