#include "routing/band_removal.h"

#include "routing/connectivity.h"

namespace plavesk {

TBandCounts removeSatisfiedBands(TObjektList& list, const TBoardRecord& state) {
  for (auto& e : list) e->selected = 0;
  TCopperAnalysis analysis(list, state);
  const std::vector<int> nets = copperNets(analysis);
  long removed = 0, remaining = 0;
  for (size_t i = 0; i < list.size(); ++i) {
    TObjekt& pad = *list[i];
    if (!pad.hasConnections() || pad.connections.empty()) continue;
    std::vector<TObjekt*> kept;
    for (TObjekt* partner : pad.connections) {
      const int j = analysis.indexOf(partner);
      if (j >= 0 && nets[i] >= 0 && nets[size_t(j)] == nets[i]) {
        ++removed;
      } else {
        ++remaining;
        kept.push_back(partner);
      }
    }
    pad.connections = std::move(kept);
  }
  return TBandCounts{int(removed / 2), int(remaining / 2)};
}

std::string bandRemovalMessage(const TBandCounts& counts, int language) {
  const std::string r = std::to_string(counts.removed);
  const std::string k = std::to_string(counts.remaining);
  switch (language) {
    case 1:
      return r + " connections (rubberbands) removed.\r" + k +
             " connections (rubberbands) remaining.";
    case 2:
      return r + " connexions (élastiques) supprimées.\r" + k +
             " connexions (élastiques) restantes.";
    default:
      return "Es konnten " + r + " Luftlinien entfernt werden.\rEs verbleiben noch " + k +
             " Luftlinien";
  }
}

}  // namespace plavesk
