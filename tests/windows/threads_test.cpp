// Runtime threads: START, the thread table, the runtime lock's state swap and the
// per-thread instances, driven step by step through the scheduler.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "runtime/core/evaluation_stacks.h"
#include "runtime/core/expr_evaluation.h"
#include "runtime/core/expr_parser.h"
#include "runtime/core/expr_symbols.h"
#include "runtime/core/type_codes.h"
#include "runtime/files/runtime_threads.h"
#include "runtime/platform/qt/scheduler.h"
#include "runtime/windows/modal_state.h"
#include "runtime/windows/runtime_lock.h"
#include "runtime/windows/thread_instances.h"
#include "runtime/windows/thread_start.h"
#include "runtime/windows/thread_state.h"
#include "tests/support/qt_application.h"

namespace rk {
namespace {

using platform::MessageKind;
using platform::PlatformMessage;

void RunUntilIdle() {
  platform::TheScheduler().RunUntilIdle();
}

void PostTo(int32_t threadNumber, MessageKind kind, int64_t param = 0) {
  ASSERT_GT(threadNumber, 0);
  platform::TheScheduler().Post(SlotAt(threadNumber - 1).fiber, {kind, 0, param, nullptr});
}

// A procedure that waits until it is told to quit.
void WaitForQuit() {
  while (WaitForNextMessage().kind != MessageKind::kQuit) {
  }
}

class ThreadsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    rk::testing::EnsureQtApplication();
    ASSERT_EQ(UsedSlots(), 0) << "a previous test left threads behind";
  }
  void TearDown() override {
    for (int slot = 0; slot < kThreadSlots; ++slot) {
      if (SlotAt(slot).fiber != 0) PostTo(slot + 1, MessageKind::kQuit);
    }
    RunUntilIdle();
    EXPECT_EQ(UsedSlots(), 0);
    EXPECT_EQ(ServedThread(), 0);
    EXPECT_FALSE(RuntimeLockHeld());
  }
};

TEST_F(ThreadsTest, StartAppliesTheStackRuleAndInheritsTheHelpFile) {
  std::vector<int32_t> numbers;
  ASSERT_TRUE(StartFirstThread([&] {
    SetThreadHelpFile("REEL.HLP");
    numbers.push_back(START(WaitForQuit, 1000));
    numbers.push_back(START(WaitForQuit, 0));
    numbers.push_back(START(WaitForQuit, 50000));
    numbers.push_back(START(WaitForQuit, -7));
    WaitForQuit();
  }));
  RunUntilIdle();
  ASSERT_EQ(numbers, (std::vector<int32_t>{2, 3, 4, 5}));
  EXPECT_EQ(SlotAt(1).stackSize, 5000);
  EXPECT_EQ(SlotAt(2).stackSize, 10000);
  EXPECT_EQ(SlotAt(3).stackSize, 50000);
  EXPECT_EQ(SlotAt(4).stackSize, 5000);
  EXPECT_EQ(SlotAt(2).helpFile, "REEL.HLP");
  EXPECT_EQ(SlotAt(0).stackSize, 1 << 20);
}

TEST_F(ThreadsTest, TheSixtyFourthThreadIsRefusedAndAFinishedOneFreesItsSlot) {
  // Threads are numbered 1 to 64: the limit is stated here, not read from the
  // constant under test.
  ASSERT_TRUE(StartFirstThread(WaitForQuit));
  for (int32_t expected = 2; expected <= 64; ++expected) {
    ASSERT_EQ(START(WaitForQuit, 50000), expected);
  }
  RunUntilIdle();
  EXPECT_EQ(UsedSlots(), 64);
  EXPECT_EQ(START(WaitForQuit, 50000), 0);
  EXPECT_EQ(platform::TheScheduler().FiberCount(), size_t{64});

  PostTo(10, MessageKind::kQuit);
  RunUntilIdle();
  EXPECT_EQ(SlotAt(9).fiber, 0u);
  EXPECT_EQ(UsedSlots(), 63);
  EXPECT_EQ(START(WaitForQuit, 25000), 10);
  EXPECT_EQ(SlotAt(9).stackSize, 25000);
}

TEST_F(ThreadsTest, AModalSystemStartsNothing) {
  EnterModal();
  EXPECT_EQ(START(WaitForQuit, 50000), 0);
  EXPECT_EQ(UsedSlots(), 0);
  LeaveModal();
  LeaveModal();  // unmatched: the count stays at zero
  EXPECT_EQ(ModalCount(), 0);
  EXPECT_EQ(START(WaitForQuit, 50000), 2);
}

TEST_F(ThreadsTest, EndingThreadRunsEndHooksAndClearsTheActiveThread) {
  static std::vector<int32_t> ended;
  static bool registered = false;
  if (!registered) {
    AddThreadEndHook([](int32_t thread) { ended.push_back(thread); });
    registered = true;
  }
  ended.clear();
  int32_t started = START(
      [] {
        SetActiveThread(RunningThreadNumber());
        EXPECT_EQ(ServedThread(), RunningThreadNumber());
        EXPECT_TRUE(RuntimeLockHeld());
      },
      0);
  ASSERT_EQ(started, 2);
  RunUntilIdle();
  EXPECT_EQ(ended, std::vector<int32_t>{2});
  EXPECT_EQ(ActiveThread(), 0);
  EXPECT_EQ(SlotAt(1).fiber, 0u);
}

TEST_F(ThreadsTest, EachThreadKeepsItsOwnStacksAcrossSwitches) {
  Values().Clear();
  Decimals().Clear();
  std::vector<std::string> seen;
  auto procedure = [&](std::string name, int32_t number) {
    return [&seen, name, number] {
      seen.push_back(name + " starts with " + std::to_string(Values().Depth()) + "/" +
                     std::to_string(Decimals().Depth()));
      EXPECT_EQ(LookupSymbol("OTHER"), nullptr) << "bound names belong to their thread";
      static int32_t variable = 0;
      Bind(name == "a" ? "OTHER" : "MINE", MakeValueRef(kLong, 4, 0, &variable));
      Values().PushCopy(name);
      Decimals().PushLong(number);
      while (WaitForNextMessage().kind != MessageKind::kQuit) {
        seen.push_back(name + " sees " + std::string(Values().Top()) + " " +
                       std::to_string(Values().Depth()) + "/" + std::to_string(Decimals().Depth()));
        Values().PushCopy(name);
        Decimals().PushLong(number);
      }
      EXPECT_EQ(Decimals().PopLong(), number);
      EXPECT_EQ(LookupSymbol("OTHER") != nullptr, name == "a");
    };
  };
  int32_t a = START(procedure("a", 1), 0);
  int32_t b = START(procedure("b", 2), 0);
  RunUntilIdle();
  PostTo(b, MessageKind::kKey);
  PostTo(a, MessageKind::kKey);
  RunUntilIdle();
  PostTo(b, MessageKind::kKey);
  RunUntilIdle();
  EXPECT_EQ(seen, (std::vector<std::string>{"a starts with 0/0", "b starts with 0/0",
                                            "a sees a 1/1", "b sees b 1/1", "b sees b 2/2"}));
  PostTo(a, MessageKind::kQuit);
  PostTo(b, MessageKind::kQuit);
  RunUntilIdle();
  EXPECT_EQ(Values().Depth(), 0u) << "an ended thread's state is discarded";
  EXPECT_EQ(Decimals().Depth(), 0u);
}

TEST_F(ThreadsTest, EachThreadKeepsItsOwnBoundNames) {
  static int32_t first = 1;
  static int32_t second = 2;
  std::vector<std::string> seen;
  auto procedure = [&](std::string name, int32_t* value) {
    return [&seen, name, value] {
      Bind(name, MakeValueRef(kLong, -1, 0, value));
      while (WaitForNextMessage().kind != MessageKind::kQuit) {
        for (std::string other : {"A", "B"}) {
          ExprTree tree = Evaluate(other);
          seen.push_back(name + " sees " + other + (tree ? "=" + EvaluateAsText(*tree) : "?"));
        }
      }
    };
  };
  int32_t a = START(procedure("A", &first), 0);
  int32_t b = START(procedure("B", &second), 0);
  RunUntilIdle();
  PostTo(a, MessageKind::kKey);
  RunUntilIdle();
  PostTo(b, MessageKind::kKey);
  RunUntilIdle();
  EXPECT_EQ(seen, (std::vector<std::string>{"A sees A=1", "A sees B?", "B sees A?", "B sees B=2"}));
  PostTo(a, MessageKind::kQuit);
  PostTo(b, MessageKind::kQuit);
  RunUntilIdle();
}

struct RequestArea {
  int32_t request;
  int32_t response;
};
RequestArea requestArea{4, 1};

TEST_F(ThreadsTest, PerThreadVariablesFollowTheRunningThread) {
  ThreadInstances().Register(&requestArea, sizeof requestArea, 0);
  std::vector<std::string> seen;
  auto report = [&](const std::string& who) {
    seen.push_back(who + " " + std::to_string(requestArea.request) + "," +
                   std::to_string(requestArea.response));
  };
  auto procedure = [&](std::string name, int32_t request) {
    return [&, name, request] {
      report(name);  // a started thread begins from the snapshot taken at registration
      requestArea.request = request;
      WaitForNextMessage();
      report(name);
    };
  };
  ASSERT_TRUE(StartFirstThread([&] {
    requestArea = {0, 0};  // the first thread works on the variable itself
    START(procedure("a", 1), 0);
    START(procedure("b", 2), 0);
    WaitForNextMessage();
    report("main");
  }));
  RunUntilIdle();
  PostTo(3, MessageKind::kKey);
  PostTo(2, MessageKind::kKey);
  PostTo(1, MessageKind::kKey);
  RunUntilIdle();
  EXPECT_EQ(seen, (std::vector<std::string>{"a 4,1", "b 4,1", "main 0,0", "a 1,1", "b 2,1"}));
}

// A file declared per thread: a 4-byte STRING record and one 3-byte memo.
constexpr uint8_t kRecordFields[] = {22, 18, 4, 0, 0, 0, 0, 0};
char record[4] = {'m', 'a', 'i', 'n'};
char memoText[3] = {'m', 'm', 'm'};
MemoDescriptor memo{nullptr, 0, nullptr, 0, memoText, nullptr, kMemoText, sizeof memoText};
MemoDescriptor* const memos[] = {&memo};
FileDescriptor TapesFile() {
  FileDescriptor file;
  file.attributes = kFileAttrPerThread;
  file.recordLength = sizeof record;
  file.record = reinterpret_cast<uint8_t*>(record);
  file.fieldList = kRecordFields;
  file.fieldListLength = sizeof kRecordFields;
  file.memoCount = 1;
  file.memos = memos;
  return file;
}
FileDescriptor tapes = TapesFile();

TEST_F(ThreadsTest, EachThreadOpensItsOwnInstanceOfAPerThreadFile) {
  // Threads that had not opened the file when thread 3 registered it, the first
  // thread included, find a blank record, an empty memo and a closed file.
  FileState* const opened = reinterpret_cast<FileState*>(&tapes);  // any non-null marker
  std::vector<std::string> seen;
  auto report = [&](int32_t thread) {
    seen.push_back(std::to_string(thread) + " " + std::string(record, 4) + " " +
                   std::string(memoText, 3) + (tapes.state ? " open" : " closed"));
  };
  ASSERT_TRUE(StartFirstThread([&] {
    int32_t b = START(
        [&] {
          WaitForNextMessage();  // the file is registered by thread 3 meanwhile
          report(CurrentThreadNumber());
          std::memcpy(record, "BBBB", 4);
          WaitForNextMessage();
          report(CurrentThreadNumber());
        },
        0);
    START(
        [&] {
          RegisterPerThreadFile(tapes);  // what OPEN does first for such a file
          tapes.state = opened;
          std::memcpy(record, "CCCC", 4);
          std::memcpy(memoText, "ccc", 3);
          WaitForNextMessage();
          report(CurrentThreadNumber());
        },
        0);
    EXPECT_EQ(b, 2);
    WaitForNextMessage();
    report(CurrentThreadNumber());
  }));
  RunUntilIdle();
  PostTo(2, MessageKind::kKey);
  RunUntilIdle();
  PostTo(3, MessageKind::kKey);
  PostTo(1, MessageKind::kKey);
  PostTo(2, MessageKind::kKey);
  RunUntilIdle();
  EXPECT_EQ(seen, (std::vector<std::string>{"2      " + std::string(3, '\0') + " closed",
                                            "1      " + std::string(3, '\0') + " closed",
                                            "2 BBBB " + std::string(3, '\0') + " closed",
                                            "3 CCCC ccc open"}));
}

}  // namespace
}  // namespace rk
