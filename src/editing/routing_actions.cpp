#include "editing/routing_actions.h"

#include <algorithm>
#include <ostream>

#include "editing/action_runner.h"
#include "editing/autoroute_tool.h"
#include "editing/connections.h"
#include "editing/connectivity_commands.h"
#include "editing/editor.h"
#include "routing/route_texts.h"

namespace plavesk {
namespace {

// Messages on the console are English.
constexpr int kLanguage = 1;

std::string lines(std::string text) {
  for (char& c : text)
    if (c == '\r') c = '\n';
  return text;
}

// Reads an element position; false with a message when it is not one.
bool elementArg(TActionContext& c, int32_t index, const char* what, std::string& error) {
  if (!c.editor.layout.hasActiveBoard()) {
    error = "no active board";
    return false;
  }
  if (index < 0 || size_t(index) >= c.editor.elements().size()) {
    error = std::string(what) + " " + std::to_string(index) + " is not an element (0 to " +
            std::to_string(int64_t(c.editor.elements().size()) - 1) + ")";
    return false;
  }
  return true;
}

// "--width MM" and "--clearance MM" in any order after the positional words.
void routeOptions(TActionArgs& args, TAutorouteTool& tool) {
  for (int k = 0; k < 2; ++k) {
    TActionArgs probe = args;
    const std::string word = probe.text("option");
    if (word == "--width") {
      args.flag("--width");
      tool.widthMm = args.number("width in mm");
    } else if (word == "--clearance") {
      args.flag("--clearance");
      tool.clearanceMm = args.number("clearance in mm");
    } else {
      break;
    }
  }
}

bool checkRouteValues(const TAutorouteTool& tool, std::string& error) {
  for (double v : {tool.widthMm, tool.clearanceMm})
    if (v < 0.1 || v > 9.9) {
      error = "width and clearance must lie in 0.1..9.9 mm";
      return false;
    }
  return true;
}

TAutorouteTool consoleTool(TActionContext&) {
  TAutorouteTool tool;
  tool.language = kLanguage;
  return tool;
}

bool connect(TActionContext& c, TActionArgs& args, std::string& error) {
  const int32_t i = args.integer("I"), j = args.integer("J");
  if (!args.finish(error)) return false;
  if (!elementArg(c, i, "I", error) || !elementArg(c, j, "J", error)) return false;
  TObjekt& a = *c.editor.elements()[size_t(i)];
  TObjekt& b = *c.editor.elements()[size_t(j)];
  if (i == j || !canConnect(a) || !canConnect(b)) {
    error = "a band joins two different pads or SMD pads on copper";
    return false;
  }
  c.editor.takeSnapshot();
  const bool added = toggleConnection(c.editor, a, b);
  c.out << "connect: band " << i << "-" << j << (added ? " added" : " removed") << "\n";
  return true;
}

bool testAtAction(TActionContext& c, TActionArgs& args, std::string& error) {
  const TPoint p{args.integer("X"), args.integer("Y")};
  if (!args.finish(error)) return false;
  if (!c.editor.layout.hasActiveBoard()) {
    error = "no active board";
    return false;
  }
  const std::vector<size_t> marked = testAt(c.editor, p);
  c.out << "test-at: " << marked.size() << " connected";
  for (size_t i : marked) c.out << " " << i;
  c.out << "\n";
  return true;
}

bool clearBands(TActionContext& c, TActionArgs& args, std::string& error) {
  if (!args.finish(error)) return false;
  if (!c.editor.layout.hasActiveBoard()) {
    error = "no active board";
    return false;
  }
  c.out << lines(bandRemovalMessage(clearSatisfiedBands(c.editor), kLanguage)) << "\n";
  return true;
}

bool route(TActionContext& c, TActionArgs& args, std::string& error) {
  const int32_t i = args.integer("I"), j = args.integer("J");
  TAutorouteTool tool = consoleTool(c);
  routeOptions(args, tool);
  if (!args.finish(error)) return false;
  if (!elementArg(c, i, "I", error) || !elementArg(c, j, "J", error)) return false;
  if (!checkRouteValues(tool, error)) return false;
  TObjekt& a = *c.editor.elements()[size_t(i)];
  TObjekt& b = *c.editor.elements()[size_t(j)];
  const bool band = a.hasConnections() && std::find(a.connections.begin(), a.connections.end(),
                                                    &b) != a.connections.end();
  if (!band || i == j) {
    error = "no rubber band joins elements " + std::to_string(i) + " and " + std::to_string(j);
    return false;
  }
  c.editor.deselectAll();
  a.selected = 1;
  b.selected = 1;
  const TRouteResult result = tool.routeSelected(c.editor);
  c.out << "route " << i << " " << j << ": "
        << routeText(result.outcome == TRouteOutcome::routed ? TRouteText::successful
                                                             : TRouteText::notFound,
                     kLanguage)
        << "\n";
  return true;
}

bool unroute(TActionContext& c, TActionArgs& args, std::string& error) {
  const int32_t i = args.integer("I");
  if (!args.finish(error)) return false;
  if (!elementArg(c, i, "I", error)) return false;
  TObjekt& track = *c.editor.elements()[size_t(i)];
  if (track.kind != kTrack || !track.autorouted) {
    error = "element " + std::to_string(i) + " is not an autorouted track";
    return false;
  }
  c.editor.deselectAll();
  track.selected = 1;
  TAutorouteTool tool = consoleTool(c);
  tool.unrouteSelected(c.editor);
  c.out << "unroute " << i << ": " << routeText(TRouteText::unrouted, kLanguage) << "\n";
  return true;
}

bool layer(TActionContext& c, TActionArgs& args, std::string& error) {
  const int32_t n = args.integer("layer");
  if (!args.finish(error)) return false;
  if (!isValidLayer(n)) {
    error = "the layers are 1 to 4";
    return false;
  }
  c.editor.working().activeLayer = n;
  c.editor.working().layerVisible[size_t(n - 1)] = 1;  // the active layer is always shown
  return true;
}

bool groundPlane(TActionContext& c, TActionArgs& args, std::string& error) {
  const std::string state = args.text("on or off");
  if (!args.finish(error)) return false;
  if (state != "on" && state != "off") {
    error = "say on or off";
    return false;
  }
  if (!c.editor.layout.hasActiveBoard()) {
    error = "no active board";
    return false;
  }
  setGroundPlane(c.editor, state == "on");
  return true;
}

bool routeAll(TActionContext& c, TActionArgs& args, std::string& error) {
  TAutorouteTool tool = consoleTool(c);
  routeOptions(args, tool);
  if (!args.finish(error)) return false;
  if (!checkRouteValues(tool, error)) return false;
  if (!c.editor.layout.hasActiveBoard()) {
    error = "no active board";
    return false;
  }
  int routed = 0, failed = 0;
  for (const TRoutedBand& band : routeAllBands(c.editor, tool)) {
    c.out << "route " << band.start << " " << band.target << ": ";
    if (band.layer == 0)
      c.out << "SMD pads on both sides";
    else
      c.out << routeText(band.routed ? TRouteText::successful : TRouteText::notFound, kLanguage)
            << " (layer " << band.layer << ")";
    c.out << "\n";
    ++(band.routed ? routed : failed);
  }
  c.out << "route-all: " << routed << " routed, " << failed << " failed\n";
  return true;
}

}  // namespace

void registerRoutingActions() {
  registerAction("connect", {"connect I J", connect});
  registerAction("test-at", {"test-at X Y", testAtAction});
  registerAction("clear-bands", {"clear-bands", clearBands});
  registerAction("route", {"route I J [--width MM] [--clearance MM]", route});
  registerAction("unroute", {"unroute I", unroute});
  registerAction("layer", {"layer N", layer});
  registerAction("ground-plane", {"ground-plane on|off", groundPlane});
  registerAction("route-all", {"route-all [--width MM] [--clearance MM]", routeAll});
}

}  // namespace plavesk
