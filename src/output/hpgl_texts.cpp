#include "output/hpgl_texts.h"

#include <array>

namespace plavesk {
namespace {

using Texts = std::array<const char*, 3>;

const char* pick(const Texts& texts, int language) {
  return texts[language >= 0 && language <= 2 ? language : 1];
}

}  // namespace

std::string millingEmptyLayerMessage(int language) {
  return pick({"Der gewählte Kupferlayer ist leer", "The selected layer is empty",
               "Der gewählte Kupferlayer ist leer"},
              language);
}

std::string millingCaption(int language) {
  return pick({"Umriss erstellen", "Isolation milling", "Isolation milling"}, language);
}

std::string outlineNothingSelectedMessage(int language) {
  return pick(
      {"Keine Elemente für die Platinenkontur gewählt", "No elements selected for the PCB outline",
       "Keine Elemente für die Platinenkontur gewählt"},
      language);
}

std::string outlineCaption(int language) {
  return pick({"Platinenkontur erstellen", "PCB outline", "PCB outline"}, language);
}

std::string drillAllFileName(int language) {
  return pick({"BOHRUNG.PLT", "DRILLING.PLT", "BOHRUNG.PLT"}, language);
}

std::string drillMilledFileName(int language) {
  return pick({"BOHR_FRS.PLT", "DRIL_MIL.PLT", "DRIL_MIL.PLT"}, language);
}

std::string drillDiameterFileName(int32_t diameter, int language) {
  return pick({"BOHR_", "DRIL_", "BOHR_"}, language) + std::to_string(diameter) + ".PLT";
}

std::string droppedLoopsMessage(size_t count, int language) {
  const std::string n = std::to_string(count);
  switch (language) {
    case 0:
      return n + " Umriss(e) ohne inneren Punkt verworfen: dort kann Kupfer unisoliert bleiben.";
    case 2:
      return n + " contour(s) sans point intérieur écarté(s) : du cuivre peut y rester non isolé.";
    default:
      return n + " outline(s) without an inner point dropped: copper may stay unisolated there.";
  }
}

std::string plungedHolesMessage(size_t count, int language) {
  const std::string n = std::to_string(count);
  switch (language) {
    case 0:
      return n + " Bohrung(en) nicht größer als der Fräser: nur eingestochen.";
    case 2:
      return n + " trou(s) pas plus grand(s) que la fraise : seulement plongé(s).";
    default:
      return n + " hole(s) not larger than the tool: plunged only.";
  }
}

}  // namespace plavesk
