// The pixels of the drawing area: the painter canvas against the raster
// canvas of image export, the widget's frames (whole and in part, scrolled)
// against the raster picture of the same view, and the origin marker's drag
// that never leaves the viewport.
#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QMouseEvent>
#include <QPainter>
#include <filesystem>
#include <memory>
#include <string>

#include "app/layout_view.h"
#include "app/main_window.h"
#include "document/board.h"
#include "editing/editor.h"
#include "platform/core/raster_canvas.h"
#include "platform/qt/qt_canvas.h"
#include "view/main_view_paint.h"
#include "view/render_fixtures.h"

namespace plavesk {
namespace {

CanvasColour toCanvas(QRgb c) {
  return CanvasColour(qRed(c)) | (CanvasColour(qGreen(c)) << 8) | (CanvasColour(qBlue(c)) << 16);
}

// A 2000 x 1500 board with the active side 1: a copper-1 track, a copper-2
// track and a through pad (hatched ring, white drill hole with its rim).
constexpr TPoint kPadAt{1200, -700};
constexpr int32_t kPadRadius = 200;
constexpr int32_t kDrill = 60;

void addFixture(TObjektList& list) {
  testing::addTrack(list, kCopper1, 100, {{200, -300}, {800, -300}});
  testing::addTrack(list, kCopper2, 100, {{200, -800}, {800, -800}});
  testing::addThroughPad(list, kPadAt, kPadRadius, kDrill);
}

TBoardRecord fixtureBoard() {
  TBoardRecord state;
  state.width = 2000;
  state.height = 1500;
  state.activeLayer = kCopper1;
  return state;
}

TViewState fixtureView(const TBoardRecord& state, double zoom) {
  TViewState view;
  view.record().width = state.width;
  view.record().height = state.height;
  view.setZoom(zoom);
  view.clientWidth = view.surfaceWidth();
  view.clientHeight = view.surfaceHeight();
  return view;
}

// The painter canvas and the raster canvas give the same colours where the
// figures leave no doubt: inside tracks, in the hatched ring of a through
// pad (the tile repeating from device pixel 0, 0), in the drill hole and on
// its rim.
TEST(QtCanvasPixels, MatchRasterCanvasAtKnownPlaces) {
  TObjektList list;
  addFixture(list);
  const TBoardRecord state = fixtureBoard();
  const TViewState view = fixtureView(state, 0.2);  // 100 units = 20 pixels
  const TRenderSettings settings;
  const TMainViewExtras extras{{false, 4}, {}, nullptr};
  const int w = view.surfaceWidth(), h = view.surfaceHeight();

  RasterImage raster(w, h);
  RasterCanvas rasterCanvas(raster);
  paintMainView(list, state, view, rasterCanvas, settings, extras);

  QImage image(w, h, QImage::Format_RGB32);
  image.fill(Qt::white);
  {
    QPainter painter(&image);
    QtCanvas canvas(painter, {0, 0, w, h});
    paintMainView(list, state, view, canvas, settings, extras);
  }
  auto qt = [&](int x, int y) { return toCanvas(image.pixel(x, y)); };

  const TColourScheme& colours = settings.colours();
  struct Place {
    const char* what;
    int x, y;
    CanvasColour colour;
  } places[] = {
      {"copper 1 track", 100, 60, colours[kColourCopper1]},
      {"copper 2 track", 100, 160, colours[kColourCopper2]},
      {"board background", 20, 280, colours[kColourBackground]},
      {"drill hole", 240, 140, kWhite},
  };
  for (const Place& p : places) {
    EXPECT_EQ(raster.pixel(p.x, p.y), p.colour) << p.what;
    EXPECT_EQ(qt(p.x, p.y), p.colour) << p.what;
  }

  // An 8 x 8 block of the ring between the hole (12 pixels) and the pad's
  // edge (40 pixels) is one whole tile, in the same phase on both.
  const CanvasPattern& tile = canvasPattern(settings.tiles().throughPad);
  int tileColours = 0;
  for (int y = 136; y < 144; ++y)
    for (int x = 262; x < 270; ++x) {
      const CanvasColour want = tile[size_t((y & 7) * 8 + (x & 7))];
      tileColours += want != tile[0];
      EXPECT_EQ(raster.pixel(x, y), want) << x << "," << y;
      EXPECT_EQ(qt(x, y), want) << x << "," << y;
    }
  EXPECT_GT(tileColours, 0) << "the tile is one colour: the phase is not tested";

  // The rim: walking right from the hole's centre, the first pixel that is
  // not white is the rim colour, 12 pixels out give or take one.
  auto rimAt = [](auto colourAt) {
    for (int x = 240; x < 280; ++x)
      if (colourAt(x, 140) != kWhite) return std::pair{x - 240, colourAt(x, 140)};
    return std::pair{-1, CanvasColour(0)};
  };
  const auto rasterRim = rimAt([&](int x, int y) { return raster.pixel(x, y); });
  const auto qtRim = rimAt(qt);
  EXPECT_EQ(rasterRim.second, kThroughHoleRim);
  EXPECT_EQ(qtRim.second, kThroughHoleRim);
  EXPECT_NEAR(rasterRim.first, 11, 1);
  EXPECT_NEAR(qtRim.first, rasterRim.first, 1);
}

class WindowPaint : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = std::filesystem::temp_directory_path() /
              ("plavesk_winpaint_" + std::to_string(QCoreApplication::applicationPid()));
    std::filesystem::create_directories(folder_);
    TMainWindowOptions options;
    options.language = 1;
    options.programFolder = folder_.string() + "/";
    options.settingsPath = (folder_ / "PLAVESKA.INI").string();
    window_ = std::make_unique<TMainWindow>(options);
    window_->resize(1000, 700);
    window_->show();
    TLayout layout;
    layout.addBoard("Fixture");
    layout.working() = fixtureBoard();
    addFixture(layout.elements());
    window_->editor().layout = std::move(layout);
    window_->activateBoard(0);
    QApplication::processEvents();
  }
  void TearDown() override {
    window_.reset();
    std::filesystem::remove_all(folder_);
  }

  QWidget* port() const { return window_->layoutView()->viewport(); }

  void showAt(double zoom, int32_t scrollX, int32_t scrollY) {
    TViewState& view = window_->view();
    view.setZoom(zoom);
    view.record().scrollX = scrollX;
    view.record().scrollY = scrollY;
    window_->layoutView()->syncFromView();
    QApplication::processEvents();
  }

  // The viewport's area through its paint event, without the origin marker
  // lying on it; pixels outside `area` keep `ground`.
  QImage frame(const QRect& area, QRgb ground) const {
    QImage image(port()->size(), QImage::Format_RGB32);
    image.fill(ground);
    QPainter painter(&image);
    port()->render(&painter, area.topLeft(), QRegion(area), QWidget::DrawWindowBackground);
    return image;
  }

  // The whole paint surface on the raster canvas, as image export draws it.
  RasterImage surfacePicture() const {
    const TViewState& view = window_->view();
    RasterImage image(view.surfaceWidth(), view.surfaceHeight());
    RasterCanvas canvas(image);
    paintMainView(window_->editor().elements(), window_->editor().layout.working(), view, canvas,
                  TRenderSettings(), TMainViewExtras{});
    return image;
  }

  // Viewport pixels inside `area` that differ from the surface picture
  // (white beyond the surface).
  int differences(const QImage& image, const RasterImage& surface, const QRect& area) const {
    const TViewState& view = window_->view();
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
      for (int x = area.left(); x <= area.right(); ++x) {
        const int sx = x + view.scrollX(), sy = y + view.scrollY();
        const CanvasColour want =
            sx < surface.width() && sy < surface.height() ? surface.pixel(sx, sy) : kWhite;
        if (toCanvas(image.pixel(x, y)) != want && ++count <= 5)
          ADD_FAILURE() << "pixel " << x << "," << y << " of the viewport";
      }
    return count;
  }

  std::filesystem::path folder_;
  std::unique_ptr<TMainWindow> window_;
};

// Whole frames and parts repainted on their own, at rest and scrolled by
// amounts that are not multiples of the hatch tile: every pixel is the
// raster picture's.
TEST_F(WindowPaint, FramesAndRepaintedPartsEqualTheRasterPicture) {
  struct View {
    double zoom;
    int32_t scrollX, scrollY;
  } views[] = {{0.2, 0, 0}, {1.0, 1003, 517}};
  for (const View& v : views) {
    SCOPED_TRACE(::testing::Message() << "zoom " << v.zoom);
    showAt(v.zoom, v.scrollX, v.scrollY);
    ASSERT_EQ(window_->view().scrollX(), v.scrollX);
    ASSERT_EQ(window_->view().scrollY(), v.scrollY);
    const RasterImage surface = surfacePicture();
    const QRect whole = port()->rect();
    EXPECT_EQ(differences(frame(whole, qRgb(0, 0, 0)), surface, whole), 0);

    // A part around the through pad, at odd offsets; the rest of the
    // target stays untouched.
    const TPoint pad = window_->view().worldToViewport(kPadAt);
    const QRect part(pad.x - 29, pad.y - 21, 61, 45);
    const QImage partial = frame(part, qRgb(1, 2, 3));
    EXPECT_EQ(differences(partial, surface, part), 0);
    EXPECT_EQ(partial.pixel(part.left() - 1, part.top()), qRgb(1, 2, 3));
    EXPECT_EQ(partial.pixel(part.right() + 1, part.bottom()), qRgb(1, 2, 3));
  }
}

// A text in the system font is drawn with the font, as the painter canvas
// draws it, and in its turn: on copper 2 it lies under a copper-1 track of
// the active side.
TEST_F(WindowPaint, FontTextsAreDrawnWithTheSystemFont) {
  TObjektList& list = window_->editor().elements();
  auto text = std::make_unique<TObjekt>();
  text->kind = kFontText;
  text->layer = kCopper2;
  text->x = 200;
  text->y = -950;
  text->dim3 = -250;  // 50 pixels high at zoom 0.2
  text->text = "WM";
  list.insert(list.begin(), std::move(text));
  testing::addTrack(list, kCopper1, 100, {{150, -1050}, {700, -1050}});
  showAt(0.2, 0, 0);

  const TViewState& view = window_->view();
  const QRect whole = port()->rect();
  const QImage shown = frame(whole, qRgb(0, 0, 0));
  QImage painted(port()->size(), QImage::Format_RGB32);
  painted.fill(Qt::white);
  {
    QPainter painter(&painted);
    painter.translate(-view.scrollX(), -view.scrollY());
    QtCanvas canvas(painter, {0, 0, view.surfaceWidth(), view.surfaceHeight()});
    TMainViewExtras extras;
    extras.grid.visible = window_->settings().gridVisible;
    extras.grid.subdivision = window_->settings().gridMarking;
    paintMainView(list, window_->editor().layout.working(), view, canvas, TRenderSettings(),
                  extras);
  }
  const TRenderSettings settings;
  const CanvasColour copper1 = settings.colours()[kColourCopper1];
  const CanvasColour copper2 = settings.colours()[kColourCopper2];
  // The text's box: 40 to 200 pixels right, 190 to 240 down.
  int inked = 0, differing = 0;
  for (int y = 190; y < 240; ++y)
    for (int x = 40; x < 200; ++x) {
      const CanvasColour c = toCanvas(shown.pixel(x, y));
      inked += c == copper2;
      // Only the glyphs are compared, and a few pixels may differ where the
      // two canvases put the track's edge a pixel apart over them; the
      // stroke font instead of the system font differs in hundreds.
      differing += (c == copper2) != (toCanvas(painted.pixel(x, y)) == copper2);
    }
  EXPECT_GT(inked, 100);
  EXPECT_LE(differing, 5);
  EXPECT_EQ(toCanvas(shown.pixel(60, 210)), copper1);
}

// Dragging the origin marker far beyond each edge of the viewport keeps the
// marker and the origin inside it; snapped to the grid unless Ctrl is held.
TEST_F(WindowPaint, OriginMarkerDragStaysInsideTheViewport) {
  showAt(0.2, 0, 0);
  TLayoutView* view = window_->layoutView();
  auto* marker = port()->findChild<TOriginMarker*>();
  ASSERT_NE(marker, nullptr);
  const QSize size = port()->size();
  struct Drag {
    const char* where;
    QPoint to;  // viewport pixel of the pointer at the end of the drag
    Qt::KeyboardModifiers modifiers;
  } drags[] = {
      {"left", {-500, 100}, Qt::NoModifier},
      {"right", {size.width() + 500, 100}, Qt::NoModifier},
      {"top", {100, -500}, Qt::NoModifier},
      {"bottom", {100, size.height() + 500}, Qt::NoModifier},
      {"bottom right, unsnapped", {size.width() + 500, size.height() + 500}, Qt::ControlModifier},
  };
  const QPoint centre(6, 6);  // of the 13-pixel marker
  for (const Drag& d : drags) {
    SCOPED_TRACE(d.where);
    const QPoint start = marker->mapToGlobal(centre);
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(centre), QPointF(start), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(marker, &press);
    const QPoint local = marker->mapFrom(port(), d.to);
    QMouseEvent move(QEvent::MouseMove, QPointF(local), QPointF(port()->mapToGlobal(d.to)),
                     Qt::NoButton, Qt::LeftButton, d.modifiers);
    QApplication::sendEvent(marker, &move);
    QMouseEvent release(QEvent::MouseButtonRelease, QPointF(local),
                        QPointF(port()->mapToGlobal(d.to)), Qt::LeftButton, Qt::NoButton,
                        d.modifiers);
    QApplication::sendEvent(marker, &release);

    const QPoint origin = view->originInViewport();
    EXPECT_TRUE(port()->rect().contains(origin)) << origin.x() << "," << origin.y();
    EXPECT_TRUE(port()->rect().contains(marker->geometry().center()));
    const TViewState& state = window_->view();
    const TPoint world = state.origin();
    if (d.modifiers & Qt::ControlModifier) {
      // The pixel on the edge nearest the pointer.
      EXPECT_EQ(origin, QPoint(size.width() - 1, size.height() - 1));
    } else {
      EXPECT_EQ(state.snap(world), world);
    }
    EXPECT_EQ(window_->editor().working().originX, world.x);
    EXPECT_EQ(window_->editor().working().originY, world.y);
  }
}

// Snapping the marker's pixel on an edge may round to a grid line beyond
// it: the origin takes the grid line inside then, and with no grid line
// inside at all, the marker's own pixel.
TEST_F(WindowPaint, OriginAtStaysOnAGridLineInsideTheViewport) {
  TLayoutView* view = window_->layoutView();
  TViewState& state = window_->view();
  // Grid 254 units = 254 pixels at zoom 1: scrolled in steps that are not
  // a divisor of it, the edge pixels round outwards about half the time.
  int roundedOutwards = 0;
  for (int32_t scroll = 0; scroll < 254; scroll += 7) {
    showAt(1.0, scroll, scroll);
    ASSERT_EQ(state.scrollX(), scroll);
    const QSize size = port()->size();
    for (QPoint at : {QPoint(size.width() + 40, 30), QPoint(-40, 30), QPoint(30, -40),
                      QPoint(30, size.height() + 40)}) {
      const TPoint p = view->originAt(at, false);
      const TPoint d = state.worldToViewport(p);
      const QPoint inPort(d.x, d.y);
      EXPECT_TRUE(port()->rect().contains(inPort)) << scroll << ": " << at.x() << "," << at.y();
      EXPECT_EQ(state.snap(p), p) << scroll;
      const QPoint edge(std::clamp(at.x(), 0, size.width() - 1),
                        std::clamp(at.y(), 0, size.height() - 1));
      const TPoint nearest = state.snap(view->worldAt(edge, true));
      roundedOutwards += nearest != p;
    }
  }
  EXPECT_GT(roundedOutwards, 0) << "no case rounded outwards";

  state.record().grid = 1e6;  // no grid line inside the scrolled viewport
  showAt(1.0, 1003, 517);
  const QSize size = port()->size();
  const TPoint p = view->originAt(QPoint(size.width() + 40, 30), false);
  const TPoint d = state.worldToViewport(p);
  EXPECT_EQ(d.x, size.width() - 1);
  EXPECT_EQ(d.y, 30);
}

}  // namespace
}  // namespace plavesk
