#include "editing/layout_commands.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <random>

#include "document/layout_file.h"
#include "support/sample_layout.h"

namespace plavesk {
namespace {

namespace fs = std::filesystem;

// A pad of radius 80 with clearance 40 reaches 120 units from its centre.
TEST(DeleteElementsOutside, RemovesWhatSharesNoAreaWithTheBoard) {
  struct Case {
    const char* what;
    TPoint centre;
    bool kept;
  } cases[] = {
      {"inside", {5000, -5000}, true},
      {"overlapping the left edge", {100, -5000}, true},
      {"touching the left edge only", {-120, -5000}, false},
      {"touching the top edge only", {5000, 120}, false},
      {"far outside", {-5000, 5000}, false},
      {"overlapping the bottom-right corner", {16100, -10100}, true},
  };
  for (const Case& c : cases) {
    TLayout layout;
    layout.addBoard("B");
    TObjekt& pad = testing::addPad(layout.elements(), c.centre.x, c.centre.y);
    TObjekt& other = testing::addPad(layout.elements(), 4000, -4000);
    pad.connections = {&other};
    other.connections = {&pad};
    size_t removed = deleteElementsOutside(layout);
    EXPECT_EQ(removed, c.kept ? 0u : 1u) << c.what;
    EXPECT_EQ(layout.elements().size(), c.kept ? 2u : 1u) << c.what;
    if (!c.kept) {
      EXPECT_TRUE(other.connections.empty()) << c.what;
    }
  }
}

// Circles are settled by a box around the whole circle before their
// outline is made; the outcome must be the one of their exact bounds, also
// for arcs, rings of no width, negative clearances and angles.
TEST(DeleteElementsOutside, CirclesGoExactlyByTheirBounds) {
  std::mt19937 rng(5);
  auto uni = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
  TLayout layout;
  layout.addBoard("B");
  layout.working().width = 10000;
  layout.working().height = 8000;
  for (int i = 0; i < 3000; ++i) {
    const int32_t outer = uni(0, 1200);
    auto c = createCircle({uni(-2000, 12000), uni(-10000, 2000)}, outer, 1, uni(1, 4),
                          outer - uni(-20, outer + 20));
    c->clearance = uni(-60, 60);
    c->angle = uni(0, 3) == 0 ? 0 : uni(-400, 400);
    c->dim3 = uni(0, 3) == 0 ? c->angle : uni(-400, 400);
    c->filled = uni(0, 3) == 0;
    layout.elements().push_back(std::move(c));
  }
  std::vector<const TObjekt*> expected;
  for (const auto& e : layout.elements())
    if (!isOutsideBoard(*e, layout.working())) expected.push_back(e.get());
  ASSERT_GT(expected.size(), 100u);
  ASSERT_LT(expected.size(), 2900u);
  EXPECT_EQ(countElementsOutside(layout), 3000 - expected.size());
  EXPECT_EQ(deleteElementsOutside(layout), 3000 - expected.size());
  std::vector<const TObjekt*> kept;
  for (const auto& e : layout.elements()) kept.push_back(e.get());
  EXPECT_EQ(kept, expected);
}

// An arc goes by where the arc lies, not by where its circle lies: a box
// around the whole circle crosses the board edge in all these cases.
TEST(DeleteElementsOutside, ArcsGoByTheArcNotByItsCircle) {
  struct Case {
    const char* what;
    int32_t centreX;
    int32_t from, to;  // degrees
    bool kept;
  } cases[] = {
      {"centre inside, arc to the left of the board", 500, 170, 190, false},
      {"centre inside, arc inside", 500, 350, 10, true},
      {"centre outside, arc reaching into the board", -500, 350, 10, true},
      {"centre outside, arc further out", -500, 170, 190, false},
  };
  for (const Case& c : cases) {
    TLayout layout;
    layout.addBoard("B");
    auto arc = createCircle({c.centreX, -5000}, 1000, 1, 1, 800);
    arc->angle = c.from;
    arc->dim3 = c.to;
    arc->clearance = 0;
    ASSERT_EQ(isOutsideBoard(*arc, layout.working()), !c.kept) << c.what;
    layout.elements().push_back(std::move(arc));
    EXPECT_EQ(deleteElementsOutside(layout), c.kept ? 0u : 1u) << c.what;
  }
}

class Save : public ::testing::Test {
 protected:
  void SetUp() override {
    dir = fs::temp_directory_path() / ("plavesk-save-" + std::to_string(::getpid()));
    fs::create_directories(dir);
  }
  void TearDown() override { fs::remove_all(dir); }
  fs::path dir;
};

TEST_F(Save, CleansTheActiveBoardOnlyAndAutosaveNothing) {
  TLayout layout;
  layout.addBoard("Other");
  testing::addPad(layout.elements(), -9000, 9000);  // outside, but not active
  TLayout sample = testing::makeSampleLayout();
  layout.boards.push_back(std::move(sample.boards[0]));
  layout.activateBoard(1);
  testing::addPad(layout.elements(), -9000, 9000);  // outside the active board
  layout.elements().push_back(createTrack(20, 1));  // a track of no points
  const size_t activeBefore = layout.elements().size();
  const std::string path = (dir / "b.lay").string();
  std::string error;

  ASSERT_TRUE(saveLayout(layout, path, true, error)) << error;
  EXPECT_EQ(layout.elements().size(), activeBefore) << "autosave deletes nothing";

  layout.modified = true;
  ASSERT_TRUE(saveLayout(layout, path, false, error)) << error;
  EXPECT_FALSE(layout.modified);
  EXPECT_EQ(layout.elements().size(), activeBefore - 2);
  EXPECT_EQ(layout.boards[0]->elements.size(), 1u);

  TLayout back;
  ASSERT_TRUE(readLayoutFile(back, path, {}).ok);
  EXPECT_EQ(back.elements().size(), activeBefore - 2);
  EXPECT_EQ(back.boards[0]->elements.size(), 1u);
}

}  // namespace
}  // namespace plavesk
