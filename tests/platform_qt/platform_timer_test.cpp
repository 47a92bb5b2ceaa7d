#include "runtime/platform/qt/platform_timer.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <thread>

#include "runtime/platform/qt/scheduler.h"
#include "tests/support/qt_application.h"

namespace rk::platform {
namespace {

// Lets Qt run until the timer has expired `count` more times; false if that does
// not happen within a generous bound (a broken timer, not a slow machine).
bool PumpUntilExpired(const PlatformTimer& timer, uint64_t count) {
  uint64_t target = timer.Expiries() + count;
  QElapsedTimer elapsed;
  elapsed.start();
  while (timer.Expiries() < target && elapsed.elapsed() < 10000) {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  return timer.Expiries() >= target;
}

TEST(PlatformTimerTest, ABusyThreadFindsAtMostOneTimerMessage) {
  rk::testing::EnsureQtApplication();
  Scheduler scheduler;
  std::vector<int64_t> timerMessages;
  FiberId owner = scheduler.Spawn(
      [&] {
        for (;;) {
          PlatformMessage message = scheduler.WaitMessage();
          if (message.kind == MessageKind::kQuit) return;
          if (message.kind == MessageKind::kTimer) timerMessages.push_back(message.param);
        }
      },
      0);
  PlatformTimer timer(scheduler, owner, 0x1234, 7);
  timer.Start(1);

  // The owner does not run while only Qt is pumped: expiries pile up.
  ASSERT_TRUE(PumpUntilExpired(timer, 5));
  EXPECT_EQ(scheduler.QueuedMessages(owner), 1u);

  scheduler.RunUntilIdle();
  EXPECT_GE(timerMessages.size(), 1u);
  EXPECT_EQ(timerMessages.front(), 7);

  // Once the message is taken, the next expiry posts again, still only once.
  size_t taken = timerMessages.size();
  ASSERT_TRUE(PumpUntilExpired(timer, 3));
  EXPECT_EQ(scheduler.QueuedMessages(owner), 1u);
  timer.Stop();
  scheduler.RunUntilIdle();
  EXPECT_EQ(timerMessages.size(), taken + 1);
  EXPECT_FALSE(timer.Active());
}

}  // namespace
}  // namespace rk::platform
