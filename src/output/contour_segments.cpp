#include "output/contour_segments.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <thread>

#include "output/contour_parallel.h"
#include "view/geometry.h"

namespace plavesk {
namespace {

int32_t halfChannel(int32_t cw) {
  return static_cast<int32_t>(std::nearbyint(cw / 2.0));
}

// The fields the geometry reads; the runtime references stay behind.
TObjektPtr geometryCopy(const TObjekt& e) {
  auto c = std::make_unique<TObjekt>();
  c->kind = e.kind;
  c->x = e.x;
  c->y = e.y;
  c->dim1 = e.dim1;
  c->dim2 = e.dim2;
  c->dim3 = e.dim3;
  c->selected = e.selected;
  c->layer = e.layer;
  c->padShape = e.padShape;
  c->points = e.points;
  c->angle = e.angle;
  c->filled = e.filled;
  c->clearance = e.clearance;
  c->mirrorH = e.mirrorH;
  c->mirrorV = e.mirrorV;
  c->closed = 1;
  c->text = e.text;
  for (const auto& stroke : e.strokes) c->strokes.push_back(geometryCopy(*stroke));
  return c;
}

bool overlaps(const TRect& a, const TRect& b) {
  return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

// Whether the segment p..q meets the closed box: an end inside it, or the
// boxes overlapping and the corners not all on one side of the line.
bool segmentMeetsBox(TPoint p, TPoint q, const Region::Box& box) {
  if (std::max(p.x, q.x) < box.left || std::min(p.x, q.x) > box.right ||
      std::max(p.y, q.y) < box.top || std::min(p.y, q.y) > box.bottom)
    return false;
  int sides = 0;
  for (const auto& [x, y] : {std::pair{box.left, box.top},
                             {box.right, box.top},
                             {box.left, box.bottom},
                             {box.right, box.bottom}}) {
    const __int128 c = __int128(q.x - int64_t(p.x)) * (y - int64_t(p.y)) -
                       __int128(q.y - int64_t(p.y)) * (x - int64_t(p.x));
    sides |= c > 0 ? 1 : (c < 0 ? 2 : 3);
  }
  return sides == 3;
}

// Whether the closed box lies inside the even-odd inside of an area's
// points, meeting none of its edges; exact.
bool boxInsidePoints(const Region::Box& box, const std::vector<TPoint>& pts) {
  for (size_t i = 0, j = pts.size() - 1; i < pts.size(); j = i++)
    if (segmentMeetsBox(pts[j], pts[i], box)) return false;
  // No edge meets the box, so it lies wholly inside or wholly outside, and
  // its corner lies on no edge.
  const int64_t px = box.left, py = box.top;
  bool in = false;
  for (size_t i = 0, j = pts.size() - 1; i < pts.size(); j = i++) {
    const TPoint a = pts[j], b = pts[i];
    if ((a.y > py) == (b.y > py)) continue;
    // The edge crosses the line y = py right of the corner.
    const __int128 num =
        __int128(b.x - int64_t(a.x)) * (py - a.y) - __int128(px - a.x) * (b.y - int64_t(a.y));
    if ((num > 0) == (b.y > a.y)) in = !in;
  }
  return in;
}

// Whether the closed box lies inside the outline of a whole ring or disc
// with a unit to spare: its curves are polygons within half a unit of the
// circles.
bool boxInsideWholeCircle(const Region::Box& box, const TObjekt& c) {
  const int64_t r = c.dim1, d = c.dim2;
  if (c.angle != c.dim3 || r < 2) return false;
  const int64_t fx =
      std::max(std::abs(box.left - int64_t(c.x)), std::abs(box.right - int64_t(c.x)));
  const int64_t fy =
      std::max(std::abs(box.top - int64_t(c.y)), std::abs(box.bottom - int64_t(c.y)));
  if (fx * fx + fy * fy > (r - 1) * (r - 1)) return false;
  if (c.filled || d <= 0) return true;
  const int64_t nx = std::clamp<int64_t>(c.x, box.left, box.right) - c.x;
  const int64_t ny = std::clamp<int64_t>(c.y, box.top, box.bottom) - c.y;
  return nx * nx + ny * ny >= (d + 1) * (d + 1);
}

// Whether b's outline minus a's (the outline of element ea) is empty. An
// area or a whole circle around b's box covers b without looking at the
// outlines.
bool isCovered(const std::optional<Region>& b, const std::optional<Region>& a, const TObjekt& ea) {
  if (!b || b->empty()) return true;
  if (!a || a->empty()) return false;
  const Region::Box bb = b->boundingBox();
  if (!bb.inside(a->boundingBox())) return false;
  if (ea.kind == kArea && ea.points.size() > 2 && boxInsidePoints(bb, ea.points)) return true;
  if (ea.kind == kCircle && boxInsideWholeCircle(bb, ea)) return true;
  return a->contains(*b);
}

}  // namespace

void applyChannelWidth(TObjekt& e, int32_t cw) {
  switch (e.kind) {
    case kLine:
    case kArea:
    case kTrack:
      e.dim3 += cw;
      break;
    case kPad:
      e.dim1 += halfChannel(cw);
      break;
    case kCircle:
      e.dim1 += halfChannel(cw);
      e.dim2 = std::max(0, e.dim2 - halfChannel(cw));
      break;
    case kText:
      for (auto& stroke : e.strokes) stroke->dim3 += cw;
      break;
    case kSmdPad:
      e.dim1 += cw;
      e.dim2 += cw;
      break;
    default:
      break;
  }
}

const std::optional<Region>& TContourWorkSet::outline(size_t i) {
  if (!outlineMade[i]) {
    outlines[i] = elementOutline(*copies[i]);
    outlineMade[i] = 1;
  }
  return outlines[i];
}

TContourWorkSet makeContourWorkSet(const TObjektList& list, const TContourOptions& options) {
  TContourWorkSet work;
  std::vector<const TObjekt*> taken;
  for (const auto& e : list) {
    if (e->layer != options.layer || isSingleLineText(*e, options)) continue;
    if (e->kind == kPad && e->dim1 == e->dim2) continue;  // a bare hole has no copper
    taken.push_back(e.get());
  }
  work.copies.resize(taken.size());
  work.bounds.resize(taken.size());
  inTwoHalves(taken.size(), [&](size_t begin, size_t end) {
    for (size_t i = begin; i < end; ++i) {
      work.copies[i] = geometryCopy(*taken[i]);
      applyChannelWidth(*work.copies[i], options.channelWidth);
      work.bounds[i] = elementBounds(*work.copies[i]);
    }
  });
  work.takesPart.assign(work.copies.size(), 1);
  work.outlines.resize(work.copies.size());
  work.outlineMade.assign(work.copies.size(), 0);
  return work;
}

namespace {

int32_t clamped(int64_t v) {
  return int32_t(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX));
}

TRect inflated(const TRect& r, int64_t by) {
  return {clamped(r.left - by), clamped(r.top - by), clamped(r.right + by), clamped(r.bottom + by)};
}

TRect pointsBox(const std::vector<TPoint>& points) {
  TRect r{points[0].x, points[0].y, points[0].x, points[0].y};
  for (const auto& p : points) {
    r.left = std::min(r.left, p.x), r.right = std::max(r.right, p.x);
    r.top = std::min(r.top, p.y), r.bottom = std::max(r.bottom, p.y);
  }
  return r;
}

// What the covered-element pass knows of an element without its outline:
// a box surely inside the outline's box, a box surely around the outline
// and a point surely inside the outline. An element may lack the inner box
// and the point (a shape of no size, a track of one point: its outline can
// be empty) and then is always clipped.
struct Core {
  bool known = false;  // box and anchor
  TPoint anchor;
  // More points surely inside the outline, spread over it.
  std::array<TPoint, 4> more;
  int moreCount = 0;
  void add(TPoint p) {
    if (moreCount < 4) more[moreCount++] = p;
  }
  TRect box;
  TRect around;
};

TRect spanning(TRect a, const TRect& b) {
  a.left = std::min(a.left, b.left), a.right = std::max(a.right, b.right);
  a.top = std::min(a.top, b.top), a.bottom = std::max(a.bottom, b.bottom);
  return a;
}

Core coreOf(const TObjekt& e, const TRect& bounds) {
  Core c;
  // Fallback: the bounds, grown where a negative clearance shrank them.
  c.around = inflated(bounds, std::max<int32_t>(-e.clearance, 0) + 2);
  switch (e.kind) {
    case kPad: {
      if (e.padShape < 1 || e.padShape > 9 || e.dim1 < 3) return c;
      const int64_t ex = (e.padShape >= 4 && e.padShape <= 6 ? 2 : 1) * int64_t(e.dim1);
      const int64_t ey = (e.padShape >= 7 ? 2 : 1) * int64_t(e.dim1);
      c.around = {clamped(e.x - ex - 2), clamped(e.y - ey - 2), clamped(e.x + ex + 2),
                  clamped(e.y + ey + 2)};
      c.box = {clamped(e.x - ex + 2), clamped(e.y - ey + 2), clamped(e.x + ex - 2),
               clamped(e.y + ey - 2)};
      c.anchor = {e.x, e.y};
      c.known = true;
      for (const auto& [dx, dy] :
           {std::pair{ex - 2, int64_t(0)}, {2 - ex, 0}, {0, ey - 2}, {0, 2 - ey}})
        c.add({clamped(e.x + dx), clamped(e.y + dy)});
      return c;
    }
    case kSmdPad: {
      if (e.dim1 < 4 || e.dim2 < 4) return c;
      const int64_t hw = std::lround(e.dim1 / 2.0), hh = std::lround(e.dim2 / 2.0);
      c.around = {clamped(e.x - hw - 2), clamped(e.y - hh - 2), clamped(e.x + hw + 2),
                  clamped(e.y + hh + 2)};
      c.box = {clamped(e.x - hw + 2), clamped(e.y - hh + 2), clamped(e.x + hw - 2),
               clamped(e.y + hh - 2)};
      c.anchor = {e.x, e.y};
      c.known = true;
      for (const auto& [dx, dy] :
           {std::pair{hw - 2, hh - 2}, {2 - hw, hh - 2}, {hw - 2, 2 - hh}, {2 - hw, 2 - hh}})
        c.add({clamped(e.x + dx), clamped(e.y + dy)});
      return c;
    }
    case kTrack:
    case kArea:
      if (e.points.size() < 2) return c;
      c.box = pointsBox(e.points);
      c.around = inflated(c.box, std::max<int64_t>(e.dim3 / 2, 1) + 2);
      c.anchor = e.points[0];
      c.known = true;
      c.add(e.points.back());
      c.add(e.points[e.points.size() / 2]);
      return c;
    case kText: {
      for (const auto& stroke : e.strokes) {
        if (stroke->points.size() < 2) continue;
        const TRect box = pointsBox(stroke->points);
        const TRect around = inflated(box, std::max<int64_t>(stroke->dim3 / 2, 1) + 2);
        if (!c.known) {
          c.box = box, c.around = around, c.anchor = stroke->points[0], c.known = true;
          c.add(stroke->points.back());
        } else {
          c.add(stroke->points[0]);
          c.box = spanning(c.box, box), c.around = spanning(c.around, around);
        }
      }
      return c;
    }
    case kCircle: {
      // elementBounds grows the outline's box by half of dim3 (20 for 0)
      // and the clearance.
      if (bounds == TRect{}) return c;
      const int64_t grown = (e.dim3 / 2 != 0 ? e.dim3 / 2 : 20) + int64_t(e.clearance);
      c.around = inflated(bounds, 2 - grown);
      const int32_t inner = e.filled ? std::max(e.dim2, 1) : e.dim2;
      if (e.dim1 - inner < 8 || inner < 0) return c;
      c.box = inflated(bounds, -grown - 2);
      if (c.box.left > c.box.right || c.box.top > c.box.bottom) return c;
      // The middle of the start: the centre of its round end, or a point of
      // the full ring or disc.
      c.anchor = arcPoint(e, e.angle, inner + (e.dim1 - inner) / 2);
      c.known = true;
      c.add(arcPoint(e, e.dim3, inner + (e.dim1 - inner) / 2));
      return c;
    }
    default:
      return c;
  }
}

// Even-odd inside test of an area's points.
bool insidePoints(const std::vector<TPoint>& pts, TPoint p) {
  bool in = false;
  for (size_t i = 0, j = pts.size() - 1; i < pts.size(); j = i++) {
    const TPoint a = pts[j], b = pts[i];
    if ((a.y > p.y) == (b.y > p.y)) continue;
    const double x = a.x + (double(p.y) - a.y) * (double(b.x) - a.x) / (double(b.y) - a.y);
    if (x > p.x) in = !in;
  }
  return in;
}

bool boxWithin(const TRect& inner, const TRect& outer) {
  return inner.left >= outer.left && inner.right <= outer.right && inner.top >= outer.top &&
         inner.bottom <= outer.bottom;
}

// Whether p lies within `d` of the segment a..b.
bool withinOfSegment(TPoint p, TPoint a, TPoint b, double d) {
  const double dx = double(b.x) - a.x, dy = double(b.y) - a.y;
  const double px = double(p.x) - a.x, py = double(p.y) - a.y;
  const double length = dx * dx + dy * dy;
  const double u = length > 0 ? std::clamp((px * dx + py * dy) / length, 0.0, 1.0) : 0.0;
  const double ex = px - u * dx, ey = py - u * dy;
  return ex * ex + ey * ey <= d * d;
}

// Cells over the board: the anchors of the elements that have one, and the
// bounds of those that have none.
class CoverGrid {
 public:
  CoverGrid(const std::vector<Core>& cores, const std::vector<TRect>& bounds) {
    const size_t n = cores.size();
    if (n == 0) return;
    std::vector<int64_t> extents;
    extents.reserve(n);
    TRect all = bounds[0];
    for (size_t i = 0; i < n; ++i) {
      const TRect& b = bounds[i];
      extents.push_back(std::max(int64_t(b.right) - b.left, int64_t(b.bottom) - b.top));
      all.left = std::min(all.left, b.left), all.right = std::max(all.right, b.right);
      all.top = std::min(all.top, b.top), all.bottom = std::max(all.bottom, b.bottom);
    }
    std::nth_element(extents.begin(), extents.begin() + n / 2, extents.end());
    cell_ = std::max<int64_t>(64, extents[n / 2]);
    while ((span(all.left, all.right)) * (span(all.top, all.bottom)) > int64_t(2 * n + 16))
      cell_ *= 2;
    left_ = floorDiv(all.left), top_ = floorDiv(all.top);
    cols_ = span(all.left, all.right), rows_ = span(all.top, all.bottom);
    std::vector<std::pair<uint32_t, uint32_t>> entries;  // cell, element
    entries.reserve(n);
    for (uint32_t i = 0; i < n; ++i) {
      if (cores[i].known) {
        entries.push_back({cellAt(cores[i].anchor.x, cores[i].anchor.y), i});
        continue;
      }
      const TRect& b = bounds[i];
      const int64_t c0 = floorDiv(b.left) - left_, c1 = floorDiv(b.right) - left_;
      const int64_t r0 = floorDiv(b.top) - top_, r1 = floorDiv(b.bottom) - top_;
      if ((c1 - c0 + 1) * (r1 - r0 + 1) > 64) {
        oversized_.push_back(i);
        continue;
      }
      for (int64_t r = r0; r <= r1; ++r)
        for (int64_t c = c0; c <= c1; ++c) entries.push_back({uint32_t(r * cols_ + c), i});
    }
    start_.assign(size_t(cols_ * rows_) + 1, 0);
    for (const auto& e : entries) ++start_[e.first + 1];
    for (size_t c = 1; c < start_.size(); ++c) start_[c] += start_[c - 1];
    items_.resize(entries.size());
    std::vector<uint32_t> fill(start_.begin(), start_.end() - 1);
    for (const auto& e : entries) items_[fill[e.first]++] = e.second;
    stamp_.assign(n, 0);
  }

  // Calls f once for every element registered in a cell that meets the box.
  template <class F>
  void inBox(const TRect& box, F f) {
    if (!next()) return;
    const int64_t c0 = std::max<int64_t>(0, floorDiv(box.left) - left_),
                  c1 = std::min<int64_t>(cols_ - 1, floorDiv(box.right) - left_),
                  r0 = std::max<int64_t>(0, floorDiv(box.top) - top_),
                  r1 = std::min<int64_t>(rows_ - 1, floorDiv(box.bottom) - top_);
    for (int64_t r = r0; r <= r1; ++r)
      for (int64_t c = c0; c <= c1; ++c) visit(size_t(r * cols_ + c), f);
    for (uint32_t i : oversized_) once(i, f);
  }

  // The same for the cells within `margin` of a segment, row by row.
  template <class F>
  void alongSegment(TPoint a, TPoint b, int64_t margin, F f) {
    const int64_t r0 = std::max<int64_t>(0, floorDiv(std::min(a.y, b.y) - margin) - top_),
                  r1 = std::min<int64_t>(rows_ - 1, floorDiv(std::max(a.y, b.y) + margin) - top_);
    const double dx = double(b.x) - a.x, dy = double(b.y) - a.y;
    for (int64_t r = r0; r <= r1; ++r) {
      double x0 = std::min(a.x, b.x), x1 = std::max(a.x, b.x);
      if (dy != 0) {
        const double ylo =
            std::max<double>(std::min(a.y, b.y), double((r + top_) * cell_ - margin));
        const double yhi =
            std::min<double>(std::max(a.y, b.y), double((r + top_ + 1) * cell_ + margin));
        const double xa = a.x + (ylo - a.y) * dx / dy, xb = a.x + (yhi - a.y) * dx / dy;
        x0 = std::max(x0, std::min(xa, xb) - 1), x1 = std::min(x1, std::max(xa, xb) + 1);
      }
      const int64_t c0 = std::max<int64_t>(0, floorDiv(int64_t(std::floor(x0)) - margin) - left_),
                    c1 = std::min<int64_t>(cols_ - 1,
                                           floorDiv(int64_t(std::ceil(x1)) + margin) - left_);
      for (int64_t c = c0; c <= c1; ++c) visit(size_t(r * cols_ + c), f);
    }
  }
  // Starts a new query of several calls; false for an empty grid.
  bool next() {
    if (start_.empty()) return false;
    if (++query_ == 0) std::fill(stamp_.begin(), stamp_.end(), 0), query_ = 1;
    return true;
  }
  template <class F>
  void oversized(F f) {
    for (uint32_t i : oversized_) once(i, f);
  }

 private:
  int64_t floorDiv(int64_t v) const { return v >= 0 ? v / cell_ : -((-v + cell_ - 1) / cell_); }
  int64_t span(int64_t lo, int64_t hi) const { return floorDiv(hi) - floorDiv(lo) + 1; }
  uint32_t cellAt(int64_t x, int64_t y) const {
    return uint32_t((floorDiv(y) - top_) * cols_ + (floorDiv(x) - left_));
  }
  template <class F>
  void visit(size_t c, F& f) {
    for (uint32_t k = start_[c]; k < start_[c + 1]; ++k) once(items_[k], f);
  }
  template <class F>
  void once(uint32_t i, F& f) {
    if (stamp_[i] == query_) return;
    stamp_[i] = query_;
    f(i);
  }

  int64_t cell_ = 64, left_ = 0, top_ = 0, cols_ = 0, rows_ = 0;
  std::vector<uint32_t> start_, items_, oversized_, stamp_;
  uint32_t query_ = 0;
};

}  // namespace

std::vector<TShapePolygon> buildSegments(TContourWorkSet& work, const TContourProgress& progress) {
  const size_t n = work.copies.size();
  auto report = [&](size_t position) {
    if (progress) progress(TContourStep::kSegments, position, 2 * n);
  };
  const std::vector<TRect>& bounds = work.bounds;
  std::vector<Core> cores(n);
  for (size_t i = 0; i < n; ++i) cores[i] = coreOf(*work.copies[i], bounds[i]);
  std::vector<TRect> reaches(n);
  for (size_t i = 0; i < n; ++i) reaches[i] = cores[i].around;
  CoverGrid grid(cores, reaches);
  // The pairs (a, b) where a may cover b, found by cheap tests; the clipping
  // that decides them runs on two threads, and the decisions are applied in
  // list order afterwards, as if each had been made in turn.
  // Found for the two halves of the list on two threads, each with its own
  // copy of the grid (which marks what a query has visited), and joined.
  auto findPairs = [&](CoverGrid& grid, size_t begin, size_t end, std::vector<uint32_t>& starts,
                       std::vector<uint32_t>& pairB) {
    for (size_t a = begin; a < end; ++a) {
      if (begin == 0 && a % 256 == 0) report(a / 2);
      starts[a] = uint32_t(pairB.size());
      const TObjekt& ea = *work.copies[a];
      // Everything a covers lies in its outline, and so in its bounds grown
      // by what the clearance took away.
      const TRect& reach = reaches[a];
      const int64_t halfWidth = std::max<int64_t>(ea.dim3 / 2, 1) + 2;
      // Whether p can lie in a's outline, by cheap tests of its shape.
      auto mayHold = [&](TPoint p) {
        if (p.x < reach.left || p.x > reach.right || p.y < reach.top || p.y > reach.bottom)
          return false;
        if (ea.kind == kTrack || ea.kind == kArea) {
          for (size_t i = 0; i + 1 < ea.points.size(); ++i)
            if (withinOfSegment(p, ea.points[i], ea.points[i + 1], double(halfWidth))) return true;
          if (ea.kind == kArea && ea.points.size() > 2)
            return withinOfSegment(p, ea.points.back(), ea.points[0], double(halfWidth)) ||
                   insidePoints(ea.points, p);
          return false;
        }
        if (ea.kind == kCircle) {
          const double dx = double(p.x) - ea.x, dy = double(p.y) - ea.y, r2 = dx * dx + dy * dy;
          const double outer = ea.dim1 + 2.0, inner = std::max(ea.dim2 - 2.0, 0.0);
          return r2 <= outer * outer && (ea.filled || r2 >= inner * inner);
        }
        return true;
      };
      auto consider = [&](uint32_t b) {
        if (b == a || !overlaps(bounds[a], bounds[b])) return;
        const Core& cb = cores[b];
        if (cb.known) {
          if (!boxWithin(cb.box, reach)) return;
          if (!mayHold(cb.anchor)) return;
          for (int k = 0; k < cb.moreCount; ++k)
            if (!mayHold(cb.more[k])) return;
        }
        pairB.push_back(b);
      };
      // A track covers only what lies along it: its box can be the board's.
      if (ea.kind == kTrack && ea.points.size() >= 2) {
        if (!grid.next()) continue;
        for (size_t i = 0; i + 1 < ea.points.size(); ++i)
          grid.alongSegment(ea.points[i], ea.points[i + 1], halfWidth + 1, consider);
        grid.oversized(consider);
      } else {
        grid.inBox(reach, consider);
      }
    }
  };
  std::vector<uint32_t> pairStart(n + 1, 0), pairB;
  if (n < 4096) {
    findPairs(grid, 0, n, pairStart, pairB);
  } else {
    CoverGrid second = grid;
    std::vector<uint32_t> upper;
    std::thread helper([&] { findPairs(second, n / 2, n, pairStart, upper); });
    findPairs(grid, 0, n / 2, pairStart, pairB);
    helper.join();
    const uint32_t shift = uint32_t(pairB.size());
    for (size_t a = n / 2; a < n; ++a) pairStart[a] += shift;
    pairB.insert(pairB.end(), upper.begin(), upper.end());
  }
  pairStart[n] = uint32_t(pairB.size());
  std::vector<uint32_t> needed;
  std::vector<uint8_t> wanted(n, 0);
  for (size_t a = 0; a < n; ++a)
    if (pairStart[a + 1] > pairStart[a]) wanted[a] = 1;
  for (uint32_t b : pairB) wanted[b] = 1;
  for (size_t i = 0; i < n; ++i)
    if (wanted[i]) needed.push_back(uint32_t(i));
  // An outline built from several pieces merges them the first time it is
  // clipped or measured, in place: done here, each outline by one thread,
  // so that the clipping below only reads them.
  inChunks(needed.size(), 256, [&](size_t begin, size_t end, bool) {
    for (size_t k = begin; k < end; ++k) {
      const uint32_t i = needed[k];
      if (!work.outlineMade[i]) work.outlines[i] = elementOutline(*work.copies[i]);
      if (work.outlines[i]) work.outlines[i]->area();
    }
  });
  for (uint32_t i : needed) work.outlineMade[i] = 1;
  std::vector<uint8_t> covered(pairB.size(), 0);
  std::vector<uint32_t> pairA(pairB.size());
  for (size_t a = 0; a < n; ++a)
    for (uint32_t k = pairStart[a]; k < pairStart[a + 1]; ++k) pairA[k] = uint32_t(a);
  // Some pairs are settled at once, others take a clipping: shared out in
  // chunks.
  inChunks(pairB.size(), 256, [&](size_t begin, size_t end, bool) {
    for (size_t k = begin; k < end; ++k)
      covered[k] =
          isCovered(work.outlines[pairB[k]], work.outlines[pairA[k]], *work.copies[pairA[k]]);
  });
  for (size_t a = 0; a < n; ++a) {
    if (!work.takesPart[a]) continue;
    for (uint32_t k = pairStart[a]; k < pairStart[a + 1]; ++k)
      if (covered[k]) work.takesPart[pairB[k]] = 0;
  }
  std::vector<std::vector<TShapePolygon>> made(n);
  inChunks(n, 256, [&](size_t begin, size_t end, bool calling) {
    for (size_t i = begin; i < end; ++i) {
      if (calling && i % 256 == 0) report(n + i);
      if (!work.takesPart[i]) continue;
      made[i] = elementPolygons(*work.copies[i]);
      for (auto& p : made[i]) orientClockwise(p);
    }
  });
  std::vector<TShapePolygon> polygons;
  for (auto& m : made)
    for (auto& p : m) polygons.push_back(std::move(p));
  report(2 * n);
  return polygons;
}

}  // namespace plavesk
