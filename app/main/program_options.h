// The command line of the program:
//
//   reelkeeper [--env FILE] [DATA-FOLDER]
//   reelkeeper --help | --version
//
// DATA-FOLDER holds the collection's files; without it the collection lives in
// the desktop's per-user data folder. FILE replaces the environment file beside
// the program.
#pragma once

#include <string>
#include <vector>

namespace rk::start {

struct ProgramOptions {
  enum class Action { kRun, kHelp, kVersion, kUsageError };
  Action action = Action::kRun;
  std::string dataFolder;       // empty: the default folder
  std::string environmentFile;  // empty: the file beside the program
  std::string error;            // what was wrong, for kUsageError
};

// Reads the arguments that follow the program's name.
ProgramOptions ParseProgramOptions(const std::vector<std::string>& arguments);

// The text --help prints.
std::string UsageText();

// The line --version prints.
std::string VersionText();

}  // namespace rk::start
