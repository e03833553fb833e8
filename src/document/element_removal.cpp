#include "document/element_removal.h"

#include <algorithm>

#include "document/element_positions.h"

namespace plavesk {

size_t deleteFlaggedElements(TObjektList& list, const std::vector<uint8_t>& doomed) {
  const size_t n = std::min(list.size(), doomed.size());
  const size_t count = size_t(std::count_if(doomed.begin(), doomed.begin() + std::ptrdiff_t(n),
                                            [](uint8_t f) { return f != 0; }));
  if (count == 0) return 0;
  {
    const ElementPositions at(list);
    auto gone = [&](const TObjekt* e) {
      const int32_t i = at.find(e);
      return i >= 0 && size_t(i) < n && doomed[size_t(i)] != 0;
    };
    for (auto& e : list) {
      if (e->padLink && gone(e->padLink)) e->padLink = nullptr;
      if (e->routeFrom && gone(e->routeFrom)) e->routeFrom = nullptr;
      if (e->routeTo && gone(e->routeTo)) e->routeTo = nullptr;
      if (!e->connections.empty()) std::erase_if(e->connections, gone);
    }
  }
  size_t kept = 0;
  for (size_t i = 0; i < list.size(); ++i) {
    if (i < n && doomed[i]) continue;
    if (kept != i) list[kept] = std::move(list[i]);  // frees a doomed element there
    ++kept;
  }
  list.resize(kept);
  return count;
}

}  // namespace plavesk
