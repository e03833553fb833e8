#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <sstream>

#include "cli/commands/cli.h"
#include "document/layout_file.h"
#include "editing/routing_actions.h"
#include "support/sample_layout.h"

namespace plavesk {
namespace {

namespace fs = std::filesystem;

class NetCommand : public ::testing::Test {
 protected:
  void SetUp() override {
    dir = fs::temp_directory_path() / ("plavesk-net-" + std::to_string(::getpid()));
    fs::create_directories(dir);
    TLayout layout = testing::makeSampleLayout();
    std::string error;
    ASSERT_TRUE(writeLayoutFile(layout, file("in.lay"), false, error)) << error;
  }
  void TearDown() override { fs::remove_all(dir); }
  std::string file(const std::string& name) const { return (dir / name).string(); }
  int run(std::vector<std::string> args) {
    std::ostringstream o, e;
    const int status = runCli(args, o, e);
    out = o.str();
    errors = e.str();
    return status;
  }

  fs::path dir;
  std::string out, errors;
};

TEST_F(NetCommand, ListsTheElementsJoinedAtAPoint) {
  struct Case {
    std::vector<std::string> extra;
    std::string json;
  } cases[] = {
      // Side 2 is active in the sample: the through pad's lower half is hit.
      {{}, R"({"board":1,"layer":3,"at":[1000,-1000],"element":1,"connected":[0,1,2,4]})"},
      {{"--layer", "1"},
       R"({"board":1,"layer":1,"at":[1000,-1000],"element":0,"connected":[0,1,2,4]})"},
  };
  for (const Case& c : cases) {
    std::vector<std::string> args{"net", file("in.lay"), "--at", "1000,-1000", "--json"};
    args.insert(args.end(), c.extra.begin(), c.extra.end());
    ASSERT_EQ(run(args), 0) << errors;
    EXPECT_EQ(out, c.json + "\n");
  }
  ASSERT_EQ(run({"net", file("in.lay"), "--at", "2000,-3000"}), 0) << errors;
  EXPECT_EQ(out, "1 elements connected to element 3: 3\n");
  ASSERT_EQ(run({"net", file("in.lay"), "--at", "9000,-9500", "--json"}), 0) << errors;
  EXPECT_EQ(out, R"({"board":1,"layer":3,"at":[9000,-9500],"element":-1,"connected":[]})"
                 "\n");
}

TEST_F(NetCommand, RefusesBadOptions) {
  struct Case {
    std::vector<std::string> args;
    int status;
    std::string message;
  } cases[] = {
      {{"net", file("in.lay")}, 1, "net: give the point as --at X,Y"},
      {{"net", file("in.lay"), "--at", "10;20"}, 1, "net: give the point as --at X,Y"},
      {{"net", file("in.lay"), "--at", "10,2.5"}, 1, "net: give the point as --at X,Y"},
      {{"net", file("in.lay"), "--at", "10,20", "--layer", "7"},
       1,
       "--layer 7: the layers are 1 to 4"},
      {{"net", file("in.lay"), "--at", "10,20", "--board", "2"},
       1,
       "--board 2: the layout has boards 1 to 1"},
      {{"net", file("missing.lay"), "--at", "10,20"}, 2, ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(run(c.args), c.status) << c.args.back();
    EXPECT_EQ(errors.rfind(c.message, 0), 0u) << errors;
  }
}

// The demo's bands routed from the command line: every band gets a track or
// stays, and the result reads back with the new autorouted tracks.
TEST_F(NetCommand, RouteAllOnTheDemo) {
  const std::string demo = std::string(PLAVESK_SOURCE_DIR) + "/examples/demo.lay";
  ASSERT_EQ(run({"run", demo, "-e", "route-all", "-o", file("routed.lay")}), 0) << errors;
  EXPECT_NE(out.find("route-all: 4 routed, 0 failed"), std::string::npos) << out;
  TLayout routed;
  TReadReport report = readLayoutFile(routed, file("routed.lay"), {});
  ASSERT_TRUE(report.ok) << report.error;
  size_t autorouted = 0, bands = 0;
  for (const auto& e : routed.boards[0]->elements) {
    autorouted += e->kind == kTrack && e->autorouted;
    bands += e->connections.size();
  }
  EXPECT_EQ(autorouted, 5u);  // the demo's own and the four new ones
  EXPECT_EQ(bands, 0u);
}

}  // namespace
}  // namespace plavesk
