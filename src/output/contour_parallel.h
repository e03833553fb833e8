// The contour computation's independent per-item work, on the machine's two
// cores: the second half of the items on another thread; and arrays that
// such work fills.
#pragma once

#include <algorithm>
#include <atomic>
#include <cstddef>
#include <memory>
#include <new>
#include <thread>
#include <type_traits>
#include <utility>

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

// Leaves the elements a resize adds unset: for the large arrays of plain
// values that the contour computation fills in full right after, on two threads, so that
// their memory is neither written twice nor first touched by one thread
// alone. (An aggregate of plain values lives as soon as its memory is
// allocated.)
template <class T>
struct TUnsetAllocator : std::allocator<T> {
  template <class U>
  struct rebind {
    using other = TUnsetAllocator<U>;
  };
  TUnsetAllocator() = default;
  template <class U>
  TUnsetAllocator(const TUnsetAllocator<U>&) noexcept {}
  template <class U>
  void construct(U*) noexcept {
    static_assert(std::is_trivially_copyable_v<U> && std::is_trivially_destructible_v<U>);
  }
  template <class U, class... A>
  void construct(U* p, A&&... a) {
    ::new (static_cast<void*>(p)) U(std::forward<A>(a)...);
  }
};

}  // namespace plavesk
