// Geometry of one element: bounding boxes, exact outlines as regions, node
// hit tests and the move, rotate and mirror primitives. Texts are containers:
// every change of geometry applies to the text and to each of its strokes.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "document/objekt.h"
#include "platform/core/region.h"

namespace plavesk {

// {left, top, right, bottom}; normalised means left <= right and top <= bottom
// (in world coordinates "top" is the lower y).
struct TRect {
  int32_t left = 0;
  int32_t top = 0;
  int32_t right = 0;
  int32_t bottom = 0;
  bool isEmpty() const { return left >= right || top >= bottom; }
  friend bool operator==(const TRect&, const TRect&) = default;
};

TRect normalised(TRect r);
// Union in which empty rectangles do not contribute.
TRect unite(const TRect& a, const TRect& b);
TRect toRect(const Region::Box& box);
Region::Box toBox(const TRect& rect);

// Converts world points to the pixels of a device (a canvas with its
// mapping). Outlines built on a device have every vertex and rectangle corner
// converted before the region is built, and minimum sizes of one pixel.
class DeviceMapping {
 public:
  virtual ~DeviceMapping() = default;
  virtual TPoint toDevice(TPoint world) const = 0;
  // Pixels per unit.
  virtual double pixelScale() const = 0;
};

// World-unit box including half the line width and the clearance. Pads with
// an unknown shape and texts without strokes give the empty rectangle.
TRect elementBounds(const TObjekt& e);
// Union of elementBounds of every element.
TRect elementsBounds(const TObjektList& list);
// Union of the outline boxes of the selected elements.
TRect selectionBounds(const TObjektList& list);
// Centre of selectionBounds, snapped to the grid.
TPoint selectionCentre(const TObjektList& list, double grid);
// The same centre of a box already known.
TPoint selectionCentre(const TRect& bounds, double grid);

// The exact outline in world units (or device pixels with a mapping); nullopt
// for kinds without geometry, tracks and areas with fewer than two points,
// texts without strokes and pads of an unknown shape. The element is never
// changed.
std::optional<Region> elementOutline(const TObjekt& e, const DeviceMapping* device = nullptr);
// The outline of a pad of any shape 1..9 (centre, outer radius); the empty
// region for another shape.
Region padShapeOutline(TPoint centre, int32_t radius, int shape,
                       const DeviceMapping* device = nullptr);
// A straight segment with round ends as an 18-point polygon.
std::vector<TPoint> trackOutlinePoints(TPoint p1, TPoint p2, int32_t width,
                                       const DeviceMapping* device = nullptr);
Region trackOutline(TPoint p1, TPoint p2, int32_t width, const DeviceMapping* device = nullptr);
// A point of a circle element at `degrees` counter-clockwise from +x.
TPoint arcPoint(const TObjekt& e, double degrees, int32_t radius);

// The square p +- round(2 / zoom) units that picks elements at p.
TRect hitSquare(TPoint p, double zoom);
// True when hitSquare(p, zoom) intersects the outline.
bool hitElement(const TObjekt& e, TPoint p, double zoom);
// The vertex (areas, tracks) or arc end (circles: 0 start, 1 end) under p;
// -1 for none and for other kinds.
int hitNode(const TObjekt& e, TPoint p, double zoom);

void moveElement(TObjekt& e, int32_t dx, int32_t dy);
void rotateElement(TObjekt& e, TPoint centre);   // 90 degrees clockwise on screen
void mirrorElementH(TObjekt& e, TPoint centre);  // about x = centre.x
void mirrorElementV(TObjekt& e, TPoint centre);  // about y = centre.y
// Legacy lines: the first end has the smaller x; for equal x the larger y.
void normaliseLine(TObjekt& e);

}  // namespace plavesk
