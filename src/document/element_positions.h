// Positions of the elements of a list, found by address. Writing references
// and checking that a reference names an element of the list both need this
// for every element of boards of 100,000 elements; an open-addressing table
// of list indexes needs one allocation for the whole list where a node-based
// map needs one per element.
#pragma once

#include <cstdint>
#include <vector>

#include "document/objekt.h"

namespace plavesk {

class ElementPositions {
 public:
  // The list must stay unchanged while the positions are used.
  explicit ElementPositions(const TObjektList& list) : list_(list) {
    size_t capacity = 16;
    while (capacity < 2 * list.size()) capacity *= 2;
    mask_ = capacity - 1;
    shift_ = 64;
    for (size_t c = capacity; c > 1; c /= 2) --shift_;
    slots_.assign(capacity, -1);
    for (size_t i = 0; i < list.size(); ++i) {
      size_t s = slotOf(list[i].get());
      while (slots_[s] >= 0) s = (s + 1) & mask_;
      slots_[s] = int32_t(i);
    }
  }

  // The position of `e` in the list; -1 for null and for an element that is
  // not in the list (`e` is only compared, never followed).
  int32_t find(const TObjekt* e) const {
    if (!e) return -1;
    for (size_t s = slotOf(e);; s = (s + 1) & mask_) {
      const int32_t at = slots_[s];
      if (at < 0 || list_[size_t(at)].get() == e) return at;
    }
  }
  bool contains(const TObjekt* e) const { return find(e) >= 0; }

 private:
  // Elements are separate heap blocks, so the low bits of their addresses
  // carry little; a multiplicative hash spreads the rest over the table.
  size_t slotOf(const TObjekt* e) const {
    const uint64_t v = uint64_t(reinterpret_cast<uintptr_t>(e)) * 0x9E3779B97F4A7C15ull;
    return size_t(v >> shift_) & mask_;
  }

  const TObjektList& list_;
  std::vector<int32_t> slots_;
  size_t mask_ = 0;
  int shift_ = 64;
};

}  // namespace plavesk
