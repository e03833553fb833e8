#include "view/layer_passes.h"

#include <gtest/gtest.h>

#include "recording_canvas.h"
#include "render_fixtures.h"
#include "view/element_rendering.h"

namespace plavesk {
namespace {

using testing::addThroughPad;
using testing::addTrack;
using testing::RecordingCanvas;

const TColourScheme kStd = standardColourScheme();

// One track and one pad on every layer, tracks listed after the pads so
// that the pad-after-other-kinds rule shows.
TObjektList oneOfEachLayer() {
  TObjektList list;
  for (int layer = 1; layer <= 4; ++layer)
    list.push_back(createPad({layer * 1000, -1000}, 80, kPadRound, layer, 30));
  for (int layer = 1; layer <= 4; ++layer)
    addTrack(list, layer, 50, {{0, -layer * 100}, {500, -layer * 100}});
  return list;
}

// The colour and figure of each call: "polyline/copper 2", "ellipse/…".
std::vector<std::pair<std::string, TColour>> sequence(const RecordingCanvas& c) {
  std::vector<std::pair<std::string, TColour>> out;
  for (const auto& call : c.calls) out.push_back({call.op, call.pen.colour});
  return out;
}

TEST(DrawElements, OtherSideFirstCopperBeforeSilkscreenThenHoles) {
  struct Case {
    int active;
    std::array<int, 4> layers;
  } cases[] = {{1, {3, 1, 4, 2}}, {2, {3, 1, 4, 2}}, {3, {1, 3, 2, 4}}, {4, {1, 3, 2, 4}}};
  const int colourOf[] = {0, kColourCopper1, kColourSilk1, kColourCopper2, kColourSilk2};
  for (const Case& c : cases) {
    TObjektList list = oneOfEachLayer();
    TBoardRecord state;
    state.activeLayer = c.active;
    RecordingCanvas canvas;
    drawElements(list, canvas, state, TRenderSettings());
    std::vector<std::pair<std::string, TColour>> expected;
    for (int layer : c.layers) {
      expected.push_back({"polyline", kStd[colourOf[layer]]});
      expected.push_back({"ellipse", kStd[colourOf[layer]]});
    }
    for (int i = 0; i < 4; ++i) expected.push_back({"ellipse", kWhite});  // holes, no partners
    EXPECT_EQ(sequence(canvas), expected) << "active " << c.active;
  }
}

TEST(DrawElements, HiddenLayersAndTheirHolesAreLeftOutUnlessInThePhotoView) {
  TObjektList list = oneOfEachLayer();
  TBoardRecord state;
  state.activeLayer = 1;
  state.layerVisible = {1, 1, 0, 1};
  RecordingCanvas canvas;
  drawElements(list, canvas, state, TRenderSettings());
  for (const auto& call : canvas.calls) EXPECT_NE(call.pen.colour, kStd[kColourCopper2]);
  EXPECT_EQ(canvas.calls.size(), 6u + 3u);

  TRenderSettings photo;
  photo.photoView = true;
  canvas.calls.clear();
  drawElements(list, canvas, state, photo);
  // All four layers drawn (other side shining through), holes of visible layers only.
  EXPECT_EQ(canvas.calls.size(), 8u + 3u);
  EXPECT_EQ(canvas.calls.back().pen.colour, kBlack);
}

TEST(DrawElements, OnlyElementsMeetingTheClipAreDrawn) {
  TObjektList list;
  addTrack(list, kCopper1, 50, {{0, 0}, {1000, 0}});
  addTrack(list, kCopper1, 50, {{50000, -50000}, {51000, -50000}});
  TBoardRecord state;
  state.activeLayer = 1;
  RecordingCanvas canvas({0, 0, 200, 200});
  canvas.setMapping(testing::zoomMapping(0.1));
  drawElements(list, canvas, state, TRenderSettings());
  ASSERT_EQ(canvas.calls.size(), 1u);
  EXPECT_EQ(canvas.calls[0].points.front(), (CanvasPoint{0, 0}));
}

TEST(DrawHoles, RimIsRedForThroughPadsWhiteOtherwiseBlackInPhotoView) {
  TObjektList list;
  addThroughPad(list, {0, 0}, 100, 40);
  list.push_back(createPad({500, 0}, 100, kPadRound, kCopper1, 40));
  TBoardRecord state;
  RecordingCanvas canvas;
  drawHoles(list, canvas, state, TRenderSettings());
  ASSERT_EQ(canvas.calls.size(), 3u);
  EXPECT_EQ(canvas.calls[0].pen.colour, kThroughHoleRim);
  EXPECT_EQ(canvas.calls[2].pen.colour, kWhite);
  EXPECT_EQ(canvas.calls[0].box, (CanvasRect{-40, 40, 40, -40}));
  for (const auto& call : canvas.calls) EXPECT_EQ(call.brush.colour, kWhite);
}

TEST(DrawGroundPlane, CutsTheActiveCopperOutAndHatchesOtherCutouts) {
  TObjektList list;
  auto cutout = [&](int layer) {
    list.push_back(createArea(20, layer));
    list.back()->points = {{0, 0}, {1000, 0}, {1000, -1000}};
    list.back()->cutout = 1;
  };
  cutout(kCopper1);
  cutout(kCopper2);
  addTrack(list, kCopper1, 50, {{0, 0}, {1000, 0}}).clearance = 40;
  addTrack(list, kCopper2, 50, {{0, 0}, {1000, 0}});
  TBoardRecord state;
  state.activeLayer = 1;
  state.groundPlane1 = 1;
  TRenderSettings settings;
  RecordingCanvas canvas;
  drawGroundPlane(list, canvas, state, settings);
  // The side-2 cutout hatched; then the clearances of layer 1: its cutout
  // area and its track, in the background colour.
  ASSERT_EQ(canvas.calls.size(), 3u);
  EXPECT_EQ(canvas.calls[0].brush.pattern, &canvasPattern(settings.tiles().cutout2));
  EXPECT_EQ(canvas.calls[1].brush.colour, kStd[kColourBackground]);
  EXPECT_EQ(canvas.calls[1].pen.width, 20);  // cut-outs keep their outline width
  EXPECT_EQ(canvas.calls[2].pen.width, 50 + 80);

  state.groundPlane1 = 0;
  canvas.calls.clear();
  drawGroundPlane(list, canvas, state, settings);
  ASSERT_EQ(canvas.calls.size(), 2u);
  EXPECT_EQ(canvas.calls[0].brush.pattern, &canvasPattern(settings.tiles().cutout1));
}

TEST(DrawPreview, DrawsEverythingWithoutClipOrVisibility) {
  TObjektList list = oneOfEachLayer();
  list[0]->padLink = list[2].get();
  list[2]->padLink = list[0].get();
  RecordingCanvas canvas({0, 0, 1, 1});
  canvas.setMapping(testing::zoomMapping(0.1));
  TRenderSettings settings;
  settings.photoView = true;
  drawPreview(list, canvas, settings, false);
  ASSERT_EQ(canvas.calls.size(), 8u + 4u);
  EXPECT_EQ(canvas.calls[0].pen.colour, kStd[kColourCopper2]);
  EXPECT_EQ(canvas.calls[8].pen.style, PenStyle::kSolid);  // linked: red rim
  EXPECT_EQ(canvas.calls[9].pen.style, PenStyle::kNone);
}

// Under the mirrored mapping of the photo view of side 2 an arc runs from
// its end angle to its start angle and a legacy font text's letters start at
// the other end of its box, so that both keep their look; the clearance
// box stays the text's box. The elements themselves are left as they are.
TEST(MirroredPhotoView, ArcsAndFontTextsKeepTheirLook) {
  auto circle = createCircle({0, 0}, 100, kPadRound, kCopper2, 80);
  circle->angle = 0;
  circle->dim3 = 90;
  TObjekt text;
  text.kind = kFontText;
  text.layer = kCopper2;
  text.x = 10;
  text.y = -10;
  text.dim1 = 500;
  text.dim2 = -300;
  text.dim3 = -100;
  text.clearance = 5;
  text.text = "A";
  const CanvasPoint east{100, 0}, north{0, 100};
  struct Case {
    int side, textAngle;
    CanvasPoint arcStart, arcEnd, textAnchor;
  } cases[] = {
      {1, 0, east, north, {10, -10}},    {2, 0, north, east, {500, -10}},
      {2, 90, north, east, {10, -300}},  {2, 270, north, east, {10, -300}},
      {2, 180, north, east, {500, -10}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << "side " << c.side << ", text at " << c.textAngle);
    TRenderSettings settings;
    settings.photoView = true;
    settings.photo.side = c.side;
    text.angle = c.textAngle;
    RecordingCanvas canvas;
    drawElement(*circle, canvas, kCopper1, settings);
    drawElement(text, canvas, kCopper1, settings);
    drawClearance(text, canvas, settings);
    ASSERT_EQ(canvas.calls.size(), 3u);
    EXPECT_EQ(canvas.calls[0].op, "arc");
    EXPECT_EQ(canvas.calls[0].start, c.arcStart);
    EXPECT_EQ(canvas.calls[0].end, c.arcEnd);
    EXPECT_EQ(canvas.calls[1].points, std::vector<CanvasPoint>{c.textAnchor});
    EXPECT_EQ(canvas.calls[2].box, (CanvasRect{5, -305, 505, -5}));
    EXPECT_EQ(circle->angle, 0);
    EXPECT_EQ(circle->dim3, 90);
    EXPECT_EQ(text.x, 10);
    EXPECT_EQ(text.y, -10);
  }
}

// A text's strokes are drawn with the text's clearance, which may be wider
// than the clearance the strokes were made with: a repaint of a strip that
// only that wider clearance reaches must still draw it.
TEST(DrawGroundPlane, ClipMeetsATextsClearanceBeyondItsStrokes) {
  TObjektList list;
  list.push_back(createText({0, 0}, "I", false, false, kCopper1, 0, 1, 1, 500));
  TObjekt& text = *list.back();
  text.clearance = 300;
  auto stroke = createTrack(40, kCopper1);
  stroke->points = {{0, 0}, {0, -1000}};
  text.strokes.push_back(std::move(stroke));
  TBoardRecord state;
  state.activeLayer = kCopper1;
  state.groundPlane1 = 1;
  // World x 200..300 at zoom 0.1: right of the stroke and its own bounds,
  // inside the text's clearance.
  RecordingCanvas canvas({20, 0, 30, 100});
  canvas.setMapping(testing::zoomMapping(0.1));
  drawGroundPlane(list, canvas, state, TRenderSettings());
  ASSERT_EQ(canvas.calls.size(), 1u);
  EXPECT_EQ(canvas.calls[0].pen.width, 40 + 600);
}

}  // namespace
}  // namespace plavesk
