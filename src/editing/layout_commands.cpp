#include "editing/layout_commands.h"

#include <algorithm>

#include "document/element_removal.h"
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

namespace {

// For each element of the active board, whether it lies outside the board,
// as isOutsideBoard decides.
std::vector<uint8_t> outsideFlags(const TLayout& layout) {
  const TBoardRecord& record = layout.working();
  const TRect board = normalised({0, -record.height, record.width, 0});
  // The bounds of a circle come from its outline, which takes long to make.
  // A box around the whole circle, clearance included, settles nearly
  // every circle: one well inside the board stays, one wholly outside goes;
  // only the few across the edge need the outline. The other kinds have
  // cheap bounds.
  auto outside = [&](const TObjekt& e) {
    const int64_t w = e.dim3 / 2 != 0 ? e.dim3 / 2 : 20;  // what elementBounds adds
    if (e.kind == kCircle && e.dim2 >= 0 && int64_t(e.dim1) - e.dim2 >= 2 && w + e.clearance >= 0) {
      const int64_t reach = int64_t(e.dim1) + w + e.clearance + 2;
      const int64_t left = int64_t(e.x) - reach, right = int64_t(e.x) + reach;
      const int64_t top = int64_t(e.y) - reach, bottom = int64_t(e.y) + reach;
      if (right <= board.left || left >= board.right || bottom <= board.top || top >= board.bottom)
        return true;
      if (left > board.left && right < board.right && top > board.top && bottom < board.bottom)
        return false;
      // An arc ends in two round caps that are part of its outline; one
      // whose centre lies inside the board makes the bounds share area with
      // it. Arc outlines are the slowest of all to make.
      if (e.angle != e.dim3) {
        const int32_t inner = e.filled && e.dim2 == 0 ? 1 : e.dim2;
        const int32_t capRadius = (e.dim1 - inner) / 2;
        for (int32_t a : {e.angle, e.dim3}) {
          const TPoint p = arcPoint(e, a, inner + capRadius);
          if (capRadius >= 1 && p.x > board.left && p.x < board.right && p.y > board.top &&
              p.y < board.bottom)
            return false;
        }
      }
    }
    return isOutsideBoard(e, record);
  };
  const TObjektList& list = layout.elements();
  std::vector<uint8_t> flags(list.size());
  for (size_t i = 0; i < list.size(); ++i) flags[i] = outside(*list[i]);
  return flags;
}

}  // namespace

size_t countElementsOutside(const TLayout& layout) {
  if (!layout.hasActiveBoard()) return 0;
  const std::vector<uint8_t> flags = outsideFlags(layout);
  return size_t(std::count(flags.begin(), flags.end(), 1));
}

size_t deleteElementsOutside(TLayout& layout) {
  if (!layout.hasActiveBoard()) return 0;
  return deleteFlaggedElements(layout.elements(), outsideFlags(layout));
}

bool saveLayout(TLayout& layout, const std::string& path, bool autosave, std::string& error) {
  if (!autosave && layout.hasActiveBoard()) {
    deleteElementsOutside(layout);
    removeDegenerateElements(layout.elements());
  }
  return writeLayoutFile(layout, path, autosave, error);
}

}  // namespace plavesk
