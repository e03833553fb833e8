#include "editing/layout_commands.h"

#include "document/layout_file.h"
#include "view/geometry.h"

namespace plavesk {

bool isOutsideBoard(const TObjekt& e, const TBoardRecord& record) {
  const TRect board = normalised({0, -record.height, record.width, 0});
  const TRect box = elementBounds(e);
  // Touching the edge with no common area counts as outside.
  return !(box.left < board.right && board.left < box.right && box.top < board.bottom &&
           board.top < box.bottom);
}

size_t countElementsOutside(const TLayout& layout) {
  if (!layout.hasActiveBoard()) return 0;
  size_t n = 0;
  for (const auto& e : layout.elements()) n += isOutsideBoard(*e, layout.working());
  return n;
}

size_t deleteElementsOutside(TLayout& layout) {
  if (!layout.hasActiveBoard()) return 0;
  const TBoardRecord& record = layout.working();
  return deleteElementsIf(layout.elements(),
                          [&](const TObjekt& e) { return isOutsideBoard(e, record); });
}

bool saveLayout(TLayout& layout, const std::string& path, bool autosave, std::string& error) {
  if (!autosave && layout.hasActiveBoard()) {
    deleteElementsOutside(layout);
    removeDegenerateElements(layout.elements());
  }
  return writeLayoutFile(layout, path, autosave, error);
}

}  // namespace plavesk
