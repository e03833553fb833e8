#include "editing/routing_actions.h"

#include <algorithm>
#include <ostream>

#include "editing/action_runner.h"
#include "editing/autoroute_tool.h"
#include "editing/connections.h"
#include "editing/connectivity_commands.h"
#include "editing/editor.h"
#include "editing/macro_library.h"
#include "editing/tools/macro_drag.h"
#include "editing/tools/script_host.h"
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

// Checks an element position; false with a message when it is not one.
bool elementArg(TActionContext& c, int32_t index, const char* what, std::string& error) {
  if (index < 0 || size_t(index) >= c.editor.elements().size()) {
    error = std::string(what) + " " + std::to_string(index) + " is not an element (0 to " +
            std::to_string(int64_t(c.editor.elements().size()) - 1) + ")";
    return false;
  }
  return true;
}

// "--width MM" and "--clearance MM" anywhere after the name.
std::vector<TParam> withRouteOptions(std::vector<TParam> params) {
  for (auto [name, what] :
       {std::pair{"--width", "width in mm"}, {"--clearance", "clearance in mm"}}) {
    TParam p = numberOption(name, what);
    p.min = 0.1;
    p.max = 9.9;
    p.range = "width and clearance must lie in 0.1..9.9 mm";
    params.push_back(p);
  }
  return params;
}

TAutorouteTool consoleTool(const TActionArgs& args) {
  TAutorouteTool tool;
  tool.language = kLanguage;
  tool.widthMm = args.option("--width", tool.widthMm);
  tool.clearanceMm = args.option("--clearance", tool.clearanceMm);
  return tool;
}

bool connect(TActionContext& c, const TActionArgs& args, std::string& error) {
  const int32_t i = args.integer("I"), j = args.integer("J");
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

bool testAtAction(TActionContext& c, const TActionArgs& args, std::string& error) {
  const TPoint p{args.integer("X"), args.integer("Y")};
  const std::vector<size_t> marked = testAt(c.editor, p);
  c.out << "test-at: " << marked.size() << " connected";
  for (size_t i : marked) c.out << " " << i;
  c.out << "\n";
  return true;
}

bool clearBands(TActionContext& c, const TActionArgs& args, std::string& error) {
  c.out << lines(bandRemovalMessage(clearSatisfiedBands(c.editor), kLanguage)) << "\n";
  return true;
}

bool route(TActionContext& c, const TActionArgs& args, std::string& error) {
  const int32_t i = args.integer("I"), j = args.integer("J");
  TAutorouteTool tool = consoleTool(args);
  if (!elementArg(c, i, "I", error) || !elementArg(c, j, "J", error)) return false;
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

bool unroute(TActionContext& c, const TActionArgs& args, std::string& error) {
  const int32_t i = args.integer("I");
  if (!elementArg(c, i, "I", error)) return false;
  TObjekt& track = *c.editor.elements()[size_t(i)];
  if (track.kind != kTrack || !track.autorouted) {
    error = "element " + std::to_string(i) + " is not an autorouted track";
    return false;
  }
  c.editor.deselectAll();
  track.selected = 1;
  TAutorouteTool tool = consoleTool(args);
  tool.unrouteSelected(c.editor);
  c.out << "unroute " << i << ": " << routeText(TRouteText::unrouted, kLanguage) << "\n";
  return true;
}

TScriptSession& sessionOf(TActionContext& c) {
  if (!c.session) c.session = std::make_shared<TScriptSession>(c.editor);
  c.session->followBoard();
  return *c.session;
}

// The ground-plane button: the switch of the active side, and the cutout
// button released.
bool groundPlane(TActionContext& c, const TActionArgs& args, std::string&) {
  switchGroundPlane(c.editor, sessionOf(c).tools.values(), args.text("STATE") == "on");
  return true;
}

bool routeAll(TActionContext& c, const TActionArgs& args, std::string& error) {
  TAutorouteTool tool = consoleTool(args);
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

// The autorouter window's two fields, for the autoroute tool's clicks.
bool autorouteOptions(TActionContext& c, const TActionArgs& args, std::string&) {
  TAutorouteTool& router = sessionOf(c).tools.autorouter();
  router.widthMm = args.number("WIDTH");
  router.clearanceMm = args.number("CLEARANCE");
  return true;
}

// A drag from the macro panel dropped at a board point: loaded as the panel
// loads it (turned to the active side, the panel's buttons applied), placed
// as the drop places it (snapped, held on the board), one undo step.
bool macroDrop(TActionContext& c, const TActionArgs& args, std::string& error) {
  TScriptSession& s = sessionOf(c);
  const TBoardRecord& board = c.editor.working();
  if (!s.macroPanel.load(args.text("PATH"), board.activeLayer, board.grid, error)) return false;
  const TObjektList& macro = s.macroPanel.macro.elements;
  if (!TMacroDrag::accepts(macro)) {
    error = "the macro holds no elements";
    return false;
  }
  const size_t before = c.editor.elements().size();
  s.tools.macroDrag().drop(macro, {args.integer("X"), args.integer("Y")}, false);
  const TPoint at = s.tools.macroDrag().offset();
  c.out << "macro-drop: " << c.editor.elements().size() - before << " elements at " << at.x << " "
        << at.y << "\n";
  return true;
}

}  // namespace

void registerRoutingActions() {
  const std::vector<TParam> pair{integerParam("I"), integerParam("J")};
  TParam state = wordParam("STATE", "on or off");
  state.choices = {"on", "off"};
  state.range = "say on or off";
  registerAction("connect", {pair, connect});
  registerAction("test-at", {{integerParam("X"), integerParam("Y")}, testAtAction});
  registerAction("clear-bands", {{}, clearBands});
  registerAction("route", {withRouteOptions(pair), route});
  registerAction("unroute", {{integerParam("I")}, unroute});
  registerAction("ground-plane", {{state}, groundPlane});
  registerAction("route-all", {withRouteOptions({}), routeAll});
  std::vector<TParam> options;
  for (auto [name, what] :
       {std::pair{"WIDTH", "track width in mm"}, {"CLEARANCE", "clearance in mm"}}) {
    TParam p = numberParam(name, what);
    p.min = 0.1;
    p.max = 9.9;
    p.range = "width and clearance must lie in 0.1..9.9 mm";
    options.push_back(p);
  }
  registerAction("autoroute-options", {options, autorouteOptions});
  registerAction("macro-drop",
                 {{wordParam("PATH"), integerParam("X"), integerParam("Y")}, macroDrop});
}

}  // namespace plavesk
