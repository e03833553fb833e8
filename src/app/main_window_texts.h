// Every caption, hint and message of the main window in German, English and
// French. A hint is "short|long": the short part is the tooltip, the long
// part goes to the status line.
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

inline constexpr TText kFileNew{"&Neu...", "&New...", "&Nouveau..."};
inline constexpr TText kFileOpen{"Ö&ffnen...", "&Open...", "&Ouvrir..."};
inline constexpr TText kFileSave{"&Speichern", "&Save", "&Enregistrer"};
inline constexpr TText kFileSaveAs{"Speichern &unter...", "S&ave as...", "Enregistrer &sous..."};
inline constexpr TText kFileSaveMacro{"als &Makro speichern...", "Save as &macro...",
                                      "Enregistrer comme &macro..."};
inline constexpr TText kFileAutoSave{"&Autospeichern...", "&AutoSave...", "S&auvegarde auto..."};
inline constexpr TText kFileExport{"&Exportieren", "E&xport", "E&xporter"};
inline constexpr TText kExportGerber{"&Gerber-Format...", "&Gerber export...", "Export &Gerber..."};
inline constexpr TText kExportDrill{"&Bohrdaten (Excellon)...", "&Drill data (Excellon)...",
                                    "&Données de perçage (Excellon)..."};
inline constexpr TText kExportBmp{"Bitmap (*.bmp)...", "Bitmap (*.bmp)...", "Bitmap (*.bmp)..."};
inline constexpr TText kExportGif{"GIF (*.gif)...", "GIF (*.gif)...", "GIF (*.gif)..."};
inline constexpr TText kExportEmf{"EMF (*.emf)...", "EMF (*.emf)...", "EMF (*.emf)..."};
inline constexpr TText kExportMilling{"Fräsdateien", "Milling files", "Fichiers de fraisage"};
inline constexpr TText kExportIsolation{"Isolationsfräsen... (HPGL, *.plt)",
                                        "Isolation milling (HPGL, *.plt)",
                                        "Fraisage d´isolation (HPGL, *.plt)"};
inline constexpr TText kExportOutline{"Platinenkontur... (HPGL, *.plt)",
                                      "PCB outline milling (HPGL, *.plt)",
                                      "Fraisage du contour (HPGL, *.plt)"};
inline constexpr TText kFileDirectories{"Arbeitsverzeichnisse...", "Directories...",
                                        "Répertoires..."};
inline constexpr TText kFilePrinterSetup{"D&rucker einrichten...", "P&rinter Setup...",
                                         "&Configuration imprimante..."};
inline constexpr TText kFilePrint{"&Drucken...", "&Print...", "&Imprimer..."};
inline constexpr TText kFileExit{"&Beenden", "E&xit", "Sor&tir"};

inline constexpr TText kEditUndo{"Rückgängig", "&Undo", "&Retour en arrière"};
inline constexpr TText kEditRedo{"Wiederherstellen", "&Redo", "&Retour en avant"};
inline constexpr TText kEditCopy{"&Kopieren", "&Copy", "&Copier"};
inline constexpr TText kEditCut{"&Ausschneiden", "Cu&t", "C&ouper"};
inline constexpr TText kEditPaste{"&Einfügen", "&Paste", "Co&ller"};
inline constexpr TText kEditDuplicate{"&Duplizieren", "&Duplicate", "&Dupliquer"};
inline constexpr TText kEditDelete{"&Löschen  [Entf]", "&Delete  [Del]", "&Effacer  [Suppr]"};
inline constexpr TText kEditSelectAll{"Alles &markieren", "Select &all", "&Tout sélectionner"};

inline constexpr TText kBoardAdd{"&Neue Platine...", "&Add new board...",
                                 "&Ajouter nouvelle carte..."};
inline constexpr TText kBoardProperties{"Platine &einrichten...", "&Properties...",
                                        "&Propriétés..."};
inline constexpr TText kBoardDelete{"Platine &löschen...", "&Delete board...", "&Effacer carte..."};
inline constexpr TText kBoardToEnd{"Platine ganz nach &rechts", "Set board to &right",
                                   "Carte tout à &droite"};
inline constexpr TText kBoardToStart{"Platine ganz nach lin&ks", "Set board to &left",
                                     "Carte tout à &gauche"};
inline constexpr TText kBoardRight{"Platine eins nach rechts", "Move board to &right",
                                   "Déplacer carte à droite"};
inline constexpr TText kBoardLeft{"Platine eins nach links", "Move board to &left",
                                  "Déplacer carte à gauche"};
inline constexpr TText kBoardImport{"Pla&tinen nachladen...", "&Import boards from file...",
                                    "&Importer cartes depuis fichier..."};

inline constexpr TText kFnRotate{"R&otieren", "&Rotate", "&Pivoter"};
inline constexpr TText kFnMirrorH{"&Horizontal spiegeln", "Mirror &horizontal",
                                  "Miroir &horizontal"};
inline constexpr TText kFnMirrorV{"&Vertikal spiegeln", "Mirror &vertical", "Miroir &vertical"};
inline constexpr TText kFnSegment{"&Kreisbogen...", "&Segment...", "&Segment..."};
inline constexpr TText kFnGroup{"&Gruppieren", "Build &group", "&Grouper"};
inline constexpr TText kFnUngroup{"Gruppierung auf&heben", "Split gro&up", "&Dégrouper"};
inline constexpr TText kFnChangeSide{"Auf andere Platinenseite setzen", "Change board side",
                                     "Changer de face"};
inline constexpr TText kFnSetLayer{"Setze auf Layer", "Set to layer", "Mettre sur couche"};
inline constexpr TText kFnAdjustGrid{"Am &Raster ausrichten", "&Adjust to grid",
                                     "&Aligner sur la grille"};
inline constexpr TText kFnRemoveConnections{
    "&Luftlinien entfernen", "&Remove connections (rubberbands)", "&Enlever connexions (chevelu)"};
inline constexpr TText kFnDeleteOutside{"Lösche Elemente ausserhalb", "Delete elements outside",
                                        "Effacer éléments extérieurs"};

inline constexpr TText kOptTemplate{"&Vorlage...", "&Scanned copy...", "&Copie scannée..."};
inline constexpr TText kOptShowMacros{"&Makrobibliothek anzeigen", "Show &Macro library",
                                      "Afficher bibliothèque de &macros"};
inline constexpr TText kOptMacroFolder{"Makro-Stammverzeichnis...", "Macro directory...",
                                       "Répertoire des macros..."};
inline constexpr TText kOptUndoDepth{"Undo-Tiefe...", "UNDO depth...", "Profondeur UNDO..."};
inline constexpr TText kOptGroundPlane{"&AutoMasse", "&GroundPlane", "Plan de &masse"};
inline constexpr TText kOptRulers{"Lineal&einheit", "&Rulers", "&Règles"};
inline constexpr TText kOptRulerMm{"&MM", "&MM", "&MM"};
inline constexpr TText kOptRulerInch{"&Zoll", "&Inch", "&Pouce"};
inline constexpr TText kOptShowBoardZoom{"Platinen-Zoom anzeigen", "Show board zoom",
                                         "Afficher zoom carte"};
inline constexpr TText kOptShowGrid{"Raster sichtbar", "Show grid", "Afficher grille"};
inline constexpr TText kOptGridMarking{"Rastermarkierung", "Subdivisions", "Subdivisions"};
inline constexpr TText kOptGridMarkingOff{"Aus", "Off", "Arrêt"};
inline constexpr TText kOptRepaint{"&Neuzeichnen", "&Repaint", "&Redessiner"};
inline constexpr TText kOptZoomBoard{"Zoom &Platine", "Zoom &board", "Zoom &carte"};
inline constexpr TText kOptZoomObjects{"Zoom &Objekte", "Zoom &objects", "Zoom &objets"};
inline constexpr TText kOptZoomSelection{"Zoom Mar&kierung", "Zoom &selection", "Zoom &sélection"};
inline constexpr TText kOptZoomPrevious{"Zoom vorher", "Zoom previous", "Zoom précédent"};
inline constexpr TText kOptColours{"&Farben definieren...", "Define colors...",
                                   "Définir couleurs..."};
inline constexpr TText kOptProjectInfo{"Projektinfo...", "Project info...", "Infos projet..."};
inline constexpr TText kOptHints{"&Hinweistexte", "Show &hints", "Afficher &info-bulles"};

inline constexpr TText kLayerActive{"&Aktiver Layer", "&Active layer", "Couche &active"};
inline constexpr TText kLayerVisible{"&Sichtbare Layer", "&Visible layers", "Couches &visibles"};
inline constexpr TText kLayerNames[4]{
    {"&Kupferseite  (1)", "&Copper (1)", "&Cuivre (1)"},
    {"&Bestückung  (1)", "&Silk screen (1)", "&Sérigraphie (1)"},
    {"K&upferseite  (2)", "&Copper (2)", "C&uivre (2)"},
    {"B&estückung  (2)", "&Silk screen (2)", "S&érigraphie (2)"},
};
inline constexpr TText kLayerShort[4]{
    {"K1", "C1", "C1"}, {"B1", "S1", "S1"}, {"K2", "C2", "C2"}, {"B2", "S2", "S2"}};

inline constexpr TText kHelpTopics{"&Hilfethemen...", "&Index...", "&Index..."};
inline constexpr TText kHelpUpdate{"Internet Update...", "Internet Update...",
                                   "Mise à jour Internet..."};
inline constexpr TText kHelpInfo{"I&nfo...", "I&nfo...", "I&nfo..."};

// --- tool bar hints ---
inline constexpr TText kHintNew{"Neu|Neues Layout anlegen", "New|Create a new layout",
                                "Nouveau|Créer un nouveau tracé"};
inline constexpr TText kHintOpen{"Öffnen|Layout-Datei öffnen", "Open|Open a layout file",
                                 "Ouvrir|Ouvrir un fichier tracé"};
inline constexpr TText kHintSave{"Speichern|Layout speichern", "Save|Save the layout",
                                 "Enregistrer|Enregistrer le tracé"};
inline constexpr TText kHintPrint{"Drucken|Layout drucken", "Print|Print the layout",
                                  "Imprimer|Imprimer le tracé"};
inline constexpr TText kHintUndo{"Rückgängig|Letzte Änderung rückgängig machen",
                                 "Undo|Undo the last change",
                                 "Retour en arrière|Annuler la dernière modification"};
inline constexpr TText kHintRedo{"Wiederherstellen|Rückgängig gemachte Änderung wiederherstellen",
                                 "Redo|Redo the undone change",
                                 "Retour en avant|Rétablir la modification annulée"};
inline constexpr TText kHintCut{"Ausschneiden|Markierte Elemente ausschneiden",
                                "Cut|Cut the selected objects",
                                "Couper|Couper les objets sélectionnés"};
inline constexpr TText kHintCopy{"Kopieren|Markierte Elemente kopieren",
                                 "Copy|Copy the selected objects",
                                 "Copier|Copier les objets sélectionnés"};
inline constexpr TText kHintPaste{"Einfügen|Elemente aus der Zwischenablage einfügen",
                                  "Paste|Paste objects from the clipboard",
                                  "Coller|Coller les objets du presse-papiers"};
inline constexpr TText kHintDelete{"Löschen|Markierte Elemente löschen",
                                   "Delete|Delete the selected objects",
                                   "Effacer|Effacer les objets sélectionnés"};
inline constexpr TText kHintDuplicate{"Duplizieren|Markierte Elemente duplizieren",
                                      "Duplicate|Duplicate the selected objects",
                                      "Dupliquer|Dupliquer les objets sélectionnés"};
inline constexpr TText kHintRotate{"Rotieren|Markierte Elemente um 90° drehen",
                                   "Rotate|Rotate the selected objects by 90°",
                                   "Pivoter|Pivoter les objets sélectionnés de 90°"};
inline constexpr TText kHintMirrorH{"Horizontal spiegeln|Markierte Elemente horizontal spiegeln",
                                    "Mirror horizontal|Mirror the selected objects horizontally",
                                    "Miroir horizontal|Miroir horizontal des objets sélectionnés"};
inline constexpr TText kHintMirrorV{"Vertikal spiegeln|Markierte Elemente vertikal spiegeln",
                                    "Mirror vertical|Mirror the selected objects vertically",
                                    "Miroir vertical|Miroir vertical des objets sélectionnés"};
inline constexpr TText kHintAlign{"Ausrichten|Markierte Elemente ausrichten",
                                  "Align|Align the selected objects",
                                  "Aligner|Aligner les objets sélectionnés"};
inline constexpr TText kHintSnap{"Am Raster ausrichten|Markierte Elemente am Raster ausrichten",
                                 "Adjust to grid|Snap the selected objects to the grid",
                                 "Aligner sur la grille|Aligner les objets sur la grille"};
inline constexpr TText kHintRemoveConnections{
    "Luftlinien entfernen|Verbundene Luftlinien entfernen",
    "Remove connections|Remove rubberbands whose pads are joined",
    "Enlever connexions|Enlever le chevelu des pastilles reliées"};
inline constexpr TText kHintGroup{"Gruppieren|Markierte Elemente gruppieren",
                                  "Build group|Group the selected objects",
                                  "Grouper|Grouper les objets sélectionnés"};
inline constexpr TText kHintUngroup{"Gruppierung aufheben|Gruppierung der Markierung aufheben",
                                    "Split group|Split the selected group",
                                    "Dégrouper|Dégrouper la sélection"};
inline constexpr TText kHintZoomBoard{"Zoom Platine|Ganze Platine anzeigen",
                                      "Zoom board|Show the whole board",
                                      "Zoom carte|Afficher toute la carte"};
inline constexpr TText kHintZoomObjects{"Zoom Objekte|Alle Elemente anzeigen",
                                        "Zoom objects|Show all objects",
                                        "Zoom objets|Afficher tous les objets"};
inline constexpr TText kHintZoomSelection{"Zoom Markierung|Markierte Elemente anzeigen",
                                          "Zoom selection|Show the selected objects",
                                          "Zoom sélection|Afficher les objets sélectionnés"};
inline constexpr TText kHintZoomPrevious{"Zoom vorher|Vorherige Ansicht",
                                         "Zoom previous|Back to the previous view",
                                         "Zoom précédent|Revenir à la vue précédente"};
inline constexpr TText kHintRepaint{"Neuzeichnen|Ansicht neu zeichnen", "Repaint|Repaint the view",
                                    "Redessiner|Redessiner la vue"};
inline constexpr TText kHintTemplate{"Vorlage|Eingescannte Vorlage einblenden",
                                     "Scanned copy|Show a scanned copy under the layout",
                                     "Copie scannée|Afficher une copie scannée sous le tracé"};
inline constexpr TText kHintMacros{"Makrobibliothek|Makrobibliothek ein- und ausblenden",
                                   "Macro library|Show or hide the macro library",
                                   "Bibliothèque de macros|Afficher ou masquer les macros"};
inline constexpr TText kHintProjectInfo{"Projektinfo|Informationen zum Projekt",
                                        "Project info|Information about the project",
                                        "Infos projet|Informations sur le projet"};

// --- tool panel ---
inline constexpr TText kToolEdit{"Standard|Objekte markieren, verschieben, löschen",
                                 "Edit|Select, move and delete objects",
                                 "Editer|Sélectionner, déplacer, effacer des objets"};
inline constexpr TText kToolZoom{"Zoom|Ansicht vergrössern und verkleinern", "Zoom|Zoom in and out",
                                 "Zoom|Agrandir et réduire la vue"};
inline constexpr TText kToolTrack{"Leiterbahn|Leiterbahnen zeichnen", "Track|Draw tracks",
                                  "Piste|Dessiner des pistes"};
inline constexpr TText kToolPad{"Lötauge|Lötaugen platzieren", "Pad|Place pads",
                                "Pastille|Placer des pastilles"};
inline constexpr TText kToolPadShape{"Lötaugenform|Form der Lötaugen wählen",
                                     "Pad shape|Choose the pad shape",
                                     "Forme de pastille|Choisir la forme des pastilles"};
inline constexpr TText kToolCircle{"Kreisring|Kreise und Bögen zeichnen",
                                   "Circle|Draw circles and arcs",
                                   "Cercle|Dessiner des cercles et des arcs"};
inline constexpr TText kToolArea{"Fläche|Flächen zeichnen", "Zone|Draw areas",
                                 "Zone|Dessiner des zones"};
inline constexpr TText kToolText{"Text|Texte platzieren", "Text|Place texts",
                                 "Texte|Placer des textes"};
inline constexpr TText kToolGrid{"Raster|Aktuelles Raster", "Grid|Current grid",
                                 "Grille|Grille actuelle"};
inline constexpr TText kToolTest{"Test|Verbundene Elemente anzeigen",
                                 "Test|Show the connected copper", "Test|Afficher le cuivre relié"};
inline constexpr TText kToolConnect{"Luftlinie|Luftlinien zeichnen",
                                    "Connections|Draw rubberband connections",
                                    "Connexion|Dessiner le chevelu"};
inline constexpr TText kToolPolygon{"Vieleck|Regelmässige Vielecke platzieren",
                                    "Polygon|Place regular polygons",
                                    "Polygone|Placer des polygones réguliers"};
inline constexpr TText kToolAutoroute{"Autoroute|Luftlinien automatisch verlegen",
                                      "Autoroute|Route rubberbands automatically",
                                      "Routeur automatique|Router le chevelu automatiquement"};
inline constexpr TText kToolMeasure{"Messen|Abstände messen", "Measure|Measure distances",
                                    "Mesurer|Mesurer des distances"};
inline constexpr TText kToolSmd{"SMD-Pad|SMD-Pads platzieren", "SMD-Pad|Place SMD pads",
                                "SMD-Pad|Placer des pastilles CMS"};
inline constexpr TText kToolTrackList{"Leiterbahnbreiten|Liste der Leiterbahnbreiten",
                                      "Track widths|List of track widths",
                                      "Largeurs de piste|Liste des largeurs de piste"};
inline constexpr TText kToolPadList{"Lötaugengrössen|Liste der Lötaugengrössen",
                                    "Pad sizes|List of pad sizes",
                                    "Tailles de pastille|Liste des tailles de pastille"};
inline constexpr TText kToolSmdList{"SMD-Grössen|Liste der SMD-Pad-Grössen",
                                    "SMD sizes|List of SMD-pad sizes",
                                    "Tailles CMS|Liste des tailles de pastille CMS"};
inline constexpr TText kToolPhoto{"Fotoansicht|Platine wie gefertigt anzeigen",
                                  "Photoview|Show the board as manufactured",
                                  "Vue photo|Afficher la carte telle que fabriquée"};
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
inline constexpr TText kRulerUnitHint{"Linealeinheit|Zwischen mm und Zoll umschalten",
                                      "Ruler unit|Switch between mm and inch",
                                      "Unité des règles|Basculer entre mm et pouce"};

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
inline constexpr TText kSetOrigin{"Nullpunkt setzen", "Set origin", "Définir l´origine"};

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
