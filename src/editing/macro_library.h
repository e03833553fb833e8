// The macro library without its panel: saving a selection or a board as a
// macro, the preview with its mirror, side and through-pad toggles, and the
// folder tree.
#pragma once

#include <string>
#include <vector>

#include "document/macro_file.h"

namespace plavesk {

class TEditor;

// Among the pads and SMD pads, the one furthest up and left in list order;
// without pads the top-left corner of the bounds, snapped to the grid.
TPoint macroReferencePoint(const TObjektList& elements, double grid);

// Copies of the selected elements (all when `selectedOnly` is false) as a
// macro stores them: degenerate tracks and areas left out, moved so the
// reference point is (0, 0), unselected, without rubber bands or routes.
TMacro makeMacro(const TObjektList& source, bool selectedOnly, double grid);

enum class TMacroSave { saved, noElements, failed };
// Saves the selection, or the whole board when nothing is selected (the
// question answered with Yes).
TMacroSave saveMacro(TEditor& editor, const std::string& path, std::string& error);

// Messages of saving, in language 0 German, 1 English, 2 French.
std::string macroNoElementsMessage(int language);
std::string macroNoSelectionQuestion(int language);

// The macro loaded into the panel and its toggle buttons.
class TMacroPreview {
 public:
  TMacro macro;
  std::string fileName;
  bool mirrored = false;
  bool otherSide = false;
  bool throughPads = false;
  bool textsChanged = false;

  // Loads a macro as the panel does when the list selection changes: saves
  // changed descriptions of the previous file first, converts legacy font
  // texts, re-applies the toggles and turns the macro to the active side.
  bool load(const std::string& path, int activeLayer, double grid, std::string& error);
  void toggleMirror();
  void toggleSide();
  void setThroughPads(bool on);
  // Flips the macro (mirror and side) when it lies on the other side than
  // the active layer.
  void orientTo(int activeLayer);
  void setDescription(int line, const std::string& text);
  // Writes typed descriptions back to the file; the panel calls it when a
  // field loses the focus and when the program closes, so they are not lost.
  bool saveDescriptions(double grid, std::string& error);
  void clear();
};

struct TMacroFolder {
  std::string name;
  std::vector<TMacroFolder> children;  // sorted by name, byte order
};
// The folders below `root`, skipping names that begin with a dot.
TMacroFolder macroFolderTree(const std::string& root);
// The "*.LMK" files of a folder (any case), sorted by name.
std::vector<std::string> macroFiles(const std::string& folder);

}  // namespace plavesk
