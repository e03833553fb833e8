// The drawing surface every paint routine draws on: the screen, printer
// pages, export images and metafiles. Figures are given in world units and
// converted by the canvas's anisotropic mapping; pens have a width in world
// units (0 = one device pixel) with round ends and joins, brushes are a solid
// colour or an 8 x 8 pixel pattern that repeats in device pixels.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

namespace plavesk {

// 0x00BBGGRR, red in the lowest byte.
using CanvasColour = uint32_t;

struct CanvasPoint {
  int32_t x = 0;
  int32_t y = 0;
  friend bool operator==(const CanvasPoint&, const CanvasPoint&) = default;
};

// Two corners of a figure; they may come in any order.
struct CanvasRect {
  int32_t left = 0;
  int32_t top = 0;
  int32_t right = 0;
  int32_t bottom = 0;
  friend bool operator==(const CanvasRect&, const CanvasRect&) = default;
};

// The part of `r` (corners in any order) inside `clip` (normalised); an
// empty part has right == left or bottom == top.
CanvasRect clipRect(const CanvasRect& r, const CanvasRect& clip);

enum class PenStyle : uint8_t {
  kSolid,
  kNone,
  // Figures given by a rectangle keep their outline inside it; lines and
  // polygons draw as with kSolid.
  kInsideFrame,
};

enum class RasterMode : uint8_t {
  kCopy,
  // Rubber-band feedback: drawing the same figure twice restores the picture.
  kNotXor,
  // The same with destination xor colour (measure lines, circle preview);
  // canvases that cannot combine pixels draw it as copy.
  kXor,
};

struct CanvasPen {
  CanvasColour colour = 0;
  int32_t width = 0;  // world units; 0 = one device pixel
  PenStyle style = PenStyle::kSolid;
  friend bool operator==(const CanvasPen&, const CanvasPen&) = default;
};

// Row by row from the top, eight pixels a row.
using CanvasPattern = std::array<CanvasColour, 64>;

struct CanvasBrush {
  CanvasColour colour = 0;
  bool solid = true;                       // false: figures are not filled
  const CanvasPattern* pattern = nullptr;  // replaces the colour when set
  friend bool operator==(const CanvasBrush&, const CanvasBrush&) = default;
};

struct CanvasFont {
  std::string face = "Arial";
  int32_t height = 0;  // world units; negative = character height, as stored
  int weight = 400;
  double angle = 0;  // degrees counter-clockwise
};

// A template or other picture stretched into a world rectangle. Two-colour
// pictures draw their dark pixels in `ink` and their light ones in `paper`.
struct CanvasImage {
  int32_t width = 0;
  int32_t height = 0;
  std::vector<CanvasColour> pixels;  // row by row from the top
  bool twoColour = false;
  CanvasColour ink = 0;
  CanvasColour paper = 0x00FFFFFF;
};

// device = (world - windowOrigin) * viewportExtent / windowExtent +
// viewportOrigin, separately in x and y.
struct CanvasMapping {
  double windowOrgX = 0, windowOrgY = 0;
  double windowExtX = 1, windowExtY = 1;
  double viewportOrgX = 0, viewportOrgY = 0;
  double viewportExtX = 1, viewportExtY = 1;

  double deviceX(double x) const {
    return (x - windowOrgX) * viewportExtX / windowExtX + viewportOrgX;
  }
  double deviceY(double y) const {
    return (y - windowOrgY) * viewportExtY / windowExtY + viewportOrgY;
  }
  double worldX(double px) const {
    return (px - viewportOrgX) * windowExtX / viewportExtX + windowOrgX;
  }
  double worldY(double py) const {
    return (py - viewportOrgY) * windowExtY / viewportExtY + windowOrgY;
  }
  // Rounded to the nearest pixel (halves to even).
  CanvasPoint toDevice(CanvasPoint world) const;
  CanvasPoint toWorld(CanvasPoint device) const;
  // Pixels per unit along x.
  double pixelScale() const;
  // True when the mapping turns the picture over (an odd number of axes
  // flipped): a counter-clockwise turn in the world is clockwise on the
  // device, as on every y-up world shown on a y-down screen.
  bool mirrorsOrientation() const {
    return (windowExtX / viewportExtX) * (windowExtY / viewportExtY) < 0;
  }
};

class Canvas {
 public:
  virtual ~Canvas() = default;

  void setMapping(const CanvasMapping& mapping) { mapping_ = mapping; }
  const CanvasMapping& mapping() const { return mapping_; }
  void setPen(const CanvasPen& pen) { pen_ = pen; }
  const CanvasPen& pen() const { return pen_; }
  void setBrush(const CanvasBrush& brush) { brush_ = brush; }
  const CanvasBrush& brush() const { return brush_; }
  void setMode(RasterMode mode) { mode_ = mode; }
  RasterMode mode() const { return mode_; }
  // Where what is drawn next stands in the paint order of a picture: for
  // canvases that keep the order of every pixel's last figure (0 for the
  // ground under everything).
  void setOrder(uint32_t order) { order_ = order; }
  uint32_t order() const { return order_; }

  // The area that needs drawing, in device pixels (left, top inclusive;
  // right, bottom exclusive). Figures wholly outside may be skipped.
  virtual CanvasRect clipBox() const = 0;

  virtual void line(CanvasPoint from, CanvasPoint to) = 0;
  virtual void polyline(std::span<const CanvasPoint> points) = 0;
  // Filled with the brush (alternate filling), outlined with the pen.
  virtual void polygon(std::span<const CanvasPoint> points) = 0;
  virtual void ellipse(const CanvasRect& box) = 0;
  virtual void rectangle(const CanvasRect& box) = 0;
  virtual void roundRect(const CanvasRect& box, int32_t cornerWidth, int32_t cornerHeight) = 0;
  // The part of the ellipse in `box` from the ray through `start` to the ray
  // through `end`, counter-clockwise as seen on the device. Equal rays give
  // the whole ellipse.
  virtual void arc(const CanvasRect& box, CanvasPoint start, CanvasPoint end) = 0;
  // The same part closed by its chord, filled and outlined.
  virtual void chord(const CanvasRect& box, CanvasPoint start, CanvasPoint end) = 0;
  // Text in the pen colour, transparent background, its unrotated top-left
  // corner at `anchor`. Returns false when the canvas cannot draw text; the
  // caller then draws it by other means.
  virtual bool text(CanvasPoint anchor, const std::string& utf8, const CanvasFont& font) = 0;
  virtual void image(const CanvasRect& box, const CanvasImage& picture) = 0;

  // A canvas on the same target limited to `device` (inside clipBox()),
  // which another thread may draw on while this one draws elsewhere; null
  // when the target allows no such sharing. Its pen, brush, mode and
  // mapping start unset.
  virtual std::unique_ptr<Canvas> band(const CanvasRect& /*device*/) { return nullptr; }

 private:
  CanvasMapping mapping_;
  CanvasPen pen_;
  CanvasBrush brush_;
  RasterMode mode_ = RasterMode::kCopy;
  uint32_t order_ = 0;
};

}  // namespace plavesk
