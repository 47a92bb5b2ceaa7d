// kmftool check FILE
#include <cstdio>

#include "runtime/files/kmf_check.h"
#include "tools/kmftool/kmftool_commands.h"

namespace rk::kmftool {

int CheckCommand(const Arguments& arguments) {
  if (arguments.words.size() != 1 || arguments.csv) {
    std::fprintf(stderr, "usage: kmftool check FILE\n");
    return 2;
  }
  kmf::CheckReport report = kmf::CheckFile(arguments.words[0]);
  for (const std::string& problem : report.problems) std::printf("%s\n", problem.c_str());
  if (!report.ok()) return 1;
  std::printf("%s: %zu pages, %zu records, %zu of %zu bytes in live pages\n",
              arguments.words[0].c_str(), report.pages, report.records, report.liveBytes,
              report.fileBytes);
  return 0;
}

}  // namespace rk::kmftool
