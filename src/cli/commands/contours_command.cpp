// contours: the isolation contours of one copper side, as points in units.
#include <ostream>

#include "cli/commands/cli_command.h"
#include "cli/commands/json_writer.h"
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
  JsonWriter json;
  json.beginObject().key("layer").value(*side).key("channelWidth").value(int(*cw));
  json.key("contours").beginArray();
  for (const auto& contour : r.contours) {
    json.beginArray();
    for (const auto& p : contour) json.beginArray().value(int(p.x)).value(int(p.y)).endArray();
    json.endArray();
  }
  json.endArray();
  json.key("droppedLoops").value(int64_t(r.droppedLoops));
  json.key("abandonedTraces").value(int64_t(r.abandonedTraces));
  json.endObject();
  out << json.str() << "\n";
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
