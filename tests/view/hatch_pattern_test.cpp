#include "view/hatch_pattern.h"

#include <gtest/gtest.h>

namespace plavesk {
namespace {

TEST(HatchPattern, DiagonalStripesTwoPixelsWide) {
  // Drawn by hand: 'A' marks the first colour; stripes run from top left to
  // bottom right and the tile repeats every four rows.
  const char* const kPicture[8] = {
      "ABBAABBA", "AABBAABB", "BAABBAAB", "BBAABBAA",
      "ABBAABBA", "AABBAABB", "BAABBAAB", "BBAABBAA",
  };
  const TColour a = 0x00112233, b = 0x00445566;
  THatchTile tile = makeHatchTile(a, b);
  for (int row = 0; row < 8; ++row)
    for (int column = 0; column < 8; ++column)
      EXPECT_EQ(tile.at(column, row), kPicture[row][column] == 'A' ? a : b)
          << "column " << column << " row " << row;
}

TEST(HatchPattern, TilesTakeTheirColoursFromTheScheme) {
  TColourScheme s;
  for (int i = 0; i < kSchemeColourCount; ++i) s[i] = rgb(uint8_t(i + 1), 0, 0);
  THatchTiles tiles = buildHatchTiles(s);
  struct Case {
    const char* name;
    const THatchTile& tile;
    TColour a, b;
  };
  const Case cases[] = {
      {"through pad", tiles.throughPad, s[kColourCopper1], s[kColourCopper2]},
      {"cutout 1", tiles.cutout1, s[kColourCopper1], s[kColourBackground]},
      {"cutout 2", tiles.cutout2, s[kColourCopper2], s[kColourBackground]},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(c.tile, makeHatchTile(c.a, c.b)) << c.name;
  }

  for (int layer : {1, 2}) EXPECT_EQ(&cutoutTileForLayer(tiles, layer), &tiles.cutout1);
  for (int layer : {3, 4}) EXPECT_EQ(&cutoutTileForLayer(tiles, layer), &tiles.cutout2);
}

TEST(HatchPattern, RebuiltTilesFollowAChangedScheme) {
  TColourScheme s = standardColourScheme();
  THatchTiles before = buildHatchTiles(s);
  s[kColourCopper2] = rgb(1, 2, 3);
  THatchTiles after = buildHatchTiles(s);
  EXPECT_NE(after.throughPad, before.throughPad);
  EXPECT_NE(after.cutout2, before.cutout2);
  EXPECT_EQ(after.cutout1, before.cutout1);
}

}  // namespace
}  // namespace plavesk
