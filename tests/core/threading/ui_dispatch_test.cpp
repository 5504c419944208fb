// SyncQueue: calls run on the user-interface thread, the worker waits for them, and nothing is
// left waiting when the queue goes away.
#include "core/threading/ui_dispatch.h"

#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>

namespace sapala::threading {
namespace {

TEST(SyncQueue, CallsRunOnTheUiThreadAndTheWorkerWaitsForThem) {
  SyncQueue q;
  const auto ui = std::this_thread::get_id();
  std::atomic<int> ranOn{0};
  std::atomic<bool> returned{false};
  std::thread::id seen;
  std::thread worker([&] {
    bool ok = q.Synchronize([&] {
      seen = std::this_thread::get_id();
      ranOn = 1;
    });
    EXPECT_TRUE(ok);
    // Synchronize has returned, so the call has already run.
    EXPECT_EQ(ranOn.load(), 1);
    returned = true;
  });
  while (!returned) q.WaitAndProcess(std::chrono::milliseconds(5));
  worker.join();
  EXPECT_EQ(seen, ui);
}

TEST(SyncQueue, SynchronizeOnTheUiThreadRunsAtOnce) {
  SyncQueue q;
  int n = 0;
  EXPECT_TRUE(q.Synchronize([&] { ++n; }));
  EXPECT_EQ(n, 1);
}

TEST(SyncQueue, WakeIsCalledForEveryQueuedCall) {
  std::atomic<int> wakes{0};
  SyncQueue q([&] { ++wakes; });
  std::atomic<int> done{0};
  std::thread worker([&] {
    for (int i = 0; i < 3; ++i) q.Synchronize([] {});
    done = 1;
  });
  while (!done) q.WaitAndProcess(std::chrono::milliseconds(5));
  worker.join();
  EXPECT_EQ(wakes.load(), 3);
}

TEST(SyncQueue, AThrowingCallReleasesItsWorker) {
  SyncQueue q;
  std::atomic<bool> back{false};
  std::thread worker([&] {
    q.Synchronize([] { throw std::runtime_error("handler failed"); });
    back = true;
  });
  bool thrown = false;
  while (!back) {
    try {
      q.WaitAndProcess(std::chrono::milliseconds(5));
    } catch (const std::runtime_error&) {
      thrown = true;
    }
  }
  worker.join();
  EXPECT_TRUE(thrown);
}

TEST(SyncQueue, DestroyingTheQueueRefusesWaitingCalls) {
  auto q = std::make_unique<SyncQueue>();
  std::atomic<int> result{-1};
  std::atomic<bool> ran{false};
  std::thread worker([&] { result = q->Synchronize([&] { ran = true; }) ? 1 : 0; });
  // Let the worker queue its call, then drop the queue without processing it.
  while (q->Pending() == 0) std::this_thread::sleep_for(std::chrono::milliseconds(1));
  q.reset();
  worker.join();
  EXPECT_FALSE(ran.load());
  EXPECT_EQ(result.load(), 0);
}

}  // namespace
}  // namespace sapala::threading
