// What a plavesk-cli command file needs: its arguments, a registration and
// the shared helpers for opening layouts and reading option values.
#pragma once

#include <functional>
#include <iosfwd>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "document/board.h"
#include "document/layout_file.h"

namespace plavesk {

constexpr int kExitOk = 0;
constexpr int kExitUsage = 1;
constexpr int kExitFailed = 2;
// Console messages use the English texts of the program.
constexpr int kConsoleLanguage = 1;

struct CliArguments {
  std::vector<std::string> positional;
  // "--flag" -> value ("" for switches); a flag given twice keeps both.
  std::multimap<std::string, std::string> options;

  bool has(const std::string& flag) const { return options.count(flag) != 0; }
  std::string value(const std::string& flag, const std::string& fallback = "") const {
    auto it = options.find(flag);
    return it == options.end() ? fallback : it->second;
  }
  std::vector<std::string> values(const std::string& flag) const {
    std::vector<std::string> all;
    for (auto [it, end] = options.equal_range(flag); it != end; ++it) all.push_back(it->second);
    return all;
  }
};

struct CliCommand {
  std::string usage;                      // e.g. "info FILE.lay [--json]"
  std::vector<std::string> switches;      // flags without a value
  std::vector<std::string> valueOptions;  // flags followed by a value
  size_t minPositional = 0;
  size_t maxPositional = 0;
  std::function<int(const CliArguments&, std::ostream& out, std::ostream& err)> run;
  // Flags followed by two values ("--offset X Y"); kept as "X Y". The
  // values may start with a minus sign.
  std::vector<std::string> pairOptions = {};
};

// A command file registers its commands with a static object:
//   static CliRegistration info("info", {...});
// The command files are linked as objects, so every registration runs.
struct CliRegistration {
  CliRegistration(const std::string& name, CliCommand command);
};
const std::map<std::string, CliCommand>& cliCommands();

// Turns the carriage returns of the program's message texts into newlines.
std::string consoleText(std::string text);

// Reads a layout as Open does; prints the failure and returns false.
bool openLayoutForCli(const std::string& path, TLayout& layout, TReadReport& report,
                      std::ostream& err);

// Done with a layout: frees it, or keeps its boards until the process ends
// when the program asked for that (leaveLayoutsToProcessExit).
void finishWithLayout(TLayout& layout);

// Activates the board given by "--board N" (1-based); prints a message and
// returns false when N is not a board of the layout.
bool selectBoardForCli(const CliArguments& args, TLayout& layout, std::ostream& err);

// Manufacturing outputs leave legacy font texts out: says so when the
// layout read has any.
void noteUnexportedFontTexts(const TReadReport& report, std::ostream& err);

// Parses a number option; prints a message naming the option and returns
// nullopt when the text is not a number in [min, max].
std::optional<double> parseNumberOption(const CliArguments& args, const std::string& flag,
                                        double fallback, double min, double max, std::ostream& err);

}  // namespace plavesk
