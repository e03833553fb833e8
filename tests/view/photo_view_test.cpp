#include "view/photo_view.h"

#include <gtest/gtest.h>

#include "render_fixtures.h"
#include "view/image_export.h"

namespace plavesk {
namespace {

TEST(PhotoColours, SubstituteBySideAndGroundPlane) {
  TBoardRecord state;
  TPhotoOptions side1, side2;
  side2.side = 2;
  const TColourScheme std = standardColourScheme();
  TColourScheme s = photoColourScheme(std, state, side1);
  EXPECT_EQ(s[kColourBackground], kPhotoBoard);
  EXPECT_EQ(s[kColourCopper1], kPhotoCopper);
  EXPECT_EQ(s[kColourSilk1], kPhotoSilkscreen);
  EXPECT_EQ(s[kColourCopper2], rgb(30, 126, 30));
  EXPECT_EQ(s[kColourSilk2], rgb(30, 126, 30));
  EXPECT_EQ(s[kColourGrid], std[kColourGrid]);
  s = photoColourScheme(std, state, side2);
  EXPECT_EQ(s[kColourCopper2], kPhotoCopper);
  EXPECT_EQ(s[kColourCopper1], rgb(30, 126, 30));

  state.groundPlane1 = 1;
  EXPECT_EQ(photoOtherSideColour(state, side1), rgb(20, 170, 20));
  EXPECT_EQ(photoBackgroundColour(state, side1), kPhotoCopper);
  EXPECT_EQ(photoOtherSideColour(state, side2), rgb(30, 126, 30));
  EXPECT_EQ(photoBackgroundColour(state, side2), kPhotoBoard);
}

TEST(PhotoLayers, FarSideFirstWhenShiningThrough) {
  struct Case {
    int side;
    bool silkscreen, xray;
    std::vector<int> order;
  } cases[] = {
      {1, true, true, {3, 4, 1, 2}}, {1, false, true, {3, 1}}, {1, false, false, {1}},
      {2, true, true, {1, 2, 3, 4}}, {2, true, false, {3, 4}},
  };
  for (const Case& c : cases)
    EXPECT_EQ(photoLayerOrder({c.side, c.silkscreen, c.xray}), c.order)
        << c.side << c.silkscreen << c.xray;
  EXPECT_EQ(mirroredScrollPosition(2000, 100, 600), 1300);
}

// A small board drawn from side 1 and from side 2: with nothing that depends
// on the side but its colours, side 2 is side 1 mirrored left-right.
TEST(PhotoView, SideTwoIsTheMirrorOfSideOne) {
  TBoardRecord state;
  state.width = 2000;
  state.height = 1000;
  TObjektList list;
  testing::addThroughPad(list, {300, -300}, 100, 40);
  list.push_back(createPad({1500, -700}, 80, kPadOblongH, kCopper1, 30));
  testing::addTrack(list, kCopper1, 60, {{300, -300}, {900, -300}, {1500, -700}});
  list.push_back(createCircle({1200, -300}, 150, kPadRound, kSilk1, 120));
  list.back()->angle = 0;
  list.back()->dim3 = 90;
  list.push_back(createSmdPad({700, -800}, 200, kCopper2, 100));
  TRenderSettings settings;
  settings.photoView = true;
  settings.photo.xray = true;
  const TImageSize size{200, 100};
  settings.photo.side = 1;
  const RasterImage one = renderBoardImage(list, state, settings, size);
  settings.photo.side = 2;
  const RasterImage two = renderBoardImage(list, state, settings, size);
  // Colours swap roles between the sides; compare which pixels show the
  // board colour.
  int differing = 0, boardPixels = 0;
  for (int y = 0; y < size.height; ++y)
    for (int x = 0; x < size.width; ++x) {
      const bool a = one.pixel(x, y) == kPhotoBoard;
      const bool b = two.pixel(size.width - 1 - x, y) == kPhotoBoard;
      differing += a != b;
      boardPixels += a;
    }
  EXPECT_GT(boardPixels, 10000);
  // One-pixel outlines lie right of and below their line on both sides, so
  // the edges of figures may differ by a pixel column; an unmirrored picture
  // differs in thousands.
  EXPECT_LE(differing, 60);
  // The quarter arc from 0 to 90 degrees: right and above its centre on
  // side 1, left and above on side 2.
  const int cx = 120, cy = 30;  // device centre of (1200, -300)
  EXPECT_EQ(one.pixel(cx + 13, cy - 1), kPhotoSilkscreen);
  EXPECT_EQ(one.pixel(cx - 1, cy - 13), kPhotoSilkscreen);
  EXPECT_NE(one.pixel(cx - 14, cy), kPhotoSilkscreen);
  const int mx = size.width - cx;
  EXPECT_EQ(two.pixel(mx - 14, cy - 1), photoOtherSideColour(state, settings.photo));
  EXPECT_NE(two.pixel(mx + 13, cy - 1), photoOtherSideColour(state, settings.photo));
}

TEST(PhotoView, HolesAreWhiteWithBlackRimAndNoHatch) {
  TBoardRecord state;
  state.width = 1000;
  state.height = 1000;
  TObjektList list;
  testing::addThroughPad(list, {500, -500}, 200, 100);
  TRenderSettings settings;
  settings.photoView = true;
  const RasterImage image = renderBoardImage(list, state, settings, {100, 100});
  EXPECT_EQ(image.pixel(50, 50), kWhite);
  EXPECT_EQ(image.pixel(40, 50), kBlack);
  EXPECT_EQ(image.pixel(35, 50), kPhotoCopper);
  EXPECT_EQ(image.pixel(36, 50), kPhotoCopper);
  EXPECT_EQ(image.pixel(5, 5), kPhotoBoard);
}

}  // namespace
}  // namespace plavesk
