// Access and record locks of KMF files opened in the various sharing modes, and
// the waits of HOLD and LOCK, which must pause through the runtime's hook.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstring>

#include "runtime/core/error_state.h"
#include "runtime/core/type_codes.h"
#include "runtime/files/declared_file.h"
#include "runtime/files/file_statements.h"
#include "runtime/files/kmf_driver.h"
#include "runtime/files/lock_wait.h"
#include "runtime/files/runtime_threads.h"
#include "runtime/files/transactions.h"
#include "tests/files/kmf_test_support.h"

namespace rk {
namespace {

const FieldSpec kFields[] = {{"TAP:NUMBER", 0, kLong}, {"TAP:LABEL", 4, kString, 12}};
const KeySpec kKeys[] = {{"TAP:NUMBER_KEY", 0, {1}}};

// Time in the waits passes only through the pause hook: each pause moves the
// injected clock on by its own length, and nothing sleeps.
int pauses = 0;
uint32_t centiseconds = 0;
uint32_t InjectedClock() {
  return centiseconds;
}
void CountingPause(std::chrono::milliseconds duration) {
  ++pauses;
  centiseconds += static_cast<uint32_t>(duration.count() / 10);
}

class KmfLockWaitTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // A wait that never ends fails the test instead of stalling the suite.
    alarm(60);
    name_ = dir_.File("TAPES");
    spec_ = {"tapes", name_.c_str(), kFileAttrCreate, 16, kFields, kKeys, {}};
    DeclaredFile seed(spec_, &KmfEntry);
    CREATE(seed.file());
    OPEN(seed.file());
    for (int32_t n = 1; n <= 3; ++n) {
      std::memcpy(seed.record(), &n, 4);
      std::memcpy(seed.record() + 4, "label       ", 12);
      ADD(seed.file());
    }
    CLOSE(seed.file());
    pauses = 0;
    centiseconds = 5000;
    SetLockWaitClock(&InjectedClock);
  }
  void TearDown() override {
    SetLockWaitClock(nullptr);
    SetRetryPause(nullptr);
    alarm(0);
  }

  kmf::testing::TempDirectory dir_;
  std::string name_;
  FileSpec spec_;
};

TEST_F(KmfLockWaitTest, ReadOnlyOpensInEverySharingModeRead) {
  for (int32_t sharing : {0x00, kDenyAll, kDenyWrite, kDenyNone}) {
    SCOPED_TRACE(sharing);
    DeclaredFile tapes(spec_, &KmfEntry);
    OPEN(tapes.file(), kAccessReadOnly | sharing);
    ASSERT_EQ(ErrorCode(), 0);
    EXPECT_EQ(RECORDS(tapes.file()), 3);
    SET(tapes.key(1));
    int read = 0;
    for (NEXT(tapes.file()); ErrorCode() == 0; NEXT(tapes.file())) ++read;
    EXPECT_EQ(ErrorCode(), 33);
    EXPECT_EQ(read, 3);
    CLOSE(tapes.file());
    EXPECT_EQ(ErrorCode(), 0);
  }
}

TEST_F(KmfLockWaitTest, ReadOnlyAndReadWriteOpensOfOneFileShareIt) {
  DeclaredFile reader(spec_, &KmfEntry);
  DeclaredFile writer(spec_, &KmfEntry);
  OPEN(reader.file(), kAccessReadOnly | kDenyNone);
  ASSERT_EQ(ErrorCode(), 0);
  OPEN(writer.file(), kAccessReadWrite | kDenyNone);
  ASSERT_EQ(ErrorCode(), 0);
  GET(reader.file(), 2);
  EXPECT_EQ(ErrorCode(), 0);
  // The record is held through the reader; the held byte does not stop the
  // reader's own access lock on the next operation.
  HOLD(reader.file());
  GET(reader.file(), 2);
  EXPECT_EQ(ErrorCode(), 0);
  EXPECT_EQ(RECORDS(reader.file()), 3);
  RELEASE(reader.file());
  CLOSE(writer.file());
  CLOSE(reader.file());
  EXPECT_EQ(ErrorCode(), 0);
}

TEST_F(KmfLockWaitTest, TimedHoldAndLockPauseThroughTheHookAndGiveUp) {
  SetRetryPause(&CountingPause);
  DeclaredFile first(spec_, &KmfEntry);
  DeclaredFile second(spec_, &KmfEntry);
  OPEN(first.file());
  OPEN(second.file());
  // Record numbers start at 2: the table's own number came first.
  HOLD(first.file());
  GET(first.file(), 2);
  ASSERT_EQ(ErrorCode(), 0);
  uint32_t before = centiseconds;
  HOLD(second.file(), 1);
  GET(second.file(), 2);
  EXPECT_EQ(ErrorCode(), 43);
  EXPECT_EQ(centiseconds - before, 100u) << "gives up when one second has passed, not before";
  int holdPauses = pauses;
  EXPECT_GT(holdPauses, 0);
  before = centiseconds;
  HOLD(second.file(), 3);
  GET(second.file(), 2);
  EXPECT_EQ(ErrorCode(), 43);
  EXPECT_EQ(centiseconds - before, 300u);
  holdPauses = pauses;
  // Another record is not held: no wait.
  HOLD(second.file(), 1);
  GET(second.file(), 3);
  EXPECT_EQ(ErrorCode(), 0);
  EXPECT_EQ(pauses, holdPauses);

  LOCK(first.file());
  ASSERT_EQ(ErrorCode(), 0);
  before = centiseconds;
  LOCK(second.file(), 2);
  EXPECT_EQ(ErrorCode(), 32);
  EXPECT_EQ(centiseconds - before, 200u);
  EXPECT_GT(pauses, holdPauses);
  UNLOCK(first.file());
  LOCK(second.file(), 1);
  EXPECT_EQ(ErrorCode(), 0);
  UNLOCK(second.file());
  CLOSE(second.file());
  CLOSE(first.file());
}

TEST_F(KmfLockWaitTest, LogoutGivesUpWithFortyEightAfterItsTime) {
  SetRetryPause(&CountingPause);
  DeclaredFile first(spec_, &KmfEntry);
  DeclaredFile second(spec_, &KmfEntry);
  OPEN(first.file());
  OPEN(second.file());
  LOCK(first.file());
  ASSERT_EQ(ErrorCode(), 0);
  uint32_t before = centiseconds;
  LOGOUT(2, {&second.file()});
  EXPECT_EQ(ErrorCode(), 48);
  EXPECT_EQ(centiseconds - before, 200u) << "waits its two seconds for the lock, then gives up";
  EXPECT_FALSE(TransactionActive());

  UNLOCK(first.file());
  before = centiseconds;
  LOGOUT(2, {&second.file()});
  EXPECT_EQ(ErrorCode(), 0);
  EXPECT_EQ(centiseconds, before) << "a free file is taken at once";
  EXPECT_TRUE(TransactionActive());
  ROLLBACK();
  CLOSE(second.file());
  CLOSE(first.file());
}

// The untimed forms wait until the other user lets go; the hook is where the
// other runtime thread runs, here simulated by changing the held record and
// letting go from inside it.
DeclaredFile* holder = nullptr;
void ReleasingPause(std::chrono::milliseconds) {
  ++pauses;
  if (pauses == 3) {
    std::memcpy(holder->record() + 4, "changed     ", 12);
    PUT(holder->file());
    RELEASE(holder->file());
    UNLOCK(holder->file());
  }
}

TEST_F(KmfLockWaitTest, UntimedWaitsEndWhenTheOtherThreadLetsGo) {
  SetRetryPause(&ReleasingPause);
  DeclaredFile first(spec_, &KmfEntry);
  DeclaredFile second(spec_, &KmfEntry);
  holder = &first;
  OPEN(first.file());
  OPEN(second.file());
  HOLD(first.file());
  GET(first.file(), 3);
  HOLD(second.file());
  GET(second.file(), 3);
  EXPECT_EQ(ErrorCode(), 0);
  EXPECT_EQ(pauses, 3);
  // The record as the holder left it, not as it was when the wait began.
  EXPECT_EQ(std::string(reinterpret_cast<char*>(second.record() + 4), 12), "changed     ");
  RELEASE(second.file());

  pauses = 0;
  LOCK(first.file());
  LOCK(second.file());
  EXPECT_EQ(ErrorCode(), 0);
  EXPECT_EQ(pauses, 3);
  UNLOCK(second.file());
  CLOSE(second.file());
  CLOSE(first.file());
}

}  // namespace
}  // namespace rk
