#include "editing/command_table.h"

#include <algorithm>

namespace plavesk {

bool isEnabled(TEnableRule rule, const TCommandStates& s) {
  switch (rule) {
    case TEnableRule::always:
      return true;
    case TEnableRule::board:
      return s.board;
    case TEnableRule::selection:
      return s.selection;
    case TEnableRule::paste:
      return s.paste;
    case TEnableRule::buildGroup:
      return s.buildGroup;
    case TEnableRule::splitGroup:
      return s.splitGroup;
    case TEnableRule::undo:
      return s.undo;
    case TEnableRule::redo:
      return s.redo;
    case TEnableRule::zoomPrevious:
      return s.zoomPrevious;
    case TEnableRule::boardBefore:
      return s.boardBefore;
    case TEnableRule::boardAfter:
      return s.boardAfter;
    case TEnableRule::circleSelected:
      return s.circleSelected;
    case TEnableRule::bands:
      return s.bands;
    case TEnableRule::elements:
      return s.elements;
    case TEnableRule::severalBoards:
      return s.severalBoards;
    case TEnableRule::node:
      return s.node;
    case TEnableRule::nodeRemovable:
      return s.nodeRemovable;
    case TEnableRule::nodeSplittable:
      return s.nodeSplittable;
  }
  return false;
}

const char* refusalOf(TEnableRule rule) {
  switch (rule) {
    case TEnableRule::always:
      return "";
    case TEnableRule::board:
      return "no active board";
    case TEnableRule::selection:
      return "nothing is selected";
    case TEnableRule::paste:
      return "the clipboard is empty";
    case TEnableRule::buildGroup:
      return "select elements of more than one group";
    case TEnableRule::splitGroup:
      return "no selected element belongs to a group";
    case TEnableRule::undo:
      return "nothing to undo";
    case TEnableRule::redo:
      return "nothing to redo";
    case TEnableRule::zoomPrevious:
      return "no earlier view";
    case TEnableRule::boardBefore:
      return "the board is the first";
    case TEnableRule::boardAfter:
      return "the board is the last";
    case TEnableRule::circleSelected:
      return "no circle is selected";
    case TEnableRule::bands:
      return "the board has no rubber bands";
    case TEnableRule::elements:
      return "the board is empty";
    case TEnableRule::severalBoards:
      return "the layout has only one board";
    case TEnableRule::node:
      return "no corner was chosen";
    case TEnableRule::nodeRemovable:
      return "a track or area keeps at least two corners";
    case TEnableRule::nodeSplittable:
      return "a track is split at a corner between its ends";
  }
  return "";
}

const char* refusalOf(TEnableRule rule, const TCommandStates& states) {
  const bool nodeRule = rule == TEnableRule::nodeRemovable || rule == TEnableRule::nodeSplittable;
  return refusalOf(nodeRule && !states.node ? TEnableRule::node : rule);
}

namespace {

using R = TEnableRule;
using I = IconId;
constexpr TText kNoHint{nullptr, nullptr, nullptr};

// A menu entry: caption, hint and shortcut.
constexpr TCommand menu(std::string_view id, std::string_view action, TText caption,
                        std::string_view shortcut = {}, R rule = R::always, bool pending = false,
                        TText hint = kNoHint, I icon = I::None, bool checkable = false) {
  return TCommand{id, action, {}, caption, hint, shortcut, icon, rule, pending, checkable};
}
// A menu entry that also has a button of its own (in the status bar).
constexpr TCommand withControl(TCommand command, std::string_view control) {
  command.control = control;
  return command;
}
// A tool-panel button: its hint is its caption.
constexpr TCommand button(std::string_view id, std::string_view control, TText hint, I icon,
                          bool pending = true) {
  return TCommand{id,        {},      control, {nullptr, nullptr, nullptr}, hint, {}, icon,
                  R::always, pending, true};
}
// A runner action without a control of its own.
constexpr TCommand script(std::string_view id, std::string_view action, TText caption,
                          R rule = R::always) {
  return TCommand{id, action, {}, caption, kNoHint, {}, I::None, rule, false, false};
}

// clang-format off
constexpr TCommand kCommands[] = {
  // --- File ---
  menu("file.new", "", {"&Neu...", "&New...", "&Nouveau..."}, {}, R::always, false,
       {"Neu|Neues Layout anlegen", "New|Create a new layout", "Nouveau|Créer un nouveau tracé"},
       I::New),
  menu("file.open", "", {"Ö&ffnen...", "&Open...", "&Ouvrir..."}, {}, R::always, false,
       {"Öffnen|Layout-Datei öffnen", "Open|Open a layout file", "Ouvrir|Ouvrir un fichier tracé"},
       I::Open),
  menu("file.save", "", {"&Speichern", "&Save", "&Enregistrer"}, {}, R::always, false,
       {"Speichern|Layout speichern", "Save|Save the layout", "Enregistrer|Enregistrer le tracé"},
       I::Save),
  menu("file.saveAs", "", {"Speichern &unter...", "S&ave as...", "Enregistrer &sous..."}),
  menu("file.saveMacro", "macro-save",
       {"als &Makro speichern...", "Save as &macro...", "Enregistrer comme &macro..."}, {},
       R::always),
  menu("file.autoSave", "", {"&Autospeichern...", "&AutoSave...", "S&auvegarde auto..."}),
  menu("export.gerber", "", {"&Gerber-Format...", "&Gerber export...", "Export &Gerber..."}, {},
       R::board),
  menu("export.drill", "",
       {"&Bohrdaten (Excellon)...", "&Drill data (Excellon)...", "&Données de perçage (Excellon)..."},
       {}, R::board),
  menu("export.bmp", "", {"Bitmap (*.bmp)...", "Bitmap (*.bmp)...", "Bitmap (*.bmp)..."}),
  menu("export.gif", "", {"GIF (*.gif)...", "GIF (*.gif)...", "GIF (*.gif)..."}),
  menu("export.emf", "", {"EMF (*.emf)...", "EMF (*.emf)...", "EMF (*.emf)..."}),
  menu("export.isolation", "",
       {"Isolationsfräsen... (HPGL, *.plt)", "Isolation milling (HPGL, *.plt)",
        "Fraisage d´isolation (HPGL, *.plt)"},
       {}, R::board),
  menu("export.outline", "",
       {"Platinenkontur... (HPGL, *.plt)", "PCB outline milling (HPGL, *.plt)",
        "Fraisage du contour (HPGL, *.plt)"},
       {}, R::board),
  menu("file.directories", "", {"Arbeitsverzeichnisse...", "Directories...", "Répertoires..."}, {},
       R::always),
  menu("file.printerSetup", "",
       {"D&rucker einrichten...", "P&rinter Setup...", "&Configuration imprimante..."}, {},
       R::always, false),
  menu("file.print", "", {"&Drucken...", "&Print...", "&Imprimer..."}, {}, R::board, false,
       {"Drucken|Ausdruck des aktuellen Layouts", "Print|Print the current layout",
        "Imprimer|Imprimer le tracé actuel"},
       I::Print),
  menu("file.recent1", "", {"Zuletzt geöffnet 1", "Recent file 1", "Fichier récent 1"}),
  menu("file.recent2", "", {"Zuletzt geöffnet 2", "Recent file 2", "Fichier récent 2"}),
  menu("file.recent3", "", {"Zuletzt geöffnet 3", "Recent file 3", "Fichier récent 3"}),
  menu("file.recent4", "", {"Zuletzt geöffnet 4", "Recent file 4", "Fichier récent 4"}),
  menu("file.exit", "", {"&Beenden", "E&xit", "Sor&tir"}),

  // --- Edit ---
  menu("edit.undo", "undo", {"Rückgängig", "&Undo", "&Retour en arrière"}, "Ctrl+Z", R::undo,
       false,
       {"Rückgängig|Letzte Änderung rückgängig machen", "Undo|Undo the last change",
        "Retour en arrière|Annuler la dernière modification"},
       I::Undo),
  menu("edit.redo", "redo", {"Wiederherstellen", "&Redo", "&Retour en avant"}, "Ctrl+Y", R::redo,
       false,
       {"Wiederherstellen|Rückgängig gemachte Änderung wiederherstellen",
        "Redo|Redo the undone change", "Retour en avant|Rétablir la modification annulée"},
       I::Redo),
  menu("edit.copy", "copy", {"&Kopieren", "&Copy", "&Copier"}, "Ctrl+C", R::selection, false,
       {"Kopieren|Markierte Elemente kopieren", "Copy|Copy the selected objects",
        "Copier|Copier les objets sélectionnés"},
       I::Copy),
  menu("edit.cut", "cut", {"&Ausschneiden", "Cu&t", "C&ouper"}, "Ctrl+X", R::selection, false,
       {"Ausschneiden|Markierte Elemente ausschneiden", "Cut|Cut the selected objects",
        "Couper|Couper les objets sélectionnés"},
       I::Cut),
  // Paste and Duplicate place the block with the mouse in the window; the
  // runner's forms place it at once.
  menu("edit.paste", "paste", {"&Einfügen", "&Paste", "Co&ller"}, "Ctrl+V", R::paste, false,
       {"Einfügen|Elemente aus der Zwischenablage einfügen", "Paste|Paste objects from the clipboard",
        "Coller|Coller les objets du presse-papiers"},
       I::Paste),
  menu("edit.duplicate", "duplicate", {"&Duplizieren", "&Duplicate", "&Dupliquer"}, "Ctrl+D",
       R::selection, false,
       {"Duplizieren|Markierte Elemente duplizieren", "Duplicate|Duplicate the selected objects",
        "Dupliquer|Dupliquer les objets sélectionnés"},
       I::Duplicate),
  menu("edit.delete", "delete", {"&Löschen  [Entf]", "&Delete  [Del]", "&Effacer  [Suppr]"}, {},
       R::selection, false,
       {"Löschen|Markierte Elemente löschen", "Delete|Delete the selected objects",
        "Effacer|Effacer les objets sélectionnés"},
       I::Delete),
  menu("edit.selectAll", "select-all", {"Alles &markieren", "Select &all", "&Tout sélectionner"},
       "Ctrl+A", R::elements),

  // --- Board ---
  menu("board.add", "add-board",
       {"&Neue Platine...", "&Add new board...", "&Ajouter nouvelle carte..."}),
  withControl(menu("board.properties", "", {"Platine &einrichten...", "&Properties...", "&Propriétés..."}, {},
       R::board), "SB_PlatinenGroesse"),
  menu("board.delete", "delete-board",
       {"Platine &löschen...", "&Delete board...", "&Effacer carte..."}, {}, R::severalBoards),
  menu("board.toEnd", "", {"Platine ganz nach &rechts", "Set board to &right",
                           "Carte tout à &droite"}, {}, R::boardAfter),
  menu("board.toStart", "", {"Platine ganz nach lin&ks", "Set board to &left",
                             "Carte tout à &gauche"}, {}, R::boardBefore),
  menu("board.right", "", {"Platine eins nach rechts", "Move board to &right",
                           "Déplacer carte à droite"}, {}, R::boardAfter),
  menu("board.left", "", {"Platine eins nach links", "Move board to &left",
                          "Déplacer carte à gauche"}, {}, R::boardBefore),
  menu("board.import", "", {"Pla&tinen nachladen...", "&Import boards from file...",
                            "&Importer cartes depuis fichier..."}),

  // --- Functions ---
  menu("fn.rotate", "rotate", {"R&otieren", "&Rotate", "&Pivoter"}, "Ctrl+R", R::selection, false,
       {"Rotieren|Markierte Elemente um 90° drehen", "Rotate|Rotate the selected objects by 90°",
        "Pivoter|Pivoter les objets sélectionnés de 90°"},
       I::Rotate),
  menu("fn.mirrorH", "mirror-h", {"&Horizontal spiegeln", "Mirror &horizontal", "Miroir &horizontal"},
       "Ctrl+H", R::selection, false,
       {"Horizontal spiegeln|Markierte Elemente horizontal spiegeln",
        "Mirror horizontal|Mirror the selected objects horizontally",
        "Miroir horizontal|Miroir horizontal des objets sélectionnés"},
       I::MirrorH),
  menu("fn.mirrorV", "mirror-v", {"&Vertikal spiegeln", "Mirror &vertical", "Miroir &vertical"}, "Ctrl+T",
       R::selection, false,
       {"Vertikal spiegeln|Markierte Elemente vertikal spiegeln",
        "Mirror vertical|Mirror the selected objects vertically",
        "Miroir vertical|Miroir vertical des objets sélectionnés"},
       I::MirrorV),
  menu("fn.segment", "segment", {"&Kreisbogen...", "&Segment...", "&Segment..."}, {},
       R::circleSelected, false),
  menu("fn.group", "group", {"&Gruppieren", "Build &group", "&Grouper"}, "Ctrl+G", R::buildGroup,
       false,
       {"Gruppieren|Markierte Elemente gruppieren", "Build group|Group the selected objects",
        "Grouper|Grouper les objets sélectionnés"},
       I::Group),
  menu("fn.ungroup", "ungroup", {"Gruppierung auf&heben", "Split gro&up", "&Dégrouper"}, "Ctrl+U",
       R::splitGroup, false,
       {"Gruppierung aufheben|Gruppierung der Markierung aufheben",
        "Split group|Split the selected group", "Dégrouper|Dégrouper la sélection"},
       I::Ungroup),
  menu("fn.changeSide", "change-side", {"Auf andere Platinenseite setzen", "Change board side",
                             "Changer de face"}, "Ctrl+W", R::selection, false),
  // The heading of the submenu that holds the four layer entries.
  menu("fn.setLayer", "set-layer", {"Setze auf Layer ", "Set to layer", "Mettre sur couche"}, {},
       R::selection),
  menu("fn.setLayer1", "", {"K1", "C1", "C1"}, {}, R::selection),
  menu("fn.setLayer2", "", {"B1", "S1", "S1"}, {}, R::selection),
  menu("fn.setLayer3", "", {"K2", "C2", "C2"}, {}, R::selection),
  menu("fn.setLayer4", "", {"B2", "S2", "S2"}, {}, R::selection),
  menu("fn.adjustGrid", "snap-to-grid", {"Am &Raster ausrichten", "&Adjust to grid", "&Aligner sur la grille"},
       {}, R::selection, false,
       {"Am Raster ausrichten|Markierte Elemente am Raster ausrichten",
        "Adjust to grid|Snap the selected objects to the grid",
        "Aligner sur la grille|Aligner les objets sur la grille"},
       I::SnapGrid),
  menu("fn.removeConnections", "clear-bands",
       {"&Luftlinien entfernen", "&Remove connections (rubberbands)",
        "&Enlever connexions (chevelu)"},
       {}, R::bands, false,
       {"Luftlinien entfernen|Entfernt alle Luftlinien, die bereits durch das Layout verbunden sind",
        "Remove connections|Remove rubberbands whose pads are joined",
        "Enlever connexions|Enlever le chevelu des pastilles reliées"},
       I::RemoveConnections),
  // Every band of the board with the autorouter window's width and clearance,
  // as a long job with a progress window.
  menu("fn.routeAll", "route-all",
       {"Alle Luftlinien verlegen", "Route all rubberbands", "Router tout le chevelu"}, {},
       R::bands),
  menu("fn.deleteOutside", "delete-outside",
       {"Lösche Elemente ausserhalb", "Delete elements outside", "Effacer éléments extérieurs"},
       {}, R::board),
  // The node menu of a track or area corner (right click on the corner).
  menu("node.remove", "node-remove", {"Knoten entfernen", "Remove corner", "Supprimer le sommet"}, {},
       R::nodeRemovable),
  menu("node.add", "node-add", {"Neuer Knoten", "Add corner", "Ajouter un sommet"}, {}, R::node),
  menu("node.snap", "node-snap",
       {"Knoten am Raster ausrichten", "Adjust corner to grid", "Aligner le sommet sur la grille"},
       {}, R::node),
  menu("node.split", "node-split", {"Leiterbahn auftrennen", "Split track", "Couper la piste"}, {},
       R::nodeSplittable),
  // Context menu of the view: the origin goes to the snapped point where the
  // menu was opened.
  menu("view.setOrigin", "", {"Nullpunkt setzen", "Set origin", "Définir l'origine"}, {},
       R::board),
  // Tool-bar button without a menu entry of its own.
  TCommand{"tb.align", "align", {}, {nullptr, nullptr, nullptr},
           {"Ausrichten|Markierte Elemente ausrichten", "Align elements|Align the selected objects",
            "Aligner|Aligner les objets sélectionnés"},
           {}, I::Align, R::buildGroup, false, false},
  // Its drop-down (AusrichtenPopup), tags 1..6.
  menu("fn.align1", "", {"Oben ausrichten", "Align top", "Aligner en haut"}, {}, R::buildGroup),
  menu("fn.align2", "", {"Unten ausrichten", "Align bottom", "Aligner en bas"}, {}, R::buildGroup),
  menu("fn.align3", "", {"Links ausrichten", "Align left", "Aligner à gauche"}, {}, R::buildGroup),
  menu("fn.align4", "", {"Rechts ausrichten", "Align right", "Aligner à droite"}, {}, R::buildGroup),
  menu("fn.align5", "", {"Horizontal-Mittig ausrichten", "Align horizontal-centre",
                         "Centrer horizontalement"}, {}, R::buildGroup),
  menu("fn.align6", "", {"Vertikal-Mittig ausrichten", "Align vertical-centre",
                         "Centrer verticalement"}, {}, R::buildGroup),
  // The pad-shape menu (LAForm_Popup), tags 1..9, and through-pad mode (F12
  // in the drawing area).
  menu("pad.shape1", "", {"Rund", "Circular", "Ronde"}, {}, R::always, false, kNoHint, I::None, true),
  menu("pad.shape2", "", {"Octagon", "Octagon", "Octogone"}, {}, R::always, false, kNoHint, I::None,
       true),
  menu("pad.shape3", "", {"Quadratisch", "Square", "Carrée"}, {}, R::always, false, kNoHint,
       I::None, true),
  menu("pad.shape4", "", {"Abgegrundet, quer", "Rounded, horizontal", "Arrondie, horizontale"}, {},
       R::always, false, kNoHint, I::None, true),
  menu("pad.shape5", "", {"Octagon, quer", "Octagon, horizontal", "Octogone, horizontale"}, {},
       R::always, false, kNoHint, I::None, true),
  menu("pad.shape6", "", {"Rechteck, quer", "Rectangle, horizontal", "Rectangle, horizontale"}, {},
       R::always, false, kNoHint, I::None, true),
  menu("pad.shape7", "", {"Abgerundet, hoch", "Rounded, vertical", "Arrondie, verticale"}, {},
       R::always, false, kNoHint, I::None, true),
  menu("pad.shape8", "", {"Octagon, hoch", "Octagon, vertical", "Octogone, verticale"}, {},
       R::always, false, kNoHint, I::None, true),
  menu("pad.shape9", "", {"Rechteck, hoch", "Rectangle, vertical", "Rectangle, verticale"}, {},
       R::always, false, kNoHint, I::None, true),
  menu("pad.through", "through-pad", {"Durchkontaktierung", "Through pad", "Pastille traversante"},
       {}, R::always, false, kNoHint, I::None, true),

  // --- Options ---
  menu("opt.template", "", {"&Vorlage...", "&Scanned copy...", "&Copie scannée..."}, {}, R::board,
       false,
       {"Vorlage|Eingescannte Vorlage einblenden", "Scanned copy|Show a scanned copy under the layout",
        "Copie scannée|Afficher une copie scannée sous le tracé"},
       I::Template),
  menu("opt.showMacros", "",
       {"&Makrobibliothek anzeigen", "Show &Macro library", "Afficher bibliothèque de &macros"}, {},
       R::always, false,
       {"Makrobibliothek|Makrobibliothek ein- und ausblenden",
        "Macro library|Show or hide the macro library",
        "Bibliothèque de macros|Afficher ou masquer les macros"},
       I::Macros, true),
  menu("opt.macroFolder", "",
       {"Makro-Stammverzeichnis...", "Macro directory...", "Répertoire des macros..."}, {},
       R::always),
  menu("opt.undoDepth", "undo-depth", {"Undo-Tiefe...", "UNDO depth...", "Profondeur UNDO..."}),
  withControl(menu("opt.groundPlane", "ground-plane", {"&AutoMasse", "&GroundPlane", "Plan de &masse"}, {},
       R::board, false, kNoHint, I::None, true), "SB_AutoMasse"),
  menu("opt.rulerMm", "", {"&MM", "&MM", "&MM"}, {}, R::always, false, kNoHint, I::None, true),
  menu("opt.rulerInch", "", {"&Zoll", "&Inch", "&Pouce"}, {}, R::always, false, kNoHint, I::None,
       true),
  menu("opt.showBoardZoom", "",
       {"Platinen-Zoom anzeigen", "Show board zoom", "Afficher zoom carte"}, {}, R::always, false,
       kNoHint, I::None, true),
  menu("opt.showGrid", "", {"Raster sichtbar", "Show grid", "Afficher grille"}, {}, R::always,
       false, kNoHint, I::None, true),
  menu("opt.gridMarking0", "", {"Aus", "Off", "Arrêt"}, {}, R::always, false, kNoHint, I::None,
       true),
  menu("opt.gridMarking2", "", {"2", "2", "2"}, {}, R::always, false, kNoHint, I::None, true),
  menu("opt.gridMarking4", "", {"4", "4", "4"}, {}, R::always, false, kNoHint, I::None, true),
  menu("opt.gridMarking5", "", {"5", "5", "5"}, {}, R::always, false, kNoHint, I::None, true),
  menu("opt.gridMarking10", "", {"10", "10", "10"}, {}, R::always, false, kNoHint, I::None, true),
  menu("opt.repaint", "", {"&Neuzeichnen", "&Repaint", "&Redessiner"}, {}, R::always, false,
       {"Neuzeichnen|Ansicht neu zeichnen", "Repaint|Repaint the view",
        "Redessiner|Redessiner la vue"},
       I::Repaint),
  menu("opt.zoomBoard", "", {"Zoom &Platine", "Zoom &board", "Zoom &carte"}, {}, R::board, false,
       {"Zoom Platine|Ganze Platine anzeigen", "Zoom board|Show the whole board",
        "Zoom carte|Afficher toute la carte"},
       I::ZoomBoard),
  menu("opt.zoomObjects", "", {"Zoom &Objekte", "Zoom &objects", "Zoom &objets"}, {}, R::elements,
       false,
       {"Zoom Objekte|Alle Elemente anzeigen", "Zoom objects|Show all objects",
        "Zoom objets|Afficher tous les objets"},
       I::ZoomObjects),
  menu("opt.zoomSelection", "", {"Zoom Mar&kierung", "Zoom &selection", "Zoom &sélection"}, {},
       R::selection, false,
       {"Zoom Markierung|Markierte Elemente anzeigen", "Zoom selection|Show the selected objects",
        "Zoom sélection|Afficher les objets sélectionnés"},
       I::ZoomSelection),
  menu("opt.zoomPrevious", "", {"Zoom vorher", "Zoom previous", "Zoom précédent"}, {},
       R::zoomPrevious, false,
       {"Zoom vorher|Vorherige Ansicht", "Zoom previous|Back to the previous view",
        "Zoom précédent|Revenir à la vue précédente"},
       I::ZoomPrevious),
  menu("opt.colours", "", {"&Farben definieren...", "Define colors...", "Définir couleurs..."}, {},
       R::always),
  menu("opt.projectInfo", "", {"Projektinfo...", "Project info...", "Infos projet..."}, {},
       R::always, false,
       {"Projektinfo|Informationen zum Projekt", "Project info|Information about the project",
        "Infos projet|Informations sur le projet"},
       I::ProjectInfo),
  menu("opt.hints", "", {"&Hinweistexte", "Show &hints", "Afficher &info-bulles"}, {}, R::always,
       false, kNoHint, I::None, true),

  // --- Layer ---
  withControl(menu("layer.active1", "", {"&Kupferseite  (1)", "&Copper (1)", "&Cuivre (1)"}, {}, R::board,
       false, kNoHint, I::None, true), "RB_K1"),
  withControl(menu("layer.active2", "", {"&Bestückung  (1)", "&Silk screen (1)", "&Sérigraphie (1)"}, {},
       R::board, false, kNoHint, I::None, true), "RB_B1"),
  withControl(menu("layer.active3", "", {"K&upferseite  (2)", "&Copper (2)", "C&uivre (2)"}, {}, R::board,
       false, kNoHint, I::None, true), "RB_K2"),
  withControl(menu("layer.active4", "", {"B&estückung  (2)", "&Silk screen (2)", "S&érigraphie (2)"}, {},
       R::board, false, kNoHint, I::None, true), "RB_B2"),
  withControl(menu("layer.visible1", "", {"&Kupferseite  (1)", "&Copper (1)", "&Cuivre (1)"}, {}, R::board,
       false, kNoHint, I::None, true), "SB_K1"),
  withControl(menu("layer.visible2", "", {"&Bestückung  (1)", "&Silk screen (1)", "&Sérigraphie (1)"}, {},
       R::board, false, kNoHint, I::None, true), "SB_B1"),
  withControl(menu("layer.visible3", "", {"K&upferseite  (2)", "&Copper (2)", "C&uivre (2)"}, {}, R::board,
       false, kNoHint, I::None, true), "SB_K2"),
  withControl(menu("layer.visible4", "", {"B&estückung  (2)", "&Silk screen (2)", "S&érigraphie (2)"}, {},
       R::board, false, kNoHint, I::None, true), "SB_B2"),
  // The "?" button beside the layer switches: the layer information window.
  withControl(menu("layer.info", "", {"LayerInfo...", "LayerInfo...", "Information couches..."}, {},
       R::always, false,
       {"LayerInfo|Die Layer einer Platine im Schnitt", "LayerInfo|The layers of a board in section",
        "Information couches|Les couches d'une carte en coupe"}), "SB_LayerInfo"),

  // --- ? ---
  menu("help.topics", "", {"&Hilfethemen...", "&Index...", "&Index..."}, {}, R::always),
  menu("help.update", "", {"Internet Update...", "Internet Update...", "Mise à jour Internet..."},
       {}, R::always),
  menu("help.info", "", {"I&nfo...", "I&nfo...", "I&nfo..."}),

  // --- Tool panel ---
  button("tool.edit", "SB_Standard",
         {"Standard|Objekte markieren, verschieben, löschen", "Edit|Select, move and delete objects",
          "Editer|Sélectionner, déplacer, effacer des objets"},
         I::Edit, false),
  button("tool.zoom", "SB_Zoom",
         {"Zoom|Ansicht vergrössern und verkleinern", "Zoom|Zoom in and out",
          "Zoom|Agrandir et réduire la vue"},
         I::Zoom, false),
  button("tool.track", "SB_Line",
         {"Leiterbahn|Leiterbahnen zeichnen", "Track|Draw tracks", "Piste|Dessiner des pistes"},
         I::Track, false),
  button("tool.pad", "SB_Circle",
         {"Lötauge|Lötaugen platzieren", "Pad|Place pads", "Pastille|Placer des pastilles"},
         I::Pad, false),
  TCommand{"tool.padShape", "pad-shape", "SB_PadShape", {nullptr, nullptr, nullptr},
           {"Lötaugenform|Form der Lötaugen wählen", "Pad shape|Choose the pad shape",
            "Forme de pastille|Choisir la forme des pastilles"},
           {}, I::PadShape, R::always, false, false},
  button("tool.circle", "SB_Ring",
         {"Kreisring|Kreise und Bögen zeichnen", "Circle|Draw circles and arcs",
          "Cercle|Dessiner des cercles et des arcs"},
         I::Circle, false),
  button("tool.area", "SB_Polygon",
         {"Fläche|Flächen zeichnen", "Zone|Draw areas", "Zone|Dessiner des zones"}, I::Area, false),
  button("tool.text", "SB_LineText",
         {"Text|Texte platzieren", "Text|Place texts", "Texte|Placer des textes"}, I::Text,
         false),
  button("tool.grid", "SB_Raster",
         {"Raster|Aktuelles Raster", "Grid|Current grid", "Grille|Grille actuelle"}, I::None,
         false),
  button("tool.test", "SB_Test",
         {"Testen|Test-Modus zum Prüfen verbundener Layoutelemente",
          "Test|Test mode to check connected layout elements",
          "Test|Mode test pour vérifier les éléments reliés"},
         I::Test, false),
  button("tool.connect", "SB_Connect",
         {"Luftlinien erstellen|Erstellen von Verbindungen mittels Luftlinien, nochmaliges "
          "Verbinden löscht eine bestehende Luftlinie",
          "Connections|Draw rubberbands to mark connections",
          "Connexions|Dessiner le chevelu pour marquer les connexions"},
         I::Connect, false),
  button("tool.polygon", "SB_Vieleck",
         {"Vieleck|Regelmässige Vielecke platzieren", "Polygon|Place regular polygons",
          "Polygone|Placer des polygones réguliers"},
         I::Polygon, false),
  button("tool.autoroute", "SB_AutoRoute",
         {"Autoroute|Autorouter zum Routen von Luftlinien", "Autoroute|Autorouter for rubberbands",
          "Routeur automatique|Routeur automatique du chevelu"},
         I::Autoroute, false),
  button("tool.measure", "SB_Messen",
         {"Messen|Abstände messen", "Measure|Measure distances", "Mesurer|Mesurer des distances"},
         I::Measure, false),
  button("tool.smd", "SB_SMDPad",
         {"SMD-Pad|SMD-Pads platzieren", "SMD-Pad|Place SMD pads",
          "SMD-Pad|Placer des pastilles CMS"},
         I::SmdPad, false),
  button("tool.photo", "SB_RealAnsicht",
         {"Fotoansicht|Platine wie gefertigt anzeigen", "Photoview|Show the board as manufactured",
          "Vue photo|Afficher la carte telle que fabriquée"},
         I::Photo, false),
  button("tool.trackList", "SB_LineContainer",
         {"Leiterbahnbreiten|Containerfunktion für Leiterbahnen", "Track widths|Track container",
          "Largeurs de piste|Conteneur des pistes"},
         I::ValueList, false),
  button("tool.padList", "SB_LoetaugenContainer",
         {"Lötaugengrössen|Containerfunktion für Lötaugen", "Pad sizes|Pad container",
          "Tailles de pastille|Conteneur des pastilles"},
         I::ValueList, false),
  button("tool.smdList", "SB_SMDContainer",
         {"SMD-Grössen|Containerfunktion für SMD-Pads", "SMD sizes|SMD-Pad container",
          "Tailles CMS|Conteneur des pastilles CMS"},
         I::ValueList, false),
  TCommand{"view.rulerUnit", {}, "SB_Einheit", {nullptr, nullptr, nullptr},
           {"Linealeinheit|Zwischen mm und Zoll umschalten", "Ruler unit|Switch between mm and inch",
            "Unité des règles|Basculer entre mm et pouce"},
           {}, I::None, R::always, false, false},

  // --- Runner actions without a control of their own ---
  script("script.board", "board", {"Platine wählen", "Choose board", "Choisir carte"}),
  script("script.selectAt", "select-at",
         {"Element markieren", "Select element", "Sélectionner élément"}, R::board),
  script("script.deselect", "deselect",
         {"Markierung aufheben", "Deselect all", "Désélectionner tout"}, R::board),
  script("script.macroInsert", "macro-insert",
         {"Makro einfügen", "Insert macro", "Insérer macro"}, R::board),
  script("script.macroDrop", "macro-drop",
         {"Makro ablegen", "Drop macro", "Déposer macro"}, R::board),
  script("script.autorouteOptions", "autoroute-options",
         {"Autorouter-Einstellungen", "Autorouter settings", "Réglages du routeur"}, R::board),
  script("script.connect", "connect",
         {"Luftlinie ziehen", "Draw rubberband", "Dessiner connexion"}, R::board),
  script("script.testAt", "test-at",
         {"Verbindung testen", "Test connection", "Tester connexion"}, R::board),
  script("script.route", "route", {"Luftlinie verlegen", "Route rubberband", "Router connexion"},
         R::board),
  script("script.unroute", "unroute",
         {"Verlegung aufheben", "Unroute track", "Dérouter piste"}, R::board),
  script("script.layer", "layer", {"Aktiver Layer", "Active layer", "Couche active"}, R::board),
  // Toggles a layer as its button SB_K1 .. SB_B2 does.
  script("script.visible", "visible", {"Sichtbarer Layer", "Visible layer", "Couche visible"},
         R::board),
  // The drawing area driven by a script: tool buttons, zoom, mouse and keys.
  script("script.tool", "tool", {"Werkzeug wählen", "Choose tool", "Choisir outil"}, R::board),
  script("script.zoom", "zoom", {"Zoomfaktor", "Zoom factor", "Facteur de zoom"}, R::board),
  script("script.press", "press", {"Maustaste drücken", "Press mouse button",
                                   "Appuyer bouton souris"}, R::board),
  script("script.move", "move", {"Maus bewegen", "Move mouse", "Déplacer souris"}, R::board),
  script("script.release", "release", {"Maustaste loslassen", "Release mouse button",
                                       "Relâcher bouton souris"}, R::board),
  script("script.click", "click", {"Klicken", "Click", "Cliquer"}, R::board),
  script("script.dblclick", "dblclick", {"Doppelklicken", "Double-click", "Double-cliquer"},
         R::board),
  script("script.key", "key", {"Taste drücken", "Press key", "Appuyer touche"}, R::board),
  script("script.keydown", "keydown", {"Taste niederdrücken", "Key down", "Touche enfoncée"},
         R::board),
  script("script.keyup", "keyup", {"Taste loslassen", "Key up", "Touche relâchée"}, R::board),
  // A value typed into a field of the tool panel, or a grid chosen.
  script("script.set", "set", {"Wert eingeben", "Set value", "Saisir valeur"}, R::board),
  script("script.undoAll", "undo-all", {"Alles rückgängig", "Undo all", "Tout annuler"}),
  script("script.textOptions", "text-options", {"Layout-Text", "Layout-text", "Layout-texte"}),
  script("script.polygonOptions", "polygon-options",
         {"Vieleck generieren", "Create polygon", "Créer un polygone"}),
  script("script.measureReadout", "measure-readout",
         {"Messwerte", "Measured values", "Valeurs mesurées"}),
  // The buttons of the macro library panel.
  TCommand{"macro.hide", {}, "SB_MakroAusblenden", {nullptr, nullptr, nullptr},
           {"Ausblenden|Makrobibliothek ausblenden", "Hide macros|Hide the macro library",
            "Masquer|Masquer la bibliothèque de macros"},
           {}, I::None, R::always, false, false},
  TCommand{"macro.folder", {}, "SB_MakroOrdner", {nullptr, nullptr, nullptr},
           {"Makro-Unterverzeichnisse|Liste aller Makro-Unterverzeichnisse",
            "Macro-subdirectories|List of all macro-subdirectories",
            "Sous-répertoires|Liste de tous les sous-répertoires de macros"},
           {}, I::None, R::always, false, false},
  TCommand{"macro.root", {}, "SB_MakroStamm", {nullptr, nullptr, nullptr},
           {"Makro-Stammverzeichnis|Auswählen eines neuen Makro-Stammverzeichnisses",
            "Select macro-directory|Select a new macro root-directory",
            "Répertoire des macros|Choisir un nouveau répertoire des macros"},
           {}, I::None, R::always, false, false},
  TCommand{"macro.side", {}, "SB_SeiteWechseln", {nullptr, nullptr, nullptr},
           {"Seite wechseln|Wechselt die Layer des Makros", "Change side|Change layers of the macro",
            "Changer de face|Change les couches de la macro"},
           {}, I::None, R::always, false, true},
  TCommand{"macro.mirror", {}, "SB_MakroSpiegeln", {nullptr, nullptr, nullptr},
           {"Makro spiegeln|Spiegelt das Makro", "Mirror|Mirrors the macro",
            "Miroir|Retourne la macro"},
           {}, I::None, R::always, false, true},
  TCommand{"macro.save", {}, "SB_MakroSpeichern", {nullptr, nullptr, nullptr},
           {"Als Makro speichern|Speichert das markierte Layout als Makro",
            "Add macro|Save selected objects or whole layout as macro",
            "Ajouter macro|Sauvegarder la sélection ou tout le tracé comme macro"},
           {}, I::None, R::always, false, false},
  TCommand{"macro.delete", {}, "SB_MakroLoeschen", {nullptr, nullptr, nullptr},
           {"Makro löschen|Löscht das in der Liste gewähle Makro vom Datenträger",
            "Delete macro|Remove selected macro from disk",
            "Effacer macro|Efface du disque la macro choisie"},
           {}, I::None, R::always, false, false},
  TCommand{"macro.throughPads", {}, "SB_Durchkontaktiert", {nullptr, nullptr, nullptr},
           {"Durchkontaktiert|Alle Lötaugen des Makros als Durchkontaktierungen",
            "Through-Pads|All pads as through-pads",
            "Trous métallisés|Toutes les pastilles en trous métallisés"},
           {}, I::None, R::always, false, true},
  // The cutout button of the ground-plane field in the status bar.
  TCommand{"tool.cutout", "cutout", "SB_Sperrflaeche", {nullptr, nullptr, nullptr},
           {"Sperrflächen|Sperrflächen in der AutoMasse erzeugen",
            "Cutout|Generate cutout-areas in the ground plane",
            "Zones interdites|Créer des zones interdites dans le plan de masse"},
           {}, I::None, R::board, false, true},
};
// clang-format on

}  // namespace

std::span<const TCommand> commandTable() {
  return kCommands;
}

const TCommand* findCommand(std::string_view id) {
  for (const TCommand& c : kCommands)
    if (c.id == id) return &c;
  return nullptr;
}

const TCommand* findCommandForAction(std::string_view action) {
  if (action.empty()) return nullptr;
  for (const TCommand& c : kCommands)
    if (c.action == action) return &c;
  return nullptr;
}

const TCommand* findCommandForControl(std::string_view control) {
  if (control.empty()) return nullptr;
  for (const TCommand& c : kCommands)
    if (c.control == control) return &c;
  return nullptr;
}

bool hasHint(const TCommand& command) {
  return command.hint.de != nullptr;
}

std::string_view commandCaption(const TCommand& command, int language) {
  if (command.caption.de) return pickText(language, command.caption);
  if (!hasHint(command)) return {};
  std::string_view hint = pickText(language, command.hint);
  return hint.substr(0, hint.find('|'));
}

}  // namespace plavesk
