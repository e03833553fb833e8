// A hint that memory will soon be read. The element lists hold pointers to
// records anywhere on the heap; walks over long lists ask for the records a
// few places ahead so that they do not wait for each one in turn.
#pragma once

namespace plavesk {

inline void prefetchForRead(const void* p) {
#if defined(__GNUC__) || defined(__clang__)
  __builtin_prefetch(p);
#else
  (void)p;
#endif
}

}  // namespace plavesk
