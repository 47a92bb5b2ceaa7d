// The commands of kmftool. Each takes the command line after the command's name
// and returns the process exit code.
#pragma once

#include <string>
#include <vector>

namespace rk::kmftool {

struct Arguments {
  std::vector<std::string> words;  // FILE and what follows it, in order
  bool csv = false;                // "--csv" was given
};

// check FILE: one line per problem, exit 1 when there is any.
int CheckCommand(const Arguments& arguments);
// info FILE: the header, the tables and their record and key entry counts.
int InfoCommand(const Arguments& arguments);
// dump FILE [TABLE]: one JSON object per record.
int DumpCommand(const Arguments& arguments);
// export FILE --csv [TABLE]: the records as CSV.
int ExportCommand(const Arguments& arguments);
// import FILE --csv CSVFILE [TABLE]: CSV rows added through ADD.
int ImportCommand(const Arguments& arguments);

}  // namespace rk::kmftool
