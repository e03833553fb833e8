#include "document/layout_file.h"

#include <algorithm>
#include <unordered_map>

#include "document/element_positions.h"
#include "document/file_io.h"
#include "document/text_codec.h"

namespace plavesk {
namespace {

constexpr int kStrokeEntryMinSize = kFileImageSize + 4;
constexpr int kV3RecordSize = 74;
constexpr int kLegacyRecordSize = 49;
constexpr int kV3BoardRecordSize = 482;

std::string truncated(const char* what) { return std::string("the file ends inside ") + what; }

// Appends to a buffer already sized for what is written.
struct Cursor {
  uint8_t* p;
  void i32(int32_t v) {
    std::memcpy(p, &v, 4);
    p += 4;
  }
  void raw(const void* data, size_t n) {
    if (n) std::memcpy(p, data, n);
    p += n;
  }
  void image(const TObjekt& e) {
    const FileImage image = encodeFileImage(e);
    raw(image.data(), image.size());
  }
  void points(const std::vector<TPoint>& points) {
    i32(int32_t(points.size()));
    for (const TPoint& q : points) {
      i32(q.x);
      i32(q.y);
    }
  }
};

// Reads a count and checks that `entrySize` bytes for each still fit.
bool readCount(ByteReader& r, size_t entrySize, int32_t& count) {
  count = r.i32();
  return !r.failed() && count >= 0 && size_t(count) <= r.remaining() / entrySize;
}

bool readPoints(ByteReader& r, std::vector<TPoint>& points) {
  int32_t n;
  if (!readCount(r, 8, n)) return false;
  points.resize(size_t(n));
  for (TPoint& p : points) {
    p.x = r.i32();
    p.y = r.i32();
  }
  return !r.failed();
}

bool isConnectable(const TObjekt& e) { return e.hasConnections(); }

// Sets the pad links from the link indexes read with the elements; links to
// a missing, foreign-kind or non-mutual partner are dropped.
void resolvePadLinks(TObjektList& list, size_t& repairs) {
  const int32_t n = int32_t(list.size());
  for (auto& e : list) {
    if (e->kind != kPad) continue;
    int32_t at = e->linkIndex;
    e->linkIndex = -1;
    if (at < 0) {
      if (at != -1) ++repairs;
      continue;
    }
    if (at < n && list[at]->kind == kPad && list[at].get() != e.get())
      e->padLink = list[at].get();
    else
      ++repairs;
  }
  repairs += repairPadLinks(list);
}

// Reads one connection list per element for which `hasList` holds, keeping
// entries that name another pad or SMD pad of the block once; entries whose
// partner does not list them back are dropped afterwards.
template <class HasList>
bool readConnections(ByteReader& r, TObjektList& list, HasList hasList, std::string& error,
                     size_t& repairs) {
  const int32_t n = int32_t(list.size());
  std::vector<std::pair<int32_t, int32_t>> edges;
  for (int32_t i = 0; i < n; ++i) {
    TObjekt& e = *list[i];
    if (!hasList(e)) continue;
    int32_t k;
    if (!readCount(r, 4, k)) {
      error = truncated("the connection lists");
      return false;
    }
    for (int32_t c = 0; c < k; ++c) {
      int32_t at = r.i32();
      bool ok = at >= 0 && at < n && at != i && isConnectable(*list[at]) &&
                std::find(e.connections.begin(), e.connections.end(), list[at].get()) ==
                    e.connections.end();
      if (ok) {
        e.connections.push_back(list[at].get());
        edges.emplace_back(i, at);
      } else {
        ++repairs;
      }
    }
  }
  if (r.failed()) {
    error = truncated("the connection lists");
    return false;
  }
  std::sort(edges.begin(), edges.end());
  for (auto [a, b] : edges) {
    if (std::binary_search(edges.begin(), edges.end(), std::pair{b, a})) continue;
    TObjekt* partner = list[b].get();
    std::erase(list[a]->connections, partner);
    ++repairs;
  }
  return true;
}

bool readRoutes(ByteReader& r, TObjektList& list, std::string& error, size_t& repairs) {
  const int32_t n = int32_t(list.size());
  auto target = [&](int32_t at) -> TObjekt* {
    if (at == -1) return nullptr;
    if (at >= 0 && at < n && isConnectable(*list[at])) return list[at].get();
    ++repairs;
    return nullptr;
  };
  for (auto& e : list) {
    if (!e->autorouted) continue;
    int32_t from = r.i32();
    int32_t to = r.i32();
    if (r.failed()) {
      error = truncated("the routes");
      return false;
    }
    if (e->kind == kTrack) {
      e->routeFrom = target(from);
      e->routeTo = target(to);
    } else {
      // Only tracks are routed; clearing the flag keeps the route pass of
      // the next file in step with any reader.
      e->autorouted = 0;
      ++repairs;
    }
  }
  return true;
}

bool checkRecord(const TObjekt& e, size_t index, std::string& error, bool macroLayers) {
  if (!isValidKind(e.kind)) {
    error = "element " + std::to_string(index + 1) + " has the unknown kind " +
            std::to_string(e.kind);
    return false;
  }
  if (!isValidLayer(e.layer) && !(macroLayers && (e.layer == 5 || e.layer == 6))) {
    error = "element " + std::to_string(index + 1) + " has the invalid layer " +
            std::to_string(e.layer);
    return false;
  }
  return true;
}

// The fields the two older record forms share with the current one; all
// other fields keep the values of a fresh record.
struct LegacyFields {
  int32_t values[5];
  int32_t angle;
};

void applyLegacy(TObjekt& e, const LegacyFields& f, const std::string& shortText) {
  e.x = f.values[0];
  e.y = f.values[1];
  e.dim1 = f.values[2];
  e.dim2 = f.values[3];
  e.dim3 = f.values[4];
  e.angle = f.angle;
  e.selected = 0;
  e.closed = 1;
  e.text = e.kind == kFontText ? cp1252ToUtf8(shortText) : std::string();
}

// The fields both older record forms share; their integers are Int wide.
template <class Int>
TObjektPtr decodeOldRecordStart(ByteReader& r) {
  auto e = std::make_unique<TObjekt>();
  e->kind = r.u8();
  LegacyFields f;
  for (int32_t& v : f.values) v = sizeof(Int) == 4 ? r.i32() : r.i16();
  e->selected = r.u8();
  e->layer = r.u8();
  e->padShape = r.u8();
  std::string text = r.shortString(15);
  r.skip(4);
  e->legacyGroup = r.i16();
  e->workMark = r.u8();
  f.angle = sizeof(Int) == 4 ? r.i32() : r.i16();
  applyLegacy(*e, f, text);
  return e;
}

TObjektPtr decodeV3Record(const uint8_t* b) {
  ByteReader r(b, kV3RecordSize);
  auto e = decodeOldRecordStart<int32_t>(r);
  r.skip(4 + 1);
  e->filled = r.u8();
  e->clearance = r.i32();
  return e;
}

TObjektPtr decodeLegacyRecord(const uint8_t* b) {
  ByteReader r(b, kLegacyRecordSize);
  auto e = decodeOldRecordStart<int16_t>(r);
  if (e->kind == kCircle) {
    e->dim3 = 0;
    e->angle = 0;
    e->filled = 0;
  }
  e->clearance = 40;
  return e;
}

struct ParsedFile {
  TLayout layout;
  int activeIndex = 0;
  bool hasProject = false;
};

bool readBoardsV4(ByteReader& r, ParsedFile& out, std::string& error, size_t& repairs) {
  int32_t count;
  if (!readCount(r, 31 + kBoardRecordSize + 4, count) || count == 0) {
    error = r.failed() ? truncated("the header") : "the board count is invalid";
    return false;
  }
  for (int32_t b = 0; b < count; ++b) {
    auto board = std::make_unique<TBoard>();
    board->name = cp1252ToUtf8(r.shortString(kBoardNameMax));
    const uint8_t* record = r.take(kBoardRecordSize);
    if (!record) {
      error = truncated("a board record");
      return false;
    }
    board->record = decodeBoardRecord(record);
    repairs += sanitizeBoardRecord(board->record);
    if (!readElementBlock(r, board->elements, error, repairs)) {
      error = "board " + std::to_string(b + 1) + ": " + error;
      return false;
    }
    out.layout.boards.push_back(std::move(board));
  }
  out.activeIndex = r.i32();
  TProjectInfo& p = out.layout.project;
  p.title = cp1252ToUtf8(r.shortString(kProjectFieldMax));
  p.author = cp1252ToUtf8(r.shortString(kProjectFieldMax));
  p.company = cp1252ToUtf8(r.shortString(kProjectFieldMax));
  int32_t length = r.i32();
  if (r.failed()) {
    error = truncated("the project information");
    return false;
  }
  if (length < 0 || length > kProjectCommentMax) {
    error = "the comment length " + std::to_string(length) + " is outside 0..1900";
    return false;
  }
  const uint8_t* comment = r.take(size_t(length));
  if (!comment) {
    error = truncated("the comment");
    return false;
  }
  p.comment = cp1252ToUtf8(std::string(reinterpret_cast<const char*>(comment), size_t(length)));
  out.hasProject = true;
  return true;
}

bool readBoardsV3(ByteReader& r, ParsedFile& out, bool import, std::string& error,
                  size_t& repairs) {
  int32_t count;
  if (!readCount(r, 31 + kV3BoardRecordSize + 4, count) || count == 0) {
    error = r.failed() ? truncated("the header") : "the board count is invalid";
    return false;
  }
  for (int32_t b = 0; b < count; ++b) {
    auto board = std::make_unique<TBoard>();
    board->name = cp1252ToUtf8(r.shortString(kBoardNameMax));
    const uint8_t* old = r.take(kV3BoardRecordSize);
    if (!old) {
      error = truncated("a board record");
      return false;
    }
    std::vector<uint8_t> record(kBoardRecordSize, 0);
    std::copy(old, old + 42, record.begin());
    std::fill(record.begin() + 42, record.begin() + 46, 1);
    std::copy(old + 46, old + kV3BoardRecordSize, record.begin() + 46);
    board->record = decodeBoardRecord(record.data());
    repairs += sanitizeBoardRecord(board->record);
    if (!readElementBlockV3(r, board->elements, error, repairs)) {
      error = "board " + std::to_string(b + 1) + ": " + error;
      return false;
    }
    swapCopperLayers(board->elements);
    TBoardRecord& rec = board->record;
    if (rec.groundPlane1 != rec.groundPlane2) std::swap(rec.groundPlane1, rec.groundPlane2);
    out.layout.boards.push_back(std::move(board));
  }
  if (!import) {
    out.activeIndex = r.i32();
    r.skip(8);
    if (r.failed()) {
      error = truncated("the active board");
      return false;
    }
  }
  return true;
}

bool readLegacyBoard(ByteReader& r, int version, const TReadOptions& options, ParsedFile& out,
                     std::string& error, size_t& repairs) {
  auto board = std::make_unique<TBoard>();
  board->name = boardBaseName(options.language) + "1";
  board->record.width = r.i32();
  board->record.height = r.i32();
  if (r.failed()) {
    error = truncated("the board size");
    return false;
  }
  repairs += sanitizeBoardRecord(board->record);
  if (!readLegacyElements(r, version, board->elements, error)) return false;
  swapCopperLayers(board->elements);
  if (version == 1) convertLegacyGroups(board->elements);
  out.layout.boards.push_back(std::move(board));
  out.activeIndex = 0;
  return true;
}

}  // namespace

std::optional<int> layoutFileVersion(const uint8_t* data, size_t size) {
  if (size < 4) return std::nullopt;
  uint32_t h;
  std::memcpy(&h, data, 4);
  uint32_t version = h - kFileMagic;
  if (version > uint32_t(kCurrentFileVersion)) return std::nullopt;
  return int(version);
}

std::string notLayoutFileMessage(const std::string& path, int language) {
  static const char* const kText[3] = {" ist keine Plavesk Datei.", " is not a Plavesk file.",
                                       " n\xC2\xB4" "est pas un fichier Plavesk."};
  return "\"" + fileNameOf(path) + "\"" + kText[std::clamp(language, 0, 2)];
}

std::string openTitle(int language) {
  static const char* const kText[3] = {"\xC3\x96" "ffnen", "Open", "Ouvrir"};
  return kText[std::clamp(language, 0, 2)];
}

std::string olderVersionMessage(int language) {
  static const char* const kText[3] = {
      "Dieses Layout wurde mit einer \xC3\xA4lteren Version erstellt.\r\r"
      "Die Elemente auf den Kupferlayer K1 und K2 werden automatisch getauscht,\r"
      "um sich an die neue Layerzuordnung anzupassen.",
      "This layout was create with an older version.\r\r"
      "The elements on the copper-layer C1 and C2 will be exchanged,\r"
      "because of the new layer-structure.",
      "Ce trac\xC3\xA9 a \xC3\xA9t\xC3\xA9 cr\xC3\xA9\x65 avec une ancienne version.\r\r"
      "Les \xC3\xA9l\xC3\xA9ments des couches cuivres C1 et C2 seront interchang\xC3\xA9s\r"
      "en raison de la nouvelle structure des couches."};
  return kText[std::clamp(language, 0, 2)];
}

void writeElementBlock(ByteWriter& w, const TObjektList& list) {
  const ElementPositions at(list);
  std::vector<uint8_t>& bytes = w.bytes();
  w.i32(int32_t(list.size()));
  // Each entry is sized first and then written in one piece, so the buffer
  // grows once an element instead of once a field.
  for (const auto& e : list) {
    std::string text = utf8ToCp1252(e->text);
    if (text.size() > size_t(kMaxTextLength)) text.resize(kMaxTextLength);
    size_t size = kFileImageSize + 4 + text.size() + 4 + 4 * e->groupIds.size();
    if (e->hasPoints()) size += 4 + 8 * e->points.size();
    if (e->kind == kText) {
      size += 4;
      for (const auto& stroke : e->strokes) size += kFileImageSize + 4 + 8 * stroke->points.size();
    }
    if (e->kind == kPad) size += 4;
    const size_t start = bytes.size();
    bytes.resize(start + size);
    Cursor c{bytes.data() + start};
    c.image(*e);
    c.i32(int32_t(text.size()));
    c.raw(text.data(), text.size());
    c.i32(int32_t(e->groupIds.size()));
    c.raw(e->groupIds.data(), 4 * e->groupIds.size());
    if (e->hasPoints()) c.points(e->points);
    if (e->kind == kText) {
      c.i32(int32_t(e->strokes.size()));
      for (const auto& stroke : e->strokes) {
        c.image(*stroke);
        c.points(stroke->points);
      }
    }
    if (e->kind == kPad) c.i32(at.find(e->padLink));
  }
  std::vector<int32_t> targets;
  for (const auto& e : list) {
    if (!e->hasConnections()) continue;
    targets.clear();
    for (const TObjekt* c : e->connections)
      if (int32_t p = at.find(c); p >= 0) targets.push_back(p);
    w.i32(int32_t(targets.size()));
    if (!targets.empty()) w.raw(targets.data(), 4 * targets.size());
  }
  for (const auto& e : list) {
    if (!e->autorouted) continue;
    w.i32(at.find(e->routeFrom));
    w.i32(at.find(e->routeTo));
  }
}

bool readElementBlock(ByteReader& r, TObjektList& list, std::string& error, size_t& repairs,
                      bool macroLayers) {
  int32_t count;
  if (!readCount(r, kFileImageSize + 8, count)) {
    error = r.failed() ? truncated("the element count") : "the element count is invalid";
    return false;
  }
  list.reserve(size_t(count));
  for (int32_t i = 0; i < count; ++i) {
    const uint8_t* image = r.take(kFileImageSize);
    if (!image) {
      error = "the file ends inside element " + std::to_string(i + 1) + " of " +
              std::to_string(count);
      return false;
    }
    auto e = std::make_unique<TObjekt>();
    decodeFileImage(*e, image);
    if (!checkRecord(*e, size_t(i), error, macroLayers)) return false;
    e->selected = 0;
    e->closed = 1;
    int32_t length = r.i32();
    if (length < 0 || length > kMaxTextLength) {
      error = r.failed() ? truncated("an element")
                         : "element " + std::to_string(i + 1) + " has a text length of " +
                               std::to_string(length) + " (at most 255)";
      return false;
    }
    if (const uint8_t* text = r.take(size_t(length)))
      e->text = cp1252ToUtf8(std::string(reinterpret_cast<const char*>(text), size_t(length)));
    int32_t groups;
    bool ok = readCount(r, 4, groups);
    if (ok) {
      e->groupIds.resize(size_t(groups));
      for (int32_t& id : e->groupIds) id = r.i32();
    }
    if (ok && e->hasPoints()) ok = readPoints(r, e->points);
    if (ok && e->kind == kText) {
      int32_t strokes;
      ok = readCount(r, kStrokeEntryMinSize, strokes);
      for (int32_t s = 0; ok && s < strokes; ++s) {
        auto stroke = std::make_unique<TObjekt>();
        const uint8_t* strokeImage = r.take(kFileImageSize);
        ok = strokeImage != nullptr;
        if (!ok) break;
        decodeFileImage(*stroke, strokeImage);
        stroke->kind = kTrack;  // strokes are tracks whatever the image says
        stroke->selected = 0;
        stroke->closed = 1;
        stroke->autorouted = 0;
        if (!isValidLayer(stroke->layer)) stroke->layer = isValidLayer(e->layer) ? e->layer : 2;
        ok = readPoints(r, stroke->points);
        e->strokes.push_back(std::move(stroke));
      }
    }
    if (ok && e->kind == kPad) e->linkIndex = r.i32();
    if (!ok || r.failed()) {
      error = "the file ends inside element " + std::to_string(i + 1) + " of " +
              std::to_string(count);
      return false;
    }
    list.push_back(std::move(e));
  }
  resolvePadLinks(list, repairs);
  if (!readConnections(r, list, isConnectable, error, repairs)) return false;
  return readRoutes(r, list, error, repairs);
}

bool readElementBlockV3(ByteReader& r, TObjektList& list, std::string& error, size_t& repairs,
                        bool macroLayers) {
  int32_t count;
  if (!readCount(r, kV3RecordSize + 4, count)) {
    error = r.failed() ? truncated("the element count") : "the element count is invalid";
    return false;
  }
  list.reserve(size_t(count));
  for (int32_t i = 0; i < count; ++i) {
    const uint8_t* record = r.take(kV3RecordSize);
    if (!record) break;
    auto e = decodeV3Record(record);
    if (!checkRecord(*e, size_t(i), error, macroLayers)) return false;
    int32_t groups;
    bool ok = readCount(r, 4, groups);
    if (ok) {
      e->groupIds.resize(size_t(groups));
      for (int32_t& id : e->groupIds) id = r.i32();
    }
    if (ok && e->hasPoints()) ok = readPoints(r, e->points);
    if (ok && e->kind == kPad) e->linkIndex = r.i32();
    if (!ok || r.failed()) break;
    list.push_back(std::move(e));
  }
  if (r.failed() || list.size() != size_t(count)) {
    error = "the file ends inside element " + std::to_string(list.size() + 1) + " of " +
            std::to_string(count);
    return false;
  }
  resolvePadLinks(list, repairs);
  // Version 3 stored rubber bands for through pads only.
  return readConnections(
      r, list, [](const TObjekt& e) { return e.kind == kPad; }, error, repairs);
}

bool readLegacyElements(ByteReader& r, int version, TObjektList& list, std::string& error,
                        bool macroLayers) {
  int16_t count = r.i16();
  if (r.failed() || count < 0) {
    error = r.failed() ? truncated("the element count") : "the element count is invalid";
    return false;
  }
  list.reserve(size_t(count));
  for (int16_t i = 0; i < count; ++i) {
    const uint8_t* record = r.take(kLegacyRecordSize);
    if (!record) break;
    auto e = decodeLegacyRecord(record);
    if (!checkRecord(*e, size_t(i), error, macroLayers)) return false;
    if (version == 2) {
      int16_t groups = r.i16();
      if (groups < 0 || size_t(groups) * 2 > r.remaining()) break;
      for (int16_t g = 0; g < groups; ++g) e->groupIds.push_back(r.i16());
    }
    if (e->hasPoints()) {
      int16_t points = r.i16();
      if (points < 0 || size_t(points) * 4 > r.remaining()) break;
      for (int16_t p = 0; p < points; ++p) {
        int16_t x = r.i16();
        int16_t y = r.i16();
        e->points.push_back({x, y});
      }
    }
    if (r.failed()) break;
    list.push_back(std::move(e));
  }
  if (r.failed() || list.size() != size_t(count)) {
    error = "the file ends inside element " + std::to_string(list.size() + 1) + " of " +
            std::to_string(count);
    return false;
  }
  return true;
}

void convertLegacyGroups(TObjektList& list) {
  // Version-1 elements carry no group ids, so every group number with two or
  // more members becomes one new outermost id; a lone member stays ungrouped.
  std::unordered_map<int16_t, std::vector<TObjekt*>> members;
  std::vector<int16_t> order;
  for (auto& e : list) {
    if (e->legacyGroup == 0) continue;
    auto& m = members[e->legacyGroup];
    if (m.empty()) order.push_back(e->legacyGroup);
    m.push_back(e.get());
  }
  int32_t next = nextGroupId(list);
  for (int16_t number : order) {
    auto& group = members[number];
    if (group.size() >= 2) {
      for (TObjekt* e : group) e->groupIds.push_back(next);
      ++next;
    }
    for (TObjekt* e : group) e->legacyGroup = 0;
  }
}

TReadReport readLayoutData(TLayout& layout, const uint8_t* data, size_t size,
                           const std::string& fileName, const TReadOptions& options) {
  TReadReport report;
  auto version = layoutFileVersion(data, size);
  if (!version) {
    report.error = notLayoutFileMessage(fileName, 1);
    return report;
  }
  report.version = *version;
  ByteReader r(data + 4, size - 4);
  ParsedFile parsed;
  std::string error;
  bool ok = *version == 4   ? readBoardsV4(r, parsed, error, report.repairs)
            : *version == 3 ? readBoardsV3(r, parsed, options.import, error, report.repairs)
                            : readLegacyBoard(r, *version, options, parsed, error, report.repairs);
  if (!ok) {
    report.error = fileName + ": " + error;
    return report;
  }

  if (options.import) {
    for (auto& board : parsed.layout.boards) layout.boards.push_back(std::move(board));
    layout.modified = true;
  } else {
    layout.close();
    layout.boards = std::move(parsed.layout.boards);
    if (parsed.hasProject) layout.project = parsed.layout.project;
    int active = parsed.activeIndex;
    if (active < 0 || active >= int(layout.boards.size())) {
      active = 0;
      ++report.repairs;
    }
    layout.activeBoard = -1;
    layout.activateBoard(active);
    if (*version < 3) {
      layout.working().scrollX = layout.working().scrollY = 0;
      layout.working().originX = layout.working().originY = 0;
    }
    layout.modified = false;
  }
  if (layout.hasActiveBoard()) {
    TObjektList& list = layout.elements();
    // A board just read had its links repaired with its element block.
    if (options.import) report.repairs += repairPadLinks(list);
    removeDegenerateElements(list);
    closeGroupIdGaps(list);
  }
  for (const auto& board : layout.boards)
    for (const auto& e : board->elements) report.fontTextCount += e->kind == kFontText;
  report.ok = true;
  return report;
}

TReadReport readLayoutFile(TLayout& layout, const std::string& path, const TReadOptions& options) {
  std::vector<uint8_t> data;
  std::string error;
  if (!readWholeFile(path, data, error)) {
    TReadReport report;
    report.error = error;
    return report;
  }
  TReadReport report = readLayoutData(layout, data.data(), data.size(), fileNameOf(path), options);
  if (!report.ok && report.version < 0) report.error = notLayoutFileMessage(path, options.language);
  return report;
}

std::vector<uint8_t> encodeLayout(TLayout& layout) {
  if (layout.hasActiveBoard()) closeGroupIdGaps(layout.elements());
  ByteWriter w;
  size_t estimate = 1024;
  for (const auto& board : layout.boards) estimate += 600 + board->elements.size() * 120;
  w.reserve(estimate);
  w.u32(kFileMagic + kCurrentFileVersion);
  w.i32(int32_t(layout.boards.size()));
  for (const auto& board : layout.boards) {
    w.shortString(utf8ToCp1252(board->name), kBoardNameMax);
    std::vector<uint8_t> record = encodeBoardRecord(board->record);
    w.raw(record.data(), record.size());
    writeElementBlock(w, board->elements);
  }
  w.i32(layout.activeBoard);
  w.shortString(utf8ToCp1252(layout.project.title), kProjectFieldMax);
  w.shortString(utf8ToCp1252(layout.project.author), kProjectFieldMax);
  w.shortString(utf8ToCp1252(layout.project.company), kProjectFieldMax);
  std::string comment = utf8ToCp1252(layout.project.comment);
  if (comment.size() > size_t(kProjectCommentMax)) comment.resize(kProjectCommentMax);
  w.i32(int32_t(comment.size()));
  w.raw(comment.data(), comment.size());
  return std::move(w.bytes());
}

bool writeLayoutFile(TLayout& layout, const std::string& path, bool autosave, std::string& error) {
  if (!writeFileAtomically(path, encodeLayout(layout), error)) return false;
  if (!autosave) layout.modified = false;
  return true;
}

}  // namespace plavesk
