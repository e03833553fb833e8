#include "platform/core/canvas.h"

#include <cmath>

namespace plavesk {

CanvasPoint CanvasMapping::toDevice(CanvasPoint world) const {
  return {int32_t(std::nearbyint(deviceX(world.x))), int32_t(std::nearbyint(deviceY(world.y)))};
}

CanvasPoint CanvasMapping::toWorld(CanvasPoint device) const {
  return {int32_t(std::nearbyint(worldX(device.x))), int32_t(std::nearbyint(worldY(device.y)))};
}

double CanvasMapping::pixelScale() const {
  return std::fabs(viewportExtX / windowExtX);
}

}  // namespace plavesk
