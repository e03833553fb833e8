// The runner's `set FIELD VALUE`: a value typed into a tool-panel field.
#pragma once

namespace plavesk {

// Adds the actions to the runner's table (called once by the runner).
void registerValueFieldActions();

}  // namespace plavesk
