#include "app/main/program_options.h"

namespace rk::start {
namespace {

ProgramOptions UsageError(std::string error) {
  ProgramOptions options;
  options.action = ProgramOptions::Action::kUsageError;
  options.error = std::move(error);
  return options;
}

}  // namespace

ProgramOptions ParseProgramOptions(const std::vector<std::string>& arguments) {
  ProgramOptions options;
  bool onlyFolder = false;  // after "--" every word is the folder
  for (size_t i = 0; i < arguments.size(); ++i) {
    const std::string& word = arguments[i];
    if (!onlyFolder && word == "--") {
      onlyFolder = true;
    } else if (!onlyFolder && (word == "--help" || word == "-h")) {
      // Help and version win over anything else on the line, as users expect.
      options.action = ProgramOptions::Action::kHelp;
      return options;
    } else if (!onlyFolder && word == "--version") {
      options.action = ProgramOptions::Action::kVersion;
      return options;
    } else if (!onlyFolder && word == "--env") {
      if (i + 1 >= arguments.size()) return UsageError("--env needs the name of a file");
      options.environmentFile = arguments[++i];
      if (options.environmentFile.empty()) return UsageError("--env needs the name of a file");
    } else if (!onlyFolder && word.size() > 1 && word[0] == '-') {
      return UsageError("unknown option " + word);
    } else if (!options.dataFolder.empty()) {
      return UsageError("only one data folder can be given");
    } else if (word.empty()) {
      return UsageError("the data folder's name is empty");
    } else {
      options.dataFolder = word;
    }
  }
  return options;
}

std::string UsageText() {
  return "usage: reelkeeper [--env FILE] [DATA-FOLDER]\n"
         "       reelkeeper --help | --version\n"
         "\n"
         "Keeps a collection of video tapes: home-recorded tapes and what is on them,\n"
         "commercial videos and their cast, subjects and manufacturers.\n"
         "\n"
         "  DATA-FOLDER  the folder of the collection's files; created when missing.\n"
         "               Default: $XDG_DATA_HOME/reelkeeper (~/.local/share/reelkeeper).\n"
         "               A new folder gets a copy of README.TXT, shown at start.\n"
         "  --env FILE   read the character set, collation, month names, button and\n"
         "               message texts from FILE instead of reelkeeper.ENV beside the\n"
         "               program\n"
         "  --help       show this text and exit\n"
         "  --version    show the program's version and exit\n";
}

std::string VersionText() {
  return std::string("reelkeeper ") + RK_VERSION + "\n";
}

}  // namespace rk::start
