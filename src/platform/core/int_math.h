// Integer division rounding toward minus and plus infinity, for grids and
// scaled coordinates of any sign.
#pragma once

#include <cstdint>

namespace plavesk {

constexpr int64_t floorDiv(int64_t a, int64_t b) {
  const int64_t q = a / b;
  return (a % b != 0 && (a < 0) != (b < 0)) ? q - 1 : q;
}

constexpr int64_t ceilDiv(int64_t a, int64_t b) {
  const int64_t q = a / b;
  return (a % b != 0 && (a < 0) == (b < 0)) ? q + 1 : q;
}

static_assert(floorDiv(-7, 2) == -4 && floorDiv(7, 2) == 3 && floorDiv(-6, 2) == -3);
static_assert(floorDiv(7, -2) == -4 && ceilDiv(-7, 2) == -3 && ceilDiv(7, 2) == 4);

}  // namespace plavesk
