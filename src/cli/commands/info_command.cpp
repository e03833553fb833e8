#include "cli/commands/info_command.h"

#include <cstdio>
#include <unordered_map>

#include "cli/commands/json_output.h"
#include "view/geometry.h"

namespace plavesk {
namespace {

using Positions = std::unordered_map<const TObjekt*, int>;

int positionOf(const Positions& at, const TObjekt* e) {
  if (!e) return -1;
  auto it = at.find(e);
  return it == at.end() ? -1 : it->second;
}

Json pointsJson(const std::vector<TPoint>& points) {
  Json list = Json::array();
  for (const TPoint& p : points) list.push_back(Json::array({p.x, p.y}));
  return list;
}

Json elementJson(const TObjekt& e, const Positions& at, bool isStroke) {
  Json j = Json::object();
  j.get_ref<Json::object_t&>().reserve(24);  // the keys below, stored in one block
  j["kind"] = int(e.kind);
  j["x"] = e.x;
  j["y"] = e.y;
  j["dim1"] = e.dim1;
  j["dim2"] = e.dim2;
  j["dim3"] = e.dim3;
  j["layer"] = int(e.layer);
  j["padShape"] = int(e.padShape);
  j["angle"] = e.angle;
  j["clearance"] = e.clearance;
  j["filled"] = int(e.filled);
  j["cutout"] = int(e.cutout);
  j["autorouted"] = int(e.autorouted);
  j["mirrorH"] = int(e.mirrorH);
  j["mirrorV"] = int(e.mirrorV);
  j["points"] = pointsJson(e.points);
  if (!isStroke) {
    j["text"] = e.text;
    j["groupIds"] = e.groupIds;
    Json& strokes = j["strokes"] = Json::array();
    for (const auto& s : e.strokes) strokes.push_back(elementJson(*s, at, true));
    j["padLink"] = positionOf(at, e.padLink);
    Json& connections = j["connections"] = Json::array();
    for (const TObjekt* c : e.connections) connections.push_back(positionOf(at, c));
    j["routeFrom"] = positionOf(at, e.routeFrom);
    j["routeTo"] = positionOf(at, e.routeTo);
  }
  const TRect b = elementBounds(e);
  j["bounds"] = Json::array({b.left, b.top, b.right, b.bottom});
  return j;
}

}  // namespace

std::string layoutJson(TLayout& layout, int version, bool elements) {
  Json j = Json::object();
  j["version"] = version;
  j["activeBoard"] = layout.activeBoard;
  j["project"] = {{"title", layout.project.title},
                  {"author", layout.project.author},
                  {"company", layout.project.company},
                  {"comment", layout.project.comment}};
  Json& boards = j["boards"] = Json::array();
  for (const auto& board : layout.boards) {
    const TBoardRecord& r = board->record;
    Json& b = boards.emplace_back(Json::object());
    b["name"] = board->name;
    b["width"] = r.width;
    b["height"] = r.height;
    b["groundPlane1"] = int(r.groundPlane1);
    b["groundPlane2"] = int(r.groundPlane2);
    b["grid"] = r.grid;
    b["zoom"] = r.zoom;
    b["activeLayer"] = r.activeLayer;
    b["layerVisible"] = r.layerVisible;
    b["originX"] = r.originX;
    b["originY"] = r.originY;
    b["elementCount"] = board->elements.size();
    if (elements) {
      Positions at;
      at.reserve(board->elements.size());
      for (size_t i = 0; i < board->elements.size(); ++i)
        at.emplace(board->elements[i].get(), int(i));
      Json& list = b["elements"] = Json::array();
      list.get_ref<Json::array_t&>().reserve(board->elements.size());
      for (const auto& e : board->elements) list.push_back(elementJson(*e, at, false));
    }
  }
  return jsonLine(j);
}

std::string layoutSummary(TLayout& layout, const std::string& fileName, int version) {
  static const char* const kKindNames[9] = {
      "", "legacy lines", "pads", "font texts", "areas", "circles", "tracks", "texts", "SMD pads"};
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
