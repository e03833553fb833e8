// Vector pictures as SVG (the clipboard's picture for other programs, and
// the command line's images): whatever `draw` puts on a QtCanvas over a
// QSvgGenerator of the given size.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "platform/core/canvas.h"

namespace plavesk {

// Needs a QGuiApplication for fonts; see ensureGuiApplication.
std::vector<uint8_t> renderSvg(int32_t width, int32_t height, double dpi,
                               const std::function<void(Canvas&)>& draw);

// Creates a QGuiApplication on the offscreen platform when the process has
// none (command line, tests), so painting and fonts work without a display.
void ensureGuiApplication();

}  // namespace plavesk
