#include "printing/print_options.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "view/units.h"

namespace plavesk {

int32_t blockWidth(const TPrintOptions& o, int32_t boardWidth) {
  return o.tilesX * boardWidth + (o.tilesX - 1) * o.tileGap;
}

int32_t blockHeight(const TPrintOptions& o, int32_t boardHeight) {
  return o.tilesY * boardHeight + (o.tilesY - 1) * o.tileGap;
}

TPaperOffset paperOffset(const TPrintOptions& o, int32_t boardWidth, int32_t boardHeight, int i,
                         int j, int32_t x, int32_t y) {
  const int64_t stepX = int64_t(boardWidth) + o.tileGap;
  const int64_t stepY = int64_t(boardHeight) + o.tileGap;
  TPaperOffset p;
  p.below = int64_t(o.offsetY) - y + j * stepY;
  if (o.mirror)
    p.right = int64_t(blockWidth(o, boardWidth)) - o.offsetX - i * stepX - x;
  else
    p.right = int64_t(x) + i * stepX - o.offsetX;
  return p;
}

CanvasMapping tileMapping(const TPrintOptions& o, int32_t boardWidth, int32_t boardHeight, int i,
                          int j, const TSheetDevice& device) {
  const double s = o.scaleDivisor();
  const double cx = device.corrected ? o.correctionX : 1.0;
  const double cy = device.corrected ? o.correctionY : 1.0;
  const double stepX = double(boardWidth) + o.tileGap;
  const double stepY = double(boardHeight) + o.tileGap;
  CanvasMapping m;
  // 100 s / c units make one millimetre of paper.
  m.viewportExtX = device.pixelsPerMmX;
  m.viewportExtY = -device.pixelsPerMmY;
  m.windowExtX = 100.0 * s / cx;
  m.windowExtY = 100.0 * s / cy;
  m.viewportOrgX = device.originX;
  m.viewportOrgY = device.originY;
  m.windowOrgY = double(o.offsetY) + j * stepY;
  if (o.mirror) {
    m.windowExtX = -m.windowExtX;
    m.windowOrgX = double(blockWidth(o, boardWidth)) - o.offsetX - i * stepX;
  } else {
    m.windowOrgX = double(o.offsetX) - i * stepX;
  }
  (void)boardHeight;
  return m;
}

void centreBlock(TPrintOptions& o, int32_t boardWidth, int32_t boardHeight, double printableWidthMm,
                 double printableHeightMm) {
  const double s = o.scaleDivisor();
  o.offsetX = blockWidth(o, boardWidth) / 2 - roundToUnit(printableWidthMm * 50 * s);
  o.offsetY = roundToUnit(s * printableHeightMm * 50) - blockHeight(o, boardHeight) / 2;
}

void dragOffset(TPrintOptions& o, double x0, double y0, double x1, double y1,
                double unitsPerPixel) {
  const double s = o.scaleDivisor();
  o.offsetX += roundToUnit((x0 - x1) * unitsPerPixel * s);
  o.offsetY -= roundToUnit(s * unitsPerPixel * (y0 - y1));
}

void setSliderPosition(TPrintOptions& o, int position) {
  position = std::clamp(position, kMinSlider, kMaxSlider);
  const double s = o.scaleDivisor();
  TPrintOptions next = o;
  next.sliderPosition = position;
  const double s2 = next.scaleDivisor();
  o.sliderPosition = position;
  o.offsetX = roundToUnit(o.offsetX * s2 / s);
  o.offsetY = roundToUnit(o.offsetY * s2 / s);
}

std::optional<double> parseCorrectionFactor(const std::string& text) {
  // Blanks around the number are allowed; anything else after it is not.
  size_t begin = text.find_first_not_of(" \t");
  if (begin == std::string::npos) return std::nullopt;
  const size_t end = text.find_last_not_of(" \t") + 1;
  const std::string number = text.substr(begin, end - begin);
  if (number.find_first_not_of("+-0123456789.eE") != std::string::npos) return std::nullopt;
  char* stop = nullptr;
  const double v = std::strtod(number.c_str(), &stop);
  if (stop != number.c_str() + number.size()) return std::nullopt;
  if (!std::isfinite(v) || v < kMinCorrection || v > kMaxCorrection) return std::nullopt;
  return v;
}

std::string formatCorrectionFactor(double factor) {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%.5f", factor);
  return buffer;
}

TColour negativeColour(const TPrintOptions& o) {
  for (int item :
       {kPrintCopper1, kPrintCopper2, kPrintMask1, kPrintMask2, kPrintDrill1, kPrintDrill2})
    if (o.items[size_t(item)]) return o.colours[size_t(item)];
  return rgb(0, 0, 0);
}

void clampPrintOptions(TPrintOptions& o) {
  o.tilesX = std::clamp(o.tilesX, kMinTiles, kMaxTiles);
  o.tilesY = std::clamp(o.tilesY, kMinTiles, kMaxTiles);
  o.tileGap = std::clamp(o.tileGap, int32_t(0), kMaxTileGap);
  o.sliderPosition = std::clamp(o.sliderPosition, kMinSlider, kMaxSlider);
  o.padMaskEnlargement = std::clamp(o.padMaskEnlargement, kMinMaskEnlargement, kMaxMaskEnlargement);
  o.smdMaskEnlargement = std::clamp(o.smdMaskEnlargement, kMinMaskEnlargement, kMaxMaskEnlargement);
  o.drillTextHeight = std::clamp(o.drillTextHeight, kMinDrillTextHeight, kMaxDrillTextHeight);
}

}  // namespace plavesk
