#include "view/emf_canvas.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace plavesk {

namespace {
constexpr uint32_t kAnisotropic = 8;
constexpr uint32_t kTransparent = 1;
constexpr uint32_t kCopyPen = 13;
constexpr uint32_t kNotXorPen = 10;
constexpr uint32_t kPsNull = 5, kPsInsideFrame = 6, kPsGeometric = 0x10000;
constexpr uint32_t kBsSolid = 0, kBsNull = 1;
// Pens and brushes alternate between two handles each, so the new object is
// selected before the old one is deleted.
constexpr uint32_t kPenHandles[2] = {1, 2};
constexpr uint32_t kBrushHandles[2] = {3, 4};
constexpr uint32_t kHandleCount = 5;  // slot 0 is the metafile itself
}  // namespace

class EmfCanvas::Record {
 public:
  explicit Record(uint32_t type) { u32(type).u32(0); }
  Record& u32(uint32_t v) {
    for (int i = 0; i < 4; ++i) bytes.push_back(uint8_t(v >> (8 * i)));
    return *this;
  }
  Record& i32(int32_t v) { return u32(uint32_t(v)); }
  Record& u8(uint8_t v) {
    bytes.push_back(v);
    return *this;
  }
  std::vector<uint8_t> bytes;
};

EmfCanvas::EmfCanvas(int32_t w, int32_t h, double dpi)
    : width_(w), height_(h), clip_{0, 0, w, h}, dpi_(dpi) {
  Record r(kSetMapMode);
  emit(r.u32(kAnisotropic));
  Record b(kSetBkMode);
  emit(b.u32(kTransparent));
}

void EmfCanvas::emit(const Record& r) {
  const size_t start = records_.size();
  records_.insert(records_.end(), r.bytes.begin(), r.bytes.end());
  while ((records_.size() - start) % 4) records_.push_back(0);
  const uint32_t size = uint32_t(records_.size() - start);
  for (int i = 0; i < 4; ++i) records_[start + 4 + size_t(i)] = uint8_t(size >> (8 * i));
  ++recordCount_;
}

void EmfCanvas::sync(bool needsBrush) {
  const CanvasMapping& m = mapping();
  if (!haveMapping_ || std::memcmp(&m, &written_, sizeof m) != 0) {
    emit(Record(kSetWindowExt).i32(int32_t(m.windowExtX)).i32(int32_t(m.windowExtY)));
    emit(Record(kSetWindowOrg).i32(int32_t(m.windowOrgX)).i32(int32_t(m.windowOrgY)));
    emit(Record(kSetViewportExt).i32(int32_t(m.viewportExtX)).i32(int32_t(m.viewportExtY)));
    emit(Record(kSetViewportOrg).i32(int32_t(m.viewportOrgX)).i32(int32_t(m.viewportOrgY)));
    written_ = m;
    haveMapping_ = true;
  }
  if (mode() != writtenMode_) {
    emit(Record(kSetRop2).u32(mode() == RasterMode::kNotXor ? kNotXorPen : kCopyPen));
    writtenMode_ = mode();
  }
  if (!havePen_ || !(pen() == writtenPen_)) {
    const uint32_t handle = kPenHandles[penHandle_ == kPenHandles[0] ? 1 : 0];
    const uint32_t style = pen().style == PenStyle::kNone          ? kPsNull
                           : pen().style == PenStyle::kInsideFrame ? kPsInsideFrame
                                                                   : 0;
    if (pen().width <= 0) {
      // One device pixel whatever the mapping.
      emit(Record(kCreatePen).u32(handle).u32(style).i32(0).i32(0).u32(pen().colour));
    } else {
      // Geometric, round ends and joins.
      emit(Record(kExtCreatePen)
               .u32(handle)
               .u32(0)
               .u32(0)
               .u32(0)
               .u32(0)
               .u32(kPsGeometric | style)
               .u32(uint32_t(pen().width))
               .u32(kBsSolid)
               .u32(pen().colour)
               .u32(0)
               .u32(0));
    }
    emit(Record(kSelectObject).u32(handle));
    if (penHandle_) emit(Record(kDeleteObject).u32(penHandle_));
    penHandle_ = handle;
    writtenPen_ = pen();
    havePen_ = true;
  }
  if (!needsBrush) return;
  // A pattern brush ignores the colour; a hidden brush ignores both.
  const CanvasBrush& b = brush();
  const bool same =
      haveBrush_ && b.solid == writtenBrush_.solid &&
      (!b.solid || (b.pattern ? writtenBrush_.pattern && *b.pattern == writtenPattern_
                              : !writtenBrush_.pattern && b.colour == writtenBrush_.colour));
  if (!same) {
    const uint32_t handle = kBrushHandles[brushHandle_ == kBrushHandles[0] ? 1 : 0];
    if (brush().solid && brush().pattern) {
      // An 8 x 8 24-bit device-independent bitmap, bottom row first.
      Record r(kCreateDibPatternBrush);
      r.u32(handle).u32(0).u32(32).u32(40).u32(72).u32(8 * 24);
      r.u32(40).i32(8).i32(8).u32(1 | (24u << 16)).u32(0).u32(8 * 24).u32(0).u32(0).u32(0).u32(0);
      for (int row = 7; row >= 0; --row)
        for (int col = 0; col < 8; ++col) {
          const CanvasColour c = (*brush().pattern)[size_t(row * 8 + col)];
          r.u8(uint8_t(c >> 16)).u8(uint8_t(c >> 8)).u8(uint8_t(c));
        }
      emit(r);
      writtenPattern_ = *brush().pattern;
    } else {
      emit(Record(kCreateBrushIndirect)
               .u32(handle)
               .u32(brush().solid ? kBsSolid : kBsNull)
               .u32(brush().colour)
               .u32(0));
    }
    emit(Record(kSelectObject).u32(handle));
    if (brushHandle_) emit(Record(kDeleteObject).u32(brushHandle_));
    brushHandle_ = handle;
    writtenBrush_ = brush();
    haveBrush_ = true;
  }
}

void EmfCanvas::include(CanvasPoint world) {
  const CanvasPoint d = mapping().toDevice(world);
  minX_ = std::min(minX_, d.x);
  minY_ = std::min(minY_, d.y);
  maxX_ = std::max(maxX_, d.x);
  maxY_ = std::max(maxY_, d.y);
}

void EmfCanvas::includeBox(const CanvasRect& b) {
  include({b.left, b.top});
  include({b.right, b.bottom});
}

void EmfCanvas::points(uint32_t type, std::span<const CanvasPoint> pts) {
  if (pts.empty()) return;
  sync(type == kPolygon);
  int32_t l = pts[0].x, t = pts[0].y, r = l, b = t;
  for (const auto& p : pts) {
    l = std::min(l, p.x);
    r = std::max(r, p.x);
    t = std::min(t, p.y);
    b = std::max(b, p.y);
    include(p);
  }
  Record rec(type);
  rec.i32(l).i32(t).i32(r).i32(b).u32(uint32_t(pts.size()));
  for (const auto& p : pts) rec.i32(p.x).i32(p.y);
  emit(rec);
}

void EmfCanvas::line(CanvasPoint from, CanvasPoint to) {
  const CanvasPoint pts[2] = {from, to};
  points(kPolyline, pts);
}
void EmfCanvas::polyline(std::span<const CanvasPoint> pts) {
  points(kPolyline, pts);
}
void EmfCanvas::polygon(std::span<const CanvasPoint> pts) {
  points(kPolygon, pts);
}

void EmfCanvas::figureWithBox(uint32_t type, const CanvasRect& box) {
  sync(true);
  includeBox(box);
  emit(Record(type).i32(box.left).i32(box.top).i32(box.right).i32(box.bottom));
}

void EmfCanvas::ellipse(const CanvasRect& box) {
  figureWithBox(kEllipse, box);
}
void EmfCanvas::rectangle(const CanvasRect& box) {
  figureWithBox(kRectangle, box);
}
void EmfCanvas::roundRect(const CanvasRect& box, int32_t cw, int32_t ch) {
  sync(true);
  includeBox(box);
  emit(
      Record(kRoundRect).i32(box.left).i32(box.top).i32(box.right).i32(box.bottom).i32(cw).i32(ch));
}

void EmfCanvas::arcLike(uint32_t type, const CanvasRect& box, CanvasPoint s, CanvasPoint e) {
  sync(type == kChord);
  includeBox(box);
  emit(Record(type)
           .i32(box.left)
           .i32(box.top)
           .i32(box.right)
           .i32(box.bottom)
           .i32(s.x)
           .i32(s.y)
           .i32(e.x)
           .i32(e.y));
}
void EmfCanvas::arc(const CanvasRect& box, CanvasPoint s, CanvasPoint e) {
  arcLike(kArc, box, s, e);
}
void EmfCanvas::chord(const CanvasRect& box, CanvasPoint s, CanvasPoint e) {
  arcLike(kChord, box, s, e);
}

bool EmfCanvas::text(CanvasPoint, const std::string&, const CanvasFont&) {
  return false;
}

std::vector<uint8_t> EmfCanvas::finish() const {
  Record eof(kEof);
  eof.u32(0).u32(16).u32(20);
  const uint32_t headerSize = 108;
  const uint32_t total = headerSize + uint32_t(records_.size()) + 20;
  int32_t l = minX_, t = minY_, r = maxX_, b = maxY_;
  if (l > r) l = t = r = b = 0;
  const double mmPerPixel = 25.4 / dpi_;
  Record h(kHeader);
  h.i32(l).i32(t).i32(r).i32(b);
  // Frame in 0.01 mm.
  h.i32(int32_t(std::lround(l * mmPerPixel * 100)))
      .i32(int32_t(std::lround(t * mmPerPixel * 100)))
      .i32(int32_t(std::lround(r * mmPerPixel * 100)))
      .i32(int32_t(std::lround(b * mmPerPixel * 100)));
  h.u32(0x464D4520).u32(0x10000).u32(total).u32(recordCount_ + 2);
  h.u8(uint8_t(kHandleCount)).u8(0).u8(0).u8(0);  // nHandles (u16), reserved (u16)
  h.u32(0).u32(0).u32(0);                         // description, palette
  h.i32(width_).i32(height_);
  h.i32(int32_t(std::lround(width_ * mmPerPixel))).i32(int32_t(std::lround(height_ * mmPerPixel)));
  h.u32(0).u32(0).u32(0);  // no pixel format, no OpenGL
  h.i32(int32_t(std::lround(width_ * mmPerPixel * 1000)))
      .i32(int32_t(std::lround(height_ * mmPerPixel * 1000)));
  std::vector<uint8_t> out = h.bytes;
  const uint32_t size = uint32_t(out.size());
  for (int i = 0; i < 4; ++i) out[4 + size_t(i)] = uint8_t(size >> (8 * i));
  out.insert(out.end(), records_.begin(), records_.end());
  std::vector<uint8_t> e = eof.bytes;
  const uint32_t esize = uint32_t(e.size());
  for (int i = 0; i < 4; ++i) e[4 + size_t(i)] = uint8_t(esize >> (8 * i));
  out.insert(out.end(), e.begin(), e.end());
  return out;
}

}  // namespace plavesk
