// Threaded timer: ticks arrive on the user-interface thread only while every condition holds,
// settings changes restart the wait, and stopping never deadlocks with a tick in flight.
#include "core/threading/threaded_timer.h"

#include <gtest/gtest.h>

#include <atomic>
#include <utility>
#include <chrono>

namespace sapala::threading {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

// Pumps the queue on this (the user-interface) thread for `d`.
void Pump(SyncQueue& q, std::chrono::milliseconds d) {
  const auto end = Clock::now() + d;
  while (Clock::now() < end) q.WaitAndProcess(1ms);
}

// Pumps until `pred` holds or `limit` passes; returns whether it held.
template <class Pred>
bool PumpUntil(SyncQueue& q, Pred pred, std::chrono::milliseconds limit = 3000ms) {
  const auto end = Clock::now() + limit;
  while (Clock::now() < end) {
    if (pred()) return true;
    q.WaitAndProcess(1ms);
  }
  return pred();
}

TEST(ThreadedTimer, DefaultsAfterConstruction) {
  SyncQueue q;
  TlcThreadedTimer t(q);
  EXPECT_TRUE(t.Enabled());
  EXPECT_EQ(t.Interval(), 1000u);
  EXPECT_EQ(t.ThreadPriority(), TThreadPriority::tpNormal);
  EXPECT_FALSE(t.OnTimer());
  EXPECT_FALSE(t.handlerRunning);
  // Without OnTimer nothing is due: the worker waits without a timeout.
  EXPECT_FALSE(t.ThreadRunning());

  TlcThreadedTimer h(q, &q, true);
  EXPECT_FALSE(h.Enabled());
  EXPECT_TRUE(h.OnTimer());
  EXPECT_EQ(h.Owner(), &q);
  EXPECT_FALSE(h.ThreadRunning());
}

TEST(ThreadedTimer, TicksRunOnTheUiThreadWithTheTimerAsSender) {
  SyncQueue q;
  TlcThreadedTimer t(q);
  const auto ui = std::this_thread::get_id();
  int ticks = 0;
  bool wrongThread = false;
  TlcThreadedTimer* sender = nullptr;
  t.SetInterval(5);
  t.SetOnTimer([&](TlcThreadedTimer& s) {
    ++ticks;
    sender = &s;
    if (std::this_thread::get_id() != ui) wrongThread = true;
  });
  EXPECT_TRUE(t.ThreadRunning());
  ASSERT_TRUE(PumpUntil(q, [&] { return ticks >= 3; }));
  EXPECT_FALSE(wrongThread);
  EXPECT_EQ(sender, &t);
}

TEST(ThreadedTimer, NoTicksUnlessEnabledIntervalAndHandlerAllHold) {
  struct Case {
    bool enabled;
    std::uint32_t interval;
    bool handler;
  };
  const Case cases[] = {{false, 5, true}, {true, 0, true}, {true, 5, false}};
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    SyncQueue q;
    TlcThreadedTimer t(q);
    int ticks = 0;
    t.SetInterval(cases[i].interval);
    t.SetEnabled(cases[i].enabled);
    if (cases[i].handler) t.SetOnTimer([&](TlcThreadedTimer&) { ++ticks; });
    Pump(q, 60ms);
    EXPECT_EQ(ticks, 0) << "case " << i << ": have " << ticks << " ticks, want 0";
    EXPECT_FALSE(t.ThreadRunning()) << "case " << i;
  }
}

TEST(ThreadedTimer, DisablingStopsTicksAndEnablingResumesThem) {
  SyncQueue q;
  TlcThreadedTimer t(q);
  int ticks = 0;
  t.SetInterval(5);
  t.SetOnTimer([&](TlcThreadedTimer&) { ++ticks; });
  ASSERT_TRUE(PumpUntil(q, [&] { return ticks >= 1; }));
  t.SetEnabled(false);
  Pump(q, 5ms);  // a tick already handed over before the change is dropped, not delivered
  const int atStop = ticks;
  Pump(q, 50ms);
  EXPECT_EQ(ticks, atStop);
  t.SetEnabled(true);
  ASSERT_TRUE(PumpUntil(q, [&] { return ticks > atStop; }));
}

TEST(ThreadedTimer, AChangedIntervalRestartsTheWait) {
  SyncQueue q;
  TlcThreadedTimer t(q);
  int ticks = 0;
  t.SetInterval(10000);
  t.SetOnTimer([&](TlcThreadedTimer&) { ++ticks; });
  Pump(q, 20ms);
  EXPECT_EQ(ticks, 0);
  // A long wait in progress must not hold back the new, short interval.
  const auto start = Clock::now();
  t.SetInterval(5);
  ASSERT_TRUE(PumpUntil(
      q, [&] { return ticks >= 1; }, 2000ms));
  EXPECT_LT(Clock::now() - start, 1000ms);
}

TEST(ThreadedTimer, UseHandlerCallsTheVirtualTimerEvent) {
  struct Sub : TlcThreadedTimer {
    explicit Sub(UiDispatcher& ui) : TlcThreadedTimer(ui, nullptr, true) {}
    ~Sub() override { StopTimer(); }
    void TimerEvent() override { ++events; }
    int events = 0;
  };
  SyncQueue q;
  Sub s(q);
  s.SetInterval(5);
  Pump(q, 30ms);
  EXPECT_EQ(s.events, 0);  // the second constructor leaves the timer disabled
  s.SetEnabled(true);
  ASSERT_TRUE(PumpUntil(q, [&] { return s.events >= 2; }));
}

TEST(ThreadedTimer, DestroyingWhileATickWaitsForTheUiThreadDoesNotDeadlock) {
  SyncQueue q;
  int ticks = 0;
  {
    TlcThreadedTimer t(q);
    t.SetInterval(1);
    t.SetOnTimer([&](TlcThreadedTimer&) { ++ticks; });
    // Do not pump: the worker blocks in Synchronize with a tick the destructor must release.
    while (q.Pending() == 0) std::this_thread::sleep_for(1ms);
  }
  EXPECT_EQ(ticks, 0);  // the pending tick was run during the stop, and dropped
  EXPECT_EQ(q.Pending(), 0u);
}

TEST(ThreadedTimer, NoTicksAndNoWorkerWhenTheApplicationIsTerminating) {
  SyncQueue q;
  int ticks = 0;
  TlcThreadedTimer t(q);
  t.SetInterval(2);
  t.SetOnTimer([&](TlcThreadedTimer&) { ++ticks; });
  ASSERT_TRUE(PumpUntil(q, [&] { return ticks >= 1; }));
  q.SetTerminating(true);
  const int at = ticks;
  Pump(q, 30ms);
  EXPECT_EQ(ticks, at);

  TlcThreadedTimer late(q);
  late.SetInterval(2);
  late.SetOnTimer([&](TlcThreadedTimer&) { ++ticks; });
  EXPECT_FALSE(late.ThreadRunning());
}

TEST(ThreadedTimer, TicksDoNotPileUpWhileTheUiThreadIsBusy) {
  SyncQueue q;
  TlcThreadedTimer t(q);
  int ticks = 0;
  t.SetInterval(1);
  t.SetOnTimer([&](TlcThreadedTimer&) { ++ticks; });
  std::this_thread::sleep_for(50ms);  // fifty intervals pass without the UI thread pumping
  EXPECT_LE(q.Pending(), 1u);
  q.ProcessPending();
  EXPECT_EQ(ticks, 1);
}

TEST(ThreadedTimer, PriorityReachesTheWorkerThread) {
  SyncQueue q;
  TlcThreadedTimer t(q);
  if (!t.ThreadSystemPriority()) GTEST_SKIP() << "threads have no priority levels here";
  EXPECT_EQ(t.ThreadSystemPriority(), 0) << "normal";
  // Windows' levels: above normal 1, time critical 15, idle -15.
  const std::pair<TThreadPriority, int> cases[] = {{TThreadPriority::tpHigher, 1},
                                                   {TThreadPriority::tpTimeCritical, 15},
                                                   {TThreadPriority::tpIdle, -15}};
  for (const auto& [priority, level] : cases) {
    t.SetThreadPriority(priority);
    EXPECT_EQ(t.ThreadPriority(), priority);
    EXPECT_EQ(t.ThreadSystemPriority(), level) << "case " << static_cast<int>(priority);
  }
}

}  // namespace
}  // namespace sapala::threading
