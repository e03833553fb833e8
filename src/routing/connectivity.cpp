#include "routing/connectivity.h"

#include <numeric>

namespace plavesk {
namespace {

bool boundsMeet(const TRect& a, const TRect& b) {
  return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

bool boxesMeet(const Region::Box& a, const Region::Box& b) {
  return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

bool isCutout(const TObjekt& e) {
  return e.kind == kArea && e.cutout;
}

}  // namespace

TCopperAnalysis::TCopperAnalysis(const TObjektList& list, const TBoardRecord& state)
    : list_(list),
      groundPlane1_(state.groundPlane1 != 0),
      groundPlane2_(state.groundPlane2 != 0),
      index_(500) {
  index_.build(list);
  bounds_.reserve(list.size());
  positions_.reserve(list.size());
  for (size_t i = 0; i < list.size(); ++i) {
    bounds_.push_back(elementBounds(*list[i]));
    positions_.emplace(list[i].get(), i);
    if (isCutout(*list[i])) cutouts_.push_back(i);
  }
  insideCutout_.assign(list.size(), -1);
}

int TCopperAnalysis::indexOf(const TObjekt* e) const {
  auto it = positions_.find(e);
  return it == positions_.end() ? -1 : int(it->second);
}

bool TCopperAnalysis::overlap(size_t a, size_t b) const {
  const TObjekt& ea = *list_[a];
  const TObjekt& eb = *list_[b];
  if (a == b || ea.layer != eb.layer || isCutout(ea) || isCutout(eb)) return false;
  if (!boundsMeet(bounds_[a], bounds_[b])) return false;
  const auto& oa = outline(a);
  const auto& ob = outline(b);
  if (!oa || !ob || oa->empty() || ob->empty()) return false;
  if (!boxesMeet(oa->boundingBox(), ob->boundingBox())) return false;
  return !(*oa & *ob).empty();
}

void TCopperAnalysis::overlapCandidates(size_t i, std::vector<size_t>& out) const {
  index_.candidates(bounds_[i], out);
  const TObjekt& e = *list_[i];
  std::erase_if(out, [&](size_t j) {
    const TObjekt& c = *list_[j];
    return j == i || c.layer != e.layer || isCutout(c) || !boundsMeet(bounds_[i], bounds_[j]);
  });
}

bool TCopperAnalysis::insideCutout(size_t i) const {
  if (insideCutout_[i] >= 0) return insideCutout_[i] != 0;
  bool inside = false;
  const TObjekt& e = *list_[i];
  const auto& own = outline(i);
  if (own && !own->empty()) {
    for (size_t c : cutouts_) {
      if (c == i || list_[c]->layer != e.layer || !boundsMeet(bounds_[i], bounds_[c])) continue;
      const auto& area = outline(c);
      if (area && (*own - *area).empty()) {
        inside = true;
        break;
      }
    }
  }
  insideCutout_[i] = inside ? 1 : 0;
  return inside;
}

bool TCopperAnalysis::groundPlaneOn(int layer) const {
  return (layer == kCopper1 && groundPlane1_) || (layer == kCopper2 && groundPlane2_);
}

bool TCopperAnalysis::joinsGroundPlane(size_t i) const {
  const TObjekt& e = *list_[i];
  return groundPlaneOn(e.layer) && e.clearance == 0 && !isCutout(e) && !insideCutout(i);
}

const std::vector<size_t>& TCopperAnalysis::groundPlaneMembers(int layer) const {
  auto& members = layer == kCopper1 ? members1_ : members3_;
  if (!members) {
    members.emplace();
    if (groundPlaneOn(layer))
      for (size_t i = 0; i < list_.size(); ++i)
        if (list_[i]->layer == layer && joinsGroundPlane(i)) members->push_back(i);
  }
  return *members;
}

int TCopperAnalysis::partnerOf(size_t i) const {
  const TObjekt& e = *list_[i];
  if (e.kind != kPad || !e.padLink) return -1;
  const int p = indexOf(e.padLink);
  return p >= 0 && !isCutout(*list_[p]) ? p : -1;
}

size_t markConnected(TObjektList& list, const TCopperAnalysis& analysis, size_t start,
                     const std::function<void(const TObjekt&)>& marked) {
  size_t count = 0;
  std::vector<size_t> stack;
  auto mark = [&](size_t i) {
    list[i]->selected = 1;
    if (marked) marked(*list[i]);
    ++count;
    stack.push_back(i);
  };
  if (start >= list.size() || list[start]->selected) return 0;
  mark(start);
  std::vector<size_t> candidates;
  while (!stack.empty()) {
    const size_t i = stack.back();
    stack.pop_back();
    analysis.overlapCandidates(i, candidates);
    for (size_t j : candidates)
      if (!list[j]->selected && analysis.overlap(i, j)) mark(j);
    const int partner = analysis.partnerOf(i);
    if (partner >= 0 && !list[partner]->selected) mark(size_t(partner));
    if (analysis.joinsGroundPlane(i))
      for (size_t j : analysis.groundPlaneMembers(list[i]->layer))
        if (!list[j]->selected) mark(j);
  }
  return count;
}

std::vector<int> copperNets(const TCopperAnalysis& analysis) {
  const size_t n = analysis.size();
  std::vector<size_t> parent(n);
  std::iota(parent.begin(), parent.end(), size_t(0));
  auto find = [&](size_t i) {
    while (parent[i] != i) {
      parent[i] = parent[parent[i]];
      i = parent[i];
    }
    return i;
  };
  auto join = [&](size_t a, size_t b) {
    a = find(a);
    b = find(b);
    if (a != b) parent[std::max(a, b)] = std::min(a, b);
  };
  std::vector<size_t> candidates;
  for (size_t i = 0; i < n; ++i) {
    if (isCutout(analysis.element(i))) continue;
    analysis.overlapCandidates(i, candidates);
    for (size_t j : candidates)
      if (j > i && find(i) != find(j) && analysis.overlap(i, j)) join(i, j);
    const int partner = analysis.partnerOf(i);
    if (partner >= 0) join(i, size_t(partner));
  }
  for (int layer : {int(kCopper1), int(kCopper2)}) {
    const auto& members = analysis.groundPlaneMembers(layer);
    for (size_t k = 1; k < members.size(); ++k) join(members[0], members[k]);
  }
  std::vector<int> nets(n, -1);
  for (size_t i = 0; i < n; ++i)
    if (!isCutout(analysis.element(i))) nets[i] = int(find(i));
  return nets;
}

}  // namespace plavesk
