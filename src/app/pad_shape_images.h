// The 16 x 16 images of the pad-shape menu: the nine shapes, and at index
// + 9 their through-pad variants (copper of both sides).
#pragma once

#include <QIcon>
#include <QPixmap>

namespace plavesk {

constexpr int kPadShapeImages = 18;

// Index 0..17: shape 1..9 at 0..8, through pads at 9..17.
QPixmap padShapeImage(int index);
// The image of a shape 1..9 as a plain or a through pad.
QIcon padShapeIcon(int shape, bool throughPad);

}  // namespace plavesk
