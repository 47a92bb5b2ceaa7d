#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>

#include "runtime/files/ascii_driver.h"
#include "tests/files/ascii_test_support.h"

namespace rk::test_files {
namespace {

using Lines = std::vector<std::string>;
constexpr int32_t kShared = kAccessReadWrite | kDenyNone;

TEST_F(AsciiTest, TheFileLockKeepsOtherHandlesFromWriting) {
  WriteBytes("one\r\n");
  auto first = Declare();
  auto second = Declare();
  OPEN(first->file(), kShared);
  SHARE(second->file(), kShared);
  LOCK(first->file());
  ASSERT_EQ(ErrorCode(), 0);

  LOCK(second->file(), 0);
  EXPECT_EQ(ErrorCode(), 32);
  second->setLine("refused");
  ADD(second->file());
  EXPECT_EQ(ErrorCode(), 5);
  // The holder writes under its own lock.
  first->setLine("two");
  ADD(first->file());
  EXPECT_EQ(ErrorCode(), 0);
  EXPECT_EQ(ReadAll(*first), (Lines{"one", "two"}));

  UNLOCK(first->file());
  ASSERT_EQ(ErrorCode(), 0);
  ADD(second->file());
  EXPECT_EQ(ErrorCode(), 0);
  EXPECT_EQ(ReadBytes(), "one\r\ntwo\r\nrefused\r\n");
  // Lines added by another handle are seen: shared files ask for the size
  // before reading.
  EXPECT_EQ(ReadAll(*first), (Lines{"one", "two", "refused"}));
}

// The second program is this test binary run again, sharing nothing with this
// process but the file; it runs one of the AsciiSecondProgram tests below.
int RunSecondProgram(const std::string& path, const char* action) {
  pid_t pid = fork();
  if (pid == 0) {
    setenv("RK_ASCII_SECOND_PROGRAM", path.c_str(), 1);
    setenv("RK_ASCII_SECOND_ACTION", action, 1);
    execl("/proc/self/exe", "files_tests", "--gtest_filter=AsciiSecondProgram.*", nullptr);
    _exit(3);
  }
  int status = 0;
  waitpid(pid, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST_F(AsciiTest, AnotherProgramIsLockedOutAndItsLinesAreSeen) {
  WriteBytes("one\r\n");
  auto text = Declare();
  FileDescriptor& file = text->file();
  OPEN(file, kShared);
  LOCK(file);
  ASSERT_EQ(ErrorCode(), 0);
  EXPECT_EQ(RunSecondProgram(Path(), "locked-out"), 0);
  EXPECT_EQ(ReadBytes(), "one\r\n");
  UNLOCK(file);

  // With QUICKSCAN on, the cached size hides the other program's line from
  // reads; a line added here still goes after it, never over it.
  SEND(file, "QUICKSCAN=ON");
  EXPECT_EQ(RunSecondProgram(Path(), "add"), 0);
  EXPECT_EQ(ReadAll(*text), (Lines{"one"}));
  text->setLine("three");
  ADD(file);
  ASSERT_EQ(ErrorCode(), 0);
  EXPECT_EQ(ReadBytes(), "one\r\ntwo\r\nthree\r\n");
  SEND(file, "QUICKSCAN=OFF");
  EXPECT_EQ(RunSecondProgram(Path(), "add"), 0);
  EXPECT_EQ(ReadAll(*text), (Lines{"one", "two", "three", "two"}));
}

// Runs only as the second program of the test above.
TEST(AsciiSecondProgram, ActsOnTheFirstProgramsFile) {
  const char* path = getenv("RK_ASCII_SECOND_PROGRAM");
  const char* action = getenv("RK_ASCII_SECOND_ACTION");
  if (!path || !action) GTEST_SKIP() << "started by AsciiTest only";
  AsciiTextFile text(20);
  text.setName(path);
  OPEN(text.file(), kShared);
  ASSERT_EQ(ErrorCode(), 0);
  text.setLine("two");
  if (std::string(action) == "locked-out") {
    LOCK(text.file(), 0);
    EXPECT_EQ(ErrorCode(), 32);
    ADD(text.file());
    EXPECT_EQ(ErrorCode(), 5);
  } else {
    ADD(text.file());
    EXPECT_EQ(ErrorCode(), 0);
  }
  CLOSE(text.file());
}

}  // namespace
}  // namespace rk::test_files
