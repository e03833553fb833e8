#include "view/element_rendering.h"

#include <gtest/gtest.h>

#include <cmath>

#include "platform/core/raster_canvas.h"
#include "recording_canvas.h"
#include "render_fixtures.h"
#include "view/layer_passes.h"

namespace plavesk {
namespace {

using testing::addThroughPad;
using testing::addTrack;
using testing::DrawCall;
using testing::RecordingCanvas;
using testing::zoomMapping;

const TColourScheme kStd = standardColourScheme();

TEST(ElementColour, FollowsLayerSelectionAndSide) {
  struct Case {
    int layer;
    bool selected;
    int active;
    TColour expected;
  } cases[] = {
      {1, false, 1, kStd[kColourCopper1]}, {2, false, 3, kStd[kColourSilk1]},
      {3, false, 1, kStd[kColourCopper2]}, {4, false, 4, kStd[kColourSilk2]},
      {3, true, 1, rgb(160, 0, 160)},      {3, true, 4, rgb(255, 0, 255)},
      {2, true, 1, rgb(255, 0, 255)},      {1, true, 3, rgb(160, 0, 160)},
  };
  for (const Case& c : cases) {
    auto pad = createPad({0, 0}, 100, kPadRound, c.layer, 40);
    pad->selected = c.selected;
    EXPECT_EQ(elementColour(*pad, c.active, kStd), c.expected)
        << "layer " << c.layer << " selected " << c.selected << " active " << c.active;
  }
}

// Pixels of a linked round pad at zoom 0.1: the stripes of the through-pad
// hatch in device phase, then the hole pass's white disc with a red rim.
TEST(PadPixels, ThroughPadIsHatchedAndItsHoleIsWhiteWithRedRim) {
  TObjektList list;
  addThroughPad(list, {500, -500}, 100, 40);
  RasterImage image(100, 100, 0);
  RasterCanvas canvas(image);
  canvas.setMapping(zoomMapping(0.1));
  TRenderSettings settings;
  TBoardRecord state;
  state.activeLayer = 1;
  state.layerVisible = {1, 0, 0, 0};
  drawLayerPass(list, canvas, 1, state, settings);
  drawHoles(list, canvas, state, settings);

  const TColour c1 = kStd[kColourCopper1], c2 = kStd[kColourCopper2];
  int stripes[2] = {0, 0};
  for (int y = 40; y < 60; ++y)
    for (int x = 40; x < 60; ++x) {
      const double d = std::hypot(x + 0.5 - 50, y + 0.5 - 50);
      if (d < 5 || d > 9) continue;
      const int phase = ((x - y) % 8 + 8) % 8;
      const bool a = phase == 0 || phase == 3 || phase == 4 || phase == 7;
      EXPECT_EQ(image.pixel(x, y), a ? c1 : c2) << x << "," << y;
      ++stripes[a];
    }
  EXPECT_GT(stripes[0], 20);
  EXPECT_GT(stripes[1], 20);
  EXPECT_EQ(image.pixel(50, 50), kWhite);
  EXPECT_EQ(image.pixel(53, 50), kThroughHoleRim);
  EXPECT_EQ(image.pixel(46, 50), kThroughHoleRim);
  EXPECT_EQ(image.pixel(50, 70), 0u) << "nothing outside the pad";
}

TEST(PadPixels, SelectionColoursDependOnTheActiveSide) {
  for (auto [active, expected] : {std::pair{1, rgb(160, 0, 160)}, {4, rgb(255, 0, 255)}}) {
    TObjektList list;
    TObjekt& pad = addThroughPad(list, {500, -500}, 100, 40);
    pad.padLink->selected = 1;
    RasterImage image(100, 100, 0);
    RasterCanvas canvas(image);
    canvas.setMapping(zoomMapping(0.1));
    drawElement(*pad.padLink, canvas, active, TRenderSettings());
    // A selected pad is not hatched: solid selection colour.
    EXPECT_EQ(image.pixel(47, 48), expected);
    EXPECT_EQ(image.pixel(48, 48), expected);
  }
}

TEST(PadFigure, BareHoleDrawsAWhiteDiscAndACrossThatTheHolePassRepeatsInBlack) {
  TObjektList list;
  list.push_back(createPad({1000, -1000}, 50, kPadRound, kCopper1, 50));
  RecordingCanvas canvas;
  TBoardRecord state;
  drawElement(*list[0], canvas, 1, TRenderSettings());
  ASSERT_EQ(canvas.calls.size(), 3u);
  EXPECT_EQ(canvas.calls[0].op, "ellipse");
  EXPECT_EQ(canvas.calls[0].brush.colour, kWhite);
  for (int i : {1, 2}) {
    EXPECT_EQ(canvas.calls[size_t(i)].op, "line");
    EXPECT_EQ(canvas.calls[size_t(i)].pen.colour, kStd[kColourCopper1]);
  }
  EXPECT_EQ(canvas.calls[1].points, (std::vector<CanvasPoint>{{975, -975}, {1025, -1025}}));
  canvas.calls.clear();
  drawHoles(list, canvas, state, TRenderSettings());
  ASSERT_EQ(canvas.calls.size(), 3u);
  EXPECT_EQ(canvas.calls[1].pen.colour, kBlack);
  list[0]->selected = 1;
  canvas.calls.clear();
  drawHoles(list, canvas, state, TRenderSettings());
  EXPECT_EQ(canvas.calls[2].pen.colour, kSelectionColour);
}

TEST(PadFigure, ShapesCoverTheirExtents) {
  struct Case {
    int shape;
    const char* op;
    CanvasRect box;
    CanvasPoint corner;
  } cases[] = {
      {kPadRound, "ellipse", {-50, 50, 50, -50}, {}},
      {kPadSquare, "rectangle", {-50, 50, 50, -50}, {}},
      {kPadOblongH, "roundRect", {-100, 50, 100, -50}, {75, 75}},
      {kPadRectH, "rectangle", {-100, 50, 100, -50}, {}},
      {kPadOblongV, "roundRect", {-50, 100, 50, -100}, {75, 75}},
      {kPadRectV, "rectangle", {-50, 100, 50, -100}, {}},
  };
  for (const Case& c : cases) {
    auto pad = createPad({0, 0}, 50, c.shape, kCopper1, 20);
    RecordingCanvas canvas;
    drawElement(*pad, canvas, 1, TRenderSettings());
    ASSERT_EQ(canvas.calls.size(), 1u) << c.shape;
    EXPECT_EQ(canvas.calls[0].op, c.op) << c.shape;
    EXPECT_EQ(canvas.calls[0].box, c.box) << c.shape;
    EXPECT_EQ(canvas.calls[0].start, c.corner) << c.shape;
  }
  // The horizontal octagon: half width 2r, half height r, corner cut 0.585 r.
  auto pad = createPad({0, 0}, 100, kPadOctagonH, kCopper1, 20);
  RecordingCanvas canvas;
  drawElement(*pad, canvas, 1, TRenderSettings());
  EXPECT_EQ(canvas.calls[0].points, (std::vector<CanvasPoint>{{-200, 42},
                                                              {-142, 100},
                                                              {142, 100},
                                                              {200, 42},
                                                              {200, -42},
                                                              {142, -100},
                                                              {-142, -100},
                                                              {-200, -42}}));
}

TEST(TrackLook, AutoroutedTrackGetsACentreLineFromThreePixels) {
  for (auto [zoom, lines] : {std::pair{0.1, 2u}, {0.09, 1u}}) {
    TObjektList list;
    TObjekt& t = addTrack(list, kCopper1, 30, {{0, 0}, {1000, 0}});
    t.autorouted = 1;
    RecordingCanvas canvas;
    canvas.setMapping(zoomMapping(zoom));
    drawElement(t, canvas, 1, TRenderSettings());
    ASSERT_EQ(canvas.calls.size(), lines) << zoom;
    if (lines == 2) {
      EXPECT_EQ(canvas.calls[1].pen.width, 10);
      // Blue is dark: each channel brightened by 150.
      EXPECT_EQ(canvas.calls[1].pen.colour, rgb(150, 150, 255));
    }
  }
}

TEST(TextLook, StrokesTakeTheTextsLayerAndClearance) {
  auto text = createText({0, 0}, "I", false, false, kSilk1, 0, 1, 1, 500);
  text->clearance = 70;
  auto stroke = createTrack(56, kCopper1);  // made while copper 1 was active
  stroke->points = {{0, 0}, {0, 444}};
  stroke->clearance = 40;
  text->strokes.push_back(std::move(stroke));
  RecordingCanvas canvas;
  drawElement(*text, canvas, 1, TRenderSettings());
  ASSERT_EQ(canvas.calls.size(), 1u);
  EXPECT_EQ(canvas.calls[0].pen.colour, kStd[kColourSilk1]);
  canvas.calls.clear();
  drawClearance(*text, canvas, TRenderSettings());
  EXPECT_EQ(text->strokes[0]->clearance, 40) << "drawing writes nothing into the stroke";
  ASSERT_EQ(canvas.calls.size(), 1u);
  EXPECT_EQ(canvas.calls[0].pen.width, 56 + 140);
}

TEST(ElementLook, TooFewPointsDrawNothing) {
  TObjektList list;
  addTrack(list, kCopper1, 30, {{0, 0}});
  list.push_back(createArea(20, kCopper1));
  list.back()->points = {{0, 0}};
  RecordingCanvas canvas;
  for (auto& e : list) {
    drawElement(*e, canvas, 1, TRenderSettings());
    drawClearance(*e, canvas, TRenderSettings());
  }
  EXPECT_TRUE(canvas.calls.empty());
}

TEST(ElementLook, CutoutAreaIsHatchedWithItsSidesTileAndSelectedTracksGetHandles) {
  TRenderSettings settings;
  auto area = createArea(20, kCopper2);
  area->points = {{0, 0}, {1000, 0}, {1000, -1000}};
  area->cutout = 1;
  RecordingCanvas canvas;
  canvas.setMapping(zoomMapping(0.1));
  drawElement(*area, canvas, 3, settings);
  ASSERT_EQ(canvas.calls.size(), 1u);
  EXPECT_EQ(canvas.calls[0].brush.pattern, &canvasPattern(settings.tiles().cutout2));

  TObjektList list;
  TObjekt& t = addTrack(list, kCopper1, 100, {{0, 0}, {1000, 0}});
  t.selected = 1;
  canvas.calls.clear();
  drawElement(t, canvas, 1, settings);
  ASSERT_EQ(canvas.calls.size(), 3u);  // the track and two handles
  EXPECT_EQ(canvas.calls[1].brush.colour, kHandleColour);
  EXPECT_EQ(canvas.calls[1].box, (CanvasRect{-50, 50, 50, -50}));
  // Grouped, or drawn moved: no handles.
  t.groupIds = {1};
  canvas.calls.clear();
  drawElement(t, canvas, 1, settings);
  EXPECT_EQ(canvas.calls.size(), 1u);
}

TEST(ClearanceLook, ColourFollowsHighlightPhotoAndOverride) {
  struct Case {
    bool highlight, photo;
    std::optional<TColour> override_;
    TColour expected;
  } cases[] = {
      {false, false, {}, kStd[kColourBackground]},
      {true, false, {}, kWhite},
      {true, true, {}, rgb(40, 140, 40)},
      {true, true, rgb(1, 2, 3), rgb(1, 2, 3)},
  };
  for (const Case& c : cases) {
    auto smd = createSmdPad({0, 0}, 100, kCopper1, 40);
    smd->clearance = 30;
    TRenderSettings settings;
    settings.photoView = c.photo;
    settings.colourOverride = c.override_;
    RecordingCanvas canvas;
    drawClearance(*smd, canvas, settings, {}, c.highlight);
    ASSERT_EQ(canvas.calls.size(), 1u);
    EXPECT_EQ(canvas.calls[0].brush.colour, c.expected);
    EXPECT_EQ(canvas.calls[0].box, (CanvasRect{-80, 50, 80, -50}));
  }
}

TEST(FlatLook, EnlargesMaskOpeningsKeepsTheSelectionAndFillsTheHole) {
  TRenderSettings settings;
  auto pad = createPad({0, 0}, 100, kPadRound, kCopper1, 40);
  pad->selected = 1;
  RecordingCanvas canvas;
  drawFlat(*pad, canvas, rgb(1, 2, 3), true, settings);
  ASSERT_EQ(canvas.calls.size(), 2u);
  EXPECT_EQ(canvas.calls[0].box, (CanvasRect{-130, 130, 130, -130}));
  EXPECT_EQ(canvas.calls[0].brush.pattern, nullptr);
  EXPECT_EQ(canvas.calls[1].brush.colour, rgb(1, 2, 3));  // the hole in the flat colour
  EXPECT_EQ(pad->selected, 1);

  auto smd = createSmdPad({0, 0}, 100, kCopper1, 40);
  canvas.calls.clear();
  drawFlat(*smd, canvas, rgb(1, 2, 3), true, settings);
  EXPECT_EQ(canvas.calls[0].box, (CanvasRect{-60, 30, 60, -30}));
}

TEST(Connections, MovedBandsAreDrawnOnceInNotXorMode) {
  TObjektList list;
  list.push_back(createPad({0, 0}, 50, kPadRound, kCopper1, 20));
  list.push_back(createPad({1000, 0}, 50, kPadRound, kCopper1, 20));
  list.push_back(createPad({2000, 0}, 50, kPadRound, kCopper1, 20));
  TObjekt& a = *list[0];
  TObjekt& b = *list[1];
  TObjekt& c = *list[2];
  a.connections = {&b};
  b.connections = {&a, &c};
  c.connections = {&b};
  a.selected = b.selected = 1;
  RecordingCanvas canvas;
  canvas.setMode(RasterMode::kNotXor);
  TRenderSettings settings;
  for (auto& e : list) drawConnections(*e, canvas, {10, 20}, settings, &list);
  // a-b once (by b, which comes after a), b-c from b and from c.
  ASSERT_EQ(canvas.calls.size(), 3u);
  EXPECT_EQ(canvas.calls[0].points, (std::vector<CanvasPoint>{{1010, 20}, {10, 20}}));
  EXPECT_EQ(canvas.calls[1].points, (std::vector<CanvasPoint>{{1010, 20}, {2000, 0}}));
  EXPECT_EQ(canvas.calls[2].points, (std::vector<CanvasPoint>{{2010, 20}, {1010, 20}}));
  EXPECT_EQ(canvas.calls[0].pen.colour, kStd[kColourConnections]);
  settings.autorouteToolActive = true;
  canvas.calls.clear();
  canvas.setMode(RasterMode::kCopy);
  drawConnections(a, canvas, {}, settings, &list);
  EXPECT_EQ(canvas.calls[0].pen.colour, kSelectionColour);
}

}  // namespace
}  // namespace plavesk
