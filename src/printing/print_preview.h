// Where the sheet lies in the print window's preview: the paper as large as
// fits with a margin of 20 pixels, centred; the printable area on it; the
// ruler ticks along its top and left edges; and the device the layout is
// drawn on there (one unit = 0.01 mm / s, without correction factors).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "printing/print_options.h"

namespace plavesk {

// A printer's page: paper size and printable area in millimetres.
struct TPrinterPage {
  double paperWidthMm = 210;
  double paperHeightMm = 297;
  double printableLeftMm = 0;
  double printableTopMm = 0;
  double printableWidthMm = 210;
  double printableHeightMm = 297;
};

struct TPreviewGeometry {
  double pixelsPerMm = 1;
  // The sheet in preview pixels.
  double sheetLeft = 0, sheetTop = 0, sheetWidth = 0, sheetHeight = 0;
  // The printable area in preview pixels.
  double printableLeft = 0, printableTop = 0, printableWidth = 0, printableHeight = 0;

  // Board units per preview pixel for dragging: printable width in mm x 100
  // / printable width in pixels.
  double unitsPerPixel(const TPrinterPage& page) const {
    return printableWidth > 0 ? page.printableWidthMm * 100 / printableWidth : 1;
  }
  // The device of the layout in a picture of the printable area whose pixel
  // (0, 0) is the area's top left corner.
  TSheetDevice device() const {
    TSheetDevice d;
    d.pixelsPerMmX = d.pixelsPerMmY = pixelsPerMm;
    d.corrected = false;
    return d;
  }
};

constexpr int kPreviewMargin = 20;
constexpr int kPreviewShadow = 4;

TPreviewGeometry previewGeometry(int areaWidth, int areaHeight, const TPrinterPage& page);

// A tick of the rulers: every 10 mm 4 pixels long, every 50 mm 15 pixels
// with the number of millimetres.
struct TSheetRulerTick {
  int mm = 0;
  double position = 0;  // preview pixels along the ruler
  int length = 4;
  std::string label;
};
std::vector<TSheetRulerTick> sheetRulerTicks(double sheetStart, double lengthMm,
                                             double pixelsPerMm);

}  // namespace plavesk
