// Runtime code runs only on the runtime thread that holds the runtime lock: in
// debug builds a file operation reached from anywhere else (a display callback,
// the test's own code while threads run) ends the program at once.
#include <gtest/gtest.h>

#include "runtime/files/operation_codes.h"
#include "runtime/files/runtime_threads.h"
#include "runtime/platform/qt/scheduler.h"
#include "runtime/windows/file_thread_hooks.h"
#include "runtime/windows/runtime_lock.h"
#include "runtime/windows/thread_slots.h"
#include "runtime/windows/thread_start.h"
#include "tests/support/qt_application.h"

namespace rk {
namespace {

using platform::MessageKind;

class RuntimeEntryCheckTest : public ::testing::Test {
 protected:
  void SetUp() override {
#ifdef NDEBUG
    GTEST_SKIP() << "the check is made in debug builds only";
#endif
    rk::testing::EnsureQtApplication();
    ConnectFileLayerToThreads();
  }
  void TearDown() override {
    for (int slot = 0; slot < kThreadSlots; ++slot) {
      if (SlotAt(slot).fiber != 0) {
        platform::TheScheduler().Post(SlotAt(slot).fiber, {MessageKind::kQuit, 0, 0, {}});
      }
    }
    platform::TheScheduler().RunUntilIdle();
  }
};

TEST_F(RuntimeEntryCheckTest, OnlyTheServedThreadPassesWhileThreadsRun) {
  CheckRuntimeEntry(kOpRecordsFile);  // no runtime thread yet: start-up code may run
  bool passedInside = false;
  ASSERT_TRUE(StartFirstThread([&] {
    CheckRuntimeEntry(kOpRecordsFile);
    passedInside = true;
    while (WaitForNextMessage().kind != MessageKind::kQuit) {
    }
  }));
  platform::TheScheduler().RunUntilIdle();
  EXPECT_TRUE(passedInside);
  // Here the test's own code stands where a display callback would: outside
  // every runtime thread while one runs.
  EXPECT_DEATH(CheckRuntimeEntry(kOpRecordsFile), "outside the runtime thread");
}

}  // namespace
}  // namespace rk
