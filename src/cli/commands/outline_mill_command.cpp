// outline-mill: the board outline milling file from silkscreen tracks and
// circles.
#include <filesystem>
#include <ostream>

#include "cli/commands/cli_command.h"
#include "cli/commands/mill_cli_options.h"
#include "output/hpgl_outline.h"

namespace plavesk {
namespace {

int runOutlineMill(const CliArguments& a, std::ostream& out, std::ostream& err) {
  if (!a.has("-o")) {
    err << "outline-mill: -o OUT.plt is required\n";
    return kExitUsage;
  }
  const auto holes = parseReferenceHoles(a, err);
  const auto mirror = parseMirror(a, err);
  if (!holes || !mirror) return kExitUsage;
  TOutlineOptions o;
  o.holes = *holes;
  o.mirror = *mirror;
  o.language = kConsoleLanguage;

  TLayout layout;
  TReadReport report;
  if (!openLayoutForCli(a.positional[0], layout, report, err)) return kExitFailed;
  if (!selectBoardForCli(a, layout, err)) return kExitFailed;
  // Files keep no selection: the flag stands for selecting the outline.
  if (a.has("--select-all-outline"))
    for (auto& e : layout.elements())
      if ((e->kind == kTrack || e->kind == kCircle) && (e->layer == kSilk1 || e->layer == kSilk2))
        e->selected = 1;
  const std::filesystem::path target(a.value("-o"));
  std::error_code ignored;
  if (target.has_parent_path()) std::filesystem::create_directories(target.parent_path(), ignored);
  const TOutlineRun run = runOutlineMilling(layout.elements(), layout.working(), o, a.value("-o"));
  if (!run.ok) {
    err << run.caption << ": " << consoleText(run.error) << "\n";
    return kExitFailed;
  }
  out << "wrote " << a.value("-o") << "\n";
  return kExitOk;
}

const CliRegistration outlineMill(
    "outline-mill", {"outline-mill FILE.lay -o OUT.plt [--board N] [--select-all-outline] "
                     "[--ref-holes BL,BR,TL,TR] [--mirror none|x|y]",
                     {"--select-all-outline"},
                     {"-o", "--board", "--ref-holes", "--mirror"},
                     1,
                     1,
                     runOutlineMill});

}  // namespace
}  // namespace plavesk
