// A form drawn at twice the screen density is the same form, twice as large:
// positions and sizes come from the font in points and from dialog units, so
// nothing is laid out in device pixels. formshot draws the tape form at both
// densities from its window definition.
#include <gtest/gtest.h>
#include <unistd.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <utility>

namespace {

namespace fs = std::filesystem;

// Width and height from a PNG's header chunk; zero for a file that is not one.
std::pair<uint32_t, uint32_t> PngSize(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::array<unsigned char, 24> head{};
  if (!in.read(reinterpret_cast<char*>(head.data()), head.size())) return {0, 0};
  auto word = [&](size_t at) {
    return uint32_t(head[at]) << 24 | uint32_t(head[at + 1]) << 16 | uint32_t(head[at + 2]) << 8 |
           uint32_t(head[at + 3]);
  };
  return {word(16), word(20)};
}

class DoubleDensityTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() / ("rk_density_" + std::to_string(getpid()));
    fs::remove_all(dir_);
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }

  // Draws the tape form's first tab at `scale`; the command line is built from
  // this file's literals and the temporary folder.
  std::pair<uint32_t, uint32_t> TapeForm(const std::string& scale) {
    std::string name = "tape-" + scale;
    std::string command =
        "cd '" + dir_.string() + "' && QT_QPA_PLATFORM=offscreen QT_SCALE_FACTOR=" + scale + " '" +
        RK_TEST_BINARY_DIR + "/tools/formshot/formshot' REELB022_RSC 'UPDATEHTAPES$QUICKWINDOW' " +
        name + ".png >/dev/null 2>&1";
    EXPECT_EQ(std::system(command.c_str()), 0) << command;
    return PngSize(dir_ / (name + "-1.png"));
  }

  fs::path dir_;
};

TEST_F(DoubleDensityTest, TheTapeFormIsTwiceAsLargeAtTwiceTheDensity) {
  auto [width, height] = TapeForm("1");
  ASSERT_GT(width, 100u);
  ASSERT_GT(height, 100u);
  auto [doubleWidth, doubleHeight] = TapeForm("2");
  EXPECT_EQ(doubleWidth, 2 * width);
  EXPECT_EQ(doubleHeight, 2 * height);
}

}  // namespace
