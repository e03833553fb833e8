// The photo view: the board as manufactured, seen from one side, drawn by the
// ordinary passes with substituted colours, its own layer order and, for
// side 2, a mapping mirrored left-right.
#pragma once

#include <array>
#include <vector>

#include "document/board.h"
#include "view/render_settings.h"

namespace plavesk {

constexpr TColour kPhotoBoard = rgb(40, 140, 40);
constexpr TColour kPhotoCopper = rgb(24, 194, 40);
constexpr TColour kPhotoSilkscreen = rgb(240, 240, 240);
constexpr TColour kPhotoOtherSideOnPlane = rgb(20, 170, 20);
constexpr TColour kPhotoOtherSide = rgb(30, 126, 30);

// The viewed side's copper layer (1 or 3).
int photoViewedCopper(const TPhotoOptions& photo);
// The far side shines through lighter when the viewed side has its plane.
TColour photoOtherSideColour(const TBoardRecord& state, const TPhotoOptions& photo);
// Copper colour when the viewed side has a ground plane, otherwise the board.
TColour photoBackgroundColour(const TBoardRecord& state, const TPhotoOptions& photo);

// The current colours with the photo substitutions: background = board,
// the viewed side's copper and silkscreen, the other side's colour for both
// layers of the far side.
TColourScheme photoColourScheme(const TColourScheme& current, const TBoardRecord& state,
                                const TPhotoOptions& photo);
TRenderSettings photoRenderSettings(const TRenderSettings& settings, const TBoardRecord& state);

// Layers drawn, in order: the far side (copper, silkscreen) when shining
// through, then the viewed side's copper and silkscreen; silkscreen only
// when asked for.
std::vector<int> photoLayerOrder(const TPhotoOptions& photo);

// The horizontal scroll position that keeps the same board area in view when
// the mapping flips: range - position - client width.
int32_t mirroredScrollPosition(int32_t range, int32_t position, int32_t clientWidth);

}  // namespace plavesk
