// The Gerber export of one board: one RS-274X file per output (copper,
// silkscreen, solder mask, SMD pads of a side), with board outline, ground
// plane, hole cut-outs and mirroring as the options say.
#pragma once

#include <string>

#include "document/board.h"
#include "output/gerber_options.h"
#include "output/gerber_writer.h"

namespace plavesk {

// One file being plotted. Board points (y from -height to 0) are written
// with y + height, so the file's origin is the board's lower left corner.
struct TGerberPlot {
  TGerberFile& file;
  const TObjektList& elements;
  int32_t width = 0;
  int32_t height = 0;
  const TGerberOptions& options;
};

// Does the element belong to the copper, silkscreen or SMD-only output?
// Layer visibility plays no part.
bool GerberSichtbar(const TObjekt& e, TGerberOutput output);
// The elements of the output's layer in list order; in clearance mode every
// size grows by the element's clearance on each side (cut-out areas keep
// their size) so that it cuts itself free of the ground plane.
void PlotteLayout(TGerberPlot& plot, bool clearanceMode);
// The drill holes of the output's pads in clear polarity (0.3 mm centring
// marks with the mark option). Pads without a drill get nothing.
void GerberFreistanzen(TGerberPlot& plot);
// The openings of the solder mask of the output's side.
void GerberLoetstopMaske(TGerberPlot& plot);

// Opens `file` with the output's layer name and plots the whole output into
// it; the caller closes it.
void plotGerberOutput(TGerberFile& file, const TObjektList& elements, const TBoardRecord& board,
                      const TGerberOptions& options, int language);
// The text of the file PlotteGerberfile writes.
std::string gerberText(const TObjektList& elements, const TBoardRecord& board,
                       const TGerberOptions& options, int language);
// Writes one output to `path`; on failure returns false with a message
// naming the file.
bool PlotteGerberfile(const std::string& path, const TObjektList& elements,
                      const TBoardRecord& board, const TGerberOptions& options, int language,
                      std::string& error);

}  // namespace plavesk
