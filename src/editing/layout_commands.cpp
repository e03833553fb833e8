#include "editing/layout_commands.h"

#include "document/layout_file.h"
#include "view/geometry.h"

namespace plavesk {

size_t deleteElementsOutside(TLayout& layout) {
  if (!layout.hasActiveBoard()) return 0;
  const TRect board = normalised({0, -layout.working.height, layout.working.width, 0});
  return deleteElementsIf(layout.elements(), [&](const TObjekt& e) {
    const TRect box = elementBounds(e);
    // Touching the edge with no common area counts as outside.
    return !(box.left < board.right && board.left < box.right && box.top < board.bottom &&
             board.top < box.bottom);
  });
}

bool saveLayout(TLayout& layout, const std::string& path, bool autosave, std::string& error) {
  if (!autosave && layout.hasActiveBoard()) {
    deleteElementsOutside(layout);
    removeDegenerateElements(layout.elements());
  }
  return writeLayoutFile(layout, path, autosave, error);
}

}  // namespace plavesk
