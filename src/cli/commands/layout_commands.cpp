// info and convert: reading, summarising and re-writing layout files.
#include "editing/layout_commands.h"

#include <ostream>

#include "cli/commands/cli_command.h"
#include "cli/commands/info_command.h"
#include "document/file_io.h"
#include "editing/font_text_conversion.h"

namespace plavesk {
namespace {

int runInfo(const CliArguments& a, std::ostream& out, std::ostream& err) {
  TLayout layout;
  TReadReport report;
  if (!openLayoutForCli(a.positional[0], layout, report, err)) return kExitFailed;
  if (a.has("--json"))
    out << layoutJson(layout, report.version, a.has("--elements"));
  else
    out << layoutSummary(layout, fileNameOf(a.positional[0]), report.version);
  return kExitOk;
}

int runConvert(const CliArguments& a, std::ostream& out, std::ostream& err) {
  TLayout layout;
  TReadReport report;
  if (!openLayoutForCli(a.positional[0], layout, report, err)) return kExitFailed;
  if (report.version < kCurrentFileVersion)
    err << consoleText(olderVersionMessage(kConsoleLanguage)) << "\n";
  // The question after opening is answered with Yes only on request.
  if (a.has("--convert-font-texts") && report.fontTextCount > 0) {
    convertFontTexts(layout, kCommandLinePixelsPerInch);
    err << consoleText(fontTextReport(kConsoleLanguage)) << "\n";
  }
  std::string error;
  const bool saved = saveLayout(layout, a.positional[1], false, error);
  finishWithLayout(layout);
  if (!saved) {
    err << error << "\n";
    return kExitFailed;
  }
  return kExitOk;
}

const CliRegistration info(
    "info", {"info FILE.lay [--json] [--elements]", {"--json", "--elements"}, {}, 1, 1, runInfo});
const CliRegistration convert("convert", {"convert IN.lay OUT.lay [--convert-font-texts]",
                                          {"--convert-font-texts"},
                                          {},
                                          2,
                                          2,
                                          runConvert});

}  // namespace
}  // namespace plavesk
