// The tool modes and the tool state record of the drawing area: one current
// mode, the points and flags of the operation in progress, and which
// feedback is on screen. Never stored in a file.
#pragma once

#include <array>
#include <cstdint>

#include "editing/tools/feedback.h"
#include "view/geometry.h"

namespace plavesk {

enum class TToolMode : uint8_t {
  edit = 0,
  track = 1,
  pad = 2,
  zoom = 3,  // also the photo view's mode
  area = 5,
  circle = 6,
  text = 7,
  test = 8,
  connect = 9,
  polygon = 10,
  autoroute = 11,
  paste = 12,  // paste placement, no button of its own
  measure = 13,
  smdPad = 14,
};

struct TToolState {
  TToolMode mode = TToolMode::edit;
  uint8_t bendMode = 0;  // 0..4, the corner rule of the track and area rubber band
  bool inProgress = false;
  TPoint anchor{};   // where the operation started; tracks and areas: last fixed point
  TPoint current{};  // the last pointer position taken over (snapped where the mode snaps)
  TPoint corner{};   // the corner of the track rubber band
  bool movingSelection = false;
  bool nodeDrag = false;
  int nodeElement = -1;
  int nodeIndex = -1;
  bool undoPending = false;  // a node drag takes its snapshot at the first displacement
  TRect selectionBounds{};   // what is being moved, kept on the board
  TPoint moveOffset{};       // the displacement the move preview last showed
  bool moveCtrlState = false;
  bool ignoreNextPress = false;
  bool tempZoom = false;
  TToolMode savedMode = TToolMode::edit;
  bool photoView = false;  // mode 3 was chosen with the photo-view button
  int connectFirstPad = -1;
  int connectHoverPad = -1;
  uint8_t autorouteHover = 0;  // 0 nothing, 1 a rubber band, 2 an autorouted track
  // Which feedback kinds are on screen.
  std::array<bool, kFeedbackKinds> visible{};
};

// The bend mode's corner between anchor `a` and pointer `c`.
TPoint bendCorner(uint8_t bendMode, TPoint a, TPoint c);

}  // namespace plavesk
