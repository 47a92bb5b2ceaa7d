#include "runtime/core/value_hooks.h"

namespace rk {
namespace {

void Unchanged(const char*) {}
int32_t NoDay(uint32_t) {
  return 0;
}
uint32_t NoDate(int32_t) {
  return 0;
}
int32_t NoTime(uint32_t) {
  return -1;
}
uint32_t NoPackedTime(int32_t) {
  return 0;
}

ValueHooks Defaults() {
  return ValueHooks{Unchanged, Unchanged, NoDay, NoDate, NoTime, NoPackedTime};
}

ValueHooks& Hooks() {
  static ValueHooks hooks = Defaults();
  return hooks;
}

}  // namespace

void SetValueHooks(const ValueHooks& hooks) {
  ValueHooks merged = Hooks();
  if (hooks.formatTop) merged.formatTop = hooks.formatTop;
  if (hooks.deformatTop) merged.deformatTop = hooks.deformatTop;
  if (hooks.dateToDay) merged.dateToDay = hooks.dateToDay;
  if (hooks.dayToDate) merged.dayToDate = hooks.dayToDate;
  if (hooks.timeToValue) merged.timeToValue = hooks.timeToValue;
  if (hooks.valueToTime) merged.valueToTime = hooks.valueToTime;
  Hooks() = merged;
}

const ValueHooks& CurrentValueHooks() {
  return Hooks();
}

}  // namespace rk
