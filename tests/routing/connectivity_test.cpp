#include "routing/connectivity.h"

#include <gtest/gtest.h>

#include <functional>
#include <random>

#include "support/sample_layout.h"

namespace plavesk {
namespace {

TObjekt& add(TObjektList& list, TObjektPtr e, int32_t clearance = 40) {
  e->clearance = clearance;
  list.push_back(std::move(e));
  return *list.back();
}

TObjekt& track(TObjektList& list, int layer, int32_t width, std::vector<TPoint> points,
               int32_t clearance = 40) {
  TObjekt& t = add(list, createTrack(width, layer), clearance);
  t.points = std::move(points);
  return t;
}

TObjekt& area(TObjektList& list, int layer, std::vector<TPoint> points, bool cutout,
              int32_t clearance = 40) {
  TObjekt& a = add(list, createArea(10, layer), clearance);
  a.points = std::move(points);
  a.cutout = cutout ? 1 : 0;
  return a;
}

std::vector<size_t> marked(const TObjektList& list) {
  std::vector<size_t> m;
  for (size_t i = 0; i < list.size(); ++i)
    if (list[i]->selected) m.push_back(i);
  return m;
}

std::vector<size_t> netOf(TObjektList& list, const TBoardRecord& state, size_t start) {
  for (auto& e : list) e->selected = 0;
  TCopperAnalysis analysis(list, state);
  markConnected(list, analysis, start);
  return marked(list);
}

TEST(Connectivity, DirectConnectionOfTwoElements) {
  struct Case {
    const char* name;
    std::function<void(TObjektList&)> build;  // element 0 and element 1
    bool joined;
  } cases[] = {
      {"round ends of two tracks overlap",
       [](TObjektList& l) {
         track(l, 1, 100, {{0, 0}, {1000, 0}});
         track(l, 1, 100, {{1090, 0}, {2000, 0}});
       },
       true},
      {"tracks with a gap",
       [](TObjektList& l) {
         track(l, 1, 100, {{0, 0}, {1000, 0}});
         track(l, 1, 100, {{1110, 0}, {2000, 0}});
       },
       false},
      {"SMD pads sharing one edge only",
       [](TObjektList& l) {
         add(l, createSmdPad({0, 0}, 100, 1, 100));
         add(l, createSmdPad({100, 0}, 100, 1, 100));
       },
       false},
      {"SMD pads overlapping by one unit",
       [](TObjektList& l) {
         add(l, createSmdPad({0, 0}, 100, 1, 100));
         add(l, createSmdPad({99, 0}, 100, 1, 100));
       },
       true},
      {"same outlines on the two copper layers",
       [](TObjektList& l) {
         add(l, createSmdPad({0, 0}, 100, 1, 100));
         add(l, createSmdPad({0, 0}, 100, 3, 100));
       },
       false},
      {"overlap on a silkscreen layer",
       [](TObjektList& l) {
         track(l, 2, 50, {{0, 0}, {500, 0}});
         track(l, 2, 50, {{250, -200}, {250, 200}});
       },
       true},
      {"a cutout area conducts nothing",
       [](TObjektList& l) {
         testing::addPad(l, 0, 0, 1);
         area(l, 1, {{-500, 500}, {500, 500}, {500, -500}, {-500, -500}}, true);
       },
       false},
      {"through-pad partners",
       [](TObjektList& l) {
         TObjekt& a = testing::addPad(l, 0, 0, 1);
         TObjekt& b = testing::addPad(l, 5000, 0, 3);
         a.padLink = &b;
         b.padLink = &a;
       },
       true},
  };
  for (const Case& c : cases) {
    TObjektList list;
    c.build(list);
    TBoardRecord state;
    EXPECT_EQ(netOf(list, state, 0).size() == 2, c.joined) << c.name;
    EXPECT_EQ(netOf(list, state, 1).size() == 2, c.joined) << c.name << " (reverse)";
  }
}

// A through pad carries the net to the other side: everything on side 2 that
// touches the partner pad joins.
TEST(Connectivity, ThroughPadJoinsBothSides) {
  TObjektList l;
  track(l, 1, 50, {{-2000, 0}, {0, 0}});          // 0
  TObjekt& top = testing::addPad(l, 0, 0, 1);     // 1
  TObjekt& bottom = testing::addPad(l, 0, 0, 3);  // 2
  top.padLink = &bottom;
  bottom.padLink = &top;
  track(l, 3, 50, {{0, 0}, {0, -3000}});         // 3
  track(l, 3, 50, {{0, -3000}, {2000, -3000}});  // 4
  track(l, 3, 50, {{0, -4000}, {2000, -4000}});  // 5: apart
  track(l, 1, 50, {{0, -3000}, {2000, -3000}});  // 6: over 4, other side
  EXPECT_EQ(netOf(l, TBoardRecord{}, 0), (std::vector<size_t>{0, 1, 2, 3, 4}));
}

TEST(Connectivity, GroundPlaneJoinsElementsWithoutClearance) {
  TObjektList l;
  testing::addPad(l, 1000, -1000, 1).clearance = 0;  // 0
  testing::addPad(l, 5000, -5000, 1).clearance = 0;  // 1
  testing::addPad(l, 9000, -1000, 1);                // 2: clearance 40
  testing::addPad(l, 9000, -5000, 3).clearance = 0;  // 3: other side
  testing::addPad(l, 3000, -3000, 1).clearance = 0;  // 4: in the cutout
  area(l, 1, {{2500, -2500}, {3500, -2500}, {3500, -3500}, {2500, -3500}}, true, 0);  // 5
  testing::addPad(l, 3500, -3000, 1).clearance = 0;  // 6: half in it
  TBoardRecord state;
  state.groundPlane1 = 1;
  EXPECT_EQ(netOf(l, state, 0), (std::vector<size_t>{0, 1, 6}));
  EXPECT_EQ(netOf(l, state, 4), (std::vector<size_t>{4}));
  state.groundPlane1 = 0;
  EXPECT_EQ(netOf(l, state, 0), (std::vector<size_t>{0}));
  state.groundPlane2 = 1;
  EXPECT_EQ(netOf(l, state, 0), (std::vector<size_t>{0}));
}

// Boards with many nets: pads (some through pairs, some in the ground
// plane), tracks, SMD pads, copper areas and cutout areas.
TLayout randomBoard(uint32_t seed, int elements) {
  std::mt19937 rng(seed);
  auto coord = [&](int extent) { return int32_t(rng() % uint32_t(extent)); };
  TLayout layout;
  layout.addBoard("Random");
  layout.working().groundPlane1 = rng() % 2;
  layout.working().groundPlane2 = rng() % 2;
  TObjektList& l = layout.elements();
  const int extent = 12000;
  for (int k = 0; k < elements; ++k) {
    const int layer = rng() % 5 == 0 ? 2 : (rng() % 2 ? 1 : 3);
    const int32_t clearance = rng() % 6 == 0 ? 0 : 40;
    switch (rng() % 6) {
      case 0:
      case 1: {
        TObjekt& p = add(l,
                         createPad({coord(extent), -coord(extent)}, 60 + coord(60),
                                   1 + int(rng() % 9), layer, 30),
                         clearance);
        if (rng() % 3 == 0 && isCopperLayer(layer)) {
          TObjekt& q = add(l, createPad({p.x, p.y}, p.dim1, p.padShape, otherSideLayer(layer), 30),
                           clearance);
          p.padLink = &q;
          q.padLink = &p;
        }
        break;
      }
      case 2:
      case 3: {
        std::vector<TPoint> points{{coord(extent), -coord(extent)}};
        for (int n = 1 + int(rng() % 3); n > 0; --n)
          points.push_back(
              {points.back().x + coord(1600) - 800, points.back().y + coord(1600) - 800});
        track(l, layer, 20 + coord(80), points, clearance);
        break;
      }
      case 4:
        add(l,
            createSmdPad({coord(extent), -coord(extent)}, 50 + coord(150), layer, 50 + coord(150)),
            clearance);
        break;
      default: {
        const int32_t x = coord(extent), y = -coord(extent), w = 200 + coord(1000);
        area(l, layer, {{x, y}, {x + w, y}, {x + w, y - w}, {x, y - w}}, rng() % 2 == 0, clearance);
      }
    }
  }
  return layout;
}

TEST(Connectivity, OnePassAgreesWithMarkingFromEveryElement) {
  for (uint32_t seed : {1u, 2u, 3u, 4u}) {
    TLayout layout = randomBoard(seed, 400);
    TObjektList& l = layout.elements();
    TCopperAnalysis analysis(l, layout.working());
    const std::vector<int> nets = copperNets(analysis);
    size_t joinedPairs = 0;
    for (size_t i = 0; i < l.size(); ++i) {
      if (l[i]->kind == kArea && l[i]->cutout) {
        EXPECT_EQ(nets[i], -1);
        continue;
      }
      for (auto& e : l) e->selected = 0;
      markConnected(l, analysis, i);
      for (size_t j = 0; j < l.size(); ++j) {
        const bool sameNet = nets[j] == nets[i];
        ASSERT_EQ(l[j]->selected != 0, sameNet) << "seed " << seed << " from " << i << " to " << j;
        joinedPairs += sameNet && j != i;
      }
    }
    EXPECT_GT(joinedPairs, l.size()) << "the board should hold nets of several elements";
  }
}

// The kept nets answer each click as a fresh flood would, and are analysed
// afresh after every kind of change the rules look at, and only then.
TEST(Connectivity, KeptNetsFollowEveryChange) {
  TLayout layout = randomBoard(7, 300);
  TObjektList& l = layout.elements();
  TBoardRecord& state = layout.working();
  size_t firstTrack = 0, firstPad = 0;
  while (l[firstTrack]->kind != kTrack) ++firstTrack;
  while (l[firstPad]->kind != kPad) ++firstPad;
  struct Change {
    const char* what;
    std::function<void()> apply;  // nullptr: nothing changes
  } changes[] = {
      {"nothing", nullptr},
      {"a track end moves", [&] { l[firstTrack]->points.back().x += 3000; }},
      {"a track gets wider", [&] { l[firstTrack]->dim3 += 400; }},
      {"a pad changes layer", [&] { l[firstPad]->layer = otherSideLayer(l[firstPad]->layer); }},
      {"a clearance drops to 0", [&] { l[firstPad]->clearance = 0; }},
      {"a ground plane turns on", [&] { state.groundPlane1 = state.groundPlane2 = 1; }},
      {"an element is removed", [&] { l.erase(l.begin() + 1); }},
      {"a through pad loses its partner",
       [&] {
         for (auto& e : l)
           if (e->padLink) {
             e->padLink->padLink = nullptr;
             e->padLink = nullptr;
             break;
           }
       }},
  };
  TNetCache cache;
  for (const Change& change : changes) {
    const size_t before = cache.analyses();
    if (change.apply) change.apply();
    for (size_t start = 0; start < l.size(); start += 7) {
      // A cutout area belongs to no net and marks nothing.
      const bool cutout = l[start]->kind == kArea && l[start]->cutout;
      const std::vector<size_t> flood = cutout ? std::vector<size_t>{} : netOf(l, state, start);
      for (auto& e : l) e->selected = 0;
      const size_t count = cache.markNet(l, state, start);
      ASSERT_EQ(marked(l), flood) << change.what << ", from " << start;
      EXPECT_EQ(count, flood.size()) << change.what;
    }
    // One analysis per change however many clicks; none while nothing
    // changed after the first.
    EXPECT_EQ(cache.analyses(), before + (change.apply || before == 0 ? 1 : 0)) << change.what;
  }
}

}  // namespace
}  // namespace plavesk
