#include "output/excellon_texts.h"

#include <algorithm>
#include <array>

namespace plavesk {

TExcellonDialogTexts excellonDialogTexts(int language) {
  const size_t l = size_t(std::clamp(language, 0, 2));
  auto pick = [l](std::array<const char*, 3> t) { return std::string(t[l]); };
  TExcellonDialogTexts t;
  t.title = pick({"Bohrdaten exportieren", "Excellon export", "Exportation Excellon"});
  t.intro =
      pick({"Bohrdaten werden in das EXCELLON-Format exportiert.",
            "Drill data uses EXCELLON format.", "Les données de perçage sont au format EXCELLON."});
  t.originGroup = pick({"Bohrkoordinaten", "Origin of coordinates", "Coordonnées d´origines"});
  t.fromBottom = pick({"Von unten bohren (x-gespiegelt)", "Drill from bottom-side (x-mirrored)",
                       "Perçage de la face 2 (inversée-x)"});
  t.fromTop = pick({"Von oben bohren", "Drill from top-side", "Perçage de la face 1"});
  t.unitGroup = pick({"Einheit der Bohrdatei", "Unit of drill file", "Unité de mesure"});
  t.mm = "mm";
  t.mmNote = "(format 3.3 )";
  t.inch = pick({"Zoll", "Inch", "Inch"});
  t.inchNote = "(format 2.4)";
  t.removeLeadingZeros =
      pick({"Führende Nullen entfernen", "Delete leading zeros", "Effacer zéros d´entête"});
  t.ok = "&OK";
  t.cancel = pick({"&Abbrechen", "&Cancel", "&Annuler"});
  return t;
}

std::string excellonFileFilter() {
  return "Bohrdaten (*.drl)|*.drl";
}

}  // namespace plavesk
