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

std::string contourMemoryMessage(size_t crossings, uint64_t budget, int language) {
  // Thousands grouped, so that a count in the millions reads at a glance.
  auto grouped = [](uint64_t v, char separator) {
    std::string digits = std::to_string(v), out;
    for (size_t i = 0; i < digits.size(); ++i) {
      if (i > 0 && (digits.size() - i) % 3 == 0) out += separator;
      out += digits[i];
    }
    return out;
  };
  const uint64_t mb = budget >> 20;
  const bool counted = crossings > 0;
  switch (language) {
    case 0:
      return (counted ? "Das Kupfer hat mindestens " + grouped(crossings, '.') +
                            " Kreuzungen von Umrisskanten: Die"
                      : std::string("Die")) +
             " Isolationskonturen brauchten mehr als das Speicherlimit von " + grouped(mb, '.') +
             " MB. Es wurde nichts geschrieben.";
    case 2:
      return (counted ? "Le cuivre a au moins " + grouped(crossings, ' ') +
                            " croisements d'arêtes de contour : les"
                      : std::string("Les")) +
             " contours d'isolation dépasseraient la limite de mémoire de " + grouped(mb, ' ') +
             " Mo. Rien n'a été écrit.";
    default:
      return (counted ? "The copper has at least " + grouped(crossings, ',') +
                            " crossings of outline edges: its"
                      : std::string("Its")) +
             " isolation contours would need more than the memory budget of " + grouped(mb, ',') +
             " MB. Nothing was written.";
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
