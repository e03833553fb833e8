// The settings of the print window and of `plavesk-cli print`, and the
// placement arithmetic of a sheet: the block of tiles, where a board point
// lands on the paper, centring, dragging, rescaling with the slider, and
// the correction factors that stretch the printout for a distorting
// printer. Everything here is plain arithmetic, without a window.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "platform/core/canvas.h"
#include "view/colour_scheme.h"

namespace plavesk {

// The printed items in the order of their check boxes and colour swatches.
enum TPrintItem : int {
  kPrintCopper1 = 0,
  kPrintSilk1,
  kPrintCopper2,
  kPrintSilk2,
  kPrintMask1,
  kPrintMask2,
  kPrintDrill1,
  kPrintDrill2,
  kPrintItemCount
};

// Limits of the dialogs (and of the command line, which refuses what the
// dialogs would limit).
constexpr int kMinTiles = 1;
constexpr int kMaxTiles = 20;
constexpr int32_t kMaxTileGap = 5000;  // 50 mm
constexpr int kMinSlider = 1;
constexpr int kMaxSlider = 100;
constexpr double kMinCorrection = 0.8;
constexpr double kMaxCorrection = 1.2;
constexpr int32_t kMinMaskEnlargement = 1;    // 0.01 mm
constexpr int32_t kMaxMaskEnlargement = 999;  // 9.99 mm
constexpr int32_t kMinDrillTextHeight = 10;   // 0.1 mm
constexpr int32_t kMaxDrillTextHeight = 990;  // 9.9 mm

struct TPrintOptions {
  std::array<bool, kPrintItemCount> items{true, true, true, true, false, false, false, false};
  std::array<TColour, kPrintItemCount> colours{rgb(0, 0, 0),   rgb(255, 0, 0), rgb(0, 0, 0),
                                               rgb(255, 0, 0), rgb(0, 0, 0),   rgb(0, 0, 0),
                                               rgb(0, 0, 0),   rgb(0, 0, 0)};
  bool mirror = false;
  bool targets = false;  // registration crosses at the board corners
  bool outline = true;
  bool useTemplate = false;
  bool negative = false;

  // "1:1" or free scaling with the slider position P (1 .. 100 = 10 % .. 1000 %).
  bool freeScale = false;
  int sliderPosition = 10;

  // The world point at the top left corner of the printable area.
  int32_t offsetX = -100;
  int32_t offsetY = 100;

  int tilesX = 1;
  int tilesY = 1;
  int32_t tileGap = 0;  // units

  int32_t padMaskEnlargement = 30;
  int32_t smdMaskEnlargement = 10;
  bool maskPads = true;
  bool maskSmdPads = true;
  int32_t drillTextHeight = 100;

  double correctionX = 1.0;
  double correctionY = 1.0;

  // s: one unit of the board measures 0.01 mm / s on the paper.
  double scaleDivisor() const { return freeScale ? 10.0 / sliderPosition : 1.0; }
  // The percentage shown beside the slider.
  int scalePercent() const { return sliderPosition * 10; }
};

// The block of n x m copies with the gap between them, in units.
int32_t blockWidth(const TPrintOptions& o, int32_t boardWidth);
int32_t blockHeight(const TPrintOptions& o, int32_t boardHeight);

// Where board point (x, y) of tile (column i, row j) lies, in board units
// to the right of and below the printable area's top left corner. Mirroring
// keeps the block where it is and turns its contents over left to right.
struct TPaperOffset {
  int64_t right = 0;
  int64_t below = 0;
  friend bool operator==(const TPaperOffset&, const TPaperOffset&) = default;
};
TPaperOffset paperOffset(const TPrintOptions& o, int32_t boardWidth, int32_t boardHeight, int i,
                         int j, int32_t x, int32_t y);

// A device the sheet is drawn on: its pixels per millimetre of paper and
// the pixel of the printable area's top left corner. Printers and PDF files
// apply the correction factors; the preview does not.
struct TSheetDevice {
  double pixelsPerMmX = 1;
  double pixelsPerMmY = 1;
  double originX = 0;
  double originY = 0;
  bool corrected = true;
};

// The world-to-device mapping of tile (i, j). The extents are kept exact:
// extents rounded to whole pixels per centimetre would shorten a 100 mm
// track by a tenth of a millimetre at 1200 dpi.
CanvasMapping tileMapping(const TPrintOptions& o, int32_t boardWidth, int32_t boardHeight, int i,
                          int j, const TSheetDevice& device);

// "Centre": the block in the middle of the printable area (in mm).
void centreBlock(TPrintOptions& o, int32_t boardWidth, int32_t boardHeight, double printableWidthMm,
                 double printableHeightMm);

// A drag over the preview from (x0, y0) to (x1, y1) in preview pixels;
// `unitsPerPixel` is printable width in mm x 100 / preview width in pixels.
void dragOffset(TPrintOptions& o, double x0, double y0, double x1, double y1, double unitsPerPixel);

// Moves the slider to `position` (clamped to 1 .. 100) and rescales the
// offset so the layout keeps its place on the paper.
void setSliderPosition(TPrintOptions& o, int position);

// A correction factor typed by the user: a decimal number with a point,
// 0.8 .. 1.2; nullopt otherwise.
std::optional<double> parseCorrectionFactor(const std::string& text);
// Five decimals: "1.00000".
std::string formatCorrectionFactor(double factor);

// The colour of `colourOverride` while printing in negative: the colour of
// the first printed item of copper 1, copper 2, mask 1, mask 2, drill plan
// 1, drill plan 2 (black when none is printed).
TColour negativeColour(const TPrintOptions& o);

// Clamps the values a dialog would limit: tiles, gap, slider, mask
// enlargements, text height. Correction factors are left alone; they are
// refused, not limited.
void clampPrintOptions(TPrintOptions& o);

}  // namespace plavesk
