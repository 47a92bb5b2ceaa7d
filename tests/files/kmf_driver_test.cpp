#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>

#include "runtime/core/error_state.h"
#include "runtime/core/type_codes.h"
#include "runtime/files/declared_file.h"
#include "runtime/files/file_statements.h"
#include "runtime/files/kmf_check.h"
#include "runtime/files/kmf_driver.h"
#include "tests/files/kmf_test_support.h"

namespace rk {
namespace {

const FieldSpec kFields[] = {
    {"VID:NUMBER", 0, kLong},
    {"VID:TITLE", 4, kString, 30},
};
const KeySpec kKeys[] = {
    {"VID:NUMBER_KEY", 0, {1}},
    {"VID:TITLE_KEY", kKeyDup | kKeyNoCase, {2, -1}},
};
const MemoSpec kMemos[] = {{"VID:NOTES", 500}};

class KmfDriverTest : public ::testing::Test {
 protected:
  void SetUp() override {
    name_ = dir_.File("VIDEOS");
    spec_ = {"videos", name_.c_str(), kFileAttrCreate, 34, kFields, kKeys, kMemos};
  }
  void Fill(DeclaredFile& file, int32_t number, const std::string& title) {
    std::memcpy(file.record(), &number, 4);
    std::memset(file.record() + 4, ' ', 30);
    std::memcpy(file.record() + 4, title.data(), title.size());
  }

  kmf::testing::TempDirectory dir_;
  std::string name_;
  FileSpec spec_;
};

TEST_F(KmfDriverTest, OperationsRunThroughTheDispatcher) {
  DeclaredFile videos(spec_, &KmfEntry);
  OPEN(videos.file());
  EXPECT_EQ(ErrorCode(), 2);
  EXPECT_EQ(SEND(videos.file(), "REGISTER"), "KELDMARK");
  CREATE(videos.file());
  ASSERT_EQ(ErrorCode(), 0);
  OPEN(videos.file());
  ASSERT_EQ(ErrorCode(), 0);
  const char* titles[] = {"Casablanca", "alien", "Brazil"};
  for (int32_t i = 0; i < 3; ++i) {
    Fill(videos, i + 1, titles[i]);
    videos.setMemoText(1, std::string("notes on ") + titles[i]);
    ADD(videos.file());
    ASSERT_EQ(ErrorCode(), 0);
  }
  EXPECT_EQ(RECORDS(videos.file()), 3);
  SET(videos.key(2));
  std::vector<std::string> order;
  for (NEXT(videos.file()); ErrorCode() == 0; NEXT(videos.file())) {
    order.emplace_back(reinterpret_cast<char*>(videos.record() + 4), 10);
  }
  EXPECT_EQ(ErrorCode(), 33);
  ASSERT_EQ(order.size(), 3u);
  EXPECT_EQ(order[0].substr(0, 5), "alien");
  EXPECT_EQ(order[2].substr(0, 10), "Casablanca");

  Fill(videos, 2, "");
  GET(videos.file(), videos.key(1));
  ASSERT_EQ(ErrorCode(), 0);
  EXPECT_EQ(videos.memoText(1), "notes on alien");
  Fill(videos, 2, "Alien");
  PUT(videos.file());
  EXPECT_EQ(ErrorCode(), 0);
  Fill(videos, 3, "x");
  ADD(videos.file());
  EXPECT_EQ(ErrorCode(), 40);
  EXPECT_EQ(SEND(videos.file(), "NONSENSE"), "SEND arg not recognised");
  CLOSE(videos.file());
  EXPECT_EQ(ErrorCode(), 0);
  EXPECT_TRUE(kmf::CheckFile(name_ + ".KMF").ok());
}

TEST_F(KmfDriverTest, AnotherProgramCannotOpenTheFileAndLeavesItUntouched) {
  DeclaredFile videos(spec_, &KmfEntry);
  CREATE(videos.file());
  OPEN(videos.file());
  ASSERT_EQ(ErrorCode(), 0);
  Fill(videos, 1, "Kept");
  ADD(videos.file());
  auto sizeBefore = std::filesystem::file_size(name_ + ".KMF");
  // The second program is this test binary run again, so that it shares
  // nothing with this process but the file.
  pid_t pid = fork();
  if (pid == 0) {
    setenv("RK_KMF_SECOND_PROGRAM", name_.c_str(), 1);
    execl("/proc/self/exe", "files_tests", "--gtest_filter=KmfSecondProgram.*", nullptr);
    _exit(3);
  }
  int status = 0;
  waitpid(pid, &status, 0);
  EXPECT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0);
  EXPECT_EQ(std::filesystem::file_size(name_ + ".KMF"), sizeBefore);
  EXPECT_EQ(RECORDS(videos.file()), 1);
  CLOSE(videos.file());
}

// Runs only as the second program of the test above: its OPEN and CREATE of the
// file must both fail with the sharing violation.
TEST(KmfSecondProgram, IsRefusedTheFileTheFirstHolds) {
  const char* name = getenv("RK_KMF_SECOND_PROGRAM");
  if (!name) GTEST_SKIP() << "started by KmfDriverTest only";
  FileSpec spec{"videos", name, kFileAttrCreate, 34, kFields, kKeys, kMemos};
  DeclaredFile other(spec, &KmfEntry);
  OPEN(other.file());
  EXPECT_EQ(ErrorCode(), 332);
  OPEN(other.file(), kAccessReadOnly | kDenyNone);
  EXPECT_EQ(ErrorCode(), 332);
  CREATE(other.file());
  EXPECT_EQ(ErrorCode(), 332);
}

}  // namespace
}  // namespace rk
