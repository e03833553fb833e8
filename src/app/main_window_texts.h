// The captions, hints and messages of the main window in German, English and
// French that are not commands (those stand in the command table). A hint is
// "short|long": the short part is the tooltip, the long part goes to the
// status line.
#pragma once

#include "app/language.h"

namespace plavesk::texts {

inline constexpr const char* kProgramTitle = "Plavesk 4.0";
inline constexpr const char* kProgramName = "Plavesk";

// --- menus ---
inline constexpr TText kMenuFile{"&Datei", "&File", "&Fichier"};
inline constexpr TText kMenuEdit{"&Bearbeiten", "&Edit", "&Edition"};
inline constexpr TText kMenuBoard{"&Platine", "&Board", "&Carte"};
inline constexpr TText kMenuFunctions{"&Funktionen", "F&unctions", "F&onctions"};
inline constexpr TText kMenuOptions{"&Optionen", "&Options", "&Options"};
inline constexpr TText kMenuLayer{"&Layer", "&Layer", "Couche"};
inline constexpr TText kMenuHelp{"&?", "&?", "&?"};

inline constexpr TText kFileExport{"&Exportieren", "E&xport", "E&xporter"};
inline constexpr TText kExportMilling{"Fräsdateien", "Milling files", "Fichiers de fraisage"};
inline constexpr TText kFnSetLayer{"Setze auf Layer", "Set to layer", "Mettre sur couche"};

inline constexpr TText kOptRulers{"Lineal&einheit", "&Rulers", "&Règles"};
inline constexpr TText kOptGridMarking{"Rastermarkierung", "Subdivisions", "Subdivisions"};

inline constexpr TText kLayerActive{"&Aktiver Layer", "&Active layer", "Couche &active"};
inline constexpr TText kLayerVisible{"&Sichtbare Layer", "&Visible layers", "Couches &visibles"};
inline constexpr TText kLayerShort[4]{
    {"K1", "C1", "C1"}, {"B1", "S1", "S1"}, {"K2", "C2", "C2"}, {"B2", "S2", "S2"}};

// --- tool panel ---
inline constexpr TText kFieldTrackWidth{"Leiterbahnbreite|Aktuelle Leiterbahnbreite",
                                        "Track width|Track width",
                                        "Largeur de piste|Largeur de piste actuelle"};
inline constexpr TText kFieldPadOuter{"Aussendurchmesser|Aktueller Aussendurchmesser des Lötauges",
                                      "Outside|Pad outside diameter",
                                      "Extérieur|Diamètre extérieur de la pastille"};
inline constexpr TText kFieldPadDrill{"Bohrung|Aktuelle Bohrung des Lötauges",
                                      "Drilling|Pad drilling diameter",
                                      "Perçage|Diamètre de perçage de la pastille"};
inline constexpr TText kFieldSmdWidth{"Breite|Aktuelle Breite des SMD-Pads", "Width|SMD-Pad width",
                                      "Largeur|Largeur de la pastille CMS"};
inline constexpr TText kFieldSmdHeight{"Höhe|Aktuelle Höhe des SMD-Pads", "Height|SMD-Pad height",
                                       "Hauteur|Hauteur de la pastille CMS"};
inline constexpr TText kBoardZoomHint{
    "Platinen-Zoom|Links: Zoom +, rechts: Zoom -, Rechteck ziehen: Ausschnitt verschieben",
    "Board zoom|Left: zoom +, right: zoom -, drag the frame to scroll",
    "Zoom carte|Gauche: zoom +, droite: zoom -, déplacer le cadre pour défiler"};

// --- status bar ---
inline constexpr TText kStatusVisible{"sichtbar", "visible", "visible"};
inline constexpr TText kStatusActive{"aktiv", "active", "active"};
inline constexpr TText kHintLayerVisible{"Sichtbar|Layer ein- oder ausblenden (F5..F8)",
                                         "Visible|Show or hide the layer (F5..F8)",
                                         "Visible|Afficher ou masquer la couche (F5..F8)"};
inline constexpr TText kHintLayerActive{"Aktiv|Aktiven Layer wählen (F1..F4)",
                                        "Active|Choose the active layer (F1..F4)",
                                        "Active|Choisir la couche active (F1..F4)"};
inline constexpr TText kHintBoardSize{"Platinengrösse|Grösse der Platine einstellen",
                                      "Board size|Set the board size",
                                      "Taille de carte|Régler la taille de la carte"};
inline constexpr TText kHintGroundPlane{"AutoMasse|Massefläche ein- und ausschalten",
                                        "Ground plane|Switch the ground plane on or off",
                                        "Plan de masse|Activer ou désactiver le plan de masse"};
inline constexpr TText kAutosaveStatus{"Autosave...", "Autosave...", "Autosave..."};

// --- messages ---
inline constexpr TText kSaveQuestion{"Möchten Sie das aktuelle Layout speichern ?", "Save changes?",
                                     "Sauvegarder changements ?"};
inline constexpr TText kFileNotFound{"Datei nicht gefunden", "File not found!",
                                     "Fichier non trouvé"};
inline constexpr TText kRecentNotFound{"Datei nicht gefunden", "File not found",
                                       "Fichier non trouvé !"};
inline constexpr TText kOpenTitle{"Öffnen", "Open", "Ouvrir"};
inline constexpr TText kSaveAsTitle{"Speichern unter", "Save as", "Enregistrer sous"};
inline constexpr TText kLayoutFilter{"Layout-Dateien (*.lay);;Alle Dateien (*)",
                                     "Layout files (*.lay);;All files (*)",
                                     "Fichiers Layout (*.lay);;Tous les fichiers (*)"};
inline constexpr TText kDeleteBoardBefore{"Möchten Sie die Platine ", "Delete board ",
                                          "Effacer carte "};
inline constexpr TText kDeleteBoardAfter{" wirklich löschen?", " ?", " ?"};
inline constexpr TText kLastBoard{"Die letzte Platine kann nicht gelöscht werden.",
                                  "A project must at least contains one board.",
                                  "Un projet doit contenir au moins une carte."};

}  // namespace plavesk::texts
