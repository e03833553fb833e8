#include "output/gerber_options.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>

#include "document/objekt.h"

namespace plavesk {

namespace {

struct OutputRule {
  std::string_view name;
  int layer;
  bool mirror;
  bool outline;
};

// Indexed by TGerberOutput. Side 2 is seen from below, so its outputs are
// mirrored; only the copper files carry the board outline.
constexpr std::array<OutputRule, kGerberOutputCount> kRules{{
    {"K1", kCopper1, false, true},
    {"B1", kSilk1, false, false},
    {"K2", kCopper2, true, true},
    {"B2", kSilk2, true, false},
    {"LStop1", kCopper1, false, false},
    {"LStop2", kCopper2, true, false},
    {"SMD1", kCopper1, false, false},
    {"SMD2", kCopper2, true, false},
}};

const OutputRule& rule(TGerberOutput o) {
  return kRules[size_t(o)];
}

bool equalIgnoringCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
           return lower(x) == lower(y);
         });
}

}  // namespace

std::string_view gerberOutputName(TGerberOutput output) {
  return rule(output).name;
}

std::optional<TGerberOutput> gerberOutputFromName(std::string_view name) {
  for (size_t i = 0; i < kRules.size(); ++i)
    if (equalIgnoringCase(name, kRules[i].name)) return TGerberOutput(i);
  return std::nullopt;
}

int gerberOutputLayer(TGerberOutput output) {
  return rule(output).layer;
}

double maskOffsetFieldValue(double mm) {
  if (!std::isfinite(mm)) mm = kMaskOffsetMin;
  double v = std::clamp(std::nearbyint(mm * 10000.0) / 10000.0, kMaskOffsetMin, kMaskOffsetMax);
  // The field shows two decimals and the export reads the field.
  char text[32];
  auto [end, ec] = std::to_chars(text, text + sizeof text, v, std::chars_format::fixed, 2);
  std::from_chars(text, end, v);
  return v;
}

void TGerberOptions::chooseOutput(TGerberOutput o) {
  output = o;
  mirror = rule(o).mirror;
  outline = rule(o).outline;
  if (isSmdOnlyOutput(o)) {
    punch = false;
    mark = false;
  }
}

void TGerberOptions::setPunch(bool on) {
  if (!punchEnabled()) return;
  punch = on;
  if (!on) mark = false;
}

void TGerberOptions::setMark(bool on) {
  if (markEnabled()) mark = on;
}

TGerberOptions gerberDefaults(TGerberOutput output) {
  TGerberOptions options;
  options.chooseOutput(output);
  return options;
}

}  // namespace plavesk
