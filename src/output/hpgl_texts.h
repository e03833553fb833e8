// The user-visible texts and file names of the HPGL milling outputs, in
// German, English and French (language 0, 1, 2).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace plavesk {

std::string millingEmptyLayerMessage(int language);  // "Der gewählte Kupferlayer ist leer"
std::string millingCaption(int language);            // "Umriss erstellen"
std::string outlineNothingSelectedMessage(int language);
std::string outlineCaption(int language);  // "Platinenkontur erstellen"

// Extra drill files.
std::string drillAllFileName(int language);                         // BOHRUNG.PLT / DRILLING.PLT
std::string drillMilledFileName(int language);                      // BOHR_FRS.PLT / DRIL_MIL.PLT
std::string drillDiameterFileName(int32_t diameter, int language);  // BOHR_80.PLT

// Reports after a run.
// The contour computation stopped: the board would need more memory than
// the budget (bytes) allows.
std::string contourMemoryMessage(size_t crossings, uint64_t budget, int language);
std::string plungedHolesMessage(size_t count, int language);

}  // namespace plavesk
