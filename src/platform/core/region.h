// An area of the plane built from polygons, ellipses, rectangles and rounded
// rectangles, combined by union, intersection and difference. Coordinates are
// integer units (world units or device pixels, as the caller chooses).
//
// Curves are approximated by polygons whose error stays below half a unit:
// vertices are kept at a finer internal resolution and the vertex count of an
// ellipse grows with its radius. A region is a value: copies are independent.
//
// Unions are kept lazily as a list of pieces, so building the outline of a
// track from many segments costs no polygon clipping; intersection,
// difference, area() and polygons() resolve the pieces into one clean set of
// contours.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <vector>

namespace plavesk {

enum class FillRule : uint8_t {
  kAlternate,  // even-odd
  kWinding,    // non-zero
};

class Region {
 public:
  struct Point {
    int32_t x = 0;
    int32_t y = 0;
    friend bool operator==(const Point&, const Point&) = default;
  };
  // {left, top, right, bottom} with left <= right and top <= bottom.
  struct Box {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;
    bool isEmpty() const { return left >= right || top >= bottom; }
    // Whether this box lies wholly inside `outer` (edges may touch).
    bool inside(const Box& outer) const {
      return left >= outer.left && right <= outer.right && top >= outer.top &&
             bottom <= outer.bottom;
    }
    friend bool operator==(const Box&, const Box&) = default;
  };

  Region();  // the empty region
  Region(const Region& other);
  Region(Region&& other) noexcept;
  Region& operator=(const Region& other);
  Region& operator=(Region&& other) noexcept;
  ~Region();

  // A filled polygon; fewer than three vertices give the empty region.
  static Region polygon(std::span<const Point> vertices, FillRule rule = FillRule::kAlternate);
  template <class P>
  static Region polygonOf(const std::vector<P>& vertices, FillRule rule = FillRule::kAlternate) {
    std::vector<Point> converted;
    converted.reserve(vertices.size());
    for (const auto& p : vertices) converted.push_back(Point{p.x, p.y});
    return polygon(converted, rule);
  }
  // The corners may come in any order; a rectangle without area is empty.
  static Region rectangle(int32_t left, int32_t top, int32_t right, int32_t bottom);
  // The ellipse inscribed in the rectangle.
  static Region ellipse(int32_t left, int32_t top, int32_t right, int32_t bottom);
  // A rectangle whose corners are quarters of an ellipse of the given width
  // and height (clamped to the rectangle's size).
  static Region roundRect(int32_t left, int32_t top, int32_t right, int32_t bottom,
                          int32_t cornerWidth, int32_t cornerHeight);

  Region& unite(const Region& other);
  Region& intersect(const Region& other);
  Region& subtract(const Region& other);
  friend Region operator|(Region a, const Region& b) { return std::move(a.unite(b)); }
  friend Region operator&(Region a, const Region& b) { return std::move(a.intersect(b)); }
  friend Region operator-(Region a, const Region& b) { return std::move(a.subtract(b)); }

  bool empty() const;
  // Smallest box of whole units around the region; {0, 0, 0, 0} when empty.
  Box boundingBox() const;
  // True when the rectangle and the region share an area (touching along an
  // edge or at a corner does not count). The corners may come in any order.
  bool intersectsRect(const Box& rect) const;
  // True inside the region and on its boundary.
  bool containsPoint(Point p) const;
  // Whether `other` lies wholly inside the region: what other minus this
  // region being empty tells, mostly found without clipping.
  bool contains(const Region& other) const;

  // Square units.
  double area() const;
  // The resolved contours (outer contours counter-clockwise in a y-up system,
  // holes the other way), vertices rounded to whole units.
  std::vector<std::vector<Point>> polygons() const;

  // Opaque: defined by the implementation.
  struct Impl;
  explicit Region(std::unique_ptr<Impl> impl);

 private:
  std::unique_ptr<Impl> impl_;
};

}  // namespace plavesk
