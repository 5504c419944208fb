// Portable user-interface dispatcher; see ui_dispatch.h.
#include "core/threading/ui_dispatch.h"

namespace sapala::threading {

SyncQueue::SyncQueue(std::function<void()> wake)
    : uiThread_(std::this_thread::get_id()), wake_(std::move(wake)) {}

SyncQueue::~SyncQueue() {
  std::unique_lock lock(mutex_);
  closed_ = true;
  for (Call* c : queue_) c->refused = true;
  queue_.clear();
  ran_.notify_all();
  ran_.wait(lock, [&] { return waiters_ == 0; });
}

bool SyncQueue::Synchronize(std::function<void()> fn) {
  if (std::this_thread::get_id() == uiThread_) {
    fn();
    return true;
  }
  Call call{std::move(fn)};
  std::unique_lock lock(mutex_);
  if (closed_) return false;
  queue_.push_back(&call);
  ++waiters_;
  queued_.notify_all();
  if (wake_) {
    lock.unlock();
    wake_();
    lock.lock();
  }
  ran_.wait(lock, [&] { return call.done || call.refused; });
  --waiters_;
  ran_.notify_all();
  return call.done;
}

void SyncQueue::ProcessPending() {
  std::unique_lock lock(mutex_);
  while (!queue_.empty()) {
    Call* c = queue_.front();
    queue_.pop_front();
    lock.unlock();
    // The call object lives on the waiting worker's stack until `done` is set below.
    try {
      c->fn();
    } catch (...) {
      // The worker must not wait forever for a call that threw; the error goes to our caller.
      lock.lock();
      c->done = true;
      ran_.notify_all();
      throw;
    }
    lock.lock();
    c->done = true;
    ran_.notify_all();
  }
}

int SyncQueue::WaitAndProcess(std::chrono::milliseconds timeout) {
  {
    std::unique_lock lock(mutex_);
    queued_.wait_for(lock, timeout, [&] { return !queue_.empty(); });
  }
  std::size_t before = 0;
  {
    std::lock_guard lock(mutex_);
    before = queue_.size();
  }
  ProcessPending();
  return static_cast<int>(before);
}

bool SyncQueue::Terminating() const {
  std::lock_guard lock(mutex_);
  return terminating_;
}

std::size_t SyncQueue::Pending() const {
  std::lock_guard lock(mutex_);
  return queue_.size();
}

void SyncQueue::SetTerminating(bool v) {
  std::lock_guard lock(mutex_);
  terminating_ = v;
}

}  // namespace sapala::threading
