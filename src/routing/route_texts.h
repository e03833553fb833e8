// The autorouter's status texts in the three interface languages.
#pragma once

#include <string>

namespace plavesk {

enum class TRouteText { ready, analysing, notFound, successful, unrouted };

// Language 0 German, 1 English, 2 French.
std::string routeText(TRouteText text, int language);

}  // namespace plavesk
