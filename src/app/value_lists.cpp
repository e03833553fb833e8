#include "app/value_lists.h"

#include <QAction>
#include <QMenu>
#include <algorithm>
#include <charconv>
#include <cmath>

#include "app/language.h"
#include "editing/editor.h"
#include "editing/grid_values.h"
#include "editing/tool_value_fields.h"
#include "editing/tools/tool_values.h"

namespace plavesk {

namespace {

constexpr TText kAdd{"Hinzufügen", "Add", "Ajouter"};
constexpr TText kRemove{"Entfernen", "Remove", "Supprimer"};
constexpr TText kAddGrid{"Neues Raster hinzufügen...", "Add new grid value...",
                         "Ajouter une grille..."};
constexpr TText kRemoveGrid{"Akuelles Raster entfernen", "Remove current grid value",
                            "Supprimer la grille actuelle"};

QString q(const std::string& s) {
  return QString::fromStdString(s);
}

// A decimal number at `at` (blanks skipped), in units: round(v x 100).
std::optional<int32_t> unitsAt(const std::string& s, size_t at, size_t* end) {
  while (at < s.size() && s[at] == ' ') ++at;
  double v = 0;
  const auto r = std::from_chars(s.data() + at, s.data() + s.size(), v);
  if (r.ec != std::errc() || !std::isfinite(v) || v < 0 || v > 1e6) return std::nullopt;
  if (end) *end = size_t(r.ptr - s.data());
  return int32_t(std::nearbyint(v * 100));
}

// The fixed part of a list after its value entries: separator, Add, Remove.
struct TListFoot {
  QAction* separator;
  QAction* add;
  QAction* remove;
};

TListFoot addFoot(QMenu& menu, int language) {
  TListFoot foot;
  foot.separator = menu.addSeparator();
  foot.add = menu.addAction(pick(language, kAdd));
  foot.remove = menu.addAction(pick(language, kRemove));
  return foot;
}

// Value entries, then the foot: Remove only when an entry is checked, Add
// only when none is, the separator only when there are entries.
template <class Checked, class Choose>
TListFoot fillList(QMenu& menu, int language, const TValueList& list, Checked checked,
                   Choose choose) {
  menu.clear();
  bool any = false;
  for (size_t i = 0; i < list.size(); ++i) {
    QAction* a = menu.addAction(q(list[i].caption));
    a->setCheckable(true);
    const bool on = checked(list[i]);
    a->setChecked(on);
    any |= on;
    const TValueListEntry entry = list[i];
    QObject::connect(a, &QAction::triggered, &menu, [choose, entry] { choose(entry); });
  }
  TListFoot foot = addFoot(menu, language);
  foot.separator->setVisible(!list.empty());
  foot.add->setEnabled(!any);
  foot.remove->setEnabled(any);
  return foot;
}

}  // namespace

// --- rules ---

int findTrackWidth(const TValueList& list, int32_t units) {
  for (size_t i = 0; i < list.size(); ++i)
    if (list[i].value == units) return int(i);
  return -1;
}

bool addTrackWidth(TValueList& list, int32_t units, const std::string& caption) {
  if (findTrackWidth(list, units) >= 0) return false;
  auto at = std::find_if(list.begin(), list.end(),
                         [&](const TValueListEntry& e) { return e.value > units || e.value < 0; });
  list.insert(at, {units, caption});
  return true;
}

bool removeTrackWidth(TValueList& list, int32_t units) {
  const int i = findTrackWidth(list, units);
  if (i < 0) return false;
  list.erase(list.begin() + i);
  return true;
}

std::optional<TSizePair> readSizeCaption(const std::string& caption) {
  std::string s = caption;
  if (const size_t amp = s.find('&'); amp != std::string::npos) s.erase(amp, 1);
  size_t end = 0;
  const auto first = unitsAt(s, 0, &end);
  if (!first) return std::nullopt;
  const size_t x = s.find('x', end);
  if (x == std::string::npos) return std::nullopt;
  const auto second = unitsAt(s, x + 1, nullptr);
  if (!second) return std::nullopt;
  return TSizePair{*first, *second};
}

int findPadSize(const TValueList& list, int32_t padRadius, int32_t drillRadius) {
  for (size_t i = 0; i < list.size(); ++i)
    if (const auto p = readSizeCaption(list[i].caption))
      if (p->first / 2 == padRadius && p->second / 2 == drillRadius) return int(i);
  return -1;
}

int findSmdSize(const TValueList& list, int32_t width, int32_t height) {
  for (size_t i = 0; i < list.size(); ++i)
    if (const auto p = readSizeCaption(list[i].caption))
      if (p->first == width && p->second == height) return int(i);
  return -1;
}

void addSizeCaption(TValueList& list, const std::string& caption) {
  const auto n = readSizeCaption(caption);
  auto at = list.end();
  if (n)
    at = std::find_if(list.begin(), list.end(), [&](const TValueListEntry& e) {
      const auto p = readSizeCaption(e.caption);
      return p && (p->first > n->first || (p->first == n->first && p->second > n->second));
    });
  list.insert(at, {-1, caption});
}

int findGrid(const TValueList& list, int32_t units) {
  return findTrackWidth(list, units);
}

int addGrid(TValueList& list, int32_t units, const std::string& caption) {
  if (const int i = findGrid(list, units); i >= 0) return i;
  addTrackWidth(list, units, caption);
  return findGrid(list, units);
}

bool removeGrid(TValueList& list, int32_t units) {
  return removeTrackWidth(list, units);
}

// --- menus ---

TValueListMenus::TValueListMenus(int language, TValueLists& lists, QObject* parent)
    : QObject(parent), language_(language), lists_(lists) {
  track_ = new QMenu;
  track_->setObjectName("LinienPopup");
  pad_ = new QMenu;
  pad_->setObjectName("LA_Popup");
  smd_ = new QMenu;
  smd_->setObjectName("SMD_Popup");
  grid_ = new QMenu;
  grid_->setObjectName("RasterPopup");
  for (QMenu* m : {track_, pad_, smd_, grid_})
    connect(this, &QObject::destroyed, m, [m] { delete m; });
  connect(track_, &QMenu::aboutToShow, this, [this] { LinienPopupPopup(); });
  connect(pad_, &QMenu::aboutToShow, this, [this] { LA_PopupPopup(); });
  connect(smd_, &QMenu::aboutToShow, this, [this] { SMD_PopupPopup(); });
  connect(grid_, &QMenu::aboutToShow, this, [this] { RasterPopupPopup(); });
}

void TValueListMenus::attach(TToolValueFields* fields, TEditor* editor) {
  fields_ = fields;
  editor_ = editor;
}

void TValueListMenus::setGridExtras(QMenu* marking, QAction* visible) {
  marking_ = marking;
  visible_ = visible;
}

std::string TValueListMenus::sizeCaption(int first, int second) const {
  return fields_->text(TValueField(first)) + " x " + fields_->text(TValueField(second)) + " mm";
}

int32_t TValueListMenus::currentGrid() const {
  if (!editor_ || !editor_->layout.hasActiveBoard()) return -1;
  return int32_t(std::nearbyint(editor_->working().grid));
}

void TValueListMenus::LinienPopupPopup() {
  if (!fields_) return;
  const int32_t w = fields_->values().trackWidth;
  const TListFoot foot = fillList(
      *track_, language_, lists_.trackWidths,
      [w](const TValueListEntry& e) { return e.value == w; },
      [this](const TValueListEntry& e) { fields_->chooseTrackWidth(e.value); });
  connect(foot.add, &QAction::triggered, this, [this] { L_HinzufuegenClick(); });
  connect(foot.remove, &QAction::triggered, this, [this] { L_EntfernenClick(); });
}

void TValueListMenus::LA_PopupPopup() {
  if (!fields_) return;
  const TToolValues& v = fields_->values();
  const TListFoot foot = fillList(
      *pad_, language_, lists_.padSizes,
      [&](const TValueListEntry& e) {
        const auto p = readSizeCaption(e.caption);
        return p && p->first / 2 == v.padRadius && p->second / 2 == v.drillRadius;
      },
      [this](const TValueListEntry& e) {
        if (const auto p = readSizeCaption(e.caption)) fields_->choosePadSize(p->first, p->second);
      });
  connect(foot.add, &QAction::triggered, this, [this] { LA_HinzufuegenClick(); });
  connect(foot.remove, &QAction::triggered, this, [this] { LA_EntfernenClick(); });
}

void TValueListMenus::SMD_PopupPopup() {
  if (!fields_) return;
  const TToolValues& v = fields_->values();
  const int32_t w = int32_t(std::nearbyint(v.smdWidthMm * 100));
  const int32_t h = int32_t(std::nearbyint(v.smdHeightMm * 100));
  const TListFoot foot = fillList(
      *smd_, language_, lists_.smdSizes,
      [&](const TValueListEntry& e) {
        const auto p = readSizeCaption(e.caption);
        return p && p->first == w && p->second == h;
      },
      [this](const TValueListEntry& e) {
        if (const auto p = readSizeCaption(e.caption)) fields_->chooseSmdSize(p->first, p->second);
      });
  connect(foot.add, &QAction::triggered, this, [this] { SMD_HinzufuegenClick(); });
  connect(foot.remove, &QAction::triggered, this, [this] { SMD_EntfernenClick(); });
}

void TValueListMenus::RasterPopupPopup() {
  grid_->clear();
  const int32_t g = currentGrid();
  for (const TFixedGrid& f : fixedGrids()) {
    QAction* a = grid_->addAction(QString::fromUtf8(f.caption));
    a->setCheckable(true);
    a->setChecked(f.tag == g);
    const int32_t tag = f.tag;
    connect(a, &QAction::triggered, this, [this, tag] { chooseFixedGrid(tag); });
  }
  grid_->addSeparator();
  bool userChecked = false;
  for (const TValueListEntry& e : lists_.grids) {
    QAction* a = grid_->addAction(q(e.caption));
    a->setCheckable(true);
    a->setChecked(e.value == g);
    userChecked |= e.value == g;
    const int32_t units = e.value;
    connect(a, &QAction::triggered, this, [this, units] { chooseUserGrid(units); });
  }
  QAction* divider = grid_->addSeparator();
  divider->setObjectName("R_Trenner");
  divider->setVisible(!lists_.grids.empty());
  QAction* add = grid_->addAction(pick(language_, kAddGrid));
  connect(add, &QAction::triggered, this, [this] { R_HinzufuegenClick(); });
  QAction* remove = grid_->addAction(pick(language_, kRemoveGrid));
  remove->setEnabled(userChecked);
  connect(remove, &QAction::triggered, this, [this] { R_EntfernenClick(); });
  if (marking_ || visible_) grid_->addSeparator();
  if (marking_) grid_->addMenu(marking_);
  if (visible_) grid_->addAction(visible_);
}

void TValueListMenus::L_HinzufuegenClick() {
  if (!fields_) return;
  addTrackWidth(lists_.trackWidths, fields_->values().trackWidth,
                fields_->text(TValueField::width) + " mm");
}

void TValueListMenus::L_EntfernenClick() {
  if (fields_) removeTrackWidth(lists_.trackWidths, fields_->values().trackWidth);
}

void TValueListMenus::LA_HinzufuegenClick() {
  if (!fields_) return;
  const TToolValues& v = fields_->values();
  if (findPadSize(lists_.padSizes, v.padRadius, v.drillRadius) >= 0) return;
  addSizeCaption(lists_.padSizes, sizeCaption(int(TValueField::outer), int(TValueField::drill)));
}

void TValueListMenus::LA_EntfernenClick() {
  if (!fields_) return;
  const TToolValues& v = fields_->values();
  if (const int i = findPadSize(lists_.padSizes, v.padRadius, v.drillRadius); i >= 0)
    lists_.padSizes.erase(lists_.padSizes.begin() + i);
}

void TValueListMenus::SMD_HinzufuegenClick() {
  if (!fields_) return;
  const TToolValues& v = fields_->values();
  const int32_t w = int32_t(std::nearbyint(v.smdWidthMm * 100));
  const int32_t h = int32_t(std::nearbyint(v.smdHeightMm * 100));
  if (findSmdSize(lists_.smdSizes, w, h) >= 0) return;
  addSizeCaption(lists_.smdSizes,
                 sizeCaption(int(TValueField::smdWidth), int(TValueField::smdHeight)));
}

void TValueListMenus::SMD_EntfernenClick() {
  if (!fields_) return;
  const TToolValues& v = fields_->values();
  const int32_t w = int32_t(std::nearbyint(v.smdWidthMm * 100));
  const int32_t h = int32_t(std::nearbyint(v.smdHeightMm * 100));
  if (const int i = findSmdSize(lists_.smdSizes, w, h); i >= 0)
    lists_.smdSizes.erase(lists_.smdSizes.begin() + i);
}

void TValueListMenus::R_HinzufuegenClick() {
  if (!askGrid) return;
  const std::optional<double> mm = askGrid();
  if (!mm) return;
  const int32_t units = int32_t(std::nearbyint(*mm * 100));
  const TSpinRange range{0.01, 99.9, 0.01, 2};
  const int i =
      addGrid(lists_.grids, units, kGridCaptionIndent + formatSpinValue(*mm, range) + " mm");
  chooseUserGrid(lists_.grids[size_t(i)].value);
}

void TValueListMenus::R_EntfernenClick() {
  // Only user grids can go.
  removeGrid(lists_.grids, currentGrid());
}

void TValueListMenus::chooseFixedGrid(int32_t tag) {
  const double g = fixedGridUnits(tag);
  if (editor_) setGrid(*editor_, g);
  if (gridChosen) gridChosen(g);
}

void TValueListMenus::chooseUserGrid(int32_t units) {
  if (editor_) setGrid(*editor_, units);
  if (gridChosen) gridChosen(units);
}

}  // namespace plavesk
