#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <string>

#include "runtime/platform/last_error.h"
#include "runtime/platform/os_errors.h"
#include "runtime/platform/os_file.h"
#include "runtime/platform/range_locks.h"

namespace rk::platform {
namespace {

class OsFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = std::filesystem::temp_directory_path() /
           ("rk_os_" + std::to_string(getpid()) + "_" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::create_directories(dir_);
    path_ = (dir_ / "data.bin").string();
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }

  // Runs fn in a child process and returns its exit code.
  template <typename Fn>
  int InChild(Fn fn) {
    pid_t pid = fork();
    if (pid == 0) _exit(fn());
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }

  std::filesystem::path dir_;
  std::string path_;
};

TEST(OsErrorsTest, ErrnoValuesMapToTheWindowsNumbersThatGetPosted) {
  EXPECT_EQ(WindowsErrorFromErrno(ENOENT), 2u);
  EXPECT_EQ(WindowsErrorFromErrno(ENOTDIR), 3u);
  EXPECT_EQ(WindowsErrorFromErrno(EMFILE), 4u);
  EXPECT_EQ(WindowsErrorFromErrno(EACCES), 5u);
  EXPECT_EQ(WindowsErrorFromErrno(EPERM), 5u);
  EXPECT_EQ(WindowsErrorFromErrno(EBADF), 6u);
  EXPECT_EQ(WindowsErrorFromErrno(ENOMEM), 8u);
  EXPECT_EQ(WindowsErrorFromErrno(EROFS), 19u);
  EXPECT_EQ(WindowsErrorFromErrno(EIO), 31u);
  EXPECT_EQ(WindowsErrorFromErrno(ENOSPC), 39u);
  EXPECT_EQ(WindowsErrorFromErrno(EEXIST), 80u);
  EXPECT_EQ(WindowsErrorFromErrno(EINVAL), 87u);
  // An errno the table does not know is still a failure.
  EXPECT_NE(WindowsErrorFromErrno(EHOSTDOWN), 0u);
}

TEST_F(OsFileTest, FailureStoresTheNumberAndSuccessClearsIt) {
  FileHandle handle = kNoHandle;
  EXPECT_EQ(OpenExisting(path_ + ".missing", 0x42, handle), kErrorFileNotFound);
  EXPECT_EQ(LastError(), kErrorFileNotFound);
  EXPECT_EQ(handle, kNoHandle);

  ASSERT_EQ(CreateAlways(path_, handle), 0u);
  EXPECT_EQ(LastError(), 0u);
  uint32_t written = 0;
  ASSERT_EQ(WriteFile(handle, "hello", 5, written), 0u);
  EXPECT_EQ(written, 5u);
  uint64_t size = 0;
  ASSERT_EQ(FileSize(handle, size), 0u);
  EXPECT_EQ(size, 5u);
  char buffer[8] = {};
  uint32_t read = 0;
  ASSERT_EQ(ReadAt(handle, 1, buffer, 8, read), 0u);
  EXPECT_EQ(std::string(buffer, read), "ello");
  ASSERT_EQ(TruncateFile(handle, 2), 0u);
  ASSERT_EQ(FileSize(handle, size), 0u);
  EXPECT_EQ(size, 2u);
  EXPECT_EQ(CloseFile(handle), 0u);

  EXPECT_EQ(MoveFileByName(path_, path_ + ".moved"), 0u);
  EXPECT_EQ(DeleteFileByName(path_), kErrorFileNotFound);
  EXPECT_EQ(DeleteFileByName(path_ + ".moved"), 0u);
  // Operations on no handle do nothing and succeed.
  EXPECT_EQ(FlushFile(kNoHandle), 0u);
}

TEST(ShareModeTest, AccessModesBecomeAccessAndSharing) {
  ShareRequest shared = ShareRequestFromMode(0x42);
  EXPECT_TRUE(shared.read && shared.write);
  EXPECT_FALSE(shared.denyRead || shared.denyWrite);
  ShareRequest exclusive = ShareRequestFromMode(0x22);
  EXPECT_TRUE(exclusive.read && exclusive.write);
  EXPECT_TRUE(exclusive.denyRead && exclusive.denyWrite);
  ShareRequest defaults = ShareRequestFromMode(0x00);
  EXPECT_TRUE(defaults.read);
  EXPECT_FALSE(defaults.write || defaults.denyRead || defaults.denyWrite);
  ShareRequest writeOnly = ShareRequestFromMode(0x11);
  EXPECT_TRUE(writeOnly.write && !writeOnly.read && writeOnly.denyRead && writeOnly.denyWrite);
}

TEST_F(OsFileTest, SharingModesRefuseConflictingOpens) {
  FileHandle creator = kNoHandle;
  ASSERT_EQ(CreateAlways(path_, creator), 0u);
  CloseFile(creator);

  FileHandle first = kNoHandle, second = kNoHandle;
  ASSERT_EQ(OpenExisting(path_, 0x42, first), 0u);
  EXPECT_EQ(OpenExisting(path_, 0x42, second), 0u);  // deny none: both fine
  CloseFile(second);
  EXPECT_EQ(OpenExisting(path_, 0x22, second), kErrorSharingViolation);
  EXPECT_EQ(second, kNoHandle);
  CloseFile(first);
  ASSERT_EQ(OpenExisting(path_, 0x22, first), 0u);
  EXPECT_EQ(OpenExisting(path_, 0x40, second), kErrorSharingViolation);
  CloseFile(first);
}

TEST_F(OsFileTest, ExclusiveOpenRefusesAnotherProgramAndLeavesTheFileUntouched) {
  FileHandle handle = kNoHandle;
  ASSERT_EQ(OpenKmf(path_, 0x142, handle), 0u);
  uint32_t written = 0;
  ASSERT_EQ(WriteAt(handle, 0, "content", 7, written), 0u);

  int childResult = InChild([&] {
    FileHandle other = kNoHandle;
    uint32_t error = OpenKmf(path_, 0x142, other);
    FileHandle truncating = kNoHandle;
    uint32_t createError = CreateAlways(path_, truncating);
    return error == kErrorSharingViolation && createError == kErrorSharingViolation ? 0 : 1;
  });
  EXPECT_EQ(childResult, 0);
  uint64_t size = 0;
  FileSize(handle, size);
  EXPECT_EQ(size, 7u);
  // Inside the program a second handle is refused all the same.
  FileHandle again = kNoHandle;
  EXPECT_EQ(OpenKmf(path_, 0x142, again), kErrorSharingViolation);
  CloseFile(handle);
  EXPECT_EQ(OpenKmf(path_, 0x142, again), 0u);
  CloseFile(again);
}

TEST_F(OsFileTest, LockedRangeCannotBeLockedAgainByAnyone) {
  FileHandle first = kNoHandle, second = kNoHandle;
  ASSERT_EQ(CreateAlways(path_, first), 0u);
  CloseFile(first);
  ASSERT_EQ(OpenExisting(path_, 0x42, first), 0u);
  ASSERT_EQ(OpenExisting(path_, 0x42, second), 0u);

  const uint64_t high = 0x80000000ULL + 0x400 + 0xFE000000ULL;  // beyond 32 bits
  ASSERT_EQ(LockFileRange(first, high, 1), 0u);
  EXPECT_EQ(LockFileRange(first, high, 1), kErrorLockViolation);         // same handle
  EXPECT_EQ(LockFileRange(second, high, 1), kErrorLockViolation);        // other handle
  EXPECT_EQ(LockFileRange(second, high - 10, 20), kErrorLockViolation);  // overlap
  EXPECT_EQ(LockFileRange(second, high + 1, 1), 0u);                     // neighbour

  EXPECT_EQ(InChild([&] {
              FileHandle other = kNoHandle;
              if (OpenExisting(path_, 0x42, other) != 0) return 2;
              return LockFileRange(other, high, 1) == kErrorLockViolation ? 0 : 1;
            }),
            0);

  EXPECT_EQ(UnlockFileRange(second, high, 1), kErrorNotLocked);  // not its lock
  EXPECT_EQ(UnlockFileRange(first, high, 1), 0u);
  EXPECT_EQ(LockFileRange(second, high, 1), 0u);
  EXPECT_EQ(InChild([&] {
              FileHandle other = kNoHandle;
              if (OpenExisting(path_, 0x42, other) != 0) return 2;
              return LockFileRange(other, high + 5, 1) == 0 ? 0 : 1;
            }),
            0);
  // Closing a handle gives its ranges back.
  CloseFile(second);
  EXPECT_EQ(LockFileRange(first, high, 1), 0u);
  CloseFile(first);
}

}  // namespace
}  // namespace rk::platform
