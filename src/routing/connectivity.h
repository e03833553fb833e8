// Which copper is joined: the three rules of direct connection (overlapping
// outlines on one layer, through-pad partners, the ground plane of a side),
// the marking of one net from a start element, and all nets of a board at
// once by union-find.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <future>
#include <memory>
#include <optional>
#include <unordered_map>
#include <utility>
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

// The nets of a list as copperNets finds them, kept between calls. Each
// element is remembered by a fingerprint of everything the overlap rule
// looks at (kind, layer, geometry, clearance), the through-pad partners by
// their positions, together with the ground-plane switches, so that
// clicking net after net on an unchanged board costs a look-up. After an
// edit (undo and redo included, which restore copies) only the elements
// whose fingerprint is new are compared with their neighbours: the pairs of
// kept elements found joined stay joined, and the candidate pairs never
// decided (their ends were in one net already) are decided when an edit
// leaves their ends in different nets.
class TNetCache {
 public:
  TNetCache() = default;
  TNetCache(TNetCache&&) = default;
  TNetCache& operator=(TNetCache&&) = default;

  const std::vector<int>& nets(const TObjektList& list, const TBoardRecord& state);
  // Starts working the nets of a copy of the list out on another thread,
  // from what is kept, so that the next nets() finds them ready; it waits
  // for them when they are not. Whatever changes in between is found by the
  // fingerprints and worked out as after an edit, so the answer is the same
  // as without. Nothing starts when the nets kept fit the list already.
  void prepare(const TObjektList& list, const TBoardRecord& state);
  // How many analyses done ahead by prepare() were taken over.
  size_t prepared() const { return prepared_; }
  // Marks the net of list[start] as markConnected does on a list with
  // nothing marked; elements marked before stay marked and are not counted.
  size_t markNet(TObjektList& list, const TBoardRecord& state, size_t start,
                 const std::function<void(const TObjekt&)>& marked = {});
  // How many times the nets were worked out again, and how many of these
  // started from scratch.
  size_t analyses() const { return analyses_; }
  size_t fullAnalyses() const { return fullAnalyses_; }

  // Above this many changed elements an edit is analysed from scratch.
  static constexpr size_t kMaxChangedForUpdate = 512;

 private:
  struct TEntry {
    uint64_t hash = 0;  // of the element's content
    TRect bounds;
    // Wholly inside a cutout area of its layer; -1 not yet known. Depends on
    // the element and the cutouts of its layer only, so a changed cutout
    // makes its layer ask again.
    int8_t insideCutout = -1;
    uint8_t layer = 0;
    bool cutout = false;
  };
  bool groundPlaneOn(int layer) const;
  // The kept nets fit the list and switches as they are now.
  bool fits(const TObjektList& list, const TBoardRecord& state) const;
  // Everything known about the nets, counters included, moves over from
  // `from`.
  void takeOver(TNetCache& from);
  void adoptPrepared();
  void analyse(const TObjektList& list, const std::vector<uint64_t>& hashes);
  bool update(const TObjektList& list, const std::vector<uint64_t>& hashes);
  void resolve(const TObjektList& list);

  bool valid_ = false;
  bool groundPlane1_ = false;
  bool groundPlane2_ = false;
  std::vector<TEntry> entries_;
  std::vector<int> partners_;                          // through-pad partner positions, -1 for none
  std::vector<std::pair<uint32_t, uint32_t>> joined_;  // overlapping, ascending ends
  std::vector<std::pair<uint32_t, uint32_t>> untested_;  // bounds meet, not yet decided
  size_t analyses_ = 0;
  size_t fullAnalyses_ = 0;
  std::vector<int> nets_;
  size_t prepared_ = 0;
  std::future<std::unique_ptr<TNetCache>> pending_;
};

// The cache behind the test tool's clicks.
TNetCache& sharedNetCache();

}  // namespace plavesk
