#include "cli/commands/cli.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "document/file_io.h"
#include "document/layout_file.h"
#include "support/old_layout_files.h"
#include "support/sample_layout.h"

namespace plavesk {
namespace {

namespace fs = std::filesystem;

struct CliRun {
  int status;
  std::string out, err;
};

CliRun cli(std::vector<std::string> args) {
  std::ostringstream out, err;
  int status = runCli(args, out, err);
  return {status, out.str(), err.str()};
}

class Cli : public ::testing::Test {
 protected:
  void SetUp() override {
    dir = fs::temp_directory_path() / ("plavesk-cli-" + std::to_string(::getpid()));
    fs::create_directories(dir);
  }
  void TearDown() override { fs::remove_all(dir); }
  std::string path(const std::string& name) const { return (dir / name).string(); }
  std::string write(const std::string& name, const std::vector<uint8_t>& bytes) const {
    std::ofstream(path(name), std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    return path(name);
  }
  std::vector<uint8_t> read(const std::string& name) const {
    std::vector<uint8_t> bytes;
    std::string error;
    EXPECT_TRUE(readWholeFile(path(name), bytes, error)) << error;
    return bytes;
  }
  fs::path dir;
};

TEST_F(Cli, InfoJsonHasTheDocumentedShape) {
  TLayout layout;
  layout.addBoard("Board 1");
  const std::string file = write("new.lay", encodeLayout(layout));
  CliRun r = cli({"info", file, "--json"});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out,
            "{\"version\":4,\"activeBoard\":0,\"project\":{\"title\":\"\",\"author\":\"\","
            "\"company\":\"\",\"comment\":\"\"},\"boards\":[{\"name\":\"Board 1\",\"width\":16000,"
            "\"height\":10000,\"groundPlane1\":0,\"groundPlane2\":0,\"grid\":254.0,\"zoom\":0.1,"
            "\"activeLayer\":3,\"layerVisible\":[1,1,1,1],\"originX\":0,\"originY\":0,"
            "\"elementCount\":0}]}\n");
}

TEST_F(Cli, InfoElementsGivesReferencesAsIndexes) {
  TLayout layout = testing::makeSampleLayout();
  const std::string file = write("sample.lay", encodeLayout(layout));
  CliRun r = cli({"info", file, "--json", "--elements"});
  ASSERT_EQ(r.status, 0) << r.err;
  const std::string& s = r.out;
  // Element 0: a pad linked to 1, connected to the SMD pad 3.
  size_t first = s.find("\"elements\":[{\"kind\":2,\"x\":1000,\"y\":-1000");
  ASSERT_NE(first, std::string::npos) << s;
  EXPECT_NE(s.find("\"padLink\":1,\"connections\":[3]", first), std::string::npos);
  EXPECT_NE(s.find("\"connections\":[0,2]"), std::string::npos);
  EXPECT_NE(s.find("\"routeFrom\":0,\"routeTo\":2"), std::string::npos);
  EXPECT_NE(s.find("\"text\":\"\xC3\x84" "b\""), std::string::npos);
  EXPECT_NE(s.find("\"groupIds\":[2,3]"), std::string::npos);
  EXPECT_NE(s.find("\"points\":[[4000,-4000],[6000,-4000],[6000,-6000]]"), std::string::npos);
  EXPECT_NE(s.find("\"comment\":\"line 1\\r\\nline 2\""), std::string::npos);
  // The track (element 4) from (1000,-1000) to (3000,-1000), width 50,
  // clearance 40: bounds pushed out by 25 + 40.
  EXPECT_NE(s.find("\"bounds\":[935,-1065,3065,-935]"), std::string::npos) << s;
}

TEST_F(Cli, ConvertWritesVersion4AsOpenThenSave) {
  std::vector<testing::OldElement> old = {
      {kPad, {100, -200, 80, 40, 0}, 1, 2, "", 0, 0, 0, 35, {}, {}, -1, {}},
      {kFontText, {10, -10, 500, -300, -20}, 2, 0, "Hallo", 0, 0, 0, 40},
      // Entirely outside the 50 x 100 mm board: removed by the save.
      {kPad, {-900, 900, 80, 40, 0}, 1, 1, "", 0, 0, 0, 35, {}, {}, -1, {}},
  };
  const std::string in = write("old.lay", testing::makeV3File(old, 0, 1));
  CliRun r = cli({"convert", in, path("new.lay")});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.err.find("older version"), std::string::npos);
  TLayout layout;
  TReadReport report = readLayoutFile(layout, path("new.lay"), {});
  ASSERT_TRUE(report.ok) << report.error;
  EXPECT_EQ(report.version, 4);
  ASSERT_EQ(layout.elements().size(), 2u);
  EXPECT_EQ(layout.elements()[0]->layer, kCopper2);
  EXPECT_EQ(layout.elements()[1]->kind, kFontText) << "no font-text conversion without asking";
  EXPECT_EQ(layout.working().groundPlane1, 1);
  EXPECT_EQ(layout.working().groundPlane2, 0);

  // Converting the result again changes nothing.
  CliRun again = cli({"convert", path("new.lay"), path("again.lay")});
  ASSERT_EQ(again.status, 0) << again.err;
  EXPECT_EQ(read("again.lay"), read("new.lay"));
}

TEST_F(Cli, ConvertCanAnswerTheFontTextQuestionWithYes) {
  // A 0.1-inch font at 96 pixels per inch, with the text "L" at (1000, -1000).
  std::vector<testing::OldElement> old = {
      {kFontText, {1000, -1000, 1500, -1400, -20}, 2, 0, "L", 0, 0, 0, 40},
  };
  const std::string in = write("font.lay", testing::makeLegacyFile(2, old));
  CliRun r = cli({"convert", in, path("texts.lay"), "--convert-font-texts"});
  ASSERT_EQ(r.status, 0) << r.err;
  TLayout layout;
  ASSERT_TRUE(readLayoutFile(layout, path("texts.lay"), {}).ok);
  ASSERT_EQ(layout.elements().size(), 1u);
  const TObjekt& text = *layout.elements()[0];
  EXPECT_EQ(text.kind, kText);
  EXPECT_EQ(text.layer, kSilk1);
  EXPECT_EQ(text.text, "L");
  // Height 20 / 96 * 72 / 100 * 0.9 mm = 0.135 mm; the L is one stroke of
  // three points: up the stem, down, along the base, its box's top-left
  // corner on (1000, -1000).
  ASSERT_EQ(text.strokes.size(), 1u);
  ASSERT_EQ(text.strokes[0]->points.size(), 3u);
  const auto& p = text.strokes[0]->points;
  EXPECT_EQ(p[0].x, p[1].x);
  EXPECT_GT(p[0].y, p[1].y);
  EXPECT_EQ(p[1].y, p[2].y);
  EXPECT_GT(p[2].x, p[1].x);
  const int32_t half = text.strokes[0]->dim3 / 2 + text.clearance;
  EXPECT_EQ(p[0].x - half, 1000);
  EXPECT_EQ(p[0].y + half, -1000);
}

TEST_F(Cli, FailuresLeaveTheOutputUntouched) {
  TLayout layout = testing::makeSampleLayout();
  std::vector<uint8_t> good = encodeLayout(layout);
  const std::string truncated =
      write("cut.lay", std::vector<uint8_t>(good.begin(), good.begin() + good.size() / 2));
  const std::string text = write("notes.txt", {'h', 'e', 'l', 'l', 'o'});
  const std::string out = write("out.lay", {'k', 'e', 'e', 'p'});

  CliRun cut = cli({"convert", truncated, out});
  EXPECT_EQ(cut.status, 2);
  EXPECT_NE(cut.err.find("cut.lay"), std::string::npos) << cut.err;
  EXPECT_EQ(read("out.lay"), (std::vector<uint8_t>{'k', 'e', 'e', 'p'}));

  CliRun notLayout = cli({"info", text});
  EXPECT_EQ(notLayout.status, 2);
  EXPECT_EQ(notLayout.err, "\"notes.txt\" is not a Plavesk file.\n");

  CliRun missing = cli({"info", path("missing.lay")});
  EXPECT_EQ(missing.status, 2);
  EXPECT_NE(missing.err.find("missing.lay"), std::string::npos);
}

TEST_F(Cli, UsageErrorsExitWithStatus1) {
  const std::vector<std::vector<std::string>> cases = {
      {},
      {"frobnicate"},
      {"info"},
      {"info", "a.lay", "--bogus"},
      {"convert", "only-one.lay"},
      {"convert", "a", "b", "c"},
  };
  for (const auto& args : cases) {
    CliRun r = cli(args);
    EXPECT_EQ(r.status, 1) << (args.empty() ? "" : args[0]);
    EXPECT_NE(r.err.find("usage"), std::string::npos);
  }
}

TEST(Example, DemoLayoutIsWhatItsProgramMakes) {
  const std::string made = (fs::temp_directory_path() / ("demo-" + std::to_string(::getpid()) + ".lay")).string();
  ASSERT_EQ(std::system((std::string(PLAVESK_MAKE_DEMO) + " " + made).c_str()), 0);
  std::vector<uint8_t> expected, actual;
  std::string error;
  ASSERT_TRUE(readWholeFile(made, actual, error)) << error;
  ASSERT_TRUE(readWholeFile(std::string(PLAVESK_SOURCE_DIR) + "/examples/demo.lay", expected, error)) << error;
  fs::remove(made);
  EXPECT_EQ(actual, expected) << "examples/demo.lay is out of date: rebuild it with make_demo";

  TLayout layout;
  TReadReport report = readLayoutFile(layout, std::string(PLAVESK_SOURCE_DIR) + "/examples/demo.lay", {});
  ASSERT_TRUE(report.ok) << report.error;
  EXPECT_EQ(layout.boards.size(), 2u);
  bool kinds[9] = {};
  bool throughPad = false, band = false, routed = false, grouped = false;
  for (auto& e : layout.boards[0]->elements) {
    kinds[e->kind] = true;
    throughPad |= e->padLink != nullptr;
    band |= !e->connections.empty();
    routed |= e->autorouted && e->routeFrom && e->routeTo;
    grouped |= e->groupIds.size() >= 2;
  }
  for (int kind : {kPad, kArea, kCircle, kTrack, kText, kSmdPad}) EXPECT_TRUE(kinds[kind]) << kind;
  EXPECT_TRUE(throughPad && band && routed && grouped);
}

}  // namespace
}  // namespace plavesk
