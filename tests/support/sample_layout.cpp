#include "support/sample_layout.h"

namespace plavesk::testing {

TObjekt& addPad(TObjektList& list, int x, int y, int layer) {
  list.push_back(createPad({x, y}, 80, kPadRound, layer, 40));
  list.back()->clearance = 40;
  return *list.back();
}

TLayout makeSampleLayout() {
  TLayout layout;
  layout.addBoard("Board 1");
  TObjektList& l = layout.elements();
  TObjekt& a = addPad(l, 1000, -1000, 1);
  TObjekt& a2 = addPad(l, 1000, -1000, 3);
  a.padLink = &a2;
  a2.padLink = &a;
  TObjekt& b = addPad(l, 3000, -1000, 1);
  l.push_back(createSmdPad({2000, -3000}, 150, 1, 60));
  TObjekt& smd = *l.back();
  a.connections.push_back(&smd);
  smd.connections.push_back(&a);
  b.connections.push_back(&smd);
  smd.connections.push_back(&b);

  l.push_back(createTrack(50, 1));
  TObjekt& routed = *l.back();
  routed.points = {{1000, -1000}, {3000, -1000}};
  routed.autorouted = 1;
  routed.routeFrom = &a;
  routed.routeTo = &b;

  l.push_back(createArea(20, 3));
  l.back()->points = {{4000, -4000}, {6000, -4000}, {6000, -6000}};
  l.back()->cutout = 1;
  l.push_back(createCircle({8000, -5000}, 300, kPadRound, 2, 250));
  l.back()->angle = 30;
  l.back()->dim3 = 120;

  l.push_back(createText({5000, -8000}, "Äb", false, true, 4, 1, 1, 1, 500));
  auto stroke = createTrack(56, 4);
  stroke->points = {{5000, -8000}, {5000, -7500}};
  l.back()->strokes.push_back(std::move(stroke));

  l.push_back(createTrack(30, 3));
  l.back()->points = {{100, -100}, {200, -200}, {300, -100}};
  for (auto& e : l) e->clearance = 40;

  for (int i : {0, 1, 2, 3}) l[i]->groupIds = {1};
  for (int i : {5, 6}) l[i]->groupIds = {2, 3};
  layout.project = {"Sample", "A. Author", "Firma GmbH", "line 1\r\nline 2"};
  layout.working().grid = 127.0;
  layout.working().originX = 500;
  layout.modified = false;
  return layout;
}

TObjektPtr copperTrack(int32_t width, std::vector<TPoint> points) {
  auto t = createTrack(width, kCopper1);
  t->points = std::move(points);
  return t;
}

TObjektPtr copperArea(int32_t edgeWidth, std::vector<TPoint> points) {
  auto a = createArea(edgeWidth, kCopper1);
  a->points = std::move(points);
  return a;
}

TLayout boardLayout(const std::string& name, int32_t width, int32_t height, double grid) {
  TLayout layout;
  layout.addBoard(name);
  TBoardRecord& r = layout.working();
  r.width = width;
  r.height = height;
  r.grid = grid;
  r.zoom = 0.1;
  r.activeLayer = kCopper1;
  return layout;
}

TLayout makeFourPadLayout() {
  TLayout layout = boardLayout("Four pads", 10000, 8000, 127);
  for (TPoint p : {kFourPadA, kFourPadB, kFourPadC, kFourPadD})
    layout.elements().push_back(createPad(p, 90, kPadRound, kCopper1, 30));
  return layout;
}

}  // namespace plavesk::testing
