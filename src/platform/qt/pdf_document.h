// One-page PDF documents at true size: whatever `draw` puts on a QtCanvas
// over a QPdfWriter page. The page has no margins, so device pixel (0, 0)
// is the paper's top left corner.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/core/canvas.h"

namespace plavesk {

struct TPdfPage {
  double widthMm = 210;
  double heightMm = 297;
  // Device pixels per inch of the painter; fine enough that rounding a
  // point to a pixel moves it by at most 0.0053 mm.
  int dpi = 2400;
  std::string title;  // the document title (the job title)
};

// The document's bytes; empty when the writer failed. Needs a
// QGuiApplication for fonts (ensureGuiApplication).
std::vector<uint8_t> renderPdf(const TPdfPage& page,
                               const std::function<void(Canvas&, double pixelsPerMm)>& draw);

}  // namespace plavesk
