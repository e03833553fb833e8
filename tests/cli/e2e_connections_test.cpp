// A new user's first board, scripted as the mouse does it in the window:
// rubber bands drawn with the connection tool, routed and un-routed with the
// autoroute tool after setting its window's fields, the ground plane poured
// around a cutout area and cleared again, and a footprint dragged from the
// macro panel. Each stage starts from the file the stage before saved.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <set>
#include <sstream>
#include <utility>

#include "cli/commands/cli.h"
#include "document/layout_file.h"
#include "support/sample_layout.h"

namespace plavesk {
namespace {

namespace fs = std::filesystem;

using testing::makeFourPadLayout;
constexpr TPoint kA = testing::kFourPadA, kB = testing::kFourPadB, kC = testing::kFourPadC,
                 kD = testing::kFourPadD;

bool joined(const TObjekt& a, const TObjekt& b) {
  auto has = [](const TObjekt& x, const TObjekt& y) {
    return std::find(x.connections.begin(), x.connections.end(), &y) != x.connections.end();
  };
  return has(a, b) && has(b, a);
}

std::string clickAt(TPoint p, const char* extra = "") {
  return "click " + std::to_string(p.x) + " " + std::to_string(p.y) + extra;
}

class NewUserSession : public ::testing::Test {
 protected:
  void SetUp() override {
    dir = fs::temp_directory_path() / ("plavesk-e2e-" + std::to_string(::getpid()));
    fs::create_directories(dir);
    std::string error;
    TLayout layout = makeFourPadLayout();
    ASSERT_TRUE(writeLayoutFile(layout, file("0.lay"), false, error)) << error;
  }
  void TearDown() override { fs::remove_all(dir); }
  std::string file(const std::string& name) const { return (dir / name).string(); }

  // Runs one stage on the file `from` and returns the layout it saved as `to`.
  TLayout stage(const std::string& from, const std::string& to,
                const std::vector<std::string>& actions) {
    std::vector<std::string> args{"run", file(from)};
    for (const std::string& a : actions) {
      args.push_back("-e");
      args.push_back(a);
    }
    args.push_back("-o");
    args.push_back(file(to));
    std::ostringstream out, err;
    EXPECT_EQ(runCli(args, out, err), 0) << err.str();
    output = out.str();
    TLayout layout;
    const TReadReport report = readLayoutFile(layout, file(to), {});
    EXPECT_TRUE(report.ok) << report.error;
    return layout;
  }

  fs::path dir;
  std::string output;
};

TEST_F(NewUserSession, BandsRoutesGroundPlaneAndAFootprint) {
  // Bands A-B and C-D; a third pick of A and B would remove A-B again, so
  // the tool is left with both.
  TLayout bands =
      stage("0.lay", "1.lay", {"tool connect", clickAt(kA), clickAt(kB), clickAt(kC), clickAt(kD)});
  {
    const TObjektList& l = bands.elements();
    ASSERT_EQ(l.size(), 4u);
    EXPECT_TRUE(joined(*l[0], *l[1]));
    EXPECT_TRUE(joined(*l[2], *l[3]));
    EXPECT_EQ(l[0]->connections.size(), 1u);
    EXPECT_EQ(l[2]->connections.size(), 1u);
  }

  // Both bands routed with 0.6 mm tracks and 0.3 mm clearance by clicking
  // their middles, then the first track clicked again, which turns it back
  // into its band.
  TLayout routed = stage("1.lay", "2.lay",
                         {"tool autoroute", "autoroute-options 0.6 0.3", clickAt({5000, -2540}),
                          clickAt({5000, -5080}), clickAt({5000, -2580})});
  {
    const TObjektList& l = routed.elements();
    ASSERT_EQ(l.size(), 5u);
    const TObjekt& track = *l[4];
    EXPECT_EQ(track.kind, kTrack);
    EXPECT_TRUE(track.autorouted);
    EXPECT_EQ(track.dim3, 60);
    EXPECT_EQ(track.layer, kCopper1);
    // From pad to pad, on their centres, remembering both for un-routing.
    ASSERT_GE(track.points.size(), 2u);
    const std::set<std::pair<int32_t, int32_t>> ends{
        {track.points.front().x, track.points.front().y},
        {track.points.back().x, track.points.back().y}};
    EXPECT_EQ(ends, (std::set<std::pair<int32_t, int32_t>>{{kC.x, kC.y}, {kD.x, kD.y}}));
    EXPECT_EQ(std::set<const TObjekt*>({track.routeFrom, track.routeTo}),
              std::set<const TObjekt*>({l[2].get(), l[3].get()}));
    // The routed band is gone, the un-routed one is back.
    EXPECT_TRUE(joined(*l[0], *l[1]));
    EXPECT_TRUE(l[2]->connections.empty());
    EXPECT_TRUE(l[3]->connections.empty());
  }

  // The ground plane of side 1 poured with a cutout area drawn after the
  // cutout button (corners snapped to the 1.27 mm grid) ...
  const std::vector<std::string> cutout{"ground-plane on",
                                        "cutout on",
                                        clickAt({4000, -3000}),
                                        clickAt({6000, -3000}),
                                        clickAt({6000, -4500}),
                                        clickAt({4000, -4500}),
                                        clickAt({4000, -4500}, " --right")};
  TLayout poured = stage("2.lay", "3.lay", cutout);
  {
    EXPECT_EQ(poured.working().groundPlane1, 1);
    EXPECT_EQ(poured.working().groundPlane2, 0);
    const TObjektList& l = poured.elements();
    ASSERT_EQ(l.size(), 6u);
    const TObjekt& area = *l[5];
    EXPECT_EQ(area.kind, kArea);
    EXPECT_EQ(area.cutout, 1);
    EXPECT_EQ(area.layer, kCopper1);
    EXPECT_EQ(area.points,
              (std::vector<TPoint>{
                  {3937, -3048}, {5969, -3048}, {5969, -4445}, {3937, -4445}, {3937, -3048}}));
  }
  // ... and cleared again with the cutout button down: the button goes up
  // with the ground plane, so the area tool's next area is an ordinary one.
  TLayout cleared =
      stage("3.lay", "4.lay",
            {"cutout on", "ground-plane off", clickAt({1000, -7000}), clickAt({2000, -7000}),
             clickAt({2000, -7500}), clickAt({2000, -7500}, " --right")});
  {
    EXPECT_EQ(cleared.working().groundPlane1, 0);
    const TObjektList& l = cleared.elements();
    ASSERT_EQ(l.size(), 7u);
    EXPECT_EQ(l[5]->cutout, 1);
    EXPECT_EQ(l[6]->kind, kArea);
    EXPECT_EQ(l[6]->cutout, 0);
  }

  // DIL 8 from the macros the program brings along, dropped with its upper
  // left pad (pin 8) under the pointer, snapped to the grid.
  const std::string dil8 = std::string(PLAVESK_SOURCE_DIR) + "/examples/Makros/DIL8.lmk";
  TLayout dropped = stage("4.lay", "5.lay", {"macro-drop \"" + dil8 + "\" 4000 -6200"});
  {
    EXPECT_NE(output.find("at 3937 -6223"), std::string::npos) << output;
    const TObjektList& l = dropped.elements();
    // Eight through pads (each with its partner on side 2), the body
    // outline and the notch.
    ASSERT_EQ(l.size(), 7u + 18u);
    std::set<std::pair<int32_t, int32_t>> side1, side2;
    const std::vector<int32_t> group = l[7]->groupIds;
    EXPECT_EQ(group.size(), 1u);
    for (size_t i = 7; i < l.size(); ++i) {
      const TObjekt& e = *l[i];
      EXPECT_EQ(e.groupIds, group) << "one group for the whole footprint";
      if (e.kind != kPad) continue;
      ASSERT_NE(e.padLink, nullptr);
      EXPECT_EQ(e.padLink->padLink, &e);
      (e.layer == kCopper1 ? side1 : side2).insert({e.x, e.y});
    }
    std::set<std::pair<int32_t, int32_t>> rows;
    for (int32_t k = 0; k < 4; ++k) {
      rows.insert({3937 + 254 * k, -6223});
      rows.insert({3937 + 254 * k, -6223 - 762});
    }
    EXPECT_EQ(side1, rows);
    EXPECT_EQ(side2, rows);
  }
}

}  // namespace
}  // namespace plavesk
