#include "synthetic_board.h"

#include <random>

namespace plavesk {

TLayout makeSyntheticLayout(size_t elementCount, uint32_t seed) {
  TLayout layout;
  layout.addBoard("Synthetic");
  layout.working().width = 30000;
  layout.working().height = 30000;
  TObjektList& list = layout.elements();
  list.reserve(elementCount);
  std::mt19937 random(seed);
  auto uniform = [&](int lo, int hi) { return lo + int(random() % uint32_t(hi - lo + 1)); };
  auto point = [&] { return TPoint{uniform(0, 30000), -uniform(0, 30000)}; };
  auto layer = [&] { return uniform(1, 4); };
  TObjekt* lastPad = nullptr;
  int32_t group = 1;

  while (list.size() < elementCount) {
    int pick = uniform(0, 99);
    if (pick < 30) {
      // A small footprint: two to eight pads in a row, grouped, the first
      // few as through pads, with rubber bands to the previous footprint.
      TPoint at = point();
      int pads = uniform(2, 8);
      int shape = uniform(1, 9);
      for (int i = 0; i < pads && list.size() < elementCount; ++i) {
        list.push_back(createPad({at.x + i * 254, at.y}, 80, shape, 1, 40));
        TObjekt* pad = list.back().get();
        pad->clearance = 40;
        pad->groupIds.push_back(group);
        if (i == 0 && list.size() < elementCount) {
          list.push_back(createPad({at.x, at.y}, 80, shape, 3, 40));
          list.back()->clearance = 40;
          list.back()->groupIds.push_back(group);
          pad->padLink = list.back().get();
          list.back()->padLink = pad;
        }
        if (lastPad && uniform(0, 3) == 0) {
          pad->connections.push_back(lastPad);
          lastPad->connections.push_back(pad);
        }
        lastPad = pad;
      }
      ++group;
    } else if (pick < 65) {
      list.push_back(createTrack(uniform(20, 150), uniform(0, 1) ? 1 : 3));
      TPoint p = point();
      int points = uniform(2, 5);
      for (int i = 0; i < points; ++i) {
        list.back()->points.push_back(p);
        p.x += uniform(-800, 800);
        p.y += uniform(-800, 800);
      }
      list.back()->clearance = 40;
    } else if (pick < 80) {
      list.push_back(createSmdPad(point(), uniform(40, 200), uniform(0, 1) ? 1 : 3, uniform(40, 200)));
      list.back()->clearance = 30;
    } else if (pick < 85) {
      list.push_back(createArea(20, layer()));
      TPoint c = point();
      int corners = uniform(3, 6);
      for (int i = 0; i < corners; ++i) list.back()->points.push_back({c.x + uniform(-1500, 1500), c.y + uniform(-1500, 1500)});
      list.back()->cutout = uniform(0, 9) == 0;
      list.back()->clearance = 40;
    } else if (pick < 92) {
      TPoint c = point();
      int outer = uniform(100, 1000);
      list.push_back(createCircle(c, outer, 1, layer(), outer - uniform(10, outer)));
      if (uniform(0, 2) == 0) {
        list.back()->angle = uniform(0, 359);
        list.back()->dim3 = uniform(0, 359);
      }
      list.back()->filled = uniform(0, 4) == 0;
    } else {
      // A short label: a text with a few strokes of a few points each.
      TPoint at = point();
      int l = uniform(0, 1) ? 2 : 4;
      list.push_back(createText(at, "R" + std::to_string(list.size()), false, l == 4, l, uniform(0, 3), 1, 1, 150));
      int strokes = uniform(3, 12);
      for (int s = 0; s < strokes; ++s) {
        auto stroke = createTrack(17, l);
        for (int i = 0; i < 3; ++i) stroke->points.push_back({at.x + s * 30 + i * 10, at.y + i * 20});
        list.back()->strokes.push_back(std::move(stroke));
      }
    }
  }
  // The last track becomes an autorouted connection between the first two
  // pads that share a rubber band.
  for (auto& e : list) {
    if (e->kind == kPad && !e->connections.empty()) {
      auto track = createTrack(50, e->layer);
      track->points = {{e->x, e->y}, {e->connections[0]->x, e->connections[0]->y}};
      track->autorouted = 1;
      track->routeFrom = e.get();
      track->routeTo = e->connections[0];
      list.push_back(std::move(track));
      break;
    }
  }
  layout.modified = false;
  return layout;
}

TLayout makeCrossingLayout(size_t elementCount, uint32_t seed) {
  TLayout layout = makeSyntheticLayout(elementCount, seed);
  std::mt19937 random(seed + 1000);
  auto across = [&] { return -int32_t(random() % 30001); };
  for (auto& e : layout.elements()) {
    if (e->kind != kTrack || e->autorouted) continue;
    e->points = {{0, across()}, {15000, across()}, {30000, across()}};
  }
  return layout;
}

}  // namespace plavesk
