// HPGL text for the milling machine: plotter coordinates, mirroring about
// the reference frame, the statements used and the reference holes.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "document/objekt.h"
#include "view/geometry.h"

namespace plavesk {

// Units of 0.025 mm with the origin at the lower left corner of the board.
struct TPlotterPoint {
  int32_t x = 0;
  int32_t y = 0;
  friend bool operator==(const TPlotterPoint&, const TPlotterPoint&) = default;
};
TPlotterPoint toPlotter(TPoint p, int32_t boardHeight);

enum class TMirror { kNone, kX, kY };
// Mirrors about the middle of the frame (elementsBounds of the board).
TPoint mirrorPoint(TPoint p, const TRect& frame, TMirror mirror);

// Reference holes at the corners of the frame, written in this order.
struct TReferenceHoles {
  bool bottomLeft = true;
  bool bottomRight = false;
  bool topLeft = false;
  bool topRight = false;
};

// One statement a line, CR LF line ends.
class THpglText {
 public:
  THpglText(int32_t boardHeight, const TRect& frame, TMirror mirror)
      : height_(boardHeight), frame_(frame), mirror_(mirror) {}

  void statement(const std::string& s) { text_ += s + "\r\n"; }
  void penUp() { statement("PU;"); }
  void penDown() { statement("PD;"); }
  // "PA x,y;" for a board point, mirrored as chosen.
  void moveTo(TPoint p);
  // "PA x,y;" without mirroring (reference holes).
  void moveToUnmirrored(TPoint p);
  void circle(int32_t radius) { statement("CI" + std::to_string(radius) + ";"); }
  // "IN;", optionally "SP2", then "PT0;" and "PU;".
  void header(bool secondPen = false);
  // A plunge at each chosen corner of the frame.
  void referenceHoles(const TReferenceHoles& holes);
  // PA first, PD, PA each further point, optionally PA first again, PU.
  void path(const std::vector<TPoint>& points, bool closed);

  const std::string& text() const { return text_; }
  std::vector<uint8_t> bytes() const { return {text_.begin(), text_.end()}; }

 private:
  int32_t height_;
  TRect frame_;
  TMirror mirror_;
  std::string text_;
};

}  // namespace plavesk
