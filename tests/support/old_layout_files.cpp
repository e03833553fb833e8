#include "support/old_layout_files.h"

#include "document/board.h"
#include "document/byte_io.h"
#include "document/layout_file.h"

namespace plavesk::testing {
namespace {

void writeV3Record(ByteWriter& w, const OldElement& e) {
  w.u8(e.kind);
  for (int32_t v : e.values) w.i32(v);
  w.u8(1);  // selected: cleared on reading
  w.u8(e.layer);
  w.u8(e.padShape);
  w.shortString(e.text, 15);
  w.zeros(4);
  w.i16(e.legacyGroup);
  w.u8(0);
  w.i32(e.angle);
  w.zeros(5);
  w.u8(e.filled);
  w.i32(e.clearance);
  w.zeros(13);
}

}  // namespace

std::vector<uint8_t> makeV3File(const std::vector<OldElement>& elements, uint8_t gp1, uint8_t gp2) {
  ByteWriter w;
  w.u32(kFileMagic + 3);
  w.i32(1);
  w.shortString("Alt", 30);
  TBoardRecord r;
  r.width = 5000;
  r.groundPlane1 = gp1;
  r.groundPlane2 = gp2;
  r.layerVisible = {0, 0, 0, 0};  // bytes 42..45 are ignored by version 3
  std::vector<uint8_t> record = encodeBoardRecord(r);
  w.raw(record.data(), 482);
  w.i32(int32_t(elements.size()));
  for (const auto& e : elements) {
    writeV3Record(w, e);
    w.i32(int32_t(e.groupIds.size()));
    for (int32_t id : e.groupIds) w.i32(id);
    if (e.kind == kArea || e.kind == kTrack) {
      w.i32(int32_t(e.points.size()));
      for (auto p : e.points) w.i32(p.x), w.i32(p.y);
    }
    if (e.kind == kPad) w.i32(e.link);
  }
  for (const auto& e : elements) {
    if (e.kind != kPad) continue;
    w.i32(int32_t(e.connections.size()));
    for (int32_t c : e.connections) w.i32(c);
  }
  w.i32(0);
  w.zeros(8);
  return std::move(w.bytes());
}

std::vector<uint8_t> makeLegacyFile(int version, const std::vector<OldElement>& elements) {
  ByteWriter w;
  w.u32(kFileMagic + version);
  w.i32(9000);
  w.i32(7000);
  w.i16(int16_t(elements.size()));
  for (const auto& e : elements) {
    w.u8(e.kind);
    for (int32_t v : e.values) w.i16(int16_t(v));
    w.u8(0);
    w.u8(e.layer);
    w.u8(e.padShape);
    w.shortString(e.text, 15);
    w.zeros(4);
    w.i16(e.legacyGroup);
    w.u8(0);
    w.i16(int16_t(e.angle));
    w.zeros(10);
    if (version == 2) {
      w.i16(int16_t(e.groupIds.size()));
      for (int32_t id : e.groupIds) w.i16(int16_t(id));
    }
    if (e.kind == kArea || e.kind == kTrack) {
      w.i16(int16_t(e.points.size()));
      for (auto p : e.points) w.i16(int16_t(p.x)), w.i16(int16_t(p.y));
    }
  }
  return std::move(w.bytes());
}

}  // namespace plavesk::testing
