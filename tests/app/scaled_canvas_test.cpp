// The drawing area's canvas at a screen's pixel ratio: figures land on the
// image pixels a raster canvas with the enlarged mapping would fill, only
// inside the clip, and the frame covers the view at full resolution.
#include "app/scaled_canvas.h"

#include <gtest/gtest.h>

namespace plavesk {
namespace {

CanvasMapping viewLike() {
  CanvasMapping m;
  m.windowExtX = 100, m.windowExtY = -100;  // 100 units a pixel, y up
  m.viewportOrgX = 3, m.viewportOrgY = 5;
  return m;
}

void draw(Canvas& canvas) {
  canvas.setPen({0x000000FF, 40, PenStyle::kSolid});
  canvas.setBrush({0x0000FF00});
  const CanvasPoint zig[] = {{100, -100}, {2500, -1300}, {600, -2200}};
  canvas.polyline(zig);
  canvas.ellipse({1500, -300, 2300, -1100});
  canvas.line({0, -2000}, {3000, -2000});
}

TEST(ScaledCanvas, DrawsWhatAnEnlargedMappingDrawsAtEveryScale) {
  for (int scale : {1, 2, 3}) {
    const int32_t w = 40, h = 30;
    RasterImage scaled(w * scale, h * scale), reference(w * scale, h * scale);
    // Image pixel (0, 0) is view pixel (8, 0).
    TScaledImageCanvas canvas(scaled, 8, 0, scale, {8, 0, 8 + w, h});
    canvas.setMapping(viewLike());
    draw(canvas);
    RasterCanvas plain(reference);
    CanvasMapping m = viewLike();
    m.viewportOrgX = (m.viewportOrgX - 8) * scale;
    m.viewportOrgY *= scale;
    m.viewportExtX *= scale;
    m.viewportExtY *= scale;
    plain.setMapping(m);
    draw(plain);
    int drawn = 0, differing = 0;
    for (int32_t y = 0; y < reference.height(); ++y)
      for (int32_t x = 0; x < reference.width(); ++x) {
        drawn += reference.pixel(x, y) != 0x00FFFFFF;
        differing += reference.pixel(x, y) != scaled.pixel(x, y);
      }
    EXPECT_GT(drawn, 20 * scale * scale) << scale;
    EXPECT_EQ(differing, 0) << scale;
  }
}

TEST(ScaledCanvas, StaysInsideItsClipAndBands) {
  const int scale = 2;
  RasterImage image(40 * scale, 30 * scale);
  TScaledImageCanvas canvas(image, 0, 0, scale, {0, 0, 40, 30});
  EXPECT_EQ(canvas.clipBox().right, 40);
  std::unique_ptr<Canvas> band = canvas.band({10, 10, 20, 60});
  ASSERT_TRUE(band);
  EXPECT_EQ(band->clipBox().bottom, 30);
  CanvasMapping m;
  band->setMapping(m);
  band->setPen({0x00000000, 0, PenStyle::kSolid});
  band->setBrush({0x00000000});
  band->rectangle({0, 0, 40, 30});
  for (int32_t y = 0; y < image.height(); ++y)
    for (int32_t x = 0; x < image.width(); ++x) {
      const bool inside = x >= 10 * scale && x < 20 * scale && y >= 10 * scale && y < 30 * scale;
      if (!inside) {
        ASSERT_EQ(image.pixel(x, y), 0x00FFFFFFu) << x << "," << y;
      }
    }
  EXPECT_EQ(image.pixel(15 * scale, 20 * scale), 0x00000000u);
}

}  // namespace
}  // namespace plavesk
