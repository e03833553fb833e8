#include "editing/tools/drawing_settings.h"

#include <algorithm>
#include <cmath>

#include "view/units.h"

namespace plavesk {

namespace {

double clampValue(double v, double lo, double hi) {
  if (std::isnan(v)) return lo;
  return std::clamp(v, lo, hi);
}

// The first `count` characters of a UTF-8 text (a broken sequence counts
// byte by byte).
std::string firstCharacters(const std::string& text, size_t count) {
  size_t i = 0;
  for (size_t n = 0; i < text.size() && n < count; ++n) {
    const auto lead = uint8_t(text[i]);
    size_t len = lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
    for (size_t k = 1; k < len; ++k)
      if (i + k >= text.size() || (uint8_t(text[i + k]) & 0xC0) != 0x80) len = 1;
    i += len;
  }
  return text.substr(0, i);
}

}  // namespace

TPolygonSettings limited(TPolygonSettings s) {
  s.corners = std::clamp(s.corners, 3, 99);
  s.radiusMm = clampValue(s.radiusMm, 0.5, 99.9);
  s.offsetDeg = clampValue(s.offsetDeg, -180.0, 180.0);
  s.widthMm = clampValue(s.widthMm, 0.0, 99.9);
  return s;
}

std::vector<TPoint> polygonCorners(const TPolygonSettings& settings) {
  const TPolygonSettings s = limited(settings);
  std::vector<TPoint> corners;
  corners.reserve(size_t(s.corners) + 1);
  for (int k = 0; k <= s.corners; ++k) {
    const double theta = (360.0 / s.corners * k + s.offsetDeg) * M_PI / 180.0;
    corners.push_back({roundToUnit(std::cos(theta) * s.radiusMm * 100),
                       roundToUnit(std::sin(theta) * s.radiusMm * 100)});
  }
  return corners;
}

int32_t polygonLineWidth(const TPolygonSettings& settings) {
  return roundToUnit(limited(settings).widthMm * 100);
}

TArcSettings limited(TArcSettings s) {
  s.startDeg = std::clamp(s.startDeg, 0, 359);
  s.stopDeg = std::clamp(s.stopDeg, 0, 359);
  s.diameterMm = clampValue(s.diameterMm, 0.1, 99.9);
  return s;
}

TFontTextSettings limited(TFontTextSettings s) {
  s.text = firstCharacters(s.text, kMaxFontTextLength);
  s.heightMm = clampValue(s.heightMm, 1.0, 99.9);
  s.orientation = std::clamp(s.orientation, 0, 3);
  return s;
}

TTextSettings limited(TTextSettings s) {
  s.text = firstCharacters(s.text, kMaxDialogTextLength);
  s.height = clampValue(s.height, 0.1, 50.0);
  s.thickness = std::clamp(s.thickness, int(kThin), int(kBold));
  s.spacing = std::clamp(s.spacing, int(kNarrow), int(kWide));
  s.orientation = std::clamp(s.orientation, 0, 3);
  s.startValue = std::clamp(s.startValue, 0, 9999);
  return s;
}

}  // namespace plavesk
