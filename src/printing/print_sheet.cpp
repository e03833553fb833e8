#include "printing/print_sheet.h"

#include <algorithm>
#include <cstdio>

#include "view/element_rendering.h"
#include "view/geometry.h"
#include "view/units.h"

namespace plavesk {
namespace {

// Registration crosses reach 10 mm to each side of a board corner.
constexpr int32_t kTargetArm = 1000;
// Drill-plan cross: the diagonals of the square +- 30 units.
constexpr int32_t kDrillCross = 30;

struct SheetPass {
  Canvas& canvas;
  const TObjektList& list;
  const TBoardRecord& board;
  const TPrintOptions& o;
  const TRenderSettings& settings;
  TRect clip;
  // The board with everything around it lies inside the clip: no element
  // needs its bounds tested (the bounds of arcs are dear).
  bool allVisible = false;

  bool printed(int item) const { return o.items[size_t(item)]; }
  TColour colour(int item) const { return o.colours[size_t(item)]; }

  bool visible(const TObjekt& e, int32_t grow) const {
    if (allVisible) return true;
    // An arc stays inside its circle: a cheaper box than its outline's.
    const TRect b = e.kind == kCircle
                        ? TRect{e.x - e.dim1 - e.clearance, e.y - e.dim1 - e.clearance,
                                e.x + e.dim1 + e.clearance, e.y + e.dim1 + e.clearance}
                        : elementBounds(e);
    return b.left - grow <= clip.right && b.right + grow >= clip.left &&
           b.top - grow <= clip.bottom && b.bottom + grow >= clip.top;
  }

  void solid(TColour c) {
    canvas.setPen({c, 0, PenStyle::kSolid});
    canvas.setBrush({c, true, nullptr});
  }

  void thinLines(TColour c) {
    canvas.setPen({c, 0, PenStyle::kSolid});
    canvas.setBrush({c, false, nullptr});
  }

  // A mirrored printout turns arcs the other way round and would start a
  // legacy font text at the wrong end of its box: such elements are drawn
  // from an adjusted copy.
  template <class Draw>
  void withMirrorAdjustment(const TObjekt& e, Draw draw) {
    if (!o.mirror || (e.kind != kCircle && e.kind != kFontText)) {
      draw(e);
      return;
    }
    TObjektPtr copy = copyElement(e);
    if (e.kind == kCircle) {
      std::swap(copy->angle, copy->dim3);
    } else if (e.angle == 90 || e.angle == 270) {
      copy->y = e.dim2;
    } else {
      copy->x = e.dim1;
    }
    draw(*copy);
  }

  void background() {
    const bool plane = (printed(kPrintCopper1) && board.groundPlane1) ||
                       (printed(kPrintCopper2) && board.groundPlane2);
    if (plane == o.negative) return;
    solid(negativeColour(o));
    canvas.rectangle({0, 0, board.width, -board.height});
  }

  void templateOf(int side, const CanvasImage* image, TColour layerColour) {
    if (!image) return;
    const bool one = side == 1;
    TRect r;
    if (!templateRect(image->width, image->height, one ? board.template1Dpi : board.template2Dpi,
                      one ? board.template1OffsetX : board.template2OffsetX,
                      one ? board.template1OffsetY : board.template2OffsetY, r))
      return;
    if (!image->twoColour) {
      canvas.image({r.left, r.top, r.right, r.bottom}, *image);
      return;
    }
    CanvasImage twoColour = *image;
    twoColour.ink = o.negative ? kWhite : layerColour;
    twoColour.paper = o.negative ? layerColour : kWhite;
    canvas.image({r.left, r.top, r.right, r.bottom}, twoColour);
  }

  void targets() {
    thinLines(kBlack);
    const CanvasPoint corners[] = {
        {0, 0}, {0, -board.height}, {board.width, 0}, {board.width, -board.height}};
    for (const CanvasPoint& p : corners) {
      canvas.line({p.x, p.y - kTargetArm}, {p.x, p.y + kTargetArm});
      canvas.line({p.x - kTargetArm, p.y}, {p.x + kTargetArm, p.y});
    }
  }

  void outline() {
    thinLines(kBlack);
    canvas.rectangle({0, 0, board.width, -board.height});
  }

  void layerPass(int layer, int item) {
    TColour c = colour(item);
    if (o.negative && isCopperLayer(layer)) c = kWhite;
    const bool plane =
        (layer == kCopper1 && board.groundPlane1) || (layer == kCopper2 && board.groundPlane2);
    if (plane) {
      for (const TObjektPtr& e : list)
        if (e->layer == layer && visible(*e, e->clearance))
          withMirrorAdjustment(
              *e, [&](const TObjekt& x) { drawClearance(x, canvas, settings, {}, true); });
    }
    for (const TObjektPtr& e : list)
      if (e->layer == layer && e->kind != kPad && !(e->kind == kArea && e->cutout) &&
          visible(*e, 0))
        withMirrorAdjustment(*e,
                             [&](const TObjekt& x) { drawFlat(x, canvas, c, false, settings); });
    for (const TObjektPtr& e : list)
      if (e->layer == layer && e->kind == kPad && visible(*e, 0))
        drawFlat(*e, canvas, c, false, settings);
  }

  void maskPass(int layer, int item) {
    const TColour c = o.negative ? kWhite : colour(item);
    const int32_t grow = std::max(o.padMaskEnlargement, o.smdMaskEnlargement);
    for (const TObjektPtr& e : list) {
      if (e->layer != layer) continue;
      if ((e->kind == kPad && o.maskPads) || (e->kind == kSmdPad && o.maskSmdPads))
        if (visible(*e, grow)) drawFlat(*e, canvas, c, true, settings);
    }
  }

  void drillPlan(int layer, int item) {
    const TColour c = colour(item);
    thinLines(c);
    CanvasFont font;
    font.face = "ARIAL";
    font.height = -o.drillTextHeight;
    font.weight = 400;
    const int32_t textTop = o.drillTextHeight + 20;
    // Most pads share a few drills: the label is made again only when the
    // drill changes.
    int32_t labelRadius = -1;
    std::string label;
    for (const TObjektPtr& p : list) {
      const TObjekt& e = *p;
      if (e.layer != layer || e.kind != kPad || e.dim2 <= 0) continue;
      if (!visible(e, 4 * o.drillTextHeight + 100)) continue;
      canvas.line({e.x - kDrillCross, e.y + kDrillCross}, {e.x + kDrillCross, e.y - kDrillCross});
      canvas.line({e.x - kDrillCross, e.y - kDrillCross}, {e.x + kDrillCross, e.y + kDrillCross});
      if (e.dim2 != labelRadius) {
        labelRadius = e.dim2;
        label = drillPlanLabel(e.dim2);
      }
      // Centred by the advance widths of the face's digits (0.556 of the
      // height) and point (0.278). Letters are never mirrored, so under a
      // mirrored mapping the label starts from the other side.
      double width = 0;
      for (char ch : label) width += (ch == '.' ? 0.278 : 0.556) * o.drillTextHeight;
      const int32_t half = roundToUnit(width / 2);
      canvas.text({o.mirror ? e.x + half : e.x - half, e.y + textTop}, label, font);
    }
  }
};

}  // namespace

std::string drillPlanLabel(int32_t drillRadius) {
  char buffer[40];
  std::snprintf(buffer, sizeof buffer, "%.8G", 2.0 * drillRadius / 100.0);
  std::string text = buffer;
  if (text.size() > 10) text.resize(10);
  return text;
}

void drawPrintSheet(Canvas& canvas, const TPrintSource& source, const TPrintOptions& options,
                    const TSheetDevice& device, const TRenderSettings& base) {
  if (!source.elements || !source.board) return;
  const TBoardRecord& board = *source.board;
  TRenderSettings settings = base;
  settings.photoView = false;
  settings.selectionShown = false;
  settings.autorouteToolActive = false;
  settings.padMaskEnlargement = options.padMaskEnlargement;
  settings.smdMaskEnlargement = options.smdMaskEnlargement;
  if (options.negative)
    settings.colourOverride = negativeColour(options);
  else
    settings.colourOverride.reset();

  const auto& o = options;
  for (int j = 0; j < o.tilesY; ++j)
    for (int i = 0; i < o.tilesX; ++i) {
      canvas.setMapping(tileMapping(o, board.width, board.height, i, j, device));
      SheetPass pass{canvas, *source.elements, board, o, settings, worldClipRect(canvas)};
      const int32_t margin = o.targets ? kTargetArm : 0;
      if (pass.clip.right < -margin || pass.clip.left > board.width + margin ||
          pass.clip.bottom < -board.height - margin || pass.clip.top > margin)
        continue;
      // Elements may reach beyond the board; a generous margin keeps the
      // shortcut for the usual case of a board well inside the clip.
      const int32_t reach = std::max(board.width, board.height) / 4 + 1000;
      pass.allVisible = pass.clip.left < -reach && pass.clip.right > board.width + reach &&
                        pass.clip.top < -board.height - reach && pass.clip.bottom > reach;
      pass.background();
      if (o.useTemplate) {
        if (o.items[kPrintCopper1])
          pass.templateOf(1, source.templates.side1, o.colours[kPrintCopper1]);
        if (o.items[kPrintCopper2])
          pass.templateOf(2, source.templates.side2, o.colours[kPrintCopper2]);
      }
      if (o.targets) pass.targets();
      if (o.outline) pass.outline();
      if (o.items[kPrintCopper1]) pass.layerPass(kCopper1, kPrintCopper1);
      if (o.items[kPrintMask1]) pass.maskPass(kCopper1, kPrintMask1);
      if (o.items[kPrintCopper2]) pass.layerPass(kCopper2, kPrintCopper2);
      if (o.items[kPrintMask2]) pass.maskPass(kCopper2, kPrintMask2);
      if (o.items[kPrintSilk1]) pass.layerPass(kSilk1, kPrintSilk1);
      if (o.items[kPrintSilk2]) pass.layerPass(kSilk2, kPrintSilk2);
      if (o.items[kPrintDrill1]) pass.drillPlan(kCopper1, kPrintDrill1);
      if (o.items[kPrintDrill2]) pass.drillPlan(kCopper2, kPrintDrill2);
    }
}

TSheetBitmap sheetBitmap(const TPrintOptions& options, int32_t boardWidth, int32_t boardHeight,
                         double dpi) {
  TSheetBitmap b;
  b.width = roundToUnit(boardWidth / 100.0 / 25.4 * dpi);
  b.height = roundToUnit(boardHeight / 100.0 / 25.4 * dpi);
  b.options = options;
  b.options.tilesX = b.options.tilesY = 1;
  b.options.tileGap = 0;
  b.options.offsetX = 0;
  b.options.offsetY = 0;
  b.options.freeScale = false;
  b.device.corrected = false;
  b.device.originX = b.device.originY = 0;
  // The board fills the bitmap exactly.
  b.device.pixelsPerMmX = boardWidth > 0 ? b.width / (boardWidth / 100.0) : 1;
  b.device.pixelsPerMmY = boardHeight > 0 ? b.height / (boardHeight / 100.0) : 1;
  return b;
}

}  // namespace plavesk
