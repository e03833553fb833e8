// The contour computation's independent per-item work, on the machine's two
// cores: the second half of the items on another thread.
#pragma once

#include <cstddef>
#include <thread>

namespace plavesk {

// Calls f(begin, end) for the two halves of [0, n); small ranges stay on
// the calling thread.
template <class F>
void inTwoHalves(size_t n, F f) {
  if (n < 4096) {
    f(size_t(0), n);
    return;
  }
  std::thread helper([&] { f(n / 2, n); });
  f(size_t(0), n / 2);
  helper.join();
}

}  // namespace plavesk
