#include "cli/commands/cli.h"

#include <algorithm>
#include <functional>
#include <map>
#include <ostream>

#include "cli/commands/info_command.h"
#include "document/file_io.h"
#include "document/layout_file.h"
#include "editing/font_text_conversion.h"
#include "editing/layout_commands.h"

namespace plavesk {
namespace {

constexpr int kExitUsage = 1;
constexpr int kExitFailed = 2;

// Positional arguments and flags of one command.
struct Arguments {
  std::vector<std::string> positional;
  std::map<std::string, std::string> options;  // "--flag" -> value ("" for switches)

  bool has(const std::string& flag) const { return options.count(flag) != 0; }
};

struct Command {
  std::string usage;
  std::vector<std::string> switches;      // flags without a value
  std::vector<std::string> valueOptions;  // flags followed by a value
  size_t minPositional;
  size_t maxPositional;
  std::function<int(const Arguments&, std::ostream&, std::ostream&)> run;
};

// Console messages use the English texts of the program.
constexpr int kConsoleLanguage = 1;

std::string consoleText(std::string text) {
  for (char& c : text)
    if (c == '\r') c = '\n';
  return text;
}

// Reads a layout as Open does; prints the failure and returns false.
bool openLayout(const std::string& path, TLayout& layout, TReadReport& report, std::ostream& err) {
  report = readLayoutFile(layout, path, TReadOptions{false, kConsoleLanguage});
  if (!report.ok) {
    err << report.error << "\n";
    return false;
  }
  return true;
}

int runInfo(const Arguments& a, std::ostream& out, std::ostream& err) {
  TLayout layout;
  TReadReport report;
  if (!openLayout(a.positional[0], layout, report, err)) return kExitFailed;
  if (a.has("--json"))
    out << layoutJson(layout, report.version, a.has("--elements"));
  else
    out << layoutSummary(layout, fileNameOf(a.positional[0]), report.version);
  return 0;
}

int runConvert(const Arguments& a, std::ostream& out, std::ostream& err) {
  TLayout layout;
  TReadReport report;
  if (!openLayout(a.positional[0], layout, report, err)) return kExitFailed;
  if (report.version < kCurrentFileVersion)
    err << consoleText(olderVersionMessage(kConsoleLanguage)) << "\n";
  // The question after opening is answered with Yes only on request.
  if (a.has("--convert-font-texts") && report.fontTextCount > 0) {
    convertFontTexts(layout, kCommandLinePixelsPerInch);
    err << consoleText(fontTextReport(kConsoleLanguage)) << "\n";
  }
  std::string error;
  if (!saveLayout(layout, a.positional[1], false, error)) {
    err << error << "\n";
    return kExitFailed;
  }
  return 0;
}

const std::map<std::string, Command>& commands() {
  static const std::map<std::string, Command> table = {
      {"info", {"info FILE.lay [--json] [--elements]", {"--json", "--elements"}, {}, 1, 1, runInfo}},
      {"convert",
       {"convert IN.lay OUT.lay [--convert-font-texts]", {"--convert-font-texts"}, {}, 2, 2, runConvert}},
  };
  return table;
}

void printUsage(std::ostream& err) {
  err << "usage: plavesk-cli COMMAND ...\ncommands:\n";
  for (const auto& [name, command] : commands()) err << "  plavesk-cli " << command.usage << "\n";
}

bool contains(const std::vector<std::string>& list, const std::string& s) {
  return std::find(list.begin(), list.end(), s) != list.end();
}

}  // namespace

int runCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  if (args.empty() || args[0] == "--help" || args[0] == "-h") {
    printUsage(err);
    return kExitUsage;
  }
  auto it = commands().find(args[0]);
  if (it == commands().end()) {
    err << "plavesk-cli: unknown command \"" << args[0] << "\"\n";
    printUsage(err);
    return kExitUsage;
  }
  const Command& command = it->second;
  Arguments parsed;
  for (size_t i = 1; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg.size() > 1 && arg[0] == '-') {
      if (contains(command.switches, arg)) {
        parsed.options[arg] = "";
      } else if (contains(command.valueOptions, arg) && i + 1 < args.size()) {
        parsed.options[arg] = args[++i];
      } else {
        err << "plavesk-cli " << args[0] << ": unknown or incomplete option \"" << arg
            << "\"\nusage: plavesk-cli " << command.usage << "\n";
        return kExitUsage;
      }
    } else {
      parsed.positional.push_back(arg);
    }
  }
  if (parsed.positional.size() < command.minPositional ||
      parsed.positional.size() > command.maxPositional) {
    err << "usage: plavesk-cli " << command.usage << "\n";
    return kExitUsage;
  }
  return command.run(parsed, out, err);
}

}  // namespace plavesk
