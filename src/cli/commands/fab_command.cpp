// fab: every file a board house asks for, in one folder.
#include <filesystem>
#include <ostream>
#include <system_error>

#include "cli/commands/cli_command.h"
#include "output/fab_export.h"

namespace plavesk {
namespace {

int runFab(const CliArguments& a, std::ostream& out, std::ostream& err) {
  if (!a.has("-o")) {
    err << "fab: -o DIR is required\n";
    return kExitUsage;
  }
  TLayout layout;
  TReadReport report;
  if (!openLayoutForCli(a.positional[0], layout, report, err)) return kExitFailed;
  if (!selectBoardForCli(a, layout, err)) return kExitUsage;
  noteUnexportedFontTexts(report, err);

  const std::string folder = a.value("-o");
  std::error_code ec;
  std::filesystem::create_directories(folder, ec);
  if (ec) {
    err << "cannot create the folder \"" << folder << "\": " << ec.message() << "\n";
    return kExitFailed;
  }
  const std::string stem = std::filesystem::path(a.positional[0]).stem().string();
  const TFabResult result = writeFabricationSet(folder, stem, layout.elements(), layout.working());
  for (size_t i = 0; i < result.written.size(); ++i)
    out << result.written[i] << "  " << fabFiles()[i].description << "\n";
  if (!result.ok) {
    err << result.error << "\n";
    return kExitFailed;
  }
  return kExitOk;
}

const CliRegistration fab("fab",
                          {"fab FILE.lay -o DIR [--board N]", {}, {"-o", "--board"}, 1, 1, runFab});

}  // namespace
}  // namespace plavesk
