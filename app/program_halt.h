// The end of the program after a fatal standard message: the halt text is written
// to the standard error, and the program ends through Halt (exit procedures and
// termination routines run) with a non-zero exit code, so that a caller can tell
// the program failed.
#pragma once

#include <string_view>

namespace rk {

inline constexpr int kHaltExitCode = 1;

[[noreturn]] void HaltProgram(std::string_view text);

}  // namespace rk
