#include "editing/element_at.h"

#include "view/geometry.h"
#include "view/layer_visibility.h"

namespace plavesk {
namespace {

bool contains(const TRect& r, TPoint q) {
  return q.x >= r.left && q.x <= r.right && q.y >= r.top && q.y <= r.bottom;
}

bool hasNodes(const TObjekt& e) { return e.kind == kArea || e.kind == kCircle || e.kind == kTrack; }

}  // namespace

int elementAt(const TObjektList& list, const TBoardRecord& state, TPoint q, bool copperOnly) {
  const double zoom = state.zoom;
  bool selectedNode = false;
  for (size_t i = list.size(); i-- > 0;) {
    const TObjekt& e = *list[i];
    if (e.selected && hasNodes(e) && contains(elementBounds(e), q) && hitNode(e, q, zoom) >= 0) {
      selectedNode = true;
      break;
    }
  }
  std::vector<int> order = isSide2Layer(state.activeLayer & 0xFF) ? std::vector<int>{4, 2, 3, 1}
                                                                  : std::vector<int>{2, 4, 1, 3};
  for (int layer : order) {
    if (copperOnly && !isCopperLayer(layer)) continue;
    if (!isLayerVisible(state, layer)) continue;
    int found = -1;
    for (size_t i = list.size(); i-- > 0;) {
      const TObjekt& e = *list[i];
      if (e.layer != layer || (selectedNode && !e.selected)) continue;
      if (!contains(elementBounds(e), q)) continue;
      if (e.selected && hasNodes(e) && hitNode(e, q, zoom) >= 0) return int(i);
      if (!hitElement(e, q, zoom)) continue;
      if (found < 0) {
        found = int(i);
        continue;
      }
      const TObjekt& r = *list[found];
      bool isPad = e.kind == kPad || e.kind == kSmdPad;
      bool rIsPad = r.kind == kPad || r.kind == kSmdPad;
      if ((isPad && !rIsPad) || (r.kind == kArea && r.cutout)) found = int(i);
    }
    if (found >= 0) return found;
  }
  return -1;
}

}  // namespace plavesk
