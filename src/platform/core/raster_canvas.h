// A canvas drawing into a 24-bit image in memory, without anti-aliasing, so
// that every pixel has one of the colours drawn. It needs no display and no
// toolkit: image export and the tests of the paint routines use it.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "platform/core/canvas.h"
#include "platform/core/canvas_figures.h"

namespace plavesk {

// Rows from the top, three bytes a pixel in the order blue, green, red (the
// order of a Windows bitmap row), rows packed without padding.
class RasterImage {
 public:
  RasterImage() = default;
  RasterImage(int32_t width, int32_t height, CanvasColour fill = 0x00FFFFFF);

  int32_t width() const { return width_; }
  int32_t height() const { return height_; }
  CanvasColour pixel(int32_t x, int32_t y) const {
    const uint8_t* p = &bgr_[(size_t(y) * size_t(width_) + size_t(x)) * 3];
    return CanvasColour(p[2]) | (CanvasColour(p[1]) << 8) | (CanvasColour(p[0]) << 16);
  }
  void setPixel(int32_t x, int32_t y, CanvasColour c) {
    uint8_t* p = &bgr_[(size_t(y) * size_t(width_) + size_t(x)) * 3];
    p[0] = uint8_t(c >> 16);
    p[1] = uint8_t(c >> 8);
    p[2] = uint8_t(c);
  }
  const uint8_t* row(int32_t y) const { return &bgr_[size_t(y) * size_t(width_) * 3]; }
  uint8_t* row(int32_t y) { return &bgr_[size_t(y) * size_t(width_) * 3]; }
  void fill(CanvasColour c);

 private:
  int32_t width_ = 0;
  int32_t height_ = 0;
  std::vector<uint8_t> bgr_;
};

class RasterCanvas : public Canvas {
 public:
  explicit RasterCanvas(RasterImage& image);

  // Limits drawing to a device rectangle (inside the image).
  void setClip(const CanvasRect& device);
  CanvasRect clipBox() const override { return clip_; }
  std::unique_ptr<Canvas> band(const CanvasRect& device) override;

  void line(CanvasPoint from, CanvasPoint to) override;
  void polyline(std::span<const CanvasPoint> points) override;
  void polygon(std::span<const CanvasPoint> points) override;
  void ellipse(const CanvasRect& box) override;
  void rectangle(const CanvasRect& box) override;
  void roundRect(const CanvasRect& box, int32_t cornerWidth, int32_t cornerHeight) override;
  void arc(const CanvasRect& box, CanvasPoint start, CanvasPoint end) override;
  void chord(const CanvasRect& box, CanvasPoint start, CanvasPoint end) override;
  // No fonts here: the caller draws texts itself.
  bool text(CanvasPoint anchor, const std::string& utf8, const CanvasFont& font) override;
  void image(const CanvasRect& box, const CanvasImage& picture) override;

  // The paint order of every pixel of the image, in an image-sized buffer
  // (row by row): kNote writes each drawn pixel's order() into it; kBehind
  // draws a pixel only where order() comes after the order noted there,
  // which stays as it is. Bands keep the buffer and its use.
  enum class OrderUse { kNone, kNote, kBehind };
  void setOrders(uint32_t* orders, OrderUse use) {
    orders_ = use == OrderUse::kNone ? nullptr : orders;
    orderUse_ = orders_ ? use : OrderUse::kNone;
  }

 private:
  // What a span is filled with. `rows`, when set, holds the fill ready to be
  // copied: 24 pixels of blue, green, red bytes (16 from any phase of the
  // eight), one row for a colour and eight (one per pattern row) for a
  // pattern.
  struct Paint {
    CanvasColour colour = 0;
    const CanvasPattern* pattern = nullptr;
    const uint8_t* rows = nullptr;
  };
  static constexpr size_t kRowBytes = 24 * 3;
  Paint penPaint();
  Paint brushPaint();
  bool penVisible() const { return pen().style != PenStyle::kNone; }
  // Pen width in pixels, at least one.
  double penPixels() const;

  void span(int32_t y, int32_t x0, int32_t x1, const Paint& paint);
  // A span inside the clip, pixel by pixel: not-xor or a colour of its own.
  void spanByPixel(int32_t y, int32_t x0, int32_t x1, const Paint& paint);
  // A span inside the clip drawn behind the noted paint orders.
  void spanBehind(int32_t y, int32_t x0, int32_t x1, const Paint& paint);
  void fillPolygon(std::span<const DevicePoint> points, const Paint& paint);
  void fillDisc(double cx, double cy, double r, const Paint& paint);
  // The ring between two ellipses of the same centre (inner radii <= 0: none).
  void fillRing(const DeviceEllipse& outer, double innerRx, double innerRy, const Paint& paint);
  void thinLine(DevicePoint a, DevicePoint b, const Paint& paint);
  void stroke(std::span<const DevicePoint> points, bool closed, double width, const Paint& paint);
  // A wide line of one segment with round ends, in copy mode: each row
  // filled once with the union of the rectangle's and the discs' spans.
  void strokeSegment(DevicePoint a, DevicePoint b, double h, const Paint& paint);
  // Fill with the brush, outline with the pen.
  void figure(std::span<const DevicePoint> points);
  // The points on the device, in a buffer reused by the next call.
  std::span<const DevicePoint> toDevice(std::span<const CanvasPoint> points);

  RasterImage& image_;
  CanvasRect clip_;
  uint32_t* orders_ = nullptr;
  OrderUse orderUse_ = OrderUse::kNone;
  // Scratch space kept between figures, so that drawing allocates nothing.
  struct Edge {
    double ax, ay, dx, dy;  // start and direction, as the polygon gives them
    double yLo, yHi;
  };
  std::vector<Edge> edges_;
  // The rows of a circle of radius r centred at height cy: half their
  // widths, or a negative value where a row misses the circle. Centres on
  // whole or half pixels read the values from a table of the radius.
  struct CircleRows {
    double cy = 0, r = 0;
    const double* halves = nullptr;  // by 2 y + base
    int64_t base = 0, count = 0;
    double half(int32_t y) const;
  };
  CircleRows circleRows(double cy, double r);
  // The rectangle along a segment of a wide line: its four edges and the
  // rows it covers inside the clip.
  struct SegmentRows {
    Edge edges[4];
    int32_t y0 = 0, y1 = 0;
  };
  struct Interval {
    int32_t from, to;
  };
  // The rectangle of a wide line's segment of half width `h`; false when it
  // covers no row inside the clip.
  bool segmentRows(DevicePoint a, DevicePoint b, double h, SegmentRows& rows) const;
  // Fills the union of a row's spans (which it may reorder).
  void fillUnion(int32_t y, Interval* spans, size_t count, const Paint& paint);
  std::vector<uint32_t> active_;
  std::vector<double> crossings_;
  std::vector<DevicePoint> devicePoints_;
  // Half widths of the rows of circles of a few radii (the pens and pads
  // of a drawing have few sizes), by twice the row centre's offset from
  // the circle's centre plus reach2.
  struct HalfTable {
    double r = -1;
    int64_t reach2 = 0;
    std::vector<double> halves;
  };
  HalfTable halfTables_[8];
  size_t nextHalfTable_ = 0, lastHalfTable_ = 0;
  // Ready-to-copy fills of the pen and brush, rebuilt when they change.
  uint8_t penRows_[kRowBytes] = {};
  CanvasColour penRowsColour_ = 0;
  bool penRowsValid_ = false;
  uint8_t brushRows_[8 * kRowBytes] = {};
  CanvasColour brushRowsColour_ = 0;
  CanvasPattern brushRowsPattern_{};
  bool brushRowsPatterned_ = false;
  bool brushRowsValid_ = false;
};

}  // namespace plavesk
