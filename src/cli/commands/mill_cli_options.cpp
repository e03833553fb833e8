#include "cli/commands/mill_cli_options.h"

#include <cmath>
#include <ostream>
#include <sstream>

namespace plavesk {

std::optional<int> parseSideOption(const CliArguments& args, std::ostream& err) {
  const std::string side = args.value("--side");
  if (side == "1") return kCopper1;
  if (side == "2") return kCopper2;
  err << "--side " << side << ": expected 1 or 2\n";
  return std::nullopt;
}

std::optional<TReferenceHoles> parseReferenceHoles(const CliArguments& args, std::ostream& err) {
  TReferenceHoles holes;
  if (!args.has("--ref-holes")) return holes;
  holes.bottomLeft = false;
  const std::string list = args.value("--ref-holes");
  if (list == "none") return holes;
  std::stringstream in(list);
  std::string corner;
  while (std::getline(in, corner, ',')) {
    if (corner == "BL")
      holes.bottomLeft = true;
    else if (corner == "BR")
      holes.bottomRight = true;
    else if (corner == "TL")
      holes.topLeft = true;
    else if (corner == "TR")
      holes.topRight = true;
    else {
      err << "--ref-holes " << list << ": expected corners BL, BR, TL, TR or none\n";
      return std::nullopt;
    }
  }
  return holes;
}

std::optional<TMirror> parseMirror(const CliArguments& args, std::ostream& err) {
  const std::string m = args.value("--mirror", "none");
  if (m == "none") return TMirror::kNone;
  if (m == "x") return TMirror::kX;
  if (m == "y") return TMirror::kY;
  err << "--mirror " << m << ": expected none, x or y\n";
  return std::nullopt;
}

std::optional<int32_t> parseChannelWidth(const CliArguments& args, std::ostream& err) {
  const auto mm = parseNumberOption(args, "--channel", 0.0, 0.0, 4.99, err);
  if (!mm) return std::nullopt;
  return static_cast<int32_t>(std::nearbyint(*mm * 100));
}

std::optional<uint64_t> parseMemoryBudget(const CliArguments& args, std::ostream& err) {
  const auto mb = parseNumberOption(
      args, "--memory-budget", double(kDefaultContourMemoryBudget >> 20), 0.01, 1048576.0, err);
  if (!mb) return std::nullopt;
  return static_cast<uint64_t>(*mb * 1048576.0);
}

}  // namespace plavesk
