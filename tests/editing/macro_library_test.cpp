#include "editing/macro_library.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <fstream>

#include "document/file_io.h"
#include "document/layout_file.h"
#include "editing/editor.h"
#include "support/old_layout_files.h"
#include "support/sample_layout.h"

namespace plavesk {
namespace {

namespace fs = std::filesystem;

class Macros : public ::testing::Test {
 protected:
  void SetUp() override {
    dir = fs::temp_directory_path() / ("plavesk-macro-" + std::to_string(::getpid()));
    fs::create_directories(dir);
    editor.addBoard("B");
    editor.working().activeLayer = kCopper1;
  }
  void TearDown() override { fs::remove_all(dir); }
  std::string path(const std::string& name) const { return (dir / name).string(); }

  fs::path dir;
  TEditor editor;
};

TEST_F(Macros, SelectionIsStoredAroundItsUpperLeftPad) {
  TObjektList& l = editor.elements();
  testing::addPad(l, 5500, -3000);
  testing::addPad(l, 5000, -3000);  // upper left: x <= and y >=
  testing::addPad(l, 5000, -3500);
  l.push_back(createTrack(50, kCopper1));
  l.back()->points = {{5000, -3000}, {5500, -3000}};
  l.push_back(createTrack(50, kCopper1));  // degenerate: left out
  l[0]->connections = {l[1].get()};
  l[1]->connections = {l[0].get()};
  editor.selectAll();
  std::string error;
  ASSERT_EQ(saveMacro(editor, path("m.lmk"), error), TMacroSave::saved) << error;

  TMacro macro;
  ASSERT_TRUE(readMacroFile(path("m.lmk"), macro, error)) << error;
  ASSERT_EQ(macro.elements.size(), 4u);
  EXPECT_EQ(macro.elements[1]->x, 0);
  EXPECT_EQ(macro.elements[1]->y, 0);
  EXPECT_EQ(macro.elements[0]->x, 500);
  EXPECT_EQ(macro.elements[3]->points[0], (TPoint{0, 0}));
  for (auto& e : macro.elements) EXPECT_TRUE(e->connections.empty());

  // Pass 2 holds one zero for each of the three pads, pass 3 nothing, then
  // two empty description lines.
  std::vector<uint8_t> bytes;
  ASSERT_TRUE(readWholeFile(path("m.lmk"), bytes, error));
  ASSERT_GT(bytes.size(), 3u * 4 + 2 * 51);
  const size_t tail = bytes.size() - 2 * 51;
  for (size_t i = tail - 12; i < bytes.size(); ++i) EXPECT_EQ(bytes[i], 0) << i;
  EXPECT_EQ(encodeMacro(macro), bytes) << "macros read and write byte for byte";
}

TEST_F(Macros, WithoutPadsTheTopLeftCornerSnappedIsTheReference) {
  TObjektList l;
  l.push_back(createTrack(40, kSilk1));
  l.back()->points = {{1000, -1000}, {3000, -2000}};
  // Bounds: x from 1000 - 20 = 980, top y -1000 + 20 = -980; snapped to 254.
  EXPECT_EQ(macroReferencePoint(l, 254.0), (TPoint{1016, -1016}));
  EXPECT_EQ(macroReferencePoint(TObjektList{}, 254.0), (TPoint{0, 0}));
}

TEST_F(Macros, NothingToSaveOnAnEmptyBoard) {
  std::string error;
  EXPECT_EQ(saveMacro(editor, path("none.lmk"), error), TMacroSave::noElements);
  EXPECT_EQ(error, "There are no elements on the board.");
  EXPECT_FALSE(fs::exists(path("none.lmk")));
}

TEST_F(Macros, InsertionMakesThroughPadsAndSeparateGroups) {
  TMacro macro;
  macro.elements.push_back(createPad({0, 0}, 80, kPadRound, kCopper1, 40));
  macro.elements.push_back(createPad({254, 0}, 80, kPadRound, kCopper1, 40));
  macro.elements.push_back(createPad({254, 0}, 80, kPadRound, kCopper2, 40));
  macro.elements[1]->padLink = macro.elements[2].get();
  macro.elements[2]->padLink = macro.elements[1].get();
  std::string error;
  ASSERT_TRUE(writeMacroFile(path("dip.lmk"), macro, error)) << error;

  TMacroPreview preview;
  ASSERT_TRUE(preview.load(path("dip.lmk"), kCopper1, 254.0, error)) << error;
  preview.setThroughPads(true);
  editor.insertElements(preview.macro.elements, {1000, -1000});
  TObjektList& l = editor.elements();
  ASSERT_EQ(l.size(), 4u) << "the plain pad got a partner";
  EXPECT_EQ(l[0]->padLink, l[3].get());
  EXPECT_EQ(l[3]->layer, kCopper2);
  EXPECT_EQ(l[3]->x, 1000);
  EXPECT_EQ(l[1]->padLink, l[2].get()) << "the existing pair stays linked";
  EXPECT_EQ(l[1]->x, 1254);
  for (auto& e : l) EXPECT_EQ(e->groupIds, std::vector<int32_t>{1});

  editor.insertElements(preview.macro.elements, {3000, -1000});
  ASSERT_EQ(l.size(), 8u);
  for (size_t i = 4; i < 8; ++i) EXPECT_EQ(l[i]->groupIds, std::vector<int32_t>{2});
  ASSERT_TRUE(editor.undo());
  EXPECT_EQ(l.size(), 4u) << "an insertion is one undo step";
}

TEST_F(Macros, PreviewTurnsToTheActiveSide) {
  TMacro macro;
  macro.elements.push_back(createPad({100, 0}, 80, kPadRound, kCopper1, 40));
  macro.elements.push_back(createTrack(20, kSilk1));
  macro.elements.back()->points = {{0, 0}, {300, 0}};
  std::string error;
  ASSERT_TRUE(writeMacroFile(path("side1.lmk"), macro, error));
  struct Case {
    int activeLayer;
    bool flipped;
  } cases[] = {{kCopper1, false}, {kSilk1, false}, {kCopper2, true}, {kSilk2, true}};
  for (const Case& c : cases) {
    TMacroPreview preview;
    ASSERT_TRUE(preview.load(path("side1.lmk"), c.activeLayer, 254.0, error));
    EXPECT_EQ(preview.mirrored, c.flipped) << c.activeLayer;
    EXPECT_EQ(preview.otherSide, c.flipped) << c.activeLayer;
    EXPECT_EQ(preview.macro.elements[0]->layer, c.flipped ? kCopper2 : kCopper1);
    EXPECT_EQ(preview.macro.elements[0]->x, c.flipped ? -100 : 100);
  }
  // A macro of silkscreen only stays where it is when a copper layer of its
  // side is active.
  TMacro silk;
  silk.elements.push_back(createTrack(20, kSilk1));
  silk.elements.back()->points = {{0, 0}, {300, 0}};
  ASSERT_TRUE(writeMacroFile(path("silk.lmk"), silk, error));
  TMacroPreview preview;
  ASSERT_TRUE(preview.load(path("silk.lmk"), kCopper1, 254.0, error));
  EXPECT_FALSE(preview.mirrored);
}

TEST_F(Macros, TypedDescriptionsAreSavedBackWithoutTheToggles) {
  TMacro macro;
  macro.elements.push_back(createPad({0, 0}, 80, kPadRound, kCopper1, 40));
  macro.elements.push_back(createPad({500, 0}, 80, kPadRound, kCopper1, 40));
  std::string error;
  ASSERT_TRUE(writeMacroFile(path("r.lmk"), macro, error));
  std::vector<uint8_t> original = encodeMacro(macro);

  TMacroPreview preview;
  ASSERT_TRUE(preview.load(path("r.lmk"), kCopper2, 254.0, error));  // flipped
  preview.setThroughPads(true);
  preview.setDescription(1, "Widerstand");
  preview.setDescription(2, "Rastermaß 5 mm");
  ASSERT_TRUE(preview.saveDescriptions(254.0, error)) << error;
  EXPECT_FALSE(preview.textsChanged);
  EXPECT_TRUE(preview.mirrored) << "the panel keeps showing its toggles";

  TMacro back;
  ASSERT_TRUE(readMacroFile(path("r.lmk"), back, error));
  EXPECT_EQ(back.description1, "Widerstand");
  EXPECT_EQ(back.description2, "Rastermaß 5 mm");
  back.description1.clear();
  back.description2.clear();
  EXPECT_EQ(encodeMacro(back), original) << "the elements are stored as before";
}

TEST_F(Macros, OlderVersionsAndBadFiles) {
  std::vector<testing::OldElement> old = {
      {kPad, {0, 0, 80, 40, 0}, 1, 1, "", 0, 0, 0, 40},
      {kTrack, {0, 0, 0, 0, 30}, 6, 0, "", 0, 0, 0, 40, {}, {{0, 0}, {100, 0}}},
  };
  // A legacy macro is the element block right after the header.
  std::vector<uint8_t> layout = testing::makeLegacyFile(2, old);
  std::vector<uint8_t> bytes(layout.begin(), layout.begin() + 4);
  bytes.insert(bytes.end(), layout.begin() + 12, layout.end());
  { std::ofstream(path("old.lmk"), std::ios::binary).write(reinterpret_cast<char*>(bytes.data()), std::streamsize(bytes.size())); }
  TMacroPreview preview;
  std::string error;
  ASSERT_TRUE(preview.load(path("old.lmk"), kCopper2, 254.0, error)) << error;
  ASSERT_EQ(preview.macro.elements.size(), 2u);
  EXPECT_EQ(preview.macro.elements[0]->layer, kCopper2) << "copper layers swapped";
  EXPECT_EQ(preview.macro.elements[1]->layer, kSilk1) << "layer 6 is read as 2";

  { std::ofstream(path("bad.lmk")) << "not a macro"; }
  EXPECT_FALSE(preview.load(path("bad.lmk"), kCopper1, 254.0, error));
  EXPECT_TRUE(preview.macro.elements.empty());
  EXPECT_TRUE(preview.macro.description1.empty());
}

TEST_F(Macros, FolderTreeAndFileList) {
  for (const char* folder : {"b/inner", "a", ".hidden"}) fs::create_directories(dir / folder);
  for (const char* file : {"x.LMK", "a.lmk", "note.txt"}) std::ofstream(dir / file) << "";
  TMacroFolder tree = macroFolderTree(dir.string());
  ASSERT_EQ(tree.children.size(), 2u);
  EXPECT_EQ(tree.children[0].name, "a");
  EXPECT_EQ(tree.children[1].name, "b");
  ASSERT_EQ(tree.children[1].children.size(), 1u);
  EXPECT_EQ(macroFiles(dir.string()), (std::vector<std::string>{"a.lmk", "x.LMK"}));
}

}  // namespace
}  // namespace plavesk
