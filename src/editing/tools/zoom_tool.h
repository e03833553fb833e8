// Zoom mode (also the photo view's): a click zooms in at the point, a
// dragged frame zooms onto the frame, the right button zooms out.
#pragma once

#include <memory>

namespace plavesk {

class TTool;
class TToolManager;

std::unique_ptr<TTool> makeZoomTool(TToolManager& manager);

}  // namespace plavesk
