// Which copper is joined: the three rules of direct connection (overlapping
// outlines on one layer, through-pad partners, the ground plane of a side),
// the marking of one net from a start element, and all nets of a board at
// once by union-find.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <unordered_map>
#include <vector>

#include "document/board.h"
#include "view/spatial_index.h"

namespace plavesk {

// The facts about a list the rules need, computed on demand and kept for the
// lifetime of the object: a spatial index of the element bounds, the outlines
// and whether an element lies wholly inside a cutout area. Build a new one
// after the list changes; `selected` flags may change meanwhile.
class TCopperAnalysis {
 public:
  TCopperAnalysis(const TObjektList& list, const TBoardRecord& state);

  size_t size() const { return list_.size(); }
  const TObjekt& element(size_t i) const { return *list_[i]; }
  // Position of an element of the list, or -1 when it is not in the list.
  int indexOf(const TObjekt* e) const;

  // Rule 1: same layer, neither a cutout area, and the outlines share an
  // area (touching only is not enough).
  bool overlap(size_t a, size_t b) const;
  // The elements that may overlap element i by rule 1 (same layer, not a
  // cutout, bounds meeting), ascending; i itself is left out.
  void overlapCandidates(size_t i, std::vector<size_t>& out) const;
  // Rule 3's conditions for one element: on a copper layer whose ground
  // plane is on, clearance 0, not a cutout area and not wholly inside one.
  bool joinsGroundPlane(size_t i) const;
  // Its outline minus the outline of some cutout area of its layer is empty.
  bool insideCutout(size_t i) const;
  // The elements of a layer that join its ground plane, in list order.
  const std::vector<size_t>& groundPlaneMembers(int layer) const;
  // The through-pad partner of a pad as a position, or -1.
  int partnerOf(size_t i) const;

  const std::optional<Region>& outline(size_t i) const { return index_.outline(list_, i); }

 private:
  bool groundPlaneOn(int layer) const;

  const TObjektList& list_;
  bool groundPlane1_;
  bool groundPlane2_;
  TSpatialIndex index_;
  std::vector<TRect> bounds_;
  std::unordered_map<const TObjekt*, size_t> positions_;
  std::vector<size_t> cutouts_;               // cutout areas, list order
  mutable std::vector<int8_t> insideCutout_;  // -1 unknown
  mutable std::optional<std::vector<size_t>> members1_, members3_;
};

// Marks (`selected` = 1) the net of list[start]: every element joined to it
// by a chain of direct connections. Elements marked before the call count as
// visited. `marked` hears of each newly marked element. Returns how many were
// marked.
size_t markConnected(TObjektList& list, const TCopperAnalysis& analysis, size_t start,
                     const std::function<void(const TObjekt&)>& marked = {});

// The net of every element in one pass: elements with the same value are
// joined; cutout areas belong to no net and get -1.
std::vector<int> copperNets(const TCopperAnalysis& analysis);

// The nets of a list as copperNets finds them, kept between calls while the
// copper stays the same: a fingerprint of everything the rules look at (each
// element's place in memory, kind, layer, geometry, clearance and through-pad
// partner, and the ground-plane switches) tells when to analyse afresh, so
// that clicking net after net on an unchanged board costs a look-up.
class TNetCache {
 public:
  const std::vector<int>& nets(const TObjektList& list, const TBoardRecord& state);
  // Marks the net of list[start] as markConnected does on a list with
  // nothing marked; elements marked before stay marked and are not counted.
  size_t markNet(TObjektList& list, const TBoardRecord& state, size_t start,
                 const std::function<void(const TObjekt&)>& marked = {});
  // How many times the nets were analysed afresh.
  size_t analyses() const { return analyses_; }

 private:
  bool valid_ = false;
  uint64_t fingerprint_ = 0;
  size_t size_ = 0;
  size_t analyses_ = 0;
  std::vector<int> nets_;
};

uint64_t copperFingerprint(const TObjektList& list, const TBoardRecord& state);

// The cache behind the test tool's clicks.
TNetCache& sharedNetCache();

}  // namespace plavesk
