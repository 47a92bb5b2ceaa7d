#include "runtime/windows/popup.h"

#include "runtime/platform/qt/display_session.h"
#include "runtime/platform/qt/popup_menu.h"
#include "runtime/platform/qt/scheduler.h"
#include "runtime/windows/dialog_wait.h"
#include "runtime/windows/popup_text.h"
#include "runtime/windows/thread_input.h"

namespace rk {

int32_t POPUP(std::string_view text, int32_t x, int32_t y) {
  platform::Scheduler& scheduler = platform::TheScheduler();
  if (scheduler.Current() == 0 || !platform::DisplayOpen()) return 0;
  auto* menu = new platform::PopupMenu(ParsePopupText(text), scheduler, scheduler.Current());
  uintptr_t tag = menu->Tag();
  if (x == kPopupAtPointer || y == kPopupAtPointer) {
    menu->ShowAtPointer();
  } else {
    menu->ShowAt(DialogOwner(), x, y);
  }
  return static_cast<int32_t>(WaitForDialogResult(tag));
}

}  // namespace rk
