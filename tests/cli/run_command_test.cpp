#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <sstream>

#include "cli/commands/cli.h"
#include "document/file_io.h"
#include "document/layout_file.h"
#include "support/sample_layout.h"

namespace plavesk {
namespace {

namespace fs = std::filesystem;

class RunCommand : public ::testing::Test {
 protected:
  void SetUp() override {
    dir = fs::temp_directory_path() / ("plavesk-run-" + std::to_string(::getpid()));
    fs::create_directories(dir);
    TLayout layout = testing::makeSampleLayout();
    layout.addBoard("Empty");
    layout.activateBoard(0);
    std::string error;
    ASSERT_TRUE(writeLayoutFile(layout, file("in.lay"), false, error)) << error;
  }
  void TearDown() override { fs::remove_all(dir); }
  std::string file(const std::string& name) const { return (dir / name).string(); }
  int run(std::vector<std::string> args) {
    std::ostringstream out, err;
    int status = runCli(args, out, err);
    errors = err.str();
    return status;
  }
  TLayout read(const std::string& name) {
    TLayout layout;
    TReadReport report = readLayoutFile(layout, file(name), {});
    EXPECT_TRUE(report.ok) << report.error;
    return layout;
  }

  fs::path dir;
  std::string errors;
};

TEST_F(RunCommand, CopiesToAnotherBoardAndUndoes) {
  // Pad B at (3000, -1000) and its group (pads A, A', SMD) go to board 2.
  ASSERT_EQ(run({"run", file("in.lay"), "-e", "select-at 3000 -1000", "-e", "copy", "-e",
                 "board 2", "-e", "paste 1000 -2000", "-o", file("copied.lay")}),
            0)
      << errors;
  TLayout copied = read("copied.lay");
  ASSERT_EQ(copied.boards[1]->elements.size(), 4u);
  EXPECT_EQ(copied.boards[1]->elements[2]->x, 4000);
  EXPECT_EQ(copied.boards[0]->elements.size(), 9u);
  EXPECT_EQ(copied.activeBoard, 1);

  ASSERT_EQ(run({"run", file("in.lay"), "-e", "select-at 3000 -1000", "-e", "copy", "-e",
                 "board 2", "-e", "paste 1000 -2000", "-e", "undo", "-o", file("undone.lay")}),
            0)
      << errors;
  EXPECT_TRUE(read("undone.lay").boards[1]->elements.empty());
}

TEST_F(RunCommand, BadActionsStopWithoutSaving) {
  struct Case {
    std::string action;
    std::string message;
  } cases[] = {
      {"explode", "unknown action \"explode\""},
      {"paste 1", "paste: missing DY"},
      {"paste 1 2 3", "unexpected argument \"3\""},
      {"board x", "board: board number \"x\" is not a whole number"},
      {"board 7", "board: the layout has boards 1 to 2"},
      {"undo", "undo: nothing to undo"},
      {"undo-depth 99", "1..50"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(run({"run", file("in.lay"), "-e", "select-all", "-e", c.action, "-o", file("out.lay")}), 1)
        << c.action;
    EXPECT_NE(errors.find(c.message), std::string::npos) << c.action << ": " << errors;
    EXPECT_NE(errors.find("action 2"), std::string::npos) << errors;
    EXPECT_FALSE(fs::exists(file("out.lay"))) << c.action;
  }
  EXPECT_EQ(run({"run", file("in.lay")}), 1);
}

TEST_F(RunCommand, MacrosGoThroughFilesAndQuotedPaths) {
  fs::create_directories(dir / "my macros");
  const std::string macro = (dir / "my macros" / "pads.lmk").string();
  ASSERT_EQ(run({"run", file("in.lay"), "-e", "select-at 3000 -1000", "-e",
                 "macro-save \"" + macro + "\"", "-e", "board 2", "-e",
                 "macro-insert \"" + macro + "\" 5000 -5000 --through-pads", "-o", file("m.lay")}),
            0)
      << errors;
  TLayout layout = read("m.lay");
  TObjektList& l = layout.boards[1]->elements;
  // Pads A and A' are already a pair; pad B gets its partner. Board 2 has
  // copper side 2 active, so the side-1 macro arrives flipped: B on side 2,
  // its partner on side 1.
  ASSERT_EQ(l.size(), 5u);
  EXPECT_EQ(l[4]->padLink, l[2].get());
  EXPECT_EQ(l[2]->layer, kCopper2);
  EXPECT_EQ(l[4]->layer, kCopper1);
  EXPECT_EQ(l[2]->x, 5000 - 3000 + 1000) << "mirrored about the reference pad A";
  for (auto& e : l) EXPECT_EQ(e->groupIds, std::vector<int32_t>{1});
}

}  // namespace
}  // namespace plavesk
