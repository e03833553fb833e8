// Painting only part of the view must give exactly the pixels of a full
// paint there and touch nothing else: the passes skip elements by their
// bounds and the raster canvas skips rows and spans by the clip, and either
// could drop or cut something that reaches into the clip.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "document/byte_io.h"
#include "document/layout_file.h"
#include "platform/core/raster_canvas.h"
#include "view/image_export.h"
#include "view/main_view_paint.h"
#include "view/metafile_export.h"
#include "view/stroke_font.h"

namespace plavesk {
namespace {

constexpr CanvasColour kUntouched = 0x00123456;

TObjekt& add(TObjektList& list, TObjektPtr e) {
  list.push_back(std::move(e));
  return *list.back();
}

TObjekt& addTrack(TObjektList& list, int layer, int32_t width, std::vector<TPoint> points) {
  TObjekt& t = add(list, createTrack(width, layer));
  t.points = std::move(points);
  t.clearance = 40;
  return t;
}

// A 4000 x 3000 board with every kind and look: through pads of all nine
// shapes with the ground plane of side 1 on, a bare hole, SMD pads, wide and
// autorouted tracks, areas (closed, open, cut out), rings, arcs and chords,
// a text with strokes, a legacy font text, selected elements with handles
// and rubber bands running across the board.
TObjektList fixture() {
  TObjektList list;
  std::vector<TObjekt*> pads;
  for (int shape = 1; shape <= 9; ++shape) {
    const TPoint at{250 + 400 * (shape - 1), -400};
    TObjekt& top = add(list, createPad(at, 90, shape, kCopper1, 35));
    TObjekt& bottom = add(list, createPad(at, 90, shape, kCopper2, 35));
    top.padLink = &bottom;
    bottom.padLink = &top;
    top.clearance = bottom.clearance = 40;
    pads.push_back(&top);
  }
  add(list, createPad({3800, -2800}, 60, kPadRound, kCopper1, 60));  // a bare hole
  TObjekt& smd = add(list, createSmdPad({3600, -1500}, 300, kCopper1, 120));
  smd.clearance = 30;
  add(list, createSmdPad({300, -2700}, 150, kCopper2, 400));
  // Rubber bands from corner to corner and along the pad row.
  pads[0]->connections = {&smd, pads[8]};
  smd.connections = {pads[0]};
  pads[8]->connections = {pads[0]};

  addTrack(list, kCopper1, 60, {{100, -2900}, {1900, -1100}, {3900, -1300}});
  TObjekt& routed = addTrack(list, kCopper2, 120, {{200, -900}, {3700, -900}});
  routed.autorouted = 1;
  TObjekt& chosen = addTrack(list, kCopper2, 40, {{500, -2000}, {900, -2400}, {1500, -2100}});
  chosen.selected = 1;

  TObjekt& area = add(list, createArea(20, kCopper1));
  area.points = {{1200, -1500}, {2600, -1300}, {2900, -2600}, {1500, -2800}};
  area.clearance = 50;
  TObjekt& cut = add(list, createArea(20, kCopper2));
  cut.points = {{2500, -2000}, {3400, -1900}, {3300, -2900}};
  cut.cutout = 1;
  TObjekt& open = add(list, createArea(30, kSilk1));
  open.points = {{100, -100}, {3900, -200}, {3800, -700}};
  open.closed = 0;

  add(list, createCircle({1000, -1500}, 400, 1, kSilk1, 340));  // a ring
  TObjekt& arc = add(list, createCircle({3000, -600}, 500, 1, kCopper1, 380));
  arc.angle = 30;
  arc.dim3 = 250;
  arc.selected = 1;
  TObjekt& chord = add(list, createCircle({2200, -2500}, 300, 1, kCopper2, 200));
  chord.angle = 200;
  chord.dim3 = 20;
  chord.filled = 1;

  TObjekt& text = add(list, createText({600, -1200}, "PLAV", false, false, kSilk2, 0, 1, 1, 200));
  generateStrokes({600, -1200}, "PLAV", 3.0, 1, 1, kSilk2, 0, text.strokes);
  auto font = std::make_unique<TObjekt>();
  font->kind = kFontText;
  font->layer = kSilk1;
  font->x = 1800;
  font->y = -600;
  font->dim1 = 2600;
  font->dim2 = -800;
  font->dim3 = -180;
  font->angle = 0;
  font->text = "Ab1";
  add(list, std::move(font));
  return list;
}

// The whole board in view at `zoom`, mirrored in the photo view of side 2
// when `photo`.
TViewState wholeView(const TBoardRecord& state, double zoom, bool photo) {
  TViewState view;
  view.setRecord(state);
  view.record().zoom = zoom;
  view.photoViewActive = view.photoMirrored = photo;
  view.clientWidth = view.outerWidth = view.surfaceWidth();
  view.clientHeight = view.outerHeight = view.surfaceHeight();
  return view;
}

struct Scene {
  const char* name;
  double zoom;
  bool photo;
};

TEST(ClippedPaint, SameAsAFullPaintInsideTheClipAndNothingOutside) {
  TObjektList list = fixture();
  TBoardRecord state;
  state.width = 4000;
  state.height = 3000;
  state.activeLayer = kCopper1;
  state.groundPlane1 = 1;
  state.grid = 254;
  for (const Scene& scene : {Scene{"zoom 0.04", 0.04, false}, Scene{"zoom 0.2", 0.2, false},
                             Scene{"zoom 0.45", 0.45, false}, Scene{"mirrored photo", 0.3, true}}) {
    const TViewState view = wholeView(state, scene.zoom, scene.photo);
    const int32_t w = view.surfaceWidth(), h = view.surfaceHeight();
    TRenderSettings settings;
    RasterImage full(w, h, kUntouched);
    RasterCanvas fullCanvas(full);
    paintMainView(list, state, view, fullCanvas, settings);

    // Boxes through pads, tracks, arcs and rubber bands, single rows and
    // columns, and the image's edges.
    const CanvasRect clips[] = {
        {w / 3, h / 4, w / 3 + 57, h / 4 + 41},
        {0, 0, w / 2, h / 2},
        {w / 2, h / 2, w, h},
        {0, h / 7, w, h / 7 + 1},
        {w * 3 / 5, 0, w * 3 / 5 + 1, h},
        {w - 13, h - 9, w, h},
        {7, 11, 8, 12},
    };
    for (const CanvasRect& clip : clips) {
      RasterImage part(w, h, kUntouched);
      RasterCanvas canvas(part);
      canvas.setClip(clip);
      paintMainView(list, state, view, canvas, settings);
      int wrong = 0;
      for (int32_t y = 0; y < h; ++y)
        for (int32_t x = 0; x < w; ++x) {
          const bool inside = x >= clip.left && x < clip.right && y >= clip.top && y < clip.bottom;
          const CanvasColour expected = inside ? full.pixel(x, y) : kUntouched;
          if (part.pixel(x, y) != expected && wrong++ == 0)
            ADD_FAILURE() << scene.name << ", clip " << clip.left << "," << clip.top << " - "
                          << clip.right << "," << clip.bottom << ": pixel " << x << "," << y
                          << " is " << std::hex << part.pixel(x, y) << " not " << expected;
        }
      EXPECT_EQ(wrong, 0) << scene.name;
    }
  }
}

// Everything the drawing reads of the elements, in the form the file keeps
// them: fields, strokes with their clearances, points, groups and links.
std::vector<uint8_t> contents(const TObjektList& list) {
  ByteWriter w;
  writeElementBlock(w, list);
  return w.bytes();
}

// The text of the fixture moved onto copper 2 with a clearance its strokes
// do not have, as a file may hold it.
void putTextInThePlane(TObjektList& list) {
  for (auto& e : list)
    if (e->kind == kText) {
      e->layer = kCopper2;
      e->clearance = 90;
    }
}

struct HalvesScene {
  const char* name;
  bool photo;
  void (*prepare)(TObjektList&);
};

// A tall view is painted in two halves on two threads. It must equal the
// same view painted strip by strip on one thread (strips too low to be
// split), in the photo view too, and leave the elements as they were.
TEST(ClippedPaint, HalvesOnTwoThreadsEqualOneThread) {
  TBoardRecord state;
  state.width = 4000;
  state.height = 3000;
  state.activeLayer = kCopper2;
  state.groundPlane2 = 1;
  const TRenderSettings settings;
  const HalvesScene scenes[] = {
      {"plain", false, [](TObjektList&) {}},
      {"a text whose strokes have another clearance", false, putTextInThePlane},
      {"mirrored photo view", true, putTextInThePlane},
  };
  for (const HalvesScene& scene : scenes) {
    SCOPED_TRACE(scene.name);
    const TViewState view = wholeView(state, 0.2, scene.photo);
    const int32_t w = view.surfaceWidth(), h = view.surfaceHeight();
    TObjektList list = fixture();
    scene.prepare(list);
    const std::vector<uint8_t> before = contents(list);
    // The ring, the copper area and the long track lie across the middle
    // row, where the halves meet.
    ASSERT_GT(h, 2 * 128);

    RasterImage together(w, h, kUntouched);
    RasterCanvas canvas(together);
    paintMainView(list, state, view, canvas, settings);
    EXPECT_EQ(contents(list), before);

    RasterImage apart(w, h, kUntouched);
    for (int32_t top = 0; top < h; top += 100) {
      RasterCanvas strip(apart);
      strip.setClip({0, top, w, std::min(h, top + 100)});
      paintMainView(list, state, view, strip, settings);
    }
    int wrong = 0;
    for (int32_t y = 0; y < h; ++y)
      for (int32_t x = 0; x < w; ++x)
        if (together.pixel(x, y) != apart.pixel(x, y) && wrong++ == 0)
          ADD_FAILURE() << "pixel " << x << "," << y;
    EXPECT_EQ(wrong, 0);
  }
}

// Exports draw the selection in the ordinary look and the selection picture
// only the selected elements, without touching a single element: neither
// the selection nor the scratch marks nor a text's strokes change.
TEST(ClippedPaint, ExportsLeaveTheElementsAsTheyWere) {
  TBoardRecord state;
  state.width = 4000;
  state.height = 3000;
  state.activeLayer = kCopper2;
  state.groundPlane2 = 1;
  TObjektList list = fixture();
  putTextInThePlane(list);
  list[0]->workMark = 1;
  const std::vector<uint8_t> before = contents(list);
  for (bool photo : {false, true}) {
    TRenderSettings settings;
    settings.photoView = photo;
    settings.photo.side = 2;
    renderBoardImage(list, state, settings, {400, 300});
    EXPECT_EQ(contents(list), before) << (photo ? "photo " : "") << "image";
  }
  TViewState view;
  view.setRecord(state);
  view.record().zoom = 0.1;
  for (bool selectionOnly : {false, true}) {
    exportMetafile(list, state, view, TRenderSettings(), selectionOnly);
    EXPECT_EQ(contents(list), before) << (selectionOnly ? "selection " : "") << "metafile";
  }
}

// What a value field changes: widths, diameters, sizes and clearances.
void growSelected(TObjektList& list) {
  for (auto& e : list) {
    if (!e->selected) continue;
    e->clearance += 25;
    switch (e->kind) {
      case kTrack:
      case kArea:
        e->dim3 += 70;
        break;
      case kPad:
        e->dim1 += 40;
        e->dim2 = std::min(e->dim1, e->dim2 + 20);
        break;
      case kSmdPad:
        e->dim1 += 90, e->dim2 += 60;
        break;
      case kCircle:
        e->dim1 += 60, e->dim2 -= 30;
        break;
      default:
        break;
    }
  }
}

struct SplitScene {
  const char* name;
  int activeLayer;
  double zoom;
  bool photo;
  bool contours;
  bool (*chosen)(const TObjekt& e, size_t index);
};

// A picture of all but the selected elements noting every pixel's place in
// the paint order, with the selected elements changed and drawn into it
// behind those places, must equal a picture of all: wherever an element
// later in the order covers a selected one, and wherever a selected one
// covers an earlier one, in every pass (ground plane, layers, pads, holes,
// bands, contours), whole and in a part of the view.
TEST(ClippedPaint, SelectedDrawnIntoThePictureOfTheRestAsInAFullPaint) {
  const std::vector<std::vector<TPoint>> contours = {
      {{300, -300}, {3700, -300}, {3700, -2700}, {300, -2700}}, {{900, -900}, {2900, -2100}}};
  const SplitScene scenes[] = {
      {"every other element, plane of side 1", kCopper1, 0.2, false, false,
       [](const TObjekt&, size_t i) { return i % 2 == 0; }},
      {"every third element, side 2 with contours", kCopper2, 0.45, false, true,
       [](const TObjekt&, size_t i) { return i % 3 == 1; }},
      {"the pads", kCopper1, 0.2, false, false,
       [](const TObjekt& e, size_t) { return e.kind == kPad || e.kind == kSmdPad; }},
      {"tracks, areas and rings in the mirrored photo view", kCopper2, 0.3, true, false,
       [](const TObjekt& e, size_t) {
         return e.kind == kTrack || e.kind == kArea || e.kind == kCircle;
       }},
  };
  for (const SplitScene& scene : scenes) {
    SCOPED_TRACE(scene.name);
    TObjektList list = fixture();
    for (size_t i = 0; i < list.size(); ++i) list[i]->selected = scene.chosen(*list[i], i);
    TBoardRecord state;
    state.width = 4000;
    state.height = 3000;
    state.activeLayer = scene.activeLayer;
    state.groundPlane1 = state.groundPlane2 = 1;
    state.grid = 254;
    const TViewState view = wholeView(state, scene.zoom, scene.photo);
    const int32_t w = view.surfaceWidth(), h = view.surfaceHeight();
    const TRenderSettings settings;
    TMainViewExtras extras;
    if (scene.contours) extras.contours = &contours;

    RasterImage rest(w, h, kUntouched);
    std::vector<uint32_t> orders(size_t(w) * size_t(h), 0);
    RasterCanvas noting(rest);
    noting.setOrders(orders.data(), RasterCanvas::OrderUse::kNote);
    extras.subset = TElementSubset::unselected;
    paintMainView(list, state, view, noting, settings, extras);

    growSelected(list);
    extras.subset = TElementSubset::all;
    RasterImage full(w, h, kUntouched);
    RasterCanvas fullCanvas(full);
    paintMainView(list, state, view, fullCanvas, settings, extras);

    extras.subset = TElementSubset::selected;
    for (const CanvasRect clip : {CanvasRect{0, 0, w, h}, CanvasRect{w / 5, 0, w / 2, h * 2 / 3}}) {
      RasterImage step = rest;
      RasterCanvas behind(step);
      behind.setClip(clip);
      behind.setOrders(orders.data(), RasterCanvas::OrderUse::kBehind);
      paintMainView(list, state, view, behind, settings, extras);
      int wrong = 0, changed = 0;
      for (int32_t y = clip.top; y < clip.bottom; ++y)
        for (int32_t x = clip.left; x < clip.right; ++x) {
          changed += step.pixel(x, y) != rest.pixel(x, y);
          if (step.pixel(x, y) != full.pixel(x, y) && wrong++ == 0)
            ADD_FAILURE() << "clip " << clip.left << "," << clip.top << ": pixel " << x << "," << y
                          << " is " << std::hex << step.pixel(x, y) << " not " << full.pixel(x, y);
        }
      EXPECT_EQ(wrong, 0);
      EXPECT_GT(changed, 100) << "the selected elements drew nothing";
    }
  }
}

}  // namespace
}  // namespace plavesk
