#include "editing/footprint_macros.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <set>

#include "document/file_io.h"
#include "editing/macro_library.h"

namespace plavesk {
namespace {

namespace fs = std::filesystem;

const std::string kFolder = std::string(PLAVESK_SOURCE_DIR) + "/examples/Makros";

TEST(FootprintMacros, TheExampleFolderHoldsExactlyWhatTheCodeWrites) {
  std::set<std::string> made;
  for (const TFootprintMacro& f : footprintMacros()) {
    SCOPED_TRACE(f.fileName);
    made.insert(f.fileName);
    std::vector<uint8_t> committed;
    std::string error;
    ASSERT_TRUE(readWholeFile(kFolder + "/" + f.fileName, committed, error)) << error;
    EXPECT_EQ(committed, encodeMacro(f.macro))
        << "examples/Makros is out of date: rebuild it with make_macros";
  }
  std::set<std::string> present;
  for (const auto& entry : fs::directory_iterator(kFolder)) present.insert(entry.path().filename());
  EXPECT_EQ(present, made);
}

// What each footprint must be to be of use: its pads, one of them at the
// macro's (0, 0) so a drop puts it on a grid point, silkscreen on side 1,
// and two description lines that fit the file's 50 characters.
TEST(FootprintMacros, EachFootprintHasItsPadsOutlineAndDescription) {
  struct Expect {
    int throughPads;
    int smdPads;
  };
  const std::map<std::string, Expect> expected = {
      {"DIL8.lmk", {8, 0}},      {"DIL14.lmk", {14, 0}}, {"DIL16.lmk", {16, 0}},
      {"TO92.lmk", {3, 0}},      {"TO220.lmk", {3, 0}},  {"0805.lmk", {0, 2}},
      {"1206.lmk", {0, 2}},      {"SOT23.lmk", {0, 3}},  {"SOIC8.lmk", {0, 8}},
      {"HEADER1X5.lmk", {5, 0}},
  };
  const std::vector<TFootprintMacro> all = footprintMacros();
  ASSERT_EQ(all.size(), expected.size());
  for (const TFootprintMacro& f : all) {
    SCOPED_TRACE(f.fileName);
    ASSERT_TRUE(expected.count(f.fileName));
    const Expect e = expected.at(f.fileName);
    // Read back from the bytes, as the panel reads the file.
    const std::vector<uint8_t> bytes = encodeMacro(f.macro);
    TMacro read;
    std::string error;
    ASSERT_TRUE(readMacroData(bytes.data(), bytes.size(), f.fileName, read, error)) << error;
    int top = 0, bottom = 0, smd = 0, silk = 0;
    bool pinAtOrigin = false;
    for (const auto& el : read.elements) {
      EXPECT_EQ(el->clearance, 40);
      if (el->kind == kPad) {
        // Every pad is one half of a through pad.
        ASSERT_NE(el->padLink, nullptr);
        EXPECT_EQ(el->padLink->padLink, el.get());
        EXPECT_NE(el->padLink->layer, el->layer);
        ++(el->layer == kCopper1 ? top : bottom);
      }
      if (el->kind == kSmdPad) {
        EXPECT_EQ(el->layer, kCopper1);
        ++smd;
      }
      if (el->layer == kSilk1) ++silk;
      if ((el->kind == kPad || el->kind == kSmdPad) && el->x == 0 && el->y == 0) pinAtOrigin = true;
    }
    EXPECT_EQ(top, e.throughPads);
    EXPECT_EQ(bottom, e.throughPads);
    EXPECT_EQ(smd, e.smdPads);
    EXPECT_GT(silk, 0);
    EXPECT_TRUE(pinAtOrigin);
    EXPECT_EQ(read.description1, f.macro.description1);
    EXPECT_EQ(read.description2, f.macro.description2);
    for (const std::string* line : {&read.description1, &read.description2}) {
      EXPECT_FALSE(line->empty());
      EXPECT_LE(line->size(), size_t(kMacroDescriptionMax));
    }
  }
}

}  // namespace
}  // namespace plavesk
