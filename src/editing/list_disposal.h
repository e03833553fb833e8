// Freeing a snapshot of a large board (100,000 elements, each with its own
// point and id lists) takes about as long as copying one. The element
// records of dropped snapshots that the next snapshot cannot reuse (several
// redo steps dropped at once, a closed layout) are therefore handed to a
// worker thread and freed there, off the command that dropped them. The
// lists handed over are no longer reachable from the layout, and freeing an
// element touches nothing outside it.
#pragma once

#include <condition_variable>
#include <mutex>
#include <thread>
#include <vector>

#include "document/objekt.h"

namespace plavesk {

class TListDisposal {
 public:
  TListDisposal() = default;
  TListDisposal(const TListDisposal&) = delete;
  TListDisposal& operator=(const TListDisposal&) = delete;
  // Frees whatever is still waiting before it returns.
  ~TListDisposal();

  // Takes the lists over (they are left empty) and frees them later.
  void dispose(std::vector<TObjektList>&& lists);
  void dispose(TObjektList&& list);
  // Returns when everything handed over so far is freed.
  void waitUntilIdle();

 private:
  void run();

  std::mutex mutex_;
  std::condition_variable wake_;
  std::condition_variable idle_;
  std::vector<TObjektList> pending_;
  bool busy_ = false;
  bool stopping_ = false;
  std::thread worker_;
};

}  // namespace plavesk
