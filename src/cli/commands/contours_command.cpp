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
  if (!side || !cw) return kExitUsage;
  TLayout layout;
  TReadReport report;
  if (!openLayoutForCli(a.positional[0], layout, report, err)) return kExitFailed;
  if (!selectBoardForCli(a, layout, err)) return kExitFailed;
  TContourOptions o;
  o.layer = *side;
  o.channelWidth = *cw;
  const TContourResult r = computeContours(layout.elements(), o);
  if (!a.has("--json")) {
    out << r.contours.size() << " contours, " << r.droppedLoops << " loops dropped\n";
    return kExitOk;
  }
  Json json = {{"layer", *side}, {"channelWidth", *cw}};
  Json& contours = json["contours"] = Json::array();
  for (const auto& contour : r.contours) {
    Json& points = contours.emplace_back(Json::array());
    for (const auto& p : contour) points.push_back(Json::array({int(p.x), int(p.y)}));
  }
  json["droppedLoops"] = r.droppedLoops;
  json["abandonedTraces"] = r.abandonedTraces;
  out << jsonLine(json);
  if (r.droppedLoops > 0) err << droppedLoopsMessage(r.droppedLoops, kConsoleLanguage) << "\n";
  return kExitOk;
}

const CliRegistration contours("contours",
                               {"contours FILE.lay --side 1|2 [--board N] [--channel MM] [--json]",
                                {"--json"},
                                {"--side", "--board", "--channel"},
                                1,
                                1,
                                runContours});

}  // namespace
}  // namespace plavesk
