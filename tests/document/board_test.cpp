#include "document/board.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <map>
#include <random>
#include <set>

namespace plavesk {
namespace {

TEST(Board, NewBoardHasTheDefaults) {
  TLayout layout;
  layout.addBoard("Board 1");
  const TBoardRecord& r = layout.working();
  EXPECT_EQ(r.width, 16000);
  EXPECT_EQ(r.height, 10000);
  EXPECT_EQ(r.grid, 254.0);
  EXPECT_EQ(r.zoom, 0.1);
  EXPECT_EQ(r.activeLayer, 3);
  EXPECT_EQ(r.layerVisible, (std::array<uint8_t, 4>{1, 1, 1, 1}));
  EXPECT_EQ(r.template1Dpi, 600);
  EXPECT_EQ(r.template1Color, 0x0000FF00);
  EXPECT_EQ(r.originX, 0);
  EXPECT_EQ(layout.activeBoard, 0);
}

TEST(BoardRecord, ImageIs490BytesWithFieldsAtTheirOffsets) {
  TBoardRecord r;
  r.width = 12345;
  r.groundPlane2 = 1;
  r.grid = 7.9375;
  r.activeLayer = 2;
  r.layerVisible = {1, 0, 1, 0};
  r.template2File = "C:\\scan\\bottom.bmp";
  r.template2Dpi = 1200;
  r.template2Color = 0x00123456;
  r.originX = -77;
  r.originY = 88;
  std::vector<uint8_t> image = encodeBoardRecord(r);
  ASSERT_EQ(image.size(), size_t(kBoardRecordSize));
  auto i32 = [&](int at) {
    int32_t v;
    std::memcpy(&v, image.data() + at, 4);
    return v;
  };
  double grid;
  std::memcpy(&grid, image.data() + 14, 8);
  EXPECT_EQ(i32(0), 0);
  EXPECT_EQ(i32(4), 12345);
  EXPECT_EQ(image[13], 1);
  EXPECT_EQ(grid, 7.9375);
  EXPECT_EQ(i32(38), 2);
  EXPECT_EQ(image[43], 0);
  EXPECT_EQ(image[249], r.template2File.size());
  EXPECT_EQ(image[250], 'C');
  EXPECT_EQ(i32(454), 1200);
  EXPECT_EQ(i32(478), 0x00123456);
  EXPECT_EQ(i32(482), -77);
  EXPECT_EQ(i32(486), 88);
  EXPECT_EQ(decodeBoardRecord(image.data()), r);
}

TEST(BoardRecord, ValuesOutOfRangeFallBackToTheDefaults) {
  struct Case {
    const char* what;
    void (*spoil)(TBoardRecord&);
    bool (*isDefault)(const TBoardRecord&);
  } cases[] = {
      {"zero grid", [](TBoardRecord& r) { r.grid = 0; }, [](const TBoardRecord& r) { return r.grid == 254.0; }},
      {"negative grid", [](TBoardRecord& r) { r.grid = -3; }, [](const TBoardRecord& r) { return r.grid == 254.0; }},
      {"NaN zoom", [](TBoardRecord& r) { r.zoom = std::numeric_limits<double>::quiet_NaN(); }, [](const TBoardRecord& r) { return r.zoom == 0.1; }},
      {"huge zoom", [](TBoardRecord& r) { r.zoom = 1e300; }, [](const TBoardRecord& r) { return r.zoom == 0.1; }},
      {"zero dpi", [](TBoardRecord& r) { r.template1Dpi = 0; }, [](const TBoardRecord& r) { return r.template1Dpi == 600; }},
      {"negative width", [](TBoardRecord& r) { r.width = -5; }, [](const TBoardRecord& r) { return r.width == 16000; }},
      {"zero height", [](TBoardRecord& r) { r.height = 0; }, [](const TBoardRecord& r) { return r.height == 10000; }},
      {"layer 9", [](TBoardRecord& r) { r.activeLayer = 9; }, [](const TBoardRecord& r) { return r.activeLayer == 3; }},
  };
  for (const Case& c : cases) {
    TBoardRecord r;
    c.spoil(r);
    EXPECT_EQ(sanitizeBoardRecord(r), 1) << c.what;
    EXPECT_TRUE(c.isDefault(r)) << c.what;
  }
  TBoardRecord fine;
  fine.grid = 7.9375;
  fine.zoom = 0.01;
  fine.activeLayer = 0x7701;  // only the low byte counts
  EXPECT_EQ(sanitizeBoardRecord(fine), 0);
  EXPECT_EQ(fine.activeLayer, 1);
}

TEST(Board, SwitchingBoardsRestoresTheWorkingState) {
  TLayout layout;
  layout.addBoard("Board 1");
  layout.working().zoom = 0.37;
  layout.working().scrollX = 120;
  layout.working().scrollY = 45;
  layout.working().grid = 127;
  layout.working().activeLayer = 1;
  layout.working().layerVisible = {1, 0, 0, 1};
  const TBoardRecord first = layout.working();
  layout.addBoard("Board 2");
  EXPECT_EQ(layout.activeBoard, 1);
  EXPECT_EQ(layout.working(), TBoardRecord{});
  layout.working().zoom = 0.5;
  layout.activateBoard(0);
  EXPECT_EQ(layout.working(), first);
  layout.activateBoard(1);
  EXPECT_EQ(layout.working().zoom, 0.5);
}

// No copy of the working state exists that a save or a switch would have to
// store first, and nothing written while no board is active reaches a board.
TEST(Board, WorkingStateIsTheActiveBoardsOwnRecord) {
  TLayout layout;
  layout.working().zoom = 0.5;
  layout.addBoard("Board 1");
  EXPECT_EQ(layout.working(), TBoardRecord{});
  layout.working().grid = 127;
  EXPECT_EQ(layout.boards[0]->record.grid, 127);
  layout.addBoard("Board 2");
  layout.working().grid = 50;
  EXPECT_TRUE(layout.deleteBoard(1));
  EXPECT_EQ(layout.activeBoard, 0);
  EXPECT_EQ(layout.working().grid, 127);
  layout.working().zoom = 0.2;
  layout.close();
  EXPECT_FALSE(layout.hasActiveBoard());
  EXPECT_EQ(layout.working(), TBoardRecord{});
}

TEST(Board, TemplateThatCannotBeLoadedIsDroppedOnActivation) {
  TLayout layout;
  layout.addBoard("Board 1");
  layout.working().template1File = "missing.bmp";
  layout.working().template1Shown = 1;
  layout.working().template2File = "ok.bmp";
  layout.working().template2Shown = 1;
  layout.addBoard("Board 2");
  layout.loadTemplate = [](const std::string& path) { return path == "ok.bmp"; };
  layout.activateBoard(0);
  EXPECT_EQ(layout.working().template1File, "");
  EXPECT_EQ(layout.working().template1Shown, 0);
  EXPECT_EQ(layout.working().template2File, "ok.bmp");
  EXPECT_EQ(layout.working().template2Shown, 1);
}

TEST(Board, MovesKeepTheMovedBoardActive) {
  TLayout layout;
  for (const char* name : {"A", "B", "C"}) layout.addBoard(name);
  auto names = [&] {
    std::string s;
    for (auto& b : layout.boards) s += b->name;
    return s;
  };
  layout.modified = false;
  EXPECT_FALSE(layout.moveBoardRight()) << "the last board cannot move right";
  EXPECT_FALSE(layout.moveBoardToEnd());
  EXPECT_FALSE(layout.modified);
  EXPECT_TRUE(layout.moveBoardToStart());
  EXPECT_EQ(names(), "CAB");
  EXPECT_EQ(layout.activeBoard, 0);
  EXPECT_TRUE(layout.modified);
  EXPECT_FALSE(layout.moveBoardLeft());
  EXPECT_TRUE(layout.moveBoardRight());
  EXPECT_EQ(names(), "ACB");
  EXPECT_EQ(layout.active().name, "C");
}

TEST(Board, DeleteRefusesTheLastBoard) {
  TLayout layout;
  layout.addBoard("A");
  EXPECT_FALSE(layout.deleteBoard(0));
  EXPECT_EQ(layout.boards.size(), 1u);
  layout.addBoard("B");
  layout.addBoard("C");
  layout.modified = false;
  EXPECT_TRUE(layout.deleteBoard(2));
  EXPECT_EQ(layout.active().name, "B");
  EXPECT_TRUE(layout.modified);
  EXPECT_TRUE(layout.deleteBoard(0));
  EXPECT_EQ(layout.active().name, "B");
}

TEST(Board, NamesByLanguageAndLengthLimit) {
  EXPECT_EQ(boardBaseName(0), "Platine ");
  EXPECT_EQ(boardBaseName(1), "Board ");
  EXPECT_EQ(boardBaseName(2), "Carte ");
  TLayout layout;
  layout.addBoard(std::string(40, 'x'));
  EXPECT_EQ(layout.active().name.size(), 30u);
}

TEST(GroupIds, GapsClose) {
  struct Case {
    std::vector<std::vector<int32_t>> before, after;
  } cases[] = {
      {{{1}, {4}}, {{1}, {2}}},
      {{{1}, {4}, {7}}, {{1}, {2}, {3}}},
      {{{2, 5}, {5}}, {{1, 2}, {2}}},
      {{{1}, {2}}, {{1}, {2}}},
      {{{3}, {9, 3}}, {{1}, {7, 1}}},  // an inner id above every outer id moves down too
      {{{}, {}}, {{}, {}}},
  };
  for (const auto& c : cases) {
    TObjektList list;
    for (const auto& ids : c.before) {
      list.push_back(createTrack(10, 1));
      list.back()->groupIds = ids;
    }
    closeGroupIdGaps(list);
    for (size_t i = 0; i < list.size(); ++i) EXPECT_EQ(list[i]->groupIds, c.after[i]) << i;
  }
}

// Closing the gaps the plain way: every used id up to the next group id
// becomes its rank among them, every id above moves down by all the gaps.
void closeGapsPlainly(TObjektList& list) {
  const int32_t next = nextGroupId(list);
  std::set<int32_t> used;
  for (const auto& e : list)
    for (int32_t id : e->groupIds)
      if (id >= 1) used.insert(id);
  auto top = used.upper_bound(next);
  if (top == used.begin()) return;
  const int32_t last = *std::prev(top);
  std::map<int32_t, int32_t> newId;
  int32_t gaps = 0, expected = 1;
  for (int32_t id : used) {
    if (id <= last) {
      gaps += id - expected;
      expected = id + 1;
    }
    newId[id] = id - gaps;
  }
  for (auto& e : list)
    for (int32_t& id : e->groupIds)
      if (id >= 1) id = newId[id];
}

// Random nestings of ids numbered closely (a table of ranks serves) and far
// apart up to the largest id (they are sorted), with zero and negative ids
// that stay as they are.
TEST(GroupIds, GapsCloseAlikeForCloseAndFarApartIds) {
  std::mt19937 rng(3);
  auto uni = [&](int64_t lo, int64_t hi) {
    return std::uniform_int_distribution<int64_t>(lo, hi)(rng);
  };
  for (int round = 0; round < 300; ++round) {
    const int64_t top = round % 3 == 0 ? INT32_MAX : uni(1, 3000);
    TObjektList fast, plain;
    const int64_t n = uni(0, 400);
    for (int64_t i = 0; i < n; ++i) {
      std::vector<int32_t> ids;
      for (int64_t k = uni(0, 3); k > 0; --k)
        ids.push_back(uni(0, 20) == 0 ? int32_t(uni(-5, 0)) : int32_t(uni(1, top)));
      for (TObjektList* list : {&fast, &plain}) {
        list->push_back(createTrack(10, 1));
        list->back()->groupIds = ids;
      }
    }
    closeGroupIdGaps(fast);
    closeGapsPlainly(plain);
    for (size_t i = 0; i < fast.size(); ++i)
      ASSERT_EQ(fast[i]->groupIds, plain[i]->groupIds) << "round " << round << ", element " << i;
  }
}

TEST(PadLinks, OneWayAndForeignLinksAreCleared) {
  TObjektList list;
  for (int i = 0; i < 4; ++i) list.push_back(createPad({i * 100, 0}, 50, 1, 1, 20));
  list.push_back(createSmdPad({0, 0}, 50, 1, 50));
  list[0]->padLink = list[1].get();  // mutual
  list[1]->padLink = list[0].get();
  list[2]->padLink = list[0].get();  // one way
  list[3]->padLink = list[4].get();  // to an SMD pad
  EXPECT_GT(repairPadLinks(list), 0u);
  EXPECT_EQ(list[0]->padLink, list[1].get());
  EXPECT_EQ(list[1]->padLink, list[0].get());
  EXPECT_EQ(list[2]->padLink, nullptr);
  EXPECT_EQ(list[3]->padLink, nullptr);
}

}  // namespace
}  // namespace plavesk
