#include "output/contour_computation.h"

#include "output/contour_crossings.h"
#include "output/contour_graph.h"
#include "output/contour_loops.h"
#include "output/contour_segments.h"

namespace plavesk {

TContourResult computeContours(const TObjektList& list, const TContourOptions& options,
                               const TContourProgress& progress) {
  TContourWorkSet work = makeContourWorkSet(list, options);
  std::vector<TScaledPolygon> polygons = scalePolygons(buildSegments(work, progress));
  const std::vector<TCrossingPair> crossings = findCrossings(polygons, progress);
  polygons = insertCrossings(polygons, crossings);
  const TContourGraph graph = buildContourGraph(polygons, progress);
  std::vector<TScaledPolygon>().swap(polygons);
  TTraceResult traced = traceOutlines(graph, progress);
  const std::vector<uint8_t> keep = boundaryLoops(graph, traced, work, progress);
  TContourResult result;
  result.abandonedTraces = traced.abandoned;
  result.contours = selectContours(std::move(traced.loops), keep);
  return result;
}

}  // namespace plavesk
