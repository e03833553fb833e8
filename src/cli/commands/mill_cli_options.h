// Option values shared by the milling commands of plavesk-cli.
#pragma once

#include <iosfwd>
#include <optional>

#include "cli/commands/cli_command.h"
#include "output/hpgl_milling.h"

namespace plavesk {

// "--side 1|2" as copper layer 1 or 3.
std::optional<int> parseSideOption(const CliArguments& args, std::ostream& err);
// "--ref-holes BL,BR,TL,TR" (any of them, or "none"); bottom-left by default.
std::optional<TReferenceHoles> parseReferenceHoles(const CliArguments& args, std::ostream& err);
// "--mirror none|x|y".
std::optional<TMirror> parseMirror(const CliArguments& args, std::ostream& err);
// "--channel MM" as units; 0 without the option.
std::optional<int32_t> parseChannelWidth(const CliArguments& args, std::ostream& err);
// "--memory-budget MB" (the contours' memory) as bytes; 2048 MB without it.
std::optional<uint64_t> parseMemoryBudget(const CliArguments& args, std::ostream& err);

}  // namespace plavesk
