#include "view/geometry.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <numbers>
#include <polyclipping/clipper.hpp>
#include <string>

#include "view/units.h"

namespace plavesk {
namespace {

TObjektPtr track(std::initializer_list<TPoint> points, int32_t width, int32_t clearance = 0) {
  auto e = createTrack(width, kCopper1);
  for (const auto& p : points) addPoint(*e, p);
  e->clearance = clearance;
  return e;
}

TObjektPtr area(std::initializer_list<TPoint> points, int32_t width) {
  auto e = createArea(width, kCopper2);
  for (const auto& p : points) addPoint(*e, p);
  return e;
}

TObjektPtr arc(int32_t outer, int32_t inner, int32_t start, int32_t end, bool filled = false) {
  auto e = createCircle({1000, -2000}, outer, kPadRound, kSilk1, inner);
  e->angle = start;
  e->dim3 = end;
  e->filled = filled ? 1 : 0;
  return e;
}

TObjektPtr legacyLine(TPoint a, TPoint b, int32_t width) {
  auto e = std::make_unique<TObjekt>();
  e->kind = kLine;
  e->x = a.x;
  e->y = a.y;
  e->dim1 = b.x;
  e->dim2 = b.y;
  e->dim3 = width;
  return e;
}

TObjektPtr fontText() {
  auto e = std::make_unique<TObjekt>();
  e->kind = kFontText;
  e->x = 100;
  e->y = -100;
  e->dim1 = 900;
  e->dim2 = -400;
  e->dim3 = -13;
  e->text = "Abc";
  return e;
}

// A text with two strokes, as the stroke font would make it.
TObjektPtr strokeText() {
  auto e = createText({500, -500}, "L", false, false, kSilk1, 0, 1, 1, 500);
  e->strokes.push_back(track({{500, -500}, {500, -1000}}, 55));
  e->strokes.push_back(track({{500, -1000}, {800, -1000}}, 55));
  return e;
}

std::string describe(const TObjekt& e) {
  return "kind " + std::to_string(e.kind) + " shape " + std::to_string(e.padShape) + " angle " +
         std::to_string(e.angle) + "-" + std::to_string(e.dim3) + " filled " +
         std::to_string(e.filled);
}

void expectSameGeometry(const TObjekt& a, const TObjekt& b) {
  SCOPED_TRACE(describe(a));
  EXPECT_EQ(a.kind, b.kind);
  EXPECT_EQ(a.x, b.x);
  EXPECT_EQ(a.y, b.y);
  EXPECT_EQ(a.dim1, b.dim1);
  EXPECT_EQ(a.dim2, b.dim2);
  EXPECT_EQ(a.dim3, b.dim3);
  EXPECT_EQ(a.angle, b.angle);
  EXPECT_EQ(a.padShape, b.padShape);
  EXPECT_EQ(a.mirrorH, b.mirrorH);
  EXPECT_EQ(a.mirrorV, b.mirrorV);
  EXPECT_EQ(a.points, b.points);
  ASSERT_EQ(a.strokes.size(), b.strokes.size());
  for (size_t i = 0; i < a.strokes.size(); ++i) expectSameGeometry(*a.strokes[i], *b.strokes[i]);
}

// One element of every kind, every pad shape and the circle variants.
std::vector<TObjektPtr> everyKind() {
  std::vector<TObjektPtr> list;
  list.push_back(legacyLine({-300, -700}, {400, -200}, 30));
  for (int shape = 1; shape <= 9; ++shape) {
    list.push_back(createPad({2000, -3000}, 75, shape, kCopper1, 40));
    list.back()->clearance = 40;
  }
  list.push_back(fontText());
  list.push_back(area({{0, 0}, {1000, -100}, {800, -900}, {100, -700}}, 20));
  list.push_back(track({{0, 0}, {1000, 0}, {1000, -1000}}, 100, 40));
  list.push_back(track({{300, -300}, {300, -300}}, 80));
  list.push_back(arc(1000, 800, 0, 0));      // ring
  list.push_back(arc(1000, 0, 0, 0, true));  // disc
  list.push_back(arc(1000, 800, 0, 90));     // quarter arc
  list.push_back(arc(1000, 800, 30, 300));   // more than half
  list.push_back(arc(1000, 800, 0, 180));
  list.push_back(arc(1000, 0, 45, 135, true));  // filled sector with inner radius 0
  list.push_back(arc(1200, 300, 200, 10, true));
  list.push_back(strokeText());
  list.push_back(createSmdPad({-500, 700}, 100, kCopper1, 40));
  return list;
}

// Whole discs and rings take their box from the outer circle alone; it must
// be the box of the exact outline, clearance and pen included.
TEST(GeometryWorkedNumbers, CircleBoundsAreTheBoxOfTheExactOutline) {
  struct Case {
    int32_t outer, inner, start, end;
    bool filled;
  };
  const Case cases[] = {{1000, 800, 0, 0, false},  {1000, 0, 0, 0, true},
                        {1000, 999, 0, 0, false},  {1000, 1000, 0, 0, false},
                        {1000, 1200, 0, 0, false}, {1000, -800, 0, 0, false},
                        {1, 0, 0, 0, true},        {0, 0, 0, 0, true},
                        {1000, 800, 0, 90, false}, {1200, 300, 200, 10, true}};
  for (const Case& c : cases)
    for (int32_t clearance : {0, 40}) {
      TObjektPtr e = arc(c.outer, c.inner, c.start, c.end, c.filled);
      e->clearance = clearance;
      SCOPED_TRACE(describe(*e) + " radii " + std::to_string(c.outer) + "/" +
                   std::to_string(c.inner));
      const Region exact = elementOutline(*e).value_or(Region());
      const TRect b = elementBounds(*e);
      if (exact.empty()) {
        EXPECT_EQ(b, TRect{});
        continue;
      }
      // The pen margin of the bounds: half the third dimension, or 20.
      const int64_t margin = (e->dim3 / 2 == 0 ? 20 : e->dim3 / 2) + clearance;
      const Region::Box box = exact.boundingBox();
      EXPECT_EQ(b, (TRect{int32_t(box.left - margin), int32_t(box.top - margin),
                          int32_t(box.right + margin), int32_t(box.bottom + margin)}));
    }
}

TEST(GeometryWorkedNumbers, SnappingOnGrids) {
  const struct {
    double grid;
    TPoint in, out;
  } cases[] = {
      {254, {380, -130}, {254, -254}}, {7.9375, {20, 0}, {24, 0}},
      {254, {127, -127}, {0, 0}},  // halves go to the even multiple
      {254, {381, -381}, {508, -508}}, {100, {-49, 51}, {0, 100}},
  };
  for (const auto& c : cases) EXPECT_EQ(snapToGrid(c.in, c.grid), c.out) << c.grid;
}

TEST(GeometryWorkedNumbers, TrackOutlineAndBounds) {
  auto t = track({{0, 0}, {1000, 0}}, 100, 40);
  EXPECT_EQ(toRect(elementOutline(*t)->boundingBox()), (TRect{-50, -50, 1050, 50}));
  EXPECT_EQ(elementBounds(*t), (TRect{-90, -90, 1090, 90}));
  const auto v = trackOutlinePoints({0, 0}, {1000, 0}, 100);
  ASSERT_EQ(v.size(), 18u);
  EXPECT_EQ(v[0], (TPoint{0, 50}));
  EXPECT_EQ(v[1], (TPoint{-19, 46}));
  EXPECT_EQ(v[4], (TPoint{-50, 0}));
  EXPECT_EQ(v[8], (TPoint{0, -50}));
  EXPECT_EQ(v[9], (TPoint{1000, -50}));
  EXPECT_EQ(v[13], (TPoint{1050, 0}));
  EXPECT_EQ(v[17], (TPoint{1000, 50}));

  for (int32_t width : {0, 1}) {
    auto thin = track({{0, 0}, {1000, 0}}, width);
    EXPECT_EQ(toRect(elementOutline(*thin)->boundingBox()), (TRect{-1, -1, 1001, 1})) << width;
    EXPECT_EQ(elementBounds(*thin), (TRect{-20, -20, 1020, 20})) << width;
  }

  auto dot = track({{300, -300}, {300, -300}}, 100);
  const Region disc = *elementOutline(*dot);
  EXPECT_EQ(toRect(disc.boundingBox()), (TRect{250, -350, 350, -250}));
  EXPECT_TRUE(disc.containsPoint({330, -270}));
  EXPECT_FALSE(disc.containsPoint({340, -260}));
  EXPECT_NEAR(disc.area(), std::numbers::pi * 50 * 50, 0.05 * std::numbers::pi * 50 * 50);
}

TEST(GeometryWorkedNumbers, PadAndSmdBounds) {
  const struct {
    int shape;
    TRect bounds;
  } cases[] = {
      {1, {-115, -115, 115, 115}},
      {2, {-115, -115, 115, 115}},
      {3, {-115, -115, 115, 115}},
      {4, {-230, -115, 230, 115}},
      {5, {-230, -115, 230, 115}},
      {6, {-230, -115, 230, 115}},
      {7, {-115, -230, 115, 230}},
      {8, {-115, -230, 115, 230}},
      {9, {-115, -230, 115, 230}},
      {0, {}},
      {10, {}},
  };
  for (const auto& c : cases) {
    auto pad = createPad({0, 0}, 75, c.shape, kCopper1, 40);
    pad->clearance = 40;
    EXPECT_EQ(elementBounds(*pad), c.bounds) << c.shape;
  }
  auto smd = createSmdPad({1000, -1000}, 101, kCopper1, 40);
  smd->clearance = 10;
  // round(101 / 2) = 50 (half to even)
  EXPECT_EQ(elementBounds(*smd), (TRect{940, -1030, 1060, -970}));
  EXPECT_EQ(toRect(elementOutline(*smd)->boundingBox()), (TRect{950, -1020, 1050, -980}));
}

TEST(GeometryWorkedNumbers, PadShapeOutlines) {
  const struct {
    int shape;
    TRect box;
    double area;
  } cases[] = {
      {1, {-100, -100, 100, 100}, std::numbers::pi * 100 * 100},
      // octagon: right and lower vertices one unit further out
      {2, {-100, -101, 101, 100}, 201.0 * 201 - 2 * 59 * 59},
      {3, {-100, -100, 100, 100}, 200.0 * 200},
      {4, {-200, -100, 200, 100}, 400.0 * 200 - (4 - std::numbers::pi) * 75 * 75},
      {6, {-200, -100, 200, 100}, 400.0 * 200},
      {7, {-100, -200, 100, 200}, 400.0 * 200 - (4 - std::numbers::pi) * 75 * 75},
      {9, {-100, -200, 100, 200}, 400.0 * 200},
  };
  for (const auto& c : cases) {
    const Region r = padShapeOutline({0, 0}, 100, c.shape);
    EXPECT_EQ(toRect(r.boundingBox()), c.box) << c.shape;
    EXPECT_NEAR(r.area(), c.area, c.area * 0.005) << c.shape;
  }
  const Region octagon = padShapeOutline({0, 0}, 100, kPadOctagon);
  EXPECT_FALSE(octagon.containsPoint({-99, 99}));  // the cut corner
  EXPECT_TRUE(octagon.containsPoint({-99, 0}));
  EXPECT_TRUE(padShapeOutline({0, 0}, 100, 0).empty());
  EXPECT_TRUE(padShapeOutline({0, 0}, 100, 10).empty());
}

TEST(GeometryWorkedNumbers, RotationsAndMirrorsOfSingleElements) {
  auto pad = createPad({100, -200}, 75, kPadOblongH, kCopper1, 40);
  rotateElement(*pad, {0, 0});
  EXPECT_EQ(pad->padShape, kPadOblongV);
  EXPECT_EQ(pad->dim1, 75);
  EXPECT_EQ((TPoint{pad->x, pad->y}), (TPoint{-200, -100}));

  auto smd = createSmdPad({0, 0}, 100, kCopper1, 40);
  rotateElement(*smd, {0, 0});
  EXPECT_EQ(smd->dim1, 40);
  EXPECT_EQ(smd->dim2, 100);

  const struct {
    const char* name;
    std::function<void(TObjekt&)> op;
    int32_t angle, end;
  } arcCases[] = {
      {"rotate",
       [](TObjekt& e) {
         rotateElement(e, {0, 0});
       },
       270, 0},
      {"mirror H",
       [](TObjekt& e) {
         mirrorElementH(e, {0, 0});
       },
       90, 180},
      {"mirror V",
       [](TObjekt& e) {
         mirrorElementV(e, {0, 0});
       },
       270, 360},
  };
  for (const auto& c : arcCases) {
    auto a = arc(1000, 800, 0, 90);
    c.op(*a);
    EXPECT_EQ(a->angle, c.angle) << c.name;
    EXPECT_EQ(a->dim3, c.end) << c.name;
  }

  auto text = strokeText();
  for (int i = 1; i <= 4; ++i) {
    rotateElement(*text, {0, 0});
    EXPECT_EQ(text->angle, i % 4);
  }

  auto font = fontText();
  rotateElement(*font, {0, 0});
  EXPECT_EQ(font->angle, 90);
  font->angle = 270;
  rotateElement(*font, {0, 0});
  EXPECT_EQ(font->angle, 0);

  // A legacy line keeps its smaller x first (equal x: larger y first).
  auto line = legacyLine({0, 0}, {100, 0}, 10);
  mirrorElementH(*line, {0, 0});
  EXPECT_EQ((std::array{line->x, line->y, line->dim1, line->dim2}), (std::array{-100, 0, 0, 0}));
  rotateElement(*line, {0, 0});
  EXPECT_EQ((std::array{line->x, line->y, line->dim1, line->dim2}), (std::array{0, 100, 0, 0}));
}

TEST(GeometryWorkedNumbers, ArcOfHalfTurnIsCutByItsWedgeAndLargerOnesLoseTheRest) {
  const struct {
    int32_t end;
    bool topInside, bottomInside;
  } cases[] = {{180, true, false}, {181, true, false}, {179, true, false}, {270, true, true}};
  for (const auto& c : cases) {
    auto a = arc(1000, 800, 0, c.end);
    const Region r = *elementOutline(*a);
    EXPECT_EQ(r.containsPoint({1000, -2000 + 900}), c.topInside) << c.end;
    EXPECT_EQ(r.containsPoint({1000 - 636, -2000 - 636}), c.bottomInside) << c.end;
    EXPECT_FALSE(r.containsPoint({1000, -2000})) << c.end;
  }
  // Round caps of radius (r - d) div 2 at both ends, on the middle radius.
  auto quarter = arc(1000, 800, 0, 90);
  const Region q = *elementOutline(*quarter);
  EXPECT_TRUE(q.containsPoint({1000 + 900, -2000 - 95}));
  EXPECT_FALSE(q.containsPoint({1000 + 900, -2000 - 105}));
  EXPECT_TRUE(q.containsPoint({1000 - 95, -2000 + 900}));
  EXPECT_FALSE(q.containsPoint({1000 - 105, -2000 + 900}));
  // The sweep of 181 degrees reaches past 180.
  auto half = arc(1000, 800, 0, 180), more = arc(1000, 800, 0, 190);
  EXPECT_GT(elementOutline(*more)->area(), elementOutline(*half)->area());
}

TEST(GeometryMends, OutlineLeavesTheElementAlone) {
  auto sector = arc(1000, 0, 0, 90, true);
  const Region outline = *elementOutline(*sector);
  EXPECT_EQ(sector->dim2, 0);
  EXPECT_FALSE(outline.empty());
  EXPECT_TRUE(outline.containsPoint({1000 + 500, -2000 + 500}));
  EXPECT_FALSE(outline.containsPoint({1000 - 500, -2000 - 500}));
  elementBounds(*sector);
  EXPECT_EQ(sector->dim2, 0);
}

TEST(GeometryMends, TextsWithoutStrokesAndUnknownPadShapesHaveNoGeometry) {
  auto empty = createText({100, 100}, "", false, false, kSilk1, 0, 1, 1, 500);
  EXPECT_EQ(elementBounds(*empty), TRect{});
  EXPECT_FALSE(elementOutline(*empty).has_value());
  EXPECT_FALSE(hitElement(*empty, {100, 100}, 1.0));
  for (int shape : {0, 10, 255}) {
    auto pad = createPad({100, 100}, 75, shape, kCopper1, 40);
    EXPECT_EQ(elementBounds(*pad), TRect{}) << shape;
    EXPECT_FALSE(elementOutline(*pad).has_value()) << shape;
    EXPECT_FALSE(hitElement(*pad, {100, 100}, 1.0)) << shape;
    rotateElement(*pad, {0, 0});
    EXPECT_EQ(pad->padShape, shape);
  }
  // A track of one point has no outline; its box is the zero rectangle
  // pushed out by half its width (50) and its clearance (0).
  auto lonely = track({{5, 5}}, 100);
  EXPECT_EQ(elementBounds(*lonely), (TRect{-50, -50, 50, 50}));
  EXPECT_FALSE(elementOutline(*lonely).has_value());
  auto unknown = std::make_unique<TObjekt>();
  unknown->kind = 42;
  EXPECT_EQ(elementBounds(*unknown), TRect{});
  EXPECT_FALSE(elementOutline(*unknown).has_value());
}

TEST(GeometryHitTests, SquareAroundThePointMeetsTheOutline) {
  auto t = track({{0, 0}, {1000, 0}}, 100);
  const struct {
    TPoint p;
    double zoom;
    bool hit;
  } cases[] = {
      {{500, 51}, 1.0, true},   // square 49..53 overlaps the edge at 50
      {{500, 52}, 1.0, false},  // square 50..54 only touches it
      {{500, 60}, 0.1, true},   // 20 units of tolerance at zoom 0.1
      {{500, 71}, 0.1, false},
      {{1060, 0}, 0.1, true},  // round end
      {{1050 + 15, 50 + 15}, 0.1, false},
  };
  for (const auto& c : cases)
    EXPECT_EQ(hitElement(*t, c.p, c.zoom), c.hit) << c.p.x << "," << c.p.y << " zoom " << c.zoom;
}

TEST(GeometryHitTests, NodesOfTracksAndArcEnds) {
  auto t = track({{0, 0}, {1000, 0}, {1000, 0}, {2000, 500}}, 100);
  EXPECT_EQ(hitNode(*t, {1000, 0}, 1.0), 2);   // coincident vertices: the later one
  EXPECT_EQ(hitNode(*t, {-50, -50}, 1.0), 0);  // left and top inclusive
  EXPECT_EQ(hitNode(*t, {50, 0}, 1.0), -1);    // right exclusive
  EXPECT_EQ(hitNode(*t, {25, 0}, 0.1), 0);     // at least three pixels: 30 units
  EXPECT_EQ(hitNode(*t, {500, 0}, 1.0), -1);

  auto a = arc(1000, 800, 0, 90);  // middle radius 900
  EXPECT_EQ(hitNode(*a, {1000 + 900, -2000}, 1.0), 0);
  EXPECT_EQ(hitNode(*a, {1000, -2000 + 900}, 1.0), 1);
  EXPECT_EQ(hitNode(*a, {1000, -2000}, 1.0), -1);
  auto full = arc(1000, 800, 0, 0);
  EXPECT_EQ(hitNode(*full, {1000 + 900, -2000}, 1.0), 1);  // both ends: the end wins
  auto pad = createPad({0, 0}, 75, 1, kCopper1, 40);
  EXPECT_EQ(hitNode(*pad, {0, 0}, 1.0), -1);
}

TEST(GeometryLists, SelectionBoundsAndCentre) {
  TObjektList list;
  list.push_back(track({{0, 0}, {1000, 0}}, 100, 40));
  list.push_back(createSmdPad({3000, -1000}, 200, kCopper1, 100));
  list.push_back(createPad({-5000, 5000}, 50, 1, kCopper1, 20));
  list.push_back(createText({0, 0}, "", false, false, kSilk1, 0, 1, 1, 500));  // no strokes
  EXPECT_EQ(elementsBounds(list), (TRect{-5050, -1050, 3100, 5050}));
  EXPECT_EQ(selectionBounds(list), TRect{});
  list[0]->selected = 1;
  list[1]->selected = 1;
  list[3]->selected = 1;
  // Outline boxes, without the clearance.
  EXPECT_EQ(selectionBounds(list), (TRect{-50, -1050, 3100, 50}));
  // (-50 + 3150 div 2, 50 - 1100 div 2) = (1525, -500), snapped to 254
  EXPECT_EQ(selectionCentre(list, 254), (TPoint{1524, -508}));
}

TEST(GeometryMove, EveryKindMovesAsAWhole) {
  for (const auto& original : everyKind()) {
    auto moved = copyElement(*original);
    moveElement(*moved, 130, -70);
    const TRect before = elementBounds(*original), after = elementBounds(*moved);
    EXPECT_EQ(after,
              (TRect{before.left + 130, before.top - 70, before.right + 130, before.bottom - 70}))
        << describe(*original);
    moveElement(*moved, -130, 70);
    expectSameGeometry(*moved, *original);
  }
}

TEST(GeometryProperties, FourRotationsGiveTheElementBack) {
  for (const auto& original : everyKind()) {
    auto turned = copyElement(*original);
    const double area = elementOutline(*original)->area();
    for (int i = 0; i < 4; ++i) {
      rotateElement(*turned, {123, -456});
      // Turning keeps the outline's size (octagons and rounding aside).
      EXPECT_NEAR(elementOutline(*turned)->area(), area, area * 0.02) << describe(*original);
    }
    expectSameGeometry(*turned, *original);
  }
}

TEST(GeometryProperties, MirroringTwiceGivesTheElementBack) {
  for (const auto& original : everyKind()) {
    auto h = copyElement(*original);
    mirrorElementH(*h, {-77, 31});
    const double area = elementOutline(*original)->area();
    EXPECT_NEAR(elementOutline(*h)->area(), area, area * 0.02) << describe(*original);
    mirrorElementH(*h, {-77, 31});
    expectSameGeometry(*h, *original);

    auto v = copyElement(*original);
    mirrorElementV(*v, {55, -990});
    EXPECT_NEAR(elementOutline(*v)->area(), area, area * 0.02) << describe(*original);
    mirrorElementV(*v, {55, -990});
    expectSameGeometry(*v, *original);
  }
}

TEST(GeometryProperties, MirroredOutlineIsTheMirrorImage) {
  for (const auto& original : everyKind()) {
    if (original->kind == kPad && (original->padShape % 3 == 2)) continue;  // octagons lean right
    auto h = copyElement(*original);
    mirrorElementH(*h, {0, 0});
    const TRect a = toRect(elementOutline(*original)->boundingBox());
    const TRect b = toRect(elementOutline(*h)->boundingBox());
    EXPECT_NEAR(b.left, -a.right, 1) << describe(*original);
    EXPECT_NEAR(b.right, -a.left, 1) << describe(*original);
    EXPECT_NEAR(b.top, a.top, 1) << describe(*original);
  }
}

TEST(GeometryProperties, OutlineLiesInsideTheBounds) {
  for (auto& e : everyKind()) {
    for (int turn = 0; turn < 4; ++turn) {
      const TRect bounds = elementBounds(*e);
      const TRect box = toRect(elementOutline(*e)->boundingBox());
      // Octagon pads reach one unit past their radius on two sides.
      const int slack = e->kind == kPad && e->padShape % 3 == 2 && e->clearance == 0 ? 1 : 0;
      EXPECT_FALSE(box.isEmpty()) << describe(*e);
      EXPECT_GE(box.left, bounds.left) << describe(*e);
      EXPECT_GE(box.top, bounds.top - slack) << describe(*e);
      EXPECT_LE(box.right, bounds.right + slack) << describe(*e);
      EXPECT_LE(box.bottom, bounds.bottom) << describe(*e);
      rotateElement(*e, {10, 10});
    }
  }
}

TEST(GeometryProperties, RegionUnionOfTrackOutlinesAgreesWithClipper) {
  auto t = track({{0, 0}, {1000, 0}, {1000, -1000}, {0, -1000}, {500, 500}, {-300, 200}}, 120);
  auto a = area({{2000, 0}, {3000, -500}, {2500, 300}, {2100, -800}}, 30);
  for (const TObjekt* e : {t.get(), a.get()}) {
    ClipperLib::Clipper clipper;
    for (size_t i = 1; i < e->points.size(); ++i) {
      ClipperLib::Path path;
      for (const auto& p : trackOutlinePoints(e->points[i - 1], e->points[i], e->dim3))
        path.emplace_back(p.x * 16, p.y * 16);
      clipper.AddPath(path, ClipperLib::ptSubject, true);
    }
    ClipperLib::Paths polygon(1), clean;
    for (const auto& p : e->points) polygon[0].emplace_back(p.x * 16, p.y * 16);
    if (e->kind == kArea) {
      ClipperLib::Clipper single;
      single.AddPaths(polygon, ClipperLib::ptSubject, true);
      single.Execute(ClipperLib::ctUnion, clean, ClipperLib::pftEvenOdd, ClipperLib::pftEvenOdd);
      clipper.AddPaths(clean, ClipperLib::ptSubject, true);
    }
    ClipperLib::Paths reference;
    clipper.Execute(ClipperLib::ctUnion, reference, ClipperLib::pftNonZero, ClipperLib::pftNonZero);
    double referenceArea = 0;
    for (const auto& p : reference) referenceArea += ClipperLib::Area(p) / 256;
    EXPECT_NEAR(elementOutline(*e)->area(), referenceArea, 1.0) << describe(*e);
  }
}

}  // namespace
}  // namespace plavesk
