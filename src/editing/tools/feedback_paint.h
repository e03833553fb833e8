// Draws a feedback's figures on a canvas whose world mapping is installed
// (the window's frame image, or a raster canvas in the tests). Drawing the
// same feedback twice restores the picture; the canvas is left in copy mode.
#pragma once

#include "editing/tools/feedback.h"

namespace plavesk {

class Canvas;
class TRenderSettings;

void drawFeedback(const TFeedback& feedback, Canvas& canvas, const TRenderSettings& settings);

}  // namespace plavesk
