// Every command of the editor declared once: its id, the runner action that
// carries it out, its caption and hint in the three languages, its shortcut,
// its picture and the rule that enables it. The menus, the tool bar, the tool
// panel, the context menus and the action runner all read this table.
#pragma once

#include <span>
#include <string_view>

#include "document/language_text.h"

namespace plavesk {

// The pictures of the tool bar and tool panel buttons; the window draws them.
enum class IconId {
  None,
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

// What the editor's state allows; the enable rules read it.
struct TCommandStates {
  bool board = false;      // a board is active
  bool selection = false;  // copy, cut, delete, duplicate, zoom to selection
  bool paste = false;
  bool buildGroup = false;
  bool splitGroup = false;
  bool undo = false;
  bool redo = false;
  bool zoomPrevious = false;
  bool boardBefore = false;     // the active board can move left
  bool boardAfter = false;      // ... and right
  bool circleSelected = false;  // a selected circle can become an arc
  bool bands = false;           // some pad of the board has a rubber band
  bool elements = false;        // the board has elements
  bool severalBoards = false;   // the layout has more than one board
  // The node the node menu was opened on (a track or area corner).
  bool node = false;
  bool nodeRemovable = false;   // its element keeps at least 2 points without it
  bool nodeSplittable = false;  // a track corner that is neither end
  friend bool operator==(const TCommandStates&, const TCommandStates&) = default;
};

enum class TEnableRule {
  always,
  board,
  selection,
  paste,
  buildGroup,
  splitGroup,
  undo,
  redo,
  zoomPrevious,
  boardBefore,
  boardAfter,
  circleSelected,
  bands,
  elements,
  severalBoards,
  node,
  nodeRemovable,
  nodeSplittable,
};

bool isEnabled(TEnableRule rule, const TCommandStates& states);
// Why a disabled command cannot run, for the runner's message.
const char* refusalOf(TEnableRule rule);
// The same, saying first what is missing altogether (no corner chosen for a
// corner command).
const char* refusalOf(TEnableRule rule, const TCommandStates& states);

struct TCommand {
  std::string_view id;        // "edit.undo"; the window's action name
  std::string_view action;    // the runner's action ("undo"); empty for none
  std::string_view control;   // object name of a tool-panel button ("SB_Standard")
  TText caption;              // menu caption with its accelerator
  TText hint;                 // "short|long"; null texts for none
  std::string_view shortcut;  // key in portable text ("Ctrl+Z"); empty for none
  IconId icon = IconId::None;
  TEnableRule rule = TEnableRule::always;
  // The window shows the command greyed out until its part of the program
  // exists; the runner's action, where there is one, works already.
  bool pending = false;
  bool checkable = false;
};

std::span<const TCommand> commandTable();
// Null when no command has this id, action or control name.
const TCommand* findCommand(std::string_view id);
const TCommand* findCommandForAction(std::string_view action);
const TCommand* findCommandForControl(std::string_view control);
// The command's caption, or for a command without one its hint's short part
// (the caption of a tool-bar button without a menu entry).
std::string_view commandCaption(const TCommand& command, int language);
bool hasHint(const TCommand& command);

}  // namespace plavesk
