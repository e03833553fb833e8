#include "view/colour_texts.h"

#include <array>
#include <cstddef>

namespace plavesk {

namespace {

using Texts = std::array<const char*, 3>;

const char* pick(const Texts& texts, int language) {
  return texts[size_t(language >= 0 && language <= 2 ? language : 1)];
}

const Texts kLayerButtons[4] = {
    {"K1", "C1", "C1"},
    {"B1", "S1", "S1"},
    {"K2", "C2", "C2"},
    {"B2", "S2", "S2"},
};

// Indexes 6 and 8 are reserved and have no swatch.
const Texts kColourRoles[9] = {
    {"Hintergrund", "Background", "Fond"},
    {"Raster", "Grid", "Grille"},
    {"Kupfer (Seite 1)", "Copper (Side 1)", "Cuivre (Face 1)"},
    {"Bestückung (Seite 1)", "Silkscreen (Side 1)", "Sérigraphie (Face 1)"},
    {"Kupfer (Seite 2)", "Copper (Side 2)", "Cuivre (Face 2)"},
    {"Bestückung (Seite 2)", "Silkscreen (Side 2)", "Sérigraphie (Face 2)"},
    {"", "", ""},
    {"Luftlinie", "Connections", "Connexions"},
    {"", "", ""},
};

const Texts kSchemeNames[4] = {
    {"Standard", "Default", "Défaut"},
    {"User 1", "User 1", "User 1"},
    {"User 2", "User 2", "User 2"},
    {"User 3", "User 3", "User 3"},
};

const Texts kDialogTitle = {"Farben definieren", "Define colors", "Définition des couleurs"};
const Texts kMenuCaption = {"&Farben definieren...", "Define colors...", "Définition des couleurs"};
const Texts kOk = {"&OK", "&OK", "&OK"};
const Texts kCancel = {"&Abbrechen", "&Cancel", "&Annuler"};
const Texts kSaveQuestion = {
    "Sie haben das Farbschema verändert.\nSollen die Änderungen gespeichert werden?",
    "You have changed the colors.\nSave changes?",
    "Vous avez changé les couleurs.\nSauvegarder les modifications ?"};
const Texts kLayerInfoTitle = {"LayerInfo", "LayerInfo", "Information couches"};

}  // namespace

const char* layerButtonCaption(int layer, int language) {
  if (layer < 1 || layer > 4) return "";
  return pick(kLayerButtons[layer - 1], language);
}

const char* colourRoleCaption(int colourIndex, int language) {
  if (colourIndex < 0 || colourIndex > 8) return "";
  return pick(kColourRoles[colourIndex], language);
}

const char* schemeName(int schemeIndex, int language) {
  if (schemeIndex < 0 || schemeIndex > 3) return "";
  return pick(kSchemeNames[schemeIndex], language);
}

const char* colourDialogTitle(int language) {
  return pick(kDialogTitle, language);
}
const char* colourMenuCaption(int language) {
  return pick(kMenuCaption, language);
}
const char* okCaption(int language) {
  return pick(kOk, language);
}
const char* cancelCaption(int language) {
  return pick(kCancel, language);
}
const char* saveSchemeQuestion(int language) {
  return pick(kSaveQuestion, language);
}
const char* layerInfoTitle(int language) {
  return pick(kLayerInfoTitle, language);
}

}  // namespace plavesk
