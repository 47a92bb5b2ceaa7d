#include "runtime/windows/dialog_wait.h"

#include "runtime/windows/runtime_lock.h"

namespace rk {

platform::PlatformMessage WaitForDialogMessage(uintptr_t tag) {
  return WaitForMessageWhere([tag](const platform::PlatformMessage& message) {
    return message.kind == platform::MessageKind::kDialogResult && message.target == tag;
  });
}

int64_t WaitForDialogResult(uintptr_t tag) {
  return WaitForDialogMessage(tag).param;
}

}  // namespace rk
