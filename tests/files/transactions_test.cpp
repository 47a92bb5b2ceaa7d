#include "runtime/files/transactions.h"

#include <gtest/gtest.h>

#include "runtime/core/error_state.h"
#include "runtime/files/file_statements.h"
#include "runtime/files/open_files_registry.h"
#include "tests/files/fake_driver.h"

namespace rk {
namespace {

using testing::FakeEntry;
using testing::FakeFileSpec;
using testing::FakeWorld;

// A driver that locks but keeps no transactions.
constexpr uint8_t kLockOnlyCodes[] = {4, kOpOpen, kOpClose, kOpLockSeconds, kOpUnlock, kOpAdd};
int32_t LockOnlyEntry(int32_t code, FileObject* object, const intptr_t* args);
const DriverRegistration kLockOnlyRegistration{.codes = kLockOnlyCodes,
                                               .types = testing::kFakeTypes,
                                               .name = "LOCKONLY",
                                               .entry = &LockOnlyEntry};
const FileDriver kLockOnlyDriver{.registration = &kLockOnlyRegistration,
                                 .maxRecordLength = 65535,
                                 .newState = testing::kFakeDriver.newState,
                                 .handle = testing::kFakeDriver.handle};
int32_t LockOnlyEntry(int32_t code, FileObject* object, const intptr_t* args) {
  return DispatchFileOperation(kLockOnlyDriver, code, object, args);
}

class TransactionsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    FakeWorld().Reset();
    for (const char* name : {"ONE", "TWO", "LOCKONLY"}) FakeWorld().files[name] = {};
    OPEN(one.file());
    OPEN(two.file());
    FakeWorld().calls.clear();
    ClearFileError();
  }
  void TearDown() override {
    if (TransactionActive()) ROLLBACK();
  }
  std::vector<std::string> Calls() { return FakeWorld().calls; }

  DeclaredFile one{FakeFileSpec("ONE"), &FakeEntry};
  DeclaredFile two{FakeFileSpec("TWO"), &FakeEntry};
};

TEST_F(TransactionsTest, CommitFinishesEveryFileNewestFirstAndUnlocksIt) {
  LOGOUT(2, {&one.file(), &two.file()});
  ASSERT_EQ(ErrorCode(), 0);
  EXPECT_TRUE(TransactionActive());
  EXPECT_TRUE(one.file().state->has(kStateLogout | kStateLocked));
  EXPECT_EQ(Calls(), (std::vector<std::string>{"ONE 21", "ONE 22", "TWO 21", "TWO 22"}));

  FakeWorld().calls.clear();
  COMMIT();
  EXPECT_FALSE(TransactionActive());
  EXPECT_EQ(Calls(), (std::vector<std::string>{"TWO 8", "TWO 50", "ONE 8", "ONE 50"}));
  EXPECT_FALSE(one.file().state->has(kStateLogout));
  EXPECT_FALSE(two.file().state->has(kStateLocked));

  FakeWorld().calls.clear();
  COMMIT();
  ROLLBACK();
  EXPECT_TRUE(Calls().empty()) << "without a transaction nothing happens";
}

TEST_F(TransactionsTest, FilesNeverUsedAreSkipped) {
  DeclaredFile unused{FakeFileSpec("UNUSED"), &FakeEntry};
  LOGOUT(1, {&unused.file(), &one.file()});
  EXPECT_EQ(ErrorCode(), 0);
  EXPECT_TRUE(TransactionActive());
  EXPECT_EQ(unused.file().state, nullptr);
}

TEST_F(TransactionsTest, ALockThatCannotBeTakenRollsBackTheFilesBeforeIt) {
  // The first file logs out; the second one's lock is refused.
  struct RefuseSecondLock {
    static int32_t Entry(int32_t code, FileObject* object, const intptr_t* args) {
      if (code == kOpLockSeconds) FakeWorld().forcedAnswers[kOpLockSeconds] = 32;
      return FakeEntry(code, object, args);
    }
  };
  two.file().entry = &RefuseSecondLock::Entry;
  LOGOUT(2, {&one.file(), &two.file()});
  EXPECT_EQ(ErrorCode(), 48);
  EXPECT_EQ(MessageText(ErrorCode()), "Unable To Log Transaction");
  EXPECT_FALSE(TransactionActive());
  EXPECT_EQ(Calls(), (std::vector<std::string>{"ONE 21", "ONE 22", "TWO 21", "ONE 40", "ONE 50"}));
  EXPECT_FALSE(one.file().state->has(kStateLogout | kStateLocked));
  EXPECT_FALSE(two.file().state->has(kStateLogout | kStateLocked));
}

TEST_F(TransactionsTest, AFileWhoseDriverKeepsNoTransactionsFailsAndIsUnlocked) {
  DeclaredFile plain{FakeFileSpec("LOCKONLY"), &LockOnlyEntry};
  OPEN(plain.file());
  FakeWorld().calls.clear();
  LOGOUT(1, {&plain.file()});
  EXPECT_EQ(ErrorCode(), 48);
  EXPECT_EQ(Calls(), (std::vector<std::string>{"LOCKONLY 21", "LOCKONLY 50"}));
  EXPECT_FALSE(plain.file().state->has(kStateLocked));
}

TEST_F(TransactionsTest, AFileMissingFromTheRegistryFails) {
  UnregisterOpenFile(two.file());
  LOGOUT(1, {&one.file(), &two.file()});
  EXPECT_EQ(ErrorCode(), 48);
  EXPECT_EQ(ErrorFile(), &two.file());
  EXPECT_FALSE(one.file().state->has(kStateLogout));
}

TEST_F(TransactionsTest, LogoutDuringATransactionGives56AndChangesNothing) {
  LOGOUT(1, {&one.file()});
  FakeWorld().calls.clear();
  LOGOUT(1, {&two.file()});
  EXPECT_EQ(ErrorCode(), 56);
  EXPECT_TRUE(Calls().empty());
  EXPECT_TRUE(TransactionActive());
}

TEST_F(TransactionsTest, ACommitErrorIsNotHiddenByTheUnlockAfterIt) {
  LOGOUT(1, {&one.file(), &two.file()});
  FakeWorld().forcedAnswers[kOpCommit] = 48;
  COMMIT();
  EXPECT_EQ(ErrorCode(), 48);
  EXPECT_FALSE(TransactionActive());
}

}  // namespace
}  // namespace rk
