#include "routing/connectivity.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <numeric>
#include <utility>
#include <vector>

#include "view/units.h"

namespace plavesk {
namespace {

bool boundsMeet(const TRect& a, const TRect& b) {
  return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

bool boxesMeet(const Region::Box& a, const Region::Box& b) {
  return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

bool isCutout(const TObjekt& e) {
  return e.kind == kArea && e.cutout;
}

// Squares that surely lie inside an element's outline: the middle of a pad
// or SMD pad, the round ends of a track. The outlines of pads and track ends
// are polygons of eight or more corners around a disc of the pad radius (half
// the track width) or more, and such a polygon holds the square of 0.6 times
// that radius. Empty boxes for the other kinds.
std::array<Region::Box, 2> innerSquares(const TObjekt& e) {
  std::array<Region::Box, 2> boxes{};
  auto around = [](TPoint c, int64_t radius) {
    const int64_t s = radius * 6 / 10 - 1;
    if (s < 1) return Region::Box{};
    return Region::Box{int32_t(c.x - s), int32_t(c.y - s), int32_t(c.x + s), int32_t(c.y + s)};
  };
  switch (e.kind) {
    case kPad:
      boxes[0] = around({e.x, e.y}, std::abs(int64_t(e.dim1)));
      break;
    case kSmdPad: {
      const int64_t hw = std::abs(int64_t(e.dim1)) / 2 - 1, hh = std::abs(int64_t(e.dim2)) / 2 - 1;
      if (hw >= 1 && hh >= 1)
        boxes[0] =
            Region::Box{int32_t(e.x - hw), int32_t(e.y - hh), int32_t(e.x + hw), int32_t(e.y + hh)};
      break;
    }
    case kTrack:
      if (e.points.size() >= 2) {
        boxes[0] = around(e.points.front(), std::abs(int64_t(e.dim3)) / 2);
        boxes[1] = around(e.points.back(), std::abs(int64_t(e.dim3)) / 2);
      }
      break;
    default:
      break;
  }
  return boxes;
}

struct TSegment {
  double ax, ay, bx, by;
};

double pointSegmentDistance(double px, double py, const TSegment& s) {
  const double dx = s.bx - s.ax, dy = s.by - s.ay;
  const double length2 = dx * dx + dy * dy;
  double t = length2 > 0 ? ((px - s.ax) * dx + (py - s.ay) * dy) / length2 : 0;
  t = std::clamp(t, 0.0, 1.0);
  return std::hypot(px - (s.ax + t * dx), py - (s.ay + t * dy));
}

double cross(double ax, double ay, double bx, double by, double cx, double cy) {
  return (bx - ax) * (cy - ay) - (by - ay) * (cx - ax);
}

double segmentDistance(const TSegment& p, const TSegment& q) {
  const double d1 = cross(p.ax, p.ay, p.bx, p.by, q.ax, q.ay);
  const double d2 = cross(p.ax, p.ay, p.bx, p.by, q.bx, q.by);
  const double d3 = cross(q.ax, q.ay, q.bx, q.by, p.ax, p.ay);
  const double d4 = cross(q.ax, q.ay, q.bx, q.by, p.bx, p.by);
  if (((d1 > 0 && d2 < 0) || (d1 < 0 && d2 > 0)) && ((d3 > 0 && d4 < 0) || (d3 < 0 && d4 > 0)))
    return 0;
  return std::min({pointSegmentDistance(q.ax, q.ay, p), pointSegmentDistance(q.bx, q.by, p),
                   pointSegmentDistance(p.ax, p.ay, q), pointSegmentDistance(p.bx, p.by, q)});
}

// The smallest distance between the centre lines of two tracks, or between
// a track's centre line and a box.
double centreLineDistance(const TObjekt& a, const TObjekt& b) {
  double best = INFINITY;
  for (size_t i = 1; i < a.points.size() && best > 0; ++i) {
    const TSegment p{double(a.points[i - 1].x), double(a.points[i - 1].y), double(a.points[i].x),
                     double(a.points[i].y)};
    for (size_t j = 1; j < b.points.size() && best > 0; ++j)
      best =
          std::min(best, segmentDistance(p, {double(b.points[j - 1].x), double(b.points[j - 1].y),
                                             double(b.points[j].x), double(b.points[j].y)}));
  }
  return best;
}

double boxDistance(const TObjekt& track, double left, double bottom, double right, double top) {
  const TSegment edges[4] = {{left, bottom, right, bottom},
                             {right, bottom, right, top},
                             {right, top, left, top},
                             {left, top, left, bottom}};
  double best = INFINITY;
  for (size_t i = 1; i < track.points.size() && best > 0; ++i) {
    const TSegment s{double(track.points[i - 1].x), double(track.points[i - 1].y),
                     double(track.points[i].x), double(track.points[i].y)};
    if (s.ax >= left && s.ax <= right && s.ay >= bottom && s.ay <= top) return 0;
    for (const TSegment& edge : edges) best = std::min(best, segmentDistance(s, edge));
  }
  return best;
}

// Half the extent of a pad or SMD pad's outline in x and y, with a unit to
// spare for the octagons' corners; false for other kinds.
bool padHalfExtent(const TObjekt& e, double& hx, double& hy) {
  if (e.kind == kSmdPad) {
    hx = std::abs(double(e.dim1)) / 2 + 1;
    hy = std::abs(double(e.dim2)) / 2 + 1;
    return true;
  }
  if (e.kind != kPad) return false;
  const double r = std::abs(double(e.dim1));
  hx = (e.padShape >= kPadOblongH && e.padShape <= kPadRectH ? 2 * r : r) + 2;
  hy = (e.padShape >= kPadOblongV && e.padShape <= kPadRectV ? 2 * r : r) + 2;
  return true;
}

// The outline of an SMD pad or a square or rectangular pad, which is this
// rectangle; false for the other shapes.
bool rectangleOf(const TObjekt& e, TRect& r) {
  int64_t hx = 0, hy = 0;
  if (e.kind == kSmdPad) {
    hx = roundToUnit(e.dim1 / 2.0);
    hy = roundToUnit(e.dim2 / 2.0);
  } else if (e.kind == kPad &&
             (e.padShape == kPadSquare || e.padShape == kPadRectH || e.padShape == kPadRectV)) {
    hx = hy = e.dim1;
    if (e.padShape == kPadRectH) hx *= 2;
    if (e.padShape == kPadRectV) hy *= 2;
  } else {
    return false;
  }
  auto clamp32 = [](int64_t v) { return int32_t(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX)); };
  r = normalised(TRect{clamp32(e.x - hx), clamp32(e.y - hy), clamp32(e.x + hx), clamp32(e.y + hy)});
  return true;
}

double halfWidth(const TObjekt& t) {
  return double(std::max(t.dim3 / 2, 1));
}

// The segments of a track, or of an area's closed edge.
std::vector<TSegment> segmentsOf(const TObjekt& e) {
  std::vector<TSegment> out;
  const size_t n = e.points.size();
  const bool closed = e.kind == kArea && n > 2;
  for (size_t i = 1; i < n + (closed ? 1 : 0); ++i) {
    const TPoint a = e.points[i - 1], b = e.points[i % n];
    out.push_back({double(a.x), double(a.y), double(b.x), double(b.y)});
  }
  return out;
}

double distanceBetween(const std::vector<TSegment>& a, const std::vector<TSegment>& b) {
  double best = INFINITY;
  for (const TSegment& p : a)
    for (const TSegment& q : b) {
      best = std::min(best, segmentDistance(p, q));
      if (best == 0) return 0;
    }
  return best;
}

// Even-odd, as the area's polygon is filled.
bool insidePolygon(const std::vector<TPoint>& polygon, double x, double y) {
  bool inside = false;
  for (size_t i = 0, j = polygon.size() - 1; i < polygon.size(); j = i++) {
    const double xi = polygon[i].x, yi = polygon[i].y, xj = polygon[j].x, yj = polygon[j].y;
    if ((yi > y) != (yj > y) && x < (xj - xi) * (y - yi) / (yj - yi) + xi) inside = !inside;
  }
  return inside;
}

// Points that lie inside an element's outline with room around them: a pad's
// or SMD pad's centre, the corners of a track 4 units wide or more.
std::vector<TPoint> probePoints(const TObjekt& e) {
  switch (e.kind) {
    case kPad:
      return std::abs(e.dim1) >= 4 ? std::vector<TPoint>{{e.x, e.y}} : std::vector<TPoint>{};
    case kSmdPad:
      return std::abs(e.dim1) >= 4 && std::abs(e.dim2) >= 4 ? std::vector<TPoint>{{e.x, e.y}}
                                                            : std::vector<TPoint>{};
    case kTrack:
      return e.dim3 >= 4 ? e.points : std::vector<TPoint>{};
    default:
      return {};
  }
}

bool isFullCircle(const TObjekt& e) {
  return e.kind == kCircle && e.angle == e.dim3 && e.dim1 > 0 && (e.filled || e.dim2 < e.dim1);
}

// A filled area (edge 4 units wide or more) or a whole ring or disc against
// a pad, SMD pad or track; -1 when the outlines must decide.
int shapeDecision(const TObjekt& shape, const TObjekt& other) {
  double hx = 0, hy = 0;
  const bool pad = padHalfExtent(other, hx, hy);
  if (!pad && other.kind != kTrack) return -1;
  if (other.kind == kTrack && other.points.size() < 2) return -1;
  const std::vector<TPoint> probes = probePoints(other);
  if (shape.kind == kArea && shape.points.size() > 2 && shape.dim3 >= 4) {
    for (TPoint p : probes)
      if (insidePolygon(shape.points, p.x, p.y)) return 1;
    const TPoint first = pad ? TPoint{other.x, other.y} : other.points.front();
    if (insidePolygon(shape.points, first.x, first.y)) return -1;
    const std::vector<TSegment> edge = segmentsOf(shape);
    double d = INFINITY;
    if (pad) {
      TObjekt asTrack;
      asTrack.points = shape.points;
      asTrack.points.push_back(shape.points.front());
      d = boxDistance(asTrack, other.x - hx, other.y - hy, other.x + hx, other.y + hy);
      return d > halfWidth(shape) + 2 ? 0 : -1;
    }
    d = distanceBetween(segmentsOf(other), edge);
    return d > halfWidth(shape) + halfWidth(other) + 2 ? 0 : -1;
  }
  if (isFullCircle(shape)) {
    const double R = shape.dim1, hole = shape.filled ? 0 : std::max(0, shape.dim2);
    const double cx = shape.x, cy = shape.y;
    for (TPoint p : probes) {
      const double d = std::hypot(p.x - cx, p.y - cy);
      if (d < R - 2 && (hole == 0 || d > hole + 2)) return 1;
    }
    double nearest = INFINITY, farthest = 0;
    if (pad) {
      const double dx = std::max({other.x - hx - cx, cx - other.x - hx, 0.0});
      const double dy = std::max({other.y - hy - cy, cy - other.y - hy, 0.0});
      nearest = std::hypot(dx, dy);
      farthest = std::hypot(std::abs(other.x - cx) + hx, std::abs(other.y - cy) + hy);
    } else {
      for (const TSegment& seg : segmentsOf(other)) {
        nearest = std::min(nearest, pointSegmentDistance(cx, cy, seg));
        farthest = std::max(
            {farthest, std::hypot(seg.ax - cx, seg.ay - cy), std::hypot(seg.bx - cx, seg.by - cy)});
      }
      nearest -= halfWidth(other) + 1;
      farthest += halfWidth(other) + 1;
    }
    if (nearest > R + 1) return 0;
    if (hole > 0 && farthest < hole - 1) return 0;
  }
  return -1;
}

// Tracks are decided from their centre lines: each outline lies within half
// the width and a unit of rounding from its centre line, and holds every
// point of it inside once the width is 4 units or more. Returns -1 when the
// exact outlines must decide.
int quickDecision(const TObjekt& a, const TObjekt& b) {
  auto half = [](const TObjekt& t) { return halfWidth(t); };
  // Two pads or SMD pads: apart when their boxes are, and decided by the
  // boxes alone when both outlines are rectangles.
  double ax = 0, ay = 0, bx = 0, by = 0;
  if (padHalfExtent(a, ax, ay) && padHalfExtent(b, bx, by)) {
    if (std::abs(double(a.x) - b.x) >= ax + bx || std::abs(double(a.y) - b.y) >= ay + by) return 0;
    TRect ra, rb;
    if (rectangleOf(a, ra) && rectangleOf(b, rb))
      return !ra.isEmpty() && !rb.isEmpty() && ra.left < rb.right && rb.left < ra.right &&
             ra.top < rb.bottom && rb.top < ra.bottom;
    return -1;
  }
  if (a.kind == kArea || a.kind == kCircle) return shapeDecision(a, b);
  if (b.kind == kArea || b.kind == kCircle) return shapeDecision(b, a);
  if (a.kind == kTrack && b.kind == kTrack) {
    const double d = centreLineDistance(a, b);
    if (d > half(a) + half(b) + 2) return 0;
    if (d == 0 && a.dim3 >= 4 && b.dim3 >= 4) return 1;
    return -1;
  }
  const TObjekt& track = a.kind == kTrack ? a : b;
  const TObjekt& pad = a.kind == kTrack ? b : a;
  double hx = 0, hy = 0;
  if (track.kind == kTrack && padHalfExtent(pad, hx, hy) &&
      boxDistance(track, pad.x - hx, pad.y - hy, pad.x + hx, pad.y + hy) > half(track) + 2)
    return 0;
  return -1;
}

// A capsule (the points within `radius` of a centre line) that lies wholly
// inside an element's outline: around the axis of a pad or SMD pad, or the
// centre line of a track. Pad outlines hold the disc of their radius around
// each end of that axis, rounded or chamfered as they are, and a track's
// round ends are polygons of sixteen sides around half its width; 0.8 of
// that leaves room for the polygons and the rounding. False when the element
// is too small for the margin or of another kind.
bool coreCapsule(const TObjekt& e, std::vector<TSegment>& axis, double& radius) {
  axis.clear();
  switch (e.kind) {
    case kPad: {
      const double r = e.dim1;
      if (r < 10 || e.padShape < kPadRound || e.padShape > kPadRectV) return false;
      const double ax = e.padShape >= kPadOblongH && e.padShape <= kPadRectH ? r : 0;
      const double ay = e.padShape >= kPadOblongV && e.padShape <= kPadRectV ? r : 0;
      axis.push_back({e.x - ax, e.y - ay, e.x + ax, e.y + ay});
      radius = 0.8 * r;
      return true;
    }
    case kSmdPad: {
      const double hw = std::abs(e.dim1 / 2), hh = std::abs(e.dim2 / 2);
      if (std::min(hw, hh) < 4) return false;
      const double ax = std::max(hw - hh, 0.0), ay = std::max(hh - hw, 0.0);
      axis.push_back({e.x - ax, e.y - ay, e.x + ax, e.y + ay});
      radius = std::min(hw, hh) - 2;
      return true;
    }
    case kTrack:
      if (e.dim3 < 10 || e.points.size() < 2) return false;
      axis = segmentsOf(e);
      radius = 0.8 * (e.dim3 / 2);
      return true;
    default:
      return false;
  }
}

// Two elements whose core capsules share an area share an area too.
bool coresMeet(const TObjekt& a, const TObjekt& b) {
  thread_local std::vector<TSegment> axisA, axisB;
  double ra = 0, rb = 0;
  if (!coreCapsule(a, axisA, ra) || !coreCapsule(b, axisB, rb)) return false;
  return distanceBetween(axisA, axisB) < ra + rb - 2;
}

// A square inside `e` that shares an area with `other`: then `e` does too.
bool innerSquareMeets(const TObjekt& e, const Region& other) {
  for (const Region::Box& box : innerSquares(e))
    if (!box.isEmpty() && other.intersectsRect(box)) return true;
  return false;
}

// Rule 1 for two elements of one layer, neither a cutout area, whose grown
// bounds meet: the shortcuts first, the outlines (asked for only when
// needed) last.
template <class OutlineA, class OutlineB>
bool decideOverlap(const TObjekt& ea, const TObjekt& eb, OutlineA&& outlineA, OutlineB&& outlineB) {
  if (const int quick = quickDecision(ea, eb); quick >= 0) return quick == 1;
  if (coresMeet(ea, eb)) return true;
  const std::optional<Region>& oa = outlineA();
  const std::optional<Region>& ob = outlineB();
  if (!oa || !ob || oa->empty() || ob->empty()) return false;
  if (!boxesMeet(oa->boundingBox(), ob->boundingBox())) return false;
  // Most copper joins where a track ends on a pad or another track: a square
  // inside one outline settles it without intersecting the two outlines.
  if (innerSquareMeets(ea, *ob) || innerSquareMeets(eb, *oa)) return true;
  return !(*oa & *ob).empty();
}

// Element bounds grown by a unit: the right and lower corners of octagonal
// pads lie a unit past their radius.
TRect grownBounds(const TObjekt& e) {
  TRect b = elementBounds(e);
  if (!b.isEmpty())
    b = TRect{std::max(b.left, INT32_MIN + 1) - 1, std::max(b.top, INT32_MIN + 1) - 1,
              std::min(b.right, INT32_MAX - 1) + 1, std::min(b.bottom, INT32_MAX - 1) + 1};
  return b;
}

}  // namespace

TCopperAnalysis::TCopperAnalysis(const TObjektList& list, const TBoardRecord& state)
    : list_(list),
      groundPlane1_(state.groundPlane1 != 0),
      groundPlane2_(state.groundPlane2 != 0),
      index_(500) {
  index_.build(list);
  bounds_.reserve(list.size());
  positions_.reserve(list.size());
  for (size_t i = 0; i < list.size(); ++i) {
    bounds_.push_back(grownBounds(*list[i]));
    positions_.emplace(list[i].get(), i);
    if (isCutout(*list[i])) cutouts_.push_back(i);
  }
  insideCutout_.assign(list.size(), -1);
}

int TCopperAnalysis::indexOf(const TObjekt* e) const {
  auto it = positions_.find(e);
  return it == positions_.end() ? -1 : int(it->second);
}

bool TCopperAnalysis::overlap(size_t a, size_t b) const {
  const TObjekt& ea = *list_[a];
  const TObjekt& eb = *list_[b];
  if (a == b || ea.layer != eb.layer || isCutout(ea) || isCutout(eb)) return false;
  if (!boundsMeet(bounds_[a], bounds_[b])) return false;
  return decideOverlap(
      ea, eb, [&]() -> const std::optional<Region>& { return outline(a); },
      [&]() -> const std::optional<Region>& { return outline(b); });
}

void TCopperAnalysis::overlapCandidates(size_t i, std::vector<size_t>& out) const {
  index_.candidates(bounds_[i], out);
  const TObjekt& e = *list_[i];
  std::erase_if(out, [&](size_t j) {
    const TObjekt& c = *list_[j];
    return j == i || c.layer != e.layer || isCutout(c) || !boundsMeet(bounds_[i], bounds_[j]);
  });
}

bool TCopperAnalysis::insideCutout(size_t i) const {
  if (insideCutout_[i] >= 0) return insideCutout_[i] != 0;
  bool inside = false;
  const TObjekt& e = *list_[i];
  const auto& own = outline(i);
  if (own && !own->empty()) {
    for (size_t c : cutouts_) {
      if (c == i || list_[c]->layer != e.layer || !boundsMeet(bounds_[i], bounds_[c])) continue;
      const auto& area = outline(c);
      if (area && (*own - *area).empty()) {
        inside = true;
        break;
      }
    }
  }
  insideCutout_[i] = inside ? 1 : 0;
  return inside;
}

bool TCopperAnalysis::groundPlaneOn(int layer) const {
  return (layer == kCopper1 && groundPlane1_) || (layer == kCopper2 && groundPlane2_);
}

bool TCopperAnalysis::joinsGroundPlane(size_t i) const {
  const TObjekt& e = *list_[i];
  return groundPlaneOn(e.layer) && e.clearance == 0 && !isCutout(e) && !insideCutout(i);
}

const std::vector<size_t>& TCopperAnalysis::groundPlaneMembers(int layer) const {
  auto& members = layer == kCopper1 ? members1_ : members3_;
  if (!members) {
    members.emplace();
    if (groundPlaneOn(layer))
      for (size_t i = 0; i < list_.size(); ++i)
        if (list_[i]->layer == layer && joinsGroundPlane(i)) members->push_back(i);
  }
  return *members;
}

int TCopperAnalysis::partnerOf(size_t i) const {
  const TObjekt& e = *list_[i];
  if (e.kind != kPad || !e.padLink) return -1;
  const int p = indexOf(e.padLink);
  return p >= 0 && !isCutout(*list_[p]) ? p : -1;
}

size_t markConnected(TObjektList& list, const TCopperAnalysis& analysis, size_t start,
                     const std::function<void(const TObjekt&)>& marked) {
  size_t count = 0;
  std::vector<size_t> stack;
  auto mark = [&](size_t i) {
    list[i]->selected = 1;
    if (marked) marked(*list[i]);
    ++count;
    stack.push_back(i);
  };
  if (start >= list.size() || list[start]->selected) return 0;
  mark(start);
  std::vector<size_t> candidates;
  while (!stack.empty()) {
    const size_t i = stack.back();
    stack.pop_back();
    analysis.overlapCandidates(i, candidates);
    for (size_t j : candidates)
      if (!list[j]->selected && analysis.overlap(i, j)) mark(j);
    const int partner = analysis.partnerOf(i);
    if (partner >= 0 && !list[partner]->selected) mark(size_t(partner));
    if (analysis.joinsGroundPlane(i))
      for (size_t j : analysis.groundPlaneMembers(list[i]->layer))
        if (!list[j]->selected) mark(j);
  }
  return count;
}

std::vector<int> copperNets(const TCopperAnalysis& analysis) {
  const size_t n = analysis.size();
  std::vector<size_t> parent(n);
  std::iota(parent.begin(), parent.end(), size_t(0));
  auto find = [&](size_t i) {
    while (parent[i] != i) {
      parent[i] = parent[parent[i]];
      i = parent[i];
    }
    return i;
  };
  auto join = [&](size_t a, size_t b) {
    a = find(a);
    b = find(b);
    if (a != b) parent[std::max(a, b)] = std::min(a, b);
  };
  std::vector<size_t> candidates;
  for (size_t i = 0; i < n; ++i) {
    if (isCutout(analysis.element(i))) continue;
    analysis.overlapCandidates(i, candidates);
    for (size_t j : candidates)
      if (j > i && find(i) != find(j) && analysis.overlap(i, j)) join(i, j);
    const int partner = analysis.partnerOf(i);
    if (partner >= 0) join(i, size_t(partner));
  }
  for (int layer : {int(kCopper1), int(kCopper2)}) {
    const auto& members = analysis.groundPlaneMembers(layer);
    for (size_t k = 1; k < members.size(); ++k) join(members[0], members[k]);
  }
  std::vector<int> nets(n, -1);
  for (size_t i = 0; i < n; ++i)
    if (!isCutout(analysis.element(i))) nets[i] = int(find(i));
  return nets;
}

namespace {

struct THasher {
  uint64_t h = 0x9e3779b97f4a7c15ull;
  void add(uint64_t v) {
    h ^= v + 0x9e3779b97f4a7c15ull + (h << 6) + (h >> 2);
    h *= 0xff51afd7ed558ccdull;
    h ^= h >> 32;
  }
};

// Everything the overlap rule looks at, without the element's place in
// memory or its partner: a copy (as undo restores the list) is the same
// element, and through-pad partners are joined afresh every time.
uint64_t contentHash(const TObjekt& e) {
  THasher hasher;
  hasher.add(e.kind | uint64_t(e.layer) << 8 | uint64_t(e.padShape) << 16 |
             uint64_t(e.filled) << 24 | uint64_t(e.cutout) << 32 | uint64_t(e.mirrorH) << 40 |
             uint64_t(e.mirrorV) << 48 | uint64_t(e.closed) << 56);
  hasher.add(uint64_t(uint32_t(e.x)) << 32 | uint32_t(e.y));
  hasher.add(uint64_t(uint32_t(e.dim1)) << 32 | uint32_t(e.dim2));
  hasher.add(uint64_t(uint32_t(e.dim3)) << 32 | uint32_t(e.angle));
  hasher.add(uint64_t(uint32_t(e.clearance)));
  hasher.add(e.points.size());
  for (TPoint p : e.points) hasher.add(uint64_t(uint32_t(p.x)) << 32 | uint32_t(p.y));
  hasher.add(e.strokes.size());
  for (const auto& stroke : e.strokes) hasher.add(contentHash(*stroke));
  return hasher.h;
}

// The through-pad partner of each element as a position in the list, or -1.
std::vector<int> partnerPositions(const TObjektList& list) {
  std::vector<int> partners(list.size(), -1);
  std::unordered_map<const TObjekt*, int> positions;
  for (size_t i = 0; i < list.size(); ++i) {
    if (list[i]->kind != kPad || !list[i]->padLink) continue;
    if (positions.empty())
      for (size_t k = 0; k < list.size(); ++k) positions.emplace(list[k].get(), int(k));
    auto it = positions.find(list[i]->padLink);
    if (it != positions.end()) partners[i] = it->second;
  }
  return partners;
}

// Union-find whose root is always the smallest position of its set, so that
// the net numbers do not depend on the order of the joins.
struct TNetJoin {
  std::vector<uint32_t> parent;
  explicit TNetJoin(size_t n) : parent(n) { std::iota(parent.begin(), parent.end(), 0u); }
  uint32_t find(uint32_t i) {
    while (parent[i] != i) {
      parent[i] = parent[parent[i]];
      i = parent[i];
    }
    return i;
  }
  void join(uint32_t a, uint32_t b) {
    a = find(a);
    b = find(b);
    if (a != b) parent[std::max(a, b)] = std::min(a, b);
  }
};

}  // namespace

const std::vector<int>& TNetCache::nets(const TObjektList& list, const TBoardRecord& state) {
  adoptPrepared();
  const size_t n = list.size();
  const bool plane1 = state.groundPlane1 != 0, plane2 = state.groundPlane2 != 0;
  std::vector<uint64_t> hashes(n);
  bool sameContent = valid_ && n == entries_.size();
  for (size_t i = 0; i < n; ++i) {
    hashes[i] = contentHash(*list[i]);
    sameContent = sameContent && entries_[i].hash == hashes[i];
  }
  std::vector<int> partners = partnerPositions(list);
  const bool switchesKept = plane1 == groundPlane1_ && plane2 == groundPlane2_;
  if (sameContent && switchesKept && partners == partners_) return nets_;
  ++analyses_;
  groundPlane1_ = plane1;
  groundPlane2_ = plane2;
  if (!valid_ || (!sameContent && !update(list, hashes))) analyse(list, hashes);
  partners_ = std::move(partners);
  valid_ = true;
  resolve(list);
  return nets_;
}

bool TNetCache::fits(const TObjektList& list, const TBoardRecord& state) const {
  if (!valid_ || list.size() != entries_.size() || (state.groundPlane1 != 0) != groundPlane1_ ||
      (state.groundPlane2 != 0) != groundPlane2_)
    return false;
  for (size_t i = 0; i < list.size(); ++i)
    if (entries_[i].hash != contentHash(*list[i])) return false;
  return partnerPositions(list) == partners_;
}

void TNetCache::takeOver(TNetCache& from) {
  valid_ = std::exchange(from.valid_, false);
  groundPlane1_ = from.groundPlane1_;
  groundPlane2_ = from.groundPlane2_;
  entries_ = std::move(from.entries_);
  partners_ = std::move(from.partners_);
  joined_ = std::move(from.joined_);
  untested_ = std::move(from.untested_);
  analyses_ = from.analyses_;
  fullAnalyses_ = from.fullAnalyses_;
  nets_ = std::move(from.nets_);
  from.entries_.clear();
  from.partners_.clear();
  from.joined_.clear();
  from.untested_.clear();
  from.nets_.clear();
}

void TNetCache::adoptPrepared() {
  if (!pending_.valid()) return;
  std::unique_ptr<TNetCache> done = pending_.get();
  takeOver(*done);
  ++prepared_;
}

void TNetCache::prepare(const TObjektList& list, const TBoardRecord& state) {
  adoptPrepared();
  if (list.empty() || fits(list, state)) return;
  // The worker goes on from what is kept, so that a small edit since the
  // last analysis is still worked out as one.
  auto worker = std::make_unique<TNetCache>();
  worker->takeOver(*this);
  TObjektList copy;
  copyList(copy, list);
  TBoardRecord switches;
  switches.groundPlane1 = state.groundPlane1;
  switches.groundPlane2 = state.groundPlane2;
  pending_ = std::async(std::launch::async,
                        [worker = std::move(worker), copy = std::move(copy), switches]() mutable {
                          // The copy is freed on this thread as well.
                          const TObjektList elements = std::move(copy);
                          worker->nets(elements, switches);
                          return std::move(worker);
                        });
}

bool TNetCache::groundPlaneOn(int layer) const {
  return (layer == kCopper1 && groundPlane1_) || (layer == kCopper2 && groundPlane2_);
}

// From scratch: every pair of elements whose bounds meet on one layer is a
// candidate, decided when resolve needs it.
void TNetCache::analyse(const TObjektList& list, const std::vector<uint64_t>& hashes) {
  ++fullAnalyses_;
  const size_t n = list.size();
  entries_.assign(n, {});
  for (size_t i = 0; i < n; ++i) {
    const TObjekt& e = *list[i];
    entries_[i] = {hashes[i], grownBounds(e), -1, e.layer, isCutout(e)};
  }
  joined_.clear();
  untested_.clear();
  // A grid of square cells over the bounds, each element listed in every
  // cell its bounds reach. A pair whose bounds meet shares the cell of the
  // top left corner of their common part and is taken there only, so no
  // pair comes twice. Elements reaching over too many cells are paired
  // with every element directly.
  constexpr int64_t kCell = 500, kMaxCells = 4096;
  auto cellOf = [](int64_t v) { return v >= 0 ? v / kCell : -((-v + kCell - 1) / kCell); };
  auto key = [](int64_t cx, int64_t cy) { return uint64_t(cx) << 32 ^ uint64_t(uint32_t(cy)); };
  std::vector<std::pair<uint64_t, uint32_t>> cells;
  std::vector<uint32_t> large;
  cells.reserve(2 * n);
  for (size_t i = 0; i < n; ++i) {
    const TEntry& e = entries_[i];
    if (e.cutout) continue;
    const int64_t x0 = cellOf(e.bounds.left), x1 = cellOf(e.bounds.right);
    const int64_t y0 = cellOf(e.bounds.top), y1 = cellOf(e.bounds.bottom);
    if ((x1 - x0 + 1) * (y1 - y0 + 1) > kMaxCells) {
      large.push_back(uint32_t(i));
      continue;
    }
    for (int64_t cx = x0; cx <= x1; ++cx)
      for (int64_t cy = y0; cy <= y1; ++cy) cells.push_back({key(cx, cy), uint32_t(i)});
  }
  std::sort(cells.begin(), cells.end());
  for (size_t first = 0; first < cells.size();) {
    size_t last = first;
    while (last < cells.size() && cells[last].first == cells[first].first) ++last;
    for (size_t a = first; a < last; ++a) {
      const uint32_t i = cells[a].second;
      const TEntry& ei = entries_[i];
      for (size_t b = a + 1; b < last; ++b) {
        const uint32_t j = cells[b].second;
        const TEntry& ej = entries_[j];
        if (ej.layer != ei.layer || !boundsMeet(ei.bounds, ej.bounds)) continue;
        const int64_t left = std::max(ei.bounds.left, ej.bounds.left);
        const int64_t top = std::max(ei.bounds.top, ej.bounds.top);
        if (key(cellOf(left), cellOf(top)) == cells[first].first) untested_.push_back({i, j});
      }
    }
    first = last;
  }
  for (size_t k = 0; k < large.size(); ++k) {
    const uint32_t i = large[k];
    for (size_t j = 0; j < n; ++j) {
      const TEntry& ej = entries_[j];
      // Two large ones are paired once, from the first.
      if (j == i || ej.cutout || ej.layer != entries_[i].layer ||
          !boundsMeet(entries_[i].bounds, ej.bounds) ||
          std::find(large.begin(), large.begin() + ptrdiff_t(k + 1), uint32_t(j)) !=
              large.begin() + ptrdiff_t(k + 1))
        continue;
      untested_.push_back({std::min(i, uint32_t(j)), std::max(i, uint32_t(j))});
    }
  }
}

// After an edit: what is known about pairs of unchanged elements stays, and
// only the changed elements look for candidates anew. A changed cutout area
// joins no pair; it only makes the elements of its layer ask again whether
// they lie inside one. False when an edit reaches too far for that to pay.
bool TNetCache::update(const TObjektList& list, const std::vector<uint64_t>& hashes) {
  const size_t n = list.size();
  constexpr int kNew = -1;
  std::vector<int> oldOf(n, kNew);
  std::vector<int> newOf(entries_.size(), kNew);
  // Old elements by content, the last of equal ones on top: any pairing of
  // equal elements keeps what is known about their pairs.
  std::unordered_map<uint64_t, std::vector<uint32_t>> oldByHash;
  std::vector<uint32_t> changed;
  for (size_t i = 0; i < n; ++i) {
    int old = kNew;
    if (i < entries_.size() && entries_[i].hash == hashes[i] && newOf[i] == kNew) {
      old = int(i);
    } else {
      if (oldByHash.empty())
        for (size_t k = entries_.size(); k-- > 0;)
          oldByHash[entries_[k].hash].push_back(uint32_t(k));
      auto it = oldByHash.find(hashes[i]);
      while (it != oldByHash.end() && !it->second.empty() && old == kNew) {
        const uint32_t k = it->second.back();
        it->second.pop_back();
        if (newOf[k] == kNew) old = int(k);
      }
    }
    if (old == kNew) {
      changed.push_back(uint32_t(i));
      if (changed.size() > kMaxChangedForUpdate) return false;
    } else {
      oldOf[i] = old;
      newOf[size_t(old)] = int(i);
    }
  }
  std::array<bool, 256> cutoutLayers{};
  for (size_t k = 0; k < entries_.size(); ++k)
    if (newOf[k] == kNew && entries_[k].cutout) cutoutLayers[entries_[k].layer] = true;
  for (uint32_t c : changed)
    if (isCutout(*list[c])) cutoutLayers[list[c]->layer] = true;

  std::vector<TEntry> entries(n);
  for (size_t i = 0; i < n; ++i) {
    if (oldOf[i] != kNew) {
      entries[i] = entries_[size_t(oldOf[i])];
      if (cutoutLayers[entries[i].layer]) entries[i].insideCutout = -1;
    } else {
      const TObjekt& e = *list[i];
      entries[i] = {hashes[i], grownBounds(e), -1, e.layer, isCutout(e)};
    }
  }
  auto keep = [&](std::vector<std::pair<uint32_t, uint32_t>>& pairs) {
    size_t out = 0;
    for (const auto& [a, b] : pairs) {
      const int na = newOf[a], nb = newOf[b];
      if (na == kNew || nb == kNew) continue;
      pairs[out++] = {uint32_t(std::min(na, nb)), uint32_t(std::max(na, nb))};
    }
    pairs.resize(out);
  };
  keep(joined_);
  keep(untested_);
  for (uint32_t c : changed) {
    const TEntry& ec = entries[c];
    if (ec.cutout || ec.bounds.isEmpty()) continue;
    for (size_t j = 0; j < n; ++j) {
      const TEntry& ej = entries[j];
      if (j == c || ej.layer != ec.layer || ej.cutout || !boundsMeet(ec.bounds, ej.bounds))
        continue;
      // A pair of two changed elements is taken once, from its first one.
      if (oldOf[j] == kNew && j < c) continue;
      untested_.push_back({std::min(c, uint32_t(j)), std::max(c, uint32_t(j))});
    }
  }
  entries_ = std::move(entries);
  return true;
}

// The nets from what is known: through pads and the ground planes first, then
// the pairs found joined, and last the candidate pairs whose ends are still
// in different nets, each decided once and remembered.
void TNetCache::resolve(const TObjektList& list) {
  const size_t n = list.size();
  std::vector<std::optional<Region>> outlines(n);
  std::vector<uint8_t> outlineKnown(n, 0);
  auto outline = [&](size_t i) -> const std::optional<Region>& {
    if (!outlineKnown[i]) {
      outlines[i] = elementOutline(*list[i]);
      outlineKnown[i] = 1;
    }
    return outlines[i];
  };
  TNetJoin nets(n);
  for (size_t i = 0; i < n; ++i)
    if (partners_[i] >= 0 && !entries_[size_t(partners_[i])].cutout)
      nets.join(uint32_t(i), uint32_t(partners_[i]));
  for (int layer : {int(kCopper1), int(kCopper2)}) {
    if (!groundPlaneOn(layer)) continue;
    std::vector<uint32_t> cutouts;
    for (size_t i = 0; i < n; ++i)
      if (entries_[i].cutout && entries_[i].layer == layer) cutouts.push_back(uint32_t(i));
    int first = -1;
    for (size_t i = 0; i < n; ++i) {
      TEntry& e = entries_[i];
      if (e.layer != layer || e.cutout || list[i]->clearance != 0) continue;
      if (e.insideCutout < 0) {
        bool inside = false;
        const auto& own = outline(i);
        if (own && !own->empty())
          for (uint32_t c : cutouts) {
            if (!boundsMeet(e.bounds, entries_[c].bounds)) continue;
            const auto& area = outline(c);
            if (area && (*own - *area).empty()) {
              inside = true;
              break;
            }
          }
        e.insideCutout = inside ? 1 : 0;
      }
      if (e.insideCutout) continue;
      if (first < 0)
        first = int(i);
      else
        nets.join(uint32_t(first), uint32_t(i));
    }
  }
  for (const auto& [a, b] : joined_) nets.join(a, b);
  size_t out = 0;
  for (const auto& [a, b] : untested_) {
    if (nets.find(a) == nets.find(b)) {
      untested_[out++] = {a, b};
    } else if (decideOverlap(
                   *list[a], *list[b], [&]() -> const std::optional<Region>& { return outline(a); },
                   [&]() -> const std::optional<Region>& { return outline(b); })) {
      nets.join(a, b);
      joined_.push_back({a, b});
    }
  }
  untested_.resize(out);
  nets_.assign(n, -1);
  for (size_t i = 0; i < n; ++i)
    if (!entries_[i].cutout) nets_[i] = int(nets.find(uint32_t(i)));
}

size_t TNetCache::markNet(TObjektList& list, const TBoardRecord& state, size_t start,
                          const std::function<void(const TObjekt&)>& marked) {
  if (start >= list.size()) return 0;
  const std::vector<int>& all = nets(list, state);
  const int net = all[start];
  if (net < 0 || list[start]->selected) return 0;
  size_t count = 0;
  for (size_t i = 0; i < list.size(); ++i)
    if (all[i] == net && !list[i]->selected) {
      list[i]->selected = 1;
      if (marked) marked(*list[i]);
      ++count;
    }
  return count;
}

TNetCache& sharedNetCache() {
  static TNetCache cache;
  return cache;
}

}  // namespace plavesk
