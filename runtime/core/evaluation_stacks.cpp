#include "runtime/core/evaluation_stacks.h"

namespace rk {
namespace {

EvaluationStacks& ProcessStacks() {
  static EvaluationStacks stacks;
  return stacks;
}

}  // namespace

ValueStack& Values() {
  return ProcessStacks().values;
}
DecimalStack& Decimals() {
  return ProcessStacks().decimals;
}

void SwapEvaluationStacks(EvaluationStacks& saved) {
  ProcessStacks().values.Swap(saved.values);
  ProcessStacks().decimals.Swap(saved.decimals);
}

}  // namespace rk
