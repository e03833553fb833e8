#include "routing/band_removal.h"

#include <gtest/gtest.h>

#include "support/sample_layout.h"

namespace plavesk {
namespace {

void band(TObjekt& a, TObjekt& b) {
  a.connections.push_back(&b);
  b.connections.push_back(&a);
}

size_t entries(const TObjektList& l) {
  size_t n = 0;
  for (const auto& e : l) n += e->connections.size();
  return n;
}

TEST(BandRemoval, MessageInThreeLanguages) {
  const TBandCounts counts{3, 2};
  EXPECT_EQ(bandRemovalMessage(counts, 0),
            "Es konnten 3 Luftlinien entfernt werden.\rEs verbleiben noch 2 Luftlinien");
  EXPECT_EQ(bandRemovalMessage(counts, 1),
            "3 connections (rubberbands) removed.\r2 connections (rubberbands) remaining.");
  EXPECT_EQ(bandRemovalMessage(counts, 2),
            "3 connexions (élastiques) supprimées.\r2 connexions (élastiques) restantes.");
}

// Three bands whose pads are joined (by a track, through a through pad and
// a track on the other side, through the ground plane) and two between
// different nets.
TEST(BandRemoval, RemovesBandsWhosePadsCopperJoins) {
  TObjektList l;
  TObjekt& a = testing::addPad(l, 1000, -1000, 1);
  TObjekt& b = testing::addPad(l, 4000, -1000, 1);
  l.push_back(createTrack(50, 1));
  l.back()->points = {{1000, -1000}, {4000, -1000}};

  TObjekt& c = testing::addPad(l, 1000, -3000, 1);
  TObjekt& c2 = testing::addPad(l, 1000, -3000, 3);
  c.padLink = &c2;
  c2.padLink = &c;
  l.push_back(createTrack(50, 3));
  l.back()->points = {{1000, -3000}, {4000, -3000}};
  l.push_back(createSmdPad({4000, -3000}, 200, 3, 200));
  TObjekt& d = *l.back();

  TObjekt& g1 = testing::addPad(l, 1000, -6000, 1);
  TObjekt& g2 = testing::addPad(l, 8000, -8000, 1);
  g1.clearance = g2.clearance = 0;

  TObjekt& x = testing::addPad(l, 8000, -1000, 1);
  TObjekt& y = testing::addPad(l, 8000, -3000, 3);

  for (auto& e : l)
    if (e.get() != &g1 && e.get() != &g2) e->clearance = 40;
  band(a, b);
  band(c, d);
  band(g1, g2);
  band(a, x);
  band(d, y);
  TBoardRecord state;
  state.groundPlane1 = 1;
  ASSERT_EQ(entries(l), 10u);
  EXPECT_EQ(removeSatisfiedBands(l, state), (TBandCounts{3, 2}));
  EXPECT_EQ(entries(l), 4u);
  EXPECT_EQ(a.connections, std::vector<TObjekt*>{&x});
  EXPECT_EQ(d.connections, std::vector<TObjekt*>{&y});
  for (const auto& e : l) EXPECT_EQ(e->selected, 0);

  EXPECT_EQ(removeSatisfiedBands(l, state), (TBandCounts{0, 2}));
}

// With the ground plane on, a cutout area without clearance is not copper:
// it must not carry the plane's net to a pad it overlaps.
TEST(BandRemoval, CutoutAreaIsNoPartOfTheGroundPlaneNet) {
  TObjektList l;
  TObjekt& inPlane = testing::addPad(l, 1000, -1000, 1);
  inPlane.clearance = 0;
  TObjekt& isolated = testing::addPad(l, 5000, -5000, 1);
  l.push_back(createArea(10, 1));
  l.back()->points = {{4800, -4800}, {5200, -4800}, {5200, -5200}, {4800, -5200}};
  l.back()->cutout = 1;
  l.back()->clearance = 0;
  band(inPlane, isolated);
  TBoardRecord state;
  state.groundPlane1 = 1;
  EXPECT_EQ(removeSatisfiedBands(l, state), (TBandCounts{0, 1}));
}

TEST(BandRemoval, EmptyBoardReportsNothing) {
  TObjektList l;
  EXPECT_EQ(removeSatisfiedBands(l, TBoardRecord{}), (TBandCounts{0, 0}));
}

}  // namespace
}  // namespace plavesk
