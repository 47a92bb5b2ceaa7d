// Every input kept for a fuzz target, seeds and the inputs of crashes found,
// replayed through the target in the normal suite: a fault once found stays
// fixed. A broken invariant traps, which fails the run.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <ostream>
#include <string>
#include <vector>

#include "tools/fuzz/fuzz_inputs.h"

namespace rk {
namespace {

struct Target {
  const char* name;
  int (*input)(const uint8_t*, size_t);
};

// The name alone in test names and messages, not the bytes of the struct.
void PrintTo(const Target& target, std::ostream* out) {
  *out << target.name;
}

const Target kTargets[] = {
    {"kmf_file", &fuzz::KmfFileInput},        {"kmf_page", &fuzz::KmfPageInput},
    {"definition", &fuzz::DefinitionInput},   {"picture", &fuzz::PictureInput},
    {"expression", &fuzz::ExpressionInput},   {"list_format", &fuzz::ListFormatInput},
    {"environment", &fuzz::EnvironmentInput}, {"ascii_driver", &fuzz::AsciiDriverInput},
    {"page_file", &fuzz::PageFileInput},
};

std::vector<uint8_t> Bytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class FuzzCorpusTest : public ::testing::TestWithParam<Target> {};

TEST_P(FuzzCorpusTest, EveryKeptInputIsHandled) {
  std::filesystem::path folder =
      std::filesystem::path(RK_TEST_SOURCE_DIR) / "tests" / "fuzz" / GetParam().name;
  ASSERT_TRUE(std::filesystem::is_directory(folder)) << folder;
  std::vector<std::filesystem::path> inputs;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    if (entry.is_regular_file()) inputs.push_back(entry.path());
  }
  ASSERT_FALSE(inputs.empty()) << "a target without seeds fuzzes from nothing";
  for (const std::filesystem::path& input : inputs) {
    SCOPED_TRACE(input.filename().string());
    std::vector<uint8_t> bytes = Bytes(input);
    EXPECT_EQ(GetParam().input(bytes.data(), bytes.size()), 0);
  }
}

INSTANTIATE_TEST_SUITE_P(Targets, FuzzCorpusTest, ::testing::ValuesIn(kTargets),
                         [](const ::testing::TestParamInfo<Target>& info) {
                           return std::string(info.param.name);
                         });

}  // namespace
}  // namespace rk
