// A timer whose ticks are timed by a worker thread and delivered on the user-interface thread
// (`TlcThreadedTimer`, worker `TlcTimerThread`). The skin engine's animations derive from it.
//
// Threads: every property belongs to the user-interface thread, and OnTimer runs only there.
// The worker only waits (on a condition variable, for at most the interval) and then hands the
// tick to the user-interface thread through UiDispatcher::Synchronize, waiting until it has run,
// so ticks never pile up. Instead of suspending and resuming the worker, a settings change
// restarts its wait: "suspended" is a wait without timeout, and the time already waited is not
// carried over.
//
// Contract: a timer must not be destroyed from inside its own tick (its destructor waits for the
// worker, which waits for the tick).
#pragma once

#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>

#include "core/threading/ui_dispatch.h"

namespace sapala::threading {

enum class TThreadPriority {
  tpIdle,
  tpLowest,
  tpLower,
  tpNormal,
  tpHigher,
  tpHighest,
  tpTimeCritical
};

class TlcThreadedTimer;

class TlcTimerThread {
 public:
  TlcTimerThread(TlcThreadedTimer& timer, UiDispatcher& ui, std::uint32_t interval,
                 TThreadPriority priority);
  ~TlcTimerThread();  // Stop()

  // Sets whether ticks are due; restarts the current wait either way.
  void SetRunning(bool running);
  void SetInterval(std::uint32_t ms);
  void SetPriority(TThreadPriority p);
  // The scheduling priority the worker runs at as the system reports it (Windows: -15..15);
  // nullopt where threads have no priority levels of their own (Linux) or it cannot be read.
  std::optional<int> SystemPriority();
  // Signals the wake-up, waits for the worker to finish (running the user-interface thread's
  // pending calls meanwhile). Idempotent.
  void Stop();

  bool Running() const;
  bool Finished() const;

 private:
  void Run();

  TlcThreadedTimer& timer_;
  UiDispatcher& ui_;
  mutable std::mutex mutex_;
  std::condition_variable wake_;
  std::uint64_t epoch_ = 0;  // bumped by every settings change
  std::uint32_t interval_;
  bool running_ = false;
  bool terminate_ = false;
  bool finished_ = false;
  std::thread thread_;
};

class TlcThreadedTimer {
 public:
  using TNotifyEvent = std::function<void(TlcThreadedTimer& sender)>;

  // Enabled, interval 1000 ms, normal priority; the worker starts at once (unless the application
  // is terminating, when no worker is made and the timer never ticks).
  explicit TlcThreadedTimer(UiDispatcher& ui, void* owner = nullptr);
  // As above, then Enabled := False; with `useHandler` OnTimer calls the virtual TimerEvent.
  TlcThreadedTimer(UiDispatcher& ui, void* owner, bool useHandler);
  virtual ~TlcThreadedTimer();

  TlcThreadedTimer(const TlcThreadedTimer&) = delete;
  TlcThreadedTimer& operator=(const TlcThreadedTimer&) = delete;

  bool Enabled() const { return enabled_; }
  void SetEnabled(bool v);
  std::uint32_t Interval() const { return interval_; }
  void SetInterval(std::uint32_t ms);
  const TNotifyEvent& OnTimer() const { return onTimer_; }
  void SetOnTimer(TNotifyEvent handler);  // always updates the worker
  TThreadPriority ThreadPriority() const { return priority_; }
  void SetThreadPriority(TThreadPriority p);
  void* Owner() const { return owner_; }

  // Called on the user-interface thread for each tick: calls OnTimer when assigned.
  virtual void Tick();
  // True while a tick handler of a subclass runs; subclasses set and read it.
  bool handlerRunning = false;

  // Whether the worker is waiting for ticks (not suspended, not finished); for tests and tools.
  bool ThreadRunning() const;
  // The worker's priority as the system reports it (see TlcTimerThread::SystemPriority).
  std::optional<int> ThreadSystemPriority() const {
    return thread_ ? thread_->SystemPriority() : std::nullopt;
  }

 protected:
  virtual void TimerEvent() {}
  // Stops the worker; a subclass whose Tick uses its own members calls this first in its
  // destructor, so no tick reaches a half-destroyed object.
  void StopTimer();

 private:
  friend class TlcTimerThread;
  void UpdateTimer();
  void DeliverTick();  // on the user-interface thread, from the worker's Synchronize

  UiDispatcher& ui_;
  void* owner_;
  bool enabled_ = true;
  std::uint32_t interval_ = 1000;
  TNotifyEvent onTimer_;
  TThreadPriority priority_ = TThreadPriority::tpNormal;
  bool stopping_ = false;
  std::unique_ptr<TlcTimerThread> thread_;
};

}  // namespace sapala::threading
