#include "view/element_rendering.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <span>
#include <utility>
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

// How the kind routines draw: normal, flat (one colour, highlighted) or the
// clearance look. What the element alone does not say comes from here.
struct Look {
  TColour colour = 0;
  TColour holeColour = kWhite;
  bool clearance = false;
  // One flat colour: no through-pad hatch, the hole filled in the hole
  // colour, no centre line on autorouted tracks, no handles on cut-outs.
  bool highlight = false;
  bool selectionShown = true;
  // The mapping is mirrored left-right (photo view of side 2).
  bool mirrored = false;
  int32_t padGrow = 0;  // e of the pad figure
  int32_t smdGrow = 0;
};

bool isSelected(const TObjekt& e, const Look& look) {
  return look.selectionShown && e.selected;
}

bool ungroupedSelection(const TObjekt& e, const Look& look, TPoint offset) {
  return isSelected(e, look) && e.groupIds.empty() && offset.x == 0 && offset.y == 0;
}

TColour lookColour(bool selected, int layer, int activeLayer, const TColourScheme& colours) {
  if (selected)
    return onSameSide(layer, activeLayer) ? kSelectionColour : kOtherSideSelectionColour;
  return layerColour(colours, layer).value_or(kBlack);
}

bool drawsMirrored(const TRenderSettings& s) {
  return s.photoView && s.photo.mirrored();
}

// A circle's start and end angle. A mirrored mapping turns the other way
// round, so there the two change places and the arc keeps its extent.
std::pair<int32_t, int32_t> arcAngles(const TObjekt& e, const Look& look) {
  return look.mirrored ? std::pair{e.dim3, e.angle} : std::pair{e.angle, e.dim3};
}

// Where a legacy font text is anchored. Letters cannot be drawn mirrored:
// under a mirrored mapping the text starts at the other end of its box.
TPoint fontTextAnchor(const TObjekt& e, const Look& look) {
  if (!look.mirrored) return {e.x, e.y};
  if (e.angle == 90 || e.angle == 270) return {e.x, e.dim2};
  return {e.dim1, e.y};
}

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
  if (e.padLink && isCopperLayer(e.layer) && !isSelected(e, look) && !look.highlight &&
      !look.clearance && !s.photoView)
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
  } else if (look.highlight) {
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

void drawTrackNormal(const TObjekt& e, Canvas& c, const TRenderSettings& s, TPoint offset,
                     const Look& look) {
  if (e.points.size() < 2) return;
  const TColour colour = look.colour;
  setSolid(c, colour, e.dim3);
  const ShiftedPoints pts(e.points, offset);
  c.polyline(pts.points());
  if (ungroupedSelection(e, look, offset)) markHandles(c, e.points, e.dim3 / 2);
  if (e.autorouted && !s.photoView && c.mode() != RasterMode::kNotXor && !look.highlight) {
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

void drawNormal(const TObjekt& e, Canvas& c, const TRenderSettings& s, TPoint offset,
                const Look& look) {
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
      const TPoint at = fontTextAnchor(e, look);
      const TPoint anchor{at.x + offset.x, at.y + offset.y};
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
      if (ungroupedSelection(e, look, offset)) markHandles(c, e.points, e.dim3 / 2);
      break;
    }
    case kCircle: {
      const int32_t w = e.dim1 - e.dim2;
      const int32_t m = e.dim1 - roundToUnit(w / 2.0);
      const TPoint centre{e.x + offset.x, e.y + offset.y};
      const auto [start, end] = arcAngles(e, look);
      const TPoint a = arcPoint(e, start, e.dim1);
      const TPoint b = arcPoint(e, end, e.dim1);
      setSolid(c, col, w);
      if (e.filled)
        c.chord(circleBox(centre, m), cp(a, offset), cp(b, offset));
      else
        c.arc(circleBox(centre, m), cp(a, offset), cp(b, offset));
      if (ungroupedSelection(e, look, offset)) {
        const int32_t mid = e.dim1 - (e.dim1 - e.dim2) / 2;
        markHandles(c, {arcPoint(e, start, mid), arcPoint(e, end, mid)}, (e.dim1 - e.dim2) / 2);
      }
      break;
    }
    case kTrack:
      drawTrackNormal(e, c, s, offset, look);
      break;
    case kText:
      // Strokes keep the layer they were made on; the text's own layer,
      // selection and look decide their colour.
      for (const auto& stroke : e.strokes) drawTrackNormal(*stroke, c, s, offset, look);
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

// `cl` is the element's clearance, for a text's strokes the text's.
void drawClearanceLook(const TObjekt& e, int32_t cl, Canvas& c, const TRenderSettings& s,
                       TPoint offset, const Look& look) {
  const TColour col = look.colour;
  switch (e.kind) {
    case kLine:
      setSolid(c, col, e.dim3 + 2 * cl);
      c.line(cp({e.x, e.y}, offset), cp({e.dim1, e.dim2}, offset));
      break;
    case kPad: {
      Look pad = look;
      pad.holeColour = col;
      pad.padGrow = cl;
      padFigure(e, c, s, offset, pad);
      break;
    }
    case kFontText: {
      // The box itself, also under a mirrored mapping: only letters need
      // the other anchor there.
      TRect r = normalised({e.x, e.y, e.dim1, e.dim2});
      setSolid(c, col, 0);
      c.rectangle({r.left - cl + offset.x, r.top - cl + offset.y, r.right + cl + offset.x,
                   r.bottom + cl + offset.y});
      break;
    }
    case kArea: {
      if (e.points.size() < 2) break;
      setSolid(c, col, e.cutout ? e.dim3 : e.dim3 + 2 * cl);
      const bool marked = e.cutout && ungroupedSelection(e, look, offset);
      if (marked) c.setPen({kSelectionColour, c.pen().width, PenStyle::kSolid});
      const ShiftedPoints pts(e.points, offset);
      if (e.closed)
        c.polygon(pts.points());
      else
        c.polyline(pts.points());
      if (marked && !look.highlight) markHandles(c, e.points, e.dim3 / 2);
      break;
    }
    case kCircle: {
      const int32_t w = e.dim1 + 2 * cl - e.dim2;
      const int32_t m = e.dim1 + cl - roundToUnit(w / 2.0);
      const TPoint centre{e.x + offset.x, e.y + offset.y};
      const auto [start, end] = arcAngles(e, look);
      const TPoint a = arcPoint(e, start, e.dim1);
      const TPoint b = arcPoint(e, end, e.dim1);
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
      for (const auto& stroke : e.strokes) drawClearanceLook(*stroke, cl, c, s, offset, look);
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

bool showsSelected(const TObjekt& e, const TRenderSettings& settings) {
  return settings.selectionShown && e.selected;
}

TColour elementColour(const TObjekt& e, int activeLayer, const TColourScheme& colours) {
  return lookColour(e.selected != 0, e.layer, activeLayer, colours);
}

TColour padHoleColour(const TObjekt& pad, const TRenderSettings& s) {
  if (s.colourOverride) return *s.colourOverride;
  if (pad.padLink && !s.photoView)
    return layerColour(s.colours(), otherSideLayer(pad.layer)).value_or(kWhite);
  return kWhite;
}

void drawElement(const TObjekt& e, Canvas& canvas, int activeLayer, const TRenderSettings& settings,
                 TPoint offset) {
  Look look;
  look.colour = lookColour(showsSelected(e, settings), e.layer, activeLayer, settings.colours());
  look.holeColour = padHoleColour(e, settings);
  look.selectionShown = settings.selectionShown;
  look.mirrored = drawsMirrored(settings);
  drawNormal(e, canvas, settings, offset, look);
}

void drawClearance(const TObjekt& e, Canvas& canvas, const TRenderSettings& settings, TPoint offset,
                   bool highlighted) {
  Look look;
  look.colour = settings.colour(kColourBackground);
  if (highlighted) look.colour = kWhite;
  if (settings.photoView) look.colour = settings.photoBoardColour;
  if (settings.colourOverride) look.colour = *settings.colourOverride;
  look.clearance = true;
  look.highlight = highlighted;
  look.selectionShown = settings.selectionShown;
  look.mirrored = drawsMirrored(settings);
  drawClearanceLook(e, e.clearance, canvas, settings, offset, look);
}

void drawFlat(const TObjekt& e, Canvas& canvas, TColour colour, bool enlarge,
              const TRenderSettings& settings) {
  Look look;
  look.colour = look.holeColour = colour;
  look.highlight = true;
  look.selectionShown = false;
  look.mirrored = drawsMirrored(settings);
  if (enlarge) {
    look.padGrow = settings.padMaskEnlargement;
    look.smdGrow = settings.smdMaskEnlargement;
  }
  drawNormal(e, canvas, settings, {}, look);
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
    const bool partnerSelected = showsSelected(*partner, settings);
    if (notXor && partnerSelected && !(position(partner) < self)) continue;
    const bool magenta =
        settings.autorouteToolActive && showsSelected(e, settings) && partnerSelected;
    canvas.setPen(
        {magenta ? kSelectionColour : settings.colour(kColourConnections), 0, PenStyle::kSolid});
    const TPoint to = partnerSelected ? TPoint{partner->x + offset.x, partner->y + offset.y}
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
