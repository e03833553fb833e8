#include "editing/editor.h"

#include <iterator>
#include <unordered_map>

#include "document/text_codec.h"
#include "editing/element_at.h"
#include "editing/font_text_conversion.h"
#include "editing/layout_commands.h"
#include "view/layer_visibility.h"
#include "view/memory_prefetch.h"

namespace plavesk {
namespace {

int sideOf(int layer) {
  return isSide2Layer(layer) ? 2 : 1;
}

// Elements by outermost group id, for selection propagation.
using GroupIndex = std::unordered_map<int32_t, std::vector<TObjekt*>>;

GroupIndex indexGroups(const TObjektList& list) {
  GroupIndex groups;
  for (const auto& e : list)
    if (!e->groupIds.empty()) groups[e->groupIds.back()].push_back(e.get());
  return groups;
}

constexpr size_t kPassLookAhead = 16;

// The fields a pass over the whole list reads: kind and flags at the start of
// the record, the rubber bands further on.
void prefetchElement(const TObjekt& e) {
  prefetchForRead(&e.kind);
  prefetchForRead(&e.connections);
}

}  // namespace

TEditor::TEditor() = default;

void TEditor::invalidate(const TObjekt& e) {
  if (events.invalidate) events.invalidate(elementBounds(e));
}
void TEditor::repaint() {
  if (events.repaint) events.repaint();
}
void TEditor::commandStatesChanged() {
  if (events.commandStatesChanged) events.commandStatesChanged();
}
bool TEditor::dropContours() {
  if (contours.empty()) return false;
  contours.clear();
  if (events.contoursDiscarded) events.contoursDiscarded();
  return true;
}

void TEditor::discardContours() {
  if (dropContours()) repaint();
}

bool TEditor::setUndoEntries(int entries) {
  if (entries < 1 || entries > kMaxUndoEntries) return false;
  undoDepth_ = entries - 1;
  return true;
}

void TEditor::keepSpare(TObjektList& list) {
  // In front of the older spares: the records of the list dropped last lie
  // in the order of a list much like the current one, so the next copy
  // finds the same kinds at the same places and reuses their point lists.
  list.insert(list.end(), std::make_move_iterator(spareRecords_.begin()),
              std::make_move_iterator(spareRecords_.end()));
  spareRecords_ = std::move(list);
  list.clear();
}

void TEditor::takeSnapshot() {
  if (layout.suppressSnapshots > 0 || !layout.hasActiveBoard()) return;
  TBoard& board = layout.active();
  // The snapshots this one pushes out (the oldest beyond the depth, every
  // redo step) lend their element records to the copy.
  while (int(board.undoStack.size()) > undoDepth_) {
    keepSpare(board.undoStack.front());
    board.undoStack.erase(board.undoStack.begin());
  }
  // The newest redo step, the state just undone, ends up first.
  for (TObjektList& redo : board.redoStack) keepSpare(redo);
  board.redoStack.clear();
  board.undoStack.emplace_back();
  copyList(board.undoStack.back(), board.elements, spareRecords_);
  // Records for one more snapshot are kept; the rest is freed off this
  // thread.
  if (spareRecords_.size() > board.elements.size()) {
    TObjektList excess(
        std::make_move_iterator(spareRecords_.begin() + std::ptrdiff_t(board.elements.size())),
        std::make_move_iterator(spareRecords_.end()));
    spareRecords_.resize(board.elements.size());
    disposal_.dispose(std::move(excess));
  }
  commandStatesChanged();
  layout.modified = true;
  discardContours();
}

// The newest entry of `from` becomes the board's list; the current list,
// unselected, goes onto `to`. A snapshot is consistent in itself, so moving
// it in gives the same as copying it and freeing the original.
void TEditor::restoreFrom(std::vector<TObjektList>& from, std::vector<TObjektList>& to) {
  TObjektList& current = layout.elements();
  for (auto& e : current) e->selected = 0;
  to.push_back(std::move(current));
  current = std::move(from.back());
  from.pop_back();
  // Undo and redo change the document: a save, an undo and a close must not
  // lose the difference.
  layout.modified = true;
  // One repaint shows the restored list without the contours.
  dropContours();
  repaint();
  commandStatesChanged();
}

bool TEditor::undo() {
  if (!layout.hasActiveBoard() || operationInProgress || layout.active().undoStack.empty())
    return false;
  restoreFrom(layout.active().undoStack, layout.active().redoStack);
  return true;
}

bool TEditor::redo() {
  if (!layout.hasActiveBoard() || operationInProgress || layout.active().redoStack.empty())
    return false;
  restoreFrom(layout.active().redoStack, layout.active().undoStack);
  return true;
}

void TEditor::discardNewestSnapshot() {
  if (!layout.hasActiveBoard() || layout.active().undoStack.empty()) return;
  // The next snapshot (a prepared text cancelled, a text prepared again)
  // is made in its records.
  keepSpare(layout.active().undoStack.back());
  layout.active().undoStack.pop_back();
}

void TEditor::setSelected(TObjekt& e, bool value) {
  const uint8_t v = value ? 1 : 0;
  if (e.selected == v) return;
  auto mark = [&](TObjekt& x) {
    if (x.selected != v) {
      x.selected = v;
      invalidate(x);
    }
    if (x.kind == kPad && x.padLink && x.padLink->selected != v) {
      x.padLink->selected = v;
      invalidate(*x.padLink);
    }
  };
  mark(e);
  if (e.groupIds.empty()) return;
  const int32_t g = e.groupIds.back();
  for (auto& other : elements())
    if (!other->groupIds.empty() && other->groupIds.back() == g) mark(*other);
}

void TEditor::deselectAll() {
  if (!layout.hasActiveBoard()) return;
  for (auto& e : elements()) {
    if (!e->selected) continue;
    e->selected = 0;
    invalidate(*e);
  }
}

void TEditor::selectAll() {
  if (!layout.hasActiveBoard()) return;
  // Same result as selecting every visible element in turn, but each group
  // is spread once instead of once per member.
  GroupIndex groups = indexGroups(elements());
  auto selectOne = [&](TObjekt& x) {
    x.selected = 1;
    if (x.kind == kPad && x.padLink) x.padLink->selected = 1;
  };
  for (auto& e : elements()) {
    if (e->selected || !isLayerVisible(working(), e->layer)) continue;
    selectOne(*e);
    if (e->groupIds.empty()) continue;
    auto it = groups.find(e->groupIds.back());
    for (TObjekt* member : it->second) selectOne(*member);
    groups.erase(it);
  }
  repaint();
  commandStatesChanged();
}

int TEditor::selectAt(TPoint p) {
  if (!layout.hasActiveBoard()) return -1;
  int i = elementAt(elements(), working(), p, false);
  if (i < 0) {
    deselectAll();
  } else {
    TObjekt& e = *elements()[i];
    if (!e.selected) deselectAll();
    if (isLayerVisible(working(), e.layer)) setSelected(e, true);
  }
  commandStatesChanged();
  return i;
}

void TEditor::selectInFrame(TPoint a, TPoint b) {
  if (!layout.hasActiveBoard()) return;
  const TRect r{std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x), std::max(a.y, b.y)};
  // As setSelected on every element touched, with each group spread once
  // instead of by a walk over the list per member.
  auto mark = [this](TObjekt& x) {
    if (!x.selected) {
      x.selected = 1;
      invalidate(x);
    }
    if (x.kind == kPad && x.padLink && !x.padLink->selected) {
      x.padLink->selected = 1;
      invalidate(*x.padLink);
    }
  };
  GroupIndex groups;
  bool indexed = false;
  for (auto& e : elements()) {
    if (e->selected || !isLayerVisible(working(), e->layer)) continue;
    const TRect box = elementBounds(*e);
    if (box.right < r.left || box.left > r.right || box.bottom < r.top || box.top > r.bottom)
      continue;
    const auto outline = elementOutline(*e);
    if (!outline || !outline->intersectsRect(toBox(r))) continue;
    mark(*e);
    if (e->groupIds.empty()) continue;
    if (!indexed) {
      groups = indexGroups(elements());
      indexed = true;
    }
    auto it = groups.find(e->groupIds.back());
    if (it == groups.end()) continue;
    for (TObjekt* member : it->second) mark(*member);
    groups.erase(it);
  }
  commandStatesChanged();
}

size_t TEditor::selectedCount() const {
  size_t n = 0;
  if (!layout.hasActiveBoard()) return 0;
  for (const auto& e : elements()) n += e->selected;
  return n;
}

bool TEditor::copy() {
  if (!layout.hasActiveBoard() || selectedCount() == 0) return false;
  copySide_ = sideOf(working().activeLayer);
  clipboard_.clear();
  TObjektList& list = elements();
  std::unordered_map<const TObjekt*, size_t> clipPosition;
  for (auto& e : list) e->copyMark = 0;
  for (auto& e : list) {
    if (!e->selected) continue;
    clipPosition[e.get()] = clipboard_.size();
    clipboard_.push_back(copyElement(*e));
  }
  for (auto& c : clipboard_) {
    if (c->kind != kPad || !c->padLink) continue;
    auto it = clipPosition.find(c->padLink);
    c->padLink = it == clipPosition.end() ? nullptr : clipboard_[it->second].get();
  }
  relinkConnections(list, clipboard_, 0);
  relinkRoutes(list, clipboard_, 0);
  for (auto& c : clipboard_) c->selected = 0;
  commandStatesChanged();
  return true;
}

bool TEditor::cut() {
  return copy() && deleteSelection();
}

bool TEditor::deleteSelection() {
  if (!layout.hasActiveBoard() || selectedCount() == 0) return false;
  takeSnapshot();
  for (auto& e : elements())
    if (e->selected) invalidate(*e);
  deleteElementsIf(elements(), [](const TObjekt& e) { return e.selected != 0; });
  repaint();
  commandStatesChanged();
  return true;
}

size_t TEditor::appendBlock(const TObjektList& source, TPoint offset) {
  TObjektList& list = elements();
  const int32_t g = nextGroupId(list);
  const size_t n = list.size();
  deselectAll();
  std::unordered_map<const TObjekt*, size_t> position;
  for (size_t i = 0; i < source.size(); ++i) {
    position[source[i].get()] = i;
    source[i]->copyMark = 0;
  }
  for (const auto& s : source) {
    list.push_back(copyElement(*s));
    TObjekt& copy = *list.back();
    moveElement(copy, offset.x, offset.y);
    copy.selected = 1;
    for (int32_t& id : copy.groupIds) id += g;
    copy.padLink = nullptr;
  }
  for (size_t i = 0; i < source.size(); ++i) {
    const TObjekt& s = *source[i];
    if (s.kind != kPad || !s.padLink || s.padLink == &s) continue;
    auto it = position.find(s.padLink);
    if (it != position.end()) list[n + i]->padLink = list[n + it->second].get();
  }
  return n;
}

bool TEditor::paste(int32_t dx, int32_t dy) {
  if (!layout.hasActiveBoard() || clipboard_.empty()) return false;
  takeSnapshot();
  // The clipboard moves with the block, so a further paste starts from here.
  for (auto& c : clipboard_) moveElement(*c, dx, dy);
  TObjektList& list = elements();
  const size_t n = appendBlock(clipboard_, {0, 0});
  const bool otherSide = copySide_ != sideOf(working().activeLayer);
  for (size_t i = n; i < list.size(); ++i) {
    TObjekt& copy = *list[i];
    copy.legacyGroup = 0;
    const bool throughPad = copy.kind == kPad && copy.padLink;
    if (otherSide && !throughPad) {
      copy.layer = uint8_t(otherSideLayer(copy.layer));
      for (auto& stroke : copy.strokes) stroke->layer = uint8_t(otherSideLayer(stroke->layer));
    }
  }
  relinkConnections(clipboard_, list, n);
  relinkRoutes(clipboard_, list, n);
  closeGroupIdGaps(list);
  groupSelection();
  for (size_t i = n; i < list.size(); ++i) invalidate(*list[i]);
  commandStatesChanged();
  return true;
}

bool TEditor::groupSelection() {
  std::vector<TObjekt*> selected;
  for (auto& e : elements())
    if (e->selected) selected.push_back(e.get());
  if (selected.size() < 2) return false;
  const int32_t first = selected[0]->lastGroupId();
  bool oneGroup = true;
  for (TObjekt* e : selected) oneGroup &= !e->groupIds.empty() && e->groupIds.back() == first;
  if (oneGroup) return false;
  const int32_t id = nextGroupId(elements());
  for (TObjekt* e : selected) {
    e->groupIds.push_back(id);
    invalidate(*e);
  }
  return true;
}

bool TEditor::buildGroup() {
  if (!commandStates().buildGroup) return false;
  takeSnapshot();
  groupSelection();
  commandStatesChanged();
  return true;
}

bool TEditor::splitGroup() {
  if (!commandStates().splitGroup) return false;
  takeSnapshot();
  for (auto& e : elements()) {
    if (!e->selected || e->groupIds.empty()) continue;
    e->groupIds.pop_back();
    invalidate(*e);
  }
  commandStatesChanged();
  return true;
}

TObjekt& TEditor::addThroughPartner(TObjekt& pad) {
  TObjektList& list = elements();
  list.push_back(copyElement(pad));
  TObjekt& partner = *list.back();
  partner.layer = uint8_t(otherSideLayer(pad.layer));
  partner.connections.clear();
  partner.padLink = &pad;
  partner.linkIndex = -1;
  pad.padLink = &partner;
  return partner;
}

void TEditor::insertElements(const TObjektList& source, TPoint offset) {
  if (!layout.hasActiveBoard() || source.empty()) return;
  takeSnapshot();
  TObjektList& list = elements();
  const size_t n = appendBlock(source, offset);
  const size_t end = list.size();
  for (size_t i = n; i < end; ++i) {
    TObjekt& copy = *list[i];
    if (copy.layer == kOldMacroCopper) copy.layer = kCopper2;
    if (copy.layer == kOldMacroSilk) copy.layer = kSilk1;
    copy.connections.clear();
    copy.routeFrom = copy.routeTo = nullptr;
  }
  // A pad marked as a through pad, or whose partner stayed behind, gets a
  // new partner on the other side.
  for (size_t i = n; i < end; ++i) {
    TObjekt& copy = *list[i];
    const TObjekt& s = *source[i - n];
    if (copy.kind != kPad || !s.padLink) continue;
    if (s.padLink == &s || s.linkIndex < -2 || !copy.padLink) {
      copy.padLink = nullptr;
      addThroughPartner(copy);
    }
  }
  for (size_t i = n; i < list.size(); ++i) list[i]->linkIndex = -1;
  groupSelection();
  repaint();
  commandStatesChanged();
}

size_t TEditor::deleteOutside() {
  if (!layout.hasActiveBoard() || countElementsOutside(layout) == 0) return 0;
  takeSnapshot();
  const size_t deleted = deleteElementsOutside(layout);
  repaint();
  commandStatesChanged();
  return deleted;
}

TCommandStates TEditor::commandStates() const {
  TSpinHighlights unused;
  return commandStates(unused);
}

TSpinHighlights TEditor::spinHighlights() const {
  TSpinHighlights h;
  commandStates(h);
  return h;
}

TCommandStates TEditor::commandStates(TSpinHighlights& h) const {
  TCommandStates s;
  h = TSpinHighlights{};
  if (!layout.hasActiveBoard()) return s;
  s.paste = !clipboard_.empty();
  s.undo = !elementHeld && !layout.active().undoStack.empty();
  s.redo = !elementHeld && !layout.active().redoStack.empty();
  const TBoardRecord& w = working();
  const bool groundPlane = isSide2Layer(w.activeLayer) ? w.groundPlane2 : w.groundPlane1;
  size_t selected = 0;
  // Group counts the selected elements except the first that already has a
  // group id, so one grouped element and one other are not grouped.
  size_t counted = 0;
  bool groupedSeen = false;
  int32_t first = 0;
  bool oneGroup = true;
  const TObjektList& list = elements();
  for (size_t i = 0; i < list.size(); ++i) {
    // The pass runs after every edit over elements strewn on the heap: the
    // ones a few steps ahead are fetched while this one is looked at.
    if (i + kPassLookAhead < list.size()) prefetchElement(*list[i + kPassLookAhead]);
    const TObjekt* e = list[i].get();
    s.bands |= e->hasConnections() && !e->connections.empty();
    if (!e->selected) continue;
    if (selected++ == 0) first = e->lastGroupId();
    oneGroup &= !e->groupIds.empty() && e->groupIds.back() == first;
    s.splitGroup |= !e->groupIds.empty();
    s.circleSelected |= e->kind == kCircle;
    if (!e->groupIds.empty() && !groupedSeen)
      groupedSeen = true;
    else
      ++counted;
    switch (e->kind) {
      case kLine:
      case kArea:
      case kCircle:
      case kTrack:
        h.trackWidth = true;
        break;
      case kPad:
        h.padOuter = h.padDrill = true;
        break;
      case kSmdPad:
        h.smdWidth = h.smdHeight = true;
        break;
      default:
        break;
    }
    h.clearance |= groundPlane && !(e->kind == kArea && e->cutout);
  }
  s.board = true;
  s.selection = selected > 0;
  s.buildGroup = counted > 1 && !oneGroup;
  s.zoomPrevious = !layout.active().zoomStack.empty();
  s.elements = !elements().empty();
  const int boards = int(layout.boards.size());
  s.severalBoards = boards > 1;
  s.boardBefore = boards > 1 && layout.activeBoard > 0;
  s.boardAfter = boards > 1 && layout.activeBoard + 1 < boards;
  if (const TObjekt* e = nodeElement(nodeTarget)) {
    const int points = int(e->points.size());
    s.node = true;
    s.nodeRemovable = points > 2;
    s.nodeSplittable = e->kind == kTrack && nodeTarget.node > 0 && nodeTarget.node < points - 1;
  }
  return s;
}

void TEditor::activateBoard(int index) {
  layout.activateBoard(index);
  discardContours();
  repaint();
  commandStatesChanged();
}

TBoard& TEditor::addBoard(const std::string& name) {
  TBoard& board = layout.addBoard(name);
  layout.modified = true;
  repaint();
  commandStatesChanged();
  return board;
}

bool TEditor::deleteBoard(int index) {
  if (!layout.deleteBoard(index)) return false;
  discardContours();
  repaint();
  commandStatesChanged();
  return true;
}

bool TEditor::moveBoard(bool (TLayout::*move)()) {
  const bool moved = (layout.*move)();
  commandStatesChanged();
  return moved;
}

bool TEditor::setBoardProperties(const std::string& name, int32_t width, int32_t height) {
  if (!layout.hasActiveBoard()) return false;
  TBoard& board = layout.active();
  const std::string cut = cutToFileLength(name, kBoardNameMax);
  if (board.name == cut && working().width == width && working().height == height) return false;
  board.name = cut;
  working().width = width;
  working().height = height;
  layout.modified = true;
  repaint();
  return true;
}

bool TEditor::setProjectInfo(const TProjectInfo& info) {
  if (layout.project == info) return false;
  layout.project = info;
  layout.modified = true;
  return true;
}

bool TEditor::chooseActiveLayer(int layer) {
  if (!layout.hasActiveBoard() || !setActiveLayer(working(), layer).changed()) return false;
  repaint();
  commandStatesChanged();
  return true;
}

bool TEditor::toggleLayerVisible(int layer) {
  if (!layout.hasActiveBoard() || !toggleLayerVisibility(working(), layer)) return false;
  // Hidden elements cannot stay selected.
  if (!isLayerVisible(working(), layer))
    for (auto& e : elements())
      if (e->layer == layer && e->selected) setSelected(*e, false);
  repaint();
  commandStatesChanged();
  return true;
}

void TEditor::closeLayout() {
  layout.close();
  disposal_.dispose(std::move(spareRecords_));
  spareRecords_.clear();
  dropContours();
}

void TEditor::newLayout(const std::string& firstBoardName) {
  closeLayout();
  layout.addBoard(firstBoardName);
  layout.modified = false;
  repaint();
  commandStatesChanged();
}

TReadReport TEditor::readLayout(const uint8_t* data, size_t size, const std::string& path,
                                const TReadOptions& options) {
  TReadReport report;
  if (options.import) {
    report = readLayoutData(layout, data, size, path, options);
  } else {
    // A file that fails halfway must not leave a partial layout under the
    // old name, so the new one replaces the open layout only when complete.
    TLayout fresh;
    fresh.loadTemplate = layout.loadTemplate;
    report = readLayoutData(fresh, data, size, path, options);
    if (report.ok) {
      layout = std::move(fresh);
      dropContours();
    }
  }
  if (report.ok) {
    repaint();
    commandStatesChanged();
  }
  return report;
}

int TEditor::convertFontTexts(double pixelsPerInch) {
  const int converted = plavesk::convertFontTexts(layout, pixelsPerInch);
  layout.modified = true;
  repaint();
  return converted;
}

}  // namespace plavesk
