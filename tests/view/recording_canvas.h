// A canvas that records every figure with the pen, brush and mode it was
// drawn with, for tests of what the paint routines draw and in which order.
#pragma once

#include <string>
#include <vector>

#include "platform/core/canvas.h"

namespace plavesk::testing {

struct DrawCall {
  std::string op;  // "line", "polyline", "polygon", "ellipse", "rectangle", ...
  CanvasPen pen;
  CanvasBrush brush;
  RasterMode mode = RasterMode::kCopy;
  std::vector<CanvasPoint> points;  // polylines, polygons, line ends
  CanvasRect box;                   // figures given by a rectangle
  CanvasPoint start, end;           // arcs and chords; round rects: corner size in start
  std::string text;
};

class RecordingCanvas : public Canvas {
 public:
  explicit RecordingCanvas(CanvasRect clip = {-1000000, -1000000, 1000000, 1000000})
      : clip_(clip) {}
  CanvasRect clipBox() const override { return clip_; }

  void line(CanvasPoint a, CanvasPoint b) override { record("line").points = {a, b}; }
  void polyline(std::span<const CanvasPoint> p) override {
    record("polyline").points.assign(p.begin(), p.end());
  }
  void polygon(std::span<const CanvasPoint> p) override {
    record("polygon").points.assign(p.begin(), p.end());
  }
  void ellipse(const CanvasRect& b) override { record("ellipse").box = b; }
  void rectangle(const CanvasRect& b) override { record("rectangle").box = b; }
  void roundRect(const CanvasRect& b, int32_t w, int32_t h) override {
    DrawCall& c = record("roundRect");
    c.box = b;
    c.start = {w, h};
  }
  void arc(const CanvasRect& b, CanvasPoint s, CanvasPoint e) override {
    DrawCall& c = record("arc");
    c.box = b;
    c.start = s;
    c.end = e;
  }
  void chord(const CanvasRect& b, CanvasPoint s, CanvasPoint e) override {
    DrawCall& c = record("chord");
    c.box = b;
    c.start = s;
    c.end = e;
  }
  bool text(CanvasPoint anchor, const std::string& s, const CanvasFont&) override {
    DrawCall& c = record("text");
    c.points = {anchor};
    c.text = s;
    return true;
  }
  void image(const CanvasRect& b, const CanvasImage&) override { record("image").box = b; }

  std::vector<DrawCall> calls;

 private:
  DrawCall& record(const char* op) {
    calls.push_back({op, pen(), brush(), mode()});
    return calls.back();
  }
  CanvasRect clip_;
};

}  // namespace plavesk::testing
