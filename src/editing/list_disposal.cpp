#include "editing/list_disposal.h"

#include <utility>

namespace plavesk {

TListDisposal::~TListDisposal() {
  {
    std::lock_guard lock(mutex_);
    stopping_ = true;
  }
  wake_.notify_one();
  if (worker_.joinable()) worker_.join();
}

void TListDisposal::dispose(TObjektList&& list) {
  if (list.empty()) return;
  std::vector<TObjektList> one;
  one.push_back(std::move(list));
  list.clear();
  dispose(std::move(one));
}

void TListDisposal::dispose(std::vector<TObjektList>&& lists) {
  if (lists.empty()) return;
  {
    std::lock_guard lock(mutex_);
    for (auto& l : lists)
      if (!l.empty()) pending_.push_back(std::move(l));
    // The thread starts with the first list to free: most editors never
    // drop one.
    if (!worker_.joinable()) worker_ = std::thread([this] { run(); });
  }
  lists.clear();
  wake_.notify_one();
}

void TListDisposal::waitUntilIdle() {
  std::unique_lock lock(mutex_);
  idle_.wait(lock, [this] { return pending_.empty() && !busy_; });
}

void TListDisposal::run() {
  std::unique_lock lock(mutex_);
  for (;;) {
    wake_.wait(lock, [this] { return stopping_ || !pending_.empty(); });
    if (pending_.empty()) return;  // stopping, nothing left
    std::vector<TObjektList> batch = std::move(pending_);
    pending_.clear();
    busy_ = true;
    lock.unlock();
    batch.clear();
    lock.lock();
    busy_ = false;
    if (pending_.empty()) idle_.notify_all();
  }
}

}  // namespace plavesk
