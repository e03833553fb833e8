#include "output/contour_crossings.h"

#include <algorithm>
#include <cmath>
#include <numeric>
#include <tuple>

namespace plavesk {
namespace {

struct Box64 {
  int64_t x0, y0, x1, y1;  // inclusive, x0 <= x1, y0 <= y1
};

Box64 edgeBox(TPoint64 a, TPoint64 b) {
  return {std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x), std::max(a.y, b.y)};
}

// A flat box is widened by one on both sides of its flat axis.
Box64 widened(Box64 b) {
  if (b.x0 == b.x1) --b.x0, ++b.x1;
  if (b.y0 == b.y1) --b.y0, ++b.y1;
  return b;
}

bool strictlyOverlap(const Box64& a, const Box64& b) {
  return std::max(a.x0, b.x0) < std::min(a.x1, b.x1) && std::max(a.y0, b.y0) < std::min(a.y1, b.y1);
}

bool inside(TPoint64 p, const Box64& b) {
  return p.x >= b.x0 && p.x <= b.x1 && p.y >= b.y0 && p.y <= b.y1;
}

// How far, in scaled units, a recorded crossing can lie from either edge:
// the rounding of the point and of the crossing on the flat box sides stay
// well inside it.
constexpr int64_t kCellMargin = 4;
// An edge that would fill more cells is compared with every edge instead.
constexpr int64_t kMaxCellsPerEdge = 4096;

int64_t floorDiv(int64_t v, int64_t d) {
  return v >= 0 ? v / d : -((-v + d - 1) / d);
}

struct EdgeRef {
  TPoint64 a, b;
  Box64 box;  // widened
  uint32_t polygon;
  uint32_t local;
};

// The grid cells (columns per row) that come within the margin of the edge.
template <class Emit>
void forEachCell(const EdgeRef& e, int64_t cell, Emit emit) {
  const Box64 plain = edgeBox(e.a, e.b);
  const int64_t row0 = floorDiv(plain.y0 - kCellMargin, cell);
  const int64_t row1 = floorDiv(plain.y1 + kCellMargin, cell);
  // Doubles are good to far less than the unit of slack on either side.
  const double dx = double(e.b.x - e.a.x), dy = double(e.b.y - e.a.y);
  for (int64_t row = row0; row <= row1; ++row) {
    int64_t xa = plain.x0, xb = plain.x1;
    if (dy != 0 && row0 != row1) {
      const double ylo = double(std::max(plain.y0, row * cell - kCellMargin));
      const double yhi = double(std::min(plain.y1, (row + 1) * cell + kCellMargin));
      const double x1 = double(e.a.x) + (ylo - double(e.a.y)) * dx / dy;
      const double x2 = double(e.a.x) + (yhi - double(e.a.y)) * dx / dy;
      xa = std::max<int64_t>(plain.x0, int64_t(std::floor(std::min(x1, x2))) - 1);
      xb = std::min<int64_t>(plain.x1, int64_t(std::ceil(std::max(x1, x2))) + 1);
    }
    const int64_t col0 = floorDiv(xa - kCellMargin, cell), col1 = floorDiv(xb + kCellMargin, cell);
    for (int64_t col = col0; col <= col1; ++col) emit(col, row);
  }
}

}  // namespace

std::vector<TScaledPolygon> scalePolygons(const std::vector<TShapePolygon>& polygons) {
  std::vector<TScaledPolygon> out(polygons.size());
  for (size_t i = 0; i < polygons.size(); ++i) {
    out[i].reserve(polygons[i].size());
    for (const auto& p : polygons[i])
      out[i].push_back({int64_t(p.x) * kContourScale, int64_t(p.y) * kContourScale});
  }
  return out;
}

std::optional<TPoint64> edgeCrossing(TPoint64 e0, TPoint64 e1, TPoint64 f0, TPoint64 f1) {
  const Box64 plainE = edgeBox(e0, e1), plainF = edgeBox(f0, f1);
  const Box64 be = widened(plainE), bf = widened(plainF);
  if (!strictlyOverlap(be, bf)) return std::nullopt;
  const TPoint64 de{e1.x - e0.x, e1.y - e0.y}, df{f1.x - f0.x, f1.y - f0.y};
  const __int128 d = (__int128)de.x * df.y - (__int128)de.y * df.x;
  if (d == 0) return std::nullopt;
  const __int128 num = (__int128)(f0.x - e0.x) * df.y + (__int128)(e0.y - f0.y) * df.x;
  const long double t = (long double)num / (long double)d;
  // Ties to even, as nearbyint in the default rounding mode.
  const long double rx = std::rint(de.x * t), ry = std::rint(de.y * t);
  constexpr long double kLimit = 4.0e18L;
  if (std::fabs(rx) > kLimit || std::fabs(ry) > kLimit) return std::nullopt;
  const TPoint64 x{e0.x + int64_t(rx), e0.y + int64_t(ry)};
  const Box64 both{std::max(be.x0, bf.x0), std::max(be.y0, bf.y0), std::min(be.x1, bf.x1),
                   std::min(be.y1, bf.y1)};
  if (x.x < both.x0 - 1 || x.x >= both.x1 + 1 || x.y < both.y0 - 1 || x.y >= both.y1 + 1)
    return std::nullopt;
  if (!inside(x, plainE) || !inside(x, plainF)) return std::nullopt;
  return x;
}

std::vector<TCrossingPair> findCrossings(const std::vector<TScaledPolygon>& polygons,
                                         const TContourProgress& progress) {
  std::vector<EdgeRef> edges;
  size_t vertices = 0;
  for (const auto& poly : polygons) vertices += poly.size();
  edges.reserve(vertices);
  for (size_t p = 0; p < polygons.size(); ++p) {
    const auto& poly = polygons[p];
    for (size_t i = 0; i < poly.size(); ++i) {
      const TPoint64 a = poly[i], b = poly[(i + 1) % poly.size()];
      if (a == b) continue;  // a point edge is parallel to everything
      edges.push_back({a, b, widened(edgeBox(a, b)), uint32_t(p), uint32_t(i)});
    }
  }
  std::vector<TCrossingPair> result;
  if (edges.empty()) return result;

  // Cells about twice the typical edge, so an edge meets a handful of cells.
  std::vector<int64_t> extents(edges.size());
  for (size_t i = 0; i < edges.size(); ++i)
    extents[i] = std::max(edges[i].box.x1 - edges[i].box.x0, edges[i].box.y1 - edges[i].box.y0);
  std::nth_element(extents.begin(), extents.begin() + extents.size() / 2, extents.end());
  const int64_t cell = std::max<int64_t>(64, 2 * extents[extents.size() / 2]);

  // The edges of every cell that holds more than one, each cell's in edge
  // order: counted into a dense grid when the board's grid is small enough,
  // else sorted by cell.
  std::vector<uint32_t> cellEdges, groupStart, oversized;
  {
    int64_t x0 = edges[0].box.x0, y0 = edges[0].box.y0, x1 = edges[0].box.x1, y1 = edges[0].box.y1;
    for (const EdgeRef& e : edges) {
      x0 = std::min(x0, e.box.x0), y0 = std::min(y0, e.box.y0);
      x1 = std::max(x1, e.box.x1), y1 = std::max(y1, e.box.y1);
    }
    const int64_t col0 = floorDiv(x0 - kCellMargin, cell), row0 = floorDiv(y0 - kCellMargin, cell);
    const int64_t cols = floorDiv(x1 + kCellMargin, cell) - col0 + 1,
                  rows = floorDiv(y1 + kCellMargin, cell) - row0 + 1;
    std::vector<std::pair<uint64_t, uint32_t>> entries;
    entries.reserve(edges.size() * 3);
    const bool dense =
        cols <= (int64_t(1) << 31) / rows &&
        cols * rows <= std::max<int64_t>(int64_t(1) << 16, 8 * int64_t(edges.size()));
    for (size_t i = 0; i < edges.size(); ++i) {
      const Box64 b = edgeBox(edges[i].a, edges[i].b);
      const int64_t spanRows =
          floorDiv(b.y1 + kCellMargin, cell) - floorDiv(b.y0 - kCellMargin, cell);
      const int64_t spanCols =
          floorDiv(b.x1 + kCellMargin, cell) - floorDiv(b.x0 - kCellMargin, cell);
      if (3 * spanRows + spanCols > kMaxCellsPerEdge) {
        oversized.push_back(uint32_t(i));
        continue;
      }
      forEachCell(edges[i], cell, [&](int64_t col, int64_t row) {
        const uint64_t key = dense ? uint64_t((row - row0) * cols + (col - col0))
                                   : uint64_t(col - col0) << 32 | uint64_t(row - row0);
        entries.emplace_back(key, uint32_t(i));
      });
    }
    std::vector<std::pair<uint64_t, uint32_t>> sorted(entries.size());
    if (dense) {
      std::vector<uint32_t> first(size_t(cols * rows) + 1, 0);
      for (const auto& e : entries) ++first[e.first + 1];
      for (size_t c = 1; c < first.size(); ++c) first[c] += first[c - 1];
      for (const auto& e : entries) sorted[first[e.first]++] = e;  // stable: edge order kept
    } else {
      sorted = entries;
      std::sort(sorted.begin(), sorted.end());
    }
    std::vector<std::pair<uint64_t, uint32_t>>().swap(entries);
    cellEdges.reserve(sorted.size());
    for (size_t g = 0; g < sorted.size();) {
      size_t end = g + 1;
      while (end < sorted.size() && sorted[end].first == sorted[g].first) ++end;
      if (end - g > 1) {
        groupStart.push_back(uint32_t(cellEdges.size()));
        for (size_t k = g; k < end; ++k) cellEdges.push_back(sorted[k].second);
      }
      g = end;
    }
    groupStart.push_back(uint32_t(cellEdges.size()));
  }

  std::vector<uint64_t> pairs;
  for (size_t group = 0; group + 1 < groupStart.size(); ++group) {
    const size_t g = groupStart[group], end = groupStart[group + 1];
    // The cell's edges stand in edge order, so each polygon's edges form a
    // run; pairs start after the run of their first edge.
    size_t runEnd = g;
    for (size_t i = g; i < end; ++i) {
      const EdgeRef& a = edges[cellEdges[i]];
      if (i == runEnd)
        while (runEnd < end && edges[cellEdges[runEnd]].polygon == a.polygon) ++runEnd;
      for (size_t j = runEnd; j < end; ++j) {
        const EdgeRef& b = edges[cellEdges[j]];
        if (!strictlyOverlap(a.box, b.box)) continue;
        pairs.push_back(uint64_t(cellEdges[i]) << 32 | cellEdges[j]);
      }
    }
  }
  std::vector<uint32_t>().swap(cellEdges);
  // Edges far longer than the rest, met by any edge whose box they overlap.
  for (uint32_t o : oversized)
    for (uint32_t e = 0; e < edges.size(); ++e)
      if (edges[e].polygon != edges[o].polygon && strictlyOverlap(edges[o].box, edges[e].box))
        pairs.push_back(uint64_t(std::min(o, e)) << 32 | std::max(o, e));
  std::sort(pairs.begin(), pairs.end());
  pairs.erase(std::unique(pairs.begin(), pairs.end()), pairs.end());

  // Edges are numbered polygon by polygon, so the lower edge of a pair is on
  // the earlier polygon; recording order is by polygon pair first.
  auto key = [&](uint64_t pair) {
    const EdgeRef& a = edges[pair >> 32];
    const EdgeRef& b = edges[pair & 0xffffffffu];
    return std::tuple(a.polygon, b.polygon, uint32_t(pair >> 32), uint32_t(pair));
  };
  std::sort(pairs.begin(), pairs.end(), [&](uint64_t l, uint64_t r) { return key(l) < key(r); });
  for (uint64_t pair : pairs) {
    const EdgeRef& a = edges[pair >> 32];
    const EdgeRef& b = edges[pair & 0xffffffffu];
    if (progress && (result.empty() || result.back().polygonA != a.polygon))
      progress(TContourStep::kVectors, a.polygon, polygons.size());
    if (auto x = edgeCrossing(a.a, a.b, b.a, b.b))
      result.push_back({a.polygon, a.local, b.polygon, b.local, *x});
  }
  if (progress) progress(TContourStep::kVectors, polygons.size(), polygons.size());
  return result;
}

std::vector<TScaledPolygon> insertCrossings(const std::vector<TScaledPolygon>& polygons,
                                            const std::vector<TCrossingPair>& crossings) {
  std::vector<size_t> first(polygons.size() + 1, 0);
  for (size_t p = 0; p < polygons.size(); ++p) first[p + 1] = first[p] + polygons[p].size();
  struct OnEdge {
    size_t edge;
    int64_t distance;
    size_t record;
    TPoint64 point;
  };
  std::vector<OnEdge> onEdge;
  onEdge.reserve(2 * crossings.size());
  auto add = [&](uint32_t polygon, uint32_t edge, size_t record, TPoint64 point) {
    const TPoint64 s = polygons[polygon][edge];
    onEdge.push_back(
        {first[polygon] + edge, std::abs(point.x - s.x) + std::abs(point.y - s.y), record, point});
  };
  for (size_t k = 0; k < crossings.size(); ++k) {
    add(crossings[k].polygonA, crossings[k].edgeA, k, crossings[k].point);
    add(crossings[k].polygonB, crossings[k].edgeB, k, crossings[k].point);
  }
  std::sort(onEdge.begin(), onEdge.end(), [](const OnEdge& a, const OnEdge& b) {
    if (a.edge != b.edge) return a.edge < b.edge;
    if (a.distance != b.distance) return a.distance < b.distance;
    return a.record > b.record;
  });
  std::vector<TScaledPolygon> out(polygons.size());
  size_t next = 0;
  for (size_t p = 0; p < polygons.size(); ++p) {
    out[p].reserve(polygons[p].size());
    for (size_t i = 0; i < polygons[p].size(); ++i) {
      out[p].push_back(polygons[p][i]);
      for (; next < onEdge.size() && onEdge[next].edge == first[p] + i; ++next)
        out[p].push_back(onEdge[next].point);
    }
  }
  return out;
}

}  // namespace plavesk
