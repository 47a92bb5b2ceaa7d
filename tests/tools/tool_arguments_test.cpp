#include "tools/common/tool_arguments.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <vector>

namespace rk::tools {
namespace {

// Keeps the argument texts alive for the span the parser reads.
struct CommandLine {
  CommandLine(std::initializer_list<std::string> words) : texts(words) {
    for (std::string& text : texts) pointers.push_back(text.data());
  }
  std::vector<std::string> texts;
  std::vector<char*> pointers;
};

ToolArguments Parse(std::initializer_list<std::string> words, const ArgumentRules& rules) {
  CommandLine line(words);
  return ToolArguments(line.pointers, rules);
}

const ArgumentRules kAnywhere{.flags = {"--csv"}, .valued = {"--seed"}, .optionsFirst = false};
const ArgumentRules kFirst{.flags = {"--batch"}, .valued = {"--env"}, .optionsFirst = true};

TEST(ToolArguments, OptionsAnywhereAmongTheWords) {
  ToolArguments arguments = Parse({"export", "TAPES", "--csv", "--seed", "7", "HTAPES"}, kAnywhere);
  EXPECT_EQ(arguments.Problem(), "");
  EXPECT_EQ(arguments.Words(), (std::vector<std::string>{"export", "TAPES", "HTAPES"}));
  EXPECT_TRUE(arguments.Has("--csv"));
  EXPECT_EQ(arguments.Value("--seed"), "7");
  EXPECT_FALSE(arguments.Value("--other").has_value());
  EXPECT_FALSE(arguments.HelpAsked());
}

TEST(ToolArguments, OptionsFirstLeavesLaterDashesToTheWords) {
  ToolArguments arguments = Parse({"--env", "a.env", "eval", "--batch", "-h", "-1"}, kFirst);
  EXPECT_EQ(arguments.Problem(), "");
  EXPECT_EQ(arguments.Value("--env"), "a.env");
  EXPECT_FALSE(arguments.Has("--batch"));
  EXPECT_FALSE(arguments.HelpAsked());
  EXPECT_EQ(arguments.Words(), (std::vector<std::string>{"eval", "--batch", "-h", "-1"}));
}

TEST(ToolArguments, DoubleDashEndsTheOptions) {
  ToolArguments arguments = Parse({"--", "--csv", "-5"}, kAnywhere);
  EXPECT_FALSE(arguments.Has("--csv"));
  EXPECT_EQ(arguments.Words(), (std::vector<std::string>{"--csv", "-5"}));
}

TEST(ToolArguments, ALoneDashIsAWord) {
  EXPECT_EQ(Parse({"-", "--csv"}, kAnywhere).Words(), (std::vector<std::string>{"-"}));
}

TEST(ToolArguments, TheLastValueGivenWins) {
  EXPECT_EQ(Parse({"--seed", "1", "--seed", "2"}, kAnywhere).Value("--seed"), "2");
}

TEST(ToolArguments, HelpInEitherSpelling) {
  EXPECT_TRUE(Parse({"x", "--help"}, kAnywhere).HelpAsked());
  EXPECT_TRUE(Parse({"-h"}, kFirst).HelpAsked());
}

TEST(ToolArguments, WrongCommandLinesAreNamed) {
  EXPECT_EQ(Parse({"x", "--nosuch"}, kAnywhere).Problem(), "unknown option --nosuch");
  EXPECT_EQ(Parse({"x", "--seed"}, kAnywhere).Problem(), "--seed needs a value");
  // The first problem is the one reported.
  EXPECT_EQ(Parse({"--a", "--b"}, kAnywhere).Problem(), "unknown option --a");
  EXPECT_EQ(Parse({"-x", "word"}, kFirst).Problem(), "unknown option -x");
}

}  // namespace
}  // namespace rk::tools
