#include "editing/macro_library.h"

#include <algorithm>
#include <filesystem>

#include "editing/editor.h"
#include "editing/font_text_conversion.h"
#include "view/geometry.h"
#include "view/units.h"

namespace plavesk {
namespace fs = std::filesystem;

TPoint macroReferencePoint(const TObjektList& elements, double grid) {
  bool found = false;
  TPoint ref;
  for (const auto& e : elements) {
    if (e->kind != kPad && e->kind != kSmdPad) continue;
    if (!found || (e->x <= ref.x && e->y >= ref.y)) ref = {e->x, e->y};
    found = true;
  }
  if (found) return ref;
  const TRect box = elementsBounds(elements);
  return snapToGrid({box.left, box.bottom}, grid);
}

TMacro makeMacro(const TObjektList& source, bool selectedOnly, double grid) {
  TMacro macro;
  for (const auto& e : source) e->copyMark = 0;
  for (const auto& e : source) {
    if (selectedOnly && !e->selected) continue;
    if (e->hasPoints() && e->points.size() < 2) continue;
    macro.elements.push_back(copyElement(*e));
  }
  relinkPadLinks(source, macro.elements, 0);
  const TPoint ref = macroReferencePoint(macro.elements, grid);
  for (auto& e : macro.elements) {
    moveElement(*e, -ref.x, -ref.y);
    e->selected = 0;
    e->autorouted = 0;
    e->connections.clear();
    e->routeFrom = e->routeTo = nullptr;
  }
  return macro;
}

TMacroSave saveMacro(TEditor& editor, const std::string& path, std::string& error) {
  if (!editor.layout.hasActiveBoard() || editor.elements().empty()) {
    error = macroNoElementsMessage(1);
    return TMacroSave::noElements;
  }
  const bool selectedOnly = editor.selectedCount() > 0;
  TMacro macro = makeMacro(editor.elements(), selectedOnly, editor.working().grid);
  return writeMacroFile(path, macro, error) ? TMacroSave::saved : TMacroSave::failed;
}

std::string macroNoElementsMessage(int language) {
  static const char* const kText[3] = {
      "Es befinden sich keine Elemente auf der aktuellen Platine.",
      "There are no elements on the board.", "Il n\xC2\xB4y a pas d\xC2\xB4\xC3\xA9l\xC3\xA9ments sur la carte."};
  return kText[std::clamp(language, 0, 2)];
}

std::string macroNoSelectionQuestion(int language) {
  static const char* const kText[3] = {
      "Sie haben keine Elemente markiert.\rSoll die gesamte Platine als Makro gespeichert werden ?",
      "No objects selected.\rSave whole layout as macro?",
      "Aucun objet s\xC3\xA9lectionn\xC3\xA9.\rSauvegarder tout le trac\xC3\xA9 comme une macro ?"};
  return kText[std::clamp(language, 0, 2)];
}

void TMacroPreview::toggleMirror() {
  for (auto& e : macro.elements) mirrorElementH(*e, {0, 0});
  mirrored = !mirrored;
}

void TMacroPreview::toggleSide() {
  for (auto& e : macro.elements) {
    e->layer = uint8_t(otherSideLayer(e->layer));
    for (auto& stroke : e->strokes) stroke->layer = uint8_t(otherSideLayer(stroke->layer));
  }
  otherSide = !otherSide;
}

void TMacroPreview::setThroughPads(bool on) {
  for (auto& e : macro.elements) {
    if (e->kind != kPad) continue;
    if (on && !e->padLink) {
      e->padLink = e.get();
      e->linkIndex = -3;
    } else if (!on && e->padLink && e->linkIndex < -2) {
      e->padLink = nullptr;
      e->linkIndex = -1;
    }
  }
  throughPads = on;
}

void TMacroPreview::orientTo(int activeLayer) {
  int copper = -1, silk = -1;
  for (const auto& e : macro.elements) {
    // A through pad lies on both sides and tells nothing about the side.
    if (e->kind == kPad && e->padLink && e->padLink != e.get()) continue;
    if (isCopperLayer(e->layer)) copper = e->layer;
    else if (isValidLayer(e->layer)) silk = e->layer;
  }
  // The side of the macro is read from its elements of the active layer's
  // kind, or from the other kind when it has none; a macro is never flipped
  // only because it lacks one kind of layer.
  int decisive = isCopperLayer(activeLayer) ? (copper > 0 ? copper : silk)
                                            : (silk > 0 ? silk : copper);
  if (decisive < 0 || isSide2Layer(decisive) == isSide2Layer(activeLayer)) return;
  toggleMirror();
  toggleSide();
}

void TMacroPreview::setDescription(int line, const std::string& text) {
  (line == 1 ? macro.description1 : macro.description2) = text;
  textsChanged = true;
}

bool TMacroPreview::saveDescriptions(double grid, std::string& error) {
  if (!textsChanged || fileName.empty() || !fs::exists(fileName)) return true;
  const bool wasMirrored = mirrored, wasOtherSide = otherSide, hadThroughPads = throughPads;
  if (mirrored) toggleMirror();
  if (otherSide) toggleSide();
  setThroughPads(false);
  TMacro stored = makeMacro(macro.elements, false, grid);
  stored.description1 = macro.description1;
  stored.description2 = macro.description2;
  bool ok = writeMacroFile(fileName, stored, error);
  if (wasOtherSide) toggleSide();
  if (wasMirrored) toggleMirror();
  setThroughPads(hadThroughPads);
  if (ok) textsChanged = false;
  return ok;
}

bool TMacroPreview::load(const std::string& path, int activeLayer, double grid,
                         std::string& error) {
  if (!fs::exists(path)) {
    error = "\"" + path + "\" does not exist";
    return false;
  }
  if (!saveDescriptions(grid, error)) return false;
  fileName = path;
  TMacro read;
  if (!readMacroFile(path, read, error)) {
    // A file that is not a macro leaves the preview empty.
    macro = TMacro{};
    textsChanged = false;
    return false;
  }
  macro = std::move(read);
  convertFontTextList(macro.elements, kCommandLinePixelsPerInch,
                      TTextContext{activeLayer, 40, grid});
  for (auto& e : macro.elements) {
    if (e->layer == 5) e->layer = kCopper2;
    if (e->layer == 6) e->layer = kSilk1;
  }
  removeDegenerateElements(macro.elements);
  const bool mirror = mirrored, side = otherSide;
  mirrored = otherSide = false;
  if (mirror) toggleMirror();
  if (side) toggleSide();
  orientTo(activeLayer);
  setThroughPads(throughPads);
  textsChanged = false;
  return true;
}

void TMacroPreview::clear() {
  macro = TMacro{};
  fileName.clear();
  textsChanged = false;
}

TMacroFolder macroFolderTree(const std::string& root) {
  TMacroFolder folder;
  folder.name = fs::path(root).filename().string();
  std::error_code ec;
  for (const auto& entry : fs::directory_iterator(root, ec)) {
    const std::string name = entry.path().filename().string();
    if (name.empty() || name[0] == '.' || !entry.is_directory(ec)) continue;
    folder.children.push_back(macroFolderTree(entry.path().string()));
  }
  std::sort(folder.children.begin(), folder.children.end(),
            [](const TMacroFolder& a, const TMacroFolder& b) { return a.name < b.name; });
  return folder;
}

std::vector<std::string> macroFiles(const std::string& folder) {
  std::vector<std::string> files;
  std::error_code ec;
  for (const auto& entry : fs::directory_iterator(folder, ec)) {
    std::string ext = entry.path().extension().string();
    std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char c) { return std::toupper(c); });
    if (ext == ".LMK" && entry.is_regular_file(ec)) files.push_back(entry.path().filename().string());
  }
  std::sort(files.begin(), files.end());
  return files;
}

}  // namespace plavesk
