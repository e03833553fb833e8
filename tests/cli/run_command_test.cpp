#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
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
  ASSERT_EQ(run({"run", file("in.lay"), "-e", "select-at 3000 -1000", "-e", "copy", "-e", "board 2",
                 "-e", "paste 1000 -2000", "-o", file("copied.lay")}),
            0)
      << errors;
  TLayout copied = read("copied.lay");
  ASSERT_EQ(copied.boards[1]->elements.size(), 4u);
  EXPECT_EQ(copied.boards[1]->elements[2]->x, 4000);
  EXPECT_EQ(copied.boards[0]->elements.size(), 9u);
  EXPECT_EQ(copied.activeBoard, 1);

  ASSERT_EQ(run({"run", file("in.lay"), "-e", "select-at 3000 -1000", "-e", "copy", "-e", "board 2",
                 "-e", "paste 1000 -2000", "-e", "undo", "-o", file("undone.lay")}),
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
      {"press 1", "press: missing Y"},
      {"click 1 2 --middle", "click: unexpected argument \"--middle\""},
      {"tool pencil", "tool: tool \"pencil\" is not one of the choices"},
      {"zoom 2", "zoom: the zoom lies in 0.01..1 pixels per unit"},
      {"key Foo", "key: unknown key \"Foo\""},
      {"keydown", "keydown: missing key"},
      {"node-remove", "node-remove: no corner was chosen"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(
        run({"run", file("in.lay"), "-e", "select-all", "-e", c.action, "-o", file("out.lay")}), 1)
        << c.action;
    EXPECT_NE(errors.find(c.message), std::string::npos) << c.action << ": " << errors;
    EXPECT_NE(errors.find("action 2"), std::string::npos) << errors;
    EXPECT_FALSE(fs::exists(file("out.lay"))) << c.action;
  }
  EXPECT_EQ(run({"run", file("in.lay")}), 1);
}

// Mouse and key actions on points and keys that do nothing are no failures;
// the layout stays as it was.
TEST_F(RunCommand, MouseAndKeysThatDoNothingAreNoFailures) {
  ASSERT_EQ(run({"run", file("in.lay"), "-e", "click -99999 99999",
                 "-e",  "release 0 0",  "-e", "move 15 -15 --ctrl",
                 "-e",  "key F5",       "-e", "keyup Space",
                 "-e",  "key Delete",   "-e", "dblclick 9000 -9000",
                 "-e",  "tool zoom",    "-e", "tool edit",
                 "-e",  "undo-all",     "-o", file("same.lay")}),
            0)
      << errors;
  TLayout before = read("in.lay"), after = read("same.lay");
  ASSERT_EQ(after.boards[0]->elements.size(), before.boards[0]->elements.size());
  for (size_t i = 0; i < before.boards[0]->elements.size(); ++i)
    EXPECT_EQ(after.boards[0]->elements[i]->x, before.boards[0]->elements[i]->x) << i;
}

// A drag at zoom 1 (one unit a pixel) reaches past the 1200 x 800 client
// area, so the runner scrolls there as a user would; the group of pad B
// moves by ten grid steps, and undo-all takes it back.
TEST_F(RunCommand, DragsScrollIntoViewAndUndoAllRestores) {
  const std::vector<std::string> drag = {"-e", "zoom 1",           "-e", "click 3000 -1000",
                                         "-e", "press 3000 -1000", "-e", "move 3600 -1500",
                                         "-e", "move 4280 -2260",  "-e", "release 4280 -2260"};
  std::vector<std::string> args = {"run", file("in.lay")};
  args.insert(args.end(), drag.begin(), drag.end());
  args.insert(args.end(), {"-o", file("moved.lay")});
  ASSERT_EQ(run(args), 0) << errors;
  TLayout moved = read("moved.lay");
  TObjektList& l = moved.boards[0]->elements;
  EXPECT_EQ(l[2]->x, 3000 + 1270);
  EXPECT_EQ(l[2]->y, -1000 - 1270);
  EXPECT_EQ(l[0]->x, 1000 + 1270) << "pad A of the same group";
  EXPECT_EQ(l[1]->x, 1000 + 1270) << "its through partner";
  EXPECT_EQ(l[6]->x, read("in.lay").boards[0]->elements[6]->x) << "outside the group";
  EXPECT_EQ(moved.boards[0]->record.zoom, 1.0);

  args.insert(args.end() - 2, {"-e", "undo-all"});
  ASSERT_EQ(run(args), 0) << errors;
  EXPECT_EQ(read("moved.lay").boards[0]->elements[2]->x, 3000);
}

// Copy, then paste without a displacement: the copy follows the pointer and
// the click places it as one undo step; the node menu works on the corner
// the right click chose.
TEST_F(RunCommand, PastePlacementAndNodeMenu) {
  ASSERT_EQ(
      run({"run", file("in.lay"), "-e", "zoom 0.1", "-e", "click 3000 -1000", "-e", "copy", "-e",
           "paste", "-e", "move 9000 -6000", "-e", "click 9000 -6000", "-o", file("placed.lay")}),
      0)
      << errors;
  TLayout placed = read("placed.lay");
  TObjektList& p = placed.boards[0]->elements;
  ASSERT_EQ(p.size(), 13u);
  // The block keeps its shape, forms a group of its own, and lies around
  // the clicked point.
  EXPECT_EQ(std::abs(p[11]->x - p[9]->x), 2000);
  int32_t left = INT32_MAX, right = INT32_MIN;
  for (size_t i = 9; i < 13; ++i) {
    ASSERT_FALSE(p[i]->groupIds.empty()) << i;
    EXPECT_EQ(p[i]->groupIds.back(), p[9]->groupIds.back()) << i;
    EXPECT_NE(p[i]->groupIds.back(), p[0]->groupIds.back()) << i;
    left = std::min(left, p[i]->x);
    right = std::max(right, p[i]->x);
  }
  EXPECT_LT(left, 9000);
  EXPECT_GT(right, 9000);

  // The last track (100,-100) (200,-200) (300,-100): split at its middle.
  ASSERT_EQ(run({"run", file("in.lay"), "-e", "zoom 1", "-e", "click 200 -200", "-e",
                 "click 200 -200 --right", "-e", "node-split", "-o", file("split.lay")}),
            0)
      << errors;
  TLayout split = read("split.lay");
  ASSERT_EQ(split.boards[0]->elements.size(), 10u);
  EXPECT_EQ(split.boards[0]->elements[8]->points.size(), 2u);
  EXPECT_EQ(split.boards[0]->elements[9]->points, (std::vector<TPoint>{{300, -100}, {200, -200}}));
}

// The track tool from a script: clicks fix corners, the right button ends
// the track; a track ended after its first point is not kept.
TEST_F(RunCommand, TracksAreDrawnWithTheTrackTool) {
  ASSERT_EQ(run({"run", file("in.lay"),
                 "-e",  "zoom 0.1",
                 "-e",  "tool track",
                 "-e",  "click 2540 -5080",
                 "-e",  "move 5080 -5080",
                 "-e",  "click 5080 -5080",
                 "-e",  "click 5080 -5080 --right",
                 "-e",  "click 7620 -2540",
                 "-e",  "click 7620 -2540 --right",
                 "-o",  file("track.lay")}),
            0)
      << errors;
  TLayout drawn = read("track.lay");
  TObjektList& l = drawn.boards[0]->elements;
  ASSERT_EQ(l.size(), 10u) << "one track more, none for the single click";
  EXPECT_EQ(l[9]->kind, kTrack);
  EXPECT_EQ(l[9]->points, (std::vector<TPoint>{{2540, -5080}, {5080, -5080}}));
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
