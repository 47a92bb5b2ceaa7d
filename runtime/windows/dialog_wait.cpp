#include "runtime/windows/dialog_wait.h"

#include "runtime/windows/runtime_lock.h"

namespace rk {

int64_t WaitForDialogResult(uintptr_t tag) {
  platform::PlatformMessage result =
      WaitForMessageWhere([tag](const platform::PlatformMessage& message) {
        return message.kind == platform::MessageKind::kDialogResult && message.target == tag;
      });
  return result.param;
}

}  // namespace rk
