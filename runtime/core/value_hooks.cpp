#include "runtime/core/value_hooks.h"

#include "runtime/core/picture_hooks.h"

namespace rk {
namespace {

ValueHooks& Hooks() {
  static ValueHooks hooks = CalendarAndPictureHooks();
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
