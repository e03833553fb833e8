#include "editing/tools/tool_state.h"

#include <algorithm>
#include <cstdlib>

namespace plavesk {

TPoint bendCorner(uint8_t bendMode, TPoint a, TPoint c) {
  const int64_t dx = int64_t(c.x) - a.x, dy = int64_t(c.y) - a.y;
  const int64_t f = std::min(std::llabs(dx), std::llabs(dy));
  const int64_t sx = dx < 0 ? -1 : 1, sy = dy < 0 ? -1 : 1;
  switch (bendMode) {
    case 0:  // straight first, then 45 degrees to the pointer
      return {int32_t(c.x - sx * f), int32_t(c.y - sy * f)};
    case 1:  // 45 degrees first, then straight
      return {int32_t(a.x + sx * f), int32_t(a.y + sy * f)};
    case 2:  // vertical, then horizontal
      return {a.x, c.y};
    case 3:  // horizontal, then vertical
      return {c.x, a.y};
    default:  // one segment
      return c;
  }
}

}  // namespace plavesk
