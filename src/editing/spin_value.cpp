#include "editing/spin_value.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace plavesk {

namespace {

// Round to nearest with halves to the even neighbour (the default mode).
double roundTo4(double v) {
  return std::nearbyint(v * 10000) / 10000;
}

double roundToMultiple(double v, double unit) {
  if (unit <= 0) return v;
  return std::nearbyint(v / unit) * unit;
}

}  // namespace

double TSpinRange::limit(double v) const {
  if (std::isnan(v)) v = min;
  return std::clamp(roundTo4(v), min, max);
}

std::optional<double> readDecimalPrefix(std::string_view text) {
  std::string s(text);
  std::replace(s.begin(), s.end(), ',', '.');
  size_t i = s.find_first_not_of(" \t");
  if (i == std::string::npos) return std::nullopt;
  bool negative = false;
  if (s[i] == '+' || s[i] == '-') {
    negative = s[i] == '-';
    ++i;
  }
  // Only digits or a decimal point may start the number: from_chars would
  // otherwise take "inf" and "nan".
  if (i >= s.size() || !(std::isdigit(static_cast<unsigned char>(s[i])) || s[i] == '.'))
    return std::nullopt;
  double v = 0;
  const auto result = std::from_chars(s.data() + i, s.data() + s.size(), v);
  if (result.ec == std::errc::invalid_argument) return std::nullopt;
  if (result.ec == std::errc::result_out_of_range) v = HUGE_VAL;
  return negative ? -v : v;
}

double readSpinText(std::string_view text, const TSpinRange& range) {
  const std::optional<double> v = readDecimalPrefix(text);
  return v ? range.limit(*v) : range.min;
}

std::string formatSpinValue(double v, const TSpinRange& range) {
  char buffer[64];
  const int decimals = std::clamp(range.decimals, 0, 10);
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, range.limit(v),
                                    std::chars_format::fixed, decimals);
  std::string out(buffer, result.ptr);
  if (out.starts_with("-") && out.find_first_not_of("-0.") == std::string::npos) out.erase(0, 1);
  return out;
}

double spinClick(double value, const TSpinRange& range, bool up, bool ctrl) {
  const double sign = up ? 1 : -1;
  if (!ctrl) return range.limit(value + sign * range.step);
  const double unit = 5 * range.step;
  return range.limit(roundToMultiple(value + sign * unit, unit));
}

int spinDragSteps(int pixelsUp) {
  const int q = pixelsUp / 4;
  return q * std::abs(q);
}

double spinDrag(double value, const TSpinRange& range, int pixelsUp, bool ctrl) {
  const int steps = spinDragSteps(pixelsUp);
  if (steps == 0) return value;
  if (!ctrl) return range.limit(value + steps * range.step);
  const double unit = 5 * range.step;
  return range.limit(roundToMultiple(value + steps * unit, unit));
}

}  // namespace plavesk
