#include "document/layout_file.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "document/byte_io.h"
#include "document/file_io.h"
#include "support/old_layout_files.h"
#include "support/sample_layout.h"

namespace plavesk {
namespace {

namespace fs = std::filesystem;
using testing::makeLegacyFile;
using testing::makeV3File;
using testing::OldElement;

TReadReport readBytes(TLayout& layout, const std::vector<uint8_t>& bytes, bool import = false) {
  return readLayoutData(layout, bytes.data(), bytes.size(), "test.lay", TReadOptions{import, 1});
}

TEST(LayoutFile, EmptyLayoutIs844BytesPlusComment) {
  TLayout layout;
  layout.addBoard("Board 1");
  EXPECT_EQ(encodeLayout(layout).size(), 844u);
  layout.project.comment = "hello";
  std::vector<uint8_t> bytes = encodeLayout(layout);
  ASSERT_EQ(bytes.size(), 849u);
  EXPECT_EQ(std::vector<uint8_t>(bytes.begin(), bytes.begin() + 4),
            (std::vector<uint8_t>{0x04, 0x33, 0xAA, 0xFF}));

  TLayout back;
  ASSERT_TRUE(readBytes(back, bytes).ok);
  EXPECT_EQ(back.boards.size(), 1u);
  EXPECT_EQ(back.active().name, "Board 1");
  EXPECT_EQ(back.active().record, layout.active().record);
  EXPECT_EQ(back.project, layout.project);
}

TEST(LayoutFile, RoundTripIsByteIdenticalAndKeepsEveryReference) {
  TLayout layout = testing::makeSampleLayout();
  layout.addBoard("Zweite Platine");
  testing::addPad(layout.elements(), 500, -500, 3);
  layout.activateBoard(0);
  const std::vector<uint8_t> bytes = encodeLayout(layout);

  TLayout back;
  TReadReport report = readBytes(back, bytes);
  ASSERT_TRUE(report.ok) << report.error;
  EXPECT_EQ(report.repairs, 0u);
  EXPECT_EQ(encodeLayout(back), bytes);

  TObjektList& l = back.boards[0]->elements;
  ASSERT_EQ(l.size(), 9u);
  EXPECT_EQ(l[0]->padLink, l[1].get());
  EXPECT_EQ(l[1]->padLink, l[0].get());
  EXPECT_EQ(l[3]->connections, (std::vector<TObjekt*>{l[0].get(), l[2].get()}));
  EXPECT_EQ(l[4]->routeFrom, l[0].get());
  EXPECT_EQ(l[4]->routeTo, l[2].get());
  EXPECT_EQ(l[5]->groupIds, (std::vector<int32_t>{2, 3}));
  EXPECT_EQ(l[7]->text, "Äb");
  ASSERT_EQ(l[7]->strokes.size(), 1u);
  EXPECT_EQ(l[7]->strokes[0]->points, (std::vector<TPoint>{{5000, -8000}, {5000, -7500}}));
  EXPECT_EQ(back.project.company, "Firma GmbH");
  EXPECT_EQ(back.boards[1]->name, "Zweite Platine");
  EXPECT_EQ(back.activeBoard, 0);
  EXPECT_EQ(back.working().grid, 127.0);
  EXPECT_FALSE(back.modified);
}

TEST(LayoutFile, TextsAreWindows1252InTheFile) {
  TLayout layout;
  layout.addBoard("Maß €");
  std::vector<uint8_t> bytes = encodeLayout(layout);
  EXPECT_EQ(bytes[8], 5);
  EXPECT_EQ(bytes[9 + 2], 0xDF);   // ß
  EXPECT_EQ(bytes[9 + 4], 0x80);   // €
  layout.active().name = "日本";   // not representable
  TLayout back;
  ASSERT_TRUE(readBytes(back, encodeLayout(layout)).ok);
  EXPECT_EQ(back.active().name, "??");
}

TEST(LayoutFile, LongTextsAreCutWhenWritten) {
  TLayout layout;
  layout.addBoard("B");
  layout.elements().push_back(createText({0, 0}, std::string(300, 'x'), false, false, 2, 0, 1, 1, 500));
  layout.project.comment = std::string(2500, 'c');
  TLayout back;
  ASSERT_TRUE(readBytes(back, encodeLayout(layout)).ok);
  EXPECT_EQ(back.elements()[0]->text.size(), 255u);
  EXPECT_EQ(back.project.comment.size(), 1900u);
}

TEST(LayoutFile, RouteEntriesOfNonTracksAreReadAndDropped) {
  // A writer stores routes for every element with the autorouted byte set;
  // the reader must consume them for every kind, or the rest of the file
  // shifts.
  TLayout layout = testing::makeSampleLayout();
  layout.elements()[5]->autorouted = 1;  // an area
  layout.addBoard("Second");
  testing::addPad(layout.elements(), 1, -1, 1);
  layout.activateBoard(0);
  TLayout back;
  TReadReport report = readBytes(back, encodeLayout(layout));
  ASSERT_TRUE(report.ok) << report.error;
  EXPECT_EQ(back.boards.size(), 2u);
  EXPECT_EQ(back.boards[0]->elements[5]->autorouted, 0);
  EXPECT_EQ(back.boards[0]->elements[4]->routeTo, back.boards[0]->elements[2].get());
  EXPECT_EQ(back.boards[1]->elements.size(), 1u);
}

// Patches one i32 of the encoded sample and reads it back.
struct Patch {
  const char* what;
  std::function<void(TObjektList&)> spoil;
  std::function<void(const TObjektList&)> check;
};

TEST(LayoutFile, InvalidReferencesAreDroppedOnEveryBoard) {
  const Patch patches[] = {
      {"pad link to itself",
       [](TObjektList& l) { l[0]->padLink = l[0].get(); l[1]->padLink = nullptr; },
       [](const TObjektList& l) { EXPECT_EQ(l[0]->padLink, nullptr); }},
      {"pad link to an SMD pad",
       [](TObjektList& l) { l[2]->padLink = l[3].get(); },
       [](const TObjektList& l) { EXPECT_EQ(l[2]->padLink, nullptr); }},
      {"one-way pad link",
       [](TObjektList& l) { l[2]->padLink = l[0].get(); },
       [](const TObjektList& l) {
         EXPECT_EQ(l[2]->padLink, nullptr);
         EXPECT_EQ(l[0]->padLink, l[1].get());
       }},
      {"connection to a track",
       [](TObjektList& l) { l[2]->connections.push_back(l[4].get()); },
       [](const TObjektList& l) { EXPECT_EQ(l[2]->connections, std::vector<TObjekt*>{l[3].get()}); }},
      {"one-sided connection",
       [](TObjektList& l) { l[2]->connections.push_back(l[0].get()); },
       [](const TObjektList& l) {
         EXPECT_EQ(l[2]->connections, std::vector<TObjekt*>{l[3].get()});
         EXPECT_EQ(l[0]->connections, std::vector<TObjekt*>{l[3].get()});
       }},
      {"duplicate connection",
       [](TObjektList& l) { l[0]->connections.push_back(l[3].get()); },
       [](const TObjektList& l) { EXPECT_EQ(l[0]->connections.size(), 1u); }},
      {"route to an area",
       [](TObjektList& l) { l[4]->routeFrom = l[5].get(); },
       [](const TObjektList& l) {
         EXPECT_EQ(l[4]->routeFrom, nullptr);
         EXPECT_EQ(l[4]->routeTo, l[2].get());
       }},
  };
  for (const Patch& p : patches) {
    TLayout layout;
    layout.addBoard("Active");
    TLayout sample = testing::makeSampleLayout();
    layout.boards.push_back(std::move(sample.boards[0]));  // checked although not active
    p.spoil(layout.boards[1]->elements);
    TLayout back;
    TReadReport report = readBytes(back, encodeLayout(layout));
    ASSERT_TRUE(report.ok) << p.what << ": " << report.error;
    EXPECT_GT(report.repairs, 0u) << p.what;
    SCOPED_TRACE(p.what);
    p.check(back.boards[1]->elements);
  }
}

TEST(LayoutFile, ReferencesOutOfRangeAreDropped) {
  TLayout layout = testing::makeSampleLayout();
  std::vector<uint8_t> bytes = encodeLayout(layout);
  // The link index of pad B (element 2) follows its group ids; find it by
  // writing the block again with a marker value.
  layout.elements()[2]->padLink = nullptr;
  std::vector<uint8_t> marked = encodeLayout(layout);
  ASSERT_EQ(marked, bytes);  // pad B had no link: its index is -1
  size_t at = 0;
  {
    TLayout probe = testing::makeSampleLayout();
    probe.elements()[2]->padLink = probe.elements()[2].get();
    std::vector<uint8_t> withSelf = encodeLayout(probe);
    while (at < bytes.size() && bytes[at] == withSelf[at]) ++at;
  }
  ASSERT_LT(at + 4, bytes.size());
  int32_t huge = 1 << 30;
  std::memcpy(bytes.data() + at, &huge, 4);
  TLayout back;
  TReadReport report = readBytes(back, bytes);
  ASSERT_TRUE(report.ok) << report.error;
  EXPECT_EQ(back.elements()[2]->padLink, nullptr);
  EXPECT_GT(report.repairs, 0u);
}

TEST(LayoutFile, TruncatedFilesFailCleanlyAndLeaveTheLayoutAlone) {
  TLayout sample = testing::makeSampleLayout();
  const std::vector<uint8_t> bytes = encodeLayout(sample);
  TLayout layout = testing::makeSampleLayout();
  layout.modified = true;
  const std::vector<uint8_t> before = encodeLayout(layout);
  for (size_t length = 0; length < bytes.size(); ++length) {
    std::vector<uint8_t> cut(bytes.begin(), bytes.begin() + length);
    TReadReport report = readBytes(layout, cut);
    ASSERT_FALSE(report.ok) << "length " << length;
    ASSERT_FALSE(report.error.empty());
  }
  EXPECT_EQ(encodeLayout(layout), before);
  EXPECT_TRUE(layout.modified);
}

TEST(LayoutFile, InconsistentFilesNameWhatIsWrong) {
  struct Case {
    const char* what;
    std::function<void(std::vector<uint8_t>&)> spoil;
    const char* message;
  } cases[] = {
      {"not a layout", [](auto& b) { b[3] = 0; }, "is not a Plavesk file"},
      {"version 5", [](auto& b) { b[0] = 5; }, "is not a Plavesk file"},
      {"board count 0", [](auto& b) { b[4] = 0; }, "board count"},
      {"negative element count",
       [](auto& b) { b[8 + 31 + 490 + 3] = 0x80; }, "element count"},
      {"unknown kind", [](auto& b) { b[8 + 31 + 490 + 4] = 42; }, "unknown kind 42"},
      {"layer 0", [](auto& b) { b[8 + 31 + 490 + 4 + 22] = 0; }, "invalid layer 0"},
  };
  TLayout sample = testing::makeSampleLayout();
  const std::vector<uint8_t> bytes = encodeLayout(sample);
  for (const Case& c : cases) {
    std::vector<uint8_t> spoilt = bytes;
    c.spoil(spoilt);
    TLayout layout;
    TReadReport report = readBytes(layout, spoilt);
    EXPECT_FALSE(report.ok) << c.what;
    EXPECT_NE(report.error.find(c.message), std::string::npos) << c.what << ": " << report.error;
    EXPECT_TRUE(layout.boards.empty()) << c.what;
  }
}

TEST(LayoutFile, CheckMessagesInThreeLanguages) {
  EXPECT_EQ(notLayoutFileMessage("/tmp/x/notes.txt", 0), "\"notes.txt\" ist keine Plavesk Datei.");
  EXPECT_EQ(notLayoutFileMessage("notes.txt", 1), "\"notes.txt\" is not a Plavesk file.");
  EXPECT_EQ(notLayoutFileMessage("notes.txt", 2), "\"notes.txt\" n´est pas un fichier Plavesk.");
  for (uint32_t version = 0; version <= 4; ++version) {
    uint32_t h = kFileMagic + version;
    EXPECT_EQ(layoutFileVersion(reinterpret_cast<uint8_t*>(&h), 4), int(version));
  }
  uint32_t below = kFileMagic - 1;
  EXPECT_FALSE(layoutFileVersion(reinterpret_cast<uint8_t*>(&below), 4));
  EXPECT_FALSE(layoutFileVersion(reinterpret_cast<uint8_t*>(&below), 3));
}

TEST(LayoutFile, Version3ConvertsRecordsLayersAndGroundPlanes) {
  std::vector<OldElement> elements = {
      {kPad, {100, -200, 80, 40, 0}, 1, 2, "", 0, 0, 0, 35, {7}, {}, 1, {2}},
      {kPad, {100, -200, 80, 40, 0}, 3, 2, "", 0, 0, 0, 35, {7}, {}, 0, {}},
      {kSmdPad, {900, -200, 100, 50, 0}, 1, 0, "", 0, 0, 0, 40, {}, {}, -1, {}},
      {kTrack, {0, 0, 0, 0, 50}, 3, 0, "ignored", 0, 0, 0, 40, {}, {{0, 0}, {10, 10}}},
      {kFontText, {10, -10, 500, -300, -20}, 2, 0, "Hallo", 0, 90, 0, 40},
      {kCircle, {0, 0, 300, 200, 90}, 1, 1, "", 0, 45, 1, 40},
  };
  // The connection pad 0 -> SMD 2 is one-sided: version 3 kept none for SMD
  // pads, so the reader must add nothing for it and drop it.
  TLayout layout;
  TReadReport report = readBytes(layout, makeV3File(elements, 1, 0));
  ASSERT_TRUE(report.ok) << report.error;
  EXPECT_EQ(report.version, 3);
  const TBoardRecord& r = layout.working();
  EXPECT_EQ(r.width, 5000);
  EXPECT_EQ(r.groundPlane1, 0);
  EXPECT_EQ(r.groundPlane2, 1);
  EXPECT_EQ(r.layerVisible, (std::array<uint8_t, 4>{1, 1, 1, 1}));
  EXPECT_EQ(layout.active().name, "Alt");
  TObjektList& l = layout.elements();
  ASSERT_EQ(l.size(), 6u);
  EXPECT_EQ(l[0]->layer, 3);
  EXPECT_EQ(l[1]->layer, 1);
  EXPECT_EQ(l[0]->padLink, l[1].get());
  EXPECT_EQ(l[1]->padLink, l[0].get());
  EXPECT_EQ(l[0]->clearance, 35);
  EXPECT_EQ(l[0]->selected, 0);
  EXPECT_TRUE(l[0]->connections.empty());
  EXPECT_EQ(l[3]->text, "");
  EXPECT_EQ(l[4]->text, "Hallo");
  EXPECT_EQ(l[4]->angle, 90);
  EXPECT_EQ(l[5]->filled, 1);
  EXPECT_EQ(l[5]->angle, 45);
  EXPECT_EQ(l[0]->groupIds, std::vector<int32_t>{1}) << "gap before 7 closed";
  EXPECT_EQ(report.fontTextCount, 1);
}

TEST(LayoutFile, LegacyVersionsConvertToOneBoard) {
  std::vector<OldElement> elements = {
      {kTrack, {0, 0, 0, 0, 50}, 1, 0, "", 3, 0, 0, 0, {}, {{10, -10}, {-20, 30}}},
      {kCircle, {500, -500, 300, 200, 90}, 3, 1, "", 3, 45},
      {kFontText, {10, -10, 500, -300, -20}, 2, 0, "Text", 0, 270},
      {kLine, {0, 0, 100, -100, 30}, 2, 0, "", 5},
  };
  for (int version : {0, 1, 2}) {
    SCOPED_TRACE(version);
    TLayout layout;
    TReadReport report = readBytes(layout, makeLegacyFile(version, elements));
    ASSERT_TRUE(report.ok) << report.error;
    ASSERT_EQ(layout.boards.size(), 1u);
    EXPECT_EQ(layout.active().name, "Board 1");
    EXPECT_EQ(layout.working().width, 9000);
    EXPECT_EQ(layout.working().height, 7000);
    TObjektList& l = layout.elements();
    ASSERT_EQ(l.size(), 4u);
    EXPECT_EQ(l[0]->layer, 3);
    EXPECT_EQ(l[0]->points, (std::vector<TPoint>{{10, -10}, {-20, 30}}));
    EXPECT_EQ(l[1]->layer, 1);
    EXPECT_EQ(l[1]->angle, 0) << "legacy circles are full circles";
    EXPECT_EQ(l[1]->dim3, 0);
    EXPECT_EQ(l[2]->text, "Text");
    EXPECT_EQ(l[2]->angle, 270);
    for (auto& e : l) EXPECT_EQ(e->clearance, 40);
    if (version == 1) {
      for (auto& e : l) EXPECT_EQ(e->legacyGroup, 0);
      // Group number 3 has two members and becomes a group; 5 has one.
      EXPECT_EQ(l[0]->groupIds, std::vector<int32_t>{1});
      EXPECT_EQ(l[1]->groupIds, std::vector<int32_t>{1});
      EXPECT_TRUE(l[3]->groupIds.empty());
    } else {
      EXPECT_TRUE(l[0]->groupIds.empty());
    }
  }
}

TEST(LayoutFile, ImportAppendsBoardsAndKeepsTheProject) {
  TLayout other = testing::makeSampleLayout();
  other.addBoard("Imported 2");
  const std::vector<uint8_t> bytes = encodeLayout(other);

  TLayout layout;
  layout.addBoard("Mine");
  layout.project.title = "Mine";
  layout.working().grid = 50;
  TReadReport report = readBytes(layout, bytes, true);
  ASSERT_TRUE(report.ok) << report.error;
  ASSERT_EQ(layout.boards.size(), 3u);
  EXPECT_EQ(layout.boards[1]->name, "Board 1");
  EXPECT_EQ(layout.boards[2]->name, "Imported 2");
  EXPECT_EQ(layout.activeBoard, 0);
  EXPECT_EQ(layout.working().grid, 50);
  EXPECT_EQ(layout.project.title, "Mine");
  EXPECT_TRUE(layout.modified);
}

class LayoutFileOnDisk : public ::testing::Test {
 protected:
  void SetUp() override {
    dir = fs::temp_directory_path() / ("plavesk-test-" + std::to_string(::getpid()));
    fs::create_directories(dir);
  }
  void TearDown() override { fs::remove_all(dir); }
  fs::path dir;
};

TEST_F(LayoutFileOnDisk, FailedSaveKeepsTheOldFileAndTheModifiedFlag) {
  TLayout layout = testing::makeSampleLayout();
  const std::string path = (dir / "board.lay").string();
  std::string error;
  ASSERT_TRUE(writeLayoutFile(layout, path, false, error)) << error;
  std::vector<uint8_t> saved, now;
  ASSERT_TRUE(readWholeFile(path, saved, error));

  layout.elements().pop_back();
  layout.modified = true;
  fs::permissions(dir, fs::perms::owner_read | fs::perms::owner_exec);
  bool ok = writeLayoutFile(layout, path, false, error);
  fs::permissions(dir, fs::perms::owner_all);
  if (::geteuid() == 0) GTEST_SKIP() << "root writes into read-only folders";
  EXPECT_FALSE(ok);
  EXPECT_NE(error.find("board.lay"), std::string::npos);
  EXPECT_TRUE(layout.modified);
  ASSERT_TRUE(readWholeFile(path, now, error));
  EXPECT_EQ(now, saved);
}

TEST_F(LayoutFileOnDisk, FailedRenameRemovesTheTemporaryFile) {
  // A folder in the way of the target makes the final rename fail, even for
  // root.
  TLayout layout = testing::makeSampleLayout();
  layout.modified = true;
  const fs::path target = dir / "board.lay";
  fs::create_directories(target / "inside");
  std::string error;
  EXPECT_FALSE(writeLayoutFile(layout, target.string(), false, error));
  EXPECT_FALSE(error.empty());
  EXPECT_TRUE(layout.modified);
  EXPECT_TRUE(fs::is_directory(target / "inside"));
  EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 1)
      << "no temporary file is left behind";
}

TEST_F(LayoutFileOnDisk, SaveReplacesTheFileAndLeavesNoTemporary) {
  TLayout layout = testing::makeSampleLayout();
  const std::string path = (dir / "board.lay").string();
  std::string error;
  { std::ofstream(path) << "old content"; }
  layout.modified = true;
  ASSERT_TRUE(writeLayoutFile(layout, path, false, error)) << error;
  EXPECT_FALSE(layout.modified);
  EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 1);
  TLayout back;
  TReadReport report = readLayoutFile(back, path, {});
  ASSERT_TRUE(report.ok) << report.error;
  EXPECT_EQ(back.elements().size(), layout.elements().size());

  layout.modified = true;
  ASSERT_TRUE(writeLayoutFile(layout, path, true, error));
  EXPECT_TRUE(layout.modified) << "an autosave leaves the layout modified";
}

TEST_F(LayoutFileOnDisk, MissingFileIsAnError) {
  TLayout layout;
  TReadReport report = readLayoutFile(layout, (dir / "none.lay").string(), {});
  EXPECT_FALSE(report.ok);
  EXPECT_NE(report.error.find("none.lay"), std::string::npos);
}

}  // namespace
}  // namespace plavesk
