// contours: the isolation contours of one copper side, as points in units.
#include <ostream>

#include "cli/commands/cli_command.h"
#include "cli/commands/json_output.h"
#include "cli/commands/mill_cli_options.h"
#include "output/contour_computation.h"
#include "output/hpgl_texts.h"

namespace plavesk {
namespace {

int runContours(const CliArguments& a, std::ostream& out, std::ostream& err) {
  const auto side = parseSideOption(a, err);
  const auto cw = parseChannelWidth(a, err);
  const auto budget = parseMemoryBudget(a, err);
  if (!side || !cw || !budget) return kExitUsage;
  TLayout layout;
  TReadReport report;
  if (!openLayoutForCli(a.positional[0], layout, report, err)) return kExitFailed;
  if (!selectBoardForCli(a, layout, err)) return kExitFailed;
  TContourOptions o;
  o.layer = *side;
  o.channelWidth = *cw;
  o.memoryBudget = *budget;
  const TContourResult r = computeContours(layout.elements(), o);
  if (r.overBudget) {
    err << consoleText(contourMemoryMessage(r.crossings, *budget, kConsoleLanguage)) << "\n";
    return kExitFailed;
  }
  if (!a.has("--json")) {
    out << r.contours.size() << " contours\n";
    return kExitOk;
  }
  Json json = {{"layer", *side}, {"channelWidth", *cw}};
  Json& contours = json["contours"] = Json::array();
  for (const auto& contour : r.contours) {
    Json& points = contours.emplace_back(Json::array());
    for (const auto& p : contour) points.push_back(Json::array({int(p.x), int(p.y)}));
  }
  json["crossings"] = r.crossings;
  json["abandonedTraces"] = r.abandonedTraces;
  out << jsonLine(json);
  return kExitOk;
}

const CliRegistration contours("contours",
                               {"contours FILE.lay --side 1|2 [--board N] [--channel MM] "
                                "[--memory-budget MB] [--json]",
                                {"--json"},
                                {"--side", "--board", "--channel", "--memory-budget"},
                                1,
                                1,
                                runContours});

}  // namespace
}  // namespace plavesk
