#include "editing/font_text_conversion.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>
#include <unordered_set>
#include <vector>

#include "view/geometry.h"

namespace plavesk {
namespace {

// Old font texts store 0, 90, 180 or 270 degrees; anything else is taken by
// whole quarter turns.
int quarterTurns(int32_t degrees) {
  return ((degrees / 90) % 4 + 4) % 4;
}

void setLayer(TObjekt& text, int layer) {
  text.layer = static_cast<uint8_t>(layer);
  for (auto& stroke : text.strokes) stroke->layer = static_cast<uint8_t>(layer);
}

// Which corner of the new text's box lands on the font text's position
// (top-left of its unturned box): the corner that was the top-left before
// turning.
TPoint anchorCorner(const TRect& b, int rotation) {
  switch (rotation) {
    case 1:
      return TPoint{b.right, b.bottom};
    case 2:
      return TPoint{b.right, b.top};
    case 3:
      return TPoint{b.left, b.top};
    default:
      return TPoint{b.left, b.bottom};
  }
}

}  // namespace

int countFontTexts(const TLayout& layout) {
  int n = 0;
  for (const auto& board : layout.boards)
    for (const auto& e : board->elements)
      if (e->kind == kFontText) ++n;
  return n;
}

double fontTextHeightMm(const TObjekt& fontText, double pixelsPerInch) {
  // Font heights are stored negative; a damaged positive one would turn the
  // glyphs inside out, a huge one push the strokes out of the unit range.
  const double h = -static_cast<double>(fontText.dim3) / pixelsPerInch * 72.0 / 100.0 * 0.9;
  return std::min(std::abs(h), kMaxFontTextHeightMm);
}

int convertFontTextList(TObjektList& list, double pixelsPerInch, const TTextContext& context) {
  std::vector<const TObjekt*> fontTexts;
  for (const auto& e : list)
    if (e->kind == kFontText) fontTexts.push_back(e.get());
  if (fontTexts.empty()) return 0;

  std::unordered_set<const TObjekt*> doomed(fontTexts.begin(), fontTexts.end());
  TTextCounter unusedCounter;
  for (const TObjekt* f : fontTexts) {
    TTextSettings settings;
    settings.text = f->text;
    settings.height = fontTextHeightMm(*f, pixelsPerInch);
    settings.thickness = kBold;
    settings.spacing = kNormalStyle;
    settings.orientation = quarterTurns(f->angle);
    const TPoint at{f->x, f->y};
    TObjekt& text = createTextElement(list, at, settings, unusedCounter, context);
    if (!hasStrokes(text)) {
      doomed.insert(&text);
      continue;
    }
    const TPoint corner = anchorCorner(elementBounds(text), settings.orientation);
    moveElement(text, at.x - corner.x, at.y - corner.y);
    text.groupIds = f->groupIds;
    setLayer(text, f->layer);
  }
  deleteElementsIf(list, [&](const TObjekt& e) { return doomed.count(&e) != 0; });
  return int(fontTexts.size());
}

int convertFontTexts(TLayout& layout, double pixelsPerInch, int32_t clearance) {
  if (!(pixelsPerInch > 0.0)) throw std::invalid_argument("pixels per inch must be positive");
  if (countFontTexts(layout) == 0) return 0;

  const int wasActive = layout.activeBoard;
  int converted = 0;
  ++layout.suppressSnapshots;
  for (int i = 0; i < int(layout.boards.size()); ++i) {
    layout.activateBoard(i);
    const TTextContext context{layout.working().activeLayer, clearance, layout.working().grid};
    converted += convertFontTextList(layout.elements(), pixelsPerInch, context);
  }
  layout.activateBoard(wasActive);
  --layout.suppressSnapshots;
  layout.modified = true;
  return converted;
}

std::string fontTextQuestion(int language, int count) {
  const std::string n = std::to_string(count);
  switch (language) {
    case 0:
      return "Sie haben " + n + " Font-Text Elemente auf dem Layout." + "\r" +
             "Diese Elemente werden nicht mehr unterstützt." + "\r\r" +
             "Sollen diese automatisch in Layout-Texte umgewandelt werden?";
    case 2:
      return "Il y a " + n + " Fontes de Textes dans le tracé." + "\r" +
             "Ces dernières ne seront désormais plus supportées." + "\r\r" +
             "Remplacer celles-ci par des tracés d´éléments Textes ?";
    default:
      return "There are " + n + " Font-Text elements on the layout." + "\r" +
             "These elements will not be supported anymore." + "\r\r" +
             "Replace these elements with Layout-Text elements?";
  }
}

std::string fontTextReport(int language) {
  switch (language) {
    case 0:
      return "Texte wurden konvertiert";
    case 2:
      return "Elément Texte converti.";
    default:
      return "Text-elements converted.";
  }
}

}  // namespace plavesk
