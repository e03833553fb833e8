// drill: the Excellon drill file of a board.
#include <filesystem>
#include <ostream>

#include "cli/commands/cli_command.h"
#include "output/excellon_export.h"

namespace plavesk {
namespace {

int runDrill(const CliArguments& a, std::ostream& out, std::ostream& err) {
  TExcellonOptions options;
  const std::string unit = a.value("--unit", "inch");
  if (unit != "mm" && unit != "inch") {
    err << "--unit " << unit << ": expected mm or inch\n";
    return kExitUsage;
  }
  options.inch = unit == "inch";
  options.leadingZeros = !a.has("--no-leading-zeros");
  options.fromBottom = a.has("--mirror");

  TLayout layout;
  TReadReport report;
  if (!openLayoutForCli(a.positional[0], layout, report, err)) return kExitFailed;
  if (!selectBoardForCli(a, layout, err)) return kExitUsage;

  const std::string path =
      a.has("-o") ? a.value("-o") : std::filesystem::path(a.positional[0]).stem().string() + ".drl";
  std::string error;
  if (!writeExcellonFile(path, layout.elements(), layout.working(), options, error)) {
    err << error << "\n";
    return kExitFailed;
  }
  out << path << "\n";
  return kExitOk;
}

const CliRegistration drill(
    "drill", {"drill FILE.lay [-o OUT.drl] [--board N] [--unit mm|inch] [--no-leading-zeros] "
              "[--mirror]",
              {"--no-leading-zeros", "--mirror"},
              {"-o", "--board", "--unit"},
              1,
              1,
              runDrill});

}  // namespace
}  // namespace plavesk
