#include "runtime/platform/qt/scheduler.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/qt_application.h"

namespace rk::platform {
namespace {

using std::chrono::milliseconds;

PlatformMessage Message(MessageKind kind, int64_t param = 0, uintptr_t target = 0) {
  return {kind, target, param, nullptr};
}

class SchedulerTest : public ::testing::Test {
 protected:
  void SetUp() override { rk::testing::EnsureQtApplication(); }
  Scheduler scheduler;
};

TEST_F(SchedulerTest, FibersInterleaveOnlyWhereTheyWait) {
  std::vector<std::string> log;
  FiberId a = scheduler.Spawn(
      [&] {
        log.push_back("a1");
        log.push_back("a2");
        scheduler.WaitMessage();
        log.push_back("a3");
      },
      0);
  FiberId b = scheduler.Spawn(
      [&] {
        log.push_back("b1");
        scheduler.WaitMessage();
        log.push_back("b2");
        log.push_back("b3");
      },
      0);
  ASSERT_NE(a, 0u);
  ASSERT_NE(b, 0u);
  scheduler.RunUntilIdle();
  EXPECT_EQ(log, (std::vector<std::string>{"a1", "a2", "b1"}));

  // Nothing runs again until a message arrives, whatever the loop does meanwhile.
  scheduler.RunUntilIdle();
  EXPECT_EQ(log.size(), 3u);

  scheduler.Post(b, Message(MessageKind::kCommand));
  scheduler.Post(a, Message(MessageKind::kCommand));
  scheduler.RunUntilIdle();
  EXPECT_EQ(log, (std::vector<std::string>{"a1", "a2", "b1", "a3", "b2", "b3"}));
  EXPECT_FALSE(scheduler.Alive(a));
  EXPECT_FALSE(scheduler.Alive(b));
  EXPECT_EQ(scheduler.FiberCount(), 0u);
}

TEST_F(SchedulerTest, AFiberWaitingAloneKeepsTheOthersFromRunning) {
  std::vector<std::string> log;
  FiberId other = scheduler.Spawn(
      [&] {
        scheduler.WaitMessage();
        log.push_back("other");
      },
      0);
  FiberId alone = scheduler.Spawn(
      [&] {
        scheduler.WaitMessageAlone([](const PlatformMessage& message) {
          return message.kind == MessageKind::kDialogResult;
        });
        log.push_back("alone");
      },
      0);
  scheduler.RunUntilIdle();
  scheduler.Post(other, Message(MessageKind::kCommand));
  scheduler.Post(alone, Message(MessageKind::kCommand));  // not the one it waits for
  scheduler.RunUntilIdle();
  EXPECT_TRUE(log.empty()) << "the other fiber has its message but must wait";

  scheduler.Post(alone, Message(MessageKind::kDialogResult));
  scheduler.RunUntilIdle();
  EXPECT_EQ(log, (std::vector<std::string>{"alone", "other"}));
  EXPECT_EQ(scheduler.FiberCount(), 0u);
}
TEST_F(SchedulerTest, PostedMessageWakesExactlyItsThreadInOrder) {
  std::vector<std::pair<int, int64_t>> received;  // (fiber index, param)
  std::vector<FiberId> fibers;
  for (int index = 0; index < 3; ++index) {
    fibers.push_back(scheduler.Spawn(
        [&, index] {
          for (;;) {
            PlatformMessage message = scheduler.WaitMessage();
            if (message.kind == MessageKind::kQuit) return;
            received.emplace_back(index, message.param);
          }
        },
        0));
  }
  scheduler.RunUntilIdle();
  EXPECT_TRUE(received.empty());

  scheduler.Post(fibers[1], Message(MessageKind::kKey, 10));
  scheduler.Post(fibers[1], Message(MessageKind::kKey, 11));
  scheduler.Post(fibers[1], Message(MessageKind::kKey, 12));
  scheduler.RunUntilIdle();
  EXPECT_EQ(received, (std::vector<std::pair<int, int64_t>>{{1, 10}, {1, 11}, {1, 12}}));
  EXPECT_EQ(scheduler.FiberCount(), 3u);

  for (FiberId fiber : fibers) scheduler.Post(fiber, Message(MessageKind::kQuit));
  scheduler.RunUntilIdle();
  EXPECT_EQ(scheduler.FiberCount(), 0u);
  EXPECT_FALSE(scheduler.Post(fibers[0], Message(MessageKind::kKey)));
}

TEST_F(SchedulerTest, PostOnceKeepsOneOfEachMessageQueued) {
  FiberId fiber = scheduler.Spawn([&] { scheduler.WaitMessage(); }, 0);
  scheduler.PostOnce(fiber, Message(MessageKind::kTimer, 1, 0x10));
  scheduler.PostOnce(fiber, Message(MessageKind::kTimer, 1, 0x10));
  EXPECT_EQ(scheduler.QueuedMessages(fiber), 1u);
  // Another timer, or the same timer of another window, is a different message.
  scheduler.PostOnce(fiber, Message(MessageKind::kTimer, 2, 0x10));
  scheduler.PostOnce(fiber, Message(MessageKind::kTimer, 1, 0x20));
  EXPECT_EQ(scheduler.QueuedMessages(fiber), 3u);
}

TEST_F(SchedulerTest, TimedWaitsEndWithoutMessagesAndPauseKeepsTheQueue) {
  std::vector<std::string> log;
  FiberId first = scheduler.Spawn(
      [&] {
        std::optional<PlatformMessage> none = scheduler.WaitMessage(milliseconds(5));
        log.push_back(none ? "message" : "timeout");
        scheduler.Post(scheduler.Current(), Message(MessageKind::kKey, 42));
        scheduler.Pause(milliseconds(2));
        log.push_back("queued " + std::to_string(scheduler.QueuedMessages(scheduler.Current())));
        std::optional<PlatformMessage> some = scheduler.WaitMessage(milliseconds(5));
        log.push_back(some ? "param " + std::to_string(some->param) : "timeout");
      },
      0);
  scheduler.Run(first);
  EXPECT_EQ(log, (std::vector<std::string>{"timeout", "queued 1", "param 42"}));
}

TEST_F(SchedulerTest, RunEndsWithTheFirstFiberAndOthersStayAlive) {
  FiberId first = 0;
  FiberId helper = scheduler.Spawn(
      [&] {
        scheduler.Post(first, Message(MessageKind::kQuit));
        scheduler.WaitMessage();
      },
      0);
  first = scheduler.Spawn([&] { scheduler.WaitMessage(); }, 0);
  scheduler.Run(first);
  EXPECT_FALSE(scheduler.Alive(first));
  EXPECT_TRUE(scheduler.Alive(helper));
}

TEST_F(SchedulerTest, WaitingForOneMessageLeavesTheOthersQueuedInOrder) {
  std::vector<int64_t> received;
  FiberId fiber = scheduler.Spawn(
      [&] {
        PlatformMessage result = scheduler.WaitMessageWhere(
            [](const PlatformMessage& m) { return m.kind == MessageKind::kDialogResult; });
        received.push_back(result.param);
        while (scheduler.QueuedMessages(scheduler.Current()) != 0) {
          received.push_back(scheduler.WaitMessage().param);
        }
      },
      0);
  scheduler.RunUntilIdle();
  scheduler.Post(fiber, Message(MessageKind::kKey, 1));
  scheduler.Post(fiber, Message(MessageKind::kKey, 2));
  scheduler.RunUntilIdle();
  EXPECT_TRUE(received.empty()) << "other messages do not end the wait";
  scheduler.Post(fiber, Message(MessageKind::kDialogResult, 9));
  scheduler.Post(fiber, Message(MessageKind::kKey, 3));
  scheduler.RunUntilIdle();
  EXPECT_EQ(received, (std::vector<int64_t>{9, 1, 2, 3}));
}

TEST_F(SchedulerTest, ADisplayPassRunsQtButNoOtherFiberBeforeTheFiberGoesOn) {
  std::vector<std::string> log;
  scheduler.Spawn(
      [&] {
        log.push_back("a1");
        QMetaObject::invokeMethod(
            QCoreApplication::instance(), [&] { log.push_back("qt"); }, Qt::QueuedConnection);
        scheduler.AwaitDisplayPass();
        log.push_back("a2");
        scheduler.AwaitDisplayPass();  // a second pass in a row
        log.push_back("a3");
      },
      0);
  scheduler.Spawn([&] { log.push_back("b"); }, 0);
  scheduler.RunUntilIdle();
  EXPECT_EQ(log, (std::vector<std::string>{"a1", "qt", "a2", "a3", "b"}));
  EXPECT_EQ(scheduler.FiberCount(), 0u);
}

TEST(SchedulerTeardownTest, UnwindsFibersStillWaiting) {
  bool destroyed = false;
  struct SetOnDestruction {
    bool& flag;
    ~SetOnDestruction() { flag = true; }
  };
  {
    Scheduler scheduler;
    scheduler.Spawn(
        [&] {
          SetOnDestruction guard{destroyed};
          scheduler.WaitMessage();
        },
        0);
    scheduler.RunUntilIdle();
    EXPECT_FALSE(destroyed);
  }
  EXPECT_TRUE(destroyed);
}

TEST(FiberTest, DeepRecursionFitsTheReservedStack) {
  // The requested sizes are small (the runtime asks for 5000 bytes and more); the
  // reserved stack must still hold deep procedure calls.
  std::function<int(int)> depth = [&](int n) {
    volatile char frame[256] = {};
    return n == 0 ? frame[0] : depth(n - 1) + 1 + frame[0];
  };
  int reached = 0;
  std::unique_ptr<Fiber> fiber = Fiber::Create([&] { reached = depth(500); }, 5000);
  ASSERT_TRUE(fiber);
  fiber->Resume();
  EXPECT_TRUE(fiber->Finished());
  EXPECT_EQ(reached, 500);
}

}  // namespace
}  // namespace rk::platform
