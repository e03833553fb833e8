// The kept nets after edits: the cache works out only what an edit touched
// and must give the nets a full analysis on exact outlines gives, on random
// boards and on pairs that miss, touch or overlap by a unit.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <numeric>
#include <random>

#include "routing/connectivity.h"
#include "support/sample_layout.h"
#include "view/geometry.h"
#include "view/stroke_font.h"

namespace plavesk {
namespace {

bool isCutoutArea(const TObjekt& e) {
  return e.kind == kArea && e.cutout;
}

// The nets straight from the rules, every pair of outlines intersected, no
// shortcut: each element's value is the smallest position of its net, -1 for
// cutout areas.
std::vector<int> exactNets(const TObjektList& list, const TBoardRecord& state) {
  const size_t n = list.size();
  std::vector<std::optional<Region>> outlines;
  for (const auto& e : list) outlines.push_back(elementOutline(*e));
  std::vector<size_t> parent(n);
  std::iota(parent.begin(), parent.end(), size_t(0));
  std::function<size_t(size_t)> find = [&](size_t i) {
    return parent[i] == i ? i : parent[i] = find(parent[i]);
  };
  auto join = [&](size_t a, size_t b) {
    a = find(a);
    b = find(b);
    parent[std::max(a, b)] = std::min(a, b);
  };
  auto solid = [&](size_t i) { return outlines[i] && !outlines[i]->empty(); };
  // Outlines whose boxes are apart share nothing: that much is exact.
  auto boxesMeet = [&](size_t i, size_t j) {
    const Region::Box a = outlines[i]->boundingBox(), b = outlines[j]->boundingBox();
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
  };
  for (size_t i = 0; i < n; ++i)
    for (size_t j = i + 1; j < n; ++j)
      if (list[i]->layer == list[j]->layer && !isCutoutArea(*list[i]) && !isCutoutArea(*list[j]) &&
          solid(i) && solid(j) && boxesMeet(i, j) && !(*outlines[i] & *outlines[j]).empty())
        join(i, j);
  for (size_t i = 0; i < n; ++i)
    if (list[i]->kind == kPad && list[i]->padLink)
      for (size_t j = 0; j < n; ++j)
        if (list[j].get() == list[i]->padLink && !isCutoutArea(*list[j])) join(i, j);
  for (int layer : {int(kCopper1), int(kCopper2)}) {
    if (!(layer == kCopper1 ? state.groundPlane1 : state.groundPlane2)) continue;
    int first = -1;
    for (size_t i = 0; i < n; ++i) {
      const TObjekt& e = *list[i];
      if (e.layer != layer || e.clearance != 0 || isCutoutArea(e)) continue;
      bool inside = false;
      for (size_t c = 0; c < n && solid(i) && !inside; ++c)
        inside = isCutoutArea(*list[c]) && list[c]->layer == layer && outlines[c] &&
                 (*outlines[i] - *outlines[c]).empty();
      if (inside) continue;
      if (first < 0)
        first = int(i);
      else
        join(size_t(first), i);
    }
  }
  std::vector<int> nets(n, -1);
  for (size_t i = 0; i < n; ++i)
    if (!isCutoutArea(*list[i])) nets[i] = int(find(i));
  return nets;
}

// Where two answers part, the first element they disagree on.
std::string firstDifference(const std::vector<int>& got, const std::vector<int>& want) {
  if (got.size() != want.size()) return "sizes differ";
  for (size_t i = 0; i < got.size(); ++i)
    if (got[i] != want[i])
      return "element " + std::to_string(i) + ": net " + std::to_string(got[i]) + ", expected " +
             std::to_string(want[i]);
  return "";
}

struct TMix {
  int pads, smdPads, tracks, arcs, rings, areas, texts;
};

// Elements of one mix strewn over a 40 x 40 mm board on all four layers,
// close enough for many to touch: pads of every shape (a third of the copper
// ones as through pairs), SMD pads, tracks, arcs, rings and discs, areas with
// some cutouts, and texts with their strokes; a sixth without clearance.
TLayout randomBoard(uint32_t seed, const TMix& mix, bool plane1, bool plane2) {
  std::mt19937 rng(seed);
  auto uniform = [&](int lo, int hi) { return lo + int(rng() % uint32_t(hi - lo + 1)); };
  auto point = [&] { return TPoint{uniform(0, 4000), -uniform(0, 4000)}; };
  auto layer = [&] { return uniform(0, 5) == 0 ? uniform(0, 1) * 2 + 2 : uniform(0, 1) * 2 + 1; };
  TLayout layout;
  layout.addBoard("Random");
  layout.working().groundPlane1 = plane1;
  layout.working().groundPlane2 = plane2;
  TObjektList& l = layout.elements();
  auto add = [&](TObjektPtr e) {
    e->clearance = uniform(0, 5) == 0 ? 0 : 40;
    l.push_back(std::move(e));
    return l.back().get();
  };
  for (int k = 0; k < mix.pads; ++k) {
    const int side = layer();
    TObjekt* p = add(createPad(point(), uniform(20, 120), uniform(1, 9), side, 15));
    if (isCopperLayer(side) && uniform(0, 2) == 0) {
      TObjekt* q = add(createPad({p->x, p->y}, p->dim1, p->padShape, otherSideLayer(side), 15));
      p->padLink = q;
      q->padLink = p;
    }
  }
  for (int k = 0; k < mix.smdPads; ++k)
    add(createSmdPad(point(), uniform(20, 250), layer(), uniform(20, 250)));
  for (int k = 0; k < mix.tracks; ++k) {
    TObjekt* t = add(createTrack(uniform(4, 120), layer()));
    TPoint p = point();
    for (int i = uniform(2, 4); i > 0; --i) {
      t->points.push_back(p);
      p.x += uniform(0, 2) ? uniform(-700, 700) : 0;
      p.y += uniform(0, 2) ? uniform(-700, 700) : 0;
    }
  }
  for (int k = 0; k < mix.arcs + mix.rings; ++k) {
    const int outer = uniform(40, 600);
    TObjekt* c = add(createCircle(point(), outer, 1, layer(), outer - uniform(4, outer)));
    if (k < mix.arcs) {
      c->angle = uniform(0, 359);
      c->dim3 = uniform(0, 359);
    } else {
      c->filled = uniform(0, 3) == 0;
    }
  }
  for (int k = 0; k < mix.areas; ++k) {
    TObjekt* a = add(createArea(uniform(0, 30), uniform(0, 1) * 2 + 1));
    const TPoint c = point();
    for (int i = uniform(3, 6); i > 0; --i)
      a->points.push_back({c.x + uniform(-800, 800), c.y + uniform(-800, 800)});
    a->cutout = uniform(0, 3) == 0;
  }
  for (int k = 0; k < mix.texts; ++k) {
    const TPoint at = point();
    const int side = layer();
    TObjekt* t = add(createText(at, "R" + std::to_string(k), false, false, side, 0, 1, 1, 150));
    generateStrokes(at, t->text, 1.5, 1, 1, side, t->clearance, t->strokes);
  }
  return layout;
}

// Edits of every kind the rules look at; each says whether the cache may
// work it out from the last analysis (false: it must start afresh).
struct TEdit {
  const char* what;
  bool incremental;
  std::function<void(TLayout&, std::mt19937&)> apply;
};

size_t pick(const TObjektList& l, std::mt19937& rng,
            const std::function<bool(const TObjekt&)>& ok) {
  for (int tries = 0; tries < 1000; ++tries) {
    const size_t i = rng() % l.size();
    if (ok(*l[i])) return i;
  }
  return rng() % l.size();
}

const std::vector<TEdit>& edits() {
  auto copper = [](const TObjekt& e) { return isCopperLayer(e.layer) && !isCutoutArea(e); };
  static const std::vector<TEdit> table = {
      {"an element moves a little", true,
       [=](TLayout& b, std::mt19937& rng) {
         TObjektList& l = b.elements();
         moveElement(*l[pick(l, rng, copper)], int32_t(rng() % 41) - 20, int32_t(rng() % 41) - 20);
       }},
      {"an element moves far", true,
       [=](TLayout& b, std::mt19937& rng) {
         TObjektList& l = b.elements();
         moveElement(*l[pick(l, rng, copper)], int32_t(rng() % 2001) - 1000, 0);
       }},
      {"an element and its neighbours move together", true,
       [=](TLayout& b, std::mt19937& rng) {
         TObjektList& l = b.elements();
         const TRect around = elementBounds(*l[pick(l, rng, copper)]);
         std::vector<TObjekt*> group;
         for (auto& e : l) {
           const TRect r = elementBounds(*e);
           if (!isCutoutArea(*e) && r.left < around.right && around.left < r.right &&
               r.top < around.bottom && around.top < r.bottom)
             group.push_back(e.get());
         }
         for (TObjekt* e : group) moveElement(*e, 700, -400);
       }},
      {"a text is edited in place", true,
       [=](TLayout& b, std::mt19937& rng) {
         TObjektList& l = b.elements();
         TObjekt& t = *l[pick(l, rng, [](const TObjekt& e) { return e.kind == kText; })];
         if (t.kind != kText) return;  // a board without texts
         t.text = "MWMWMWMWMWMW";      // long enough to run into other copper
         t.strokes.clear();
         generateStrokes({t.x, t.y}, t.text, 1.5, 1, 1, t.layer, t.clearance, t.strokes);
       }},
      {"a text's strokes move, its anchor stays", true,
       [=](TLayout& b, std::mt19937& rng) {
         TObjektList& l = b.elements();
         TObjekt& t = *l[pick(l, rng, [](const TObjekt& e) { return e.kind == kText; })];
         for (auto& stroke : t.strokes) moveElement(*stroke, 900, 0);
       }},
      {"a track gets wider", true,
       [=](TLayout& b, std::mt19937& rng) {
         TObjektList& l = b.elements();
         l[pick(l, rng, [](const TObjekt& e) { return e.kind == kTrack; })]->dim3 += 60;
       }},
      {"an element changes side", true,
       [=](TLayout& b, std::mt19937& rng) {
         TObjektList& l = b.elements();
         TObjekt& e = *l[pick(l, rng, [](const TObjekt& e) { return !isCutoutArea(e); })];
         e.layer = uint8_t(otherSideLayer(e.layer));
         for (auto& s : e.strokes) s->layer = e.layer;
       }},
      {"a clearance drops to 0", true,
       [=](TLayout& b, std::mt19937& rng) {
         TObjektList& l = b.elements();
         l[pick(l, rng, copper)]->clearance = 0;
       }},
      {"an element is deleted", true,
       [=](TLayout& b, std::mt19937& rng) {
         TObjektList& l = b.elements();
         const size_t i = pick(l, rng, [](const TObjekt& e) { return !isCutoutArea(e); });
         for (auto& e : l)
           if (e->padLink == l[i].get()) e->padLink = nullptr;
         l.erase(l.begin() + std::ptrdiff_t(i));
       }},
      {"a track is added", true,
       [=](TLayout& b, std::mt19937& rng) {
         TObjektList& l = b.elements();
         const TObjekt& from = *l[pick(l, rng, copper)];
         auto t = createTrack(30, from.layer);
         const TPoint start = from.kind == kTrack || from.kind == kArea ? from.points.front()
                                                                        : TPoint{from.x, from.y};
         t->points = {start, {start.x + 500, start.y - 300}};
         l.insert(l.begin() + std::ptrdiff_t(rng() % l.size()), std::move(t));
       }},
      {"a through pad loses its partner", true,
       [=](TLayout& b, std::mt19937& rng) {
         TObjektList& l = b.elements();
         TObjekt& p = *l[pick(l, rng, [](const TObjekt& e) { return e.padLink != nullptr; })];
         if (p.padLink) p.padLink->padLink = nullptr;
         p.padLink = nullptr;
       }},
      {"the list is reordered", true,
       [=](TLayout& b, std::mt19937& rng) {
         TObjektList& l = b.elements();
         std::swap(l[rng() % l.size()], l[rng() % l.size()]);
         std::rotate(l.begin(), l.begin() + std::ptrdiff_t(rng() % l.size()), l.end());
       }},
      {"a cutout area moves", true,
       [=](TLayout& b, std::mt19937& rng) {
         TObjektList& l = b.elements();
         moveElement(*l[pick(l, rng, isCutoutArea)], 300, -200);
       }},
      {"a cutout area is drawn around a pad", true,
       [=](TLayout& b, std::mt19937& rng) {
         TObjektList& l = b.elements();
         const TObjekt& pad = *l[pick(l, rng, [](const TObjekt& e) {
           return e.kind == kPad && isCopperLayer(e.layer) && e.clearance == 0;
         })];
         auto cut = createArea(10, pad.layer);
         const int32_t r = 3 * std::abs(pad.dim1);
         cut->points = {{pad.x - r, pad.y + r},
                        {pad.x + r, pad.y + r},
                        {pad.x + r, pad.y - r},
                        {pad.x - r, pad.y - r}};
         cut->cutout = 1;
         l.push_back(std::move(cut));
       }},
      {"a cutout area is deleted", true,
       [=](TLayout& b, std::mt19937& rng) {
         TObjektList& l = b.elements();
         l.erase(l.begin() + std::ptrdiff_t(pick(l, rng, isCutoutArea)));
       }},
      {"undo restores a copy of the list", true,
       [=](TLayout& b, std::mt19937&) {
         TObjektList copy;
         copyList(copy, b.elements());
         b.elements() = std::move(copy);
       }},
      {"a ground plane switches", true,
       [](TLayout& b, std::mt19937&) { b.working().groundPlane2 = !b.working().groundPlane2; }},
      {"every element moves", false,
       [=](TLayout& b, std::mt19937&) {
         for (auto& e : b.elements()) moveElement(*e, 1, 0);
       }},
  };
  return table;
}

TEST(NetUpdate, RandomBoardsAfterEveryKindOfEdit) {
  struct Board {
    uint32_t seed;
    TMix mix;
    bool plane1, plane2;
  } boards[] = {
      {1, {60, 40, 90, 20, 20, 20, 10}, false, false},
      {2, {100, 20, 60, 10, 10, 30, 5}, true, true},
      {3, {20, 80, 120, 30, 5, 10, 15}, true, false},
      {4, {150, 0, 150, 0, 0, 15, 0}, false, true},
  };
  for (const Board& board : boards) {
    TLayout layout = randomBoard(board.seed, board.mix, board.plane1, board.plane2);
    TObjektList& l = layout.elements();
    // Grow the board past the update limit so that moving everything is
    // worked out afresh.
    while (l.size() <= TNetCache::kMaxChangedForUpdate) {
      auto t = createTrack(10, kSilk1);
      const int32_t x = 2 * int32_t(l.size());  // not where another lands by a unit
      t->points = {{x, 0}, {x, -10}};
      l.push_back(std::move(t));
    }
    std::mt19937 rng(board.seed * 77);
    TNetCache cache;
    ASSERT_EQ(firstDifference(cache.nets(l, layout.working()), exactNets(l, layout.working())), "")
        << "seed " << board.seed << ", first analysis";
    size_t joined = 0;
    for (int round = 0; round < 3; ++round)
      for (const TEdit& edit : edits()) {
        const size_t full = cache.fullAnalyses();
        edit.apply(layout, rng);
        const std::vector<int>& got = cache.nets(l, layout.working());
        const std::vector<int> want = exactNets(l, layout.working());
        ASSERT_EQ(firstDifference(got, want), "")
            << "seed " << board.seed << ", round " << round << ", " << edit.what;
        EXPECT_EQ(cache.fullAnalyses(), full + (edit.incremental ? 0 : 1))
            << "seed " << board.seed << ", " << edit.what;
        for (size_t i = 0; i < want.size(); ++i) joined += want[i] >= 0 && want[i] != int(i);
      }
    EXPECT_GT(joined, l.size()) << "seed " << board.seed << ": the nets should hold many elements";
  }
}

// Two elements of one layer, the second slid along x a unit at a time past
// the point where its outline first meets the first one's: every step is an
// edit the cache works out from the step before, and each must agree with
// the outlines, missing by a unit, touching and overlapping alike. At each
// step a second cache first sees the pair joined by a copper area over both,
// so that the pair itself goes undecided, and must decide it once the area is
// taken away.
TEST(NetUpdate, PairsSlidThroughTheirFirstContact) {
  const auto track = &testing::copperTrack;
  const auto area = &testing::copperArea;
  auto arc = [](TPoint c, int32_t outer, int32_t inner, int from, int to) {
    auto a = createCircle(c, outer, 1, kCopper1, inner);
    a->angle = from;
    a->dim3 = to;
    return a;
  };
  auto text = [](TPoint at) {
    auto t = createText(at, "H8", false, false, kCopper1, 0, 1, 1, 150);
    generateStrokes(at, t->text, 1.5, 1, 1, kCopper1, 0, t->strokes);
    return t;
  };
  struct Case {
    const char* what;
    std::function<TObjektPtr()> fixed, sliding;  // the sliding one starts left of the fixed
    int32_t from, to;                            // the slide, in units
  } cases[] = {
      {"track ends",
       [&] {
         return track(40, {{0, 0}, {500, 0}});
       },
       [&] {
         return track(40, {{-600, 0}, {-100, 0}});
       },
       40, 160},
      {"parallel tracks",
       [&] {
         return track(40, {{0, 0}, {0, -500}});
       },
       [&] {
         return track(40, {{-100, 0}, {-100, -500}});
       },
       40, 70},
      {"track onto a round pad",
       [] {
         return createPad({0, 0}, 80, kPadRound, kCopper1, 30);
       },
       [&] {
         return track(30, {{-500, 0}, {-200, 0}});
       },
       80, 140},
      {"track onto an octagon pad",
       [] {
         return createPad({0, 0}, 80, kPadOctagon, kCopper1, 30);
       },
       [&] {
         return track(30, {{-500, -60}, {-200, -60}});
       },
       80, 150},
      {"square pads side by side",
       [] {
         return createPad({0, 0}, 60, kPadSquare, kCopper1, 30);
       },
       [] {
         return createPad({-200, 0}, 60, kPadSquare, kCopper1, 30);
       },
       70, 90},
      {"oblong against octagon pad",
       [] {
         return createPad({0, 0}, 60, kPadOblongH, kCopper1, 30);
       },
       [] {
         return createPad({-300, -30}, 60, kPadOctagonV, kCopper1, 30);
       },
       80, 130},
      {"SMD pads sharing an edge",
       [] {
         return createSmdPad({0, 0}, 100, kCopper1, 100);
       },
       [] {
         return createSmdPad({-200, 0}, 100, kCopper1, 100);
       },
       95, 105},
      {"SMD pad onto a round pad",
       [] {
         return createPad({0, 0}, 80, kPadRound, kCopper1, 30);
       },
       [] {
         return createSmdPad({-300, -75}, 100, kCopper1, 60);
       },
       130, 200},
      {"arc against a track",
       [&] {
         return arc({0, 0}, 400, 360, 0, 90);
       },
       [&] {
         return track(20, {{-100, 200}, {-100, 800}});
       },
       60, 120},
      {"track from a ring into its hole",
       [] {
         return createCircle({0, 0}, 400, 1, kCopper1, 300);
       },
       [&] {
         return track(20, {{-800, 0}, {-700, 0}});
       },
       480, 540},
      {"pad onto an area's edge",
       [&] {
         return area(20, {{0, 0}, {800, 0}, {800, -800}, {0, -800}});
       },
       [] {
         return createPad({-300, -400}, 60, kPadRound, kCopper1, 30);
       },
       200, 260},
      {"areas with slanted edges",
       [&] {
         return area(8, {{0, 0}, {300, -700}, {0, -700}});
       },
       [&] {
         return area(8, {{-400, 0}, {-100, 0}, {-400, -700}});
       },
       80, 180},
      {"text against a track",
       [&] {
         return text({0, 0});
       },
       [&] {
         return track(20, {{-300, -100}, {-300, 300}});
       },
       270, 330},
      {"disc against an SMD pad",
       [] {
         auto d = createCircle({0, 0}, 300, 1, kCopper1, 0);
         d->filled = 1;
         return d;
       },
       [] {
         return createSmdPad({-500, -200}, 80, kCopper1, 80);
       },
       180, 240},
  };
  TBoardRecord state;
  for (Case& c : cases) {
    TObjektList l;
    l.push_back(c.fixed());
    l.push_back(c.sliding());
    moveElement(*l[1], c.from, 0);
    TNetCache cache;
    int together = 0, apart = 0;
    for (int32_t x = c.from; x <= c.to; ++x) {
      if (x > c.from) moveElement(*l[1], 1, 0);
      const size_t full = cache.fullAnalyses();
      const std::vector<int> want = exactNets(l, state);
      ASSERT_EQ(firstDifference(cache.nets(l, state), want), "") << c.what << " at " << x;
      if (x > c.from) {
        ASSERT_EQ(cache.fullAnalyses(), full) << c.what;
      }
      (want[1] == want[0] ? together : apart) += 1;

      const TRect both = unite(elementBounds(*l[0]), elementBounds(*l[1]));
      auto bridge = createArea(10, kCopper1);
      bridge->points = {{both.left, both.top},
                        {both.right, both.top},
                        {both.right, both.bottom},
                        {both.left, both.bottom}};
      l.insert(l.begin(), std::move(bridge));
      TNetCache bridged;
      ASSERT_EQ(bridged.nets(l, state), std::vector<int>({0, 0, 0})) << c.what;
      l.erase(l.begin());
      ASSERT_EQ(firstDifference(bridged.nets(l, state), want), "")
          << c.what << " at " << x << ", the bridge taken away";
    }
    // The slide crosses the first contact.
    EXPECT_GT(together, 0) << c.what;
    EXPECT_GT(apart, 0) << c.what;
  }
}

}  // namespace
}  // namespace plavesk

namespace plavesk {
namespace {

// The nets worked out ahead on another thread, on a copy of the board: the
// click after takes them over and must give what the outlines give, also
// when the board changed in between (an edit worked out from them, or one
// that reaches too far) and when the cache held the nets of an older board,
// which the work ahead goes on from.
TEST(NetUpdate, NetsPreparedAheadOnACopy) {
  struct Case {
    const char* what;
    int movedBefore;   // -1: nothing kept; else elements moved after a first analysis
    int movedBetween;  // elements moved between prepare and the click
    size_t prepared, analyses, full;
  } cases[] = {
      {"a board just opened", -1, 0, 1, 1, 1},
      {"an element moved before the click", -1, 1, 1, 2, 1},
      {"every element moved before the click", -1, 100000, 1, 2, 2},
      {"kept nets, an element moved before", 1, 0, 1, 2, 1},
      {"kept nets, every element moved before", 100000, 0, 1, 2, 2},
      {"kept nets that fit", 0, 0, 0, 1, 1},
  };
  for (const Case& c : cases) {
    TLayout layout = randomBoard(7, {100, 30, 80, 10, 10, 20, 5}, true, false);
    TObjektList& l = layout.elements();
    while (l.size() <= TNetCache::kMaxChangedForUpdate) {
      auto t = createTrack(10, kSilk1);
      const int32_t x = 2 * int32_t(l.size());
      t->points = {{x, 0}, {x, -10}};
      l.push_back(std::move(t));
    }
    auto move = [&](int count) {
      for (size_t i = 0; i < l.size() && int(i) < count; ++i) moveElement(*l[i], 1, 0);
    };
    TNetCache cache;
    if (c.movedBefore >= 0) {
      ASSERT_EQ(firstDifference(cache.nets(l, layout.working()), exactNets(l, layout.working())),
                "")
          << c.what;
      move(c.movedBefore);
    }
    cache.prepare(l, layout.working());
    move(c.movedBetween);
    ASSERT_EQ(firstDifference(cache.nets(l, layout.working()), exactNets(l, layout.working())), "")
        << c.what;
    EXPECT_EQ(cache.prepared(), c.prepared) << c.what;
    EXPECT_EQ(cache.analyses(), c.analyses) << c.what;
    EXPECT_EQ(cache.fullAnalyses(), c.full) << c.what;
    // Asked again, the nets are kept.
    cache.nets(l, layout.working());
    EXPECT_EQ(cache.analyses(), c.analyses) << c.what;
  }
}

}  // namespace
}  // namespace plavesk

namespace plavesk {
namespace {

// Elements reaching far past the board (a copper area and a long track over
// 400 mm, two of each) are paired with everything their bounds meet, each
// other included, as the small ones are among themselves.
TEST(NetUpdate, FarReachingElementsAmongSmallOnes) {
  for (uint32_t seed : {11u, 12u}) {
    TLayout layout = randomBoard(seed, {60, 20, 60, 10, 10, 10, 5}, false, seed == 12);
    TObjektList& l = layout.elements();
    std::vector<const TObjekt*> areas;
    auto area = [&](int32_t x0, int32_t y0, int32_t x1, int32_t y1, int layer) {
      auto a = createArea(10, layer);
      a->points = {{x0, y0}, {x1, y0}, {x1, y1}, {x0, y1}};
      areas.push_back(a.get());
      l.insert(l.begin() + ptrdiff_t(l.size() / 2), std::move(a));
    };
    // Two large areas meeting each other on side 1, one far from all on side 2.
    area(-40000, 1000, 1000, -40000, kCopper1);
    area(500, -1500, 40000, -40000, kCopper1);
    area(100000, -100000, 140000, -140000, kCopper2);
    auto track = createTrack(30, kCopper2);
    track->points = {{-40000, -4000}, {2000, -2000}, {44000, -40000}};
    l.push_back(std::move(track));
    TNetCache cache;
    const std::vector<int> want = exactNets(l, layout.working());
    ASSERT_EQ(firstDifference(cache.nets(l, layout.working()), want), "") << "seed " << seed;
    size_t joinedToLarge = 0;
    for (size_t i = 0; i < l.size(); ++i)
      joinedToLarge += want[i] >= 0 && want[i] == want[l.size() - 1];
    EXPECT_GT(joinedToLarge, 3u) << "seed " << seed << ": the long track should cross copper";
    auto at = [&](const TObjekt* e) {
      return size_t(std::find_if(l.begin(), l.end(), [&](auto& p) { return p.get() == e; }) -
                    l.begin());
    };
    EXPECT_EQ(want[at(areas[0])], want[at(areas[1])]) << "seed " << seed;
  }
}

}  // namespace
}  // namespace plavesk
