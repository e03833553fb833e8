#include "routing/route_texts.h"

namespace plavesk {

std::string routeText(TRouteText text, int language) {
  struct Variants {
    const char* german;
    const char* english;
    const char* french;
  };
  static constexpr Variants kTexts[] = {
      {" Bereit", "Ready", "Prêt"},
      {"Analysiere...", "Analyzing...", "Analyse..."},
      {"Kein Weg gefunden", "Not found", "Non trouvé"},
      {"Erfolgreich", "Successful", "Routage OK"},
      {"Autoroute aufgelöst", "Autoroute resolved", "Routage annulé"},
  };
  const Variants& v = kTexts[int(text)];
  return language == 1 ? v.english : language == 2 ? v.french : v.german;
}

}  // namespace plavesk
