// mill: the isolation milling file of one copper side and its drill files.
#include <cmath>
#include <filesystem>
#include <ostream>

#include "cli/commands/cli_command.h"
#include "cli/commands/mill_cli_options.h"
#include "output/hpgl_milling.h"
#include "output/hpgl_texts.h"

namespace plavesk {
namespace {

std::optional<bool> parseTextMode(const CliArguments& a, const std::string& flag,
                                  std::ostream& err) {
  const std::string mode = a.value(flag, "outline");
  if (mode == "outline") return false;
  if (mode == "single") return true;
  err << flag << " " << mode << ": expected outline or single\n";
  return std::nullopt;
}

std::optional<TDrillOutput> parseDrills(const CliArguments& a, std::ostream& err) {
  const std::string d = a.value("--drills", "none");
  if (d == "none") return TDrillOutput::kNone;
  if (d == "one-file") return TDrillOutput::kOneFile;
  if (d == "per-diameter") return TDrillOutput::kPerDiameter;
  if (d == "milled") return TDrillOutput::kMilled;
  err << "--drills " << d << ": expected none, one-file, per-diameter or milled\n";
  return std::nullopt;
}

std::optional<int> parseLanguage(const CliArguments& a, std::ostream& err) {
  const std::string l = a.value("--lang", "en");
  if (l == "de") return 0;
  if (l == "en") return 1;
  if (l == "fr") return 2;
  err << "--lang " << l << ": expected de, en or fr\n";
  return std::nullopt;
}

int runMill(const CliArguments& a, std::ostream& out, std::ostream& err) {
  TMillingOptions o;
  const auto side = parseSideOption(a, err);
  const auto cw = parseChannelWidth(a, err);
  const auto texts = parseTextMode(a, "--texts", err);
  const auto marked = parseTextMode(a, "--marked-texts", err);
  const auto drills = parseDrills(a, err);
  const auto tool = parseNumberOption(a, "--tool", 0.0, 0.0, 4.99, err);
  const auto holes = parseReferenceHoles(a, err);
  const auto mirror = parseMirror(a, err);
  const auto language = parseLanguage(a, err);
  const auto budget = parseMemoryBudget(a, err);
  if (!side || !cw || !texts || !marked || !drills || !tool || !holes || !mirror || !language ||
      !budget)
    return kExitUsage;
  o.layer = *side;
  o.includeChannel = a.has("--channel");
  o.channelWidth = *cw;
  o.singleLineTexts = *texts;
  o.singleLineMarkedTexts = *marked;
  o.drills = *drills;
  o.toolDiameter = static_cast<int32_t>(std::nearbyint(*tool * 100));
  o.secondPen = a.has("--second-pen");
  o.holes = *holes;
  o.centreMarks = a.has("--center-marks");
  o.mirror = *mirror;
  o.language = *language;
  o.memoryBudget = *budget;

  TLayout layout;
  TReadReport report;
  if (!openLayoutForCli(a.positional[0], layout, report, err)) return kExitFailed;
  if (!selectBoardForCli(a, layout, err)) return kExitFailed;
  // Selections are not kept in files: this marks every copper text.
  if (a.has("--select-texts"))
    for (auto& e : layout.elements())
      if (e->kind == kText && isCopperLayer(e->layer)) e->selected = 1;
  const std::string target =
      a.has("-o") ? a.value("-o")
                  : std::filesystem::path(a.positional[0]).replace_extension(".plt").string();
  // The folder of the output is made when missing, as a script expects.
  std::error_code ignored;
  if (std::filesystem::path(target).has_parent_path())
    std::filesystem::create_directories(std::filesystem::path(target).parent_path(), ignored);
  const TMillingRun run = runIsolationMilling(layout.elements(), layout.working(), o, target);
  if (!run.ok) {
    err << run.caption << ": " << consoleText(run.error) << "\n";
    return kExitFailed;
  }
  out << run.contours.contours.size() << " contours\n";
  for (const auto& path : run.written) out << "wrote " << path << "\n";
  if (run.plungedHoles > 0) err << plungedHolesMessage(run.plungedHoles, kConsoleLanguage) << "\n";
  return kExitOk;
}

const CliRegistration mill(
    "mill", {"mill FILE.lay --side 1|2 [-o OUT.plt] [--board N] [--channel MM] "
             "[--texts outline|single] [--marked-texts outline|single] [--select-texts] "
             "[--drills none|one-file|per-diameter|milled] [--tool MM] [--second-pen] "
             "[--ref-holes BL,BR,TL,TR] [--center-marks] [--mirror none|x|y] [--lang de|en|fr] "
             "[--memory-budget MB]",
             {"--select-texts", "--second-pen", "--center-marks"},
             {"--side", "-o", "--board", "--channel", "--texts", "--marked-texts", "--drills",
              "--tool", "--ref-holes", "--mirror", "--lang", "--memory-budget"},
             1,
             1,
             runMill});

}  // namespace
}  // namespace plavesk
