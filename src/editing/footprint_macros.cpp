#include "editing/footprint_macros.h"

#include "editing/macro_library.h"

namespace plavesk {
namespace {

// 0.1 inch, the pitch of through-hole parts, in units of 0.01 mm.
constexpr int32_t kInch10 = 254;
constexpr int32_t kSilkWidth = 20;
constexpr int32_t kClearance = 40;
constexpr double kGrid = 127.0;

struct TBuilder {
  TObjektList list;

  TObjekt& add(TObjektPtr e) {
    e->clearance = kClearance;
    list.push_back(std::move(e));
    return *list.back();
  }
  // A through pad: the pad on copper side 1 and its partner on side 2.
  void throughPad(TPoint at, int32_t radius, int shape, int32_t drill) {
    TObjekt& top = add(createPad(at, radius, shape, kCopper1, drill));
    TObjekt& bottom = add(createPad(at, radius, shape, kCopper2, drill));
    top.padLink = &bottom;
    bottom.padLink = &top;
  }
  void smdPad(TPoint at, int32_t width, int32_t height) {
    add(createSmdPad(at, width, kCopper1, height));
  }
  void silk(std::vector<TPoint> points) {
    TObjekt& t = add(createTrack(kSilkWidth, kSilk1));
    t.points = std::move(points);
  }
  void silkBox(int32_t left, int32_t bottom, int32_t right, int32_t top) {
    silk({{left, bottom}, {right, bottom}, {right, top}, {left, top}, {left, bottom}});
  }
  // An arc of the silkscreen from `start` to `end` degrees, counter-clockwise.
  void silkArc(TPoint centre, int32_t radius, int32_t start, int32_t end) {
    TObjekt& c = add(
        createCircle(centre, radius + kSilkWidth / 2, kPadRound, kSilk1, radius - kSilkWidth / 2));
    c.angle = start;
    c.dim3 = end;
  }

  TFootprintMacro finish(std::string fileName, std::string line1, std::string line2) {
    TFootprintMacro f{std::move(fileName), makeMacro(list, false, kGrid)};
    f.macro.description1 = std::move(line1);
    f.macro.description2 = std::move(line2);
    return f;
  }
};

// Dual in-line, 0.3 inch between the rows: pin 1 square at the lower left,
// counted counter-clockwise seen from the parts side.
TFootprintMacro dil(int pins) {
  TBuilder b;
  const int half = pins / 2;
  const int32_t rows = 3 * kInch10;
  for (int i = 0; i < half; ++i)
    b.throughPad({i * kInch10, 0}, 65, i ? kPadOblongV : kPadRectV, 40);
  for (int i = 0; i < half; ++i)
    b.throughPad({(half - 1 - i) * kInch10, rows}, 65, kPadOblongV, 40);
  // The body between the rows, with the notch on the side of pin 1.
  const int32_t left = -kInch10 / 2 - 20, right = (half - 1) * kInch10 + kInch10 / 2 + 20;
  b.silkBox(left, 160, right, rows - 160);
  b.silkArc({left, rows / 2}, 80, 270, 90);
  const std::string n = std::to_string(pins);
  return b.finish("DIL" + n + ".lmk", "DIL-" + n + ", 7.62 mm rows, 2.54 mm pitch",
                  "Through pads, drill 0.8 mm, pin 1 square");
}

TFootprintMacro to92() {
  TBuilder b;
  for (int i = 0; i < 3; ++i) b.throughPad({i * kInch10, 0}, 70, i ? kPadRound : kPadSquare, 35);
  // The round body above, its flat side below the pins: the chord joins the
  // arc's ends at 330 and 210 degrees.
  b.silkArc({kInch10, 0}, 250, 330, 210);
  b.silk({{kInch10 - 217, -125}, {kInch10 + 217, -125}});
  return b.finish("TO92.lmk", "TO-92, three pins in a row, 2.54 mm pitch",
                  "Through pads, drill 0.7 mm, flat side down");
}

TFootprintMacro to220() {
  TBuilder b;
  for (int i = 0; i < 3; ++i) b.throughPad({i * kInch10, 0}, 90, i ? kPadRound : kPadSquare, 55);
  // The body the pins leave, and the line of the metal tab behind them.
  b.silkBox(-kInch10, -200, 3 * kInch10, 250);
  b.silk({{-kInch10, 180}, {3 * kInch10, 180}});
  return b.finish("TO220.lmk", "TO-220 standing, 2.54 mm pitch",
                  "Through pads, drill 1.1 mm, tab at the top");
}

// Two-terminal chip parts: pads side by side, the body outline around them.
TFootprintMacro chip(const std::string& name, int32_t pitch, int32_t padWidth, int32_t padHeight,
                     const std::string& size) {
  TBuilder b;
  b.smdPad({0, 0}, padWidth, padHeight);
  b.smdPad({pitch, 0}, padWidth, padHeight);
  const int32_t dx = padWidth / 2 + 30, dy = padHeight / 2 + 30;
  b.silkBox(-dx, -dy, pitch + dx, dy);
  return b.finish(name + ".lmk", "Chip " + name + " (" + size + "), resistor or capacitor",
                  "SMD pads on copper side 1");
}

TFootprintMacro sot23() {
  TBuilder b;
  // Pins 1 and 2 below, 1.9 mm apart; pin 3 above, 2.2 mm between the rows.
  b.smdPad({0, 0}, 80, 110);
  b.smdPad({190, 0}, 80, 110);
  b.smdPad({95, 220}, 80, 110);
  b.silkBox(-100, 60, 290, 160);
  return b.finish("SOT23.lmk", "SOT-23, three pins", "SMD pads on copper side 1, pin 1 left below");
}

TFootprintMacro soic8() {
  TBuilder b;
  constexpr int32_t pitch = 127, rows = 540;
  for (int i = 0; i < 4; ++i) b.smdPad({i * pitch, 0}, 60, 155);
  for (int i = 0; i < 4; ++i) b.smdPad({(3 - i) * pitch, rows}, 60, 155);
  b.silkBox(-90, 110, 3 * pitch + 90, rows - 110);
  b.silkArc({-90, rows / 2}, 60, 270, 90);
  return b.finish("SOIC8.lmk", "SOIC-8, 1.27 mm pitch, 5.4 mm rows",
                  "SMD pads on copper side 1, pin 1 left below");
}

TFootprintMacro header(int pins) {
  TBuilder b;
  for (int i = 0; i < pins; ++i) b.throughPad({i * kInch10, 0}, 85, i ? kPadRound : kPadSquare, 50);
  b.silkBox(-kInch10 / 2, -kInch10 / 2, (pins - 1) * kInch10 + kInch10 / 2, kInch10 / 2);
  const std::string n = std::to_string(pins);
  return b.finish("HEADER1X" + n + ".lmk", "Pin header 1 x " + n + ", 2.54 mm pitch",
                  "Through pads, drill 1.0 mm, pin 1 square");
}

}  // namespace

std::vector<TFootprintMacro> footprintMacros() {
  std::vector<TFootprintMacro> all;
  all.push_back(dil(8));
  all.push_back(dil(14));
  all.push_back(dil(16));
  all.push_back(to92());
  all.push_back(to220());
  all.push_back(chip("0805", 190, 120, 140, "2.0 x 1.25 mm"));
  all.push_back(chip("1206", 300, 150, 180, "3.2 x 1.6 mm"));
  all.push_back(sot23());
  all.push_back(soic8());
  all.push_back(header(5));
  return all;
}

bool writeFootprintMacros(const std::string& folder, std::string& error) {
  for (const TFootprintMacro& f : footprintMacros())
    if (!writeMacroFile(folder + "/" + f.fileName, f.macro, error)) return false;
  return true;
}

}  // namespace plavesk
