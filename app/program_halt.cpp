#include "app/program_halt.h"

#include <cstdio>

#include "runtime/core/halt.h"

namespace rk {

void HaltProgram(std::string_view text) {
  std::fprintf(stderr, "%.*s\n", static_cast<int>(text.size()), text.data());
  Halt(kHaltExitCode);
}

}  // namespace rk
