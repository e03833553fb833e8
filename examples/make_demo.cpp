// Builds the bundled example layout: two boards with every element kind the
// editor creates, through pads, rubber bands, groups and an autorouted track.
#include <cstdio>

#include "document/layout_file.h"
#include "view/stroke_font.h"

using namespace plavesk;

namespace {

constexpr int32_t kClearance = 40;

TObjekt& add(TObjektList& list, TObjektPtr e) {
  e->clearance = kClearance;
  list.push_back(std::move(e));
  return *list.back();
}

// A pad on side 1 with its partner on side 2.
TObjekt& throughPad(TObjektList& list, TPoint at, int shape, int32_t group) {
  TObjekt& top = add(list, createPad(at, 80, shape, kCopper1, 40));
  TObjekt& bottom = add(list, createPad(at, 80, shape, kCopper2, 40));
  top.padLink = &bottom;
  bottom.padLink = &top;
  top.groupIds = bottom.groupIds = {group};
  return top;
}

void connect(TObjekt& a, TObjekt& b) {
  a.connections.push_back(&b);
  b.connections.push_back(&a);
}

TObjekt& track(TObjektList& list, int layer, int32_t width, std::vector<TPoint> points) {
  TObjekt& t = add(list, createTrack(width, layer));
  t.points = std::move(points);
  return t;
}

void text(TObjektList& list, TPoint at, const std::string& s, double heightMm, int layer,
          bool mirrored, int32_t group) {
  TTextSettings settings;
  settings.text = s;
  settings.height = heightMm;
  settings.mirrorH = mirrored;
  TTextCounter counter;
  TTextContext context{layer, kClearance, 254.0};
  TObjekt& t = createTextElement(list, at, settings, counter, context);
  if (group) t.groupIds = {group};
}

void buildMainBoard(TLayout& layout) {
  layout.addBoard("Demo");
  layout.working().width = 10000;
  layout.working().height = 8000;
  TObjektList& l = layout.elements();

  // An 8-pin DIL footprint: through pads, a silkscreen outline with a notch.
  std::vector<TObjekt*> ic;
  for (int i = 0; i < 4; ++i) ic.push_back(&throughPad(l, {2540 + i * 254, -2540}, i ? kPadOctagon : kPadSquare, 1));
  for (int i = 0; i < 4; ++i) ic.push_back(&throughPad(l, {3302 - i * 254, -1778}, kPadOctagon, 1));
  track(l, kSilk1, 20, {{2380, -1650}, {2380, -2670}, {3470, -2670}, {3470, -1650}, {2380, -1650}}).groupIds = {1};
  TObjekt& notch = add(l, createCircle({2380, -2160}, 90, kPadRound, kSilk1, 70));
  notch.angle = 270;
  notch.dim3 = 90;
  notch.groupIds = {1};

  // A resistor with oblong pads and its body, grouped; the body lines form
  // an inner group.
  TObjekt& r1 = throughPad(l, {5080, -2540}, kPadOblongH, 2);
  TObjekt& r2 = throughPad(l, {6350, -2540}, kPadOblongH, 2);
  track(l, kSilk1, 20, {{5400, -2440}, {6030, -2440}, {6030, -2640}, {5400, -2640}, {5400, -2440}}).groupIds = {3, 2};
  track(l, kSilk1, 20, {{5250, -2540}, {5400, -2540}}).groupIds = {3, 2};

  // An 0805 capacitor on SMD pads, side 2.
  TObjekt& c1 = add(l, createSmdPad({5080, -4318}, 130, kCopper2, 150));
  TObjekt& c2 = add(l, createSmdPad({5280, -4318}, 130, kCopper2, 150));
  c1.groupIds = c2.groupIds = {4};

  // A connector with vertical pads.
  TObjekt& j1 = throughPad(l, {8128, -3048}, kPadRectV, 5);
  TObjekt& j2 = throughPad(l, {8128, -4064}, kPadOblongV, 5);

  // Rubber bands still to be routed, and one that the router has done.
  connect(*ic[3], r1);
  connect(r2, j1);
  connect(c1, *ic[7]);
  connect(c2, j2);
  TObjekt& routed = track(l, kCopper2, 50, {{ic[3]->x, ic[3]->y}, {4064, -2540}, {r1.x, r1.y}});
  routed.autorouted = 1;
  routed.routeFrom = ic[3];
  routed.routeTo = &r1;

  // Hand-drawn tracks on both sides.
  track(l, kCopper1, 80, {{r2.x, r2.y}, {7112, -2540}, {7620, -3048}, {j1.x, j1.y}});
  track(l, kCopper2, 50, {{c2.x, c2.y}, {6604, -4318}, {7874, -4318}, {j2.x, j2.y}});

  // A copper area with a cutout, a mounting ring, a filled disc and an arc.
  TObjekt& area = add(l, createArea(20, kCopper2));
  area.points = {{500, -5500}, {3500, -5500}, {3500, -7500}, {500, -7500}};
  TObjekt& cutout = add(l, createArea(20, kCopper2));
  cutout.points = {{1500, -6000}, {2500, -6000}, {2500, -7000}, {1500, -7000}};
  cutout.cutout = 1;
  add(l, createCircle({9200, -7200}, 300, kPadRound, kCopper1, 160));
  TObjekt& disc = add(l, createCircle({9200, -800}, 150, kPadRound, kCopper1, 0));
  disc.filled = 1;
  TObjekt& arc = add(l, createCircle({800, -800}, 400, kPadRound, kSilk1, 380));
  arc.angle = 90;
  arc.dim3 = 180;

  text(l, {4500, -7200}, "Plavesk demo", 3.0, kSilk1, false, 0);
  text(l, {6000, -6200}, "Unten", 2.0, kCopper2, true, 0);
  text(l, {2450, -3100}, "IC1", 1.5, kSilk1, false, 1);
  layout.working().grid = 127.0;
  layout.working().activeLayer = kCopper1;
}

void buildAdapterBoard(TLayout& layout) {
  layout.addBoard("Adapter");
  layout.working().width = 5000;
  layout.working().height = 3000;
  TObjektList& l = layout.elements();
  TObjekt& a = add(l, createPad({1000, -1500}, 100, kPadRound, kCopper1, 50));
  TObjekt& b = add(l, createPad({4000, -1500}, 100, kPadRound, kCopper1, 50));
  track(l, kCopper1, 100, {{a.x, a.y}, {2500, -1000}, {b.x, b.y}});
  TObjekt& s = add(l, createSmdPad({2500, -2200}, 200, kCopper1, 100));
  connect(a, s);
  text(l, {600, -2800}, "GND", 2.0, kSilk1, false, 0);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: make_demo OUT.lay\n");
    return 1;
  }
  TLayout layout;
  buildMainBoard(layout);
  buildAdapterBoard(layout);
  layout.activateBoard(0);
  layout.project = {"Plavesk demo", "Plavesk", "", "The example layout of the editor.\r\n"
                                                   "Board 1 shows every element kind, board 2 a small adapter."};
  std::string error;
  if (!writeLayoutFile(layout, argv[1], false, error)) {
    std::fprintf(stderr, "%s\n", error.c_str());
    return 2;
  }
  return 0;
}
