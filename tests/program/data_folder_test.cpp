// The collection's data folder: where it is by default and how it is made ready.
#include "app/main/data_folder.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <fstream>
#include <iterator>

namespace rk::start {
namespace {

namespace fs = std::filesystem;

std::string Read(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

std::span<const uint8_t> Bytes(const std::string& text) {
  return {reinterpret_cast<const uint8_t*>(text.data()), text.size()};
}

class DataFolderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    root_ = fs::temp_directory_path() / ("rk-data-folder-" + std::to_string(getpid()));
    fs::remove_all(root_);
    fs::create_directories(root_);
  }
  void TearDown() override { fs::remove_all(root_); }
  fs::path root_;
};

TEST(DefaultDataFolder, FollowsTheDesktopsPerUserDataFolder) {
  EXPECT_EQ(DefaultDataFolder("/x/data", "/home/ann"), fs::path("/x/data/reelkeeper"));
  // Unset, empty or relative XDG_DATA_HOME falls back to the home folder.
  EXPECT_EQ(DefaultDataFolder(nullptr, "/home/ann"), fs::path("/home/ann/.local/share/reelkeeper"));
  EXPECT_EQ(DefaultDataFolder("", "/home/ann"), fs::path("/home/ann/.local/share/reelkeeper"));
  EXPECT_EQ(DefaultDataFolder("rel/data", "/home/ann"),
            fs::path("/home/ann/.local/share/reelkeeper"));
  EXPECT_EQ(DefaultDataFolder(nullptr, nullptr), fs::path());
  EXPECT_EQ(DefaultDataFolder("", ""), fs::path());
}

TEST_F(DataFolderTest, ANewFolderIsCreatedWithItsReadme) {
  fs::path folder = root_ / "a" / "b" / "reelkeeper";
  EXPECT_EQ(PrepareDataFolder(folder, Bytes("Welcome\r\n")), std::nullopt);
  EXPECT_TRUE(fs::is_directory(folder));
  EXPECT_EQ(Read(folder / "README.TXT"), "Welcome\r\n");
  // Nothing but the README is left behind by the write check.
  EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 1);
}

TEST_F(DataFolderTest, AnExistingReadmeIsTheUsersAndStays) {
  std::ofstream(root_ / "README.TXT") << "mine";
  EXPECT_EQ(PrepareDataFolder(root_, Bytes("Welcome")), std::nullopt);
  EXPECT_EQ(Read(root_ / "README.TXT"), "mine");
}

TEST_F(DataFolderTest, AFolderThatCannotBeMadeOrUsedIsExplained) {
  fs::path file = root_ / "plain";
  std::ofstream(file) << "x";
  std::optional<std::string> onFile = PrepareDataFolder(file, Bytes("Welcome"));
  ASSERT_TRUE(onFile);
  EXPECT_NE(onFile->find(file.string()), std::string::npos) << *onFile;
  EXPECT_NE(onFile->find("data folder"), std::string::npos) << *onFile;

  fs::path below = file / "sub";
  std::optional<std::string> belowFile = PrepareDataFolder(below, Bytes("Welcome"));
  ASSERT_TRUE(belowFile);
  EXPECT_NE(belowFile->find("cannot create the data folder \"" + below.string() + "\""),
            std::string::npos)
      << *belowFile;
}

// Permission bits do not stop the superuser, so this case needs an ordinary user.
TEST_F(DataFolderTest, AFolderWithoutWritePermissionIsRefused) {
  if (geteuid() == 0) GTEST_SKIP() << "the superuser may write anywhere";
  fs::path folder = root_ / "locked";
  fs::create_directories(folder);
  fs::permissions(folder, fs::perms::owner_read | fs::perms::owner_exec);
  std::optional<std::string> problem = PrepareDataFolder(folder, Bytes("Welcome"));
  fs::permissions(folder, fs::perms::owner_all);
  ASSERT_TRUE(problem);
  EXPECT_NE(problem->find("cannot write in the data folder"), std::string::npos) << *problem;
}

}  // namespace
}  // namespace rk::start
