// The element record shared by every kind drawn on a board, its 75-byte file
// image, construction, deep copies and the re-targeting of references.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <unordered_set>
#include <vector>

namespace plavesk {

struct TPoint {
  int32_t x = 0;
  int32_t y = 0;
  friend bool operator==(const TPoint&, const TPoint&) = default;
};

enum ElementKind : uint8_t {
  kLine = 1,      // legacy, read from old files only
  kPad = 2,       // through-hole pad
  kFontText = 3,  // legacy
  kArea = 4,
  kCircle = 5,
  kTrack = 6,
  kText = 7,
  kSmdPad = 8,
};

enum LayerCode : uint8_t {
  kCopper1 = 1,
  kSilk1 = 2,
  kCopper2 = 3,
  kSilk2 = 4,
  // Old macro files only: mapped to copper 2 and silkscreen 1 on insertion.
  kOldMacroCopper = 5,
  kOldMacroSilk = 6,
};

enum PadShape : uint8_t {
  kPadRound = 1,
  kPadOctagon = 2,
  kPadSquare = 3,
  kPadOblongH = 4,
  kPadOctagonH = 5,
  kPadRectH = 6,
  kPadOblongV = 7,
  kPadOctagonV = 8,
  kPadRectV = 9,
};

inline bool isValidKind(int kind) { return kind >= kLine && kind <= kSmdPad; }
inline bool isValidLayer(int layer) { return layer >= 1 && layer <= 4; }
inline bool isCopperLayer(int layer) { return layer == kCopper1 || layer == kCopper2; }
inline bool isSide2Layer(int layer) { return layer > 2; }
// 1<->3, 2<->4; other values are returned unchanged.
inline int otherSideLayer(int layer) {
  switch (layer) {
    case 1: return 3;
    case 2: return 4;
    case 3: return 1;
    case 4: return 2;
    default: return layer;
  }
}

struct TObjekt;
using TObjektPtr = std::unique_ptr<TObjekt>;
// An ordered list owning its elements: list order is drawing and file order.
// Elements live on the heap, so references between them stay valid while the
// list grows or shrinks.
using TObjektList = std::vector<TObjektPtr>;

constexpr int kFileImageSize = 75;
using FileImage = std::array<uint8_t, kFileImageSize>;

struct TObjekt {
  // --- the persistent fields, in file-image order ---
  uint8_t kind = 0;
  int32_t x = 0;
  int32_t y = 0;
  int32_t dim1 = 0;
  int32_t dim2 = 0;
  int32_t dim3 = 0;
  uint8_t selected = 0;
  uint8_t layer = 0;
  uint8_t padShape = 0;
  std::vector<TPoint> points;  // areas, tracks and text strokes
  int16_t legacyGroup = 0;
  uint8_t workMark = 0;
  int32_t angle = 0;
  std::vector<int32_t> groupIds;  // outermost group last
  uint8_t filled = 0;
  int32_t clearance = 0;
  TObjekt* padLink = nullptr;            // pads: through-pad partner
  std::vector<TObjekt*> connections;     // pads and SMD pads: rubber bands
  uint8_t autorouted = 0;
  uint8_t mirrorH = 0;
  uint8_t mirrorV = 0;
  uint8_t cutout = 0;

  // --- in memory only ---
  uint8_t closed = 0;
  int32_t linkIndex = -1;
  TObjekt* routeFrom = nullptr;
  TObjekt* routeTo = nullptr;
  mutable uint8_t copyMark = 0;  // scratch of copy passes, set on the source
  TObjektList strokes;  // texts: stroke tracks
  std::string text;     // UTF-8

  TObjekt() = default;
  TObjekt(const TObjekt&) = delete;
  TObjekt& operator=(const TObjekt&) = delete;

  bool hasPoints() const { return kind == kArea || kind == kTrack; }
  bool hasConnections() const { return kind == kPad || kind == kSmdPad; }
  int32_t lastGroupId() const { return groupIds.empty() ? -1 : groupIds.back(); }
};

// The 75-byte image: pointer slots and reserved bytes are written as zero and
// ignored on reading.
FileImage encodeFileImage(const TObjekt& e);
void decodeFileImage(TObjekt& e, const uint8_t* image);

// Constructors. `clearance` is left to the caller.
TObjektPtr createTrack(int32_t width, int layer);
TObjektPtr createArea(int32_t outlineWidth, int layer);
TObjektPtr createPad(TPoint centre, int32_t outerRadius, int shape, int layer, int32_t drillRadius);
TObjektPtr createSmdPad(TPoint centre, int32_t width, int layer, int32_t height);
TObjektPtr createCircle(TPoint centre, int32_t outerRadius, int shape, int layer,
                        int32_t innerRadius);
TObjektPtr createText(TPoint position, const std::string& text, bool mirroredV, bool mirroredH,
                      int layer, int rotation, int spacing, int thickness, int32_t height);

void addGroupId(TObjekt& e, int32_t id);
void addPoint(TObjekt& e, TPoint p);

// Deep copy of one element. References still point at the source's partners;
// the caller re-targets them. Sets the source's copyMark.
TObjektPtr copyElement(const TObjekt& source);
// Replaces `target` by copies of every element of `source`, unselected, with
// pad links, connections and routes re-targeted into `target`.
void copyList(TObjektList& target, const TObjektList& source);
// The same, making the copies in the element records of `spare` (a list
// being thrown away, such as dropped undo steps) as long as it has any:
// that spares allocating the copies and freeing the old records. The
// records used are taken out of `spare`.
void copyList(TObjektList& target, const TObjektList& source, TObjektList& spare);
// Re-target the references of target[first..] from elements of `source` to
// their copies, counting the copied (copyMark) elements before each referenced
// one. Connections to uncopied elements are dropped, routes become null.
void relinkConnections(const TObjektList& source, TObjektList& target, size_t first);
void relinkRoutes(const TObjektList& source, TObjektList& target, size_t first);
// Same for pad links (not part of the file-image pass: copy list does it by
// position, paste and macro insertion by counting).
void relinkPadLinks(const TObjektList& source, TObjektList& target, size_t first);

// 1 + the largest outermost id in the list; 1 when no element has an id.
int32_t nextGroupId(const TObjektList& list);

// Removes every element for which `doomed` holds and clears all references to
// them that remain in the list (connections, pad links, routes).
template <class Pred>
size_t deleteElementsIf(TObjektList& list, Pred doomed);
using ElementSet = std::unordered_set<const TObjekt*>;
void clearReferencesTo(TObjektList& list, const ElementSet& gone);

// Tracks and areas with fewer than two points are removed as a deletion would.
size_t removeDegenerateElements(TObjektList& list);

// Swaps copper layers 1 and 3 of every element (older files used the other
// assignment).
void swapCopperLayers(TObjektList& list);

template <class Pred>
size_t deleteElementsIf(TObjektList& list, Pred doomed) {
  ElementSet gone;
  for (const auto& e : list)
    if (doomed(*e)) gone.insert(e.get());
  if (gone.empty()) return 0;
  clearReferencesTo(list, gone);
  std::erase_if(list, [&](const TObjektPtr& e) { return gone.count(e.get()) != 0; });
  return gone.size();
}

}  // namespace plavesk
