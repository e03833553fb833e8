// gerber, drill and fab on the command line.
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

struct CliResult {
  int status;
  std::string out, err;
};

CliResult cli(const std::vector<std::string>& args) {
  std::ostringstream out, err;
  const int status = runCli(args, out, err);
  return {status, out.str(), err.str()};
}

class ManufacturingCli : public ::testing::Test {
 protected:
  void SetUp() override {
    dir = fs::temp_directory_path() / ("plavesk-fab-cli-" + std::to_string(::getpid()));
    fs::create_directories(dir);
    TLayout layout = testing::makeSampleLayout();
    layout.addBoard("Second");
    layout.working().width = 5000;
    layout.working().height = 3000;
    layout.elements().push_back(createPad({1000, -1000}, 80, kPadRound, kCopper1, 40));
    layout.activateBoard(0);
    lay = (dir / "board.lay").string();
    std::string error;
    ASSERT_TRUE(writeLayoutFile(layout, lay, false, error)) << error;
  }
  void TearDown() override { fs::remove_all(dir); }
  std::string path(const std::string& name) const { return (dir / name).string(); }
  std::string read(const std::string& file) const {
    std::vector<uint8_t> bytes;
    std::string error;
    EXPECT_TRUE(readWholeFile(file, bytes, error)) << error;
    return std::string(bytes.begin(), bytes.end());
  }
  std::vector<std::string> files() const {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(dir)) names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
  }
  fs::path dir;
  std::string lay;
};

TEST_F(ManufacturingCli, GerberWritesTheChosenOutput) {
  const std::string out = path("c2.gbr");
  CliResult r = cli({"gerber", lay, "--output", "K2", "-o", out});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, out + "\n");
  const std::string text = read(out);
  EXPECT_NE(text.find("%LNCOPPER2*%\r\n"), std::string::npos);
  // K2 is mirrored by default: the track at x 100 of the 160 mm board.
  EXPECT_NE(text.find("X15900Y9900D02*"), std::string::npos) << text;
  CliResult plain =
      cli({"gerber", lay, "--output", "K2", "-o", out, "--no-mirror", "--lang", "de"});
  ASSERT_EQ(plain.status, 0) << plain.err;
  EXPECT_NE(read(out).find("X100Y9900D02*"), std::string::npos);
  EXPECT_NE(read(out).find("%LNKUPFERSEITE2*%"), std::string::npos);
}

TEST_F(ManufacturingCli, GerberWithoutOutputFileUsesTheDefaultNameInTheCurrentFolder) {
  const fs::path before = fs::current_path();
  fs::current_path(dir);
  CliResult r = cli({"gerber", lay, "--output", "LStop1", "--lang", "fr", "--pad-offset", "0.5"});
  CliResult k1 = cli({"gerber", lay, "--output", "k1", "--board", "2", "--punch", "--mark"});
  fs::current_path(before);
  ASSERT_EQ(r.status, 0) << r.err;
  ASSERT_EQ(k1.status, 0) << k1.err;
  const std::string mask = read(path("Masquesoudure1.GBR"));
  EXPECT_NE(mask.find("%ADD10C, 2.60*%"), std::string::npos) << mask;  // 2 * (0.8 + 0.5)
  const std::string copper = read(path("Copper1.GBR"));
  EXPECT_NE(copper.find("X1000Y2000D02*"), std::string::npos) << copper;  // board 2, 30 mm high
  EXPECT_NE(copper.find("C, 0.30*%"), std::string::npos);
}

TEST_F(ManufacturingCli, RefusedOptionsWriteNothing) {
  const std::vector<std::vector<std::string>> refused{
      {"gerber", lay, "--output", "LStop1", "--pad-offset", "12"},
      {"gerber", lay, "--output", "LStop2", "--smd-offset", "0"},
      {"gerber", lay, "--output", "LStop2", "--smd-offset", "abc"},
      {"gerber", lay, "--output", "K3"},
      {"gerber", lay},
      {"gerber", lay, "--output", "K1", "--mark"},
      {"gerber", lay, "--output", "LStop1", "--punch"},
      {"gerber", lay, "--output", "SMD1", "--punch"},
      {"gerber", lay, "--output", "K1", "--invert"},
      {"gerber", lay, "--output", "K1", "--mirror", "--no-mirror"},
      {"gerber", lay, "--output", "K1", "--lang", "it"},
      {"gerber", lay, "--output", "K1", "--board", "3"},
      {"drill", lay, "--unit", "cm"},
      {"drill", lay, "--board", "0"},
      {"fab", lay},
  };
  const fs::path before = fs::current_path();
  fs::current_path(dir);
  for (const auto& args : refused) {
    CliResult r = cli(args);
    std::string joined;
    for (const auto& a : args) joined += a + " ";
    EXPECT_EQ(r.status, 1) << joined;
    EXPECT_FALSE(r.err.empty()) << joined;
  }
  fs::current_path(before);
  EXPECT_EQ(files(), std::vector<std::string>{"board.lay"});
}

TEST_F(ManufacturingCli, AnUnreadableLayoutOrFolderFails) {
  EXPECT_EQ(cli({"gerber", path("none.lay"), "--output", "K1", "-o", path("x.gbr")}).status, 2);
  EXPECT_EQ(cli({"gerber", lay, "--output", "K1", "-o", path("no/x.gbr")}).status, 2);
  EXPECT_EQ(cli({"drill", lay, "-o", path("no/x.drl")}).status, 2);
  EXPECT_EQ(files(), std::vector<std::string>{"board.lay"});
}

TEST_F(ManufacturingCli, DrillOptions) {
  const std::string out = path("holes.drl");
  CliResult r = cli({"drill", lay, "-o", out, "--unit", "mm", "--no-leading-zeros", "--mirror"});
  ASSERT_EQ(r.status, 0) << r.err;
  // The sample's pads: a through pair and one more at drill 0.8 mm, from
  // below on the 160 mm board.
  EXPECT_EQ(read(out),
            "; Drill file\r\n; Format: 3.3 (000.000)\r\nM48\r\nMETRIC,TZ\r\nT01C0.8\r\n%\r\n"
            "G05\r\nG90\r\nT01\r\nX150000Y90000\r\nX130000Y90000\r\nM30\r\n");
  const fs::path before = fs::current_path();
  fs::current_path(dir);
  CliResult byDefault = cli({"drill", lay});
  fs::current_path(before);
  ASSERT_EQ(byDefault.status, 0) << byDefault.err;
  EXPECT_NE(read(path("board.drl")).find("INCH\r\n"), std::string::npos);
}

TEST_F(ManufacturingCli, FabWritesTheBoardHouseSet) {
  const std::string out = path("fab");
  CliResult r = cli({"fab", lay, "-o", out, "--board", "2"});
  ASSERT_EQ(r.status, 0) << r.err;
  const std::vector<std::string> extensions{".GTL", ".GBL", ".GTO", ".GBO",
                                            ".GTS", ".GBS", ".GKO", ".DRL"};
  std::istringstream printed(r.out);
  for (const std::string& ext : extensions) {
    const std::string file = (fs::path(out) / ("board" + ext)).string();
    EXPECT_TRUE(fs::exists(file)) << file;
    std::string line;
    std::getline(printed, line);
    EXPECT_EQ(line.rfind(file, 0), 0u) << line;
  }
  EXPECT_EQ(std::distance(fs::directory_iterator(out), fs::directory_iterator()), 8);
  // Board 2 is 50 x 30 mm; nothing is mirrored and the outline has its own file.
  EXPECT_NE(read(out + "/board.GKO").find("X5000Y3000D01*"), std::string::npos);
  EXPECT_NE(read(out + "/board.GTL").find("X1000Y2000D02*"), std::string::npos);
  EXPECT_EQ(read(out + "/board.GTL").find("C, 0.20*%"), std::string::npos);
}

}  // namespace
}  // namespace plavesk
