// A runtime thread waiting for a record another runtime thread holds must let
// that thread run, or neither would ever go on.
#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <thread>

#include "runtime/core/error_state.h"
#include "runtime/core/type_codes.h"
#include "runtime/files/declared_file.h"
#include "runtime/files/file_statements.h"
#include "runtime/files/kmf_driver.h"
#include "runtime/platform/qt/scheduler.h"
#include "runtime/windows/runtime_lock.h"
#include "runtime/windows/thread_slots.h"
#include "runtime/windows/thread_start.h"
#include "tests/files/kmf_test_support.h"
#include "tests/support/qt_application.h"

namespace rk {
namespace {

using platform::MessageKind;

const FieldSpec kFields[] = {{"TAP:NUMBER", 0, kLong}};
const KeySpec kKeys[] = {{"TAP:NUMBER_KEY", 0, {1}}};

// A wait that never yields would stall the test for good: the alarm ends it.
struct AlarmGuard {
  AlarmGuard() { alarm(60); }
  ~AlarmGuard() { alarm(0); }
};

TEST(LockWaitThreads, AHoldWaitLetsTheHoldingThreadRun) {
  rk::testing::EnsureQtApplication();
  AlarmGuard guard;
  kmf::testing::TempDirectory dir;
  std::string name = dir.File("TAPES");
  FileSpec spec{"tapes", name.c_str(), kFileAttrCreate, 4, kFields, kKeys, {}};
  DeclaredFile first(spec, &KmfEntry);
  DeclaredFile second(spec, &KmfEntry);
  CREATE(first.file());
  OPEN(first.file());
  int32_t number = 7;
  std::memcpy(first.record(), &number, 4);
  ADD(first.file());
  uint32_t record = POINTER(first.file());

  bool secondDone = false;
  int32_t secondAnswer = -1;
  auto waiter = [&] {
    OPEN(second.file());
    HOLD(second.file());
    GET(second.file(), static_cast<int32_t>(record));
    secondAnswer = ErrorCode();
    RELEASE(second.file());
    CLOSE(second.file());
    secondDone = true;
  };
  ASSERT_TRUE(StartFirstThread([&] {
    HOLD(first.file());
    GET(first.file(), static_cast<int32_t>(record));
    START(waiter, 0);
    // The holder lets go when told to, which it can only hear while the
    // waiter pauses instead of spinning.
    while (WaitForNextMessage().kind != MessageKind::kQuit) {
    }
    RELEASE(first.file());
    while (!secondDone) PauseThread(std::chrono::milliseconds(10));
  }));
  platform::TheScheduler().RunUntilIdle();
  EXPECT_FALSE(secondDone);
  platform::TheScheduler().Post(SlotAt(0).fiber, {MessageKind::kQuit, 0, 0, nullptr});
  for (int round = 0; round < 500 && UsedSlots() > 0; ++round) {
    platform::TheScheduler().RunUntilIdle();
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  EXPECT_TRUE(secondDone);
  EXPECT_EQ(secondAnswer, 0);
  EXPECT_EQ(UsedSlots(), 0);
  CLOSE(first.file());
}

}  // namespace
}  // namespace rk
