#include "editing/view_hints.h"

#include "editing/tools/tool_state.h"

namespace plavesk {

namespace {

// clang-format off
constexpr TText kHintNode{
    "|Knotenpunkte anklicken und verschieben.\rLöschen und Einfügen von Knotenpunkten mit rechter Maustaste",
    "|Move corners\rUse right mouse button to add/delete corners",
    "|Déplacer angles\rUtilisez le bouton droit de la souris pour ajouter/enlever des angles"};
constexpr TText kHintEditFrame{
    "|Standard: Markierungsrechteck wählen",
    "|Select: Draw a frame to select objects.",
    "|Sélection: dessinez un cadre pour sélectionner les objets."};
constexpr TText kHintEdit{
    "|Standard: Objekte markieren, verschieben, löschen, kopieren, einfügen.\r<Leertaste> = Zoomen",
    "|Edit: Select, move, delete, copy or paste objects.\r<SPACE>=Zoom",
    "|Editer: Sélectionner, déplacer, effacer, copier ou coller objets.\r<ESPACE>=Zoom"};
constexpr TText kHintTrackDrawing{
    "|Leiterbahn: Nächsten Endpunkt wählen, oder beenden mit rechter Maustaste.\r"
    "Mit der Leertaste den Abknickmodus wählen, mit der STRG-Taste den Rasterfang ausschalten.",
    "|Track: Click to next point or abort with right mouse button.\r"
    "Use CTRL to turn capture off. Use SPACE to switch bend mode.",
    "|Piste: Cliquez sur le point suivant ou annulez avec un click sur le bouton droit de la souris.\r"
    "Utilisez la touche CTRL pour désactiver l´effet de la grille. Utilisez la barre ESPACE pour modifier le tracé."};
constexpr TText kHintTrack{
    "|Leiterbahn: Startpunkt wählen mit linker Maustaste",
    "|Track: Click to start point",
    "|Piste: Cliquez à l´endroit de départ"};
constexpr TText kHintPad{
    "|Lötauge: Platzieren mit linker Maustaste, abbrechen mit rechter Maustaste",
    "|Pad: Click to add a pad, abort with right mouse button",
    "|Pastille: Cliquez pour ajouter une pastille, annuler avec un click sur le bouton droit de la souris"};
constexpr TText kHintZoomFrame{
    "|Zoom: Darzustellenden Bereich wählen",
    "|Zoom: Select range",
    "|Zoom: Sélection niveau"};
constexpr TText kHintZoom{
    "|Zoom: Links = Zoom +, Rechts = Zoom -, ziehen = Bereich wählen",
    "|Zoom: Left=Zoom + / Right=Zoom - / Select range",
    "|Zoom: Gauche=Zoom + / Droite=Zoom - / Sélection niveau"};
constexpr TText kHintAreaDrawing{
    "|Fläche: Nächsten Eckpunkt wählen, oder beenden mit rechter Maustaste\r"
    "Mit der Leertaste den Abknickmodus wählen, mit der STRG-Taste den Rasterfang ausschalten.",
    "|Area: Click to next point or abort with right mouse button.\r"
    "Use CTRL to turn capture off. Use SPACE to switch bend mode.",
    "|Zone: Cliquez sur le point suivant ou annulez avec un click sur le bouton droit de la souris.\r"
    "Utilisez la touche CTRL pour désactiver l´effet de la grille. Utilisez la barre ESPACE pour modifier le tracé."};
constexpr TText kHintArea{
    "|Fläche: Startpunkt wählen",
    "|Area: Click to start point",
    "|surface: Cliquez à l´endroit de départ"};
constexpr TText kHintCircle{
    "|Kreisring: Mittelpunkt anklicken und Grösse aufziehen",
    "|Circle: Click center and draw radius",
    "|Cercle: Cliquez au centre et définissez le rayon"};
constexpr TText kHintText{
    "|Text: Platzieren mit linker Maustaste, abbrechen mit rechter Maustaste",
    "|Text: Click to text position, abort with right mouse button",
    "|Texte: Clique sur la position du texte, annuler avec un click sur le bouton droit de la souris"};
constexpr TText kHintTest{
    "|Testen: Testpunkt anklicken um verbundene Layoutelemente zu sehen",
    "|Test: Click to find connected areas",
    "|Test: Cliquez pour trouver les surfaces connectées"};
constexpr TText kHintConnectFirst{
    "|Luftlinie: Erstes Lötauge mit linker Maustaste anklicken",
    "|Connection: Select first pad",
    "|Connexion: Sélectionnez la première pastille"};
constexpr TText kHintConnectNext{
    "|Luftlinie: Nächstes Lötauge auswählen, oder beenden mit rechter Maustaste",
    "|Connection: Select second pad for connection, abort with right mouse button",
    "|Connexion: Sélectionnez la seconde pastille de la connexion, annuler avec un click sur le bouton droit de la souris"};
constexpr TText kHintPolygon{
    "|Vieleck: Platzieren mit linker Maustaste, abbrechen mit rechter Maustaste",
    "|Polygon: Click to destination, abort with right mouse button",
    "|Polygone: Cliquez vers la destination, annuler avec un click sur le bouton droit de la souris"};
constexpr TText kHintAutoroute{
    "|Autoroute: Luftlinie oder Autoroute anklicken",
    "|Autoroute: Click on a connection to autoroute.\rClick on an existing autoroute to resolve it",
    "|Routeur automatique: Cliquez sur une connexion à router.\r"
    "Cliquez sur une piste déjà routée pour annuler son tracé"};
constexpr TText kHintMeasure{
    "|Mess-Modus: Startpunkt anklicken und mit gedrückter Maustaste Ziel anfahren",
    "|Distance: Click to starting point, then move the mouse with pushed mousebutton",
    "|Distance: Cliquez sur le point de départ, puis déplacez la souris en restant appuyé sur le bouton gauche de la souris"};
constexpr TText kHintSmdPad{
    "|SMD-Pad: Platzieren mit linker Maustaste, abbrechen mit rechter Maustaste",
    "|SMD-Pad: Click to add a SMD-pad, abort with right mouse button",
    "|SMD-Pad: Cliquez pour ajouter une pastille-CMS, annuler avec un click sur le bouton droit de la souris"};
// clang-format on

}  // namespace

std::optional<TText> viewHint(const TToolState& s, bool overNode) {
  switch (s.mode) {
    case TToolMode::edit:
      if (overNode) return kHintNode;
      // A press on empty ground drags a frame; one on an element moves it.
      if (s.inProgress && !s.movingSelection && !s.nodeDrag) return kHintEditFrame;
      return kHintEdit;
    case TToolMode::track:
      return s.inProgress ? kHintTrackDrawing : kHintTrack;
    case TToolMode::pad:
      return kHintPad;
    case TToolMode::zoom:
      return s.inProgress ? kHintZoomFrame : kHintZoom;
    case TToolMode::area:
      return s.inProgress ? kHintAreaDrawing : kHintArea;
    case TToolMode::circle:
      return kHintCircle;
    case TToolMode::text:
      return kHintText;
    case TToolMode::test:
      return kHintTest;
    case TToolMode::connect:
      return s.connectFirstPad >= 0 ? kHintConnectNext : kHintConnectFirst;
    case TToolMode::polygon:
      return kHintPolygon;
    case TToolMode::autoroute:
      return kHintAutoroute;
    case TToolMode::paste:
      return std::nullopt;
    case TToolMode::measure:
      return kHintMeasure;
    case TToolMode::smdPad:
      return kHintSmdPad;
  }
  return std::nullopt;
}

std::string longHint(const TText& hint, int language) {
  const std::string text = pickText(language, hint);
  const size_t bar = text.find('|');
  return bar == std::string::npos ? text : text.substr(bar + 1);
}

}  // namespace plavesk
