// A canvas that records what is drawn as an enhanced metafile: the records a
// Windows program reads back as a picture (header, mapping, pens, brushes,
// fonts, figures, texts, bitmaps, end of file). Everything Windows-specific of the format lives in
// this class.
#pragma once

#include <climits>
#include <cstdint>
#include <vector>

#include "platform/core/canvas.h"

namespace plavesk {

class EmfCanvas : public Canvas {
 public:
  // `device` is the size of the reference surface in pixels at `dpi`; it is
  // also the clip box.
  EmfCanvas(int32_t deviceWidth, int32_t deviceHeight, double dpi = 96);

  CanvasRect clipBox() const override { return clip_; }
  void setClip(const CanvasRect& device) { clip_ = device; }

  void line(CanvasPoint from, CanvasPoint to) override;
  void polyline(std::span<const CanvasPoint> points) override;
  void polygon(std::span<const CanvasPoint> points) override;
  void ellipse(const CanvasRect& box) override;
  void rectangle(const CanvasRect& box) override;
  void roundRect(const CanvasRect& box, int32_t cornerWidth, int32_t cornerHeight) override;
  void arc(const CanvasRect& box, CanvasPoint start, CanvasPoint end) override;
  void chord(const CanvasRect& box, CanvasPoint start, CanvasPoint end) override;
  // A font record (rotated by escapement and orientation in tenths of a
  // degree) and the text as UTF-16; the reader lays out the letters with the
  // font's own widths.
  bool text(CanvasPoint anchor, const std::string& utf8, const CanvasFont& font) override;
  // The picture as a device-independent bitmap stretched into the box: one
  // bit a pixel with ink and paper as its two colours for a two-colour
  // picture, otherwise 24 bits.
  void image(const CanvasRect& box, const CanvasImage& picture) override;

  // The complete file: header, the records so far, end of file.
  std::vector<uint8_t> finish() const;

  // Record types used.
  enum : uint32_t {
    kHeader = 1,
    kPolygon = 3,
    kPolyline = 4,
    kSetWindowExt = 9,
    kSetWindowOrg = 10,
    kSetViewportExt = 11,
    kSetViewportOrg = 12,
    kEof = 14,
    kSetMapMode = 17,
    kSetBkMode = 18,
    kSetRop2 = 20,
    kSetStretchBltMode = 21,
    kSetTextColor = 24,
    kSelectObject = 37,
    kCreatePen = 38,
    kCreateBrushIndirect = 39,
    kDeleteObject = 40,
    kEllipse = 42,
    kRectangle = 43,
    kRoundRect = 44,
    kArc = 45,
    kChord = 46,
    kStretchDiBits = 81,
    kExtCreateFontIndirectW = 82,
    kExtTextOutW = 84,
    kCreateDibPatternBrush = 94,
    kExtCreatePen = 95,
  };

 private:
  class Record;
  void emit(const Record& r);
  // Brings the metafile's mapping, mode, pen and brush up to the canvas's.
  void sync(bool needsBrush);
  void syncMapping();
  void syncFont(const CanvasFont& font);
  void include(CanvasPoint world);
  void includeBox(const CanvasRect& box);
  void figureWithBox(uint32_t type, const CanvasRect& box);
  void arcLike(uint32_t type, const CanvasRect& box, CanvasPoint start, CanvasPoint end);
  void points(uint32_t type, std::span<const CanvasPoint> pts);

  int32_t width_, height_;
  CanvasRect clip_;
  double dpi_;
  std::vector<uint8_t> records_;
  uint32_t recordCount_ = 0;
  bool haveMapping_ = false;
  CanvasMapping written_;
  bool havePen_ = false, haveBrush_ = false;
  CanvasPen writtenPen_;
  CanvasBrush writtenBrush_;
  CanvasPattern writtenPattern_{};
  RasterMode writtenMode_ = RasterMode::kCopy;
  uint32_t penHandle_ = 0, brushHandle_ = 0, fontHandle_ = 0;
  bool haveFont_ = false;
  CanvasFont writtenFont_;
  bool haveTextColour_ = false;
  CanvasColour writtenTextColour_ = 0;
  bool haveStretchMode_ = false;
  // Device bounds of everything drawn.
  int32_t minX_ = INT32_MAX, minY_ = INT32_MAX, maxX_ = INT32_MIN, maxY_ = INT32_MIN;
};

}  // namespace plavesk
