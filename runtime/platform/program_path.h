// The full path of the running program's executable.
#pragma once

#include <string>

namespace rk::platform {

// Empty when the system cannot tell.
std::string ProgramPath();

}  // namespace rk::platform
