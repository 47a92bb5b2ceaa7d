#include "runtime/windows/dialog_wait.h"

#include "runtime/windows/runtime_lock.h"

namespace rk {

namespace {

std::function<bool(const platform::PlatformMessage&)> ResultOf(uintptr_t tag) {
  return [tag](const platform::PlatformMessage& message) {
    return message.kind == platform::MessageKind::kDialogResult && message.target == tag;
  };
}

}  // namespace

platform::PlatformMessage WaitForDialogMessage(uintptr_t tag) {
  return WaitForMessageWhere(ResultOf(tag));
}

int64_t WaitForDialogResultKeepingLock(uintptr_t tag) {
  return WaitForMessageKeepingLock(ResultOf(tag)).param;
}

int64_t WaitForDialogResult(uintptr_t tag) {
  return WaitForDialogMessage(tag).param;
}

}  // namespace rk
