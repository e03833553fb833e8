#include "cli/commands/info_command.h"

#include <cstdio>
#include <unordered_map>

#include "cli/commands/json_writer.h"
#include "view/geometry.h"

namespace plavesk {
namespace {

using Positions = std::unordered_map<const TObjekt*, int>;

int positionOf(const Positions& at, const TObjekt* e) {
  if (!e) return -1;
  auto it = at.find(e);
  return it == at.end() ? -1 : it->second;
}

void writePoints(JsonWriter& j, const std::vector<TPoint>& points) {
  j.beginArray();
  for (const TPoint& p : points) j.beginArray().value(p.x).value(p.y).endArray();
  j.endArray();
}

void writeElement(JsonWriter& j, const TObjekt& e, const Positions& at, bool isStroke) {
  j.beginObject();
  j.key("kind").value(int(e.kind));
  j.key("x").value(e.x).key("y").value(e.y);
  j.key("dim1").value(e.dim1).key("dim2").value(e.dim2).key("dim3").value(e.dim3);
  j.key("layer").value(int(e.layer)).key("padShape").value(int(e.padShape));
  j.key("angle").value(e.angle).key("clearance").value(e.clearance);
  j.key("filled").value(int(e.filled)).key("cutout").value(int(e.cutout));
  j.key("autorouted").value(int(e.autorouted));
  j.key("mirrorH").value(int(e.mirrorH)).key("mirrorV").value(int(e.mirrorV));
  j.key("points");
  writePoints(j, e.points);
  if (!isStroke) {
    j.key("text").value(e.text);
    j.key("groupIds").beginArray();
    for (int32_t id : e.groupIds) j.value(int64_t(id));
    j.endArray();
    j.key("strokes").beginArray();
    for (const auto& s : e.strokes) writeElement(j, *s, at, true);
    j.endArray();
    j.key("padLink").value(positionOf(at, e.padLink));
    j.key("connections").beginArray();
    for (const TObjekt* c : e.connections) j.value(positionOf(at, c));
    j.endArray();
    j.key("routeFrom").value(positionOf(at, e.routeFrom));
    j.key("routeTo").value(positionOf(at, e.routeTo));
  }
  TRect b = elementBounds(e);
  j.key("bounds").beginArray().value(b.left).value(b.top).value(b.right).value(b.bottom).endArray();
  j.endObject();
}

}  // namespace

std::string layoutJson(TLayout& layout, int version, bool elements) {
  layout.storeState();
  JsonWriter j;
  j.beginObject();
  j.key("version").value(version);
  j.key("activeBoard").value(layout.activeBoard);
  j.key("project").beginObject();
  j.key("title").value(layout.project.title);
  j.key("author").value(layout.project.author);
  j.key("company").value(layout.project.company);
  j.key("comment").value(layout.project.comment);
  j.endObject();
  j.key("boards").beginArray();
  for (const auto& board : layout.boards) {
    const TBoardRecord& r = board->record;
    j.beginObject();
    j.key("name").value(board->name);
    j.key("width").value(r.width).key("height").value(r.height);
    j.key("groundPlane1").value(int(r.groundPlane1));
    j.key("groundPlane2").value(int(r.groundPlane2));
    j.key("grid").value(r.grid).key("zoom").value(r.zoom);
    j.key("activeLayer").value(r.activeLayer);
    j.key("layerVisible").beginArray();
    for (uint8_t v : r.layerVisible) j.value(int(v));
    j.endArray();
    j.key("originX").value(r.originX).key("originY").value(r.originY);
    j.key("elementCount").value(int64_t(board->elements.size()));
    if (elements) {
      Positions at;
      at.reserve(board->elements.size());
      for (size_t i = 0; i < board->elements.size(); ++i)
        at.emplace(board->elements[i].get(), int(i));
      j.key("elements").beginArray();
      for (const auto& e : board->elements) writeElement(j, *e, at, false);
      j.endArray();
    }
    j.endObject();
  }
  j.endArray();
  j.endObject();
  return j.str() + "\n";
}

std::string layoutSummary(TLayout& layout, const std::string& fileName, int version) {
  static const char* const kKindNames[9] = {
      "", "legacy lines", "pads", "font texts", "areas", "circles", "tracks", "texts", "SMD pads"};
  layout.storeState();
  std::string s;
  char line[256];
  std::snprintf(line, sizeof line, "%s: layout file version %d, %zu board(s), active board %d\n",
                fileName.c_str(), version, layout.boards.size(), layout.activeBoard + 1);
  s += line;
  const TProjectInfo& p = layout.project;
  if (!p.title.empty() || !p.author.empty() || !p.company.empty())
    s += "Project: \"" + p.title + "\" by " + (p.author.empty() ? "-" : p.author) + ", " +
         (p.company.empty() ? "-" : p.company) + "\n";
  for (size_t b = 0; b < layout.boards.size(); ++b) {
    const TBoard& board = *layout.boards[b];
    const TBoardRecord& r = board.record;
    std::snprintf(line, sizeof line,
                  "Board %zu \"%s\": %.2f x %.2f mm, grid %.4g mm, ground plane %s/%s, %zu "
                  "elements\n",
                  b + 1, board.name.c_str(), r.width / 100.0, r.height / 100.0, r.grid / 100.0,
                  r.groundPlane1 ? "on" : "off", r.groundPlane2 ? "on" : "off",
                  board.elements.size());
    s += line;
    size_t counts[9] = {};
    size_t bands = 0;
    for (const auto& e : board.elements) {
      ++counts[e->kind];
      bands += e->connections.size();
    }
    std::string parts;
    for (int k = 1; k <= 8; ++k)
      if (counts[k])
        parts += (parts.empty() ? "" : ", ") + std::to_string(counts[k]) + " " + kKindNames[k];
    if (bands) parts += (parts.empty() ? "" : ", ") + std::to_string(bands / 2) + " rubber bands";
    if (!parts.empty()) s += "  " + parts + "\n";
  }
  return s;
}

}  // namespace plavesk
