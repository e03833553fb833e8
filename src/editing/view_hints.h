// The drawing area's own hint: an empty short part and a long part for the
// status line that says what the current tool mode expects next.
#pragma once

#include <optional>
#include <string>

#include "document/language_text.h"

namespace plavesk {

struct TToolState;

// The hint of the view after a mouse move in the tool state `state`, in the
// form "|long" (an empty tooltip); two lines are parted by the character 13.
// `overNode` is true while the edit mode shows the corner-moving cursor.
// Paste placement leaves the hint as it was: nullopt.
std::optional<TText> viewHint(const TToolState& state, bool overNode);

// The long part of a hint for `language` ("short|long" -> "long").
std::string longHint(const TText& hint, int language);

}  // namespace plavesk
