// net: the elements joined by copper to the element at a point, as the test
// tool marks them.
#include <charconv>
#include <ostream>

#include "cli/commands/cli_command.h"
#include "cli/commands/json_output.h"
#include "editing/connectivity_commands.h"
#include "editing/editor.h"
#include "editing/element_at.h"

namespace plavesk {
namespace {

bool parseInt(std::string_view text, int32_t& value) {
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  return ec == std::errc() && end == text.data() + text.size();
}

int runNet(const CliArguments& a, std::ostream& out, std::ostream& err) {
  const std::string at = a.value("--at");
  const size_t comma = at.find(',');
  TPoint p;
  if (!a.has("--at") || comma == std::string::npos ||
      !parseInt(std::string_view(at).substr(0, comma), p.x) ||
      !parseInt(std::string_view(at).substr(comma + 1), p.y)) {
    err << "net: give the point as --at X,Y in units of 0.01 mm (board y is negative)\n";
    return kExitUsage;
  }
  TEditor editor;
  TReadReport report;
  if (!openLayoutForCli(a.positional[0], editor.layout, report, err)) return kExitFailed;
  if (!selectBoardForCli(a, editor.layout, err)) return kExitUsage;
  if (!editor.layout.hasActiveBoard()) {
    err << "net: the layout has no board\n";
    return kExitFailed;
  }
  if (a.has("--layer")) {
    int32_t layer = 0;
    if (!parseInt(a.value("--layer"), layer) || !isValidLayer(layer)) {
      err << "--layer " << a.value("--layer") << ": the layers are 1 to 4\n";
      return kExitUsage;
    }
    editor.working().activeLayer = layer;
    editor.working().layerVisible[size_t(layer - 1)] = 1;
  }
  for (auto& e : editor.elements()) e->selected = 0;
  const int hit = elementAt(editor.elements(), editor.working(), p, true);
  const std::vector<size_t> net = testAt(editor, p);
  if (a.has("--json")) {
    const Json j = {{"board", editor.layout.activeBoard + 1},
                    {"layer", int(editor.working().activeLayer)},
                    {"at", {p.x, p.y}},
                    {"element", net.empty() ? -1 : hit},
                    {"connected", net}};
    out << jsonLine(j);
  } else if (net.empty()) {
    out << "no copper at " << p.x << "," << p.y << "\n";
  } else {
    out << net.size() << " elements connected to element " << hit << ":";
    for (size_t i : net) out << " " << i;
    out << "\n";
  }
  return kExitOk;
}

const CliRegistration net("net", {"net FILE.lay --at X,Y [--board N] [--layer L] [--json]",
                                  {"--json"},
                                  {"--at", "--board", "--layer"},
                                  1,
                                  1,
                                  runNet});

}  // namespace
}  // namespace plavesk
