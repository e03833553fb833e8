#include "document/board.h"

#include <algorithm>
#include <cmath>

#include "document/byte_io.h"
#include "document/element_positions.h"
#include "document/text_codec.h"

namespace plavesk {

std::string boardBaseName(int language) {
  static const char* const kNames[3] = {"Platine ", "Board ", "Carte "};
  return kNames[std::clamp(language, 0, 2)];
}

int sanitizeBoardRecord(TBoardRecord& r) {
  const TBoardRecord d;
  int replaced = 0;
  auto fix = [&](auto& value, const auto& fallback, bool ok) {
    if (!ok) {
      value = fallback;
      ++replaced;
    }
  };
  fix(r.width, d.width, r.width >= 1 && r.width <= kMaxBoardSize);
  fix(r.height, d.height, r.height >= 1 && r.height <= kMaxBoardSize);
  fix(r.grid, d.grid, std::isfinite(r.grid) && r.grid > 0 && r.grid <= kMaxGrid);
  fix(r.zoom, d.zoom, std::isfinite(r.zoom) && r.zoom >= kMinZoom && r.zoom <= kMaxZoom);
  int layer = r.activeLayer & 0xFF;
  fix(r.activeLayer, d.activeLayer, isValidLayer(layer));
  if (isValidLayer(layer)) r.activeLayer = layer;
  fix(r.template1Dpi, d.template1Dpi, r.template1Dpi > 0);
  fix(r.template2Dpi, d.template2Dpi, r.template2Dpi > 0);
  for (auto* flag :
       {&r.groundPlane1, &r.groundPlane2, &r.template1Shown, &r.template2Shown, &r.layerVisible[0],
        &r.layerVisible[1], &r.layerVisible[2], &r.layerVisible[3]})
    fix(*flag, uint8_t{1}, *flag <= 1);
  return replaced;
}

std::vector<uint8_t> encodeBoardRecord(const TBoardRecord& r) {
  ByteWriter w;
  w.zeros(4);
  w.i32(r.width);
  w.i32(r.height);
  w.u8(r.groundPlane1);
  w.u8(r.groundPlane2);
  w.f64(r.grid);
  w.f64(r.zoom);
  w.i32(r.scrollX);
  w.i32(r.scrollY);
  w.i32(r.activeLayer);
  for (uint8_t v : r.layerVisible) w.u8(v);
  w.u8(r.template1Shown);
  w.u8(r.template2Shown);
  w.shortString(utf8ToCp1252(r.template1File), kTemplateFileMax);
  w.shortString(utf8ToCp1252(r.template2File), kTemplateFileMax);
  for (int32_t v :
       {r.template1Dpi, r.template2Dpi, r.template1OffsetX, r.template2OffsetX, r.template1OffsetY,
        r.template2OffsetY, r.template1Color, r.template2Color, r.originX, r.originY})
    w.i32(v);
  return std::move(w.bytes());
}

TBoardRecord decodeBoardRecord(const uint8_t* image) {
  ByteReader rd(image, kBoardRecordSize);
  TBoardRecord r;
  rd.skip(4);
  r.width = rd.i32();
  r.height = rd.i32();
  r.groundPlane1 = rd.u8();
  r.groundPlane2 = rd.u8();
  r.grid = rd.f64();
  r.zoom = rd.f64();
  r.scrollX = rd.i32();
  r.scrollY = rd.i32();
  r.activeLayer = rd.i32();
  for (auto& v : r.layerVisible) v = rd.u8();
  r.template1Shown = rd.u8();
  r.template2Shown = rd.u8();
  r.template1File = cp1252ToUtf8(rd.shortString(kTemplateFileMax));
  r.template2File = cp1252ToUtf8(rd.shortString(kTemplateFileMax));
  for (int32_t* v : {&r.template1Dpi, &r.template2Dpi, &r.template1OffsetX, &r.template2OffsetX,
                     &r.template1OffsetY, &r.template2OffsetY, &r.template1Color, &r.template2Color,
                     &r.originX, &r.originY})
    *v = rd.i32();
  return r;
}

TBoard& TLayout::addBoard(const std::string& name) {
  auto board = std::make_unique<TBoard>();
  board->name = cutToFileLength(name, kBoardNameMax);
  boards.push_back(std::move(board));
  activateBoard(int(boards.size()) - 1);
  return *boards.back();
}

void TLayout::activateBoard(int index) {
  if (index < 0 || index >= int(boards.size())) return;
  ++suppressSnapshots;
  activeBoard = index;
  TBoardRecord& record = active().record;
  for (auto [file, shown] : {std::pair{&record.template1File, &record.template1Shown},
                             std::pair{&record.template2File, &record.template2Shown}}) {
    if (loadTemplate && !file->empty() && !loadTemplate(*file)) {
      file->clear();
      *shown = 0;
    }
  }
  --suppressSnapshots;
}

bool TLayout::deleteBoard(int index, bool closing) {
  if (index < 0 || index >= int(boards.size())) return false;
  if (!closing && boards.size() < 2) return false;
  boards.erase(boards.begin() + index);
  if (closing) {
    activeBoard = -1;
    return true;
  }
  // The tab strip selects the tab that now stands at the deleted position
  // (or the new last one); its board becomes active without storing the
  // deleted board's state.
  int next = std::min(index, int(boards.size()) - 1);
  activeBoard = -1;
  activateBoard(next);
  modified = true;
  return true;
}

bool TLayout::moveBoard(int to) {
  if (!hasActiveBoard() || to < 0 || to >= int(boards.size()) || to == activeBoard) return false;
  auto board = std::move(boards[activeBoard]);
  boards.erase(boards.begin() + activeBoard);
  boards.insert(boards.begin() + to, std::move(board));
  activeBoard = to;
  modified = true;
  return true;
}

bool TLayout::moveBoardToEnd() {
  return moveBoard(int(boards.size()) - 1);
}
bool TLayout::moveBoardToStart() {
  return moveBoard(0);
}
bool TLayout::moveBoardRight() {
  return moveBoard(activeBoard + 1);
}
bool TLayout::moveBoardLeft() {
  return moveBoard(activeBoard - 1);
}

void TLayout::close() {
  while (!boards.empty()) deleteBoard(0, true);
  activeBoard = -1;
  project = {};
  detached_ = {};
}

void closeGroupIdGaps(TObjektList& list) {
  const int32_t next = nextGroupId(list);
  std::vector<int32_t> used;
  used.reserve(list.size());
  for (const auto& e : list)
    for (int32_t id : e->groupIds)
      if (id >= 1) used.push_back(id);
  // Every gap below the highest used id up to the next group id closes: such
  // an id becomes its rank among the used ids, and any id above moves down
  // by the number of all those gaps. Ids are usually numbered densely up to
  // `next`, so a table of ranks replaces sorting them.
  const bool dense = next >= 1 && size_t(next) <= 4 * used.size() + 1024;
  std::vector<int32_t> rank;
  int32_t last = 0, below = 0;
  if (dense) {
    rank.assign(size_t(next) + 1, 0);
    for (int32_t id : used)
      if (id <= next) rank[size_t(id)] = 1;
    for (int32_t id = 1; id <= next; ++id)
      if (rank[size_t(id)]) {
        rank[size_t(id)] = ++below;
        last = id;
      }
  } else {
    std::sort(used.begin(), used.end());
    used.erase(std::unique(used.begin(), used.end()), used.end());
    below = int32_t(std::upper_bound(used.begin(), used.end(), next) - used.begin());
    if (below > 0) last = used[size_t(below) - 1];
  }
  if (below == 0 || last == below) return;
  const int32_t gaps = last - below;
  for (auto& e : list)
    for (int32_t& id : e->groupIds) {
      if (id < 1) continue;
      if (id > last)
        id -= gaps;
      else if (dense)
        id = rank[size_t(id)];
      else
        id = int32_t(std::lower_bound(used.begin(), used.begin() + below, id) - used.begin()) + 1;
    }
}

size_t repairPadLinks(TObjektList& list) {
  const ElementPositions members(list);
  size_t cleared = 0;
  for (const auto& e : list) {
    TObjekt* partner = e->padLink;
    if (!partner) continue;
    bool ok = e->kind == kPad && partner != e.get() && members.contains(partner) &&
              partner->kind == kPad && partner->padLink == e.get();
    if (!ok) {
      // Clear both sides of a one-way link so neither points at the other.
      if (members.contains(partner) && partner->padLink == e.get()) {
        partner->padLink = nullptr;
        ++cleared;
      }
      e->padLink = nullptr;
      ++cleared;
    }
  }
  return cleared;
}

}  // namespace plavesk
