#include "output/contour_crossings.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <memory>
#include <numeric>
#include <thread>
#include <tuple>

#include "output/contour_parallel.h"
#include "platform/core/int_math.h"

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

struct EdgeRef {
  TPoint64 a, b;
  Box64 box;  // widened
  uint32_t polygon;
  uint32_t local;
};

bool collinear(TPoint64 e0, TPoint64 e1, TPoint64 f0, TPoint64 f1) {
  const __int128 dx = e1.x - e0.x, dy = e1.y - e0.y;
  return dx * (f0.y - e0.y) - dy * (f0.x - e0.x) == 0 &&
         dx * (f1.y - e0.y) - dy * (f1.x - e0.x) == 0;
}

// p lies on the segment a..b, at neither end (a, b and p collinear).
bool strictlyBetween(TPoint64 p, TPoint64 a, TPoint64 b) {
  if (p == a || p == b) return false;
  return std::min(a.x, b.x) <= p.x && p.x <= std::max(a.x, b.x) && std::min(a.y, b.y) <= p.y &&
         p.y <= std::max(a.y, b.y);
}

// The columns of the cells of one row that come within the margin of the
// edge.
template <class Emit>
void forEachCellOfRow(const EdgeRef& e, int64_t cell, int64_t row, Emit emit) {
  const Box64 plain = edgeBox(e.a, e.b);
  const int64_t row0 = floorDiv(plain.y0 - kCellMargin, cell);
  const int64_t row1 = floorDiv(plain.y1 + kCellMargin, cell);
  // Doubles are good to far less than the unit of slack on either side.
  const double dx = double(e.b.x - e.a.x), dy = double(e.b.y - e.a.y);
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
  for (int64_t col = col0; col <= col1; ++col) emit(col);
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

namespace {

// Twice the signed area: positive for a counter-clockwise polygon.
__int128 twiceArea(const TScaledPolygon& p) {
  __int128 a = 0;
  for (size_t i = 0, j = p.size() - 1; i < p.size(); j = i++)
    a += __int128(p[j].x) * p[i].y - __int128(p[i].x) * p[j].y;
  return a;
}

TScaledPolygon withoutRepeats(const TScaledPolygon& p) {
  TScaledPolygon out;
  out.reserve(p.size());
  for (const TPoint64& v : p)
    if (out.empty() || !(out.back() == v)) out.push_back(v);
  while (out.size() > 1 && out.back() == out.front()) out.pop_back();
  return out;
}

// A polygon turning right (or straight on) at every vertex whose x changes
// direction only twice winds once round and cannot meet itself: most
// element polygons, settled without comparing their edges.
bool plainlyConvex(const TScaledPolygon& p) {
  const size_t m = p.size();
  if (m < 3) return false;
  int changes = 0, first = 0, last = 0;
  for (size_t i = 0; i < m; ++i) {
    const TPoint64 a = p[(i + m - 1) % m], b = p[i], c = p[(i + 1) % m];
    const __int128 d1x = b.x - a.x, d1y = b.y - a.y, d2x = c.x - b.x, d2y = c.y - b.y;
    const __int128 cross = d1x * d2y - d1y * d2x;
    if (cross > 0 || (cross == 0 && d1x * d2x + d1y * d2y < 0)) return false;
    const int s = d2x > 0 ? 1 : (d2x < 0 ? -1 : 0);
    if (s == 0) continue;
    if (last != 0 && s != last) ++changes;
    if (first == 0) first = s;
    last = s;
  }
  if (first != 0 && last != first) ++changes;
  return changes == 2;
}

// Where edges of the polygon meet other edges of it, as (edge, point) for
// both edges: crossings and touches of edges that do not follow each other,
// and the ends of an edge lying on the one next to it (the polygon turning
// straight back). Edges are compared in order of their left ends.
std::vector<std::pair<uint32_t, TPoint64>> selfMeetings(const TScaledPolygon& p) {
  const uint32_t m = uint32_t(p.size());
  std::vector<std::pair<uint32_t, TPoint64>> out;
  std::vector<uint32_t> order(m);
  std::iota(order.begin(), order.end(), 0u);
  auto box = [&](uint32_t i) { return widened(edgeBox(p[i], p[(i + 1) % m])); };
  std::sort(order.begin(), order.end(),
            [&](uint32_t l, uint32_t r) { return box(l).x0 < box(r).x0; });
  std::vector<TPoint64> meetings;
  for (uint32_t k = 0; k < m; ++k) {
    const uint32_t i = order[k];
    const Box64 bi = box(i);
    for (uint32_t l = k + 1; l < m && box(order[l]).x0 < bi.x1; ++l) {
      const uint32_t j = order[l];
      if (!strictlyOverlap(bi, box(j))) continue;
      const TPoint64 e0 = p[i], e1 = p[(i + 1) % m], f0 = p[j], f1 = p[(j + 1) % m];
      const bool adjacent = j == (i + 1) % m || i == (j + 1) % m;
      if (adjacent && !collinear(e0, e1, f0, f1)) continue;
      meetings.clear();
      edgeMeetings(e0, e1, f0, f1, meetings);
      for (const TPoint64 x : meetings) out.push_back({i, x}), out.push_back({j, x});
    }
  }
  return out;
}

// The polygon with the points inserted into their edges, nearest to the
// edge's start first, cut at every place it passes twice into pieces that
// pass no place twice. Each piece runs from such a place round to it.
std::vector<TScaledPolygon> cutAtMeetings(const TScaledPolygon& p,
                                          std::vector<std::pair<uint32_t, TPoint64>> meetings) {
  auto distance = [&](const std::pair<uint32_t, TPoint64>& q) {
    const TPoint64 s = p[q.first];
    return std::abs(q.second.x - s.x) + std::abs(q.second.y - s.y);
  };
  std::sort(meetings.begin(), meetings.end(), [&](const auto& l, const auto& r) {
    return l.first != r.first ? l.first < r.first : distance(l) < distance(r);
  });
  TScaledPolygon sequence;
  for (size_t i = 0, next = 0; i < p.size(); ++i) {
    sequence.push_back(p[i]);
    for (; next < meetings.size() && meetings[next].first == i; ++next)
      sequence.push_back(meetings[next].second);
  }
  sequence = withoutRepeats(sequence);
  std::vector<TScaledPolygon> pieces;
  TScaledPolygon stack;
  for (const TPoint64& v : sequence) {
    const auto at = std::find(stack.begin(), stack.end(), v);
    if (at == stack.end()) {
      stack.push_back(v);
      continue;
    }
    pieces.emplace_back(at, stack.end());
    stack.erase(at + 1, stack.end());
  }
  pieces.push_back(std::move(stack));
  return pieces;
}

// The winding number of the polygon around p, which lies on none of its
// edges; a point on an edge counts as outside.
int windingAround(const TScaledPolygon& poly, TPoint64 p) {
  int winding = 0;
  for (size_t i = 0, j = poly.size() - 1; i < poly.size(); j = i++) {
    const TPoint64 a = poly[j], b = poly[i];
    const __int128 cross = __int128(b.x - a.x) * (p.y - a.y) - __int128(b.y - a.y) * (p.x - a.x);
    if (cross == 0 && strictlyBetween(p, a, b)) return 0;
    if (a.y <= p.y) {
      if (b.y > p.y && cross > 0) ++winding;
    } else if (b.y <= p.y && cross < 0) {
      --winding;
    }
  }
  return winding;
}

// Whether the counter-clockwise piece k of a polygon cut at the places it
// meets itself is a hole in the rest: the inside of a ring whose gap the
// rounding closed, where the other pieces wind around it. A piece outside
// them is a fold and is turned round to become copper. Decided by the
// vertices of the piece that no other piece shares, most of them: a few
// next to the cut (the ring's own end corners) lie outside.
bool holeAmongPieces(const std::vector<TScaledPolygon>& pieces, size_t k) {
  int inside = 0, outside = 0;
  for (const TPoint64& v : pieces[k]) {
    bool shared = false;
    for (size_t j = 0; j < pieces.size() && !shared; ++j)
      shared = j != k && std::find(pieces[j].begin(), pieces[j].end(), v) != pieces[j].end();
    if (shared) continue;
    int winding = 0;
    for (size_t j = 0; j < pieces.size(); ++j)
      if (j != k && pieces[j].size() >= 3) winding += windingAround(pieces[j], v);
    ++(winding != 0 ? inside : outside);
  }
  return inside > outside;
}

}  // namespace

std::vector<TScaledPolygon> untangledPolygons(std::vector<TScaledPolygon> polygons) {
  std::vector<TScaledPolygon> out;
  out.reserve(polygons.size());
  for (auto& polygon : polygons) {
    if (plainlyConvex(polygon)) {
      out.push_back(std::move(polygon));
      continue;
    }
    // A cut point is rounded to the grid, which in rare cases makes a new
    // meeting next to it: pieces are looked at again, a few times at most.
    std::vector<TScaledPolygon> todo{std::move(polygon)};
    for (int round = 0; round < 4 && !todo.empty(); ++round) {
      std::vector<TScaledPolygon> again;
      for (auto& piece : todo) {
        const TScaledPolygon plain = withoutRepeats(piece);
        auto meetings = plain.size() < 3 || plainlyConvex(plain)
                            ? std::vector<std::pair<uint32_t, TPoint64>>{}
                            : selfMeetings(plain);
        if (meetings.empty() || round == 3) {
          out.push_back(std::move(piece));
          continue;
        }
        std::vector<TScaledPolygon> cuts = cutAtMeetings(plain, std::move(meetings));
        std::vector<int8_t> turn(cuts.size(), 0);  // -1 dropped, 1 turned round
        for (size_t k = 0; k < cuts.size(); ++k) {
          const __int128 area = cuts[k].size() < 3 ? 0 : twiceArea(cuts[k]);
          if (area == 0) turn[k] = -1;
          if (area > 0 && !holeAmongPieces(cuts, k)) turn[k] = 1;
        }
        for (size_t k = 0; k < cuts.size(); ++k) {
          if (turn[k] < 0) continue;
          if (turn[k] > 0) std::reverse(cuts[k].begin(), cuts[k].end());
          again.push_back(std::move(cuts[k]));
        }
      }
      todo = std::move(again);
    }
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

void edgeMeetings(TPoint64 e0, TPoint64 e1, TPoint64 f0, TPoint64 f1, std::vector<TPoint64>& out) {
  if (const auto x = edgeCrossing(e0, e1, f0, f1)) {
    out.push_back(*x);
    return;
  }
  if (!strictlyOverlap(widened(edgeBox(e0, e1)), widened(edgeBox(f0, f1))) ||
      !collinear(e0, e1, f0, f1))
    return;
  for (const TPoint64 p : {e0, e1, f0, f1})
    if (strictlyBetween(p, e0, e1) || strictlyBetween(p, f0, f1)) out.push_back(p);
  std::sort(out.begin(), out.end(),
            [](TPoint64 l, TPoint64 r) { return std::tie(l.x, l.y) < std::tie(r.x, r.y); });
}

std::vector<TCrossingPair> findCrossings(const std::vector<TScaledPolygon>& polygons,
                                         const TContourProgress& progress, size_t maxCrossings,
                                         bool* stopped) {
  if (stopped) *stopped = false;
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

  // Cells about twice the typical edge, so an edge meets a handful of cells;
  // coarser when long edges would fill too many.
  std::vector<int64_t> extents(edges.size());
  for (size_t i = 0; i < edges.size(); ++i)
    extents[i] = std::max(edges[i].box.x1 - edges[i].box.x0, edges[i].box.y1 - edges[i].box.y0);
  std::nth_element(extents.begin(), extents.begin() + extents.size() / 2, extents.end());
  int64_t cell = std::max<int64_t>(64, 2 * extents[extents.size() / 2]);
  std::vector<int64_t>().swap(extents);
  auto cellsOf = [&](const EdgeRef& e) {
    const Box64 b = edgeBox(e.a, e.b);
    return double(floorDiv(b.y1 + kCellMargin, cell) - floorDiv(b.y0 - kCellMargin, cell) + 1) +
           double(floorDiv(b.x1 + kCellMargin, cell) - floorDiv(b.x0 - kCellMargin, cell) + 1);
  };
  for (;;) {
    double total = 0;
    for (const EdgeRef& e : edges) total += cellsOf(e);
    if (total <= 64.0 * double(edges.size()) + 1e7) break;
    cell *= 2;
  }

  // The board is swept row by row of cells: only one row's cells are held
  // at a time. A pair of edges meets in several cells; it is counted in the
  // cell that holds its crossing point, which both edges reach.
  std::vector<int64_t> firstRow(edges.size()), lastRow(edges.size());
  int64_t minRow = INT64_MAX, maxRow = INT64_MIN, minCol = INT64_MAX;
  for (size_t i = 0; i < edges.size(); ++i) {
    const Box64 b = edgeBox(edges[i].a, edges[i].b);
    firstRow[i] = floorDiv(b.y0 - kCellMargin, cell);
    lastRow[i] = floorDiv(b.y1 + kCellMargin, cell);
    minRow = std::min(minRow, firstRow[i]), maxRow = std::max(maxRow, lastRow[i]);
    minCol = std::min(minCol, floorDiv(b.x0 - kCellMargin, cell));
  }
  std::vector<uint32_t> byFirstRow(edges.size());
  std::iota(byFirstRow.begin(), byFirstRow.end(), 0u);
  // Counted into place by row where the rows are not many more than the
  // edges (the same order a stable sort gives).
  if (uint64_t(maxRow - minRow) < 4 * uint64_t(edges.size())) {
    std::vector<uint32_t> rowStart(size_t(maxRow - minRow) + 2, 0);
    for (size_t i = 0; i < edges.size(); ++i) ++rowStart[size_t(firstRow[i] - minRow) + 1];
    for (size_t r = 1; r < rowStart.size(); ++r) rowStart[r] += rowStart[r - 1];
    for (uint32_t i = 0; i < edges.size(); ++i)
      byFirstRow[rowStart[size_t(firstRow[i] - minRow)]++] = i;
  } else {
    std::stable_sort(byFirstRow.begin(), byFirstRow.end(),
                     [&](uint32_t l, uint32_t r) { return firstRow[l] < firstRow[r]; });
  }
  // Rows [rowBegin, rowEnd) into `out`; stops when the crossings found by
  // every sweep pass the limit.
  std::atomic<size_t> found{0};
  std::atomic<bool> over{false};
  auto sweep = [&](int64_t rowBegin, int64_t rowEnd, std::vector<TCrossingPair>& out,
                   bool reports) {
    std::vector<uint32_t> active;
    std::vector<uint64_t> entries;  // column << 32 | edge
    std::vector<TPoint64> meetings;
    size_t next = size_t(std::lower_bound(byFirstRow.begin(), byFirstRow.end(), rowBegin,
                                          [&](uint32_t e, int64_t r) { return firstRow[e] < r; }) -
                         byFirstRow.begin());
    for (size_t k = 0; k < next; ++k)
      if (lastRow[byFirstRow[k]] >= rowBegin) active.push_back(byFirstRow[k]);
    for (int64_t row = rowBegin; row < rowEnd; ++row) {
      if (next == byFirstRow.size() && active.empty()) break;
      if (next < byFirstRow.size() && active.empty() && firstRow[byFirstRow[next]] > row)
        row = firstRow[byFirstRow[next]];
      if (row >= rowEnd) break;
      if (reports && progress && row % 64 == 0)
        progress(TContourStep::kVectors,
                 size_t(double(row - rowBegin) / double(rowEnd - rowBegin) * polygons.size()),
                 polygons.size());
      for (; next < byFirstRow.size() && firstRow[byFirstRow[next]] == row; ++next)
        active.push_back(byFirstRow[next]);
      std::erase_if(active, [&](uint32_t e) { return lastRow[e] < row; });
      entries.clear();
      for (uint32_t e : active)
        forEachCellOfRow(edges[e], cell, row,
                         [&](int64_t col) { entries.push_back(uint64_t(col - minCol) << 32 | e); });
      std::sort(entries.begin(), entries.end());
      const size_t before = out.size();
      for (size_t g = 0; g < entries.size();) {
        size_t end = g + 1;
        while (end < entries.size() && entries[end] >> 32 == entries[g] >> 32) ++end;
        const int64_t col = int64_t(entries[g] >> 32) + minCol;
        // The cell's edges stand in edge order, so each polygon's edges form
        // a run; pairs start after the run of their first edge.
        size_t runEnd = g;
        for (size_t i = g; i + 1 < end; ++i) {
          const EdgeRef& a = edges[uint32_t(entries[i])];
          if (i == runEnd)
            while (runEnd < end && edges[uint32_t(entries[runEnd])].polygon == a.polygon) ++runEnd;
          for (size_t j = std::max(runEnd, i + 1); j < end; ++j) {
            const EdgeRef& b = edges[uint32_t(entries[j])];
            if (!strictlyOverlap(a.box, b.box)) continue;
            meetings.clear();
            edgeMeetings(a.a, a.b, b.a, b.b, meetings);
            for (const TPoint64 x : meetings)
              if (floorDiv(x.x, cell) == col && floorDiv(x.y, cell) == row)
                out.push_back({a.polygon, a.local, b.polygon, b.local, x});
          }
        }
        g = end;
      }
      if (found += out.size() - before; found > maxCrossings) over = true;
      if (over) return;
    }
  };
  // Two halves of the rows, each with about as many edges starting in it,
  // on two threads.
  const int64_t split = firstRow[byFirstRow[byFirstRow.size() / 2]];
  std::vector<TCrossingPair> upper;
  std::thread helper([&] { sweep(split, maxRow + 1, upper, false); });
  sweep(minRow, split, result, true);
  helper.join();
  if (over) {
    result.insert(result.end(), upper.begin(), upper.end());
    if (stopped) *stopped = true;
    return result;
  }
  // Edges are numbered polygon by polygon, so the lower edge of a pair is on
  // the earlier polygon; recording order is by polygon pair first.
  // Placed polygon by polygon first (a counting pass; the two halves of the
  // polygons on two threads), then each polygon's few crossings put in
  // order, on two threads. The order compares every field but the polygon
  // they share, so it does not depend on the order they were found in.
  {
    std::vector<size_t> start(polygons.size() + 1, 0);
    for (const TCrossingPair& c : result) ++start[c.polygonA + 1];
    for (const TCrossingPair& c : upper) ++start[c.polygonA + 1];
    for (size_t p = 1; p < start.size(); ++p) start[p] += start[p - 1];
    std::vector<TCrossingPair> placed(start.back());
    std::vector<size_t> fill(start.begin(), start.end() - 1);
    inTwoParts(placed.size() >= 4096, [&](int part) {
      const uint32_t middle = uint32_t(polygons.size() / 2);
      const auto mine = [&](const TCrossingPair& c) {
        return (c.polygonA >= middle) == (part == 1);
      };
      for (const auto* found : {&result, &upper})
        for (const TCrossingPair& c : *found)
          if (mine(c)) placed[fill[c.polygonA]++] = c;
    });
    std::vector<TCrossingPair>().swap(result);
    std::vector<TCrossingPair>().swap(upper);
    inTwoHalves(polygons.size(), [&](size_t begin, size_t end) {
      for (size_t p = begin; p < end; ++p)
        std::sort(placed.begin() + start[p], placed.begin() + start[p + 1],
                  [](const TCrossingPair& l, const TCrossingPair& r) {
                    return std::tie(l.polygonB, l.edgeA, l.edgeB, l.point.x, l.point.y) <
                           std::tie(r.polygonB, r.edgeA, r.edgeB, r.point.x, r.point.y);
                  });
    });
    result = std::move(placed);
  }
  if (progress) progress(TContourStep::kVectors, polygons.size(), polygons.size());
  return result;
}

namespace {

// Each crossing stands on two edges (numbered through all polygons, `first`
// giving each polygon's first): the crossings are placed edge by edge, in
// recording order within an edge, A's edge before B's. edgeStart gets the
// place of every edge's run; put(slot, polygon, edge, record) fills one
// place. The edges are split in two halves, each filled on its own thread
// in recording order.
template <class Put>
void placeOnEdges(const std::vector<size_t>& first, const std::vector<TCrossingPair>& crossings,
                  std::vector<uint32_t>& edgeStart, Put put) {
  edgeStart.assign(first.back() + 1, 0);
  for (const TCrossingPair& c : crossings) {
    ++edgeStart[first[c.polygonA] + c.edgeA + 1];
    ++edgeStart[first[c.polygonB] + c.edgeB + 1];
  }
  for (size_t e = 1; e < edgeStart.size(); ++e) edgeStart[e] += edgeStart[e - 1];
  std::vector<uint32_t> fill(edgeStart.begin(), edgeStart.end() - 1);
  const size_t edges = first.back();
  auto half = [&](size_t begin, size_t end) {
    for (uint32_t k = 0; k < crossings.size(); ++k) {
      const TCrossingPair& c = crossings[k];
      const size_t a = first[c.polygonA] + c.edgeA, b = first[c.polygonB] + c.edgeB;
      if (a >= begin && a < end) put(fill[a]++, c.polygonA, c.edgeA, k);
      if (b >= begin && b < end) put(fill[b]++, c.polygonB, c.edgeB, k);
    }
  };
  if (crossings.size() < 4096) {
    half(0, edges);
    return;
  }
  std::thread helper([&] { half(edges / 2, edges); });
  half(0, edges / 2);
  helper.join();
}

}  // namespace

void mergeNearCrossings(const std::vector<TScaledPolygon>& polygons,
                        std::vector<TCrossingPair>& crossings, int64_t radius) {
  std::vector<size_t> first(polygons.size() + 1, 0);
  for (size_t p = 0; p < polygons.size(); ++p) first[p + 1] = first[p] + polygons[p].size();
  // Each crossing placed on its two edges, then each edge's few points put
  // in order of distance from its start, on two threads.
  std::vector<uint32_t> edgeStart;
  // With its point, so that neighbours on an edge are compared in one run
  // of memory.
  struct OnEdge {
    int64_t distance;
    uint32_t record;
    TPoint64 point;
  };
  // Every place is filled.
  std::unique_ptr<OnEdge[]> onEdge(new OnEdge[2 * crossings.size()]);
  placeOnEdges(first, crossings, edgeStart,
               [&](uint32_t slot, uint32_t polygon, uint32_t edge, uint32_t record) {
                 const TPoint64 s = polygons[polygon][edge], x = crossings[record].point;
                 onEdge[slot] = {std::abs(x.x - s.x) + std::abs(x.y - s.y), record, x};
               });
  inTwoHalves(edgeStart.size() - 1, [&](size_t begin, size_t end) {
    for (size_t e = begin; e < end; ++e)
      if (edgeStart[e + 1] - edgeStart[e] > 1)
        std::sort(onEdge.get() + edgeStart[e], onEdge.get() + edgeStart[e + 1],
                  [](const OnEdge& l, const OnEdge& r) { return l.distance < r.distance; });
  });
  auto near = [&](TPoint64 a, TPoint64 b, int64_t r) {
    return std::abs(a.x - b.x) <= r && std::abs(a.y - b.y) <= r;
  };
  // Union by the first record; a group never spreads beyond twice the
  // radius from its first point, so a run of close points along an edge
  // does not collapse into one.
  std::vector<uint32_t> root;
  auto find = [&](uint32_t k) {
    while (root[k] != k) k = root[k] = root[root[k]];
    return k;
  };
  for (size_t e = 0; e + 1 < edgeStart.size(); ++e) {
    const uint32_t b = edgeStart[e], end = edgeStart[e + 1];
    if (end - b < 2) continue;
    for (uint32_t i = b; i + 1 < end; ++i) {
      if (!near(onEdge[i].point, onEdge[i + 1].point, radius)) continue;
      const uint32_t k = onEdge[i].record, l = onEdge[i + 1].record;
      if (root.empty()) {
        root.resize(crossings.size());
        std::iota(root.begin(), root.end(), 0u);
      }
      const uint32_t rk = find(k), rl = find(l);
      if (rk == rl || !near(crossings[rk].point, crossings[rl].point, 2 * radius)) continue;
      root[std::max(rk, rl)] = std::min(rk, rl);
    }
  }
  if (root.empty()) return;
  // A point moves only along its edges, never past an end: moved behind
  // the start of its edge (onto the edge before, near a corner), it would
  // fold the polygon back on itself.
  auto alongEdge = [&](uint32_t polygon, uint32_t edge, TPoint64 x) {
    const TScaledPolygon& poly = polygons[polygon];
    const TPoint64 s = poly[edge], e = poly[(edge + 1) % poly.size()];
    const __int128 dx = e.x - s.x, dy = e.y - s.y;
    const __int128 along = dx * (x.x - s.x) + dy * (x.y - s.y);
    return along > 0 && along < dx * dx + dy * dy;
  };
  // The roots settled, each group's point is read on two threads. A root
  // keeps its own point (moving it onto itself changes nothing), so the
  // others can be moved in place.
  for (uint32_t k = 0; k < crossings.size(); ++k) root[k] = find(k);
  inTwoHalves(crossings.size(), [&](size_t begin, size_t end) {
    for (size_t k = begin; k < end; ++k) {
      if (root[k] == k) continue;
      TCrossingPair& c = crossings[k];
      const TPoint64 target = crossings[root[k]].point;
      if (alongEdge(c.polygonA, c.edgeA, target) && alongEdge(c.polygonB, c.edgeB, target))
        c.point = target;
    }
  });
}

std::vector<TScaledPolygon> insertCrossings(const std::vector<TScaledPolygon>& polygons,
                                            const std::vector<TCrossingPair>& crossings) {
  std::vector<size_t> first(polygons.size() + 1, 0);
  for (size_t p = 0; p < polygons.size(); ++p) first[p + 1] = first[p] + polygons[p].size();
  struct OnEdge {
    int64_t distance;
    uint32_t record;
    TPoint64 point;
  };
  // The points are placed edge by edge, then each edge's few points are put
  // in order: far cheaper than sorting them all at once. Every place is
  // filled.
  std::vector<uint32_t> edgeStart;
  std::unique_ptr<OnEdge[]> onEdge(new OnEdge[2 * crossings.size()]);
  placeOnEdges(first, crossings, edgeStart,
               [&](uint32_t slot, uint32_t polygon, uint32_t edge, uint32_t record) {
                 const TPoint64 s = polygons[polygon][edge], x = crossings[record].point;
                 onEdge[slot] = {std::abs(x.x - s.x) + std::abs(x.y - s.y), record, x};
               });
  auto nearerFirst = [](const OnEdge& a, const OnEdge& b) {
    if (a.distance != b.distance) return a.distance < b.distance;
    return a.record > b.record;
  };
  // Polygon by polygon on two threads: its edges' points in order, then the
  // polygon with them.
  std::vector<TScaledPolygon> out(polygons.size());
  inTwoHalves(polygons.size(), [&](size_t begin, size_t end) {
    for (size_t p = begin; p < end; ++p) {
      const uint32_t from = edgeStart[first[p]], to = edgeStart[first[p + 1]];
      out[p].reserve(polygons[p].size() + (to - from));
      for (size_t i = 0; i < polygons[p].size(); ++i) {
        out[p].push_back(polygons[p][i]);
        OnEdge* const b = onEdge.get() + edgeStart[first[p] + i];
        OnEdge* const e = onEdge.get() + edgeStart[first[p] + i + 1];
        if (e - b > 1) std::sort(b, e, nearerFirst);
        for (const OnEdge* x = b; x != e; ++x) out[p].push_back(x->point);
      }
    }
  });
  return out;
}

}  // namespace plavesk
