#include "output/contour_graph.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdint>
#include <memory>
#include <thread>

#include "output/contour_parallel.h"
#include "output/contour_shapes.h"
#include "output/contour_turns.h"

namespace plavesk {
namespace {

struct PointHash {
  size_t operator()(const TPoint64& p) const {
    uint64_t h = uint64_t(p.x) * 0x9E3779B97F4A7C15ull ^ (uint64_t(p.y) + 0x632BE59BD9B4E019ull);
    h ^= h >> 31;
    h *= 0xBF58476D1CE4E5B9ull;
    return size_t(h ^ (h >> 29));
  }
};

int32_t unscale(int64_t v) {
  return static_cast<int32_t>(std::nearbyint(static_cast<double>(v) / kContourScale));
}

}  // namespace

std::vector<uint32_t> TContourGraph::successors(uint32_t n) const {
  std::vector<uint32_t> out;
  forEachSuccessor(n, [&](uint32_t s) { out.push_back(s); });
  return out;
}

TContourGraph buildContourGraph(const std::vector<TScaledPolygon>& polygons,
                                const TContourProgress& progress) {
  TContourGraph g;
  // The nodes of every polygon counted, then made, each with the hash of
  // its place, polygon by polygon in two ranges on two threads.
  const size_t polygonCount = polygons.size();
  g.polygonStart.resize(polygonCount + 1);
  g.polygonStart[0] = 0;
  auto kept = [](const TScaledPolygon& poly, size_t i) {
    return poly[i] != poly[i == 0 ? poly.size() - 1 : i - 1];
  };
  inTwoHalves(polygonCount, [&](size_t begin, size_t end) {
    for (size_t p = begin; p < end; ++p) {
      uint32_t nodes = 0;
      for (size_t i = 0; i < polygons[p].size(); ++i) nodes += kept(polygons[p], i);
      g.polygonStart[p + 1] = nodes;
    }
  });
  for (size_t p = 0; p < polygonCount; ++p) g.polygonStart[p + 1] += g.polygonStart[p];
  const size_t count = g.polygonStart.back();
  g.nodes.resize(count);
  std::unique_ptr<uint64_t[]> hashes(new uint64_t[count]);
  {
    const size_t split = size_t(
        std::lower_bound(g.polygonStart.begin(), g.polygonStart.end() - 1, uint32_t(count / 2)) -
        g.polygonStart.begin());
    const size_t bounds[3] = {0, split, polygonCount};
    inTwoParts(count >= 4096, [&](int part) {
      for (size_t p = bounds[part]; p < bounds[part + 1]; ++p) {
        if (part == 0 && progress && p % 1024 == 0)
          progress(TContourStep::kVectorList, p, polygonCount);
        const auto& poly = polygons[p];
        const uint32_t first = g.polygonStart[p], end = g.polygonStart[p + 1];
        uint32_t n = first;
        for (size_t i = 0; i < poly.size(); ++i) {
          if (!kept(poly, i)) continue;
          g.nodes[n] = {poly[i], n + 1 < end ? n + 1 : first, n > first ? n - 1 : end - 1, -1, 0};
          hashes[n] = PointHash{}(poly[i]);
          ++n;
        }
      }
    });
  }

  // Join the nodes at the same place: the first node of each place heads it.
  // Open-addressing tables of the heads, keyed by place: the places are split
  // in two by their hash, each half with its own table on its own thread
  // (nodes at one place share the hash, so each place is settled by one).
  // A node's rank is the number of nodes at its place before it.
  std::unique_ptr<uint32_t[]> head(new uint32_t[count]), rank(new uint32_t[count]);
  std::vector<uint32_t> size(count, 0);
  struct Counted {
    size_t groups = 0, members = 0;
  };
  Counted counted[2][2];  // by hash half, then node half
  auto join = [&](uint64_t half, bool reports) {
    size_t members = 0;
    for (size_t n = 0; n < count; ++n) members += hashes[n] >> 63 == half;
    size_t capacity = 16;
    while (capacity < 2 * members) capacity *= 2;
    constexpr uint32_t kFree = UINT32_MAX;
    std::vector<uint32_t> slots(capacity, kFree);
    // Slots and heads lie anywhere in memory: they are fetched a few nodes
    // ahead (the head a slot holds then may still change; it only serves
    // the fetch).
    constexpr uint32_t kAhead = 16;
    Counted mine[2];
    for (uint32_t n = 0; n < count; ++n) {
      if (reports && progress && n % 4096 == 0) progress(TContourStep::kVectorList, n, count);
      if (n + 2 * kAhead < count)
        __builtin_prefetch(&slots[hashes[n + 2 * kAhead] & (capacity - 1)]);
      if (n + kAhead < count) {
        const uint32_t ahead = slots[hashes[n + kAhead] & (capacity - 1)];
        if (ahead != kFree) __builtin_prefetch(&g.nodes[ahead]), __builtin_prefetch(&size[ahead]);
      }
      if (hashes[n] >> 63 != half) continue;
      const TPoint64 p = g.nodes[n].p;
      size_t slot = hashes[n] & (capacity - 1);
      while (slots[slot] != kFree && g.nodes[slots[slot]].p != p)
        slot = (slot + 1) & (capacity - 1);
      if (slots[slot] == kFree) slots[slot] = n;
      head[n] = slots[slot];
      rank[n] = size[head[n]]++;
      // The groups (places with several nodes) and their members, counted
      // by the half of the nodes their head lies in.
      if (rank[n] > 0) {
        const int part = head[n] >= count / 2;
        if (rank[n] == 1) ++mine[part].groups, ++mine[part].members;
        ++mine[part].members;
      }
    }
    counted[half][0] = mine[0], counted[half][1] = mine[1];
  };
  if (count < 4096) {
    join(0, true), join(1, false);
  } else {
    std::thread helper([&] { join(1, false); });
    join(0, true);
    helper.join();
  }
  hashes.reset();
  // Places with several nodes become groups, numbered in the order of
  // their heads: the nodes split in two halves, each half's groups numbered
  // on its own thread from where the first half's end (the join counted
  // them). Only heads are read in groupOfHead (the group and where its
  // members start), and every head is written.
  struct HeadGroup {
    int32_t group;
    uint32_t start;
  };
  std::unique_ptr<HeadGroup[]> groupOfHead(new HeadGroup[count]);
  const size_t bounds[3] = {0, count / 2, count};
  const size_t groups[2] = {counted[0][0].groups + counted[1][0].groups,
                            counted[0][1].groups + counted[1][1].groups};
  const size_t places[2] = {counted[0][0].members + counted[1][0].members,
                            counted[0][1].members + counted[1][1].members};
  auto grouped = [&](size_t n) { return head[n] == n && size[n] > 1; };
  g.groupStart.resize(groups[0] + groups[1] + 1);
  g.groupStart.back() = uint32_t(places[0] + places[1]);
  inTwoParts(count >= 4096, [&](int part) {
    size_t group = part == 0 ? 0 : groups[0];
    uint32_t member = part == 0 ? 0 : uint32_t(places[0]);
    for (size_t n = bounds[part]; n < bounds[part + 1]; ++n) {
      if (head[n] != n) continue;
      if (!grouped(n)) {
        groupOfHead[n] = {-1, 0};
        continue;
      }
      groupOfHead[n] = {int32_t(group), member};
      g.groupStart[group++] = member;
      member += size[n];
    }
  });
  std::vector<uint32_t>().swap(size);
  g.members.resize(g.groupStart.back());
  // Every node into its group at its rank, so that each group's members
  // stand in ascending order; on two threads.
  inTwoHalves(count, [&](size_t begin, size_t end) {
    for (size_t n = begin; n < end; ++n) {
      if (n + 16 < end) __builtin_prefetch(&groupOfHead[head[n + 16]]);
      const HeadGroup at = groupOfHead[head[n]];
      if (at.group < 0) continue;
      g.nodes[n].group = at.group;
      g.nodes[n].firstMember = at.start;
      g.members[at.start + rank[n]] = uint32_t(n);
    }
  });
  if (progress) progress(TContourStep::kVectorList, count, count);
  return g;
}

TTraceResult traceOutlines(const TContourGraph& graph, const TContourProgress& progress,
                           const std::function<void(const TTraceResult&)>& loopFound) {
  TTraceResult result;
  const size_t count = graph.nodes.size();
  // Per node: used by a walk of the current pass, part of a loop, and marked
  // as a branch leaving a loop.
  constexpr uint8_t kUsed = 1, kOnLoop = 2, kBranch = 4;
  // A node's flags and the walk that last reached it with its place in that
  // walk, side by side: a step to a node of another polygon reads them
  // together, and nothing needs clearing after a walk.
  struct Mark {
    uint32_t walk = 0;
    uint32_t position = 0;  // in that walk
    // The leftmost turn from the node with every way open: where the walks
    // of the first two passes go on from it, found before the walks.
    uint32_t leftmost = 0;
    uint8_t state = 0;
  };
  // Set on two threads below, not cleared first.
  std::vector<Mark, TUnsetAllocator<Mark>> mark(count);
  uint32_t walks = 0;
  std::vector<uint32_t> trace;
  // Every node alone at its place has one way on, its next node.
  inTwoHalves(count, [&](size_t begin, size_t end) {
    for (size_t n = begin; n < end; ++n) mark[n] = {0, 0, graph.nodes[n].next, 0};
  });
  // The ways on from a place where several nodes meet, member by member of
  // its group: the direction of the member's edge on, that of its edge in
  // (from its predecessor) and its next node side by side.
  struct Way {
    TDirection leaving;
    TDirection in;
    uint32_t member;
    uint32_t next;
  };
  // The ways of the group of `n`, into `out`.
  auto waysAt = [&graph](uint32_t n, std::vector<Way>& out) {
    const int32_t g = graph.nodes[n].group;
    out.clear();
    for (uint32_t i = graph.groupStart[g]; i < graph.groupStart[g + 1]; ++i) {
      const uint32_t m = graph.members[i];
      const TContourNode& node = graph.nodes[m];
      const TPoint64 p = node.p, next = graph.nodes[node.next].p, pred = graph.nodes[node.pred].p;
      out.push_back({{next.x - p.x, next.y - p.y}, {p.x - pred.x, p.y - pred.y}, m, node.next});
    }
  };
  constexpr uint32_t kNoWay = UINT32_MAX;
  // The leftmost turn from the member `own` of the place [first, end), in
  // successor order: its own next node, then those of the others at its
  // place; the earlier wins a tie. `open` leaves ways out; there is no way
  // on when it leaves out all of them. The turns are compared exactly; where
  // two ways tie or one leads straight back, the angles decide, as the
  // walks have always measured them.
  auto byAngles = [](const Way* first, const Way* end, const Way* own, auto open) {
    auto angle = [](TDirection d) { return directionAngle(0, 0, d.x, d.y); };
    const long double in = angle(own->in);
    uint32_t best = kNoWay;
    long double bestValue = 0;
    if (open(own->next)) best = own->next, bestValue = turningValueOf(in, angle(own->leaving));
    for (const Way* w = first; w != end; ++w) {
      if (w == own || !open(w->next)) continue;
      const long double value = turningValueOf(in, angle(w->leaving));
      if (best == kNoWay || value > bestValue) {
        bestValue = value;
        best = w->next;
      }
    }
    return best;
  };
  auto leftmostAt = [&byAngles](const Way* first, const Way* end, const Way* own, auto open) {
    const TTurnOrder order(own->in);
    const Way* best = nullptr;
    auto consider = [&](const Way* w) {
      if (order.backOrNone(w->leaving)) return false;
      if (best) {
        const int c = order.compare(w->leaving, best->leaving);
        if (c == 0) return false;
        if (c < 0) return true;
      }
      best = w;
      return true;
    };
    if (open(own->next) && !consider(own)) return byAngles(first, end, own, open);
    for (const Way* w = first; w != end; ++w)
      if (w != own && open(w->next) && !consider(w)) return byAngles(first, end, own, open);
    return best ? best->next : kNoWay;
  };
  // With every way open, a turn depends on nothing but the node: the turns
  // of the first two passes are worked out here, place by place on two
  // threads, and their walks only follow them.
  constexpr uint32_t kAhead = 16;
  inTwoHalves(graph.groupStart.size() - 1, [&](size_t begin, size_t end) {
    const auto all = [](uint32_t) { return true; };
    std::vector<Way> place;
    for (size_t g = begin; g < end; ++g) {
      // The members lie anywhere among the nodes: fetched a few places ahead.
      if (g + kAhead + 1 < graph.groupStart.size())
        for (uint32_t i = graph.groupStart[g + kAhead]; i < graph.groupStart[g + kAhead + 1]; ++i) {
          const uint32_t ahead = graph.members[i];
          __builtin_prefetch(&graph.nodes[ahead]);
          __builtin_prefetch(&mark[ahead], 1);
        }
      waysAt(graph.members[graph.groupStart[g]], place);
      const Way* const first = place.data();
      for (const Way& w : place)
        mark[w.member].leftmost = leftmostAt(first, first + place.size(), &w, all);
    }
  });
  // Passing by loops, the ways onto them are left out. The leftmost way,
  // when open, is still the leftmost of the open ones (and the first of
  // them at its value); otherwise the place's ways are compared again.
  std::vector<Way> passingPlace;
  auto turnPassing = [&](uint32_t n) {
    const auto open = [&](uint32_t s) { return !(mark[s].state & kOnLoop); };
    if (open(mark[n].leftmost)) return mark[n].leftmost;
    if (graph.nodes[n].group < 0) return kNoWay;
    waysAt(n, passingPlace);
    const Way* const first = passingPlace.data();
    const Way* own = first;
    while (own->member != n) ++own;
    return leftmostAt(first, first + passingPlace.size(), own, open);
  };
  // Walks from `start` until the walk closes a loop (its position in the
  // walk) or runs into a node used before (-1).
  auto walk = [&](uint32_t start, bool passLoops) {
    ++walks;  // a walk starts at every node at most once per pass
    trace.assign(1, start);
    mark[start].state |= kUsed;
    mark[start].walk = walks, mark[start].position = 0;
    int64_t closedAt = -1;
    for (;;) {
      const uint32_t best = passLoops ? turnPassing(trace.back()) : mark[trace.back()].leftmost;
      if (best == kNoWay) break;
      Mark& m = mark[best];
      if (m.walk == walks) {
        closedAt = m.position;
        break;
      }
      trace.push_back(best);
      if (m.state & kUsed) break;
      m.state |= kUsed;
      m.walk = walks, m.position = uint32_t(trace.size() - 1);
    }
    return closedAt;
  };
  auto record = [&](size_t closedAt) {
    TContour loop;
    loop.reserve(trace.size() - closedAt);
    for (size_t i = closedAt; i < trace.size(); ++i) {
      const TPoint64& p = graph.nodes[trace[i]].p;
      loop.push_back({unscale(p.x), unscale(p.y)});
      mark[trace[i]].state |= kOnLoop;
    }
    result.loops.push_back(std::move(loop));
    result.firstEdge.push_back(trace[closedAt + 1 < trace.size() ? closedAt + 1 : closedAt]);
    uint32_t longest = result.firstEdge.back();
    int64_t most = -1;
    for (size_t i = closedAt; i < trace.size(); ++i) {
      const TPoint64 a = graph.nodes[graph.nodes[trace[i]].pred].p, b = graph.nodes[trace[i]].p;
      const int64_t length = std::abs(a.x - b.x) + std::abs(a.y - b.y);
      if (length > most) most = length, longest = trace[i];
    }
    result.longestEdge.push_back(longest);
  };

  for (uint32_t start = 0; start < count; ++start) {
    if (mark[start].state & kUsed) continue;
    if (progress) progress(TContourStep::kOutlines, start, 2 * count);
    const int64_t closedAt = walk(start, false);
    if (closedAt < 0) {
      ++result.abandoned;
      continue;
    }
    record(size_t(closedAt));
    if (loopFound) loopFound(result);
    // No walk starts on a branch leaving the loop.
    for (size_t i = size_t(closedAt); i < trace.size(); ++i)
      graph.forEachSuccessor(trace[i], [&](uint32_t s) {
        if (!(mark[s].state & kUsed)) mark[s].state |= kUsed | kBranch;
      });
  }

  // A loop that touches an earlier one at a place had its node after that
  // place marked as a branch, and every walk along it then ran into that
  // mark: a copper island or gap touching another contour at one point
  // would get no contour. Walking again from those branches, with only the
  // loops in the way, finds every such loop.
  auto rescue = [&](bool passLoops) {
    for (uint32_t n = 0; n < count; ++n) {
      mark[n].state &= kOnLoop | kBranch;
      if (mark[n].state & kOnLoop) mark[n].state |= kUsed;
    }
    for (uint32_t start = 0; start < count; ++start) {
      if ((mark[start].state & kUsed) || !(mark[start].state & kBranch)) continue;
      if (progress) progress(TContourStep::kOutlines, count + start, 2 * count);
      const int64_t closedAt = walk(start, passLoops);
      if (closedAt < 0) continue;
      record(size_t(closedAt));
      if (passLoops) result.passingNodes.emplace_back(trace.begin() + closedAt, trace.end());
      if (loopFound) loopFound(result);
    }
  };
  result.firstRescued = result.loops.size();
  rescue(false);
  // When an earlier loop is a lobe of a boundary pinched at one place (the
  // tip of a thin arc poking out of its round end), the leftmost turn at
  // the pinch leads onto the lobe every time, and the rest of the boundary
  // never closes. A last round of walks passes by the loops where it meets
  // them; turning less than leftmost, such a walk can also cut through
  // copper, so its loops are kept only where every edge bounds copper.
  result.firstPassing = result.loops.size();
  rescue(true);
  if (progress) progress(TContourStep::kOutlines, 2 * count, 2 * count);
  return result;
}

}  // namespace plavesk
