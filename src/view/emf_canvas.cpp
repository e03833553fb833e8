#include "view/emf_canvas.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>
#include <utility>

namespace plavesk {

namespace {
constexpr uint32_t kAnisotropic = 8;
constexpr uint32_t kTransparent = 1;
constexpr uint32_t kCopyPen = 13;
constexpr uint32_t kNotXorPen = 10;
constexpr uint32_t kPsNull = 5, kPsInsideFrame = 6, kPsGeometric = 0x10000;
constexpr uint32_t kBsSolid = 0, kBsNull = 1;
// Pens, brushes and fonts alternate between two handles each, so the new
// object is selected before the old one is deleted.
constexpr uint32_t kPenHandles[2] = {1, 2};
constexpr uint32_t kBrushHandles[2] = {3, 4};
constexpr uint32_t kFontHandles[2] = {5, 6};
constexpr uint32_t kHandleCount = 7;  // slot 0 is the metafile itself
constexpr uint32_t kCompatibleGraphics = 1;
constexpr uint32_t kColorOnColor = 3;
constexpr uint32_t kDibRgbColors = 0;
constexpr uint32_t kSrcCopy = 0x00CC0020;
constexpr uint8_t kDefaultCharset = 1;
constexpr uint8_t kVariablePitchSwiss = 0x22;
constexpr size_t kFaceChars = 32;
// The font record carries the logical font padded to the size of its
// extended form, as Windows writes it.
constexpr size_t kLogFontBytes = 92, kLogFontPanoseBytes = 320;

// UTF-8 to UTF-16 code units; a byte that starts no valid sequence becomes
// U+FFFD.
std::u16string utf16(const std::string& utf8) {
  std::u16string out;
  size_t i = 0;
  while (i < utf8.size()) {
    const uint8_t b = uint8_t(utf8[i]);
    uint32_t c = 0xFFFD;
    size_t n = b < 0x80 ? 1 : (b >> 5) == 6 ? 2 : (b >> 4) == 14 ? 3 : (b >> 3) == 30 ? 4 : 0;
    if (n == 1) {
      c = b;
    } else if (n > 1 && i + n <= utf8.size()) {
      uint32_t v = b & (0x7F >> n);
      bool ok = true;
      for (size_t k = 1; k < n; ++k) {
        const uint8_t t = uint8_t(utf8[i + k]);
        ok = ok && (t >> 6) == 2;
        v = (v << 6) | (t & 0x3F);
      }
      static constexpr uint32_t kLeast[5] = {0, 0, 0x80, 0x800, 0x10000};
      if (ok && v >= kLeast[n] && v <= 0x10FFFF && (v < 0xD800 || v > 0xDFFF))
        c = v;
      else
        n = 1;
    } else {
      n = 1;
    }
    i += n;
    if (c >= 0x10000) {
      out.push_back(char16_t(0xD800 + ((c - 0x10000) >> 10)));
      out.push_back(char16_t(0xDC00 + ((c - 0x10000) & 0x3FF)));
    } else {
      out.push_back(char16_t(c));
    }
  }
  return out;
}

bool sameFont(const CanvasFont& a, const CanvasFont& b) {
  return a.face == b.face && a.height == b.height && a.weight == b.weight && a.angle == b.angle;
}

int32_t tenthsOfDegrees(double angle) {
  if (!std::isfinite(angle)) return 0;
  const long t = std::lround(std::fmod(angle, 360.0) * 10) % 3600;
  return int32_t(t < 0 ? t + 3600 : t);
}
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
  Record& u16(uint16_t v) { return u8(uint8_t(v)).u8(uint8_t(v >> 8)); }
  Record& f32(float v) {
    uint32_t bits;
    std::memcpy(&bits, &v, sizeof bits);
    return u32(bits);
  }
  Record& zeros(size_t n) {
    bytes.insert(bytes.end(), n, 0);
    return *this;
  }
  // Pads to a multiple of four bytes.
  Record& align() { return zeros((4 - bytes.size() % 4) % 4); }
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

void EmfCanvas::syncMapping() {
  const CanvasMapping& m = mapping();
  if (!haveMapping_ || std::memcmp(&m, &written_, sizeof m) != 0) {
    emit(Record(kSetWindowExt).i32(int32_t(m.windowExtX)).i32(int32_t(m.windowExtY)));
    emit(Record(kSetWindowOrg).i32(int32_t(m.windowOrgX)).i32(int32_t(m.windowOrgY)));
    emit(Record(kSetViewportExt).i32(int32_t(m.viewportExtX)).i32(int32_t(m.viewportExtY)));
    emit(Record(kSetViewportOrg).i32(int32_t(m.viewportOrgX)).i32(int32_t(m.viewportOrgY)));
    written_ = m;
    haveMapping_ = true;
  }
}

void EmfCanvas::sync(bool needsBrush) {
  syncMapping();
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

void EmfCanvas::syncFont(const CanvasFont& font) {
  if (haveFont_ && sameFont(font, writtenFont_)) return;
  const uint32_t handle = kFontHandles[fontHandle_ == kFontHandles[0] ? 1 : 0];
  const int32_t turn = tenthsOfDegrees(font.angle);
  Record r(kExtCreateFontIndirectW);
  r.u32(handle);
  r.i32(font.height).i32(0).i32(turn).i32(turn).i32(font.weight);
  r.u8(0).u8(0).u8(0).u8(kDefaultCharset);      // italic, underline, strike-out, charset
  r.u8(0).u8(0).u8(0).u8(kVariablePitchSwiss);  // precisions, quality, pitch and family
  std::u16string face = utf16(font.face);
  face.resize(std::min(face.size(), kFaceChars - 1));
  for (char16_t c : face) r.u16(uint16_t(c));
  r.zeros((kFaceChars - face.size()) * 2);
  r.zeros(kLogFontPanoseBytes - kLogFontBytes);
  emit(r);
  emit(Record(kSelectObject).u32(handle));
  if (fontHandle_) emit(Record(kDeleteObject).u32(fontHandle_));
  fontHandle_ = handle;
  writtenFont_ = font;
  haveFont_ = true;
}

bool EmfCanvas::text(CanvasPoint anchor, const std::string& utf8, const CanvasFont& font) {
  const std::u16string chars = utf16(utf8);
  if (chars.empty()) return true;
  syncMapping();
  syncFont(font);
  if (!haveTextColour_ || writtenTextColour_ != pen().colour) {
    emit(Record(kSetTextColor).u32(pen().colour & 0x00FFFFFF));
    writtenTextColour_ = pen().colour;
    haveTextColour_ = true;
  }
  // Bounds for the header: a box of about the text's size turned about the
  // anchor (the letters' own widths are the reader's).
  const double h = std::fabs(double(font.height));
  const double w = 0.6 * h * double(chars.size());
  const double a = font.angle * 3.14159265358979 / 180;
  const double ca = std::cos(a), sa = std::sin(a);
  int32_t l = INT32_MAX, t = INT32_MAX, r = INT32_MIN, b = INT32_MIN;
  const std::pair<double, double> box[4] = {{0.0, 0.0}, {w, 0.0}, {w, -h}, {0.0, -h}};
  for (const auto& [u, v] : box) {
    const CanvasPoint corner{int32_t(std::lround(anchor.x + u * ca - v * sa)),
                             int32_t(std::lround(anchor.y + u * sa + v * ca))};
    include(corner);
    const CanvasPoint d = mapping().toDevice(corner);
    l = std::min(l, d.x);
    t = std::min(t, d.y);
    r = std::max(r, d.x);
    b = std::max(b, d.y);
  }
  // Page units to 0.01 mm, for readers that scale text themselves.
  const double perPixel = 2540.0 / dpi_;
  const CanvasMapping& m = mapping();
  const float xScale = float(std::fabs(m.viewportExtX / m.windowExtX) * perPixel);
  const float yScale = float(std::fabs(m.viewportExtY / m.windowExtY) * perPixel);
  constexpr uint32_t kStringOffset = 76;
  Record rec(kExtTextOutW);
  rec.i32(l).i32(t).i32(r).i32(b);
  rec.u32(kCompatibleGraphics).f32(xScale).f32(yScale);
  rec.i32(anchor.x).i32(anchor.y);
  rec.u32(uint32_t(chars.size())).u32(kStringOffset);
  rec.u32(0);                       // no clipping or opaque rectangle
  rec.i32(0).i32(0).i32(0).i32(0);  // that rectangle
  rec.u32(0);                       // no spacing array
  for (char16_t c : chars) rec.u16(uint16_t(c));
  rec.align();
  emit(rec);
  return true;
}

void EmfCanvas::image(const CanvasRect& box, const CanvasImage& picture) {
  if (picture.width <= 0 || picture.height <= 0 ||
      picture.pixels.size() < size_t(picture.width) * size_t(picture.height))
    return;
  syncMapping();
  if (!haveStretchMode_) {
    // Shrinking keeps whole source pixels instead of blending them.
    emit(Record(kSetStretchBltMode).u32(kColorOnColor));
    haveStretchMode_ = true;
  }
  includeBox(box);
  const CanvasPoint a = mapping().toDevice({box.left, box.top});
  const CanvasPoint b = mapping().toDevice({box.right, box.bottom});
  const uint32_t bits = picture.twoColour ? 1 : 24;
  const size_t rowBytes = (size_t(picture.width) * bits + 31) / 32 * 4;
  const size_t imageBytes = rowBytes * size_t(picture.height);
  const uint32_t infoBytes = 40 + (picture.twoColour ? 8 : 0);
  constexpr uint32_t kInfoOffset = 80;
  Record r(kStretchDiBits);
  r.i32(std::min(a.x, b.x)).i32(std::min(a.y, b.y)).i32(std::max(a.x, b.x)).i32(std::max(a.y, b.y));
  r.i32(box.left).i32(box.top);
  r.i32(0).i32(0).i32(picture.width).i32(picture.height);
  r.u32(kInfoOffset).u32(infoBytes).u32(kInfoOffset + infoBytes).u32(uint32_t(imageBytes));
  r.u32(kDibRgbColors).u32(kSrcCopy);
  r.i32(box.right - box.left).i32(box.bottom - box.top);
  // Bitmap information: bottom row first.
  r.u32(40).i32(picture.width).i32(picture.height).u16(1).u16(uint16_t(bits)).u32(0);
  r.u32(uint32_t(imageBytes)).i32(0).i32(0).u32(picture.twoColour ? 2 : 0).u32(0);
  if (picture.twoColour) {
    // Index 0 ink (the dark pixels), 1 paper.
    for (CanvasColour c : {picture.ink, picture.paper})
      r.u8(uint8_t(c >> 16)).u8(uint8_t(c >> 8)).u8(uint8_t(c)).u8(0);
  }
  r.bytes.reserve(r.bytes.size() + imageBytes);
  for (int32_t y = picture.height - 1; y >= 0; --y) {
    const CanvasColour* row = &picture.pixels[size_t(y) * size_t(picture.width)];
    const size_t start = r.bytes.size();
    if (picture.twoColour) {
      r.zeros(rowBytes);
      for (int32_t x = 0; x < picture.width; ++x) {
        const CanvasColour c = row[x];
        const int lum = int(c & 0xFF) + int((c >> 8) & 0xFF) + int((c >> 16) & 0xFF);
        if (lum >= 3 * 128) r.bytes[start + size_t(x) / 8] |= uint8_t(0x80 >> (x % 8));
      }
    } else {
      for (int32_t x = 0; x < picture.width; ++x)
        r.u8(uint8_t(row[x] >> 16)).u8(uint8_t(row[x] >> 8)).u8(uint8_t(row[x]));
      r.zeros(rowBytes - size_t(picture.width) * 3);
    }
  }
  emit(r);
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
