#include "platform/core/raster_canvas.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <vector>

namespace plavesk {
namespace {

constexpr CanvasColour kRed = 0x0000FF, kBlue = 0xFF0000, kWhite = 0xFFFFFF;

// One unit a pixel, y up: world (x, y) is pixel (x, -y).
CanvasMapping unitMapping() {
  CanvasMapping m;
  m.windowExtY = -1;
  return m;
}

int count(const RasterImage& image, CanvasColour c) {
  int n = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) n += image.pixel(x, y) == c;
  return n;
}

TEST(RasterCanvas, FiguresCoverThePixelsWhoseCentresLieInside) {
  RasterImage image(40, 40, 0);
  RasterCanvas canvas(image);
  canvas.setMapping(unitMapping());
  canvas.setPen({kRed, 0, PenStyle::kNone});
  canvas.setBrush({kRed, true, nullptr});
  canvas.rectangle({2, -2, 12, -7});
  EXPECT_EQ(count(image, kRed), 10 * 5);
  image.fill(0);
  canvas.ellipse({0, 0, 40, -40});
  EXPECT_NEAR(count(image, kRed), 3.14159 * 400, 20);
  // A polygon with a hole by alternate filling.
  image.fill(0);
  const CanvasPoint twice[] = {{0, 0},  {20, 0},  {20, -20}, {0, -20}, {0, 0},
                               {5, -5}, {15, -5}, {15, -15}, {5, -15}, {5, -5}};
  canvas.polygon(twice);
  EXPECT_EQ(count(image, kRed), 400 - 100);
  EXPECT_EQ(image.pixel(10, 10), 0u);
}

TEST(RasterCanvas, PatternRepeatsInDevicePixels) {
  CanvasPattern pattern;
  for (int i = 0; i < 64; ++i) pattern[size_t(i)] = CanvasColour(i);
  RasterImage image(24, 24, kWhite);
  RasterCanvas canvas(image);
  canvas.setMapping(unitMapping());
  canvas.setPen({0, 0, PenStyle::kNone});
  canvas.setBrush({kRed, true, &pattern});
  canvas.rectangle({3, -5, 21, -20});
  for (int y = 5; y < 20; ++y)
    for (int x = 3; x < 21; ++x) ASSERT_EQ(image.pixel(x, y), CanvasColour((y % 8) * 8 + x % 8));
}

TEST(RasterCanvas, ArcsRunCounterClockwiseOnTheDevice) {
  for (bool mirrored : {false, true}) {
    RasterImage image(41, 41, 0);
    RasterCanvas canvas(image);
    CanvasMapping m = unitMapping();
    m.viewportOrgX = m.viewportOrgY = 20;
    if (mirrored) m.windowExtX = -1;
    canvas.setMapping(m);
    canvas.setPen({kRed, 3, PenStyle::kSolid});
    // From the ray to world +x to the ray to world +y.
    canvas.arc({-15, 15, 15, -15}, {15, 0}, {0, 15});
    // Counter-clockwise on the screen from the start ray: unmirrored the
    // quarter from right to top; mirrored, +x lies to the left and the way
    // to the top goes round through the bottom and the right.
    EXPECT_EQ(image.pixel(20, 5), kRed) << mirrored;
    EXPECT_EQ(image.pixel(30, 9), kRed) << mirrored;
    EXPECT_NE(image.pixel(9, 9), kRed) << mirrored;
    EXPECT_EQ(image.pixel(20, 35) == kRed, mirrored);
  }
}

TEST(RasterCanvas, NotXorTwiceRestoresAndClipLimitsDrawing) {
  RasterImage image(20, 20, 0x123456);
  RasterCanvas canvas(image);
  canvas.setMapping(unitMapping());
  canvas.setMode(RasterMode::kNotXor);
  canvas.setPen({kBlue, 0, PenStyle::kSolid});
  canvas.setBrush({kBlue, false, nullptr});
  canvas.rectangle({2, -2, 15, -15});
  EXPECT_NE(count(image, 0x123456), 400);
  canvas.rectangle({2, -2, 15, -15});
  EXPECT_EQ(count(image, 0x123456), 400);

  canvas.setMode(RasterMode::kCopy);
  canvas.setClip({0, 0, 10, 10});
  canvas.setBrush({kBlue, true, nullptr});
  canvas.rectangle({0, 0, 20, -20});
  EXPECT_EQ(count(image, kBlue), 100);
}

TEST(RasterCanvas, WidePensHaveRoundEnds) {
  RasterImage image(40, 20, 0);
  RasterCanvas canvas(image);
  canvas.setMapping(unitMapping());
  canvas.setPen({kRed, 10, PenStyle::kSolid});
  canvas.line({10, -10}, {30, -10});
  EXPECT_EQ(image.pixel(20, 6), kRed);
  EXPECT_EQ(image.pixel(6, 10), kRed);  // the cap reaches 5 beyond the end
  EXPECT_EQ(image.pixel(5, 5), 0u);     // but not into the corner
  EXPECT_EQ(image.pixel(36, 10), 0u);
}

// A wide pen covers the pixels whose centres lie within half its width of
// the line (rectangles along the segments, discs on the points), however
// the segments overlap, turn back or close the figure.
TEST(RasterCanvas, WidePolylinesCoverThePixelsNearTheirPath) {
  struct Case {
    unsigned seed;
    int points;
    int width;
    bool closed;
  };
  const Case cases[] = {{1, 2, 3, false},  {2, 2, 10, false}, {3, 3, 6, false},    {4, 5, 2, false},
                        {5, 5, 15, false}, {6, 8, 4, false},  {7, 4, 9, true},     {8, 6, 5, true},
                        {9, 2, 24, false}, {10, 7, 7, true},  {11, 3, 1000, false}};
  for (const Case& c : cases) {
    std::mt19937 random(c.seed);
    // Ends inside and a little outside the image, and a repeated point.
    std::uniform_int_distribution<int32_t> x(-20, 140), y(-20, 110);
    std::vector<CanvasPoint> points;
    for (int i = 0; i < c.points; ++i) points.push_back({x(random), -y(random)});
    if (c.points > 3) points[2] = points[1];
    RasterImage image(120, 90, 0);
    RasterCanvas canvas(image);
    canvas.setMapping(unitMapping());
    canvas.setPen({kRed, c.width, PenStyle::kSolid});
    canvas.setBrush({0, false, nullptr});
    if (c.closed)
      canvas.polygon(points);
    else
      canvas.polyline(points);
    const double h = c.width / 2.0;
    int wrong = 0;
    for (int py = 0; py < 90; ++py)
      for (int px = 0; px < 120; ++px) {
        const double cx = px + 0.5, cy = py + 0.5;
        double nearest = 1e300;
        const size_t n = points.size();
        for (size_t i = 0; i < n; ++i) {
          if (i + 1 == n && !c.closed) break;
          const double ax = points[i].x, ay = -points[i].y;
          const double bx = points[(i + 1) % n].x, by = -points[(i + 1) % n].y;
          const double ex = bx - ax, ey = by - ay, len2 = ex * ex + ey * ey;
          const double t =
              len2 > 0 ? std::clamp(((cx - ax) * ex + (cy - ay) * ey) / len2, 0.0, 1.0) : 0;
          nearest = std::min(nearest, std::hypot(cx - ax - t * ex, cy - ay - t * ey));
        }
        // Centres on the edge itself may go either way.
        if (std::fabs(nearest - h) < 1e-6) continue;
        if ((image.pixel(px, py) == kRed) != (nearest < h) && wrong++ == 0)
          ADD_FAILURE() << "case " << c.seed << ": pixel " << px << "," << py << " at " << nearest
                        << " from the line, half width " << h;
      }
  }
}

// Draws the same picture twice, once whole and once clipped, and expects the
// clipped one to equal the whole one inside the clip and to be untouched
// outside.
template <class Draw>
void expectClipEqualsCrop(const CanvasRect& clip, Draw draw, const char* what) {
  constexpr CanvasColour kUntouched = 0x123456;
  RasterImage whole(120, 90, kUntouched), part(120, 90, kUntouched);
  RasterCanvas wholeCanvas(whole), partCanvas(part);
  partCanvas.setClip(clip);
  draw(wholeCanvas);
  draw(partCanvas);
  int wrong = 0;
  for (int y = 0; y < 90; ++y)
    for (int x = 0; x < 120; ++x) {
      const bool inside = x >= clip.left && x < clip.right && y >= clip.top && y < clip.bottom;
      const CanvasColour expected = inside ? whole.pixel(x, y) : kUntouched;
      if (part.pixel(x, y) != expected && wrong++ == 0)
        ADD_FAILURE() << what << ": pixel " << x << "," << y << " with clip " << clip.left << ","
                      << clip.top << " - " << clip.right << "," << clip.bottom;
    }
}

const CanvasRect kClips[] = {{30, 20, 90, 70}, {0, 0, 61, 45},  {59, 44, 120, 90},
                             {0, 33, 120, 34}, {71, 0, 72, 90}, {100, 5, 117, 19}};

TEST(RasterCanvasClip, OnePixelLinesKeepTheirPixelsWhereverTheClipCutsThem) {
  // Ends on a ring around the middle, far outside the image as well: every
  // octant, steep and shallow slopes, ties at 45 degrees.
  for (const CanvasRect& clip : kClips)
    for (double radius : {40.0, 400.0})
      for (int k = 0; k < 48; ++k) {
        const double a = k * 3.14159265358979 / 24 + 0.01 * (k % 3);
        const CanvasPoint from{60 - int32_t(radius * std::cos(a)),
                               -45 + int32_t(radius * std::sin(a))};
        const CanvasPoint to{60 + int32_t(radius * std::cos(a) / 3),
                             -45 - int32_t(radius * std::sin(a) / 2)};
        expectClipEqualsCrop(
            clip,
            [&](RasterCanvas& c) {
              c.setMapping(unitMapping());
              c.setPen({kRed, 0, PenStyle::kSolid});
              c.line(from, to);
            },
            "line");
      }
}

TEST(RasterCanvasClip, FiguresWidePensAndPatternsKeepTheirPixels) {
  CanvasPattern pattern;
  for (int i = 0; i < 64; ++i) pattern[size_t(i)] = CanvasColour(i * 0x030201);
  const CanvasPoint track[] = {{-10, -10}, {50, -80}, {75, -30}, {130, -60}};
  const CanvasPoint star[] = {{60, -2}, {80, -85}, {5, -30}, {115, -30}, {40, -85}};
  for (const CanvasRect& clip : kClips)
    for (RasterMode mode : {RasterMode::kCopy, RasterMode::kNotXor}) {
      expectClipEqualsCrop(
          clip,
          [&](RasterCanvas& c) {
            c.setMapping(unitMapping());
            c.setMode(mode);
            c.setPen({kRed, 9, PenStyle::kSolid});
            c.polyline(track);
            c.setBrush({kBlue, true, &pattern});
            c.setPen({kWhite, 3, PenStyle::kSolid});
            c.polygon(star);
            c.setPen({kBlue, 0, PenStyle::kSolid});
            c.setBrush({kBlue, true, nullptr});
            c.ellipse({20, -20, 70, -75});
            c.setPen({kRed, 5, PenStyle::kInsideFrame});
            c.roundRect({70, -10, 118, -50}, 20, 14);
            c.arc({0, 0, 110, -88}, {110, -44}, {0, -88});
            c.setBrush({kWhite, true, nullptr});
            c.chord({10, -50, 60, -89}, {60, -70}, {10, -70});
          },
          mode == RasterMode::kCopy ? "figures" : "figures in not-xor");
    }
}

}  // namespace
}  // namespace plavesk
