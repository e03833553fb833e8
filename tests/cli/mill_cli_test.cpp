// The milling commands of plavesk-cli: mill, outline-mill and contours.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <sstream>

#include "cli/commands/cli.h"
#include "document/file_io.h"
#include "document/layout_file.h"
#include "output/contour_computation.h"

namespace plavesk {
namespace {

namespace fs = std::filesystem;

struct CliResult {
  int status;
  std::string out, err;
};

CliResult cli(std::vector<std::string> args) {
  std::ostringstream out, err;
  const int status = runCli(args, out, err);
  return {status, out.str(), err.str()};
}

class MillCli : public ::testing::Test {
 protected:
  void SetUp() override {
    dir = fs::temp_directory_path() / ("plavesk-mill-cli-" + std::to_string(::getpid()));
    fs::create_directories(dir);
  }
  void TearDown() override { fs::remove_all(dir); }
  std::string path(const std::string& name) const { return (dir / name).string(); }
  std::string read(const std::string& name) const {
    std::vector<uint8_t> bytes;
    std::string error;
    EXPECT_TRUE(readWholeFile(path(name), bytes, error)) << error;
    return {bytes.begin(), bytes.end()};
  }
  const std::string demo = std::string(PLAVESK_SOURCE_DIR) + "/examples/demo.lay";
  fs::path dir;
};

TEST_F(MillCli, MillWritesTheMainFileAndOneDrillFilePerDiameter) {
  const CliResult r = cli({"mill", demo, "--side", "1", "--drills", "per-diameter", "--lang", "de",
                           "-o", path("iso.plt")});
  ASSERT_EQ(r.status, 0) << r.err;
  const std::string main = read("iso.plt");
  EXPECT_EQ(main.rfind("IN;\r\nPT0;\r\nPU;\r\n", 0), 0u);
  EXPECT_NE(main.find("PD;\r\n"), std::string::npos);
  size_t drillFiles = 0;
  for (const auto& f : fs::directory_iterator(dir))
    if (f.path().filename().string().rfind("BOHR_", 0) == 0) ++drillFiles;
  EXPECT_GT(drillFiles, 0u);
  EXPECT_NE(r.out.find("contours"), std::string::npos);
}

TEST_F(MillCli, ContoursJsonMatchesTheComputation) {
  const CliResult r = cli({"contours", demo, "--side", "1", "--channel", "0.2", "--json"});
  ASSERT_EQ(r.status, 0) << r.err;
  TLayout layout;
  ASSERT_TRUE(readLayoutFile(layout, demo, {}).ok);
  TContourOptions o;
  o.channelWidth = 20;
  const TContourResult expected = computeContours(layout.elements(), o);
  ASSERT_FALSE(expected.contours.empty());
  const auto& first = expected.contours[0][0];
  const std::string start = "{\"layer\":1,\"channelWidth\":20,\"contours\":[[[" +
                            std::to_string(first.x) + "," + std::to_string(first.y) + "]";
  EXPECT_EQ(r.out.rfind(start, 0), 0u) << r.out.substr(0, 200);
  // "[[" opens each contour (the first shares it with the list).
  size_t opens = 0;
  for (size_t at = 0; (at = r.out.find("[[", at)) != std::string::npos; at += 2) ++opens;
  EXPECT_EQ(opens, expected.contours.size());
  EXPECT_NE(r.out.find("\"crossings\":" + std::to_string(expected.crossings)), std::string::npos);
}

TEST_F(MillCli, OverTheMemoryBudgetStopsAndWritesNothing) {
  // The demo board needs about a megabyte.
  CliResult r = cli({"mill", demo, "--side", "1", "-o", path("m.plt"), "--memory-budget", "0.05"});
  EXPECT_EQ(r.status, 2);
  EXPECT_NE(r.err.find("memory budget of 0 MB"), std::string::npos) << r.err;
  EXPECT_FALSE(fs::exists(path("m.plt")));
  r = cli({"contours", demo, "--side", "1", "--memory-budget", "0.05"});
  EXPECT_EQ(r.status, 2);
  EXPECT_NE(r.err.find("crossings"), std::string::npos) << r.err;
  r = cli({"contours", demo, "--side", "1", "--memory-budget", "0"});
  EXPECT_EQ(r.status, 1);
}

TEST_F(MillCli, OutlineMillNeedsASelectionOrTheFlag) {
  CliResult r = cli({"outline-mill", demo, "-o", path("outline.plt")});
  EXPECT_EQ(r.status, 2);
  EXPECT_NE(r.err.find("No elements selected for the PCB outline"), std::string::npos);
  EXPECT_FALSE(fs::exists(path("outline.plt")));
  r = cli({"outline-mill", demo, "-o", path("outline.plt"), "--select-all-outline", "--ref-holes",
           "BL,TR", "--mirror", "y"});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(read("outline.plt").rfind("IN;\r\nPT0;\r\nPU;\r\nPA", 0), 0u);
}

TEST_F(MillCli, BadOptionsAreUsageErrors) {
  const std::vector<std::vector<std::string>> cases = {
      {"mill", demo, "--side", "3"},
      {"mill", demo, "--side", "1", "--drills", "all"},
      {"mill", demo, "--side", "1", "--channel", "7"},
      {"mill", demo, "--side", "1", "--ref-holes", "BL,XX"},
      {"mill", demo, "--side", "1", "--mirror", "z"},
      {"mill", demo, "--side", "1", "--texts", "bold"},
      {"mill", demo, "--side", "1", "--lang", "it"},
      {"contours", demo},
      {"outline-mill", demo},
  };
  for (const auto& args : cases) EXPECT_EQ(cli(args).status, 1) << args[0] << " " << args.back();
}

TEST_F(MillCli, AnEmptyLayerWritesNothing) {
  TLayout layout;
  layout.addBoard("Empty");
  std::string error;
  ASSERT_TRUE(writeLayoutFile(layout, path("empty.lay"), false, error)) << error;
  const CliResult r = cli({"mill", path("empty.lay"), "--side", "2", "-o", path("x.plt")});
  EXPECT_EQ(r.status, 2);
  EXPECT_NE(r.err.find("The selected layer is empty"), std::string::npos);
  EXPECT_FALSE(fs::exists(path("x.plt")));
}

}  // namespace
}  // namespace plavesk
