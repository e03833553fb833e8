// Large synthetic boards for benchmarks: a realistic mix of pads (some
// through pairs), tracks, SMD pads, areas, circles and texts with strokes,
// rubber bands between pads and groups of footprints.
#pragma once

#include <cstdint>

#include "document/board.h"

namespace plavesk {

// A layout with one board of about `elementCount` elements, reproducible for
// a given seed.
TLayout makeSyntheticLayout(size_t elementCount, uint32_t seed = 1);

// The same mix with every track running across the whole board, from the
// left edge to the right one: millions of crossings, more than a contour
// computation can hold.
TLayout makeCrossingLayout(size_t elementCount, uint32_t seed = 1);

}  // namespace plavesk
