// gerber: one RS-274X output of a board, with the export dialog's options.
#include <filesystem>
#include <ostream>

#include "cli/commands/cli_command.h"
#include "output/gerber_export.h"
#include "output/gerber_texts.h"

namespace plavesk {
namespace {

std::optional<int> languageOption(const CliArguments& a, std::ostream& err) {
  if (!a.has("--lang")) return kConsoleLanguage;
  const std::string v = a.value("--lang");
  if (v == "de") return 0;
  if (v == "en") return 1;
  if (v == "fr") return 2;
  err << "--lang " << v << ": expected de, en or fr\n";
  return std::nullopt;
}

// The options of the command line applied to the dialog's defaults for the
// output; nullopt after printing why they are refused.
std::optional<TGerberOptions> gerberOptions(const CliArguments& a, std::ostream& err) {
  const std::string name = a.value("--output");
  const auto output = gerberOutputFromName(name);
  if (!output) {
    err << "--output " << name << ": expected K1, B1, K2, B2, LStop1, LStop2, SMD1 or SMD2\n";
    return std::nullopt;
  }
  TGerberOptions o = gerberDefaults(*output);
  for (auto [on, off] : {std::pair{"--mirror", "--no-mirror"}, {"--outline", "--no-outline"}}) {
    if (a.has(on) && a.has(off)) {
      err << on << " and " << off << " exclude each other\n";
      return std::nullopt;
    }
  }
  if (a.has("--mirror")) o.mirror = true;
  if (a.has("--no-mirror")) o.mirror = false;
  if (a.has("--outline")) o.outline = true;
  if (a.has("--no-outline")) o.outline = false;

  const bool mask = isSolderMaskOutput(*output);
  if (a.has("--punch") && (mask || isSmdOnlyOutput(*output))) {
    err << "--punch applies to the outputs K1, B1, K2 and B2\n";
    return std::nullopt;
  }
  if (a.has("--mark") && !a.has("--punch")) {
    err << "--mark needs --punch\n";
    return std::nullopt;
  }
  o.setPunch(a.has("--punch"));
  o.setMark(a.has("--mark"));

  for (const char* flag : {"--invert", "--no-pads", "--no-smd", "--pad-offset", "--smd-offset"}) {
    if (a.has(flag) && !mask) {
      err << flag << " applies to the solder-mask outputs LStop1 and LStop2\n";
      return std::nullopt;
    }
  }
  const auto padOffset =
      parseNumberOption(a, "--pad-offset", o.padOffset, kMaskOffsetMin, kMaskOffsetMax, err);
  const auto smdOffset =
      parseNumberOption(a, "--smd-offset", o.smdOffset, kMaskOffsetMin, kMaskOffsetMax, err);
  if (!padOffset || !smdOffset) return std::nullopt;
  o.setPadOffset(*padOffset);
  o.setSmdOffset(*smdOffset);
  o.invert = a.has("--invert");
  o.pads = !a.has("--no-pads");
  o.smdPads = !a.has("--no-smd");
  return o;
}

int runGerber(const CliArguments& a, std::ostream& out, std::ostream& err) {
  if (!a.has("--output")) {
    err << "gerber: --output is required\n";
    return kExitUsage;
  }
  const auto options = gerberOptions(a, err);
  const auto language = languageOption(a, err);
  if (!options || !language) return kExitUsage;

  TLayout layout;
  TReadReport report;
  if (!openLayoutForCli(a.positional[0], layout, report, err)) return kExitFailed;
  if (!selectBoardForCli(a, layout, err)) return kExitUsage;
  noteUnexportedFontTexts(report, err);

  const std::string path = a.has("-o") ? a.value("-o") : gerberFileName(options->output, *language);
  std::string error;
  if (!PlotteGerberfile(path, layout.elements(), layout.working(), *options, *language, error)) {
    err << consoleText(gerberNotCreatedMessage(kConsoleLanguage)) << " " << error << "\n";
    return kExitFailed;
  }
  out << path << "\n";
  return kExitOk;
}

const CliRegistration gerber(
    "gerber", {"gerber FILE.lay --output K1|B1|K2|B2|LStop1|LStop2|SMD1|SMD2 [-o OUT] [--board N] "
               "[--mirror|--no-mirror] [--outline|--no-outline] [--punch [--mark]] [--invert] "
               "[--no-pads] [--no-smd] [--pad-offset MM] [--smd-offset MM] [--lang de|en|fr]",
               {"--mirror", "--no-mirror", "--outline", "--no-outline", "--punch", "--mark",
                "--invert", "--no-pads", "--no-smd"},
               {"--output", "-o", "--board", "--pad-offset", "--smd-offset", "--lang"},
               1,
               1,
               runGerber});

}  // namespace
}  // namespace plavesk
