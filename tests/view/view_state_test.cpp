#include "view/view_state.h"

#include <gtest/gtest.h>

namespace plavesk {
namespace {

class ViewStateTest : public ::testing::Test {
 protected:
  void SetUp() override {
    view.clientWidth = 800;
    view.clientHeight = 600;
    view.outerWidth = 820;
    view.outerHeight = 620;
    view.zoomStack = &stack;
  }
  TViewState view;
  std::vector<TZoomState> stack;
};

TEST_F(ViewStateTest, WorldToDeviceAndBack) {
  const struct {
    double zoom;
    bool mirrored;
    TPoint world, pixel;
  } cases[] = {
      {0.1, false, {1000, -500}, {100, 50}}, {0.1, true, {1000, -500}, {1500, 50}},
      {1.0, false, {0, 0}, {0, 0}},          {0.5, false, {16000, -10000}, {8000, 5000}},
      {0.01, false, {150, -250}, {2, 2}},  // 1.5 and 2.5 round to even
  };
  for (const auto& c : cases) {
    view.setZoom(c.zoom);
    view.photoViewActive = c.mirrored;
    view.photoMirrored = c.mirrored;
    EXPECT_EQ(view.worldToDevice(c.world), c.pixel) << c.zoom << " " << c.mirrored;
  }
  view.photoViewActive = false;
  view.setZoom(0.1);
  EXPECT_EQ(view.deviceToWorld({100, 50}, false), (TPoint{1000, -500}));
  EXPECT_EQ(view.deviceToWorld({38, 13}, false), (TPoint{380, -130}));
  EXPECT_EQ(view.deviceToWorld({38, 13}, true), (TPoint{254, -254}));
  view.photoViewActive = view.photoMirrored = true;
  EXPECT_EQ(view.deviceToWorld({1500, 50}, false), (TPoint{1000, -500}));
  view.photoMirrored = false;  // mirroring needs both
  EXPECT_EQ(view.worldToDevice({1000, -500}), (TPoint{100, 50}));
}

TEST_F(ViewStateTest, ZoomIsQuantisedInTheMapping) {
  view.setZoom(0.123456);
  EXPECT_DOUBLE_EQ(view.scale(), 0.1235);
  EXPECT_EQ(view.worldToDevice({10000, 0}), (TPoint{1235, 0}));
  view.setScroll(40, 10);
  EXPECT_EQ(view.viewportToWorld({60, 0}, false), view.deviceToWorld({100, 10}, false));
}

TEST_F(ViewStateTest, SetZoomClampsAndKeepsTheCentre) {
  view.setZoom(5);
  EXPECT_DOUBLE_EQ(view.zoom(), 1.0);
  view.setZoom(0.001);
  EXPECT_DOUBLE_EQ(view.zoom(), 0.01);
  view.setZoom(0.1);
  view.centreView(8000, 5000);
  // Surface 1601 x 1001, client 800 x 600: centre at pixel (800, 500).
  EXPECT_EQ(view.scrollX(), 400);
  EXPECT_EQ(view.scrollY(), 200);
  view.setZoom(0.2);
  // (400 + 400) / 0.1 = 8000 -> scroll 0.2 * (8000 - 2000) = 1200
  EXPECT_EQ(view.scrollX(), 1200);
  EXPECT_EQ(view.scrollY(), 0.2 * (5000 - 1500));
  EXPECT_EQ(view.lineStepX, 50);
  EXPECT_EQ(view.lineStepY, 37);
  // Scroll positions stay inside the scroll bars' ranges.
  view.centreView(1000000, -1000000);
  EXPECT_EQ(view.scrollX(), view.surfaceWidth() - view.clientWidth);
  EXPECT_EQ(view.scrollY(), 0);
}

TEST_F(ViewStateTest, WheelZoomsByTheStep) {
  view.setZoom(0.1);
  EXPECT_TRUE(view.wheel(+120, {400, 300}));
  EXPECT_DOUBLE_EQ(view.zoom(), 0.1 * 1.4);
  EXPECT_FALSE(view.paintSuppressed);
  view.setZoom(0.1);
  EXPECT_TRUE(view.wheel(-120, {400, 300}));
  EXPECT_DOUBLE_EQ(view.zoom(), 0.1 / 1.4);
  EXPECT_TRUE(view.wheel(0, {0, 0}));

  // Zooming in brings the point under the cursor to the centre.
  view.setZoom(0.1);
  view.setScroll(0, 0);
  view.wheel(+120, {600, 400});  // world (6000, -4000)
  const TPoint centre = view.viewportToWorld({400, 300}, false);
  EXPECT_NEAR(centre.x, 6000, 10);
  EXPECT_NEAR(centre.y, -4000, 10);
}

TEST_F(ViewStateTest, DisplayCoordinatesRelativeToTheOrigin) {
  view.setOrigin({1000, -2000});
  const DisplayCoords mm = view.toDisplayCoords({1500, -2500});
  EXPECT_DOUBLE_EQ(mm.x, 5);
  EXPECT_DOUBLE_EQ(mm.y, 5);
  EXPECT_EQ(view.displayTextX({1500, -2500}), "X: 5 mm");
  EXPECT_EQ(view.displayTextY({1500, -1500}), "Y: -5 mm");
  EXPECT_EQ(view.displayTextX({1000 + 12346, 0}), "X: 123.5 mm");
  view.inchMode = true;
  EXPECT_EQ(view.displayTextX({1000 + 254, 0}), "X: 0.1 \"");
  EXPECT_EQ(view.displayTextY({0, -2000 - 2540}), "Y: 1 \"");
}

TEST_F(ViewStateTest, ZoomObjectsAndPrevious) {
  TObjektList list;
  EXPECT_FALSE(view.zoomPrevious());  // empty stack: nothing
  EXPECT_DOUBLE_EQ(view.zoom(), 0.1);

  // Narrower than 50 units: the pushed state stays, the zoom does not change.
  auto pad = createSmdPad({1000, -1000}, 0, kCopper1, 160);  // 40 x 200 with clearance 20
  pad->clearance = 20;
  list.push_back(std::move(pad));
  ASSERT_EQ(elementsBounds(list), (TRect{980, -1100, 1020, -900}));
  view.zoomObjects(list);
  EXPECT_EQ(stack.size(), 1u);
  EXPECT_DOUBLE_EQ(view.zoom(), 0.1);
  EXPECT_TRUE(view.commandStatesNeedUpdate);

  list.push_back(createSmdPad({3000, -2000}, 100, kCopper1, 100));
  ASSERT_EQ(elementsBounds(list), (TRect{980, -2050, 3050, -900}));  // 2070 x 1150
  view.zoomObjects(list);
  EXPECT_EQ(stack.size(), 2u);
  EXPECT_DOUBLE_EQ(view.zoom(), std::min(800.0 / 2070, 600.0 / 1150));
  // Centred 10 units left of and above the middle (2015, -1475).
  const TPoint centre = view.viewportToWorld({400, 300}, false);
  EXPECT_NEAR(centre.x, 2015 - 10, 3);
  EXPECT_NEAR(centre.y, -1475 + 10, 3);
  EXPECT_FALSE(view.paintSuppressed);

  EXPECT_TRUE(view.zoomPrevious());
  EXPECT_DOUBLE_EQ(view.zoom(), 0.1);
  EXPECT_EQ(stack.size(), 1u);

  view.zoomSelection(list);  // nothing selected
  EXPECT_EQ(stack.size(), 2u);
  EXPECT_DOUBLE_EQ(view.zoom(), 0.1);
}

TEST_F(ViewStateTest, ZoomBoardFitsTheBoardAndZoomPreviousRestoresScroll) {
  view.setZoom(0.5);
  view.setScroll(1234, 567);
  view.zoomBoard();
  EXPECT_DOUBLE_EQ(view.zoom(), std::min(810.0 / 16000, 610.0 / 10000));
  ASSERT_EQ(stack.size(), 1u);
  EXPECT_EQ(stack[0].scrollX, 1234);
  EXPECT_EQ(stack[0].scrollY, 567);
  EXPECT_TRUE(view.zoomPrevious());
  EXPECT_DOUBLE_EQ(view.zoom(), 0.5);
  EXPECT_EQ(view.scrollX(), 1234);
  EXPECT_EQ(view.scrollY(), 567);
  EXPECT_TRUE(stack.empty());
}

TEST_F(ViewStateTest, ShowingABoardBringsZoomAndScrollWithinRangeAndTakesItsStack) {
  TBoardRecord record;
  record.width = 30000;
  record.zoom = 7;  // clamped
  record.scrollX = 100;
  record.scrollY = 50000;  // beyond the surface
  std::vector<TZoomState> other{{1, 2, 0.3}};
  view.setRecord(record);
  view.showBoard(&other);
  EXPECT_DOUBLE_EQ(view.zoom(), 1.0);
  EXPECT_EQ(view.scrollX(), 100);
  EXPECT_EQ(view.scrollY(), view.surfaceHeight() - view.clientHeight);
  EXPECT_EQ(view.boardWidth(), 30000);
  EXPECT_EQ(view.lineStepX, 50);
  EXPECT_TRUE(view.zoomPrevious());
  EXPECT_DOUBLE_EQ(view.zoom(), 0.3);
  EXPECT_TRUE(other.empty());
}

TEST_F(ViewStateTest, WorldToViewportIsTheScrolledDevicePixel) {
  view.setZoom(0.1);
  view.setScroll(40, 10);
  for (const TPoint world : {TPoint{0, 0}, TPoint{1000, -500}, TPoint{16000, -10000}}) {
    const TPoint d = view.worldToDevice(world);
    EXPECT_EQ(view.worldToViewport(world), (TPoint{d.x - 40, d.y - 10}));
    EXPECT_EQ(view.viewportToWorld(view.worldToViewport(world), false), world);
  }
}

// The window's view works on the active board's record: there is no copy
// that could drift from it.
class BoundViewTest : public ViewStateTest {
 protected:
  void SetUp() override {
    ViewStateTest::SetUp();
    layout.addBoard("Board 1");
    layout.addBoard("Board 2");
    layout.activateBoard(0);
    view.bind(layout);
  }
  TLayout layout;
};

TEST_F(BoundViewTest, ChangesLandInTheActiveBoardAndFollowActivation) {
  view.setZoom(0.5);
  view.setScroll(300, 200);
  view.setOrigin({1000, -2000});
  const TBoardRecord& first = layout.boards[0]->record;
  EXPECT_DOUBLE_EQ(first.zoom, 0.5);
  EXPECT_EQ(first.scrollX, 300);
  EXPECT_EQ(first.scrollY, 200);
  EXPECT_EQ(first.originX, 1000);
  EXPECT_EQ(first.originY, -2000);

  layout.activateBoard(1);
  view.showBoard(&layout.active().zoomStack);
  EXPECT_DOUBLE_EQ(view.zoom(), 0.1);
  EXPECT_EQ(view.scrollX(), 0);
  EXPECT_EQ(view.origin(), (TPoint{0, 0}));
  view.zoomBoard();  // pushes onto the second board's stack
  EXPECT_EQ(layout.boards[1]->zoomStack.size(), 1u);

  layout.activateBoard(0);
  view.showBoard(&layout.active().zoomStack);
  EXPECT_DOUBLE_EQ(view.zoom(), 0.5);
  EXPECT_EQ(view.scrollX(), 300);
  EXPECT_FALSE(view.zoomPrevious());

  // Size and grid set on the board reach the view at once.
  layout.working().width = 20000;
  layout.working().grid = 127;
  EXPECT_EQ(view.boardWidth(), 20000);
  EXPECT_EQ(view.surfaceWidth(), 10001);
  EXPECT_EQ(view.snap({100, -100}), (TPoint{127, -127}));
}

TEST_F(BoundViewTest, CopiesAndDetachedViewsNeverWriteIntoTheBoard) {
  view.setZoom(0.2);
  TViewState copy = view;
  copy.setZoom(0.8);
  copy.setOrigin({5, -5});
  EXPECT_DOUBLE_EQ(copy.zoom(), 0.8);
  EXPECT_DOUBLE_EQ(layout.working().zoom, 0.2);
  EXPECT_EQ(layout.working().originX, 0);
  EXPECT_DOUBLE_EQ(view.zoom(), 0.2);  // the original stays bound
  view.setZoom(0.3);
  EXPECT_DOUBLE_EQ(layout.working().zoom, 0.3);

  TViewState assigned;
  assigned = view;
  assigned.setZoom(0.9);
  EXPECT_DOUBLE_EQ(layout.working().zoom, 0.3);

  view.detach();
  EXPECT_DOUBLE_EQ(view.zoom(), 0.3);  // keeps the values
  view.setZoom(0.4);
  EXPECT_DOUBLE_EQ(layout.working().zoom, 0.3);
}

TEST_F(BoundViewTest, ReadsDefaultsWhileNoBoardIsActive) {
  view.setZoom(0.7);
  layout.close();
  EXPECT_DOUBLE_EQ(view.zoom(), 0.1);
  EXPECT_EQ(view.boardWidth(), 16000);
  layout.addBoard("Again");
  view.showBoard(&layout.active().zoomStack);
  EXPECT_DOUBLE_EQ(view.zoom(), 0.1);
}

TEST_F(ViewStateTest, InvalidationRectCoversTheElementWithAMargin) {
  view.setZoom(0.1);
  auto t = createTrack(100, kCopper1);
  addPoint(*t, {0, 0});
  addPoint(*t, {1000, -1000});
  t->clearance = 40;  // bounds (-90, -1090, 1090, 90)
  EXPECT_EQ(view.invalidationRect(*t), (TRect{-9 - 5, -9 - 5, 109 + 5, 109 + 5}));
}

TEST_F(ViewStateTest, DeviceOutlineFollowsTheMapping) {
  view.setZoom(0.1);
  const ViewMapping mapping(view);
  auto pad = createPad({1000, -1000}, 100, kPadSquare, kCopper1, 40);
  const auto outline = elementOutline(*pad, &mapping);
  ASSERT_TRUE(outline.has_value());
  EXPECT_EQ(toRect(outline->boundingBox()), (TRect{90, 90, 110, 110}));
  // A thin track still gets one pixel either side.
  auto t = createTrack(2, kCopper1);
  addPoint(*t, {0, -1000});
  addPoint(*t, {1000, -1000});
  EXPECT_EQ(toRect(elementOutline(*t, &mapping)->boundingBox()), (TRect{-1, 99, 101, 101}));
}

}  // namespace
}  // namespace plavesk
