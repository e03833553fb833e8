#include "document/objekt.h"

#include <algorithm>
#include <cstring>
#include <unordered_map>

#include "document/byte_io.h"

namespace plavesk {

FileImage encodeFileImage(const TObjekt& e) {
  FileImage image{};  // pointer slots and reserved bytes stay zero
  auto put = [&](int offset, auto value) {
    std::memcpy(image.data() + offset, &value, sizeof value);
  };
  put(0, e.kind);
  put(1, e.x);
  put(5, e.y);
  put(9, e.dim1);
  put(13, e.dim2);
  put(17, e.dim3);
  put(21, e.selected);
  put(22, e.layer);
  put(23, e.padShape);
  put(28, e.legacyGroup);
  put(30, e.workMark);
  put(31, e.angle);
  put(40, e.filled);
  put(41, e.clearance);
  put(53, e.autorouted);
  put(54, e.mirrorH);
  put(55, e.mirrorV);
  put(56, e.cutout);
  return image;
}

void decodeFileImage(TObjekt& e, const uint8_t* image) {
  ByteReader r(image, kFileImageSize);
  e.kind = r.u8();
  e.x = r.i32();
  e.y = r.i32();
  e.dim1 = r.i32();
  e.dim2 = r.i32();
  e.dim3 = r.i32();
  e.selected = r.u8();
  e.layer = r.u8();
  e.padShape = r.u8();
  r.skip(4);
  e.legacyGroup = r.i16();
  e.workMark = r.u8();
  e.angle = r.i32();
  r.skip(4);
  r.skip(1);
  e.filled = r.u8();
  e.clearance = r.i32();
  r.skip(8);
  e.autorouted = r.u8();
  e.mirrorH = r.u8();
  e.mirrorV = r.u8();
  e.cutout = r.u8();
}

TObjektPtr createTrack(int32_t width, int layer) {
  auto e = std::make_unique<TObjekt>();
  e->kind = kTrack;
  e->dim3 = width;
  e->layer = static_cast<uint8_t>(layer);
  return e;
}

TObjektPtr createArea(int32_t outlineWidth, int layer) {
  auto e = std::make_unique<TObjekt>();
  e->kind = kArea;
  e->dim3 = outlineWidth;
  e->layer = static_cast<uint8_t>(layer);
  e->closed = 1;
  return e;
}

TObjektPtr createPad(TPoint centre, int32_t outerRadius, int shape, int layer,
                     int32_t drillRadius) {
  auto e = std::make_unique<TObjekt>();
  e->kind = kPad;
  e->x = centre.x;
  e->y = centre.y;
  e->dim1 = outerRadius;
  e->dim2 = drillRadius;
  e->padShape = static_cast<uint8_t>(shape);
  e->layer = static_cast<uint8_t>(layer);
  return e;
}

TObjektPtr createSmdPad(TPoint centre, int32_t width, int layer, int32_t height) {
  auto e = std::make_unique<TObjekt>();
  e->kind = kSmdPad;
  e->x = centre.x;
  e->y = centre.y;
  e->dim1 = width;
  e->dim2 = height;
  e->layer = static_cast<uint8_t>(layer);
  return e;
}

TObjektPtr createCircle(TPoint centre, int32_t outerRadius, int shape, int layer,
                        int32_t innerRadius) {
  auto e = std::make_unique<TObjekt>();
  e->kind = kCircle;
  e->x = centre.x;
  e->y = centre.y;
  e->dim1 = outerRadius;
  e->dim2 = innerRadius;
  e->padShape = static_cast<uint8_t>(shape);
  e->layer = static_cast<uint8_t>(layer);
  return e;
}

TObjektPtr createText(TPoint position, const std::string& text, bool mirroredV, bool mirroredH,
                      int layer, int rotation, int spacing, int thickness, int32_t height) {
  auto e = std::make_unique<TObjekt>();
  e->kind = kText;
  e->x = position.x;
  e->y = position.y;
  e->dim1 = height;
  e->dim2 = thickness;
  e->dim3 = spacing;
  e->angle = rotation;
  e->mirrorV = mirroredV ? 1 : 0;
  e->mirrorH = mirroredH ? 1 : 0;
  e->layer = static_cast<uint8_t>(layer);
  e->text = text;
  return e;
}

void addGroupId(TObjekt& e, int32_t id) {
  e.groupIds.push_back(id);
}
void addPoint(TObjekt& e, TPoint p) {
  e.points.push_back(p);
}

namespace {

constexpr size_t kCopyLookAhead = 8;

inline void prefetch(const void* p) {
#if defined(__GNUC__)
  __builtin_prefetch(p);
#else
  (void)p;
#endif
}

// Every field of `s` into the record `t`, whatever `t` held before (a fresh
// record or one of a list being thrown away): the lists keep their storage
// where it is large enough. Sets the source's copyMark.
void assignElement(TObjekt& t, const TObjekt& s) {
  // The fields of the file image.
  t.kind = s.kind;
  t.x = s.x;
  t.y = s.y;
  t.dim1 = s.dim1;
  t.dim2 = s.dim2;
  t.dim3 = s.dim3;
  t.selected = s.selected;
  t.layer = s.layer;
  t.padShape = s.padShape;
  t.legacyGroup = s.legacyGroup;
  t.workMark = s.workMark;
  t.angle = s.angle;
  t.filled = s.filled;
  t.clearance = s.clearance;
  t.autorouted = s.autorouted;
  t.mirrorH = s.mirrorH;
  t.mirrorV = s.mirrorV;
  t.cutout = s.cutout;
  t.text = s.text;
  t.closed = s.kind == kArea ? 1 : 0;
  if (s.hasPoints())
    t.points = s.points;
  else
    t.points.clear();
  if (s.kind == kText) {
    const size_t n = s.strokes.size();
    if (t.strokes.size() > n) t.strokes.resize(n);
    for (size_t i = 0; i < n; ++i) {
      if (i == t.strokes.size()) t.strokes.push_back(std::make_unique<TObjekt>());
      assignElement(*t.strokes[i], *s.strokes[i]);
    }
  } else {
    t.strokes.clear();
  }
  if (s.hasConnections())
    t.connections = s.connections;
  else
    t.connections.clear();
  t.groupIds = s.groupIds;
  t.routeFrom = s.routeFrom;
  t.routeTo = s.routeTo;
  t.padLink = s.padLink;
  t.linkIndex = s.linkIndex;
  t.copyMark = 0;
  s.copyMark = 1;
}

}  // namespace

TObjektPtr copyElement(const TObjekt& s) {
  auto t = std::make_unique<TObjekt>();
  assignElement(*t, s);
  return t;
}

namespace {

// Position of every element of `source` and, for copied ones, the position of
// its copy counted from the start of the copied run. A flat table with open
// addressing: the undo snapshot builds one over every element of the board.
struct CopyIndex {
  struct Slot {
    const TObjekt* key = nullptr;
    size_t position = 0;
  };
  std::vector<Slot> slots;
  size_t mask = 0;

  // `allCopied`: every element of `source` was copied, in order, so the
  // elements themselves need not be read.
  explicit CopyIndex(const TObjektList& source, bool allCopied = false) {
    size_t copied = source.size();
    if (!allCopied) {
      copied = 0;
      for (const auto& e : source) copied += e->copyMark == 1;
    }
    size_t capacity = 16;
    while (capacity < 2 * copied) capacity *= 2;
    slots.resize(capacity);
    mask = capacity - 1;
    copied = 0;
    for (const auto& e : source) {
      if (!allCopied && e->copyMark != 1) continue;
      size_t i = home(e.get());
      while (slots[i].key && slots[i].key != e.get()) i = (i + 1) & mask;
      if (!slots[i].key) slots[i] = {e.get(), copied};
      ++copied;
    }
  }
  size_t home(const TObjekt* p) const {
    return size_t((uintptr_t(p) >> 4) * 0x9E3779B97F4A7C15ull >> 20) & mask;
  }
  TObjekt* target(const TObjekt* ref, TObjektList& target, size_t first) const {
    if (!ref) return nullptr;
    for (size_t i = home(ref); slots[i].key; i = (i + 1) & mask) {
      if (slots[i].key != ref) continue;
      const size_t at = first + slots[i].position;
      return at < target.size() ? target[at].get() : nullptr;
    }
    return nullptr;
  }
};

// The references of one copied element re-targeted to the copies; those
// leaving the copied run are dropped.
void relinkOne(const CopyIndex& index, TObjekt& e, TObjektList& target, size_t first) {
  if (e.hasConnections() && !e.connections.empty()) {
    size_t kept = 0;
    for (TObjekt* ref : e.connections)
      if (TObjekt* t = index.target(ref, target, first)) e.connections[kept++] = t;
    e.connections.resize(kept);
  }
  if (e.kind == kTrack && e.autorouted) {
    e.routeFrom = index.target(e.routeFrom, target, first);
    e.routeTo = index.target(e.routeTo, target, first);
  }
  if (e.kind == kPad && e.padLink) e.padLink = index.target(e.padLink, target, first);
}

void relinkConnections(const CopyIndex& index, TObjektList& target, size_t first) {
  for (size_t i = first; i < target.size(); ++i) {
    TObjekt& e = *target[i];
    if (!e.hasConnections()) continue;
    std::vector<TObjekt*> kept;
    kept.reserve(e.connections.size());
    for (TObjekt* ref : e.connections)
      if (TObjekt* t = index.target(ref, target, first)) kept.push_back(t);
    e.connections = std::move(kept);
  }
}

void relinkRoutes(const CopyIndex& index, TObjektList& target, size_t first) {
  for (size_t i = first; i < target.size(); ++i) {
    TObjekt& e = *target[i];
    if (e.kind != kTrack || !e.autorouted) continue;
    e.routeFrom = e.routeFrom ? index.target(e.routeFrom, target, first) : nullptr;
    e.routeTo = e.routeTo ? index.target(e.routeTo, target, first) : nullptr;
  }
}

void relinkPadLinks(const CopyIndex& index, TObjektList& target, size_t first) {
  for (size_t i = first; i < target.size(); ++i) {
    TObjekt& e = *target[i];
    if (e.kind != kPad || !e.padLink) continue;
    e.padLink = index.target(e.padLink, target, first);
  }
}

}  // namespace

void relinkConnections(const TObjektList& source, TObjektList& target, size_t first) {
  relinkConnections(CopyIndex(source), target, first);
}
void relinkRoutes(const TObjektList& source, TObjektList& target, size_t first) {
  relinkRoutes(CopyIndex(source), target, first);
}
void relinkPadLinks(const TObjektList& source, TObjektList& target, size_t first) {
  relinkPadLinks(CopyIndex(source), target, first);
}

void copyList(TObjektList& target, const TObjektList& source) {
  TObjektList none;
  copyList(target, source, none);
}

void copyList(TObjektList& target, const TObjektList& source, TObjektList& spare) {
  target.clear();
  target.reserve(source.size());
  // Every element is copied (and marked so); only the copies holding
  // references are visited again, while they are still in cache. The spare
  // records are taken in their order: a dropped snapshot of the same board
  // mostly holds the same kinds at the same places, so their point and
  // stroke lists fit.
  std::vector<TObjekt*> referring;
  size_t next = 0;
  const size_t n = source.size();
  for (size_t i = 0; i < n; ++i) {
    // The records lie anywhere on the heap: those a few steps ahead are
    // fetched while this one is copied.
    if (i + kCopyLookAhead < n) {
      prefetch(source[i + kCopyLookAhead].get());
      prefetch(source[i + kCopyLookAhead / 2]->points.data());
    }
    if (next + kCopyLookAhead < spare.size()) prefetch(spare[next + kCopyLookAhead].get());
    const TObjekt& e = *source[i];
    TObjektPtr copy;
    while (!copy && next < spare.size()) copy = std::move(spare[next++]);
    if (copy)
      assignElement(*copy, e);
    else
      copy = copyElement(e);
    target.push_back(std::move(copy));
    TObjekt& c = *target.back();
    c.selected = 0;
    if (!c.connections.empty() || c.padLink || c.routeFrom || c.routeTo) referring.push_back(&c);
  }
  spare.erase(spare.begin(), spare.begin() + std::ptrdiff_t(next));
  if (referring.empty()) return;
  const CopyIndex index(source, true);
  for (TObjekt* e : referring) relinkOne(index, *e, target, 0);
}

int32_t nextGroupId(const TObjektList& list) {
  int32_t largest = 0;
  bool any = false;
  for (const auto& e : list) {
    if (e->groupIds.empty()) continue;
    largest = any ? std::max(largest, e->groupIds.back()) : e->groupIds.back();
    any = true;
  }
  return any ? largest + 1 : 1;
}

void clearReferencesTo(TObjektList& list, const ElementSet& gone) {
  for (auto& e : list) {
    if (e->padLink && gone.count(e->padLink)) e->padLink = nullptr;
    if (e->routeFrom && gone.count(e->routeFrom)) e->routeFrom = nullptr;
    if (e->routeTo && gone.count(e->routeTo)) e->routeTo = nullptr;
    std::erase_if(e->connections, [&](const TObjekt* c) { return gone.count(c) != 0; });
  }
}

size_t removeDegenerateElements(TObjektList& list) {
  return deleteElementsIf(list,
                          [](const TObjekt& e) { return e.hasPoints() && e.points.size() < 2; });
}

void swapCopperLayers(TObjektList& list) {
  for (auto& e : list) {
    if (e->layer == kCopper1)
      e->layer = kCopper2;
    else if (e->layer == kCopper2)
      e->layer = kCopper1;
  }
}

}  // namespace plavesk
