#include "cli/commands/cli.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <ostream>

#include "cli/commands/cli_command.h"

namespace plavesk {
namespace {

std::map<std::string, CliCommand>& registry() {
  static std::map<std::string, CliCommand> commands;
  return commands;
}

void printUsage(std::ostream& err) {
  err << "usage: plavesk-cli COMMAND ...\ncommands:\n";
  for (const auto& [name, command] : cliCommands())
    err << "  plavesk-cli " << command.usage << "\n";
}

bool layoutsLeftToExit = false;

bool contains(const std::vector<std::string>& list, const std::string& s) {
  return std::find(list.begin(), list.end(), s) != list.end();
}

}  // namespace

CliRegistration::CliRegistration(const std::string& name, CliCommand command) {
  registry().emplace(name, std::move(command));
}

const std::map<std::string, CliCommand>& cliCommands() {
  return registry();
}

std::string consoleText(std::string text) {
  for (char& c : text)
    if (c == '\r') c = '\n';
  return text;
}

bool openLayoutForCli(const std::string& path, TLayout& layout, TReadReport& report,
                      std::ostream& err) {
  report = readLayoutFile(layout, path, TReadOptions{false, kConsoleLanguage});
  if (!report.ok) {
    err << report.error << "\n";
    return false;
  }
  return true;
}

void leaveLayoutsToProcessExit() {
  layoutsLeftToExit = true;
}

void finishWithLayout(TLayout& layout) {
  if (!layoutsLeftToExit) return;
  // Still reachable from here, so leak checkers stay quiet.
  static auto* kept = new std::vector<TBoardPtr>;
  for (auto& board : layout.boards) kept->push_back(std::move(board));
  layout.boards.clear();
  layout.activeBoard = -1;
}

void noteUnexportedFontTexts(const TReadReport& report, std::ostream& err) {
  if (report.fontTextCount > 0)
    err << "note: legacy font texts are not exported; convert them first with "
           "\"plavesk-cli convert --convert-font-texts\"\n";
}

bool selectBoardForCli(const CliArguments& args, TLayout& layout, std::ostream& err) {
  if (!args.has("--board")) return true;
  const std::string text = args.value("--board");
  int board = 0;
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), board);
  if (ec != std::errc() || end != text.data() + text.size() || board < 1 ||
      board > int(layout.boards.size())) {
    err << "--board " << text << ": the layout has boards 1 to " << layout.boards.size() << "\n";
    return false;
  }
  layout.activateBoard(board - 1);
  return true;
}

std::optional<double> parseNumberOption(const CliArguments& args, const std::string& flag,
                                        double fallback, double min, double max,
                                        std::ostream& err) {
  if (!args.has(flag)) return fallback;
  const std::string text = args.value(flag);
  double value = 0;
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (ec != std::errc() || end != text.data() + text.size() || !std::isfinite(value) ||
      value < min || value > max) {
    err << flag << " " << text << ": expected a number from " << min << " to " << max << "\n";
    return std::nullopt;
  }
  return value;
}

int runCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  if (args.empty() || args[0] == "--help" || args[0] == "-h") {
    printUsage(err);
    return kExitUsage;
  }
  auto it = cliCommands().find(args[0]);
  if (it == cliCommands().end()) {
    err << "plavesk-cli: unknown command \"" << args[0] << "\"\n";
    printUsage(err);
    return kExitUsage;
  }
  const CliCommand& command = it->second;
  CliArguments parsed;
  for (size_t i = 1; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg.size() > 1 && arg[0] == '-') {
      if (contains(command.switches, arg)) {
        parsed.options.emplace(arg, "");
      } else if (contains(command.pairOptions, arg) && i + 2 < args.size()) {
        parsed.options.emplace(arg, args[i + 1] + " " + args[i + 2]);
        i += 2;
      } else if (contains(command.valueOptions, arg) && i + 1 < args.size()) {
        parsed.options.emplace(arg, args[i + 1]);
        ++i;
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
