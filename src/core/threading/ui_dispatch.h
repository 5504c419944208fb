// Handing work from a worker thread to the user-interface thread.
//
// Workers call Synchronize, which returns only after the call has run on the user-interface
// thread (or has been refused because the dispatcher is shutting down). The user-interface thread
// runs queued calls in ProcessPending: the Win32 side calls it from its message loop when woken by
// the wake callback (a posted message), tests call it from their own loop, and code that waits on
// the user-interface thread for a worker calls it while waiting, so a worker blocked in
// Synchronize can always finish.
#pragma once

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>

namespace sapala::threading {

class UiDispatcher {
 public:
  virtual ~UiDispatcher() = default;
  // Worker side. Runs `fn` on the user-interface thread and waits for it. Called on the
  // user-interface thread itself, runs `fn` at once. False when refused (fn not run).
  virtual bool Synchronize(std::function<void()> fn) = 0;
  // User-interface side: runs every call queued so far.
  virtual void ProcessPending() = 0;
  // The application is terminating: workers stop, ticks are not delivered.
  virtual bool Terminating() const = 0;
};

// A portable dispatcher: a queue of calls. The thread that constructs it is the user-interface
// thread. `wake` (optional) is called on the worker each time a call is queued; the Win32 side
// posts a message there so its message loop calls ProcessPending.
class SyncQueue final : public UiDispatcher {
 public:
  explicit SyncQueue(std::function<void()> wake = {});
  // Refuses what is still queued and every later call, and returns once no worker is inside
  // Synchronize any more.
  ~SyncQueue() override;

  bool Synchronize(std::function<void()> fn) override;
  void ProcessPending() override;
  bool Terminating() const override;

  void SetTerminating(bool v);
  // Calls queued and not yet run.
  std::size_t Pending() const;
  // User-interface side: waits up to `timeout` for a call to be queued, then runs what is there.
  // Returns the number of calls run.
  int WaitAndProcess(std::chrono::milliseconds timeout);

 private:
  struct Call {
    std::function<void()> fn;
    bool done = false;
    bool refused = false;
  };

  std::thread::id uiThread_;
  std::function<void()> wake_;
  mutable std::mutex mutex_;
  std::condition_variable queued_;  // a call was queued
  std::condition_variable ran_;     // a call ran (or was refused)
  std::deque<Call*> queue_;
  bool terminating_ = false;
  bool closed_ = false;
  int waiters_ = 0;  // workers inside Synchronize; the destructor waits for them to leave
};

}  // namespace sapala::threading
