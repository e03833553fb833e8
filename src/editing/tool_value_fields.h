// The current tool values as the tool panel's value fields edit them: their
// ranges and start values, the editing phase that makes a whole typing or
// spinning sequence one undo step, the coupling of the pad diameters, the
// application of a changed value to the selection, the take-over of common
// values from the selection and the remembered defaults. The window's
// fields and the runner's `set` action drive the same object.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "document/language_text.h"
#include "editing/spin_value.h"

namespace plavesk {

class TEditor;
struct TToolValues;

enum class TValueField : uint8_t { width, outer, drill, smdWidth, smdHeight, clearance };
constexpr int kValueFieldCount = 6;

struct TValueFieldInfo {
  TValueField field;
  std::string_view name;     // the runner's name ("width")
  std::string_view control;  // the field's control name ("SE_Breite")
  TSpinRange range;          // mm
  double start;              // mm
  TText hint;                // "short|long"
};

std::span<const TValueFieldInfo> valueFieldInfos();
const TValueFieldInfo& valueFieldInfo(TValueField field);
// Null for an unknown runner name or control name.
const TValueFieldInfo* findValueField(std::string_view nameOrControl);

enum class TApplyWhat { width, outer, drill, shape, throughPad, smdWidth, smdHeight, clearance };

// What the tools fall back to while nothing is selected (units).
struct TRememberedDefaults {
  int32_t trackWidth = 80;
  int32_t drillDiameter = 60;
  int32_t outerDiameter = 180;
  int32_t smdWidth = 90;
  int32_t smdHeight = 180;
  friend bool operator==(const TRememberedDefaults&, const TRememberedDefaults&) = default;
};

class TToolValueFields {
 public:
  TToolValueFields(TEditor& editor, TToolValues& values);

  const TToolValues& values() const { return values_; }

  // The value a field shows (mm) and its canonical text.
  double shown(TValueField field) const { return shown_[size_t(field)]; }
  std::string text(TValueField field) const;
  // A field's value changed by the program (not by the user): the window
  // shows it. The field being typed into is never rewritten this way.
  std::function<void(TValueField field, double mm)> showField;
  // The pad shape or the through-pad state changed (the pad menu shows it).
  std::function<void()> padShapeChanged;

  // --- the fields' events ---
  // SE_Enter: the field got the keyboard focus; an editing phase starts.
  void enter(TValueField field);
  // SE_...Change: the field now holds `mm` (already limited by the field).
  void changed(TValueField field, double mm);
  // SE_...Exit: the change handler once more, then the phase ends.
  void exit(TValueField field, double mm);
  bool phaseOpen() const { return phase_; }
  std::optional<TValueField> focus() const { return focus_; }

  // Typing `text` into a field and leaving it, as the runner's `set` does.
  // Returns the value the field shows afterwards.
  double type(TValueField field, std::string_view text);

  // --- setters; each shows the value and runs the field's change handler ---
  void setTrackWidth(int32_t units);
  void setPadDiameter(int32_t units);  // the radius becomes round(units / 2)
  void setDrillDiameter(int32_t units);
  void setSmdWidth(int32_t units);
  void setSmdHeight(int32_t units);
  void setClearance(int32_t units);

  // The current value changes every selected element on a visible layer that
  // it applies to. Returns whether anything changed. While an editing phase
  // is open the first change takes one undo snapshot and closes the phase.
  bool applyToSelection(TApplyWhat what);

  // Common values of the selection become current (with Ctrl also the
  // remembered defaults); called after a click or frame selection in edit
  // mode and after a macro drop.
  void takeOverFromSelection(bool ctrl);
  // Nothing selected: the remembered defaults become current again.
  void backToDefaults();
  // backToDefaults when nothing is selected and values were taken over from
  // a selection since (otherwise the current values are the defaults
  // already, or were set on purpose without the fields).
  void refresh();

  // A list entry chosen: one undo step when selected elements change; the
  // values become the remembered defaults.
  void chooseTrackWidth(int32_t units);
  void choosePadSize(int32_t outerDiameter, int32_t drillDiameter);
  void chooseSmdSize(int32_t width, int32_t height);

  TRememberedDefaults defaults;

 private:
  void setField(TValueField field, double mm);
  void runChange(TValueField field);
  void remember(TValueField field);
  // Runs `change` as one editing phase: one undo snapshot when it changes
  // the selection.
  void asOnePhase(const std::function<void()>& change);

  TEditor& editor_;
  TToolValues& values_;
  double shown_[kValueFieldCount];
  std::optional<TValueField> focus_;
  // The other pad diameter as it was when the user entered one of the two
  // pad fields: what it returns to while the typed value passes through
  // smaller (or larger) ones.
  double pairBefore_ = 0;
  bool phase_ = false;
  bool clearanceArmed_ = false;
  bool takingOver_ = false;
  bool tookOver_ = false;
};

}  // namespace plavesk
