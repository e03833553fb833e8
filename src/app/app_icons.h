// The pictures of the tool bar and tool panel buttons, drawn by code so the
// program needs no image files.
#pragma once

#include <QIcon>

#include "editing/command_table.h"

namespace plavesk {

QIcon appIcon(IconId id);
// The window icon: a small board with a track and two pads.
QIcon programIcon();

}  // namespace plavesk
