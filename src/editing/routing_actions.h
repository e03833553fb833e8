// The runner's actions for connections, connectivity and the autorouter.
#pragma once

namespace plavesk {

// Adds connect, test-at, clear-bands, route, unroute, layer, ground-plane
// and route-all to the action table.
void registerRoutingActions();

}  // namespace plavesk
