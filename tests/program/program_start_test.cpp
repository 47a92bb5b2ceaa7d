// The built program started from a shell: what it answers before any window
// opens. Every run clears the environment, so that no display can be reached
// and a program that went on to open its windows would say "no display" instead.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <regex>
#include <string>

namespace {

namespace fs = std::filesystem;

struct Outcome {
  int status = -1;
  std::string out;
  std::string err;
};

std::string Read(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

class ProgramStartTest : public ::testing::Test {
 protected:
  void SetUp() override {
    root_ = fs::temp_directory_path() / ("rk-program-start-" + std::to_string(getpid()));
    fs::remove_all(root_);
    fs::create_directories(root_);
  }
  void TearDown() override { fs::remove_all(root_); }

  // Runs the program with only the environment given; the command line is built
  // from literals of this file and the temporary folder's name.
  Outcome Run(const std::string& environment, const std::string& arguments) {
    fs::path err = root_ / "stderr";
    std::string command = "cd '" + root_.string() + "' && env -i " + environment + " '" +
                          RK_TEST_BINARY_DIR + "/app/reelkeeper' " + arguments + " 2>'" +
                          err.string() + "'";
    Outcome run;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return run;
    std::array<char, 512> buffer;
    size_t got = 0;
    while ((got = fread(buffer.data(), 1, buffer.size(), pipe)) > 0)
      run.out.append(buffer.data(), got);
    int status = pclose(pipe);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.err = Read(err);
    return run;
  }

  fs::path root_;
};

TEST_F(ProgramStartTest, HelpAndVersionNeedNoDisplay) {
  Outcome version = Run("", "--version");
  EXPECT_EQ(version.status, 0);
  EXPECT_TRUE(std::regex_match(version.out, std::regex("reelkeeper [0-9]+\\.[0-9]+\n")))
      << version.out;
  EXPECT_EQ(version.err, "");

  Outcome help = Run("", "--help");
  EXPECT_EQ(help.status, 0);
  EXPECT_EQ(help.out.rfind("usage: reelkeeper [--env FILE] [DATA-FOLDER]", 0), 0u) << help.out;
  EXPECT_NE(help.out.find("--version"), std::string::npos);
  EXPECT_EQ(help.err, "");
}

TEST_F(ProgramStartTest, AMistakeOnTheCommandLineIsNamedWithTheUsage) {
  Outcome run = Run("", "--bogus");
  EXPECT_EQ(run.status, 2);
  EXPECT_EQ(run.out, "");
  EXPECT_EQ(run.err.rfind("reelkeeper: unknown option --bogus\nusage: reelkeeper", 0), 0u)
      << run.err;
}

TEST_F(ProgramStartTest, AnUnusableFolderIsExplainedBeforeTheDisplayIsLookedFor) {
  std::ofstream(root_ / "plain") << "x";
  Outcome run = Run("", "plain/collection");
  EXPECT_EQ(run.status, 4);
  EXPECT_NE(run.err.find("cannot create the data folder \"plain/collection\""), std::string::npos)
      << run.err;
  EXPECT_EQ(run.err.find("display"), std::string::npos) << run.err;
}

// Without a display the program stops right after making its folder ready, so
// the folder shows what the first start leaves behind.
TEST_F(ProgramStartTest, TheFirstStartMakesTheDefaultFolderWithTheReadme) {
  std::string readme = Read(fs::path(RK_TEST_SOURCE_DIR) / "resources/README.TXT");
  ASSERT_FALSE(readme.empty());

  Outcome xdg =
      Run("HOME=" + (root_ / "home").string() + " XDG_DATA_HOME=" + (root_ / "xdg").string(), "");
  EXPECT_EQ(xdg.status, 3);
  EXPECT_NE(xdg.err.find("no display"), std::string::npos) << xdg.err;
  EXPECT_EQ(Read(root_ / "xdg/reelkeeper/README.TXT"), readme);
  EXPECT_FALSE(fs::exists(root_ / "home"));

  Outcome home = Run("HOME=" + (root_ / "home").string(), "");
  EXPECT_EQ(home.status, 3);
  EXPECT_EQ(Read(root_ / "home/.local/share/reelkeeper/README.TXT"), readme);

  Outcome nowhere = Run("", "");
  EXPECT_EQ(nowhere.status, 4);
  EXPECT_NE(nowhere.err.find("HOME is not set"), std::string::npos) << nowhere.err;
}

TEST_F(ProgramStartTest, AnEnvironmentFileThatCannotBeReadIsNamed) {
  Outcome run = Run("QT_QPA_PLATFORM=offscreen", "--env missing.ENV collection");
  EXPECT_EQ(run.status, 2);
  EXPECT_NE(
      run.err.find("cannot read the environment file \"" + (root_ / "missing.ENV").string() + "\""),
      std::string::npos)
      << run.err;
  // The folder was made ready before the file was read.
  EXPECT_TRUE(fs::exists(root_ / "collection/README.TXT"));
}

}  // namespace
