// The tools that create elements: tracks and areas drawn point by point with
// a bend mode, pads and SMD pads placed with a click, circles dragged from
// the centre, and the measure tool's lines.
#pragma once

#include <memory>

#include "editing/tools/tool_host.h"
#include "view/geometry.h"

namespace plavesk {

class TTool;
class TToolManager;

std::unique_ptr<TTool> makeTrackTool(TToolManager& manager);
std::unique_ptr<TTool> makeAreaTool(TToolManager& manager);
std::unique_ptr<TTool> makePadTool(TToolManager& manager);
std::unique_ptr<TTool> makeSmdPadTool(TToolManager& manager);
std::unique_ptr<TTool> makeCircleTool(TToolManager& manager);
std::unique_ptr<TTool> makeMeasureTool(TToolManager& manager);
// Texts placed from the text dialog, and regular polygons from theirs.
std::unique_ptr<TTool> makeTextTool(TToolManager& manager);
std::unique_ptr<TTool> makePolygonTool(TToolManager& manager);

// The measure panel's values between two unsnapped points: dX, dY (positive
// downward), distance and the angle against the horizontal, in mm or inch.
TMeasureReadout measureReadout(TPoint anchor, TPoint current, bool inchMode);

}  // namespace plavesk
