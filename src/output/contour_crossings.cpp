#include "output/contour_crossings.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <iterator>
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

inline Box64 edgeBox(TPoint64 a, TPoint64 b) {
  return {std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x), std::max(a.y, b.y)};
}

// A flat box is widened by one on both sides of its flat axis.
inline Box64 widened(Box64 b) {
  if (b.x0 == b.x1) --b.x0, ++b.x1;
  if (b.y0 == b.y1) --b.y0, ++b.y1;
  return b;
}

inline bool strictlyOverlap(const Box64& a, const Box64& b) {
  return std::max(a.x0, b.x0) < std::min(a.x1, b.x1) && std::max(a.y0, b.y0) < std::min(a.y1, b.y1);
}

inline bool inside(TPoint64 p, const Box64& b) {
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
// edge (whose first and last rows are row0 and row1).
template <class Emit>
void forEachCellOfRow(const EdgeRef& e, int64_t cell, int64_t row, int64_t row0, int64_t row1,
                      Emit emit) {
  const Box64 plain = edgeBox(e.a, e.b);
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
  inTwoHalves(polygons.size(), [&](size_t begin, size_t end) {
    for (size_t i = begin; i < end; ++i) {
      out[i].reserve(polygons[i].size());
      for (const auto& p : polygons[i])
        out[i].push_back({int64_t(p.x) * kContourScale, int64_t(p.y) * kContourScale});
    }
  });
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

// Untangles polygons [begin, end) into `out`.
void untangle(std::vector<TScaledPolygon>& polygons, size_t begin, size_t end,
              std::vector<TScaledPolygon>& out) {
  out.reserve(end - begin);
  for (size_t i = begin; i < end; ++i) {
    TScaledPolygon& polygon = polygons[i];
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
}

}  // namespace

std::vector<TScaledPolygon> untangledPolygons(std::vector<TScaledPolygon> polygons) {
  // The two halves of the polygons on two threads, joined in order.
  std::vector<TScaledPolygon> out, later;
  inTwoHalves(polygons.size(), [&](size_t begin, size_t end) {
    untangle(polygons, begin, end, begin == 0 ? out : later);
  });
  out.reserve(out.size() + later.size());
  for (auto& polygon : later) out.push_back(std::move(polygon));
  return out;
}

namespace {

// A wide integer as a long double: directly where it fits in 64 bits (the
// same value, both exact).
inline long double toLongDouble(__int128 v) {
  return v == __int128(int64_t(v)) ? (long double)(int64_t(v)) : (long double)v;
}

// The ends of either of two collinear edges that lie inside the other,
// ordered by x, then y.
inline void collinearMeetings(TPoint64 e0, TPoint64 e1, TPoint64 f0, TPoint64 f1,
                              std::vector<TPoint64>& out) {
  for (const TPoint64 p : {e0, e1, f0, f1})
    if (strictlyBetween(p, e0, e1) || strictlyBetween(p, f0, f1)) out.push_back(p);
  std::sort(out.begin(), out.end(),
            [](TPoint64 l, TPoint64 r) { return std::tie(l.x, l.y) < std::tie(r.x, r.y); });
}

// The crossing point of two edges that are not parallel (`d` the cross
// product of their directions), whose widened boxes `be` and `bf` overlap.
inline std::optional<TPoint64> crossingOfNonParallel(TPoint64 e0, TPoint64 e1, TPoint64 f0,
                                                     TPoint64 f1, const Box64& be, const Box64& bf,
                                                     __int128 d) {
  const TPoint64 de{e1.x - e0.x, e1.y - e0.y}, df{f1.x - f0.x, f1.y - f0.y};
  const __int128 num = (__int128)(f0.x - e0.x) * df.y + (__int128)(e0.y - f0.y) * df.x;
  const long double t = toLongDouble(num) / toLongDouble(d);
  // Ties to even, as nearbyint in the default rounding mode.
  const long double rx = std::rint(de.x * t), ry = std::rint(de.y * t);
  constexpr long double kLimit = 4.0e18L;
  if (std::fabs(rx) > kLimit || std::fabs(ry) > kLimit) return std::nullopt;
  // Whole numbers, converted as they are (without a change of the rounding
  // mode that a conversion by truncation takes).
  const TPoint64 x{e0.x + int64_t(std::llrint(rx)), e0.y + int64_t(std::llrint(ry))};
  const Box64 both{std::max(be.x0, bf.x0), std::max(be.y0, bf.y0), std::min(be.x1, bf.x1),
                   std::min(be.y1, bf.y1)};
  if (x.x < both.x0 - 1 || x.x >= both.x1 + 1 || x.y < both.y0 - 1 || x.y >= both.y1 + 1)
    return std::nullopt;
  if (!inside(x, edgeBox(e0, e1)) || !inside(x, edgeBox(f0, f1))) return std::nullopt;
  return x;
}

// edgeCrossing for edges whose widened boxes `be` and `bf` overlap.
inline std::optional<TPoint64> crossingOfOverlapping(TPoint64 e0, TPoint64 e1, TPoint64 f0,
                                                     TPoint64 f1, const Box64& be,
                                                     const Box64& bf) {
  const __int128 d =
      (__int128)(e1.x - e0.x) * (f1.y - f0.y) - (__int128)(e1.y - e0.y) * (f1.x - f0.x);
  if (d == 0) return std::nullopt;
  return crossingOfNonParallel(e0, e1, f0, f1, be, bf, d);
}

// Whether the lines of two edges that are not parallel meet so far beyond
// the end of either edge that no crossing point of them can be recorded:
// the point recorded lies on both edges' boxes, and is the meeting of the
// lines rounded to the grid, so the meeting lies less than a unit beyond
// both boxes along each edge's longer axis. Decided exactly, in integers
// (the long double rounding of the recorded point is far below that unit),
// for edges near enough to each other; false for the others.
inline bool linesMeetBeyond(TPoint64 e0, TPoint64 e1, TPoint64 f0, TPoint64 f1, __int128 d) {
  const int64_t dex = e1.x - e0.x, dey = e1.y - e0.y, dfx = f1.x - f0.x, dfy = f1.y - f0.y;
  const int64_t gx = f0.x - e0.x, gy = f0.y - e0.y;
  constexpr uint64_t kNear = uint64_t(1) << 40;
  const auto small = [](int64_t v) { return uint64_t(v < 0 ? -v : v) < kNear; };
  if (!small(dex) || !small(dey) || !small(dfx) || !small(dfy) || !small(gx) || !small(gy))
    return false;
  // e0 + t de = f0 + s df with t = numT / d, s = numS / d; made d > 0.
  __int128 numT = (__int128)gx * dfy - (__int128)gy * dfx;
  __int128 numS = (__int128)gx * dey - (__int128)gy * dex;
  if (d < 0) d = -d, numT = -numT, numS = -numS;
  // v * num / d within [min(0, v) - 1, max(0, v) + 1] for v the longer
  // axis of the edge's direction.
  const auto within = [d](int64_t vx, int64_t vy, __int128 num) {
    const int64_t v = (vx < 0 ? -vx : vx) >= (vy < 0 ? -vy : vy) ? vx : vy;
    const __int128 along = (__int128)v * num;
    return along >= (__int128)(std::min<int64_t>(0, v) - 1) * d &&
           along <= (__int128)(std::max<int64_t>(0, v) + 1) * d;
  };
  return !within(dex, dey, numT) || !within(dfx, dfy, numS);
}

// edgeMeetings for edges whose widened boxes `be` and `bf` overlap, for the
// grid search: lines meeting too far beyond the edges are told in integers,
// before the crossing point is worked out.
[[gnu::always_inline]] inline void meetingsOfOverlapping(TPoint64 e0, TPoint64 e1, TPoint64 f0,
                                                         TPoint64 f1, const Box64& be,
                                                         const Box64& bf,
                                                         std::vector<TPoint64>& out) {
  const __int128 d =
      (__int128)(e1.x - e0.x) * (f1.y - f0.y) - (__int128)(e1.y - e0.y) * (f1.x - f0.x);
  if (d != 0) {
    // Edges that are not parallel are not collinear either.
    if (linesMeetBeyond(e0, e1, f0, f1, d)) return;
    if (const auto x = crossingOfNonParallel(e0, e1, f0, f1, be, bf, d)) out.push_back(*x);
    return;
  }
  if (collinear(e0, e1, f0, f1)) collinearMeetings(e0, e1, f0, f1, out);
}

}  // namespace

std::optional<TPoint64> edgeCrossing(TPoint64 e0, TPoint64 e1, TPoint64 f0, TPoint64 f1) {
  const Box64 be = widened(edgeBox(e0, e1)), bf = widened(edgeBox(f0, f1));
  if (!strictlyOverlap(be, bf)) return std::nullopt;
  return crossingOfOverlapping(e0, e1, f0, f1, be, bf);
}

void edgeMeetings(TPoint64 e0, TPoint64 e1, TPoint64 f0, TPoint64 f1, std::vector<TPoint64>& out) {
  const Box64 be = widened(edgeBox(e0, e1)), bf = widened(edgeBox(f0, f1));
  if (!strictlyOverlap(be, bf)) return;
  if (const auto x = crossingOfOverlapping(e0, e1, f0, f1, be, bf)) {
    out.push_back(*x);
    return;
  }
  if (collinear(e0, e1, f0, f1)) collinearMeetings(e0, e1, f0, f1, out);
}

std::vector<TCrossingPair> findCrossings(const std::vector<TScaledPolygon>& polygons,
                                         const TContourProgress& progress, size_t maxCrossings,
                                         bool* stopped) {
  if (stopped) *stopped = false;
  // The edges of every polygon counted, then made with their extents, in
  // two ranges of polygons on two threads; a point edge is parallel to
  // everything and left out.
  const size_t polygonCount = polygons.size();
  std::vector<size_t> edgeFirst(polygonCount + 1, 0);
  auto edgeAt = [&](size_t p, size_t i) {
    const auto& poly = polygons[p];
    return std::pair{poly[i], poly[i + 1 < poly.size() ? i + 1 : 0]};
  };
  inTwoHalves(polygonCount, [&](size_t begin, size_t end) {
    for (size_t p = begin; p < end; ++p) {
      size_t count = 0;
      for (size_t i = 0; i < polygons[p].size(); ++i) {
        const auto [a, b] = edgeAt(p, i);
        count += !(a == b);
      }
      edgeFirst[p + 1] = count;
    }
  });
  for (size_t p = 0; p < polygonCount; ++p) edgeFirst[p + 1] += edgeFirst[p];
  const size_t edgeCount = edgeFirst.back();
  std::vector<TCrossingPair> result;
  if (edgeCount == 0) return result;
  std::vector<EdgeRef, TUnsetAllocator<EdgeRef>> edges(edgeCount);
  // Cells about twice the typical edge, so an edge meets a handful of cells;
  // coarser when long edges would fill too many.
  std::unique_ptr<int64_t[]> extents(new int64_t[edgeCount]);
  const size_t edgeSplit = size_t(
      std::lower_bound(edgeFirst.begin(), edgeFirst.end() - 1, edgeCount / 2) - edgeFirst.begin());
  const bool parallel = edgeCount >= 4096;
  {
    const size_t bounds[3] = {0, parallel ? edgeSplit : polygonCount, polygonCount};
    inTwoParts(parallel, [&](int part) {
      for (size_t p = bounds[part]; p < bounds[part + 1]; ++p) {
        size_t k = edgeFirst[p];
        for (size_t i = 0; i < polygons[p].size(); ++i) {
          const auto [a, b] = edgeAt(p, i);
          if (a == b) continue;
          edges[k] = {a, b, widened(edgeBox(a, b)), uint32_t(p), uint32_t(i)};
          extents[k] =
              std::max(edges[k].box.x1 - edges[k].box.x0, edges[k].box.y1 - edges[k].box.y0);
          ++k;
        }
      }
    });
  }
  std::nth_element(extents.get(), extents.get() + edgeCount / 2, extents.get() + edgeCount);
  int64_t cell = std::max<int64_t>(64, 2 * extents[edgeCount / 2]);
  extents.reset();
  auto cellsOf = [&](const EdgeRef& e) {
    const Box64 b = edgeBox(e.a, e.b);
    return double(floorDiv(b.y1 + kCellMargin, cell) - floorDiv(b.y0 - kCellMargin, cell) + 1) +
           double(floorDiv(b.x1 + kCellMargin, cell) - floorDiv(b.x0 - kCellMargin, cell) + 1);
  };
  // The edges in two halves on two threads (sums of whole numbers, exact in
  // any order).
  const size_t halves[3] = {0, edgeCount / 2, edgeCount};
  for (;;) {
    double total[2] = {0, 0};
    inTwoParts(parallel, [&](int part) {
      for (size_t i = halves[part]; i < halves[part + 1]; ++i) total[part] += cellsOf(edges[i]);
    });
    if (total[0] + total[1] <= 64.0 * double(edgeCount) + 1e7) break;
    cell *= 2;
  }

  // The board is swept row by row of cells: only one row's cells are held
  // at a time. A pair of edges meets in several cells; it is counted in the
  // cell that holds its crossing point, which both edges reach.
  std::unique_ptr<int64_t[]> firstRow(new int64_t[edgeCount]), lastRow(new int64_t[edgeCount]);
  int64_t minRows[2] = {INT64_MAX, INT64_MAX}, maxRows[2] = {INT64_MIN, INT64_MIN};
  int64_t minCols[2] = {INT64_MAX, INT64_MAX};
  inTwoParts(parallel, [&](int part) {
    int64_t minRow = INT64_MAX, maxRow = INT64_MIN, minCol = INT64_MAX;
    for (size_t i = halves[part]; i < halves[part + 1]; ++i) {
      const Box64 b = edgeBox(edges[i].a, edges[i].b);
      firstRow[i] = floorDiv(b.y0 - kCellMargin, cell);
      lastRow[i] = floorDiv(b.y1 + kCellMargin, cell);
      minRow = std::min(minRow, firstRow[i]), maxRow = std::max(maxRow, lastRow[i]);
      minCol = std::min(minCol, floorDiv(b.x0 - kCellMargin, cell));
    }
    minRows[part] = minRow, maxRows[part] = maxRow, minCols[part] = minCol;
  });
  const int64_t minRow = std::min(minRows[0], minRows[1]);
  const int64_t maxRow = std::max(maxRows[0], maxRows[1]);
  const int64_t minCol = std::min(minCols[0], minCols[1]);
  std::vector<uint32_t> byFirstRow(edgeCount);
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
    // The edges reaching the row, ascending, each with its rows: copied
    // side by side, as they are read for every row they reach.
    struct Active {
      EdgeRef edge;
      int64_t firstRow, lastRow;
      uint32_t index;
    };
    auto activeOf = [&](uint32_t e) { return Active{edges[e], firstRow[e], lastRow[e], e}; };
    auto ascending = [](const Active& l, const Active& r) { return l.index < r.index; };
    std::vector<Active> active, entering, merged;
    std::vector<uint64_t> entries, sorted;  // column << 32 | place in `active`
    std::vector<uint32_t> columnStart;
    std::vector<TPoint64> meetings;
    std::vector<EdgeRef> here;  // the edges of a cell
    size_t next = size_t(std::lower_bound(byFirstRow.begin(), byFirstRow.end(), rowBegin,
                                          [&](uint32_t e, int64_t r) { return firstRow[e] < r; }) -
                         byFirstRow.begin());
    for (size_t k = 0; k < next; ++k)
      if (lastRow[byFirstRow[k]] >= rowBegin) active.push_back(activeOf(byFirstRow[k]));
    std::sort(active.begin(), active.end(), ascending);
    for (int64_t row = rowBegin; row < rowEnd; ++row) {
      if (next == byFirstRow.size() && active.empty()) break;
      if (next < byFirstRow.size() && active.empty() && firstRow[byFirstRow[next]] > row)
        row = firstRow[byFirstRow[next]];
      if (row >= rowEnd) break;
      if (reports && progress && row % 64 == 0)
        progress(TContourStep::kVectors,
                 size_t(double(row - rowBegin) / double(rowEnd - rowBegin) * polygons.size()),
                 polygons.size());
      std::erase_if(active, [&](const Active& a) { return a.lastRow < row; });
      // The edges starting in the row stand in ascending order.
      entering.clear();
      for (; next < byFirstRow.size() && firstRow[byFirstRow[next]] == row; ++next)
        entering.push_back(activeOf(byFirstRow[next]));
      if (!entering.empty()) {
        merged.clear();
        std::merge(active.begin(), active.end(), entering.begin(), entering.end(),
                   std::back_inserter(merged), ascending);
        active.swap(merged);
      }
      // Each edge's cells in edge order, then counted into place by column:
      // ordered by column, then edge.
      entries.clear();
      uint64_t lowest = UINT64_MAX, highest = 0;
      for (uint32_t k = 0; k < active.size(); ++k) {
        const Active& a = active[k];
        forEachCellOfRow(a.edge, cell, row, a.firstRow, a.lastRow, [&](int64_t col) {
          const uint64_t c = uint64_t(col - minCol);
          lowest = std::min(lowest, c), highest = std::max(highest, c);
          entries.push_back(c << 32 | k);
        });
      }
      if (!entries.empty()) {
        columnStart.assign(size_t(highest - lowest) + 2, 0);
        for (const uint64_t x : entries) ++columnStart[size_t((x >> 32) - lowest) + 1];
        for (size_t c = 1; c < columnStart.size(); ++c) columnStart[c] += columnStart[c - 1];
        sorted.resize(entries.size());
        for (const uint64_t x : entries) sorted[columnStart[size_t((x >> 32) - lowest)]++] = x;
        entries.swap(sorted);
      }
      const size_t before = out.size();
      for (size_t g = 0; g < entries.size();) {
        size_t end = g + 1;
        while (end < entries.size() && entries[end] >> 32 == entries[g] >> 32) ++end;
        const int64_t col = int64_t(entries[g] >> 32) + minCol;
        const int64_t cellX0 = col * cell, cellX1 = cellX0 + cell - 1;
        const int64_t cellY0 = row * cell, cellY1 = cellY0 + cell - 1;
        // The cell's edges stand in edge order, so each polygon's edges form
        // a run; pairs start after the run of their first edge. Copied side
        // by side, as each is read for every pair.
        here.clear();
        for (size_t i = g; i < end; ++i) here.push_back(active[uint32_t(entries[i])].edge);
        size_t runEnd = 0;
        for (size_t i = 0; i + 1 < here.size(); ++i) {
          const EdgeRef& a = here[i];
          if (i == runEnd)
            while (runEnd < here.size() && here[runEnd].polygon == a.polygon) ++runEnd;
          for (size_t j = std::max(runEnd, i + 1); j < here.size(); ++j) {
            const EdgeRef& b = here[j];
            if (!strictlyOverlap(a.box, b.box)) continue;
            // Every meeting lies on both boxes: none in this cell when their
            // overlap misses it.
            if (std::min(a.box.x1, b.box.x1) < cellX0 || std::max(a.box.x0, b.box.x0) > cellX1 ||
                std::min(a.box.y1, b.box.y1) < cellY0 || std::max(a.box.y0, b.box.y0) > cellY1)
              continue;
            meetings.clear();
            meetingsOfOverlapping(a.a, a.b, b.a, b.b, a.box, b.box, meetings);
            for (const TPoint64 x : meetings)
              if (x.x >= cellX0 && x.x <= cellX1 && x.y >= cellY0 && x.y <= cellY1)
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
  // Each half's crossings counted by polygon A as soon as it is done.
  std::vector<uint32_t> byPolygon[2];
  auto sweepHalf = [&](int part) {
    std::vector<TCrossingPair>& out = part == 0 ? result : upper;
    if (part == 0)
      sweep(minRow, split, out, true);
    else
      sweep(split, maxRow + 1, out, false);
    if (over) return;
    byPolygon[part].assign(polygons.size(), 0);
    for (const TCrossingPair& c : out) ++byPolygon[part][c.polygonA];
  };
  std::thread helper([&] { sweepHalf(1); });
  sweepHalf(0);
  helper.join();
  if (over) {
    result.insert(result.end(), upper.begin(), upper.end());
    if (stopped) *stopped = true;
    return result;
  }
  // Edges are numbered polygon by polygon, so the lower edge of a pair is on
  // the earlier polygon; recording order is by polygon pair first.
  // Placed polygon by polygon first, each half's crossings by its own
  // thread (the first half's first), then each polygon's few crossings put
  // in order, on two threads. The order compares every field but the
  // polygon they share, so it does not depend on the order they were found
  // in.
  {
    std::vector<uint32_t> start(polygons.size() + 1);
    start[0] = 0;
    for (size_t p = 0; p < polygons.size(); ++p) {
      const uint32_t lower = byPolygon[0][p], higher = byPolygon[1][p];
      byPolygon[0][p] = start[p];
      byPolygon[1][p] = start[p] + lower;
      start[p + 1] = start[p] + lower + higher;
    }
    std::vector<TCrossingPair> placed(start.back());
    const bool parallel = placed.size() >= 4096;
    inTwoParts(parallel, [&](int part) {
      uint32_t* const fill = byPolygon[part].data();
      for (const TCrossingPair& c : part == 0 ? result : upper) placed[fill[c.polygonA]++] = c;
    });
    std::vector<TCrossingPair>().swap(result);
    std::vector<TCrossingPair>().swap(upper);
    // Two ranges of polygons with about as many crossings.
    const size_t middle =
        size_t(std::lower_bound(start.begin(), start.end() - 1, start.back() / 2) - start.begin());
    const size_t bounds[3] = {0, parallel ? middle : polygons.size(), polygons.size()};
    inTwoParts(parallel, [&](int part) {
      for (size_t p = bounds[part]; p < bounds[part + 1]; ++p)
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
// recording order within an edge. edgeStart gets the place of every edge's
// run, records[slot] the crossing. The crossings are split in two halves,
// each counted and then placed on its own thread: on every edge the first
// half's crossings come before the second half's.
struct EdgePlaces {
  std::vector<uint32_t> edgeStart;
  std::unique_ptr<uint32_t[]> records;
};

EdgePlaces placeOnEdges(const std::vector<size_t>& first,
                        const std::vector<TCrossingPair>& crossings) {
  const size_t edges = first.back();
  const size_t halves[3] = {0, crossings.size() / 2, crossings.size()};
  // Per half: its crossings on every edge, then where its next one goes.
  std::unique_ptr<uint32_t[]> fill[2] = {std::unique_ptr<uint32_t[]>(new uint32_t[edges]),
                                         std::unique_ptr<uint32_t[]>(new uint32_t[edges])};
  const bool parallel = crossings.size() >= 4096;
  inTwoParts(parallel, [&](int part) {
    uint32_t* const count = fill[part].get();
    std::fill(count, count + edges, 0u);
    for (size_t k = halves[part]; k < halves[part + 1]; ++k) {
      const TCrossingPair& c = crossings[k];
      ++count[first[c.polygonA] + c.edgeA];
      ++count[first[c.polygonB] + c.edgeB];
    }
  });
  EdgePlaces out;
  out.edgeStart.resize(edges + 1);
  uint32_t at = 0;
  for (size_t e = 0; e < edges; ++e) {
    out.edgeStart[e] = at;
    const uint32_t lower = fill[0][e];
    fill[0][e] = at;
    at += lower;
    const uint32_t upper = fill[1][e];
    fill[1][e] = at;
    at += upper;
  }
  out.edgeStart[edges] = at;
  // Every place is filled.
  out.records.reset(new uint32_t[at]);
  inTwoParts(parallel, [&](int part) {
    uint32_t* const next = fill[part].get();
    uint32_t* const records = out.records.get();
    for (size_t k = halves[part]; k < halves[part + 1]; ++k) {
      const TCrossingPair& c = crossings[k];
      records[next[first[c.polygonA] + c.edgeA]++] = uint32_t(k);
      records[next[first[c.polygonB] + c.edgeB]++] = uint32_t(k);
    }
  });
  return out;
}

// The polygons split in two ranges holding about as many placed crossings,
// f(begin, end, part) called for each, on two threads when `parallel`.
template <class F>
void inTwoPolygonRanges(const std::vector<size_t>& first, const std::vector<uint32_t>& edgeStart,
                        bool parallel, F f) {
  const size_t polygons = first.size() - 1;
  const uint32_t half = edgeStart.back() / 2;
  const size_t split = size_t(std::partition_point(first.begin(), first.end() - 1,
                                                   [&](size_t e) { return edgeStart[e] < half; }) -
                              first.begin());
  const size_t bounds[3] = {0, parallel ? split : polygons, polygons};
  inTwoParts(parallel, [&](int part) { f(bounds[part], bounds[part + 1], part); });
}

// A crossing on an edge: its distance from the edge's start (Manhattan),
// its record and its point.
struct OnEdge {
  int64_t distance;
  uint32_t record;
  TPoint64 point;
};

// The crossings of edge `edge` of polygon `polygon` (slots [from, to)) into
// `out`, in their placed order. The records lie anywhere among the
// crossings: those of the slots up to `ahead` further on are fetched
// (`fetched` tells how far that went; the slots run up to `last`).
void gatherEdge(const std::vector<TScaledPolygon>& polygons,
                const std::vector<TCrossingPair>& crossings, const uint32_t* records, uint32_t from,
                uint32_t to, uint32_t polygon, uint32_t edge, std::vector<OnEdge>& out,
                uint32_t& fetched, uint32_t last) {
  constexpr uint32_t kAhead = 24;
  for (fetched = std::max(fetched, from); fetched < std::min(last, to + kAhead); ++fetched)
    __builtin_prefetch(&crossings[records[fetched]].point);
  out.clear();
  const TPoint64 s = polygons[polygon][edge];
  for (uint32_t i = from; i < to; ++i) {
    const TPoint64 x = crossings[records[i]].point;
    out.push_back({std::abs(x.x - s.x) + std::abs(x.y - s.y), records[i], x});
  }
}

}  // namespace

void mergeNearCrossings(const std::vector<TScaledPolygon>& polygons,
                        std::vector<TCrossingPair>& crossings, int64_t radius) {
  std::vector<size_t> first(polygons.size() + 1, 0);
  for (size_t p = 0; p < polygons.size(); ++p) first[p + 1] = first[p] + polygons[p].size();
  const EdgePlaces placed = placeOnEdges(first, crossings);
  auto near = [&](TPoint64 a, TPoint64 b, int64_t r) {
    return std::abs(a.x - b.x) <= r && std::abs(a.y - b.y) <= r;
  };
  // Each edge's few points put in order of distance from its start, and
  // the neighbours close enough to join noted, edge by edge, the two
  // ranges of polygons on two threads.
  std::vector<std::pair<uint32_t, uint32_t>> close[2];
  inTwoPolygonRanges(
      first, placed.edgeStart, crossings.size() >= 4096, [&](size_t begin, size_t end, int part) {
        std::vector<OnEdge> onEdge;
        uint32_t fetched = 0;
        const uint32_t last = placed.edgeStart[first[end]];
        for (size_t p = begin; p < end; ++p)
          for (size_t e = first[p]; e < first[p + 1]; ++e) {
            const uint32_t from = placed.edgeStart[e], to = placed.edgeStart[e + 1];
            if (to - from < 2) continue;
            gatherEdge(polygons, crossings, placed.records.get(), from, to, uint32_t(p),
                       uint32_t(e - first[p]), onEdge, fetched, last);
            std::sort(onEdge.begin(), onEdge.end(),
                      [](const OnEdge& l, const OnEdge& r) { return l.distance < r.distance; });
            for (size_t i = 0; i + 1 < onEdge.size(); ++i)
              if (near(onEdge[i].point, onEdge[i + 1].point, radius))
                close[part].push_back({onEdge[i].record, onEdge[i + 1].record});
          }
      });
  // Union by the first record, edge by edge; a group never spreads beyond
  // twice the radius from its first point, so a run of close points along
  // an edge does not collapse into one.
  std::vector<uint32_t> root;
  auto find = [&](uint32_t k) {
    while (root[k] != k) k = root[k] = root[root[k]];
    return k;
  };
  if (!close[0].empty() || !close[1].empty()) {
    root.resize(crossings.size());
    std::iota(root.begin(), root.end(), 0u);
  }
  for (const auto& pairs : close)
    for (const auto& [k, l] : pairs) {
      const uint32_t rk = find(k), rl = find(l);
      if (rk == rl || !near(crossings[rk].point, crossings[rl].point, 2 * radius)) continue;
      root[std::max(rk, rl)] = std::min(rk, rl);
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
  // The points are placed edge by edge, then each edge's few points are put
  // in order: far cheaper than sorting them all at once.
  const EdgePlaces placed = placeOnEdges(first, crossings);
  auto nearerFirst = [](const OnEdge& a, const OnEdge& b) {
    if (a.distance != b.distance) return a.distance < b.distance;
    return a.record > b.record;
  };
  // Polygon by polygon on two threads: its edges' points in order, then the
  // polygon with them.
  std::vector<TScaledPolygon> out(polygons.size());
  inTwoPolygonRanges(
      first, placed.edgeStart, crossings.size() >= 4096, [&](size_t begin, size_t end, int) {
        std::vector<OnEdge> onEdge;
        uint32_t fetched = 0;
        const uint32_t last = placed.edgeStart[first[end]];
        for (size_t p = begin; p < end; ++p) {
          const uint32_t from = placed.edgeStart[first[p]], to = placed.edgeStart[first[p + 1]];
          out[p].reserve(polygons[p].size() + (to - from));
          for (size_t i = 0; i < polygons[p].size(); ++i) {
            out[p].push_back(polygons[p][i]);
            const size_t e = first[p] + i;
            gatherEdge(polygons, crossings, placed.records.get(), placed.edgeStart[e],
                       placed.edgeStart[e + 1], uint32_t(p), uint32_t(i), onEdge, fetched, last);
            if (onEdge.size() > 1) std::sort(onEdge.begin(), onEdge.end(), nearerFirst);
            for (const OnEdge& x : onEdge) out[p].push_back(x.point);
          }
        }
      });
  return out;
}

}  // namespace plavesk
