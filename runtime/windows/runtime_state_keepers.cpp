#include "runtime/windows/runtime_state_keepers.h"

#include <memory>

#include "runtime/core/evaluation_stacks.h"

namespace rk {
namespace {

ThreadStateKeeper EvaluationStacksKeeper() {
  return {[] {
            // Exchanging with a fresh set leaves the process-wide stacks empty.
            auto saved = std::make_shared<EvaluationStacks>();
            SwapEvaluationStacks(*saved);
            return std::shared_ptr<void>(saved);
          },
          [](std::shared_ptr<void> saved) {
            SwapEvaluationStacks(*static_cast<EvaluationStacks*>(saved.get()));
          }};
}

}  // namespace

std::vector<ThreadStateKeeper> RuntimeStateKeepers() {
  return {EvaluationStacksKeeper()};
}

}  // namespace rk
