#include "gerber_test_raster.h"

#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "gerber_test_png.h"
#include "view/geometry.h"

namespace plavesk::gerber_testing {

namespace {

namespace fs = std::filesystem;

int64_t roundHalfEven(double v) {
  return int64_t(std::nearbyint(v));
}

Region segments(const std::vector<TPoint>& points, int32_t width, bool closed) {
  Region r;
  for (size_t i = 1; i < points.size(); ++i) r.unite(trackOutline(points[i - 1], points[i], width));
  if (closed && points.size() > 1) r.unite(trackOutline(points.back(), points.front(), width));
  return r;
}

// A pad figure of half width a and half height b as the board house should
// see it.
Region padFigure(TPoint c, int64_t a, int64_t b, int shape) {
  const int32_t l = int32_t(c.x - a), r = int32_t(c.x + a), t = int32_t(c.y - b),
                u = int32_t(c.y + b);
  switch (shape) {
    case kPadRound:
      return Region::ellipse(l, t, r, u);
    case kPadSquare:
    case kPadRectH:
    case kPadRectV:
      return Region::rectangle(l, t, r, u);
    case kPadOblongH:
    case kPadOblongV: {
      const int32_t corner = int32_t(roundHalfEven(1.5 * double(std::min(a, b))));
      return Region::roundRect(l, t, r, u, corner, corner);
    }
    case kPadOctagon:
    case kPadOctagonH:
    case kPadOctagonV: {
      const int32_t e = int32_t(roundHalfEven(0.585 * double(std::min(a, b))));
      std::vector<TPoint> p{{l, u - e}, {l + e, u}, {r - e, u}, {r, u - e},
                            {r, t + e}, {r - e, t}, {l + e, t}, {l, t + e}};
      return Region::polygonOf(p);
    }
    default:
      return Region();
  }
}

std::pair<int64_t, int64_t> padHalfSizes(const TObjekt& e, int64_t grow) {
  const int64_t r = e.dim1;
  if (e.padShape >= kPadOblongH && e.padShape <= kPadRectH) return {2 * r + grow, r + grow};
  if (e.padShape >= kPadOblongV && e.padShape <= kPadRectV) return {r + grow, 2 * r + grow};
  return {r + grow, r + grow};
}

Region smdRect(const TObjekt& e, int64_t growX, int64_t growY) {
  const int64_t hx = roundHalfEven(e.dim1 / 2.0) + growX, hy = roundHalfEven(e.dim2 / 2.0) + growY;
  return Region::rectangle(int32_t(e.x - hx), int32_t(e.y - hy), int32_t(e.x + hx),
                           int32_t(e.y + hy));
}

Region disc(TPoint c, int64_t radius) {
  return Region::ellipse(int32_t(c.x - radius), int32_t(c.y - radius), int32_t(c.x + radius),
                         int32_t(c.y + radius));
}

bool onOutputLayer(const TObjekt& e, TGerberOutput output) {
  return e.layer == gerberOutputLayer(output);
}

// The element grown by its clearance on every side; cut-out areas keep
// their size.
Region grown(const TObjekt& e) {
  const int32_t c = e.clearance;
  switch (e.kind) {
    case kLine:
      return trackOutline({e.x, e.y}, {e.dim1, e.dim2}, e.dim3 + 2 * c);
    case kTrack:
      return segments(e.points, e.dim3 + 2 * c, false);
    case kText: {
      Region r;
      for (const auto& s : e.strokes) r.unite(segments(s->points, s->dim3 + 2 * c, false));
      return r;
    }
    case kArea: {
      if (e.cutout) return elementOutline(e).value_or(Region());
      return Region::polygonOf(e.points) | segments(e.points, e.dim3 + 2 * c, true);
    }
    case kCircle: {
      TObjekt copy;
      copy.kind = kCircle;
      copy.x = e.x;
      copy.y = e.y;
      copy.dim1 = e.dim1 + c;
      copy.dim2 = std::max(0, e.dim2 - c);
      copy.angle = e.angle;
      copy.dim3 = e.dim3;
      copy.filled = e.filled;
      return elementOutline(copy).value_or(Region());
    }
    case kSmdPad:
      return smdRect(e, c, c);
    case kPad: {
      auto [a, b] = padHalfSizes(e, c);
      return padFigure({e.x, e.y}, a, b, e.padShape);
    }
    default:
      return Region();
  }
}

Region normal(const TObjekt& e) {
  if (e.kind == kFontText) return Region();
  if (e.kind == kArea) {
    if (e.cutout || e.points.size() < 2) return Region();
    // The outline pen runs round the whole polygon, back to the first point.
    return Region::polygonOf(e.points) | segments(e.points, e.dim3, true);
  }
  if (e.kind == kPad && e.dim1 == e.dim2) return Region();
  return elementOutline(e).value_or(Region());
}

Region boardArea(const TBoardRecord& b) {
  return Region::rectangle(0, -b.height, b.width, 0);
}

}  // namespace

size_t TRaster::count() const {
  return size_t(std::count(on.begin(), on.end(), uint8_t(1)));
}

TRaster rasterise(const Region& region, const TPixelGrid& grid) {
  TRaster raster{grid.width(), grid.height(), {}};
  raster.on.assign(size_t(raster.width) * size_t(raster.height), 0);
  struct Edge {
    double x0, y0, x1, y1;
  };
  std::vector<Edge> edges;
  const double u = grid.unitsPerPixel;
  for (const auto& contour : region.polygons()) {
    for (size_t i = 0; i < contour.size(); ++i) {
      const auto& p = contour[i];
      const auto& q = contour[(i + 1) % contour.size()];
      auto col = [&](int32_t x) { return (grid.mirror ? double(grid.boardWidth) - x : x) / u; };
      // The file's y is y + board height, counted up from the bottom row.
      auto row = [&](int32_t y) { return raster.height - (double(y) + grid.boardHeight) / u; };
      edges.push_back({col(p.x), row(p.y), col(q.x), row(q.y)});
    }
  }
  std::vector<double> crossings;
  for (int r = 0; r < raster.height; ++r) {
    const double yc = r + 0.5;
    crossings.clear();
    for (const Edge& e : edges) {
      if ((e.y0 < yc) == (e.y1 < yc)) continue;
      crossings.push_back(e.x0 + (yc - e.y0) * (e.x1 - e.x0) / (e.y1 - e.y0));
    }
    std::sort(crossings.begin(), crossings.end());
    for (size_t i = 0; i + 1 < crossings.size(); i += 2) {
      const int from = std::max(0, int(std::floor(crossings[i] - 0.5)) + 1);
      const int to = std::min(raster.width - 1, int(std::floor(crossings[i + 1] - 0.5)));
      for (int c = from; c <= to; ++c) raster.on[size_t(r) * size_t(raster.width) + size_t(c)] = 1;
    }
  }
  return raster;
}

double intersectionOverUnion(const TRaster& a, const TRaster& b) {
  if (a.width != b.width || a.height != b.height) return 0.0;
  size_t both = 0, either = 0;
  for (size_t i = 0; i < a.on.size(); ++i) {
    both += a.on[i] & b.on[i];
    either += a.on[i] | b.on[i];
  }
  return either == 0 ? 1.0 : double(both) / double(either);
}

double agreementWithinOnePixel(const TRaster& a, const TRaster& b) {
  if (a.width != b.width || a.height != b.height) return 0.0;
  auto near = [](const TRaster& r, int x, int y) {
    for (int dy = -1; dy <= 1; ++dy)
      for (int dx = -1; dx <= 1; ++dx) {
        const int nx = x + dx, ny = y + dy;
        if (nx >= 0 && ny >= 0 && nx < r.width && ny < r.height &&
            r.on[size_t(ny) * size_t(r.width) + size_t(nx)])
          return true;
      }
    return false;
  };
  size_t either = 0, unmatched = 0;
  for (int y = 0; y < a.height; ++y)
    for (int x = 0; x < a.width; ++x) {
      const size_t i = size_t(y) * size_t(a.width) + size_t(x);
      if (!a.on[i] && !b.on[i]) continue;
      ++either;
      if ((a.on[i] && !near(b, x, y)) || (b.on[i] && !near(a, x, y))) ++unmatched;
    }
  return either == 0 ? 1.0 : 1.0 - double(unmatched) / double(either);
}

std::string writeDifferencePicture(const TRaster& a, const TRaster& b, const std::string& name) {
  const std::string path = (fs::temp_directory_path() / (name + ".ppm")).string();
  std::ofstream out(path, std::ios::binary);
  out << "P6\n" << a.width << " " << a.height << "\n255\n";
  for (size_t i = 0; i < a.on.size(); ++i) {
    const bool inA = a.on[i], inB = i < b.on.size() && b.on[i];
    const char rgb[3] = {char(inA && !inB ? 255
                              : inA       ? 0
                              : inB       ? 0
                                          : 255),
                         char(inA || inB ? 0 : 255),
                         char(inB && !inA ? 255
                              : inA       ? 0
                                          : 255)};
    out.write(rgb, 3);
  }
  return path;
}

bool gerbvAvailable() {
  return std::system("command -v gerbv >/dev/null 2>&1") == 0;
}

namespace {

// gerbv draws at most 2000 pixels a side: larger pictures come in tiles.
constexpr int kMaxTile = 2000;

std::optional<TRaster> renderTile(const std::string& file, const TPixelGrid& grid, int col, int row,
                                  int width, int height, std::string& error) {
  static std::atomic<int> counter{0};
  const fs::path base = fs::temp_directory_path() / ("plavesk-gerbv-" + std::to_string(::getpid()) +
                                                     "-" + std::to_string(counter++));
  const std::string png = base.string() + ".png", log = base.string() + ".log";
  const int u = grid.unitsPerPixel;
  // The tile's lower left corner in inches; gerbv refuses origins of more
  // than about 20 characters.
  char origin[64];
  std::snprintf(origin, sizeof origin, "%.6fx%.6f", col * u / 2540.0,
                (grid.height() - row - height) * u / 2540.0);
  const std::string command =
      "gerbv -x png --dpi=" + std::to_string(2540 / u) + " --border=0 --origin=" + origin +
      " --window=" + std::to_string(width) + "x" + std::to_string(height) +
      " -b '#FFFFFF' -f '#000000FF' -o '" + png + "' '" + file + "' 2>'" + log + "' >/dev/null";
  const int status = std::system(command.c_str());
  std::ifstream logFile(log);
  const std::string messages{std::istreambuf_iterator<char>(logFile), {}};
  fs::remove(log);
  if (status != 0 || messages.find("CRITICAL") != std::string::npos ||
      messages.find("WARNING") != std::string::npos) {
    error = "gerbv on " + file + " (status " + std::to_string(status) + "): " + messages;
    fs::remove(png);
    return std::nullopt;
  }
  auto image = readPng(png, error);
  fs::remove(png);
  if (!image) return std::nullopt;
  if (image->width != width || image->height != height) {
    error = "gerbv drew " + std::to_string(image->width) + " x " + std::to_string(image->height);
    return std::nullopt;
  }
  TRaster raster{width, height, {}};
  raster.on.resize(image->grey.size());
  for (size_t i = 0; i < image->grey.size(); ++i) raster.on[i] = image->grey[i] < 128 ? 1 : 0;
  return raster;
}

}  // namespace

std::optional<TRaster> renderWithGerbv(const std::string& file, const TPixelGrid& grid,
                                       std::string& error) {
  TRaster raster{grid.width(), grid.height(), {}};
  raster.on.assign(size_t(raster.width) * size_t(raster.height), 0);
  for (int row = 0; row < raster.height; row += kMaxTile) {
    for (int col = 0; col < raster.width; col += kMaxTile) {
      const int w = std::min(kMaxTile, raster.width - col),
                h = std::min(kMaxTile, raster.height - row);
      const auto tile = renderTile(file, grid, col, row, w, h, error);
      if (!tile) return std::nullopt;
      for (int y = 0; y < h; ++y)
        std::copy_n(tile->on.begin() + long(y) * w, w,
                    raster.on.begin() + (long(row + y) * raster.width + col));
    }
  }
  return raster;
}

Region boardOutline(const TBoardRecord& b) {
  return segments({{0, -b.height}, {b.width, -b.height}, {b.width, 0}, {0, 0}}, 20, true);
}

Region expectedArtwork(const TObjektList& elements, const TBoardRecord& board,
                       const TGerberOptions& o) {
  const TGerberOutput output = o.output;
  Region art;
  if (isSolderMaskOutput(output)) {
    Region openings;
    const int64_t padOffset = roundHalfEven(o.padOffset * 100);
    const int64_t smdOffset = roundHalfEven(o.smdOffset * 100);
    for (const auto& e : elements) {
      if (!onOutputLayer(*e, output)) continue;
      if (e->kind == kPad && o.pads) {
        auto [a, b] = padHalfSizes(*e, padOffset);
        openings.unite(padFigure({e->x, e->y}, a, b, e->padShape));
      } else if (e->kind == kSmdPad && o.smdPads) {
        openings.unite(smdRect(*e, smdOffset, smdOffset));
      }
    }
    if (o.invert) return boardArea(board) - openings;
    if (o.outline) art.unite(boardOutline(board));
    return art | openings;
  }
  if (o.outline) art.unite(boardOutline(board));
  const bool smdOnly = isSmdOnlyOutput(output);
  const bool groundPlane = (output == TGerberOutput::K1 && board.groundPlane1) ||
                           (output == TGerberOutput::K2 && board.groundPlane2);
  if (groundPlane) {
    Region cleared;
    for (const auto& e : elements)
      if (onOutputLayer(*e, output)) cleared.unite(grown(*e));
    art = (art | boardArea(board)) - cleared;
  }
  for (const auto& e : elements) {
    if (!onOutputLayer(*e, output)) continue;
    if (smdOnly && e->kind != kSmdPad) continue;
    art.unite(normal(*e));
  }
  if (o.punch && !smdOnly) {
    Region holes;
    for (const auto& e : elements)
      if (e->kind == kPad && onOutputLayer(*e, output) && e->dim2 > 0)
        holes.unite(disc({e->x, e->y}, o.mark ? 15 : e->dim2));
    art.subtract(holes);
  }
  return art;
}

Region expectedHoles(const TObjektList& elements) {
  Region holes;
  for (const auto& e : elements)
    // Every copper pad with a drill; a through pair only once.
    if (e->kind == kPad && e->dim2 > 0 &&
        (e->layer == kCopper1 || (e->layer == kCopper2 && !e->padLink)))
      holes.unite(disc({e->x, e->y}, e->dim2));
  return holes;
}

}  // namespace plavesk::gerber_testing
