#include "editing/transforms.h"

#include <algorithm>
#include <thread>
#include <unordered_map>
#include <unordered_set>

#include "editing/editor.h"
#include "editing/tools/tool_manager.h"
#include "view/geometry.h"
#include "view/layer_visibility.h"
#include "view/units.h"

namespace plavesk {

namespace {

// Past this many changed elements one repaint of the view costs less than
// the areas of every element before and after.
constexpr size_t kSeparateRepaints = 64;

void invalidateArea(TEditor& editor, const TRect& area) {
  if (editor.events.invalidate && !area.isEmpty()) editor.events.invalidate(area);
}

// The area of every rubber band with a selected end: the pads that move
// drag their bands along, so these are drawn again.
TRect selectedBandArea(const TObjektList& list) {
  TRect area;
  for (const auto& e : list) {
    if (!e->hasConnections()) continue;
    for (const TObjekt* other : e->connections)
      if (other && (e->selected || other->selected))
        area = unite(area, unite(elementBounds(*e), elementBounds(*other)));
  }
  return area;
}

// One change of elements: invalidation of each before and after, or one
// repaint for many, and the rubber bands of the selected pads before and
// after.
class TChange {
 public:
  TChange(TEditor& editor, size_t count) : editor_(editor), separate_(count <= kSeparateRepaints) {
    if (separate_) invalidateArea(editor_, selectedBandArea(editor_.elements()));
  }
  ~TChange() {
    if (separate_)
      invalidateArea(editor_, selectedBandArea(editor_.elements()));
    else
      editor_.repaint();
    editor_.commandStatesChanged();
  }
  TChange(const TChange&) = delete;
  TChange& operator=(const TChange&) = delete;

  template <class F>
  void on(TObjekt& e, F change) {
    if (separate_) editor_.invalidate(e);
    change(e);
    if (separate_) editor_.invalidate(e);
  }

 private:
  TEditor& editor_;
  bool separate_;
};

// The selection transforms need a board and something selected; they then
// always leave an undo step.
size_t startSelectionCommand(TEditor& editor) {
  if (!editor.layout.hasActiveBoard()) return 0;
  const size_t count = editor.selectedCount();
  if (count > 0) editor.takeSnapshot();
  return count;
}

TRect outlineBox(const TObjekt& e) {
  const auto outline = elementOutline(e);
  return outline ? toRect(outline->boundingBox()) : TRect{};
}

// From this many selected elements the outline boxes are computed on a
// second thread while the snapshot is taken: both only read the list (the
// snapshot's copy marks are fields the outlines never read).
constexpr size_t kBoxesBesideSnapshot = 2048;

// The outline box of every selected element by list position (empty for
// the others) and their union.
struct TSelectionBoxes {
  std::vector<TRect> boxes;
  TRect all;
};

// Takes the command's undo snapshot and the selection's outline boxes.
TSelectionBoxes snapshotAndBoxes(TEditor& editor, size_t count) {
  const TObjektList& list = editor.elements();
  TSelectionBoxes s;
  s.boxes.resize(list.size());
  auto compute = [&] {
    for (size_t i = 0; i < list.size(); ++i)
      if (list[i]->selected) s.boxes[i] = outlineBox(*list[i]);
  };
  if (count < kBoxesBesideSnapshot) {
    editor.takeSnapshot();
    compute();
  } else {
    std::thread helper(compute);
    editor.takeSnapshot();
    helper.join();
  }
  for (const TRect& box : s.boxes) s.all = unite(s.all, box);
  return s;
}

template <class F>
bool transformAboutCentre(TEditor& editor, F transform) {
  if (!editor.layout.hasActiveBoard()) return false;
  const size_t count = editor.selectedCount();
  if (count == 0) return false;
  const TPoint c = selectionCentre(snapshotAndBoxes(editor, count).all, editor.working().grid);
  TChange change(editor, count);
  for (auto& e : editor.elements())
    if (e->selected) change.on(*e, [&](TObjekt& x) { transform(x, c); });
  return true;
}

TPoint displacementSnapping(TPoint p, double grid) {
  const TPoint s = snapToGrid(p, grid);
  return {s.x - p.x, s.y - p.y};
}

// The point whose snapping moves an element of a group (or a track, area or
// text) rigidly.
TPoint referencePoint(const TObjekt& e) {
  if (e.hasPoints()) return e.points.empty() ? TPoint{e.x, e.y} : e.points.front();
  return {e.x, e.y};
}

bool isAnyPad(const TObjekt& e) {
  return e.kind == kPad || e.kind == kSmdPad;
}

void snapUngrouped(TObjekt& e, double grid) {
  switch (e.kind) {
    case kLine: {
      const TPoint a = snapToGrid({e.x, e.y}, grid), b = snapToGrid({e.dim1, e.dim2}, grid);
      e.x = a.x;
      e.y = a.y;
      e.dim1 = b.x;
      e.dim2 = b.y;
      normaliseLine(e);
      return;
    }
    case kArea:
    case kTrack:
      if (e.points.empty()) return;
      break;
    case kText:
      // A text without strokes has no place on the board to snap.
      if (e.strokes.empty()) return;
      break;
    default:
      break;
  }
  const TPoint d = displacementSnapping(referencePoint(e), grid);
  moveElement(e, d.x, d.y);
}

// Texts carry their strokes along.
void setLayer(TObjekt& e, int layer) {
  e.layer = uint8_t(layer);
  for (auto& stroke : e.strokes) stroke->layer = uint8_t(layer);
}

// Moves the rubber bands of `from` to `to`: every element joined to `from`
// is joined to `to` instead (once).
void moveBands(TObjekt& from, TObjekt& to) {
  for (TObjekt* other : from.connections) {
    if (!other || other == &to) continue;
    if (std::find(to.connections.begin(), to.connections.end(), other) == to.connections.end())
      to.connections.push_back(other);
    auto& back = other->connections;
    const bool hadTo = std::find(back.begin(), back.end(), &to) != back.end();
    if (hadTo)
      std::erase(back, &from);
    else
      std::replace(back.begin(), back.end(), &from, &to);
  }
  from.connections.clear();
}

}  // namespace

bool rotateSelection(TEditor& editor) {
  return transformAboutCentre(editor, rotateElement);
}

bool mirrorSelectionH(TEditor& editor) {
  return transformAboutCentre(editor, mirrorElementH);
}

bool mirrorSelectionV(TEditor& editor) {
  return transformAboutCentre(editor, mirrorElementV);
}

bool snapSelectionToGrid(TEditor& editor) {
  const size_t count = startSelectionCommand(editor);
  if (count == 0) return false;
  const double grid = editor.working().grid;
  TObjektList& list = editor.elements();
  // The selected members of each group in list order.
  std::unordered_map<int32_t, std::vector<TObjekt*>> groups;
  for (auto& e : list) {
    e->workMark = e->selected ? 1 : 0;
    if (e->selected && !e->groupIds.empty()) groups[e->groupIds.back()].push_back(e.get());
  }
  TChange change(editor, count);
  for (auto& e : list) {
    if (!e->workMark) continue;
    if (e->groupIds.empty()) {
      change.on(*e, [grid](TObjekt& x) { snapUngrouped(x, grid); });
      e->workMark = 0;
      continue;
    }
    // The group moves rigidly: its first pad onto the grid, or without a
    // pad the element met first.
    const std::vector<TObjekt*>& members = groups[e->groupIds.back()];
    const TObjekt* guide = e.get();
    for (const TObjekt* m : members)
      if (m->workMark && isAnyPad(*m)) {
        guide = m;
        break;
      }
    const TPoint d = displacementSnapping(referencePoint(*guide), grid);
    for (TObjekt* m : members) {
      if (!m->workMark) continue;
      change.on(*m, [d](TObjekt& x) { moveElement(x, d.x, d.y); });
      m->workMark = 0;
    }
  }
  return true;
}

bool alignSelection(TEditor& editor, TAlign how) {
  if (!editor.layout.hasActiveBoard() || !editor.commandStates().buildGroup) return false;
  const size_t count = editor.selectedCount();
  TObjektList& list = editor.elements();
  // Each selected element's outline box once; a unit's box is the union of
  // its members'.
  const TSelectionBoxes selection = snapshotAndBoxes(editor, count);
  const TRect& r = selection.all;
  struct TUnit {
    TRect box;
    std::vector<TObjekt*> members;
  };
  std::unordered_map<int32_t, TUnit> groups;
  for (size_t i = 0; i < list.size(); ++i) {
    TObjekt& e = *list[i];
    e.workMark = e.selected ? 1 : 0;
    if (!e.selected || e.groupIds.empty()) continue;
    TUnit& g = groups[e.groupIds.back()];
    g.box = unite(g.box, selection.boxes[i]);
    g.members.push_back(&e);
  }
  // Top and bottom in the board's sense: the larger and the smaller y.
  auto displacement = [&](const TRect& u) -> TPoint {
    if (u.isEmpty()) return {};  // nothing drawn (a text without strokes)
    switch (how) {
      case TAlign::top:
        return {0, r.bottom - u.bottom};
      case TAlign::bottom:
        return {0, r.top - u.top};
      case TAlign::left:
        return {r.left - u.left, 0};
      case TAlign::right:
        return {r.right - u.right, 0};
      case TAlign::hcentre:
        return {
            roundToUnit((r.left + (r.right - r.left) / 2.0) - (u.left + (u.right - u.left) / 2.0)),
            0};
      case TAlign::vcentre:
        return {0, roundToUnit((r.top + (r.bottom - r.top) / 2.0) -
                               (u.top + (u.bottom - u.top) / 2.0))};
    }
    return {};
  };
  TChange change(editor, count);
  for (size_t i = 0; i < list.size(); ++i) {
    const TObjektPtr& e = list[i];
    if (!e->workMark) continue;
    if (e->groupIds.empty()) {
      const TPoint d = displacement(selection.boxes[i]);
      change.on(*e, [d](TObjekt& x) { moveElement(x, d.x, d.y); });
      e->workMark = 0;
      continue;
    }
    const TUnit& unit = groups[e->groupIds.back()];
    const TPoint d = displacement(unit.box);
    for (TObjekt* m : unit.members) {
      change.on(*m, [d](TObjekt& x) { moveElement(x, d.x, d.y); });
      m->workMark = 0;
    }
  }
  return true;
}

bool changeSelectionSide(TEditor& editor) {
  const size_t count = startSelectionCommand(editor);
  if (count == 0) return false;
  TChange change(editor, count);
  for (auto& e : editor.elements())
    if (e->selected) change.on(*e, [](TObjekt& x) { setLayer(x, otherSideLayer(x.layer)); });
  return true;
}

bool setSelectionLayer(TEditor& editor, int layer) {
  if (!isValidLayer(layer)) return false;
  const size_t count = startSelectionCommand(editor);
  if (count == 0) return false;
  // The half of a through pad met second goes to the other side.
  std::unordered_set<const TObjekt*> seen;
  TChange change(editor, count);
  for (auto& e : editor.elements()) {
    const bool linked = e->kind == kPad && e->padLink && e->padLink != e.get();
    const bool later = linked && seen.count(e->padLink) != 0;
    if (linked) seen.insert(e.get());
    if (!e->selected) continue;
    const int target = later ? otherSideLayer(layer) : layer;
    change.on(*e, [target](TObjekt& x) { setLayer(x, target); });
  }
  return true;
}

bool macroNeedsFlip(const TObjektList& macro, int activeLayer) {
  int copper = 0, silk = 0;  // 0: no such element
  for (const auto& e : macro) {
    if (e->layer == kCopper1 || e->layer == kCopper2) copper = e->layer;
    if (e->layer == kSilk1 || e->layer == kSilk2) silk = e->layer;
  }
  return isCopperLayer(activeLayer) ? copper != activeLayer : silk != activeLayer;
}

bool chooseActiveLayer(TToolManager& tools, int layer, const TMacroSideHook& macroHook) {
  TEditor& editor = tools.editor();
  if (!editor.layout.hasActiveBoard() || editor.working().activeLayer == layer ||
      !isValidLayer(layer))
    return false;
  tools.eraseAllFeedback();
  editor.chooseActiveLayer(layer);
  if (macroHook) macroHook(layer);
  return true;
}

bool toggleViewLayer(TToolManager& tools, int layer, bool fromButton) {
  TEditor& editor = tools.editor();
  if (!editor.layout.hasActiveBoard() || !isValidLayer(layer) ||
      editor.working().activeLayer == layer)
    return false;
  tools.eraseAllFeedback();
  if (fromButton) editor.deselectAll();
  for (auto& e : editor.elements())
    if (e->layer == layer && e->selected) editor.setSelected(*e, false);
  editor.toggleLayerVisible(layer);
  return true;
}

bool toggleThroughPadMode(TToolManager& tools) {
  TEditor& editor = tools.editor();
  TToolValues& values = tools.values();
  values.throughPad = !values.throughPad;
  if (!editor.layout.hasActiveBoard()) return values.throughPad;
  const bool on = values.throughPad;
  const TBoardRecord& w = editor.working();
  TObjektList& list = editor.elements();
  // The pads whose state differs, found before the list changes.
  std::vector<TObjekt*> pads;
  for (auto& e : list) {
    if (e->kind != kPad || !e->selected || !isLayerVisible(w, e->layer)) continue;
    const bool through = e->padLink && e->padLink != e.get();
    if (through != on) pads.push_back(e.get());
  }
  if (pads.empty()) return on;
  editor.takeSnapshot();
  ElementSet doomed;
  for (TObjekt* pad : pads) {
    if (doomed.count(pad)) continue;
    if (on) {
      editor.invalidate(editor.addThroughPartner(*pad));
      continue;
    }
    TObjekt* partner = pad->padLink;
    if (!partner || doomed.count(partner)) continue;
    // The half on the active side stays with the rubber bands of both.
    TObjekt& keep = onSameSide(pad->layer, w.activeLayer) ? *pad : *partner;
    TObjekt& gone = &keep == pad ? *partner : *pad;
    editor.invalidate(gone);
    moveBands(gone, keep);
    keep.padLink = nullptr;
    gone.padLink = nullptr;
    doomed.insert(&gone);
    editor.invalidate(keep);
  }
  deleteElementsIf(list, [&](const TObjekt& e) { return doomed.count(&e) != 0; });
  editor.repaint();
  editor.commandStatesChanged();
  return on;
}

bool choosePadShape(TToolManager& tools, int shape) {
  if (shape < kPadRound || shape > kPadRectV) return false;
  TEditor& editor = tools.editor();
  tools.values().padShape = uint8_t(shape);
  if (!editor.layout.hasActiveBoard()) return true;
  bool changes = false;
  for (const auto& e : editor.elements())
    changes |= e->kind == kPad && e->selected && e->padShape != shape;
  if (!changes) return true;
  editor.takeSnapshot();
  for (auto& e : editor.elements()) {
    if (e->kind != kPad || !e->selected || e->padShape == shape) continue;
    editor.invalidate(*e);
    e->padShape = uint8_t(shape);
    editor.invalidate(*e);
  }
  editor.commandStatesChanged();
  return true;
}

}  // namespace plavesk
