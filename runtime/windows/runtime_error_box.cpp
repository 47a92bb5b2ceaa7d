#include "runtime/windows/runtime_error_box.h"

#include "runtime/core/halt.h"
#include "runtime/windows/message_box.h"

namespace rk {

void InstallRuntimeErrorBox() {
  SetRuntimeErrorPresenter(&ShowRuntimeErrorBox);
}

void ShowRuntimeErrorBox(std::string_view title, std::string_view message) {
  constexpr bool kSystemModal = true;
  MessageKeepingLock(message, title, "Hand", kButtonOk, kButtonOk, kSystemModal);
}

}  // namespace rk
