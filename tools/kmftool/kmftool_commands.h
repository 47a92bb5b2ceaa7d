// The commands of kmftool. Each takes the arguments after the command name and
// returns the process exit code.
#pragma once

#include <string>
#include <vector>

namespace rk::kmftool {

using Arguments = std::vector<std::string>;

// check FILE: one line per problem, exit 1 when there is any.
int CheckCommand(const Arguments& arguments);

}  // namespace rk::kmftool
