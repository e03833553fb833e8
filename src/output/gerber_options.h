// The choices of one Gerber export: which of the eight outputs, and the
// options the export dialog edits, with the dialog's rules between them. A
// dialog only edits this value; the export reads it.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace plavesk {

enum class TGerberOutput : uint8_t {
  K1,        // copper side 1
  B1,        // silkscreen side 1
  K2,        // copper side 2
  B2,        // silkscreen side 2
  LStop1,    // solder mask over the pads of side 1
  LStop2,    // solder mask over the pads of side 2
  SmdOnly1,  // SMD pads of side 1 only
  SmdOnly2,  // SMD pads of side 2 only
};
constexpr int kGerberOutputCount = 8;

// "K1", "B1", "K2", "B2", "LStop1", "LStop2", "SMD1", "SMD2".
std::string_view gerberOutputName(TGerberOutput output);
// The names above, any letter case; nullopt for anything else.
std::optional<TGerberOutput> gerberOutputFromName(std::string_view name);

inline bool isSolderMaskOutput(TGerberOutput o) {
  return o == TGerberOutput::LStop1 || o == TGerberOutput::LStop2;
}
inline bool isSmdOnlyOutput(TGerberOutput o) {
  return o == TGerberOutput::SmdOnly1 || o == TGerberOutput::SmdOnly2;
}
// The copper or silkscreen layer code the output is made from.
int gerberOutputLayer(TGerberOutput output);

// The two offset fields: 0.01 .. 9.99 mm, two decimals.
constexpr double kMaskOffsetMin = 0.01;
constexpr double kMaskOffsetMax = 9.99;
// What the offset field holds after `mm` was set: limited to the range,
// rounded to four decimals and shown (and read back) with two.
double maskOffsetFieldValue(double mm);

struct TGerberOptions {
  TGerberOutput output = TGerberOutput::K1;
  bool mirror = false;      // "Ausgabe spiegeln"; the rule of K1 applies from the start
  bool outline = true;      // "Platinenumriss"
  bool punch = false;       // "Bohrungen freistanzen"
  bool mark = false;        // "als Körnung": a 0.3 mm centring mark instead of the hole
  bool invert = false;      // solder mask: the board dark, the openings cut out
  bool pads = true;         // solder mask: openings over pads
  bool smdPads = true;      // solder mask: openings over SMD pads
  double padOffset = 0.30;  // mm
  double smdOffset = 0.10;  // mm

  // Sets the output and the mirror and outline boxes by its rule; the
  // SMD-only outputs also clear punch and mark.
  void chooseOutput(TGerberOutput o);
  // Unchecking punch clears mark.
  void setPunch(bool on);
  // Ignored while the mark box is disabled.
  void setMark(bool on);
  void setPadOffset(double mm) { padOffset = maskOffsetFieldValue(mm); }
  void setSmdOffset(double mm) { smdOffset = maskOffsetFieldValue(mm); }

  bool punchEnabled() const { return !isSolderMaskOutput(output); }
  bool markEnabled() const { return punchEnabled() && punch; }
  bool maskOptionsEnabled() const { return isSolderMaskOutput(output); }
};

// The options the dialog shows when `output` is chosen from the start.
TGerberOptions gerberDefaults(TGerberOutput output);

}  // namespace plavesk
