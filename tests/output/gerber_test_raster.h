// What the tests compare Gerber and drill files with: our own flat picture
// of a board's layer, built from the element outlines, and the picture gerbv
// draws of the file, both on the same pixel grid.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "document/board.h"
#include "output/excellon_export.h"
#include "output/gerber_options.h"
#include "platform/core/region.h"

namespace plavesk::gerber_testing {

// The board seen through the file: pixel (0, 0) is the top left of the
// board's area in the file, whose origin is the board's lower left corner.
struct TPixelGrid {
  int32_t boardWidth = 0;
  int32_t boardHeight = 0;
  // gerbv places the centre lines of drawn strokes on its pixel lattice;
  // at one unit a pixel that costs nothing.
  int unitsPerPixel = 1;
  bool mirror = false;  // the file's X is the board width minus x
  int width() const { return (boardWidth + unitsPerPixel - 1) / unitsPerPixel; }
  int height() const { return (boardHeight + unitsPerPixel - 1) / unitsPerPixel; }
};

struct TRaster {
  int width = 0;
  int height = 0;
  std::vector<uint8_t> on;
  size_t count() const;
};

// Pixels whose centre lies inside the region (board coordinates). A centre
// on an edge counts as gerbv counts it: on the left and top edges (as seen
// in the file) it is outside, on the right and bottom edges inside.
TRaster rasterise(const Region& region, const TPixelGrid& grid);
double intersectionOverUnion(const TRaster& a, const TRaster& b);
// Like intersectionOverUnion, but a pixel set in one raster also agrees when
// the other has a pixel set within one pixel of it.
double agreementWithinOnePixel(const TRaster& a, const TRaster& b);
// For a failing comparison: a PPM picture of both rasters (black where both
// are set, red only in `a`, blue only in `b`); returns its path.
std::string writeDifferencePicture(const TRaster& a, const TRaster& b, const std::string& name);

bool gerbvAvailable();
// Renders the file with gerbv on the grid (dark on white) and returns its
// dark pixels; nullopt with `error` when gerbv fails or reports a warning.
std::optional<TRaster> renderWithGerbv(const std::string& file, const TPixelGrid& grid,
                                       std::string& error);

// The artwork an output should produce, built from the element outlines
// independently of the Gerber writer (board coordinates, not mirrored).
Region expectedArtwork(const TObjektList& elements, const TBoardRecord& board,
                       const TGerberOptions& options);
// The holes a drill file should produce.
Region expectedHoles(const TObjektList& elements);
// The 0.2 mm line along the board's edge.
Region boardOutline(const TBoardRecord& board);

}  // namespace plavesk::gerber_testing
