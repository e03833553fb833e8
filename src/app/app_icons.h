// The pictures of the tool bar and tool panel buttons, drawn by code so the
// program needs no image files.
#pragma once

#include <QIcon>

namespace plavesk {

enum class IconId {
  New,
  Open,
  Save,
  Print,
  Undo,
  Redo,
  Cut,
  Copy,
  Paste,
  Delete,
  Duplicate,
  Rotate,
  MirrorH,
  MirrorV,
  Align,
  SnapGrid,
  RemoveConnections,
  Group,
  Ungroup,
  ZoomBoard,
  ZoomObjects,
  ZoomSelection,
  ZoomPrevious,
  Repaint,
  Template,
  Macros,
  ProjectInfo,
  // tool panel
  Edit,
  Zoom,
  Track,
  Pad,
  PadShape,
  Circle,
  Area,
  Text,
  Test,
  Connect,
  Polygon,
  Autoroute,
  Measure,
  SmdPad,
  ValueList,
  Photo,
};

QIcon appIcon(IconId id);
// The window icon: a small board with a track and two pads.
QIcon programIcon();

}  // namespace plavesk
