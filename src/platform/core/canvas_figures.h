// Figures of the canvas in device pixels, shared by the canvases that draw
// curves as polygons: the points of ellipses and of the arcs between two
// rays.
#pragma once

#include <vector>

#include "platform/core/canvas.h"

namespace plavesk {

struct DevicePoint {
  double x = 0;
  double y = 0;
};

// The ellipse of a device box (centre and radii).
struct DeviceEllipse {
  double cx = 0, cy = 0, rx = 0, ry = 0;
};
DeviceEllipse deviceEllipse(const CanvasMapping& mapping, const CanvasRect& worldBox);

// Visual angle (radians, counter-clockwise on the screen, 0 to the right) of
// the ray from the ellipse's centre through a device point.
double deviceAngle(const DeviceEllipse& e, DevicePoint p);
// Counter-clockwise sweep on the screen from one angle to another, in
// (0, 2 pi]; equal angles give the whole turn.
double deviceSweep(double from, double to);

// Points along the ellipse from `from` over `sweep` radians, spaced so the
// chord error stays below a quarter pixel.
std::vector<DevicePoint> ellipseArcPoints(const DeviceEllipse& e, double from, double sweep);
// The same points appended to `out`, for callers that reuse one buffer.
void appendEllipseArcPoints(const DeviceEllipse& e, double from, double sweep,
                            std::vector<DevicePoint>& out);

// The start angle and sweep of the arc between the rays through two world
// points, on the device.
struct DeviceArc {
  DeviceEllipse ellipse;
  double start = 0;
  double sweep = 0;
};
DeviceArc deviceArc(const CanvasMapping& mapping, const CanvasRect& worldBox, CanvasPoint start,
                    CanvasPoint end);

// A rectangle with rounded corners as a closed point list (device).
std::vector<DevicePoint> roundRectPoints(double left, double top, double right, double bottom,
                                         double cornerW, double cornerH);
// The same points in `out` (replacing its contents).
void roundRectPoints(double left, double top, double right, double bottom, double cornerW,
                     double cornerH, std::vector<DevicePoint>& out);

}  // namespace plavesk
