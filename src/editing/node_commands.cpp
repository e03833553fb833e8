// Moving the selection and the node menu's corner commands.
#include <utility>

#include "editing/editor.h"
#include "view/units.h"

namespace plavesk {
namespace {

constexpr size_t kSeparateRepaints = 64;

}  // namespace

void TEditor::invalidate(const TRect& area) {
  if (events.invalidate && !area.isEmpty()) events.invalidate(area);
}

TRect TEditor::selectedBandArea() const {
  TRect area;
  for (const auto& e : elements()) {
    if (!e->hasConnections()) continue;
    for (const TObjekt* other : e->connections)
      if (other && (e->selected || other->selected))
        area = unite(area, unite(elementBounds(*e), elementBounds(*other)));
  }
  return area;
}

bool TEditor::moveSelection(int32_t dx, int32_t dy) {
  if (!layout.hasActiveBoard() || (dx == 0 && dy == 0)) return false;
  const size_t count = selectedCount();
  if (count == 0) return false;
  takeSnapshot();
  // A large selection covers most of the view: one repaint of the whole
  // view costs less than the areas of every element before and after.
  const bool separate = count <= kSeparateRepaints;
  if (separate) invalidate(selectedBandArea());
  for (auto& e : elements()) {
    if (!e->selected) continue;
    if (separate) invalidate(*e);
    moveElement(*e, dx, dy);
    if (separate) invalidate(*e);
  }
  if (separate)
    invalidate(selectedBandArea());
  else
    repaint();
  commandStatesChanged();
  return true;
}

bool TEditor::nudgeSelection(TNudge direction, bool ctrl) {
  if (!layout.hasActiveBoard()) return false;
  const int32_t step = ctrl ? 1 : roundToUnit(working().grid);
  switch (direction) {
    case TNudge::left:
      return moveSelection(-step, 0);
    case TNudge::right:
      return moveSelection(step, 0);
    case TNudge::up:
      return moveSelection(0, step);
    case TNudge::down:
      return moveSelection(0, -step);
  }
  return false;
}

const TObjekt* TEditor::nodeElement(TNodeRef at) const {
  if (!layout.hasActiveBoard() || at.element < 0 || at.element >= int(elements().size()))
    return nullptr;
  const TObjekt& e = *elements()[at.element];
  if (at.object && at.object != &e) return nullptr;
  if ((e.kind != kTrack && e.kind != kArea) || !e.selected || !e.groupIds.empty()) return nullptr;
  if (at.node < 0 || at.node >= int(e.points.size())) return nullptr;
  return &e;
}

TObjekt* TEditor::nodeElement(TNodeRef at) {
  return const_cast<TObjekt*>(std::as_const(*this).nodeElement(at));
}

bool TEditor::removeCorner(TNodeRef at) {
  TObjekt* e = nodeElement(at);
  if (!e || e->points.size() <= 2) return false;
  takeSnapshot();
  invalidate(*e);
  e->points.erase(e->points.begin() + at.node);
  invalidate(*e);
  nodeTarget = {};
  commandStatesChanged();
  return true;
}

bool TEditor::addCorner(TNodeRef at) {
  TObjekt* e = nodeElement(at);
  if (!e) return false;
  const std::vector<TPoint>& p = e->points;
  TPoint corner;
  if (at.node == 0) {
    corner = TPoint{p[0].x - 254, p[0].y + 254};
  } else {
    const TPoint a = p[at.node - 1], b = p[at.node];
    corner = TPoint{int32_t((int64_t(a.x) + b.x) / 2), int32_t((int64_t(a.y) + b.y) / 2)};
  }
  takeSnapshot();
  invalidate(*e);
  e->points.insert(e->points.begin() + at.node, snapToGrid(corner, working().grid));
  invalidate(*e);
  nodeTarget = {};
  commandStatesChanged();
  return true;
}

bool TEditor::snapCorner(TNodeRef at) {
  TObjekt* e = nodeElement(at);
  if (!e) return false;
  const TPoint snapped = snapToGrid(e->points[at.node], working().grid);
  // A corner already on the grid changes nothing and leaves no undo step.
  if (snapped == e->points[at.node]) return false;
  takeSnapshot();
  invalidate(*e);
  e->points[at.node] = snapped;
  invalidate(*e);
  nodeTarget = {};
  commandStatesChanged();
  return true;
}

bool TEditor::splitTrack(TNodeRef at) {
  TObjekt* e = nodeElement(at);
  if (!e || e->kind != kTrack || at.node <= 0 || at.node >= int(e->points.size()) - 1) return false;
  takeSnapshot();
  invalidate(*e);
  TObjektPtr rest = createTrack(e->dim3, e->layer);
  rest->clearance = e->clearance;
  while (int(e->points.size()) > at.node + 1) {
    rest->points.push_back(e->points.back());
    e->points.pop_back();
  }
  rest->points.push_back(e->points.back());
  invalidate(*e);
  invalidate(*rest);
  elements().push_back(std::move(rest));
  nodeTarget = {};
  commandStatesChanged();
  return true;
}

}  // namespace plavesk
