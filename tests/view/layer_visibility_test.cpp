#include "view/layer_visibility.h"

#include <gtest/gtest.h>

#include <string>

namespace plavesk {
namespace {

using Flags = std::array<uint8_t, 4>;

TBoardRecord state(int activeLayer, Flags visible) {
  TBoardRecord r;
  r.activeLayer = activeLayer;
  r.layerVisible = visible;
  return r;
}

TEST(LayerVisibility, FlagsActiveLayerAndOtherCodes) {
  // Layer 2 hidden while layer 1 is active: only layer 2 disappears.
  TBoardRecord r = state(1, {1, 0, 1, 1});
  struct Case {
    int layer;
    bool visible;
  };
  const Case cases[] = {{1, true}, {2, false}, {3, true},   {4, true},
                        {0, true}, {5, true},  {255, true}, {-3, true}};
  for (const Case& c : cases) EXPECT_EQ(isLayerVisible(r, c.layer), c.visible) << c.layer;

  // A record whose active layer's flag is cleared still draws that layer.
  EXPECT_TRUE(isLayerVisible(state(4, {1, 1, 1, 0}), 4));
}

TEST(LayerVisibility, SetActiveLayer) {
  struct Case {
    const char* what;
    int active;
    Flags flags;
    int layer;
    int expectActive;
    Flags expectFlags;
    bool activeChanged, visibilityChanged;
  };
  const Case cases[] = {
      {"visible layer", 3, {1, 1, 1, 1}, 1, 1, {1, 1, 1, 1}, true, false},
      {"hidden layer is shown", 3, {1, 0, 1, 1}, 2, 2, {1, 1, 1, 1}, true, true},
      {"already active", 2, {0, 1, 0, 0}, 2, 2, {0, 1, 0, 0}, false, false},
      {"code 0", 3, {1, 0, 1, 1}, 0, 3, {1, 0, 1, 1}, false, false},
      {"code 5", 3, {1, 1, 1, 0}, 5, 3, {1, 1, 1, 0}, false, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TBoardRecord r = state(c.active, c.flags);
    TLayerChange change = setActiveLayer(r, c.layer);
    EXPECT_EQ(r.activeLayer, c.expectActive);
    EXPECT_EQ(r.layerVisible, c.expectFlags);
    EXPECT_EQ(change.activeChanged, c.activeChanged);
    EXPECT_EQ(change.visibilityChanged, c.visibilityChanged);
  }
}

TEST(LayerVisibility, ToggleRefusesTheActiveLayerAndUnknownCodes) {
  TBoardRecord r = state(3, {1, 1, 1, 1});
  EXPECT_FALSE(toggleLayerVisibility(r, 3));
  EXPECT_FALSE(toggleLayerVisibility(r, 0));
  EXPECT_FALSE(toggleLayerVisibility(r, 5));
  EXPECT_EQ(r.layerVisible, (Flags{1, 1, 1, 1}));

  EXPECT_TRUE(toggleLayerVisibility(r, 2));
  EXPECT_EQ(r.layerVisible, (Flags{1, 0, 1, 1}));
  EXPECT_FALSE(isLayerVisible(r, 2));
  EXPECT_TRUE(toggleLayerVisibility(r, 2));
  EXPECT_EQ(r.layerVisible, (Flags{1, 1, 1, 1}));
}

TEST(LayerVisibility, ShowActiveLayerRepairsALoadedRecord) {
  TBoardRecord r = state(2, {0, 0, 0, 0});
  EXPECT_TRUE(showActiveLayer(r));
  EXPECT_EQ(r.layerVisible, (Flags{0, 1, 0, 0}));
  EXPECT_FALSE(showActiveLayer(r));
}

TEST(LayerSides, GroundPlaneAndBoardBackground) {
  const TColourScheme colours = standardColourScheme();
  struct Case {
    int active;
    uint8_t plane1, plane2;
    bool planeOnActiveSide;
    TColour background;
  };
  const Case cases[] = {
      {1, 0, 0, false, colours[kColourBackground]}, {1, 1, 0, true, colours[kColourCopper1]},
      {2, 1, 0, true, colours[kColourCopper1]},     {2, 0, 1, false, colours[kColourBackground]},
      {3, 1, 0, false, colours[kColourBackground]}, {3, 0, 1, true, colours[kColourCopper2]},
      {4, 1, 1, true, colours[kColourCopper2]},
  };
  for (const Case& c : cases) {
    TBoardRecord r = state(c.active, {1, 1, 1, 1});
    r.groundPlane1 = c.plane1;
    r.groundPlane2 = c.plane2;
    std::string trace = "active " + std::to_string(c.active) + " planes " +
                        std::to_string(c.plane1) + std::to_string(c.plane2);
    EXPECT_EQ(isGroundPlaneOn(r, r.activeLayer), c.planeOnActiveSide) << trace;
    EXPECT_EQ(boardBackgroundColour(r, colours), c.background) << trace;
  }

  TBoardRecord both = state(1, {1, 1, 1, 1});
  both.groundPlane1 = both.groundPlane2 = 1;
  EXPECT_FALSE(isGroundPlaneOn(both, 0));
  EXPECT_FALSE(isGroundPlaneOn(both, 5));
}

TEST(LayerSides, DrawOrderPutsTheActiveSideOnTop) {
  for (int active : {1, 2}) {
    EXPECT_EQ(layerDrawOrder(active), (std::array<int, 4>{3, 1, 4, 2})) << active;
  }
  for (int active : {3, 4}) {
    EXPECT_EQ(layerDrawOrder(active), (std::array<int, 4>{1, 3, 2, 4})) << active;
  }
}

TEST(LayerSides, ActiveSide) {
  TBoardRecord r = state(2, {1, 1, 1, 1});
  EXPECT_TRUE(isOnActiveSide(r, 1));
  EXPECT_TRUE(isOnActiveSide(r, 2));
  EXPECT_FALSE(isOnActiveSide(r, 3));
  EXPECT_FALSE(isOnActiveSide(r, 4));
  r.activeLayer = 3;
  EXPECT_TRUE(isOnActiveSide(r, 4));
  EXPECT_FALSE(isOnActiveSide(r, 1));
}

TEST(LayerPanel, ColoursCaptionsAndBoldFollowTheState) {
  TColourScheme colours;
  for (int i = 0; i < kSchemeColourCount; ++i) colours[i] = rgb(uint8_t(i + 1), 0, 0);
  TBoardRecord r = state(3, {0, 1, 1, 0});

  TLayerPanelLook en = layerPanelLook(r, colours, 1);
  EXPECT_EQ(en.background, colours[kColourBackground]);
  const char* const enCaptions[4] = {"C1", "S1", "C2", "S2"};
  const TColour buttonColours[4] = {colours[kColourCopper1], colours[kColourSilk1],
                                    colours[kColourCopper2], colours[kColourSilk2]};
  const bool bold[4] = {false, true, true, false};
  for (size_t i = 0; i < 4; ++i) {
    EXPECT_STREQ(en.captions[i], enCaptions[i]) << i;
    EXPECT_EQ(en.captionColours[i], buttonColours[i]) << i;
    EXPECT_EQ(en.bold[i], bold[i]) << i;
  }

  TLayerPanelLook de = layerPanelLook(r, colours, 0);
  const char* const deCaptions[4] = {"K1", "B1", "K2", "B2"};
  for (size_t i = 0; i < 4; ++i) EXPECT_STREQ(de.captions[i], deCaptions[i]) << i;
  EXPECT_STREQ(layerPanelLook(r, colours, 2).captions[0], "C1");
}

}  // namespace
}  // namespace plavesk
