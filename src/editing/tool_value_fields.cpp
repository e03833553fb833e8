#include "editing/tool_value_fields.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include "document/board.h"
#include "editing/editor.h"
#include "editing/tools/tool_values.h"
#include "view/layer_visibility.h"

namespace plavesk {

namespace {

constexpr TValueFieldInfo kFieldInfos[] = {
    {TValueField::width,
     "width",
     "SE_Breite",
     {0, 99.9, 0.1, 1},
     0.8,
     {"Leiterbahnbreite|Aktuelle Leiterbahnbreite", "Track width|Track width",
      "Largeur de piste|Largeur de piste actuelle"}},
    {TValueField::outer,
     "outer",
     "SE_Aussen",
     {0.1, 99.9, 0.1, 1},
     1.8,
     {"Aussendurchmesser|Aktueller Aussendurchmesser des Lötauges", "Outside|Pad outside diameter",
      "Extérieur|Diamètre extérieur de la pastille"}},
    {TValueField::drill,
     "drill",
     "SE_Innen",
     {0, 99.9, 0.1, 1},
     0.6,
     {"Bohrung|Aktuelle Bohrung des Lötauges", "Drilling|Pad drilling diameter",
      "Perçage|Diamètre de perçage de la pastille"}},
    {TValueField::smdWidth,
     "smd-width",
     "SE_SMDPad_X",
     {0.01, 9.99, 0.01, 2},
     0.9,
     {"Breite|Aktuelle Breite des SMD-Pads", "Width|SMD-Pad width",
      "Largeur|Largeur de la pastille CMS"}},
    {TValueField::smdHeight,
     "smd-height",
     "SE_SMDPad_Y",
     {0.01, 9.99, 0.01, 2},
     1.8,
     {"Höhe|Aktuelle Höhe des SMD-Pads", "Height|SMD-Pad height",
      "Hauteur|Hauteur de la pastille CMS"}},
    {TValueField::clearance,
     "clearance",
     "SE_FreistanzOffset",
     {0, 5.0, 0.1, 1},
     0.4,
     {"Freistanzbreite|Ändert die Freistanzbreite von markierten oder neuen Elementen in der "
      "AutoMasse",
      "Distance|Distance from ground plane for selected and new elements",
      "Distance|Distance au plan de masse des éléments marqués ou nouveaux"}},
};

// round(): to the nearest, halves to the even neighbour.
int32_t roundUnits(double v) {
  return int32_t(std::nearbyint(v));
}

bool applies(TApplyWhat what, const TObjekt& e) {
  switch (what) {
    case TApplyWhat::width:
      return e.kind == kLine || e.kind == kArea || e.kind == kTrack || e.kind == kCircle;
    case TApplyWhat::outer:
    case TApplyWhat::drill:
    case TApplyWhat::shape:
    case TApplyWhat::throughPad:
      return e.kind == kPad;
    case TApplyWhat::smdWidth:
    case TApplyWhat::smdHeight:
      return e.kind == kSmdPad;
    case TApplyWhat::clearance:
      return true;
  }
  return false;
}

TApplyWhat applyOf(TValueField field) {
  switch (field) {
    case TValueField::width:
      return TApplyWhat::width;
    case TValueField::outer:
      return TApplyWhat::outer;
    case TValueField::drill:
      return TApplyWhat::drill;
    case TValueField::smdWidth:
      return TApplyWhat::smdWidth;
    case TValueField::smdHeight:
      return TApplyWhat::smdHeight;
    case TValueField::clearance:
      return TApplyWhat::clearance;
  }
  return TApplyWhat::width;
}

// One quantity over the selection: nothing seen, one common value or mixed.
struct TCommon {
  bool seen = false;
  bool mixed = false;
  int32_t value = 0;
  void add(int32_t v) {
    if (!seen) {
      seen = true;
      value = v;
    } else if (v != value) {
      mixed = true;
    }
  }
  bool common() const { return seen && !mixed; }
};

}  // namespace

std::span<const TValueFieldInfo> valueFieldInfos() {
  return kFieldInfos;
}

const TValueFieldInfo& valueFieldInfo(TValueField field) {
  return kFieldInfos[size_t(field)];
}

const TValueFieldInfo* findValueField(std::string_view nameOrControl) {
  for (const TValueFieldInfo& s : kFieldInfos)
    if (s.name == nameOrControl || s.control == nameOrControl) return &s;
  return nullptr;
}

TToolValueFields::TToolValueFields(TEditor& editor, TToolValues& values)
    : editor_(editor), values_(values) {
  for (const TValueFieldInfo& s : kFieldInfos) shown_[size_t(s.field)] = s.start;
}

std::string TToolValueFields::text(TValueField field) const {
  return formatSpinValue(shown(field), valueFieldInfo(field).range);
}

// --- events ---

void TToolValueFields::enter(TValueField field) {
  focus_ = field;
  if (field == TValueField::outer) pairBefore_ = shown(TValueField::drill);
  if (field == TValueField::drill) pairBefore_ = shown(TValueField::outer);
  if (field == TValueField::clearance)
    clearanceArmed_ = true;
  else
    phase_ = true;
}

void TToolValueFields::changed(TValueField field, double mm) {
  shown_[size_t(field)] = valueFieldInfo(field).range.limit(mm);
  runChange(field);
}

void TToolValueFields::exit(TValueField field, double mm) {
  changed(field, mm);
  if (focus_ == field) focus_.reset();
  if (field == TValueField::clearance)
    clearanceArmed_ = false;
  else
    phase_ = false;
}

double TToolValueFields::type(TValueField field, std::string_view text) {
  const double v = readSpinText(text, valueFieldInfo(field).range);
  enter(field);
  changed(field, v);
  exit(field, v);
  if (showField) showField(field, shown(field));
  return shown(field);
}

// --- setters ---

void TToolValueFields::setField(TValueField field, double mm) {
  shown_[size_t(field)] = valueFieldInfo(field).range.limit(mm);
  if (showField) showField(field, shown_[size_t(field)]);
  runChange(field);
}

void TToolValueFields::setTrackWidth(int32_t units) {
  setField(TValueField::width, units / 100.0);
}
void TToolValueFields::setPadDiameter(int32_t units) {
  setField(TValueField::outer, 2 * roundUnits(units / 2.0) / 100.0);
}
void TToolValueFields::setDrillDiameter(int32_t units) {
  setField(TValueField::drill, 2 * roundUnits(units / 2.0) / 100.0);
}
void TToolValueFields::setSmdWidth(int32_t units) {
  setField(TValueField::smdWidth, units / 100.0);
}
void TToolValueFields::setSmdHeight(int32_t units) {
  setField(TValueField::smdHeight, units / 100.0);
}
void TToolValueFields::setClearance(int32_t units) {
  setField(TValueField::clearance, units / 100.0);
}

// The change handler shared by the fields (SE_BreiteChange and siblings).
void TToolValueFields::runChange(TValueField field) {
  const double v = shown(field);
  std::optional<double> drillAfter;
  switch (field) {
    case TValueField::width:
      values_.trackWidth = roundUnits(v * 100);
      break;
    case TValueField::outer:
      values_.padRadius = roundUnits(v * 50);
      // The drill cannot be larger than the pad. While the user types or
      // spins, it is clipped from its value before, so that the "0" of a
      // typed "0.5" or the "1" of a typed "120" does not leave it clipped;
      // it may grow back then, after the selected pads have grown.
      if (focus_ == field) {
        const double drill = std::min(pairBefore_, v);
        if (shown(TValueField::drill) != drill) drillAfter = drill;
      } else if (values_.padRadius < values_.drillRadius) {
        setField(TValueField::drill, v);
      }
      break;
    case TValueField::drill:
      values_.drillRadius = roundUnits(v * 50);
      if (focus_ == field) {
        const double outer = std::max(pairBefore_, v);
        if (shown(TValueField::outer) != outer) setField(TValueField::outer, outer);
      } else if (values_.drillRadius > values_.padRadius) {
        setField(TValueField::outer, v);
      }
      break;
    case TValueField::smdWidth:
      values_.smdWidthMm = roundUnits(v * 100) / 100.0;
      break;
    case TValueField::smdHeight:
      values_.smdHeightMm = roundUnits(v * 100) / 100.0;
      break;
    case TValueField::clearance:
      values_.clearance = roundUnits(v * 100);
      // One snapshot per entering of the field when anything is selected.
      if (clearanceArmed_ && editor_.selectedCount() > 0) {
        editor_.takeSnapshot();
        clearanceArmed_ = false;
      }
      break;
  }
  if (!takingOver_) applyToSelection(applyOf(field));
  if (drillAfter) setField(TValueField::drill, *drillAfter);
  if (focus_ == field) remember(field);
}

void TToolValueFields::remember(TValueField field) {
  auto units = [&](TValueField f) { return roundUnits(shown(f) * 100); };
  switch (field) {
    case TValueField::width:
      defaults.trackWidth = units(field);
      break;
    case TValueField::outer:
    case TValueField::drill:
      defaults.outerDiameter = units(TValueField::outer);
      defaults.drillDiameter = units(TValueField::drill);
      break;
    case TValueField::smdWidth:
    case TValueField::smdHeight:
      defaults.smdWidth = units(TValueField::smdWidth);
      defaults.smdHeight = units(TValueField::smdHeight);
      break;
    case TValueField::clearance:
      break;  // the clearance has no remembered default
  }
}

// --- the selection ---

bool TToolValueFields::applyToSelection(TApplyWhat what) {
  if (!editor_.layout.hasActiveBoard()) return false;
  const TBoardRecord& board = editor_.working();
  const int32_t w = values_.trackWidth;
  bool changed = false;
  // Changes one element: the first change of an open phase takes the
  // snapshot before anything differs from it.
  auto change = [&](TObjekt& e, auto&& set) {
    if (phase_) {
      editor_.takeSnapshot();
      phase_ = false;
    }
    editor_.invalidate(e);
    set();
    editor_.invalidate(e);
    changed = true;
  };
  // Through-pad partners removed on the way are deleted after the loop.
  std::vector<TObjekt*> dropPartners;
  TObjektList& list = editor_.elements();
  const size_t count = list.size();
  for (size_t i = 0; i < count; ++i) {
    TObjekt& e = *list[i];
    if (!e.selected || !applies(what, e)) continue;
    if (what != TApplyWhat::clearance && !isLayerVisible(board, e.layer)) continue;
    switch (what) {
      case TApplyWhat::width:
        if (e.kind == kCircle) {
          const int32_t m = e.dim1 - (e.dim1 - e.dim2) / 2;
          if (e.dim1 != m + w / 2 || e.dim2 != m - w / 2)
            change(e, [&] {
              e.dim1 = m + w / 2;
              e.dim2 = m - w / 2;
            });
        } else if (e.dim3 != w) {
          change(e, [&] { e.dim3 = w; });
        }
        break;
      case TApplyWhat::outer:
      case TApplyWhat::drill:
      case TApplyWhat::shape:
      case TApplyWhat::throughPad: {
        const bool through = e.padLink != nullptr;
        if (e.dim1 == values_.padRadius && e.dim2 == values_.drillRadius &&
            e.padShape == values_.padShape && through == values_.throughPad)
          break;
        if (what == TApplyWhat::throughPad) {
          if (through == values_.throughPad) break;
          // A partner is itself a selected pad: only the pad of the active
          // side's pair decides, once.
          if (through &&
              std::find(dropPartners.begin(), dropPartners.end(), &e) != dropPartners.end())
            break;
          change(e, [&] {
            if (through) {
              TObjekt* partner = e.padLink;
              partner->padLink = nullptr;
              e.padLink = nullptr;
              dropPartners.push_back(partner);
            } else {
              editor_.invalidate(editor_.addThroughPartner(e));
            }
          });
          break;
        }
        int32_t dim1 = e.dim1, dim2 = e.dim2;
        uint8_t shape = e.padShape;
        if (what == TApplyWhat::outer) dim1 = values_.padRadius;
        if (what == TApplyWhat::drill) dim2 = values_.drillRadius;
        if (what == TApplyWhat::shape) shape = values_.padShape;
        dim2 = std::min(dim2, dim1);
        if (dim1 != e.dim1 || dim2 != e.dim2 || shape != e.padShape)
          change(e, [&] {
            e.dim1 = dim1;
            e.dim2 = dim2;
            e.padShape = shape;
          });
        break;
      }
      case TApplyWhat::smdWidth: {
        const int32_t v = roundUnits(values_.smdWidthMm * 100);
        if (e.dim1 != v) change(e, [&] { e.dim1 = v; });
        break;
      }
      case TApplyWhat::smdHeight: {
        const int32_t v = roundUnits(values_.smdHeightMm * 100);
        if (e.dim2 != v) change(e, [&] { e.dim2 = v; });
        break;
      }
      case TApplyWhat::clearance:
        if (e.clearance != values_.clearance) change(e, [&] { e.clearance = values_.clearance; });
        break;
    }
  }
  if (!dropPartners.empty()) {
    deleteElementsIf(list, [&](const TObjekt& e) {
      return std::find(dropPartners.begin(), dropPartners.end(), &e) != dropPartners.end();
    });
  }
  // The invalidated areas are all that needs painting again.
  if (changed) editor_.layout.modified = true;
  return changed;
}

void TToolValueFields::takeOverFromSelection(bool ctrl) {
  TCommon width, outer, drill, shape, smdW, smdH, clearance;
  bool lastThrough = values_.throughPad;
  for (const auto& p : editor_.elements()) {
    const TObjekt& e = *p;
    if (!e.selected) continue;
    switch (e.kind) {
      case kLine:
      case kArea:
      case kTrack:
        width.add(e.dim3);
        break;
      case kCircle:
        width.add(e.dim1 - e.dim2);
        break;
      case kPad:
        outer.add(e.dim1);
        drill.add(e.dim2);
        shape.add(e.padShape);
        lastThrough = e.padLink != nullptr;
        break;
      case kSmdPad:
        smdW.add(e.dim1);
        smdH.add(e.dim2);
        break;
      default:
        break;
    }
    clearance.add(e.clearance);
  }
  // Setting a field runs its change handler; the values come from the
  // selection, so nothing is applied back to it.
  takingOver_ = true;
  tookOver_ = true;
  if (!width.seen)
    setTrackWidth(values_.trackWidth);
  else if (width.common())
    setTrackWidth(width.value);
  if (outer.common()) setField(TValueField::outer, 2 * outer.value / 100.0);
  if (drill.common()) setField(TValueField::drill, 2 * drill.value / 100.0);
  if (smdW.common()) setSmdWidth(smdW.value);
  if (smdH.common()) setSmdHeight(smdH.value);
  if (clearance.common()) setClearance(clearance.value);
  takingOver_ = false;
  if (ctrl) {
    if (width.common()) defaults.trackWidth = width.value;
    if (outer.common()) defaults.outerDiameter = 2 * outer.value;
    if (drill.common()) defaults.drillDiameter = 2 * drill.value;
    if (smdW.common()) defaults.smdWidth = smdW.value;
    if (smdH.common()) defaults.smdHeight = smdH.value;
  }
  if (shape.common() &&
      (uint8_t(shape.value) != values_.padShape || lastThrough != values_.throughPad)) {
    values_.padShape = uint8_t(shape.value);
    values_.throughPad = lastThrough;
    if (padShapeChanged) padShapeChanged();
  }
}

void TToolValueFields::backToDefaults() {
  setTrackWidth(defaults.trackWidth);
  setPadDiameter(defaults.outerDiameter);
  setDrillDiameter(defaults.drillDiameter);
  setSmdWidth(defaults.smdWidth);
  setSmdHeight(defaults.smdHeight);
}

void TToolValueFields::refresh() {
  if (!tookOver_ || !editor_.layout.hasActiveBoard() || editor_.selectedCount() != 0) return;
  tookOver_ = false;
  backToDefaults();
}

// --- the lists ---

void TToolValueFields::asOnePhase(const std::function<void()>& change) {
  const bool before = phase_;
  phase_ = true;
  change();
  phase_ = before;
}

void TToolValueFields::chooseTrackWidth(int32_t units) {
  asOnePhase([&] { setTrackWidth(units); });
  defaults.trackWidth = values_.trackWidth;
}

void TToolValueFields::choosePadSize(int32_t outerDiameter, int32_t drillDiameter) {
  asOnePhase([&] {
    // Twice, so that the coupling of the two cannot clip either value.
    setPadDiameter(outerDiameter);
    setDrillDiameter(drillDiameter);
    setPadDiameter(outerDiameter);
    setDrillDiameter(drillDiameter);
  });
  defaults.outerDiameter = roundUnits(shown(TValueField::outer) * 100);
  defaults.drillDiameter = roundUnits(shown(TValueField::drill) * 100);
}

void TToolValueFields::chooseSmdSize(int32_t width, int32_t height) {
  asOnePhase([&] {
    setSmdWidth(width);
    setSmdHeight(height);
  });
  defaults.smdWidth = roundUnits(shown(TValueField::smdWidth) * 100);
  defaults.smdHeight = roundUnits(shown(TValueField::smdHeight) * 100);
}

}  // namespace plavesk
