#include "view/element_rendering.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <span>
#include <vector>

#include "view/layer_visibility.h"
#include "view/stroke_font.h"
#include "view/units.h"

namespace plavesk {

namespace {

CanvasPoint cp(TPoint p, TPoint offset = {}) {
  return {p.x + offset.x, p.y + offset.y};
}

// An element's points for the canvas, moved by an offset. Tracks and text
// strokes have a handful of points: those stay on the stack, so that a paint
// allocates nothing per element.
class ShiftedPoints {
 public:
  ShiftedPoints(const std::vector<TPoint>& points, TPoint offset) : size_(points.size()) {
    CanvasPoint* out = local_.data();
    if (size_ > local_.size()) {
      heap_.resize(size_);
      out = heap_.data();
    }
    for (size_t i = 0; i < size_; ++i) out[i] = cp(points[i], offset);
  }
  std::span<const CanvasPoint> points() const {
    return {size_ > local_.size() ? heap_.data() : local_.data(), size_};
  }

 private:
  std::array<CanvasPoint, 16> local_;
  std::vector<CanvasPoint> heap_;
  size_t size_;
};

void setSolid(Canvas& c, TColour colour, int32_t penWidth) {
  c.setPen({colour, penWidth, PenStyle::kSolid});
  c.setBrush({colour, true, nullptr});
}

int32_t half(int32_t v) {
  return roundToUnit(v / 2.0);
}

CanvasRect circleBox(TPoint centre, int32_t r) {
  return {centre.x - r, centre.y + r, centre.x + r, centre.y - r};
}

// Handles: white rim, blue disc, at least three pixels in radius.
void markHandles(Canvas& c, const std::vector<TPoint>& points, int32_t t) {
  const double scale = c.mapping().pixelScale();
  if (scale > 0 && t * scale < 3) t = roundToUnit(3 / scale);
  c.setPen({kWhite, 0, PenStyle::kSolid});
  c.setBrush({kHandleColour, true, nullptr});
  for (const TPoint& p : points) c.ellipse(circleBox(p, t));
}

bool ungroupedSelection(const TObjekt& e, TPoint offset) {
  return e.selected && e.groupIds.empty() && offset.x == 0 && offset.y == 0;
}

// How the kind routines draw: normal, flat (one colour, highlighted) or the
// clearance look.
struct Look {
  TColour colour = 0;
  TColour holeColour = kWhite;
  bool clearance = false;
  int32_t padGrow = 0;  // e of the pad figure
  int32_t smdGrow = 0;
};

void octagon(Canvas& c, TPoint p, int32_t hw, int32_t hh, int32_t q) {
  const CanvasPoint v[8] = {{p.x - hw, p.y + hh - q}, {p.x - hw + q, p.y + hh},
                            {p.x + hw - q, p.y + hh}, {p.x + hw, p.y + hh - q},
                            {p.x + hw, p.y - hh + q}, {p.x + hw - q, p.y - hh},
                            {p.x - hw + q, p.y - hh}, {p.x - hw, p.y - hh + q}};
  c.polygon(v);
}

void padFigure(const TObjekt& e, Canvas& c, const TRenderSettings& s, TPoint offset,
               const Look& look) {
  const TPoint p{e.x + offset.x, e.y + offset.y};
  const bool notXor = c.mode() == RasterMode::kNotXor;
  setSolid(c, look.colour, 0);
  if (e.dim2 == e.dim1 && !(look.clearance && e.clearance > 0)) {
    // A bare hole: the hole and a cross.
    setSolid(c, look.holeColour, 0);
    c.ellipse(circleBox(p, e.dim2));
    c.setPen({look.colour, 0, PenStyle::kSolid});
    const int32_t h = half(e.dim1);
    c.line({p.x - h, p.y + h}, {p.x + h, p.y - h});
    c.line({p.x + h, p.y + h}, {p.x - h, p.y - h});
    return;
  }
  const int32_t r = e.dim1 + look.padGrow;
  const int32_t sw = 2 * e.dim1 + look.padGrow;
  const int32_t q = roundToUnit(0.585 * r);
  const int32_t corner = roundToUnit(1.5 * r);
  if (e.padLink && isCopperLayer(e.layer) && !e.selected && !e.highlight && !look.clearance &&
      !s.photoView)
    c.setBrush({look.colour, true, &canvasPattern(s.tiles().throughPad)});
  if (notXor) c.setPen({look.colour, 0, PenStyle::kNone});
  switch (e.padShape) {
    case kPadRound:
      c.ellipse(circleBox(p, r));
      break;
    case kPadOctagon:
      octagon(c, p, r, r, q);
      break;
    case kPadSquare:
      c.rectangle({p.x - r, p.y + r, p.x + r, p.y - r});
      break;
    case kPadOblongH:
      c.roundRect({p.x - sw, p.y + r, p.x + sw, p.y - r}, corner, corner);
      break;
    case kPadOctagonH:
      octagon(c, p, sw, r, q);
      break;
    case kPadRectH:
      c.rectangle({p.x - sw, p.y + r, p.x + sw, p.y - r});
      break;
    case kPadOblongV:
      c.roundRect({p.x - r, p.y + sw, p.x + r, p.y - sw}, corner, corner);
      break;
    case kPadOctagonV:
      octagon(c, p, r, sw, q);
      break;
    case kPadRectV:
      c.rectangle({p.x - r, p.y + sw, p.x + r, p.y - sw});
      break;
    default:
      break;
  }
  if (notXor) {
    setSolid(c, kBlack, 0);
    c.ellipse(circleBox(p, e.dim2));
  } else if (e.highlight) {
    setSolid(c, look.holeColour, 0);
    c.ellipse(circleBox(p, e.dim2));
  }
}

// A legacy font text on a canvas without fonts: the stroke font at the
// height of the letters, turned about the anchor.
void fontTextByStrokes(const TObjekt& e, Canvas& c, TPoint anchor, TColour colour) {
  const double cell = std::abs(e.dim3);
  if (cell <= 0 || e.text.empty()) return;
  // Capitals are about 0.72 of the character height; the stroke font's are
  // 0.889 of its nominal height.
  const double heightMm = 0.72 * cell / 0.889 / 100;
  TObjektList strokes;
  generateStrokes({anchor.x, anchor.y - roundToUnit(0.8 * cell)}, e.text, heightMm,
                  kNormalThickness, kNormalStyle, e.layer, 0, strokes);
  const double a = e.angle * 3.14159265358979 / 180;
  const double ca = std::cos(a), sa = std::sin(a);
  for (const auto& st : strokes) {
    std::vector<CanvasPoint> pts;
    for (const TPoint& p : st->points) {
      const double dx = p.x - anchor.x, dy = p.y - anchor.y;
      pts.push_back(
          {anchor.x + roundToUnit(dx * ca - dy * sa), anchor.y + roundToUnit(dx * sa + dy * ca)});
    }
    c.setPen({colour, st->dim3, PenStyle::kSolid});
    c.polyline(pts);
  }
}

void drawTrackNormal(TObjekt& e, Canvas& c, const TRenderSettings& s, TPoint offset,
                     TColour colour) {
  if (e.points.size() < 2) return;
  setSolid(c, colour, e.dim3);
  const ShiftedPoints pts(e.points, offset);
  c.polyline(pts.points());
  if (ungroupedSelection(e, offset)) markHandles(c, e.points, e.dim3 / 2);
  if (e.autorouted && !s.photoView && c.mode() != RasterMode::kNotXor && !e.highlight) {
    const int32_t p = int32_t(e.dim3 * c.mapping().pixelScale() + 1e-9);
    if (p >= 3) {
      const bool dark = redOf(colour) + greenOf(colour) + blueOf(colour) < 383;
      auto adjust = [dark](int v) { return uint8_t(std::clamp(dark ? v + 150 : v - 150, 0, 255)); };
      const TColour centre =
          rgb(adjust(redOf(colour)), adjust(greenOf(colour)), adjust(blueOf(colour)));
      c.setPen({centre, roundToUnit(double(e.dim3) * (p / 3) / p), PenStyle::kSolid});
      c.polyline(pts.points());
    }
  }
}

void drawNormal(TObjekt& e, Canvas& c, const TRenderSettings& s, TPoint offset, const Look& look) {
  const TColour col = look.colour;
  switch (e.kind) {
    case kLine:
      setSolid(c, col, e.dim3);
      c.line(cp({e.x, e.y}, offset), cp({e.dim1, e.dim2}, offset));
      break;
    case kPad:
      padFigure(e, c, s, offset, look);
      break;
    case kFontText: {
      setSolid(c, col, 0);
      const TPoint anchor{e.x + offset.x, e.y + offset.y};
      CanvasFont font{"ARIAL", e.dim3, 700, double(e.angle)};
      if (!c.text(cp(anchor), e.text, font)) fontTextByStrokes(e, c, anchor, col);
      break;
    }
    case kArea: {
      if (e.points.size() < 2) break;
      setSolid(c, col, e.dim3);
      if (e.cutout && c.mode() != RasterMode::kNotXor)
        c.setBrush({col, true, &canvasPattern(cutoutTileForLayer(s.tiles(), e.layer))});
      const ShiftedPoints pts(e.points, offset);
      if (e.closed)
        c.polygon(pts.points());
      else
        c.polyline(pts.points());
      c.setBrush({col, true, nullptr});
      if (ungroupedSelection(e, offset)) markHandles(c, e.points, e.dim3 / 2);
      break;
    }
    case kCircle: {
      const int32_t w = e.dim1 - e.dim2;
      const int32_t m = e.dim1 - roundToUnit(w / 2.0);
      const TPoint centre{e.x + offset.x, e.y + offset.y};
      const TPoint a = arcPoint(e, e.angle, e.dim1);
      const TPoint b = arcPoint(e, e.dim3, e.dim1);
      setSolid(c, col, w);
      if (e.filled)
        c.chord(circleBox(centre, m), cp(a, offset), cp(b, offset));
      else
        c.arc(circleBox(centre, m), cp(a, offset), cp(b, offset));
      if (ungroupedSelection(e, offset)) {
        const int32_t mid = e.dim1 - (e.dim1 - e.dim2) / 2;
        markHandles(c, {arcPoint(e, e.angle, mid), arcPoint(e, e.dim3, mid)},
                    (e.dim1 - e.dim2) / 2);
      }
      break;
    }
    case kTrack:
      drawTrackNormal(e, c, s, offset, col);
      break;
    case kText:
      for (auto& stroke : e.strokes) {
        // Strokes keep the layer they were made on; the text's own layer and
        // selection decide their look. Written only when it differs, so that
        // threads painting parts of a view side by side write nothing.
        const uint8_t saved = stroke->highlight;
        if (saved != e.highlight) stroke->highlight = e.highlight;
        drawTrackNormal(*stroke, c, s, offset, col);
        if (saved != e.highlight) stroke->highlight = saved;
      }
      break;
    case kSmdPad: {
      const int32_t hw = half(e.dim1) + look.smdGrow, hh = half(e.dim2) + look.smdGrow;
      setSolid(c, col, 0);
      c.rectangle(
          {e.x + offset.x - hw, e.y + offset.y + hh, e.x + offset.x + hw, e.y + offset.y - hh});
      break;
    }
    default:
      break;
  }
}

void drawClearanceLook(TObjekt& e, Canvas& c, const TRenderSettings& s, TPoint offset,
                       TColour col) {
  const int32_t cl = e.clearance;
  switch (e.kind) {
    case kLine:
      setSolid(c, col, e.dim3 + 2 * cl);
      c.line(cp({e.x, e.y}, offset), cp({e.dim1, e.dim2}, offset));
      break;
    case kPad: {
      Look look{col, col, true, cl, 0};
      padFigure(e, c, s, offset, look);
      break;
    }
    case kFontText: {
      TRect r = normalised({e.x, e.y, e.dim1, e.dim2});
      setSolid(c, col, 0);
      c.rectangle({r.left - cl + offset.x, r.top - cl + offset.y, r.right + cl + offset.x,
                   r.bottom + cl + offset.y});
      break;
    }
    case kArea: {
      if (e.points.size() < 2) break;
      setSolid(c, col, e.cutout ? e.dim3 : e.dim3 + 2 * cl);
      const bool marked = e.cutout && ungroupedSelection(e, offset);
      if (marked) c.setPen({kSelectionColour, c.pen().width, PenStyle::kSolid});
      const ShiftedPoints pts(e.points, offset);
      if (e.closed)
        c.polygon(pts.points());
      else
        c.polyline(pts.points());
      if (marked && !e.highlight) markHandles(c, e.points, e.dim3 / 2);
      break;
    }
    case kCircle: {
      const int32_t w = e.dim1 + 2 * cl - e.dim2;
      const int32_t m = e.dim1 + cl - roundToUnit(w / 2.0);
      const TPoint centre{e.x + offset.x, e.y + offset.y};
      const TPoint a = arcPoint(e, e.angle, e.dim1);
      const TPoint b = arcPoint(e, e.dim3, e.dim1);
      setSolid(c, col, w);
      if (e.filled) {
        c.setBrush({kWhite, true, nullptr});
        c.chord(circleBox(centre, m), cp(a, offset), cp(b, offset));
      } else {
        c.arc(circleBox(centre, m), cp(a, offset), cp(b, offset));
      }
      break;
    }
    case kTrack:
      if (e.points.size() < 2) break;
      setSolid(c, col, e.dim3 + 2 * cl);
      c.polyline(ShiftedPoints(e.points, offset).points());
      break;
    case kText:
      for (auto& stroke : e.strokes) {
        if (stroke->clearance != cl) stroke->clearance = cl;  // kept in step with the text
        drawClearanceLook(*stroke, c, s, offset, col);
      }
      break;
    case kSmdPad: {
      const int32_t hw = half(e.dim1) + cl, hh = half(e.dim2) + cl;
      setSolid(c, col, 0);
      c.rectangle(
          {e.x + offset.x - hw, e.y + offset.y + hh, e.x + offset.x + hw, e.y + offset.y - hh});
      break;
    }
    default:
      break;
  }
}

}  // namespace

TColour elementColour(const TObjekt& e, int activeLayer, const TColourScheme& colours) {
  if (e.selected)
    return onSameSide(e.layer, activeLayer) ? kSelectionColour : kOtherSideSelectionColour;
  return layerColour(colours, e.layer).value_or(kBlack);
}

TColour padHoleColour(const TObjekt& pad, const TRenderSettings& s) {
  if (s.colourOverride) return *s.colourOverride;
  if (pad.padLink && !s.photoView)
    return layerColour(s.colours(), otherSideLayer(pad.layer)).value_or(kWhite);
  return kWhite;
}

void drawElement(TObjekt& e, Canvas& canvas, int activeLayer, const TRenderSettings& settings,
                 TPoint offset) {
  Look look;
  look.colour = elementColour(e, activeLayer, settings.colours());
  look.holeColour = padHoleColour(e, settings);
  drawNormal(e, canvas, settings, offset, look);
  if (settings.drawn) {
    settings.drawn->push_back(&e);
    return;
  }
  e.drawLayer = uint8_t(activeLayer);
  e.highlight = 0;
}

void drawClearance(TObjekt& e, Canvas& canvas, int activeLayer, const TRenderSettings& settings,
                   TPoint offset) {
  TColour colour = settings.colour(kColourBackground);
  if (e.highlight) colour = kWhite;
  if (settings.photoView) colour = settings.photoBoardColour;
  if (settings.colourOverride) colour = *settings.colourOverride;
  drawClearanceLook(e, canvas, settings, offset, colour);
  if (settings.drawn)
    settings.drawn->push_back(&e);
  else
    e.drawLayer = uint8_t(activeLayer);
}

void drawFlat(TObjekt& e, Canvas& canvas, TColour colour, bool enlarge,
              const TRenderSettings& settings) {
  const uint8_t selected = e.selected;
  e.selected = 0;
  e.highlight = 1;
  Look look{colour, colour, false, 0, 0};
  if (enlarge) {
    look.padGrow = settings.padMaskEnlargement;
    look.smdGrow = settings.smdMaskEnlargement;
  }
  drawNormal(e, canvas, settings, {}, look);
  e.highlight = 0;
  e.selected = selected;
}

void drawConnections(const TObjekt& e, Canvas& canvas, TPoint offset,
                     const TRenderSettings& settings, const TObjektList* list) {
  if (settings.photoView || !e.hasConnections() || e.connections.empty()) return;
  const bool notXor = canvas.mode() == RasterMode::kNotXor;
  auto position = [list](const TObjekt* x) -> size_t {
    if (!list) return 0;
    for (size_t i = 0; i < list->size(); ++i)
      if ((*list)[i].get() == x) return i;
    return list->size();
  };
  const size_t self = notXor ? position(&e) : 0;
  for (const TObjekt* partner : e.connections) {
    if (!partner) continue;
    if (notXor && partner->selected && !(position(partner) < self)) continue;
    const bool magenta = settings.autorouteToolActive && e.selected && partner->selected;
    canvas.setPen(
        {magenta ? kSelectionColour : settings.colour(kColourConnections), 0, PenStyle::kSolid});
    const TPoint to = partner->selected ? TPoint{partner->x + offset.x, partner->y + offset.y}
                                        : TPoint{partner->x, partner->y};
    canvas.line({e.x + offset.x, e.y + offset.y}, cp(to));
  }
}

TRect worldClipRect(const Canvas& canvas) {
  const CanvasRect d = canvas.clipBox();
  const CanvasMapping& m = canvas.mapping();
  const double x1 = m.worldX(d.left), x2 = m.worldX(d.right);
  const double y1 = m.worldY(d.top), y2 = m.worldY(d.bottom);
  return TRect{int32_t(std::floor(std::min(x1, x2))) - 1, int32_t(std::floor(std::min(y1, y2))) - 1,
               int32_t(std::ceil(std::max(x1, x2))) + 1, int32_t(std::ceil(std::max(y1, y2))) + 1};
}

TPoint CanvasDeviceMapping::toDevice(TPoint world) const {
  const CanvasPoint d = canvas_.mapping().toDevice({world.x, world.y});
  return {d.x, d.y};
}

}  // namespace plavesk
