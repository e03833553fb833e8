#include "platform/core/canvas.h"

#include <algorithm>
#include <cmath>

namespace plavesk {

CanvasPoint CanvasMapping::toDevice(CanvasPoint world) const {
  return {int32_t(std::nearbyint(deviceX(world.x))), int32_t(std::nearbyint(deviceY(world.y)))};
}

CanvasPoint CanvasMapping::toWorld(CanvasPoint device) const {
  return {int32_t(std::nearbyint(worldX(device.x))), int32_t(std::nearbyint(worldY(device.y)))};
}

CanvasRect clipRect(const CanvasRect& r, const CanvasRect& clip) {
  CanvasRect part{std::max(std::min(r.left, r.right), clip.left),
                  std::max(std::min(r.top, r.bottom), clip.top),
                  std::min(std::max(r.left, r.right), clip.right),
                  std::min(std::max(r.top, r.bottom), clip.bottom)};
  part.right = std::max(part.right, part.left);
  part.bottom = std::max(part.bottom, part.top);
  return part;
}

double CanvasMapping::pixelScale() const {
  return std::fabs(viewportExtX / windowExtX);
}

}  // namespace plavesk
