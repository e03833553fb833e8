// The four remembered-value lists of the tool panel: track widths
// (LinienPopup), pad sizes (LA_Popup), SMD sizes (SMD_Popup) and grids
// (RasterPopup). Each drop-down shows its value entries followed by
// "Hinzufügen" and "Entfernen" (the grid list: the fixed grids first, then
// the user grids and its own fixed entries). The entries live in the
// settings file's sections L_POPUP, LA_POPUP, SMD_POPUP and R_POPUP.
#pragma once

#include <QObject>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/app_settings.h"

class QAction;
class QMenu;
class QToolButton;
class QWidget;

namespace plavesk {

class TEditor;
class TToolValueFields;

using TValueList = std::vector<TValueListEntry>;

// --- the rules of the lists, free of widgets ---

// Track widths: entries tagged with the width in units, ascending.
int findTrackWidth(const TValueList& list, int32_t units);
// Inserts before the first entry with a larger (or negative) tag; false when
// the width is in the list already.
bool addTrackWidth(TValueList& list, int32_t units, const std::string& caption);
bool removeTrackWidth(TValueList& list, int32_t units);

// The two numbers of a pad or SMD caption ("1.8 x 0.6 mm", "0.90 x 1.80 mm"),
// each x 100 (units); a leading "&" of the menu is skipped. Nothing for a
// caption that does not hold two numbers.
struct TSizePair {
  int32_t first = 0;
  int32_t second = 0;
};
std::optional<TSizePair> readSizeCaption(const std::string& caption);

// Pad sizes match when outer diameter div 2 and drill diameter div 2 equal
// the current radii; SMD sizes when both numbers equal the current size.
int findPadSize(const TValueList& list, int32_t padRadius, int32_t drillRadius);
int findSmdSize(const TValueList& list, int32_t width, int32_t height);
// Inserts before the first entry with a larger first number, or an equal
// first and a larger second number.
void addSizeCaption(TValueList& list, const std::string& caption);

// User grids, tagged in units, ascending. Adding a grid whose tag exists
// adds nothing; both return the index of the entry to choose.
int findGrid(const TValueList& list, int32_t units);
int addGrid(TValueList& list, int32_t units, const std::string& caption);
bool removeGrid(TValueList& list, int32_t units);

// --- the drop-down menus ---

class TValueListMenus : public QObject {
  Q_OBJECT

 public:
  TValueListMenus(int language, TValueLists& lists, QObject* parent = nullptr);

  // The fields whose values the lists hold and set; the editor whose grid
  // the grid list sets.
  void attach(TToolValueFields* fields, TEditor* editor);
  // The grid list ends with the grid marking submenu and "Raster sichtbar".
  void setGridExtras(QMenu* marking, QAction* visible);

  QMenu* trackMenu() const { return track_; }
  QMenu* padMenu() const { return pad_; }
  QMenu* smdMenu() const { return smd_; }
  QMenu* gridMenu() const { return grid_; }

  // Asks for a new grid (the grid dialog); nothing when cancelled.
  std::function<std::optional<double>()> askGrid;
  // The grid changed: the button's caption and the view follow.
  std::function<void(double gridUnits)> gridChosen;

  // The menus as they show on opening (checks, enabled entries); public for
  // the tests that read them without opening.
  void LinienPopupPopup();
  void LA_PopupPopup();
  void SMD_PopupPopup();
  void RasterPopupPopup();

  void L_HinzufuegenClick();
  void L_EntfernenClick();
  void LA_HinzufuegenClick();
  void LA_EntfernenClick();
  void SMD_HinzufuegenClick();
  void SMD_EntfernenClick();
  void R_HinzufuegenClick();
  void R_EntfernenClick();
  // A grid entry chosen: fixed grids by their tag in nanometres.
  void chooseFixedGrid(int32_t tag);
  void chooseUserGrid(int32_t units);

 private:
  void rebuildTrack();
  void rebuildPad();
  void rebuildSmd();
  void rebuildGrid();
  std::string sizeCaption(int first, int second) const;
  int32_t currentGrid() const;

  int language_;
  TValueLists& lists_;
  TToolValueFields* fields_ = nullptr;
  TEditor* editor_ = nullptr;
  QMenu* track_;
  QMenu* pad_;
  QMenu* smd_;
  QMenu* grid_;
  QMenu* marking_ = nullptr;
  QAction* visible_ = nullptr;
};

}  // namespace plavesk
