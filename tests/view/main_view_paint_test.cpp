#include "view/main_view_paint.h"

#include <gtest/gtest.h>

#include "recording_canvas.h"
#include "render_fixtures.h"
#include "view/overview_geometry.h"
#include "view/ruler_geometry.h"

namespace plavesk {
namespace {

using testing::RecordingCanvas;

const TColourScheme kStd = standardColourScheme();

TViewState viewAt(double zoom) {
  TViewState v;
  v.record().zoom = zoom;
  v.clientWidth = 800;
  v.clientHeight = 600;
  return v;
}

// Grid lines drawn over a board of 16000 x 10000 units.
std::vector<testing::DrawCall> gridLines(double zoom, double grid, int subdivision = 0) {
  TBoardRecord state;
  state.grid = grid;
  TViewState view = viewAt(zoom);
  RecordingCanvas canvas;
  canvas.setMapping(viewMapping(view));
  drawGrid(canvas, state, view, TRenderSettings(), {true, subdivision});
  return canvas.calls;
}

TEST(Grid, DrawnOnlyWhenCoarserThanFourPixelsAndPositive) {
  EXPECT_TRUE(gridLines(0.01, 254).empty());  // 2.54 pixels
  EXPECT_FALSE(gridLines(0.02, 254).empty());
  // Values from a file that must not reach the loops.
  for (double grid : {0.0, -254.0, std::nan("")}) EXPECT_TRUE(gridLines(0.5, grid).empty()) << grid;
}

TEST(Grid, InteriorLinesFromTheBoardCornerWithSubdivisionWidths) {
  const auto lines = gridLines(0.1, 1000, 4);
  // 9 horizontal lines inside 10000 and 15 vertical inside 16000.
  ASSERT_EQ(lines.size(), 9u + 15u);
  EXPECT_EQ(lines[0].points[0].y, -1000);
  EXPECT_EQ(lines[8].points[0].y, -9000);
  EXPECT_EQ(lines[9].points[0].x, 1000);
  for (size_t i = 0; i < 9; ++i) EXPECT_EQ(lines[i].pen.width, (i + 1) % 4 == 0 ? 20 : 0) << i;
  for (const auto& l : gridLines(0.1, 1000, 0)) EXPECT_EQ(l.pen.width, 10);
}

TEST(Template, CoversItsResolutionFromTheBoardCornerAndNeedsAPositiveDpi) {
  TRect r;
  ASSERT_TRUE(templateRect(1000, 500, 600, 0, 10, r));
  EXPECT_EQ(r, (TRect{0, -100, 4233, -2117 - 100}));
  EXPECT_FALSE(templateRect(1000, 500, 0, 0, 0, r));
  EXPECT_FALSE(templateRect(1000, 500, -600, 0, 0, r));

  CanvasImage picture;
  picture.width = picture.height = 2;
  picture.pixels = {0, 0, 0, 0};
  TBoardRecord state;
  state.activeLayer = 1;
  state.template1Shown = 1;
  state.template1Dpi = 0;
  RecordingCanvas canvas;
  drawTemplate(canvas, state, TRenderSettings(), {&picture, nullptr});
  EXPECT_TRUE(canvas.calls.empty());
  state.template1Dpi = 600;
  drawTemplate(canvas, state, TRenderSettings(), {&picture, nullptr});
  EXPECT_EQ(canvas.calls.size(), 1u);
  state.activeLayer = 3;  // template 2 belongs to side 2: none loaded
  canvas.calls.clear();
  drawTemplate(canvas, state, TRenderSettings(), {&picture, nullptr});
  EXPECT_TRUE(canvas.calls.empty());
}

TEST(PaintMainView, PassesInOrder) {
  TObjektList list;
  list.push_back(createPad({1000, -1000}, 80, kPadRound, kCopper1, 40));
  list.push_back(createSmdPad({3000, -1000}, 100, kCopper1, 50));
  list[0]->connections = {list[1].get()};
  list[1]->connections = {list[0].get()};
  TBoardRecord state;
  state.activeLayer = 1;
  state.groundPlane1 = 1;
  TViewState view = viewAt(0.1);
  std::vector<std::vector<TPoint>> contours = {{{0, 0}, {100, 0}, {100, -100}}};
  TMainViewExtras extras;
  extras.grid.subdivision = 0;
  extras.contours = &contours;
  RecordingCanvas canvas;
  paintMainView(list, state, view, canvas, TRenderSettings(), extras);
  const auto& c = canvas.calls;
  ASSERT_GE(c.size(), 6u);
  // Background in copper 1 (ground plane on), two pixels beyond the board.
  EXPECT_EQ(c[0].op, "rectangle");
  EXPECT_EQ(c[0].brush.colour, kStd[kColourCopper1]);
  EXPECT_EQ(c[0].box, (CanvasRect{0, 0, 16020, -10020}));
  // Clearances of both copper-1 elements before the grid.
  EXPECT_EQ(c[1].brush.colour, kStd[kColourBackground]);
  EXPECT_EQ(c[2].brush.colour, kStd[kColourBackground]);
  EXPECT_EQ(c[3].pen.colour, kStd[kColourGrid]);
  // Last: the hole, two rubber bands, the contour closed.
  const size_t n = c.size();
  EXPECT_EQ(c[n - 4].brush.colour, kWhite);
  EXPECT_EQ(c[n - 3].pen.colour, kStd[kColourConnections]);
  EXPECT_EQ(c[n - 2].pen.colour, kStd[kColourConnections]);
  EXPECT_EQ(c[n - 1].pen, (CanvasPen{kWhite, 2, PenStyle::kSolid}));
  EXPECT_EQ(c[n - 1].points.size(), 4u);

  view.paintSuppressed = true;
  canvas.calls.clear();
  paintMainView(list, state, view, canvas, TRenderSettings(), extras);
  EXPECT_TRUE(canvas.calls.empty());
}

TEST(Rulers, TickLengthsFollowThePixelsPerStep) {
  struct Case {
    double zoom;
    RulerSide side;
    int firstTickStep;  // the positive step after 0 that has a tick
    int firstTickLength;
  } cases[] = {
      {0.1, RulerSide::kTop, 1, 4},   {0.04, RulerSide::kTop, 10, 14},
      {0.04, RulerSide::kLeft, 5, 8}, {0.02, RulerSide::kTop, 25, 14},
      {0.5, RulerSide::kTop, 1, 14},
  };
  for (const Case& c : cases) {
    const auto ticks = rulerTicks(c.side, c.zoom, false, 0, 0, 10000);
    const double p = 100 * c.zoom;
    const int32_t zeroAt = c.side == RulerSide::kTop ? 0 : 2;
    const auto zero = std::find_if(ticks.begin(), ticks.end(),
                                   [&](const TRulerTick& t) { return t.position == zeroAt; });
    ASSERT_NE(zero, ticks.end()) << c.zoom;
    EXPECT_EQ(zero->label, "0");
    const auto next = zero + 1;
    ASSERT_NE(next, ticks.end());
    EXPECT_EQ(next->position, int32_t(std::nearbyint(c.firstTickStep * p)) + zeroAt) << c.zoom;
    EXPECT_EQ(next->length, c.firstTickLength) << c.zoom;
  }
  // At zoom 0.1 every 5th step is a half tick and every 10th labelled.
  const auto ticks = rulerTicks(RulerSide::kTop, 0.1, false, 0, 0, 0);
  const auto at = [&](int32_t pos) {
    return *std::find_if(ticks.begin(), ticks.end(),
                         [&](const TRulerTick& t) { return t.position == pos; });
  };
  EXPECT_EQ(at(50).length, 8);
  EXPECT_EQ(at(100).label, "10");
  EXPECT_EQ(at(-100).label, "-10");
  EXPECT_EQ(rulerLabel(25, true), "2.5");
}

TEST(Overview, PanelAndVisibleRectangle) {
  TViewState v = viewAt(0.1);
  v.record().width = 16000;
  v.record().height = 10000;
  v.record().scrollX = 400;
  v.record().scrollY = 100;
  const TOverviewGeometry g = overviewGeometry(v);
  EXPECT_EQ(g.panelWidth, 80);
  EXPECT_EQ(g.panelHeight, 50);
  EXPECT_EQ(g.panelLeft, 6);
  EXPECT_EQ(g.width, 40);  // 800 pixels = 8000 units = 40 overview pixels
  EXPECT_EQ(g.height, 30);
  EXPECT_EQ(g.left, 20);
  EXPECT_EQ(g.top, 5);
  EXPECT_EQ(overviewScroll(v, g, 20, 5), (TPoint{400, 100}));
  v.record().width = v.record().height = 0;
  EXPECT_EQ(overviewGeometry(v).panelWidth, 0);
}

}  // namespace
}  // namespace plavesk
