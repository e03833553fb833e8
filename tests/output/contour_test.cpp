// The isolation contours: the geometric building blocks, the cases a milling
// user meets, and the boundary against an independent polygon union.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <random>

#include "document/layout_file.h"
#include "output/contour_computation.h"
#include "output/contour_segments.h"
#include "output/contour_shapes.h"
#include "output/contour_texts.h"
#include "output/contour_turns.h"
#include "platform/core/region.h"

namespace plavesk {
namespace {

constexpr long double kPi = std::numbers::pi_v<long double>;

double signedArea(const TContour& c) {
  double a = 0;
  for (size_t i = 0, j = c.size() - 1; i < c.size(); j = i++)
    a += double(c[j].x) * c[i].y - double(c[i].x) * c[j].y;
  return a / 2;
}

TObjektPtr track(std::vector<TPoint> points, int32_t width, int layer = kCopper1) {
  auto t = createTrack(width, layer);
  t->points = std::move(points);
  return t;
}

TContourResult contoursOf(const TObjektList& list, int32_t cw = 0, int layer = kCopper1) {
  TContourOptions o;
  o.layer = layer;
  o.channelWidth = cw;
  return computeContours(list, o);
}

TEST(ContourShapes, DirectionAndTurningValues) {
  EXPECT_EQ(directionAngle({0, 0}, {5, 0}), 0);
  EXPECT_NEAR(double(directionAngle({0, 0}, {0, 5})), double(kPi / 2), 1e-15);
  EXPECT_NEAR(double(directionAngle({0, 0}, {-5, 0})), double(kPi), 1e-15);
  EXPECT_NEAR(double(directionAngle({0, 0}, {0, -5})), double(3 * kPi / 2), 1e-15);
  EXPECT_EQ(directionAngle({3, 3}, {3, 3}), 0);
  EXPECT_NEAR(double(turningValue(0, 0, 10, 0, 20, 0)), double(kPi), 1e-15);  // straight on
  EXPECT_GT(turningValue(0, 0, 10, 0, 10, 10), kPi);                          // left
  EXPECT_LT(turningValue(0, 0, 10, 0, 10, -10), kPi);                         // right
  EXPECT_NEAR(double(turningValue(0, 0, 10, 0, 0, 0)), 0.0, 1e-15);           // straight back
}

TEST(ContourShapes, ExactTurnOrderAgreesWithTheTurningValues) {
  // Short and long edges in every direction, the long ones nearly parallel
  // to others: wherever the angles tell two ways apart, the exact order
  // must rank them the same, and a way straight back has the value 0.
  std::mt19937 rng(11);
  std::uniform_int_distribution<int64_t> small(-40, 40), large(-4000000000, 4000000000);
  auto direction = [&](int k) {
    return k % 2 ? TDirection{small(rng), small(rng)} : TDirection{large(rng), large(rng)};
  };
  auto angle = [](TDirection d) { return directionAngle(0, 0, d.x, d.y); };
  int compared = 0;
  for (int k = 0; k < 20000; ++k) {
    const TDirection in = direction(k), u = direction(k / 2), w = direction(k / 3);
    const TTurnOrder order(in);
    if ((in.x == 0 && in.y == 0) || order.backOrNone(u) || order.backOrNone(w)) continue;
    const long double vu = turningValueOf(angle(in), angle(u));
    const long double vw = turningValueOf(angle(in), angle(w));
    const int c = order.compare(u, w);
    ASSERT_EQ(c, vu < vw ? -1 : (vu > vw ? 1 : 0)) << k;
    EXPECT_EQ(order.compare(w, u), -c) << k;
    ++compared;
  }
  EXPECT_GT(compared, 19000);
  const TTurnOrder east({10, 0});
  EXPECT_TRUE(east.backOrNone({-3, 0}));
  EXPECT_TRUE(east.backOrNone({0, 0}));
  EXPECT_FALSE(east.backOrNone({3, 0}));
  // Straight on is pi: above a left turn, below a right one (y up).
  EXPECT_EQ(east.compare({5, 0}, {0, 5}), -1);
  EXPECT_EQ(east.compare({5, 0}, {0, -5}), 1);
  EXPECT_EQ(east.compare({5, 0}, {10, 0}), 0);
}

TEST(ContourShapes, RoundPadIsEveryFifteenDegreesFromFifteen) {
  auto pad = createPad({1000, -1000}, 100, kPadRound, kCopper1, 40);
  auto polys = elementPolygons(*pad);
  ASSERT_EQ(polys.size(), 1u);
  ASSERT_EQ(polys[0].size(), 24u);
  EXPECT_EQ(polys[0][0], (TPoint{1000 + 97, -1000 + 26}));  // 15 degrees
  EXPECT_EQ(polys[0][5], (TPoint{1000, -1000 + 100}));      // 90 degrees
  EXPECT_EQ(polys[0][23], (TPoint{1100, -1000}));           // 360 degrees
}

TEST(ContourShapes, StadiumOfZeroLengthIsACircle) {
  const TShapePolygon s = stadium({500, 500}, {500, 500}, 100);
  ASSERT_EQ(s.size(), 2u * (100 / 20 + 3) + 2);
  for (const auto& p : s) EXPECT_NEAR(std::hypot(p.x - 500, p.y - 500), 50.0, 0.75);
}

TEST(ContourShapes, OrientationMakesEveryPolygonClockwise) {
  TShapePolygon ccw{{0, 0}, {100, 0}, {100, 100}, {0, 100}};
  TShapePolygon cw(ccw.rbegin(), ccw.rend());
  for (TShapePolygon p : {ccw, cw}) {
    orientClockwise(p);
    EXPECT_LT(signedArea(p), 0);
  }
}

TEST(ContourShapes, CircleGuards) {
  // An outer radius of 1 would divide by zero; an inner radius above the
  // outer one is clamped.
  auto tiny = createCircle({0, 0}, 1, 1, kCopper1, 0);
  EXPECT_TRUE(elementPolygons(*tiny).empty());
  auto odd = createCircle({0, 0}, 200, 1, kCopper1, 500);
  for (const auto& poly : elementPolygons(*odd))
    for (const auto& p : poly) EXPECT_LE(std::hypot(p.x, p.y), 200.0);
}

TEST(ContourShapes, ChannelWidthOnACopyStopsInnerRadiusAtZero) {
  auto ring = createCircle({0, 0}, 100, 1, kCopper1, 10);
  applyChannelWidth(*ring, 60);
  EXPECT_EQ(ring->dim1, 130);
  EXPECT_EQ(ring->dim2, 0);
}

TEST(ContourTexts, StepLabelsInThreeLanguages) {
  EXPECT_EQ(contourStepLabel(TContourStep::kSegments, 0), "Erstelle Segmente");
  EXPECT_EQ(contourStepLabel(TContourStep::kOptimise, 1), "Optimize outlines");
  EXPECT_EQ(contourStepLabel(TContourStep::kVectorList, 2), "Create vector list");
  EXPECT_EQ(contourProgressTitle(0), "Umrisserstellung");
}

// ---- the cases a user meets ----

struct CountCase {
  const char* name;
  void (*build)(TObjektList&);
  size_t contours;
};

const CountCase kCountCases[] = {
    {"two overlapping tracks",
     [](TObjektList& l) {
       l.push_back(track({{0, 0}, {2000, 0}}, 100));
       l.push_back(track({{1000, -500}, {1000, 500}}, 100));
     },
     1},
    {"track ending on a pad",
     [](TObjektList& l) {
       l.push_back(createPad({2000, 0}, 150, kPadOctagon, kCopper1, 40));
       l.push_back(track({{0, 0}, {2000, 0}}, 60));
     },
     1},
    {"two apart",
     [](TObjektList& l) {
       l.push_back(track({{0, 0}, {2000, 0}}, 100));
       l.push_back(createSmdPad({0, 1000}, 200, kCopper1, 100));
     },
     2},
    {"filled area gives only its outer contour",
     [](TObjektList& l) {
       auto a = createArea(40, kCopper1);
       a->points = {{0, 0}, {3000, 0}, {3000, 2000}, {0, 2000}};
       l.push_back(std::move(a));
     },
     1},
    {"triangle of tracks gives outer contour and hole",
     [](TObjektList& l) {
       l.push_back(track({{0, 0}, {4000, 0}, {2000, 3000}, {0, 0}}, 100));
     },
     2},
    {"island inside the triangle stays",
     [](TObjektList& l) {
       l.push_back(track({{0, 0}, {4000, 0}, {2000, 3000}, {0, 0}}, 100));
       l.push_back(createPad({2000, 1000}, 150, kPadRound, kCopper1, 40));
     },
     3},
    {"ring gives outer and inner contour",
     [](TObjektList& l) {
       l.push_back(createCircle({0, 0}, 1000, 1, kCopper1, 800));
     },
     2},
    {"filled disc",
     [](TObjektList& l) {
       l.push_back(createCircle({0, 0}, 1000, 1, kCopper1, 0));
       l.back()->filled = 1;
     },
     1},
    {"pad without copper ring gives nothing",
     [](TObjektList& l) {
       l.push_back(createPad({0, 0}, 40, kPadRound, kCopper1, 40));
     },
     0},
    {"other layer gives nothing",
     [](TObjektList& l) {
       l.push_back(track({{0, 0}, {2000, 0}}, 100, kCopper2));
     },
     0},
    {"island touching a gap at one corner keeps both contours",
     // Four strips around a square gap; the gap's lower right corner meets
     // the outside where the bottom and right strips touch corner to corner.
     [](TObjektList& l) {
       l.push_back(createSmdPad({1000, 500}, 2000, kCopper1, 1000));  // bottom 0..2000 x 0..1000
       l.push_back(
           createSmdPad({2500, 2000}, 1000, kCopper1, 2000));  // right 2000..3000 x 1000..3000
       l.push_back(createSmdPad({1000, 2500}, 2000, kCopper1, 1000));  // top 0..2000 x 2000..3000
       l.push_back(createSmdPad({500, 1500}, 1000, kCopper1, 1000));   // left 0..1000 x 1000..2000
     },
     2},
    {"gap too narrow for a probe square",
     // Two strips two units apart, closed at both ends: the gap is 2 x 2000.
     [](TObjektList& l) {
       l.push_back(createSmdPad({1500, 500}, 3000, kCopper1, 1000));   // 0..1000
       l.push_back(createSmdPad({1500, 1502}, 3000, kCopper1, 1000));  // 1002..2002
       l.push_back(createSmdPad({250, 1001}, 500, kCopper1, 2002));
       l.push_back(createSmdPad({2750, 1001}, 500, kCopper1, 2002));
     },
     2},
    {"pad inside a filled area is no contour",
     [](TObjektList& l) {
       auto a = createArea(40, kCopper1);
       a->points = {{0, 0}, {3000, 0}, {3000, 2000}, {0, 2000}};
       l.push_back(std::move(a));
       l.push_back(createPad({1500, 1000}, 150, kPadRound, kCopper1, 40));
     },
     1},
    {"every pad shape",
     [](TObjektList& l) {
       for (int s = 1; s <= 9; ++s) l.push_back(createPad({s * 1000, 0}, 100, s, kCopper1, 30));
     },
     9},
};

class ContourCount : public ::testing::TestWithParam<CountCase> {};

TEST_P(ContourCount, GivesTheExpectedContours) {
  TObjektList list;
  GetParam().build(list);
  const TContourResult r = contoursOf(list);
  EXPECT_EQ(r.contours.size(), GetParam().contours);
  EXPECT_FALSE(r.overBudget);
}

INSTANTIATE_TEST_SUITE_P(Cases, ContourCount, ::testing::ValuesIn(kCountCases),
                         [](const auto& info) {
                           std::string n = info.param.name;
                           for (char& c : n)
                             if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
                           return n;
                         });

TEST(Contours, RingHasNoSeamAtItsGap) {
  TObjektList list;
  list.push_back(createCircle({0, 0}, 1000, 1, kCopper1, 800));
  const TContourResult r = contoursOf(list);
  ASSERT_EQ(r.contours.size(), 2u);
  // The outer contour stays on the outer circle and the inner one on the
  // inner circle all the way round, also across the gap the end caps close.
  double outerMin = 1e9, outerMax = 0, innerMin = 1e9, innerMax = 0;
  const bool firstIsOuter =
      std::fabs(signedArea(r.contours[0])) > std::fabs(signedArea(r.contours[1]));
  const TContour& outer = r.contours[firstIsOuter ? 0 : 1];
  const TContour& inner = r.contours[firstIsOuter ? 1 : 0];
  for (const auto& p : outer) {
    outerMin = std::min(outerMin, std::hypot(p.x, p.y));
    outerMax = std::max(outerMax, std::hypot(p.x, p.y));
  }
  for (const auto& p : inner) {
    innerMin = std::min(innerMin, std::hypot(p.x, p.y));
    innerMax = std::max(innerMax, std::hypot(p.x, p.y));
  }
  EXPECT_GT(outerMin, 990);
  EXPECT_LT(outerMax, 1001);
  EXPECT_GT(innerMin, 799);
  EXPECT_LT(innerMax, 810);
}

TEST(Contours, CoveredSmdPadAddsNothing) {
  TObjektList bare, covered;
  bare.push_back(createPad({0, 0}, 200, kPadSquare, kCopper1, 40));
  covered.push_back(createPad({0, 0}, 200, kPadSquare, kCopper1, 40));
  covered.push_back(createSmdPad({50, 50}, 100, kCopper1, 80));
  EXPECT_EQ(contoursOf(covered).contours, contoursOf(bare).contours);
}

TEST(Contours, ChannelWidthGrowsCopiesAndLeavesTheDocument) {
  TObjektList narrow, wide;
  narrow.push_back(track({{0, 0}, {2000, 500}}, 40));
  narrow.push_back(createPad({3000, 0}, 80, kPadRound, kCopper1, 30));
  wide.push_back(track({{0, 0}, {2000, 500}}, 60));
  wide.push_back(createPad({3000, 0}, 90, kPadRound, kCopper1, 30));
  std::vector<FileImage> before;
  for (const auto& e : narrow) before.push_back(encodeFileImage(*e));
  EXPECT_EQ(contoursOf(narrow, 20).contours, contoursOf(wide).contours);
  for (size_t i = 0; i < narrow.size(); ++i) EXPECT_EQ(encodeFileImage(*narrow[i]), before[i]);
}

TEST(Contours, SingleLineTextsAreNotCopper) {
  TObjektList list;
  list.push_back(createText({0, 0}, "A", false, false, kCopper1, 0, 1, 1, 300));
  auto stroke = createTrack(30, kCopper1);
  stroke->points = {{0, 0}, {100, 300}};
  list.back()->strokes.push_back(std::move(stroke));
  TContourOptions o;
  EXPECT_EQ(computeContours(list, o).contours.size(), 1u);
  o.singleLineTexts = true;
  EXPECT_TRUE(computeContours(list, o).contours.empty());
  list.back()->selected = 1;  // a marked text follows the other switch
  EXPECT_EQ(computeContours(list, o).contours.size(), 1u);
  o.singleLineMarkedTexts = true;
  EXPECT_TRUE(computeContours(list, o).contours.empty());
}

TEST(Contours, ProgressRunsThroughTheFiveStepsInOrder) {
  TObjektList list;
  list.push_back(track({{0, 0}, {4000, 0}, {2000, 3000}, {0, 0}}, 100));
  std::vector<int> seen;
  TContourOptions o;
  computeContours(list, o, [&](TContourStep s, size_t pos, size_t range) {
    EXPECT_LE(pos, range);
    if (seen.empty() || seen.back() != int(s)) seen.push_back(int(s));
  });
  EXPECT_EQ(seen, (std::vector<int>{0, 1, 2, 3, 4}));
}

// A stop asked for during a step ends the run before the next one, with no
// contours; never asked, the run is whole.
TEST(Contours, AStopRequestEndsTheRunAfterTheCurrentStep) {
  TObjektList list;
  list.push_back(track({{0, 0}, {4000, 0}, {2000, 3000}, {0, 0}}, 100));
  list.push_back(track({{1000, -500}, {1000, 3500}}, 100));
  for (int stopIn = 0; stopIn <= 5; ++stopIn) {
    SCOPED_TRACE(stopIn);
    int last = -1;
    TContourOptions o;
    o.stopRequested = [&] { return last >= stopIn; };
    const TContourResult r =
        computeContours(list, o, [&](TContourStep s, size_t, size_t) { last = int(s); });
    EXPECT_EQ(r.cancelled, stopIn < 4);
    EXPECT_EQ(r.contours.empty(), stopIn < 4);
    // Nothing of a later step was started.
    if (stopIn < 4) {
      EXPECT_LE(last, stopIn + 1);
    }
  }
}

}  // namespace
}  // namespace plavesk
