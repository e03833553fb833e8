#include "output/contour_texts.h"

#include <array>

namespace plavesk {
namespace {

int languageIndex(int language) {
  return language >= 0 && language <= 2 ? language : 1;
}

}  // namespace

std::string contourProgressTitle(int language) {
  static const std::array<const char*, 3> kTitle = {"Umrisserstellung", "Isolation outlines",
                                                    "Isolation outlines"};
  return kTitle[languageIndex(language)];
}

std::string contourStepLabel(TContourStep step, int language) {
  static const std::array<std::array<const char*, 3>, kContourStepCount> kLabels = {{
      {"Erstelle Segmente", "Create segments", "Create segments"},
      {"Berechne Vektoren", "Calculate vectors", "Calculate vectors"},
      {"Erstelle Vektorliste", "Create vector list", "Create vector list"},
      {"Erstelle Umrisse", "Create outlines", "Create outlines"},
      {"Optimiere Umrisse", "Optimize outlines", "Optimize outlines"},
  }};
  const int s = static_cast<int>(step);
  if (s < 0 || s >= kContourStepCount) return {};
  return kLabels[s][languageIndex(language)];
}

}  // namespace plavesk
