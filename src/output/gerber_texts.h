// Every text of the Gerber export in German, English and French (language
// index 0, 1, 2): default file names, layer names written into the files,
// the export dialog's captions and the messages after writing.
#pragma once

#include <array>
#include <string>

#include "output/gerber_options.h"

namespace plavesk {

std::string gerberFileName(TGerberOutput output, int language);
std::string gerberLayerName(TGerberOutput output, int language);

struct TGerberDialogTexts {
  std::string title;
  std::string intro;                                    // Label3
  std::string layerGroup;                               // GroupBox1
  std::array<std::string, kGerberOutputCount> outputs;  // by TGerberOutput
  std::string optionsGroup;                             // GroupBox2
  std::string mirror, outline, punch, mark;
  std::string maskGroup;  // GB_Loetstop
  std::string invert, pads, smdPads, offset;
  std::string ok, close;
};
TGerberDialogTexts gerberDialogTexts(int language);

std::string gerberMessageCaption(int language);
std::string gerberCreatedMessage(int language);
std::string gerberNotCreatedMessage(int language);
// The save dialog's filter.
std::string gerberFileFilter();

}  // namespace plavesk
