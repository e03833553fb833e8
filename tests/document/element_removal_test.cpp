#include "document/element_removal.h"

#include <gtest/gtest.h>

#include <random>

#include "document/element_positions.h"
#include "document/layout_file.h"

namespace plavesk {
namespace {

TEST(ElementPositions, FindsEveryElementAndNothingElse) {
  TObjektPtr foreign = createPad({0, 0}, 50, 1, 1, 20);
  // Sizes around the table's growth steps, and one that fills many probes.
  for (size_t n : {0u, 1u, 7u, 8u, 9u, 5000u}) {
    TObjektList list;
    for (size_t i = 0; i < n; ++i) list.push_back(createTrack(10, 1));
    const ElementPositions at(list);
    for (size_t i = 0; i < n; ++i) ASSERT_EQ(at.find(list[i].get()), int32_t(i)) << n;
    EXPECT_EQ(at.find(nullptr), -1) << n;
    EXPECT_EQ(at.find(foreign.get()), -1) << n;
    EXPECT_FALSE(at.contains(foreign.get())) << n;
  }
}

// A list of pads, SMD pads and routed tracks referring to each other, with
// a few references to an element outside the list.
TObjektList randomList(std::mt19937& rng, const TObjekt* foreign) {
  auto uni = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
  TObjektList list;
  const int n = uni(1, 60);
  for (int i = 0; i < n; ++i) {
    switch (uni(0, 2)) {
      case 0:
        list.push_back(createPad({i * 100, 0}, 50, 1, 1, 20));
        break;
      case 1:
        list.push_back(createSmdPad({i * 100, 0}, 50, 1, 50));
        break;
      default:
        list.push_back(createTrack(10, 1));
        list.back()->points = {{i * 100, 0}, {i * 100, 100}};
        list.back()->autorouted = 1;
    }
  }
  auto any = [&]() -> TObjekt* {
    if (uni(0, 20) == 0) return const_cast<TObjekt*>(foreign);
    return list[size_t(uni(0, n - 1))].get();
  };
  for (auto& e : list) {
    if (e->kind == kPad && uni(0, 1)) e->padLink = any();
    if (e->hasConnections())
      for (int k = uni(0, 3); k > 0; --k) e->connections.push_back(any());
    if (e->kind == kTrack) {
      e->routeFrom = uni(0, 3) ? any() : nullptr;
      e->routeTo = any();
    }
  }
  return list;
}

// Removing by flags leaves exactly what removing by a predicate leaves:
// the same elements in the same order, and the same references (written
// as positions in the element block, -1 where cleared).
TEST(DeleteFlaggedElements, LeavesWhatDeleteElementsIfLeaves) {
  std::mt19937 rng(11);
  TObjektPtr foreign = createSmdPad({0, 0}, 50, 1, 50);
  size_t removed = 0, kept = 0;
  for (int round = 0; round < 200; ++round) {
    TObjektList byFlags = randomList(rng, foreign.get());
    TObjektList byPredicate;
    copyList(byPredicate, byFlags);
    // copyList drops references to elements outside the list; put them
    // back so both lists start alike.
    auto same = [&](const TObjekt* e) -> TObjekt* {
      if (e == foreign.get()) return foreign.get();
      for (size_t j = 0; j < byFlags.size(); ++j)
        if (byFlags[j].get() == e) return byPredicate[j].get();
      return nullptr;
    };
    for (size_t i = 0; i < byFlags.size(); ++i) {
      TObjekt& e = *byPredicate[i];
      e.padLink = same(byFlags[i]->padLink);
      e.routeFrom = same(byFlags[i]->routeFrom);
      e.routeTo = same(byFlags[i]->routeTo);
      e.connections.clear();
      for (TObjekt* c : byFlags[i]->connections) e.connections.push_back(same(c));
    }
    std::vector<uint8_t> flags(byFlags.size());
    const int share = std::uniform_int_distribution<int>(0, 4)(rng);
    for (auto& f : flags) f = std::uniform_int_distribution<int>(0, 4)(rng) < share;
    std::vector<const TObjekt*> doomed;
    for (size_t i = 0; i < flags.size(); ++i)
      if (flags[i]) doomed.push_back(byPredicate[i].get());
    const size_t expected = deleteElementsIf(byPredicate, [&](const TObjekt& e) {
      return std::find(doomed.begin(), doomed.end(), &e) != doomed.end();
    });

    EXPECT_EQ(deleteFlaggedElements(byFlags, flags), expected) << round;
    removed += expected;
    kept += byFlags.size();
    ByteWriter a, b;
    writeElementBlock(a, byFlags);
    writeElementBlock(b, byPredicate);
    ASSERT_EQ(a.bytes(), b.bytes()) << round;
    // Nothing refers to a removed element any more (its position would be
    // written as -1 as well), and references to the element outside the
    // list stay, as they did.
    const ElementPositions members(byFlags);
    auto valid = [&](const TObjekt* e) { return !e || e == foreign.get() || members.contains(e); };
    for (size_t i = 0; i < byFlags.size(); ++i) {
      const TObjekt& e = *byFlags[i];
      EXPECT_TRUE(valid(e.padLink) && valid(e.routeFrom) && valid(e.routeTo)) << round;
      EXPECT_TRUE(std::all_of(e.connections.begin(), e.connections.end(), valid)) << round;
    }
    for (size_t i = 0; i < byFlags.size(); ++i) {
      const TObjekt& f = *byFlags[i];
      const TObjekt& p = *byPredicate[i];
      EXPECT_EQ(f.padLink == foreign.get(), p.padLink == foreign.get());
      EXPECT_EQ(f.routeFrom == foreign.get(), p.routeFrom == foreign.get());
      EXPECT_EQ(f.routeTo == foreign.get(), p.routeTo == foreign.get());
      EXPECT_EQ(std::count(f.connections.begin(), f.connections.end(), foreign.get()),
                std::count(p.connections.begin(), p.connections.end(), foreign.get()));
    }
  }
  EXPECT_GT(removed, 500u);
  EXPECT_GT(kept, 500u);
}

}  // namespace
}  // namespace plavesk
