// Threaded timer; see threaded_timer.h for the threading contract.
#include "core/threading/threaded_timer.h"

#include <chrono>

#if defined(_WIN32)
#include <pthread.h>
#endif

namespace sapala::threading {
namespace {

void ApplyPriority([[maybe_unused]] std::thread& t, [[maybe_unused]] TThreadPriority p) {
#if defined(_WIN32)
  // winpthreads passes sched_priority to SetThreadPriority: THREAD_PRIORITY_IDLE (-15) ...
  // THREAD_PRIORITY_TIME_CRITICAL (15).
  static constexpr int kWin[] = {-15, -2, -1, 0, 1, 2, 15};
  sched_param sp{};
  sp.sched_priority = kWin[static_cast<int>(p)];
  pthread_setschedparam(t.native_handle(), SCHED_OTHER, &sp);
#else
  // Normal threads on Linux have one priority level; nothing to apply.
#endif
}

}  // namespace

TlcTimerThread::TlcTimerThread(TlcThreadedTimer& timer, UiDispatcher& ui, std::uint32_t interval,
                               TThreadPriority priority)
    : timer_(timer), ui_(ui), interval_(interval) {
  thread_ = std::thread([this] { Run(); });
  ApplyPriority(thread_, priority);
}

TlcTimerThread::~TlcTimerThread() { Stop(); }

void TlcTimerThread::SetRunning(bool running) {
  std::lock_guard lock(mutex_);
  running_ = running;
  ++epoch_;
  wake_.notify_all();
}

void TlcTimerThread::SetInterval(std::uint32_t ms) {
  std::lock_guard lock(mutex_);
  interval_ = ms;
}

void TlcTimerThread::SetPriority(TThreadPriority p) {
  if (thread_.joinable()) ApplyPriority(thread_, p);
}

std::optional<int> TlcTimerThread::SystemPriority() {
#if defined(_WIN32)
  if (!thread_.joinable()) return std::nullopt;
  int policy = 0;
  sched_param sp{};
  if (pthread_getschedparam(thread_.native_handle(), &policy, &sp) != 0) return std::nullopt;
  return sp.sched_priority;
#else
  return std::nullopt;
#endif
}

bool TlcTimerThread::Running() const {
  std::lock_guard lock(mutex_);
  return running_ && !finished_ && !terminate_;
}

bool TlcTimerThread::Finished() const {
  std::lock_guard lock(mutex_);
  return finished_;
}

void TlcTimerThread::Stop() {
  if (!thread_.joinable()) return;
  {
    std::unique_lock lock(mutex_);
    terminate_ = true;
    wake_.notify_all();
    // The worker may be blocked in Synchronize waiting for us: keep running the pending calls.
    while (!finished_) {
      lock.unlock();
      ui_.ProcessPending();
      lock.lock();
      wake_.wait_for(lock, std::chrono::milliseconds(1), [&] { return finished_; });
    }
  }
  thread_.join();
}

void TlcTimerThread::Run() {
  std::unique_lock lock(mutex_);
  while (!terminate_) {
    wake_.wait(lock, [&] { return running_ || terminate_; });
    if (terminate_) break;
    const std::uint64_t epoch = epoch_;
    const bool changed = wake_.wait_for(lock, std::chrono::milliseconds(interval_),
                                        [&] { return terminate_ || epoch_ != epoch; });
    if (terminate_) break;
    if (changed) continue;  // settings changed: a fresh wait, nothing carried over
    lock.unlock();
    const bool delivered = ui_.Synchronize([this] { timer_.DeliverTick(); });
    const bool ending = !delivered || ui_.Terminating();
    lock.lock();
    if (ending) break;
  }
  finished_ = true;
  wake_.notify_all();
}

TlcThreadedTimer::TlcThreadedTimer(UiDispatcher& ui, void* owner) : ui_(ui), owner_(owner) {
  if (ui_.Terminating()) return;
  thread_ = std::make_unique<TlcTimerThread>(*this, ui_, interval_, priority_);
  UpdateTimer();
}

TlcThreadedTimer::TlcThreadedTimer(UiDispatcher& ui, void* owner, bool useHandler)
    : TlcThreadedTimer(ui, owner) {
  SetEnabled(false);
  if (useHandler) {
    SetOnTimer([](TlcThreadedTimer& self) { self.TimerEvent(); });
  }
}

TlcThreadedTimer::~TlcThreadedTimer() { StopTimer(); }

void TlcThreadedTimer::StopTimer() {
  stopping_ = true;
  if (thread_) thread_->Stop();
  thread_.reset();
}

void TlcThreadedTimer::SetEnabled(bool v) {
  if (v == enabled_) return;
  enabled_ = v;
  UpdateTimer();
}

void TlcThreadedTimer::SetInterval(std::uint32_t ms) {
  if (ms == interval_) return;
  interval_ = ms;
  if (thread_) thread_->SetInterval(ms);
  UpdateTimer();
}

void TlcThreadedTimer::SetOnTimer(TNotifyEvent handler) {
  onTimer_ = std::move(handler);
  UpdateTimer();
}

void TlcThreadedTimer::SetThreadPriority(TThreadPriority p) {
  if (p == priority_) return;
  priority_ = p;
  if (thread_) thread_->SetPriority(p);
  UpdateTimer();
}

bool TlcThreadedTimer::ThreadRunning() const { return thread_ && thread_->Running(); }

void TlcThreadedTimer::UpdateTimer() {
  if (!thread_) return;
  thread_->SetRunning(interval_ != 0 && enabled_ && static_cast<bool>(onTimer_));
}

void TlcThreadedTimer::DeliverTick() {
  // A tick queued before a change of settings is dropped when it can no longer be due.
  if (stopping_ || ui_.Terminating()) return;
  if (!enabled_ || interval_ == 0 || !onTimer_) return;
  Tick();
}

void TlcThreadedTimer::Tick() {
  if (onTimer_) {
    TNotifyEvent handler = onTimer_;  // the handler may replace OnTimer while it runs
    handler(*this);
  }
}

}  // namespace sapala::threading
