#include "platform/core/region.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <polyclipping/clipper.hpp>
#include <random>

namespace plavesk {
namespace {

using Pt = Region::Point;

double distanceToSegment(double px, double py, Pt a, Pt b) {
  const double dx = b.x - a.x, dy = b.y - a.y;
  const double len2 = dx * dx + dy * dy;
  double t = len2 == 0 ? 0 : ((px - a.x) * dx + (py - a.y) * dy) / len2;
  t = std::clamp(t, 0.0, 1.0);
  return std::hypot(px - (a.x + t * dx), py - (a.y + t * dy));
}

double distanceToOutline(double px, double py, const std::vector<std::vector<Pt>>& polys) {
  double best = 1e300;
  for (const auto& poly : polys)
    for (size_t i = 0; i < poly.size(); ++i)
      best = std::min(best, distanceToSegment(px, py, poly[i], poly[(i + 1) % poly.size()]));
  return best;
}

ClipperLib::Path toPath(const std::vector<Pt>& poly, int scale = 1) {
  ClipperLib::Path path;
  for (const auto& p : poly) path.emplace_back(p.x * scale, p.y * scale);
  return path;
}

double pathsArea(const ClipperLib::Paths& paths) {
  double a = 0;
  for (const auto& p : paths) a += ClipperLib::Area(p);
  return a;
}

// Random polygons, convex and not, some self-intersecting, overlapping in a
// 2000 x 2000 field.
std::vector<std::vector<Pt>> randomPolygons(unsigned seed, int count) {
  std::mt19937 rng(seed);
  std::uniform_int_distribution<int> centre(0, 2000), radius(20, 400), vertices(3, 12);
  std::uniform_real_distribution<double> jitter(0.3, 1.0);
  std::vector<std::vector<Pt>> result;
  for (int k = 0; k < count; ++k) {
    const int cx = centre(rng), cy = centre(rng), r = radius(rng), n = vertices(rng);
    const bool star = k % 5 == 4;  // visits the angles twice: self-intersecting
    std::vector<Pt> poly;
    for (int i = 0; i < n; ++i) {
      const double a = 2 * std::numbers::pi * i * (star ? 2 : 1) / n;
      const double rr = r * (k % 3 == 0 ? 1.0 : jitter(rng));
      poly.push_back(
          Pt{cx + int(std::lround(rr * std::cos(a))), cy + int(std::lround(rr * std::sin(a)))});
    }
    result.push_back(poly);
  }
  return result;
}

class RegionUnionTest : public ::testing::TestWithParam<unsigned> {};

TEST_P(RegionUnionTest, AgreesWithClipperUnionOfTheSamePolygons) {
  const auto polys = randomPolygons(GetParam(), 40);
  Region region;
  for (const auto& poly : polys) region.unite(Region::polygon(poly, FillRule::kAlternate));
  // Clipper's union of the same polygons: each one filled even-odd on its
  // own, then all merged. At 1/16 unit, so that rounded crossing points
  // don't blur the comparison.
  constexpr int kFine = 16;
  ClipperLib::Paths reference;
  ClipperLib::Clipper merge;
  for (const auto& poly : polys) {
    ClipperLib::Clipper single;
    single.AddPath(toPath(poly, kFine), ClipperLib::ptSubject, true);
    ClipperLib::Paths clean;
    single.Execute(ClipperLib::ctUnion, clean, ClipperLib::pftEvenOdd, ClipperLib::pftEvenOdd);
    merge.AddPaths(clean, ClipperLib::ptSubject, true);
  }
  reference.clear();
  merge.Execute(ClipperLib::ctUnion, reference, ClipperLib::pftNonZero, ClipperLib::pftNonZero);

  // Points: the lazily united region answers from the original polygons.
  std::mt19937 rng(GetParam() * 7 + 1);
  std::uniform_int_distribution<int> coord(-500, 2500);
  int inside = 0;
  for (int i = 0; i < 3000; ++i) {
    const Pt p{coord(rng), coord(rng)};
    if (distanceToOutline(p.x, p.y, polys) < 0.5) continue;
    bool expected = false;
    for (const auto& poly : polys)
      expected |= ClipperLib::PointInPolygon(ClipperLib::IntPoint(p.x, p.y), toPath(poly)) != 0;
    EXPECT_EQ(region.containsPoint(p), expected) << p.x << "," << p.y;
    inside += expected;
  }
  EXPECT_GT(inside, 100);

  // Resolved contours: same area and no area in the symmetric difference.
  const double referenceArea = pathsArea(reference) / (kFine * kFine);
  EXPECT_NEAR(region.area(), referenceArea, 1.0);
  ClipperLib::Clipper xorClipper;
  for (const auto& poly : region.polygons())
    xorClipper.AddPath(toPath(poly, kFine), ClipperLib::ptSubject, true);
  xorClipper.AddPaths(reference, ClipperLib::ptClip, true);
  ClipperLib::Paths difference;
  xorClipper.Execute(ClipperLib::ctXor, difference, ClipperLib::pftNonZero, ClipperLib::pftNonZero);
  // polygons() rounds every vertex to a whole unit: the contours may move by
  // half a unit at most.
  double perimeter = 0;
  for (const auto& path : reference)
    for (size_t i = 0; i < path.size(); ++i) {
      const auto& a = path[i];
      const auto& b = path[(i + 1) % path.size()];
      perimeter += std::hypot(double(b.X - a.X), double(b.Y - a.Y)) / kFine;
    }
  EXPECT_LT(std::abs(pathsArea(difference)) / (kFine * kFine), 0.5 * perimeter);

  // After resolving, the points still agree away from the outline.
  for (int i = 0; i < 1000; ++i) {
    const Pt p{coord(rng), coord(rng)};
    if (distanceToOutline(p.x, p.y, polys) < 0.5) continue;
    bool expected = false;
    for (const auto& poly : polys)
      expected |= ClipperLib::PointInPolygon(ClipperLib::IntPoint(p.x, p.y), toPath(poly)) != 0;
    EXPECT_EQ(region.containsPoint(p), expected) << p.x << "," << p.y;
  }
}

INSTANTIATE_TEST_SUITE_P(Seeds, RegionUnionTest, ::testing::Values(1u, 2u, 3u, 42u));

// Every integer point half a unit inside the true circle is in the region and
// every point half a unit outside is not.
class EllipseAccuracyTest : public ::testing::TestWithParam<int> {};

TEST_P(EllipseAccuracyTest, CircleIsExactToHalfAUnit) {
  const int r = GetParam();
  const int cx = 12345, cy = -6789;
  const Region disc = Region::ellipse(cx - r, cy - r, cx + r, cy + r);
  EXPECT_EQ(disc.boundingBox(), (Region::Box{cx - r, cy - r, cx + r, cy + r}));
  int checked = 0;
  auto check = [&](int x, int y) {
    const double d = std::hypot(x, y);
    if (d <= r - 0.5) {
      EXPECT_TRUE(disc.containsPoint({cx + x, cy + y})) << r << ": " << x << "," << y;
      ++checked;
    } else if (d >= r + 0.5) {
      EXPECT_FALSE(disc.containsPoint({cx + x, cy + y})) << r << ": " << x << "," << y;
      ++checked;
    }
  };
  // Integer points in a band of three units around the circle, scanned by
  // columns and by rows.
  for (int a = -r - 2; a <= r + 2; ++a) {
    const int edge = int(std::sqrt(std::max(0.0, double(r) * r - double(a) * a)));
    for (int b = edge - 3; b <= edge + 3; ++b)
      for (int sign : {-1, 1}) {
        check(a, sign * b);
        check(sign * b, a);
      }
  }
  EXPECT_GT(checked, 8);
  const double expected = std::numbers::pi * r * r;
  EXPECT_NEAR(disc.area(), expected, 2 * std::numbers::pi * r * 0.5);
}

INSTANTIATE_TEST_SUITE_P(Radii, EllipseAccuracyTest,
                         ::testing::Values(1, 2, 3, 10, 47, 100, 1000, 6000));

TEST(RegionEllipse, AreaOfAnEllipseIsCloseToPiAB) {
  const struct { int32_t w, h; } cases[] = {{2000, 600}, {601, 1999}, {7, 3}, {100000, 40}};
  for (const auto& c : cases) {
    const Region e = Region::ellipse(0, 0, c.w, c.h);
    const double a = c.w / 2.0, b = c.h / 2.0;
    const double perimeter =
        std::numbers::pi * (3 * (a + b) - std::sqrt((3 * a + b) * (a + 3 * b)));
    EXPECT_NEAR(e.area(), std::numbers::pi * a * b, perimeter * 0.5) << c.w << "x" << c.h;
    EXPECT_EQ(e.boundingBox(), (Region::Box{0, 0, c.w, c.h}));
  }
  EXPECT_TRUE(Region::ellipse(5, 5, 5, 100).empty());
}

TEST(RegionRectangle, PointAndRectangleTestsAtTheEdges) {
  const Region r = Region::rectangle(100, 50, 0, 0);  // corners in any order
  EXPECT_EQ(r.boundingBox(), (Region::Box{0, 0, 100, 50}));
  EXPECT_DOUBLE_EQ(r.area(), 5000);
  const struct {
    Pt p;
    bool in;
  } points[] = {{{50, 25}, true},   {{0, 0}, true},    {{100, 50}, true}, {{100, 25}, true},
                {{101, 25}, false}, {{50, -1}, false}, {{-1, -1}, false}};
  for (const auto& c : points) EXPECT_EQ(r.containsPoint(c.p), c.in) << c.p.x << "," << c.p.y;

  const struct {
    Region::Box rect;
    bool hits;
  } rects[] = {
      {{100, 0, 200, 50}, false},    // shares the right edge only
      {{100, 50, 150, 80}, false},   // shares a corner only
      {{99, 0, 200, 50}, true},      // overlaps one unit
      {{-10, -10, 200, 200}, true},  // contains the rectangle
      {{10, 10, 20, 20}, true},      // inside it
      {{20, 20, 10, 10}, true},      // same, corners swapped
      {{10, 10, 10, 20}, false},     // no area
      {{200, 200, 300, 300}, false},
  };
  for (const auto& c : rects)
    EXPECT_EQ(r.intersectsRect(c.rect), c.hits)
        << c.rect.left << "," << c.rect.top << "," << c.rect.right << "," << c.rect.bottom;
}

TEST(RegionCombination, RingHasAHoleThatRectanglesAndPointsSee) {
  Region ring = Region::ellipse(-1000, -1000, 1000, 1000);
  ring.subtract(Region::ellipse(-800, -800, 800, 800));
  EXPECT_FALSE(ring.containsPoint({0, 0}));
  EXPECT_TRUE(ring.containsPoint({900, 0}));
  EXPECT_FALSE(ring.intersectsRect({-100, -100, 100, 100}));
  EXPECT_TRUE(ring.intersectsRect({-100, 850, 100, 870}));
  EXPECT_TRUE(ring.intersectsRect({-2000, -2000, 2000, 2000}));
  EXPECT_NEAR(ring.area(), std::numbers::pi * (1000.0 * 1000 - 800.0 * 800),
              2000 * std::numbers::pi);
  EXPECT_EQ(ring.boundingBox(), (Region::Box{-1000, -1000, 1000, 1000}));
  EXPECT_EQ(ring.polygons().size(), 2u);
}

TEST(RegionCombination, IntersectionAndDifferenceOfRectangles) {
  const Region a = Region::rectangle(0, 0, 100, 100);
  const Region b = Region::rectangle(50, 50, 150, 150);
  EXPECT_DOUBLE_EQ((a & b).area(), 2500);
  EXPECT_EQ((a & b).boundingBox(), (Region::Box{50, 50, 100, 100}));
  EXPECT_DOUBLE_EQ((a - b).area(), 7500);
  EXPECT_DOUBLE_EQ((a | b).area(), 17500);
  EXPECT_FALSE((a - b).containsPoint({75, 75}));
  EXPECT_TRUE((a - b).containsPoint({25, 75}));

  const Region far = Region::rectangle(1000, 1000, 1100, 1100);
  EXPECT_TRUE((a & far).empty());
  EXPECT_EQ((a & far).boundingBox(), (Region::Box{}));
  EXPECT_DOUBLE_EQ((a - far).area(), 10000);
  EXPECT_TRUE((a - a).empty());
  EXPECT_TRUE((a & Region()).empty());
  EXPECT_DOUBLE_EQ((Region() | a).area(), 10000);
}

TEST(RegionPolygon, FillRulesDifferOnAPentagram) {
  std::vector<Pt> star;
  for (int i = 0; i < 5; ++i) {
    const double a = std::numbers::pi / 2 + 2 * std::numbers::pi * 2 * i / 5;
    star.push_back({int(std::lround(1000 * std::cos(a))), int(std::lround(1000 * std::sin(a)))});
  }
  const Region alternate = Region::polygon(star, FillRule::kAlternate);
  const Region winding = Region::polygon(star, FillRule::kWinding);
  EXPECT_FALSE(alternate.containsPoint({0, 0}));
  EXPECT_TRUE(winding.containsPoint({0, 0}));
  EXPECT_FALSE(alternate.intersectsRect({-10, -10, 10, 10}));
  EXPECT_TRUE(winding.intersectsRect({-10, -10, 10, 10}));
  EXPECT_GT(winding.area(), alternate.area() + 100000);
  // A tip of the star belongs to both.
  EXPECT_TRUE(alternate.containsPoint({0, 900}));
  EXPECT_TRUE(winding.containsPoint({0, 900}));
  // A clockwise polygon is as filled as a counter-clockwise one.
  const Region cw = Region::polygon(std::vector<Pt>{{0, 0}, {0, 100}, {100, 100}, {100, 0}});
  EXPECT_DOUBLE_EQ(cw.area(), 10000);
  EXPECT_DOUBLE_EQ((cw | Region::rectangle(50, 0, 150, 100)).area(), 15000);
  EXPECT_TRUE(Region::polygon(std::vector<Pt>{{0, 0}, {100, 100}}).empty());
  EXPECT_TRUE(Region::polygon(std::vector<Pt>{{0, 0}, {50, 50}, {100, 100}}).empty());
}

TEST(RegionRoundRect, CornersAreCutByTheCornerEllipse) {
  const Region r = Region::roundRect(0, 0, 400, 200, 150, 150);
  EXPECT_EQ(r.boundingBox(), (Region::Box{0, 0, 400, 200}));
  EXPECT_FALSE(r.containsPoint({2, 2}));
  EXPECT_FALSE(r.containsPoint({398, 198}));
  EXPECT_TRUE(r.containsPoint({200, 0}));
  EXPECT_TRUE(r.containsPoint({0, 100}));
  EXPECT_NEAR(r.area(), 400.0 * 200 - (4 - std::numbers::pi) * 75 * 75, 600 * 0.5);
  // A corner larger than the rectangle is clamped: the result is an ellipse.
  EXPECT_NEAR(Region::roundRect(0, 0, 400, 200, 1000, 1000).area(),
              Region::ellipse(0, 0, 400, 200).area(), 1);
  EXPECT_DOUBLE_EQ(Region::roundRect(0, 0, 400, 200, 0, 0).area(), 80000);
}

// Containment decided without clipping must say what the difference says.
TEST(RegionContains, AgreesWithTheDifferenceOnShapesThatTouchNestAndStickOut) {
  auto ring = [](int outer, int inner) {
    return Region::ellipse(-outer, -outer, outer, outer) -
           Region::ellipse(-inner, -inner, inner, inner);
  };
  const Region square = Region::rectangle(0, 0, 100, 100);
  struct Case {
    const char* name;
    Region outer, inner;
    bool contains;
  };
  const Case cases[] = {
      {"the same disc", Region::ellipse(0, 0, 80, 80), Region::ellipse(0, 0, 80, 80), true},
      {"a disc well inside", Region::ellipse(0, 0, 400, 400), Region::ellipse(150, 150, 200, 220),
       true},
      {"a disc in the band of a ring", ring(1000, 600), Region::ellipse(700, -50, 800, 50), true},
      {"a disc in the hole of a ring", ring(1000, 600), Region::ellipse(-50, -50, 50, 50), false},
      {"a disc over the whole hole", ring(1000, 600), Region::ellipse(-800, -800, 800, 800), false},
      {"a ring over the hole of a ring", ring(1000, 500), ring(900, 400), false},
      {"the hole filled by an island", ring(1000, 600) | Region::ellipse(-500, -500, 500, 500),
       Region::ellipse(-800, -800, 800, 800), false},
      {"two pieces, one in the hole", ring(1000, 600),
       Region::ellipse(700, -50, 800, 50) | Region::ellipse(-50, -50, 50, 50), false},
      {"a square sharing edges", square, Region::rectangle(0, 0, 100, 40), true},
      {"a square sharing a corner from outside", square, Region::rectangle(100, 100, 120, 120),
       false},
      {"a square out by one unit", square, Region::rectangle(10, 10, 101, 90), false},
      {"a square across a slot", square - Region::rectangle(40, 0, 60, 80),
       Region::rectangle(20, 20, 80, 40), false},
      {"a square beside the slot", square - Region::rectangle(40, 0, 60, 80),
       Region::rectangle(60, 20, 80, 40), true},
      {"a bar across two squares", square | Region::rectangle(200, 0, 300, 100),
       Region::rectangle(50, 40, 250, 60), false},
      {"a large disc in a larger one", Region::ellipse(-900000, -900000, 900000, 900000),
       Region::ellipse(-800000, -800000, 800000, 800000), true},
      {"a large disc out of a larger one", Region::ellipse(-900000, -900000, 900000, 900000),
       Region::ellipse(-800000, -800000, 1000000, 800000), false},
      {"nothing inside a square", square, Region(), true},
      {"a square inside nothing", Region(), square, false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(c.outer.contains(c.inner), c.contains) << c.name;
    EXPECT_EQ((c.inner - c.outer).empty(), c.contains) << c.name;
  }
}

TEST(RegionContains, AgreesWithTheDifferenceOnRandomNeighbours) {
  std::mt19937 rng(7);
  std::uniform_int_distribution<int> offset(-60, 60), size(10, 200), pick(0, 3);
  auto shape = [&](int x, int y, int r) {
    switch (pick(rng)) {
      case 0:
        return Region::ellipse(x - r, y - r, x + r, y + r);
      case 1:
        return Region::rectangle(x - r, y - r / 2, x + r, y + r / 2);
      case 2:
        return Region::roundRect(x - r, y - r, x + r, y + r, r, r / 2);
      default:
        return Region::ellipse(x - r, y - r, x + r, y + r) -
               Region::ellipse(x - r / 2, y - r / 3, x + r / 3, y + r / 2);
    }
  };
  int inside = 0, outside = 0;
  for (int k = 0; k < 600; ++k) {
    const int r = size(rng);
    const Region outer = shape(0, 0, r);
    const Region inner = shape(offset(rng), offset(rng), size(rng) / 3);
    const bool expected = (inner - outer).empty();
    (expected ? inside : outside) += 1;
    EXPECT_EQ(outer.contains(inner), expected) << "case " << k;
  }
  // Both answers come up often enough to matter.
  EXPECT_GT(inside, 100);
  EXPECT_GT(outside, 100);
}

TEST(RegionValue, CopiesAreIndependent) {
  Region a = Region::rectangle(0, 0, 100, 100);
  Region b = a;
  b.unite(Region::rectangle(200, 0, 300, 100));
  b.subtract(Region::rectangle(0, 0, 50, 50));
  EXPECT_DOUBLE_EQ(a.area(), 10000);
  EXPECT_DOUBLE_EQ(b.area(), 17500);
  Region c;
  c = b;
  b = Region();
  EXPECT_TRUE(b.empty());
  EXPECT_DOUBLE_EQ(c.area(), 17500);
  Region d = std::move(c);
  EXPECT_DOUBLE_EQ(d.area(), 17500);
  EXPECT_TRUE(Region().empty());
  EXPECT_FALSE(Region().containsPoint({0, 0}));
  EXPECT_FALSE(Region().intersectsRect({-1, -1, 1, 1}));
}

}  // namespace
}  // namespace plavesk
