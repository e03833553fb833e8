// Region on the Clipper polygon library. Vertices are kept at 1/16 of a unit
// so that curve approximations plus vertex rounding stay below half a unit.
#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>
#include <optional>
#include <polyclipping/clipper.hpp>

#include "platform/core/edge_probe.h"
#include "platform/core/int_math.h"
#include "platform/core/region.h"

namespace plavesk {

namespace {

using ClipperLib::cInt;
using ClipperLib::IntPoint;
using ClipperLib::Path;
using ClipperLib::Paths;

constexpr cInt kScale = 16;
// Largest tolerated deviation of a curve's chords, in units (vertex rounding
// adds at most 1/32 unit on each axis).
constexpr double kChordError = 0.25;
constexpr int kMaxEllipseVertices = 1 << 16;

struct ScaledBox {
  cInt left = 0, top = 0, right = 0, bottom = 0;
};

ScaledBox boxOf(const Paths& paths) {
  ScaledBox box{std::numeric_limits<cInt>::max(), std::numeric_limits<cInt>::max(),
                std::numeric_limits<cInt>::min(), std::numeric_limits<cInt>::min()};
  for (const auto& path : paths)
    for (const auto& p : path) {
      box.left = std::min(box.left, p.X);
      box.right = std::max(box.right, p.X);
      box.top = std::min(box.top, p.Y);
      box.bottom = std::max(box.bottom, p.Y);
    }
  return box;
}

bool boxesOverlap(const ScaledBox& a, const ScaledBox& b) {
  return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

// Twice the signed area; positive for counter-clockwise in a y-up system.
double doubleArea(const Path& path) {
  double a = 0;
  for (size_t i = 0, j = path.size() - 1; i < path.size(); j = i++)
    a += double(path[j].X) * double(path[i].Y) - double(path[i].X) * double(path[j].Y);
  return a;
}

// Convex and simple: every turn goes the same way and each coordinate changes
// its direction at most twice around the polygon.
bool isConvex(const Path& path) {
  const size_t n = path.size();
  if (n < 3) return false;
  int turnSign = 0, xFlips = 0, yFlips = 0, xDir = 0, yDir = 0, xFirst = 0, yFirst = 0;
  auto sign = [](cInt v) { return v > 0 ? 1 : (v < 0 ? -1 : 0); };
  for (size_t i = 0; i < n; ++i) {
    const IntPoint& a = path[i];
    const IntPoint& b = path[(i + 1) % n];
    const IntPoint& c = path[(i + 2) % n];
    const double cross =
        double(b.X - a.X) * double(c.Y - b.Y) - double(b.Y - a.Y) * double(c.X - b.X);
    const int s = cross > 0 ? 1 : (cross < 0 ? -1 : 0);
    if (s != 0) {
      if (turnSign != 0 && s != turnSign) return false;
      turnSign = s;
    }
    const int dx = sign(b.X - a.X), dy = sign(b.Y - a.Y);
    if (dx != 0) {
      if (xDir == 0)
        xFirst = dx;
      else if (dx != xDir)
        ++xFlips;
      xDir = dx;
    }
    if (dy != 0) {
      if (yDir == 0)
        yFirst = dy;
      else if (dy != yDir)
        ++yFlips;
      yDir = dy;
    }
  }
  // Close the direction sequences around the polygon.
  if (xDir != 0 && xFirst != 0 && xDir != xFirst) ++xFlips;
  if (yDir != 0 && yFirst != 0 && yDir != yFirst) ++yFlips;
  return turnSign != 0 && xFlips <= 2 && yFlips <= 2;
}

// Whether the segment a-b passes through the open rectangle.
bool segmentCrossesOpenBox(const IntPoint& a, const IntPoint& b, const ScaledBox& r) {
  double lo = 0, hi = 1;
  const double ax = double(a.X), ay = double(a.Y);
  const double dx = double(b.X) - ax, dy = double(b.Y) - ay;
  auto clip = [&](double start, double delta, double min, double max) {
    if (delta == 0) return start > min && start < max;
    double t0 = (min - start) / delta, t1 = (max - start) / delta;
    if (t0 > t1) std::swap(t0, t1);
    lo = std::max(lo, t0);
    hi = std::min(hi, t1);
    return true;
  };
  if (!clip(ax, dx, double(r.left), double(r.right))) return false;
  if (!clip(ay, dy, double(r.top), double(r.bottom))) return false;
  return lo < hi;
}

bool onSegment(const IntPoint& p, const IntPoint& a, const IntPoint& b) {
  const double cross =
      double(b.X - a.X) * double(p.Y - a.Y) - double(b.Y - a.Y) * double(p.X - a.X);
  return cross == 0 && p.X >= std::min(a.X, b.X) && p.X <= std::max(a.X, b.X) &&
         p.Y >= std::min(a.Y, b.Y) && p.Y <= std::max(a.Y, b.Y);
}

// Winding number of the paths around p; `onBoundary` set when p lies on an edge.
int windingNumber(const Paths& paths, const IntPoint& p, bool& onBoundary) {
  int winding = 0;
  for (const auto& path : paths) {
    const size_t n = path.size();
    for (size_t i = 0; i < n; ++i) {
      const IntPoint& a = path[i];
      const IntPoint& b = path[(i + 1) % n];
      if (onSegment(p, a, b)) {
        onBoundary = true;
        return 0;
      }
      const double side =
          double(b.X - a.X) * double(p.Y - a.Y) - double(p.X - a.X) * double(b.Y - a.Y);
      if (a.Y <= p.Y) {
        if (b.Y > p.Y && side > 0) ++winding;
      } else if (b.Y <= p.Y && side < 0) {
        --winding;
      }
    }
  }
  return winding;
}

int ellipseVertexCount(double radiusInUnits) {
  if (radiusInUnits <= kChordError) return 4;
  const double step = std::acos(1 - kChordError / radiusInUnits);
  const double n = std::ceil(std::numbers::pi / step);
  int count = n > kMaxEllipseVertices ? kMaxEllipseVertices : std::max(4, int(n));
  return (count + 3) / 4 * 4;
}

}  // namespace

// A union of pieces, each a set of paths under its own fill rule. A clean
// piece has no self-intersections and counter-clockwise outer contours, so
// the pieces can be merged under the non-zero rule in one pass.
struct Region::Impl {
  struct Piece {
    Paths paths;
    ClipperLib::PolyFillType fill = ClipperLib::pftNonZero;
    ScaledBox box;
    bool clean = false;
  };
  std::vector<Piece> pieces;

  ScaledBox box() const {
    ScaledBox b = pieces.front().box;
    for (const auto& piece : pieces) {
      b.left = std::min(b.left, piece.box.left);
      b.top = std::min(b.top, piece.box.top);
      b.right = std::max(b.right, piece.box.right);
      b.bottom = std::max(b.bottom, piece.box.bottom);
    }
    return b;
  }

  // Merges the pieces into one clean piece and returns its paths.
  const Paths& resolve() {
    if (pieces.size() == 1 && pieces.front().clean) return pieces.front().paths;
    ClipperLib::Clipper clipper;
    for (const auto& piece : pieces) {
      if (piece.clean) {
        clipper.AddPaths(piece.paths, ClipperLib::ptSubject, true);
      } else {
        ClipperLib::Clipper single;
        single.AddPaths(piece.paths, ClipperLib::ptSubject, true);
        Paths simplified;
        single.Execute(ClipperLib::ctUnion, simplified, piece.fill, piece.fill);
        clipper.AddPaths(simplified, ClipperLib::ptSubject, true);
      }
    }
    Paths result;
    clipper.Execute(ClipperLib::ctUnion, result, ClipperLib::pftNonZero, ClipperLib::pftNonZero);
    setResolved(std::move(result));
    static const Paths kNone;
    return pieces.empty() ? kNone : pieces.front().paths;
  }

  void setResolved(Paths paths) {
    pieces.clear();
    if (paths.empty()) return;
    Piece piece;
    piece.box = boxOf(paths);
    piece.paths = std::move(paths);
    piece.clean = true;
    pieces.push_back(std::move(piece));
  }

  bool empty() {
    if (pieces.empty()) return true;
    for (const auto& piece : pieces)
      if (piece.clean) return false;
    return resolve().empty();
  }
};

Region::Region() = default;
Region::Region(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}
Region::Region(const Region& other)
    : impl_(other.impl_ ? std::make_unique<Impl>(*other.impl_) : nullptr) {}
Region::Region(Region&& other) noexcept = default;
Region& Region::operator=(const Region& other) {
  if (this != &other) impl_ = other.impl_ ? std::make_unique<Impl>(*other.impl_) : nullptr;
  return *this;
}
Region& Region::operator=(Region&& other) noexcept = default;
Region::~Region() = default;

namespace {

std::unique_ptr<Region::Impl> singlePiece(Path path, ClipperLib::PolyFillType fill, bool clean) {
  auto impl = std::make_unique<Region::Impl>();
  Region::Impl::Piece piece;
  piece.paths.push_back(std::move(path));
  piece.box = boxOf(piece.paths);
  piece.fill = fill;
  piece.clean = clean;
  impl->pieces.push_back(std::move(piece));
  return impl;
}

// Appends a quarter (or any part) of an ellipse, counter-clockwise.
void appendArc(Path& path, double cx, double cy, double rx, double ry, int firstStep, int steps,
               int stepsPerTurn) {
  for (int k = firstStep; k <= firstStep + steps; ++k) {
    const double a = 2 * std::numbers::pi * k / stepsPerTurn;
    path.emplace_back(cInt(std::nearbyint(cx + rx * std::cos(a))),
                      cInt(std::nearbyint(cy + ry * std::sin(a))));
  }
}

}  // namespace

Region Region::polygon(std::span<const Point> vertices, FillRule rule) {
  if (vertices.size() < 3) return Region();
  Path path;
  path.reserve(vertices.size());
  for (const auto& v : vertices) path.emplace_back(cInt(v.x) * kScale, cInt(v.y) * kScale);
  const double area = doubleArea(path);
  const bool convex = isConvex(path);
  if (convex && area == 0) return Region();
  if (convex && area < 0) std::reverse(path.begin(), path.end());
  return Region(singlePiece(
      std::move(path), rule == FillRule::kWinding ? ClipperLib::pftNonZero : ClipperLib::pftEvenOdd,
      convex));
}

Region Region::rectangle(int32_t left, int32_t top, int32_t right, int32_t bottom) {
  if (left > right) std::swap(left, right);
  if (top > bottom) std::swap(top, bottom);
  if (left == right || top == bottom) return Region();
  const cInt l = cInt(left) * kScale, t = cInt(top) * kScale, r = cInt(right) * kScale,
             b = cInt(bottom) * kScale;
  return Region(singlePiece(Path{{l, t}, {r, t}, {r, b}, {l, b}}, ClipperLib::pftNonZero, true));
}

Region Region::ellipse(int32_t left, int32_t top, int32_t right, int32_t bottom) {
  if (left > right) std::swap(left, right);
  if (top > bottom) std::swap(top, bottom);
  if (left == right || top == bottom) return Region();
  const double rx = (double(right) - left) * kScale / 2, ry = (double(bottom) - top) * kScale / 2;
  const double cx = double(left) * kScale + rx, cy = double(top) * kScale + ry;
  const int n = ellipseVertexCount(std::max(rx, ry) / kScale);
  Path path;
  path.reserve(n);
  appendArc(path, cx, cy, rx, ry, 0, n - 1, n);
  return Region(singlePiece(std::move(path), ClipperLib::pftNonZero, true));
}

Region Region::roundRect(int32_t left, int32_t top, int32_t right, int32_t bottom,
                         int32_t cornerWidth, int32_t cornerHeight) {
  if (left > right) std::swap(left, right);
  if (top > bottom) std::swap(top, bottom);
  if (left == right || top == bottom) return Region();
  const double width = double(right) - left, height = double(bottom) - top;
  const double rx = std::clamp(double(std::abs(int64_t(cornerWidth))), 0.0, width) * kScale / 2;
  const double ry = std::clamp(double(std::abs(int64_t(cornerHeight))), 0.0, height) * kScale / 2;
  if (rx == 0 || ry == 0) return rectangle(left, top, right, bottom);
  const double l = double(left) * kScale, t = double(top) * kScale, r = double(right) * kScale,
               b = double(bottom) * kScale;
  const int n = ellipseVertexCount(std::max(rx, ry) / kScale);
  const int q = n / 4;
  Path path;
  path.reserve(n + 4);
  appendArc(path, r - rx, b - ry, rx, ry, 0, q, n);
  appendArc(path, l + rx, b - ry, rx, ry, q, q, n);
  appendArc(path, l + rx, t + ry, rx, ry, 2 * q, q, n);
  appendArc(path, r - rx, t + ry, rx, ry, 3 * q, q, n);
  return Region(singlePiece(std::move(path), ClipperLib::pftNonZero, true));
}

Region& Region::unite(const Region& other) {
  if (!other.impl_ || other.impl_->pieces.empty()) return *this;
  if (!impl_ || impl_->pieces.empty()) {
    *this = other;
    return *this;
  }
  impl_->pieces.insert(impl_->pieces.end(), other.impl_->pieces.begin(), other.impl_->pieces.end());
  return *this;
}

Region& Region::intersect(const Region& other) {
  if (!impl_ || impl_->pieces.empty()) return *this;
  if (!other.impl_ || other.impl_->pieces.empty() ||
      !boxesOverlap(impl_->box(), other.impl_->box())) {
    impl_.reset();
    return *this;
  }
  ClipperLib::Clipper clipper;
  clipper.AddPaths(impl_->resolve(), ClipperLib::ptSubject, true);
  clipper.AddPaths(other.impl_->resolve(), ClipperLib::ptClip, true);
  Paths result;
  clipper.Execute(ClipperLib::ctIntersection, result, ClipperLib::pftNonZero,
                  ClipperLib::pftNonZero);
  impl_->setResolved(std::move(result));
  return *this;
}

Region& Region::subtract(const Region& other) {
  if (!impl_ || impl_->pieces.empty() || !other.impl_ || other.impl_->pieces.empty() ||
      !boxesOverlap(impl_->box(), other.impl_->box()))
    return *this;
  ClipperLib::Clipper clipper;
  clipper.AddPaths(impl_->resolve(), ClipperLib::ptSubject, true);
  clipper.AddPaths(other.impl_->resolve(), ClipperLib::ptClip, true);
  Paths result;
  clipper.Execute(ClipperLib::ctDifference, result, ClipperLib::pftNonZero, ClipperLib::pftNonZero);
  impl_->setResolved(std::move(result));
  return *this;
}

bool Region::empty() const {
  return !impl_ || impl_->empty();
}

Region::Box Region::boundingBox() const {
  if (empty()) return Box{};
  const ScaledBox b = impl_->box();
  return Box{int32_t(floorDiv(b.left, kScale)), int32_t(floorDiv(b.top, kScale)),
             int32_t(ceilDiv(b.right, kScale)), int32_t(ceilDiv(b.bottom, kScale))};
}

bool Region::intersectsRect(const Box& rect) const {
  if (!impl_) return false;
  ScaledBox r{cInt(std::min(rect.left, rect.right)) * kScale,
              cInt(std::min(rect.top, rect.bottom)) * kScale,
              cInt(std::max(rect.left, rect.right)) * kScale,
              cInt(std::max(rect.top, rect.bottom)) * kScale};
  if (r.left == r.right || r.top == r.bottom) return false;
  const IntPoint centre((r.left + r.right) / 2, (r.top + r.bottom) / 2);
  for (const auto& piece : impl_->pieces) {
    if (!boxesOverlap(piece.box, r)) continue;
    for (const auto& path : piece.paths)
      for (size_t i = 0; i < path.size(); ++i)
        if (segmentCrossesOpenBox(path[i], path[(i + 1) % path.size()], r)) return true;
    // No edge enters the rectangle: it lies wholly inside or wholly outside.
    bool onBoundary = false;
    const int w = windingNumber(piece.paths, centre, onBoundary);
    if (onBoundary) continue;
    if (piece.fill == ClipperLib::pftEvenOdd ? (w & 1) != 0 : w != 0) return true;
  }
  return false;
}

bool Region::containsPoint(Point p) const {
  if (!impl_) return false;
  const IntPoint q(cInt(p.x) * kScale, cInt(p.y) * kScale);
  for (const auto& piece : impl_->pieces) {
    if (q.X < piece.box.left || q.X > piece.box.right || q.Y < piece.box.top ||
        q.Y > piece.box.bottom)
      continue;
    bool onBoundary = false;
    const int w = windingNumber(piece.paths, q, onBoundary);
    if (onBoundary) return true;
    if (piece.fill == ClipperLib::pftEvenOdd ? (w & 1) != 0 : w != 0) return true;
  }
  return false;
}

namespace {

// Whether the closed segments a-b and c-d share a point.
bool segmentsMeet(const IntPoint& a, const IntPoint& b, const IntPoint& c, const IntPoint& d) {
  if (std::max(a.X, b.X) < std::min(c.X, d.X) || std::max(c.X, d.X) < std::min(a.X, b.X) ||
      std::max(a.Y, b.Y) < std::min(c.Y, d.Y) || std::max(c.Y, d.Y) < std::min(a.Y, b.Y))
    return false;
  auto orient = [](const IntPoint& p, const IntPoint& q, const IntPoint& r) {
    const __int128 v = __int128(q.X - p.X) * (r.Y - p.Y) - __int128(q.Y - p.Y) * (r.X - p.X);
    return v > 0 ? 1 : (v < 0 ? -1 : 0);
  };
  // With the boxes overlapping, segments on one line overlap too.
  return orient(a, b, c) * orient(a, b, d) <= 0 && orient(c, d, a) * orient(c, d, b) <= 0;
}

// Whether the paths wind round the place (the non-zero rule).
bool windsRound(const Paths& paths, const TEdgeProbe& q) {
  int winding = 0;
  for (const auto& path : paths)
    for (size_t i = 0, j = path.size() - 1; i < path.size(); j = i++)
      winding += q.winding(path[j].X, path[j].Y, path[i].X, path[i].Y);
  return winding != 0;
}

bool inBox(const IntPoint& p, const ScaledBox& box) {
  return p.X >= box.left && p.X <= box.right && p.Y >= box.top && p.Y <= box.bottom;
}

// Whether `inner` lies inside `outer` (clean paths under the non-zero rule),
// decided exactly where no clipping is needed; nothing where it is.
//
// When no edge of one meets an edge of the other, each path of one lies
// wholly inside or wholly outside the other, and it is enough to test one
// vertex of each: the inner region lies inside the outer one when every
// inner path does and no outer path (the edge of a hole, or an island in
// one) lies inside the inner region. Otherwise a place just beside an inner
// edge that lies in the inner region but not in the outer one shows that the
// inner region sticks out.
std::optional<bool> containsWithoutClipping(const Paths& outer, const Paths& inner,
                                            const ScaledBox& innerBox) {
  if (outer == inner) return true;
  auto sticksOutBeside = [&](const IntPoint& u, const IntPoint& v) {
    if (u == v) return false;
    for (bool left : {true, false}) {
      const TEdgeProbe q = TEdgeProbe::beside(u.X, u.Y, v.X, v.Y, left);
      if (windsRound(inner, q) && !windsRound(outer, q)) return true;
    }
    return false;
  };
  // The outer edges near the inner region, each to be tested against every
  // inner edge: where that makes too many pairs, clipping is quicker.
  std::vector<std::pair<IntPoint, IntPoint>> near;
  for (const auto& path : outer)
    for (size_t i = 0, j = path.size() - 1; i < path.size(); j = i++) {
      const IntPoint& a = path[j];
      const IntPoint& b = path[i];
      if (std::max(a.X, b.X) < innerBox.left || std::min(a.X, b.X) > innerBox.right ||
          std::max(a.Y, b.Y) < innerBox.top || std::min(a.Y, b.Y) > innerBox.bottom)
        continue;
      near.emplace_back(a, b);
    }
  size_t innerEdges = 0;
  for (const auto& path : inner) innerEdges += path.size();
  constexpr size_t kMostEdgePairs = 1 << 18;
  if (near.size() * innerEdges > kMostEdgePairs) return std::nullopt;
  auto edgesMeet = [&] {
    for (const auto& [a, b] : near)
      for (const auto& other : inner)
        for (size_t k = 0, l = other.size() - 1; k < other.size(); l = k++)
          if (segmentsMeet(a, b, other[l], other[k])) return true;
    return false;
  };
  if (!edgesMeet()) {
    for (const auto& path : inner) {
      if (path.empty() || windsRound(outer, TEdgeProbe::at(path[0].X, path[0].Y))) continue;
      for (size_t i = 0, j = path.size() - 1; i < path.size(); j = i++)
        if (path[j] != path[i])
          return sticksOutBeside(path[j], path[i]) ? std::optional(false) : std::nullopt;
      return std::nullopt;
    }
    for (const auto& path : outer)
      if (!path.empty() && inBox(path[0], innerBox) &&
          windsRound(inner, TEdgeProbe::at(path[0].X, path[0].Y)))
        return std::nullopt;
    return true;
  }
  // A few edges spread over each inner path.
  for (const auto& path : inner) {
    const size_t step = std::max<size_t>(1, path.size() / 8);
    for (size_t i = 0; i < path.size(); i += step)
      if (sticksOutBeside(path[i], path[(i + 1) % path.size()])) return false;
  }
  return std::nullopt;
}

}  // namespace

bool Region::contains(const Region& other) const {
  if (other.empty()) return true;
  if (empty()) return false;
  const Paths& inner = other.impl_->resolve();
  const Paths& outer = impl_->resolve();
  if (const auto decided = containsWithoutClipping(outer, inner, other.impl_->box()))
    return *decided;
  return (other - *this).empty();
}

double Region::area() const {
  if (!impl_ || impl_->pieces.empty()) return 0;
  double a = 0;
  for (const auto& path : impl_->resolve()) a += doubleArea(path) / 2;
  return a / double(kScale * kScale);
}

std::vector<std::vector<Region::Point>> Region::polygons() const {
  std::vector<std::vector<Point>> result;
  if (!impl_ || impl_->pieces.empty()) return result;
  for (const auto& path : impl_->resolve()) {
    std::vector<Point> contour;
    for (const auto& p : path) {
      const Point q{int32_t(std::nearbyint(double(p.X) / kScale)),
                    int32_t(std::nearbyint(double(p.Y) / kScale))};
      if (contour.empty() || !(contour.back() == q)) contour.push_back(q);
    }
    while (contour.size() > 1 && contour.front() == contour.back()) contour.pop_back();
    if (contour.size() >= 3) result.push_back(std::move(contour));
  }
  return result;
}

}  // namespace plavesk
