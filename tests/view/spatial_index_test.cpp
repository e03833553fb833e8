#include "view/spatial_index.h"

#include <gtest/gtest.h>

#include <random>

namespace plavesk {
namespace {

// Pads, tracks, rings and one element far larger than a cell.
TObjektList scatteredBoard() {
  std::mt19937 rng(11);
  std::uniform_int_distribution<int32_t> px(-3000, 6000), py(-6000, 3000), r(20, 300), shape(1, 9);
  TObjektList list;
  for (int i = 0; i < 600; ++i) {
    const TPoint c{px(rng), py(rng)};
    if (i % 3 == 0) {
      list.push_back(createPad(c, r(rng), shape(rng), kCopper1, 20));
    } else if (i % 3 == 1) {
      auto t = createTrack(r(rng) / 2, kCopper2);
      addPoint(*t, c);
      addPoint(*t, {c.x + r(rng) * 3, c.y - r(rng) * 2});
      list.push_back(std::move(t));
    } else {
      list.push_back(createCircle(c, r(rng), 1, kSilk1, 10));
    }
  }
  auto big = createArea(10, kCopper1);
  for (TPoint p : {TPoint{-100000, -100000}, TPoint{100000, -100000}, TPoint{0, 100000}})
    addPoint(*big, p);
  list.push_back(std::move(big));
  list.push_back(createText({0, 0}, "", false, false, kSilk1, 0, 1, 1, 100));  // no geometry
  return list;
}

TEST(SpatialIndex, FindsExactlyWhatTestingEveryElementFinds) {
  const TObjektList list = scatteredBoard();
  for (int32_t cell : {1, 100, 500, 5000}) {
    TSpatialIndex index(cell);
    index.build(list);
    ASSERT_EQ(index.size(), list.size());
    std::mt19937 rng(5);
    std::uniform_int_distribution<int32_t> px(-3500, 6500), py(-6500, 3500);
    size_t total = 0;
    for (int k = 0; k < 300; ++k) {
      const TPoint p{px(rng), py(rng)};
      for (double zoom : {0.01, 0.1, 1.0}) {
        std::vector<size_t> expected;
        for (size_t i = 0; i < list.size(); ++i)
          if (hitElement(*list[i], p, zoom)) expected.push_back(i);
        EXPECT_EQ(hitElements(list, index, p, zoom), expected) << p.x << "," << p.y << " " << zoom;
        total += expected.size();
      }
    }
    EXPECT_GT(total, 900u);  // the large area alone is hit every time
  }
}

}  // namespace
}  // namespace plavesk
