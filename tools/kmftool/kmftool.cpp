// kmftool COMMAND ARGUMENTS...: the command table and its dispatch.
#include <cstdio>
#include <string>
#include <vector>

#include "tools/common/tool_arguments.h"
#include "tools/kmftool/kmftool_commands.h"

namespace {

struct Command {
  const char* name;
  const char* usage;
  int (*run)(const rk::kmftool::Arguments&);
};

const Command kCommands[] = {
    {"check", "check FILE    verify every page and invariant; exit 1 on any problem",
     rk::kmftool::CheckCommand},
    {"info", "info FILE    the header, the tables, their record and key entry counts",
     rk::kmftool::InfoCommand},
    {"dump", "dump FILE [TABLE]    one JSON object per record", rk::kmftool::DumpCommand},
    {"export", "export FILE --csv [TABLE]    the records as CSV", rk::kmftool::ExportCommand},
    {"import", "import FILE --csv CSVFILE [TABLE]    add CSV rows through ADD",
     rk::kmftool::ImportCommand},
};

// Asked for, the usage goes to standard output and is no failure; as the answer
// to a wrong command line it goes to standard error.
int Usage(FILE* to = stderr) {
  std::fprintf(to, "usage: kmftool COMMAND ARGUMENTS...\n");
  for (const Command& command : kCommands) std::fprintf(to, "  %s\n", command.usage);
  return to == stdout ? 0 : 2;
}

}  // namespace

int main(int argc, char** argv) {
  rk::tools::ToolArguments arguments({argv + 1, argv + argc},
                                     {.flags = {"--csv"}, .valued = {}, .optionsFirst = false});
  if (arguments.HelpAsked()) return Usage(stdout);
  const std::vector<std::string>& words = arguments.Words();
  if (words.empty() || !arguments.Problem().empty()) return Usage();
  for (const Command& command : kCommands) {
    if (words[0] == command.name) {
      return command.run({{words.begin() + 1, words.end()}, arguments.Has("--csv")});
    }
  }
  return Usage();
}
