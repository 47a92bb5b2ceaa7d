// The program's command line.
#include "app/main/program_options.h"

#include <gtest/gtest.h>

namespace rk::start {
namespace {

using Action = ProgramOptions::Action;

TEST(ProgramOptions, FolderAndEnvironmentFileInEitherOrder) {
  ProgramOptions none = ParseProgramOptions({});
  EXPECT_EQ(none.action, Action::kRun);
  EXPECT_EQ(none.dataFolder, "");
  EXPECT_EQ(none.environmentFile, "");

  for (const auto& arguments : {std::vector<std::string>{"tapes", "--env", "my.ENV"},
                                std::vector<std::string>{"--env", "my.ENV", "tapes"}}) {
    ProgramOptions options = ParseProgramOptions(arguments);
    EXPECT_EQ(options.action, Action::kRun);
    EXPECT_EQ(options.dataFolder, "tapes");
    EXPECT_EQ(options.environmentFile, "my.ENV");
  }
  // After "--" a folder may begin with a dash.
  EXPECT_EQ(ParseProgramOptions({"--", "-odd"}).dataFolder, "-odd");
}

TEST(ProgramOptions, HelpAndVersionWinOverTheRestOfTheLine) {
  EXPECT_EQ(ParseProgramOptions({"--help"}).action, Action::kHelp);
  EXPECT_EQ(ParseProgramOptions({"-h"}).action, Action::kHelp);
  EXPECT_EQ(ParseProgramOptions({"tapes", "--version"}).action, Action::kVersion);
  EXPECT_EQ(ParseProgramOptions({"--version", "--bogus"}).action, Action::kVersion);
  EXPECT_NE(UsageText().find("usage: reelkeeper [--env FILE] [DATA-FOLDER]"), std::string::npos);
  EXPECT_EQ(VersionText().rfind("reelkeeper ", 0), 0u);
}

TEST(ProgramOptions, MistakesAreNamed) {
  struct Case {
    std::vector<std::string> arguments;
    std::string error;
  };
  for (const Case& c : std::vector<Case>{
           {{"--bogus"}, "unknown option --bogus"},
           {{"--env"}, "--env needs the name of a file"},
           {{"--env", ""}, "--env needs the name of a file"},
           {{"one", "two"}, "only one data folder can be given"},
           {{""}, "the data folder's name is empty"},
       }) {
    ProgramOptions options = ParseProgramOptions(c.arguments);
    EXPECT_EQ(options.action, Action::kUsageError) << c.error;
    EXPECT_EQ(options.error, c.error);
  }
}

}  // namespace
}  // namespace rk::start
