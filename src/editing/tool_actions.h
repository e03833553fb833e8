// The tool buttons by name, and the runner's actions that drive the drawing
// area as a user does: tool buttons, zoom, mouse, keys, the node menu and
// paste placement.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

namespace plavesk {

enum class TToolMode : uint8_t;

// One button of the tool panel: the runner's name ("track"), the command
// table's id, the mode it selects and whether it is the photo-view button.
struct TToolButton {
  std::string_view name;
  std::string_view id;
  TToolMode mode;
  bool photoView = false;
};

std::span<const TToolButton> toolButtons();
// Null for an unknown name or id.
const TToolButton* findToolButton(std::string_view nameOrId);

// Adds the actions to the runner's table (called once by the runner).
void registerToolActions();

}  // namespace plavesk
