// The runtime's own per-thread state, kept by the thread-state table from the
// start: the value stack, the decimal stack and the evaluator's bound names.
#pragma once

#include <vector>

#include "runtime/windows/thread_state.h"

namespace rk {

std::vector<ThreadStateKeeper> RuntimeStateKeepers();

}  // namespace rk
