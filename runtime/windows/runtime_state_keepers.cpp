#include "runtime/windows/runtime_state_keepers.h"

#include <memory>

#include "runtime/core/evaluation_stacks.h"
#include "runtime/core/expr_symbols.h"

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

ThreadStateKeeper BoundNamesKeeper() {
  return {[] {
            // An empty slot in exchange: the next thread finds no names bound.
            auto saved = std::make_shared<BoundNamesSlot>();
            SwapBoundNames(*saved);
            return std::shared_ptr<void>(saved);
          },
          [](std::shared_ptr<void> saved) {
            SwapBoundNames(*static_cast<BoundNamesSlot*>(saved.get()));
          }};
}

}  // namespace

std::vector<ThreadStateKeeper> RuntimeStateKeepers() {
  return {EvaluationStacksKeeper(), BoundNamesKeeper()};
}

}  // namespace rk
