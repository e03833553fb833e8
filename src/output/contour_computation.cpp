#include "output/contour_computation.h"

#include <optional>

#include "output/contour_crossings.h"
#include "output/contour_graph.h"
#include "output/contour_loops.h"
#include "output/contour_segments.h"

namespace plavesk {

uint64_t contourMemoryEstimate(size_t elements, size_t vertices, size_t crossings) {
  return kContourBytesPerElement * elements + kContourBytesPerVertex * vertices +
         kContourBytesPerCrossing * crossings;
}

TContourResult computeContours(const TObjektList& list, const TContourOptions& options,
                               const TContourProgress& progress) {
  TContourResult result;
  const auto stop = [&] {
    result.cancelled = options.stopRequested && options.stopRequested();
    if (result.cancelled) result.contours.clear();
    return result.cancelled;
  };
  TContourWorkSet work = makeContourWorkSet(list, options);
  std::vector<TScaledPolygon> polygons =
      untangledPolygons(scalePolygons(buildSegments(work, progress)));
  if (stop()) return result;
  size_t vertices = 0;
  for (const auto& p : polygons) vertices += p.size();
  // Over budget already, the search still stops at the first crossings, so
  // that the message can name some.
  const uint64_t fixed = contourMemoryEstimate(work.copies.size(), vertices, 0);
  const uint64_t room = fixed < options.memoryBudget ? options.memoryBudget - fixed : 0;
  bool stopped = false;
  std::vector<TCrossingPair> crossings =
      findCrossings(polygons, progress, room / kContourBytesPerCrossing, &stopped);
  result.crossings = crossings.size();
  if (stopped || fixed > options.memoryBudget) {
    result.overBudget = true;
    return result;
  }
  if (stop()) return result;
  mergeNearCrossings(polygons, crossings);
  polygons = insertCrossings(polygons, crossings);
  std::vector<TCrossingPair>().swap(crossings);
  const TContourGraph graph = buildContourGraph(polygons, progress);
  std::vector<TScaledPolygon>().swap(polygons);
  if (stop()) return result;
  // The loops are probed while the walk goes on, from the first loop on:
  // before it, the walk's turns are worked out on both cores.
  std::optional<TLoopProbes> probes;
  TTraceResult traced = traceOutlines(graph, progress, [&](const TTraceResult& found) {
    if (!probes) probes.emplace(graph, work);
    probes->take(found);
  });
  std::vector<uint8_t> decided;
  const TCopperProbe* probe = probes ? probes->finish(traced, decided) : nullptr;
  if (stop()) return result;
  const std::vector<uint8_t> keep =
      boundaryLoops(graph, traced, work, progress, probe, std::move(decided));
  result.abandonedTraces = traced.abandoned;
  result.contours = selectContours(std::move(traced.loops), keep);
  return result;
}

}  // namespace plavesk
