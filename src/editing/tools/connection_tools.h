// The tools that deal with the electrical meaning of the copper: rubber
// bands drawn from pad to pad, the test click that shows a net, and the
// autorouter's hover, route and unroute.
#pragma once

#include <memory>

namespace plavesk {

class TTool;
class TToolManager;

std::unique_ptr<TTool> makeConnectTool(TToolManager& manager);
std::unique_ptr<TTool> makeTestTool(TToolManager& manager);
std::unique_ptr<TTool> makeAutorouteTool(TToolManager& manager);

}  // namespace plavesk
