// What the router tests share: a copper picker standing in for the editor's
// elementAt, and hooks that record the status texts.
#pragma once

#include <string>
#include <vector>

#include "routing/autorouter.h"
#include "view/geometry.h"

namespace plavesk::testing {

// The topmost copper element whose outline holds p, the active side first.
inline int copperAt(const TObjektList& list, const TBoardRecord& state, TPoint p) {
  const int first = isSide2Layer(state.activeLayer) ? kCopper2 : kCopper1;
  for (int layer : {first, otherSideLayer(first)})
    for (size_t i = list.size(); i-- > 0;) {
      const TObjekt& e = *list[i];
      if (e.layer != layer) continue;
      const auto outline = elementOutline(e);
      if (outline && outline->containsPoint({p.x, p.y})) return int(i);
    }
  return -1;
}

struct RouterProbe {
  std::vector<std::string> status;
  int snapshots = 0;

  TRouterHooks hooks(const TObjektList& list, const TBoardRecord& state) {
    TRouterHooks h;
    h.copperAt = [&list, &state](TPoint p) { return copperAt(list, state, p); };
    h.status = [this](const std::string& s) { status.push_back(s); };
    h.takeSnapshot = [this] { ++snapshots; };
    return h;
  }
};

}  // namespace plavesk::testing
