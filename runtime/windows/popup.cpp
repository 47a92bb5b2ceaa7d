#include "runtime/windows/popup.h"

#include <QApplication>
#include <QCursor>
#include <QWidget>

#include "runtime/platform/qt/popup_menu.h"
#include "runtime/platform/qt/scheduler.h"
#include "runtime/windows/dialog_wait.h"
#include "runtime/windows/popup_text.h"
#include "runtime/windows/thread_input.h"

namespace rk {
namespace {

QPoint GlobalPosition(int32_t x, int32_t y) {
  if (x == kPopupAtPointer || y == kPopupAtPointer) return QCursor::pos();
  QPoint point(x, y);
  QWidget* window = DialogOwner();
  return window ? window->mapToGlobal(point) : point;
}

}  // namespace

int32_t POPUP(std::string_view text, int32_t x, int32_t y) {
  platform::Scheduler& scheduler = platform::TheScheduler();
  if (scheduler.Current() == 0 || !QApplication::instance()) return 0;
  auto* menu = new platform::PopupMenu(ParsePopupText(text), scheduler, scheduler.Current());
  uintptr_t tag = menu->Tag();
  menu->Show(GlobalPosition(x, y));
  return static_cast<int32_t>(WaitForDialogResult(tag));
}

}  // namespace rk
