// The contour computation's independent per-item work, on the machine's two
// cores: the second half of the items on another thread.
#pragma once

#include <algorithm>
#include <atomic>
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

// Calls f(begin, end, calling) for the chunks of [0, n), taken in turn by
// the calling thread and a helper as each gets done with the one before: for
// items whose cost varies much. `calling` tells the calling thread's chunks.
template <class F>
void inChunks(size_t n, size_t chunk, F f) {
  if (n < 4096) {
    f(size_t(0), n, true);
    return;
  }
  std::atomic<size_t> next{0};
  auto run = [&](bool calling) {
    for (;;) {
      const size_t begin = next.fetch_add(chunk);
      if (begin >= n) return;
      f(begin, std::min(n, begin + chunk), calling);
    }
  };
  std::thread helper([&] { run(false); });
  run(true);
  helper.join();
}

// Calls f(0) and f(1): f(1) on another thread when `parallel`, both on the
// calling thread otherwise.
template <class F>
void inTwoParts(bool parallel, F f) {
  if (!parallel) {
    f(0), f(1);
    return;
  }
  std::thread helper([&] { f(1); });
  f(0);
  helper.join();
}

}  // namespace plavesk
