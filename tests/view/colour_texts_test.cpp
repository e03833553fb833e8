#include "view/colour_texts.h"

#include <gtest/gtest.h>

#include <string>

#include "view/colour_scheme.h"

namespace plavesk {
namespace {

TEST(ColourTexts, OnlyTheSwatchesShownInTheDialogHaveCaptions) {
  for (int language = 0; language <= 2; ++language) {
    for (int index = 0; index < kSchemeColourCount; ++index) {
      bool reserved = index == kColourReserved6 || index == kColourReserved8;
      EXPECT_EQ(std::string(colourRoleCaption(index, language)).empty(), reserved)
          << "index " << index << " language " << language;
    }
  }
  EXPECT_STREQ(colourRoleCaption(kColourSilk1, 0), "Bestückung (Seite 1)");
  EXPECT_STREQ(colourRoleCaption(kColourSilk2, 2), "Sérigraphie (Face 2)");
  EXPECT_STREQ(colourRoleCaption(kColourConnections, 1), "Connections");
}

TEST(ColourTexts, UnknownLanguageAndIndexes) {
  EXPECT_STREQ(schemeName(0, 7), "Default");
  EXPECT_STREQ(schemeName(0, -1), "Default");
  EXPECT_STREQ(schemeName(0, 0), "Standard");
  EXPECT_STREQ(schemeName(0, 2), "Défaut");
  EXPECT_STREQ(schemeName(2, 0), "User 2");
  EXPECT_STREQ(schemeName(4, 1), "");
  EXPECT_STREQ(colourRoleCaption(9, 1), "");
  EXPECT_STREQ(layerButtonCaption(0, 1), "");
}

}  // namespace
}  // namespace plavesk
