// The process-wide value and decimal stacks, and the exchange of their contents
// when the runtime starts serving another runtime thread: each thread keeps an
// EvaluationStacks of its own and swaps it with the process-wide one on every
// change of the served thread.
#pragma once

#include "runtime/core/decimal_stack.h"
#include "runtime/core/value_stack.h"

namespace rk {

struct EvaluationStacks {
  ValueStack values;
  DecimalStack decimals;
};

// Exchanges the contents of both process-wide stacks with `saved`.
void SwapEvaluationStacks(EvaluationStacks& saved);

}  // namespace rk
