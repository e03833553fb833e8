#include "output/gerber_texts.h"

#include <algorithm>

namespace plavesk {

namespace {

using Three = std::array<const char*, 3>;

size_t lang(int language) {
  return size_t(std::clamp(language, 0, 2));
}

// By TGerberOutput, then language.
constexpr std::array<Three, kGerberOutputCount> kFileNames{{
    {"Kupfer1.GBR", "Copper1.GBR", "Cuivre1.GBR"},
    {"Bestueckung1.GBR", "Silkscreen1.GBR", "Serigraphie1.GBR"},
    {"Kupfer2.GBR", "Copper2.GBR", "Cuivre2.GBR"},
    {"Bestueckung2.GBR", "Silkscreen2.GBR", "Serigraphie2.GBR"},
    {"Loetstop1.GBR", "Soldermask1.GBR", "Masquesoudure1.GBR"},
    {"Loetstop2.GBR", "Soldermask2.GBR", "Masquesoudure2.GBR"},
    {"SMDPads1.GBR", "SMDPads1.GBR", "SMDPads1.GBR"},
    {"SMDPads2.GBR", "SMDPads2.GBR", "SMDPads2.GBR"},
}};

constexpr std::array<Three, kGerberOutputCount> kLayerNames{{
    {"KUPFERSEITE1", "COPPER1", "CUIVRE1"},
    {"BESTUECKUNG1", "SILKSCREEN1", "SERIGRAPHIE1"},
    {"KUPFERSEITE2", "COPPER2", "CUIVRE2"},
    {"BESTUECKUNG2", "SILKSCREEN2", "SERIGRAPHIE2"},
    {"LOETSTOP1", "SOLDERMASK1", "MASQUESOUDURE1"},
    {"LOETSTOP2", "SOLDERMASK2", "MASQUESOUDURE2"},
    {"SMDPads1", "SMDPads1", "SMDPads1"},
    {"SMDPads2", "SMDPads2", "SMDPads2"},
}};

constexpr std::array<Three, kGerberOutputCount> kOutputCaptions{{
    {"K1", "C1", "C1"},
    {"B1", "S1", "S1"},
    {"K2", "C2", "C2"},
    {"B2", "S2", "S2"},
    {"Lötstop K1", "Solder mask C1", "Masque soudure C1"},
    {"Lötstop K2", "Solder mask C2", "Masque soudure C2"},
    {"SMD-Pads K1", "SMD pads C1", "SMD pads C1"},
    {"SMD-Pads K2", "SMD pads C2", "SMD pads C2"},
}};

}  // namespace

std::string gerberFileName(TGerberOutput output, int language) {
  return kFileNames[size_t(output)][lang(language)];
}

std::string gerberLayerName(TGerberOutput output, int language) {
  return kLayerNames[size_t(output)][lang(language)];
}

TGerberDialogTexts gerberDialogTexts(int language) {
  const size_t l = lang(language);
  auto pick = [l](Three t) { return std::string(t[l]); };
  TGerberDialogTexts t;
  t.title = pick({"Gerber-Format exportieren", "Gerber export", "Exportation Gerber"});
  t.intro = pick({"Das Layout wird im Extended-Gerber-Format RS-274X exportiert.",
                  "Plavesk exports Extended-Gerber-Format RS-274X.",
                  "Plavesk exporte le fichier au format Gerber-RS-274X étendu."});
  t.layerGroup = pick({"Layer", "Export", "Exportation"});
  for (size_t i = 0; i < t.outputs.size(); ++i) t.outputs[i] = kOutputCaptions[i][l];
  t.optionsGroup = pick({"Optionen", "Options", "Options"});
  t.mirror = pick({"Ausgabe &spiegeln", "Mirror", "Miroir"});
  t.outline = pick({"&Platinenumriss", "Board outline", "Contour carte"});
  t.punch = pick({"Boh&rungen freistanzen", "Punch drill holes", "Trous de perçage vides"});
  t.mark = pick({"als &Körnung", "Mark drill holes", "Marquer trous de perçage"});
  t.maskGroup =
      pick({"Optionen für Lotstopmaske", "Options for solder mask", "Options masque de soudure"});
  t.invert = pick({"&Invertierte Ausgabe", "&Inverting output", "&Inverser sortie"});
  t.pads = pick({"Lötaugen", "&Pads", "&Pastilles"});
  t.smdPads = "SMD-Pads";
  t.offset = "Offset [mm] :";
  t.ok = pick(
      {"&Exportdatei erstellen...", "Create exp&ort file...", "Creer fichier exp&ortation..."});
  t.close = pick({"S&chließen", "&Close", "&Fermer"});
  return t;
}

std::string gerberMessageCaption(int language) {
  return Three{"Gerberfile im RS274X-Format", "Gerber file (RS274X format)",
               "fichier Gerber (format RS274X)"}[lang(language)];
}

std::string gerberCreatedMessage(int language) {
  return Three{"Datei wurde erfolgreich erstellt.", "File created successfully.",
               "Fichier crée avec succès."}[lang(language)];
}

std::string gerberNotCreatedMessage(int language) {
  return Three{"Datei konnte nicht erstellt werden!", "Can not create file!",
               "Impossible de créer le fichier !"}[lang(language)];
}

std::string gerberFileFilter() {
  return "Gerber-274X (*.gbr)|*.gbr";
}

}  // namespace plavesk
