// kmftool COMMAND ARGUMENTS...: the command table and its dispatch.
#include <cstdio>
#include <cstring>
#include <string>

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

int Usage() {
  std::fprintf(stderr, "usage: kmftool COMMAND ARGUMENTS...\n");
  for (const Command& command : kCommands) std::fprintf(stderr, "  %s\n", command.usage);
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return Usage();
  for (const Command& command : kCommands) {
    if (std::strcmp(argv[1], command.name) == 0) {
      return command.run(rk::kmftool::Arguments(argv + 2, argv + argc));
    }
  }
  return Usage();
}
