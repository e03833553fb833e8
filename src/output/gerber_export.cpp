#include "output/gerber_export.h"

#include <cmath>

#include "output/gerber_texts.h"
#include "view/geometry.h"

namespace plavesk {

namespace {

constexpr int64_t kOutlinePen = 20;  // 0.2 mm
constexpr int64_t kMarkPen = 30;     // 0.3 mm centring mark

int64_t roundHalfEven(double v) {
  return static_cast<int64_t>(std::nearbyint(v));
}
int64_t halfOf(int32_t size) {
  return roundHalfEven(size / 2.0);
}

class Plotter {
 public:
  explicit Plotter(TGerberPlot& plot) : p_(plot), f_(plot.file) {}

  void moveTo(int64_t x, int64_t y) { f_.MoveTo(x, y + p_.height); }
  void lineTo(int64_t x, int64_t y) { f_.LineTo(x, y + p_.height); }
  void moveTo(TPoint q) { moveTo(q.x, q.y); }
  void lineTo(TPoint q) { lineTo(q.x, q.y); }
  int64_t fileY(int64_t y) const { return y + p_.height; }

  void boardRectangle() {
    moveTo(0, -p_.height);
    lineTo(p_.width, -p_.height);
    lineTo(p_.width, 0);
    lineTo(0, 0);
  }
  void outline() {
    f_.SetPenwidth(kOutlinePen);
    boardRectangle();
    lineTo(0, -p_.height);
  }
  void filledBoard() {
    f_.BeginRegion();
    boardRectangle();
    f_.EndRegion();
  }

  void polyline(const std::vector<TPoint>& points, int64_t pen) {
    if (points.empty()) return;
    f_.SetPenwidth(pen);
    moveTo(points.front());
    for (size_t i = 1; i < points.size(); ++i) lineTo(points[i]);
  }

  void area(const TObjekt& e, int64_t c) {
    if (e.points.size() < 2) return;
    f_.SetPenwidth(e.dim3 + 2 * c);
    // A region of two points has no surface; only its outline is drawn.
    if (e.points.size() > 2) {
      f_.BeginRegion();
      moveTo(e.points.front());
      for (size_t i = 1; i < e.points.size(); ++i) lineTo(e.points[i]);
      f_.EndRegion();
    }
    moveTo(e.points.front());
    for (size_t i = 1; i < e.points.size(); ++i) lineTo(e.points[i]);
    lineTo(e.points.front());
  }

  void circle(const TObjekt& e, int64_t c) {
    const int64_t pen = int64_t(e.dim1) - e.dim2 + 2 * c;
    const int64_t radius = e.dim1 - roundHalfEven(pen / 2.0) + c;
    f_.SetPenwidth(pen);
    const TPoint start = arcPoint(e, e.angle, int32_t(radius));
    const TPoint end = arcPoint(e, e.dim3, int32_t(radius));
    f_.Arc(e.x, fileY(e.y), start.x, fileY(start.y), end.x, fileY(end.y));
  }

  void smdPad(const TObjekt& e, int64_t c) {
    moveTo(e.x, e.y);
    f_.FlashRect(halfOf(e.dim1) + c, halfOf(e.dim2) + c);
  }

  // The pad figure with half sizes grown by c: r around, 2r + c along the
  // long side of the oblong shapes.
  void pad(const TObjekt& e, int64_t c) {
    if (e.padShape < kPadRound || e.padShape > kPadRectV) return;
    const int64_t r = int64_t(e.dim1) + c;
    const int64_t r2 = 2 * int64_t(e.dim1) + c;
    const int64_t cx = e.x, cy = fileY(e.y);
    moveTo(e.x, e.y);
    switch (e.padShape) {
      case kPadRound:
        f_.FlashCircle(e.dim2, r);
        break;
      case kPadOctagon:
        f_.FillOctagon(cx, cy, r, r);
        break;
      case kPadSquare:
        f_.FlashRect(r, r);
        break;
      case kPadOblongH:
        f_.FillOblong(cx, cy, r2, r);
        break;
      case kPadOctagonH:
        f_.FillOctagon(cx, cy, r2, r);
        break;
      case kPadRectH:
        f_.FlashRect(r2, r);
        break;
      case kPadOblongV:
        f_.FillOblong(cx, cy, r, r2);
        break;
      case kPadOctagonV:
        f_.FillOctagon(cx, cy, r, r2);
        break;
      case kPadRectV:
        f_.FlashRect(r, r2);
        break;
    }
  }

  // Solder-mask opening over a pad: radius r + o, long side 2r + o.
  void maskPad(const TObjekt& e, int64_t o) {
    if (e.padShape < kPadRound || e.padShape > kPadRectV) return;
    const int64_t r = e.dim1;
    const int64_t cx = e.x, cy = fileY(e.y);
    moveTo(e.x, e.y);
    switch (e.padShape) {
      case kPadRound:
        f_.FlashCircle(0, r + o);
        break;
      case kPadOctagon:
        f_.FillOctagon(cx, cy, r + o, r + o);
        break;
      case kPadSquare:
        f_.FlashRect(r + o, r + o);
        break;
      case kPadOblongH:
        f_.FillOblong(cx, cy, 2 * r + o, r + o);
        break;
      case kPadOctagonH:
        f_.FillOctagon(cx, cy, 2 * r + o, r + o);
        break;
      case kPadRectH:
        f_.FlashRect(2 * r + o, r + o);
        break;
      case kPadOblongV:
        f_.FillOblong(cx, cy, r + o, 2 * r + o);
        break;
      case kPadOctagonV:
        f_.FillOctagon(cx, cy, r + o, 2 * r + o);
        break;
      case kPadRectV:
        f_.FlashRect(r + o, 2 * r + o);
        break;
    }
  }

  TGerberPlot& p_;
  TGerberFile& f_;
};

}  // namespace

bool GerberSichtbar(const TObjekt& e, TGerberOutput output) {
  switch (e.layer) {
    case kCopper1:
      return output == TGerberOutput::K1 || output == TGerberOutput::SmdOnly1;
    case kSilk1:
      return output == TGerberOutput::B1;
    case kCopper2:
      return output == TGerberOutput::K2 || output == TGerberOutput::SmdOnly2;
    case kSilk2:
      return output == TGerberOutput::B2;
    default:
      return false;
  }
}

void PlotteLayout(TGerberPlot& plot, bool clearanceMode) {
  Plotter out(plot);
  const TGerberOutput output = plot.options.output;
  const bool smdOnly = isSmdOnlyOutput(output);
  for (const auto& ptr : plot.elements) {
    const TObjekt& e = *ptr;
    if (!GerberSichtbar(e, output)) continue;
    if (smdOnly && e.kind != kSmdPad) continue;
    const int64_t c = clearanceMode ? e.clearance : 0;
    switch (e.kind) {
      case kLine:
        out.polyline({TPoint{e.x, e.y}, TPoint{e.dim1, e.dim2}}, e.dim3 + 2 * c);
        break;
      case kTrack:
        out.polyline(e.points, e.dim3 + 2 * c);
        break;
      case kText:
        for (const auto& stroke : e.strokes) out.polyline(stroke->points, stroke->dim3 + 2 * c);
        break;
      case kArea:
        if (e.cutout) {
          // A cut-out keeps the plane away over its whole surface and is
          // never copper itself.
          if (clearanceMode) out.area(e, 0);
        } else {
          out.area(e, c);
        }
        break;
      case kCircle:
        out.circle(e, c);
        break;
      case kSmdPad:
        out.smdPad(e, c);
        break;
      case kPad:
        // A bare hole has no copper ring.
        if (!clearanceMode && e.dim1 == e.dim2) break;
        out.pad(e, c);
        break;
      default:
        break;  // legacy font texts have no Gerber form
    }
  }
}

void GerberFreistanzen(TGerberPlot& plot) {
  Plotter out(plot);
  plot.file.BeginHoleLayer();
  for (const auto& ptr : plot.elements) {
    const TObjekt& e = *ptr;
    if (e.kind != kPad || !GerberSichtbar(e, plot.options.output)) continue;
    // Only holes that will be drilled are punched or marked.
    if (e.dim2 <= 0) continue;
    out.moveTo(e.x, e.y);
    plot.file.SetPenwidth(plot.options.mark ? kMarkPen : 2 * int64_t(e.dim2));
    plot.file.Flash();
  }
}

void GerberLoetstopMaske(TGerberPlot& plot) {
  Plotter out(plot);
  const TGerberOptions& o = plot.options;
  const int side = gerberOutputLayer(o.output);
  if (o.invert) {
    out.filledBoard();
    plot.file.ClearPolarity();
  } else if (o.outline) {
    out.outline();
  }
  const int64_t padOffset = roundHalfEven(o.padOffset * 100.0);
  const double smdOffset = o.smdOffset * 100.0;
  for (const auto& ptr : plot.elements) {
    const TObjekt& e = *ptr;
    if (e.layer != side) continue;
    if (e.kind == kPad && o.pads) {
      out.maskPad(e, padOffset);
    } else if (e.kind == kSmdPad && o.smdPads) {
      out.moveTo(e.x, e.y);
      plot.file.FlashRect(roundHalfEven(smdOffset + e.dim1 / 2.0),
                          roundHalfEven(smdOffset + e.dim2 / 2.0));
    }
  }
}

void plotGerberOutput(TGerberFile& file, const TObjektList& elements, const TBoardRecord& board,
                      const TGerberOptions& options, int language) {
  const TGerberOutput output = options.output;
  file.mirror = options.mirror;
  file.mirrorWidth = board.width;
  file.Open(gerberLayerName(output, language));
  TGerberPlot plot{file, elements, board.width, board.height, options};
  Plotter out(plot);
  if (isSolderMaskOutput(output)) {
    GerberLoetstopMaske(plot);
    return;
  }
  if (options.outline) out.outline();
  const bool groundPlane = (output == TGerberOutput::K1 && board.groundPlane1) ||
                           (output == TGerberOutput::K2 && board.groundPlane2);
  if (groundPlane) {
    out.filledBoard();
    file.ClearPolarity();
    PlotteLayout(plot, true);
    file.DarkPolarity();
  }
  PlotteLayout(plot, false);
  if (options.punch && options.punchEnabled() && !isSmdOnlyOutput(output)) GerberFreistanzen(plot);
}

std::string gerberText(const TObjektList& elements, const TBoardRecord& board,
                       const TGerberOptions& options, int language) {
  TGerberFile file;
  plotGerberOutput(file, elements, board, options, language);
  return file.Finish();
}

bool PlotteGerberfile(const std::string& path, const TObjektList& elements,
                      const TBoardRecord& board, const TGerberOptions& options, int language,
                      std::string& error) {
  TGerberFile file;
  file.Path = path;
  plotGerberOutput(file, elements, board, options, language);
  return file.Close(error);
}

}  // namespace plavesk
