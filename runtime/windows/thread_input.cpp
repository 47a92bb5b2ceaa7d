#include "runtime/windows/thread_input.h"

#include "runtime/platform/qt/window_shell.h"
#include "runtime/windows/control.h"
#include "runtime/windows/thread_slots.h"
#include "runtime/windows/thread_windows.h"
#include "runtime/windows/window.h"

namespace rk {
namespace {

// Back from waiting: the window becomes the active one again and the person
// goes on in the control that was selected before.
void Reactivate(Window& window) {
  window.shell->Activate();
  if (window.selected < 1 || static_cast<size_t>(window.selected) > window.controls.size()) return;
  if (QWidget* widget = window.controls[window.selected - 1]->Widget()) {
    platform::FocusWidget(*widget);
  }
}

void SetInput(Window& window, bool enabled) {
  if (window.takesInput == enabled || !window.IsOpen()) return;
  window.takesInput = enabled;
  window.shell->SetInputEnabled(enabled);
  if (enabled) Reactivate(window);
}

}  // namespace

void UpdateThreadInput(int32_t thread) {
  if (thread < 1 || thread > kThreadSlots) return;
  ThreadWindows& table = WindowsOfThread(thread);
  Window* top = CurrentWindowOf(thread);
  // The others first: the newest window, enabled last, keeps the activation.
  for (Window* window : table.open) {
    if (window != top) SetInput(*window, false);
  }
  if (top) SetInput(*top, table.dialogs == 0);
}

bool TakesInput(const Window& window) {
  return window.IsOpen() && window.takesInput;
}

QWidget* DialogOwner() {
  Window* window = CurrentWindow();
  if (!window || !window->IsOpen()) window = TheFrame();
  return window && window->IsOpen() ? window->shell->Outer() : nullptr;
}

ThreadDialogScope::ThreadDialogScope(QWidget& dialog) : thread_(RunningThreadNumber()) {
  if (thread_ < 1 || thread_ > kThreadSlots) return;
  ++WindowsOfThread(thread_).dialogs;
  UpdateThreadInput(thread_);
  // A dialog is disabled with its owner; being a window of its own, it can be
  // enabled again while the owner stays disabled.
  platform::EnableWidget(dialog, true);
}

ThreadDialogScope::~ThreadDialogScope() {
  if (thread_ < 1 || thread_ > kThreadSlots) return;
  --WindowsOfThread(thread_).dialogs;
  UpdateThreadInput(thread_);
}

}  // namespace rk
