#include "output/excellon_export.h"

#include <charconv>
#include <cmath>
#include <unordered_map>

#include "document/file_io.h"

namespace plavesk {

namespace {

constexpr const char* kEol = "\r\n";

// Units per inch: 0.1 inch is 254 units.
constexpr double kUnitsPerInch = 2540.0;

std::string toolNumber(size_t k) {
  std::string n = std::to_string(k);
  return n.size() < 2 ? "0" + n : n;
}

}  // namespace

bool isDrilledPad(const TObjekt& e) {
  if (e.kind != kPad || e.dim2 <= 0) return false;
  if (e.layer == kCopper1) return true;
  // The side-2 half of a through pad is drilled through its partner.
  return e.layer == kCopper2 && e.padLink == nullptr;
}

std::vector<TDrillTool> collectDrillTools(const TObjektList& elements) {
  std::vector<TDrillTool> tools;
  std::unordered_map<int32_t, size_t> byDiameter;
  for (const auto& e : elements) {
    if (!isDrilledPad(*e)) continue;
    const int32_t d = 2 * e->dim2;
    auto [it, inserted] = byDiameter.try_emplace(d, tools.size());
    if (inserted) tools.push_back(TDrillTool{d, {}});
    tools[it->second].holes.push_back(e.get());
  }
  return tools;
}

std::string excellonCoordinate(int64_t units, const TExcellonOptions& options) {
  const int64_t n =
      options.inch ? int64_t(std::nearbyint(double(units) / kUnitsPerInch * 1000.0)) : units;
  std::string digits = std::to_string(n) + "0";
  if (n < 0 || !options.leadingZeros) return digits;
  if (digits.size() < 6) return std::string(6 - digits.size(), '0') + digits;
  return digits.substr(digits.size() - 6);
}

std::string excellonDiameter(int32_t units, const TExcellonOptions& options) {
  const double value = options.inch ? std::nearbyint(units / kUnitsPerInch * 1000.0) / 1000.0
                                    : std::nearbyint(double(units)) / 100.0;
  char buffer[32];
  auto [end, ec] =
      std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 4);
  std::string text(buffer, end);
  // Without a point a reader takes the number in the coordinate format.
  if (text.find_first_of(".e") == std::string::npos) text += ".0";
  return text;
}

std::string excellonText(const TObjektList& elements, const TBoardRecord& board,
                         const TExcellonOptions& options) {
  const std::vector<TDrillTool> tools = collectDrillTools(elements);
  std::string s;
  auto line = [&s](const std::string& text) {
    s += text;
    s += kEol;
  };
  line("; Drill file");
  line(options.inch ? "; Format: 2.4 (00.0000)" : "; Format: 3.3 (000.000)");
  line("M48");
  // Readers take a bare METRIC for another number format; TZ is right for
  // both zero settings since trailing zeros are always written.
  line(options.inch ? "INCH" : "METRIC,TZ");
  for (size_t k = 0; k < tools.size(); ++k)
    line("T" + toolNumber(k + 1) + "C" + excellonDiameter(tools[k].diameter, options));
  line("%");
  line("G05");
  line("G90");
  for (size_t k = 0; k < tools.size(); ++k) {
    line("T" + toolNumber(k + 1));
    for (const TObjekt* hole : tools[k].holes) {
      const int64_t x = options.fromBottom ? int64_t(board.width) - hole->x : hole->x;
      const int64_t y = int64_t(hole->y) + board.height;
      line("X" + excellonCoordinate(x, options) + "Y" + excellonCoordinate(y, options));
    }
  }
  line("M30");
  return s;
}

bool writeExcellonFile(const std::string& path, const TObjektList& elements,
                       const TBoardRecord& board, const TExcellonOptions& options,
                       std::string& error) {
  const std::string text = excellonText(elements, board, options);
  return writeFileAtomically(path, std::vector<uint8_t>(text.begin(), text.end()), error);
}

}  // namespace plavesk
