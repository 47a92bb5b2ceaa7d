#include "runtime/windows/window.h"

#include "runtime/platform/qt/platform_timer.h"
#include "runtime/platform/qt/window_shell.h"
#include "runtime/windows/control.h"
#include "runtime/windows/window_open.h"
#include "runtime/windows/window_registry.h"

namespace rk {

Window::Window() = default;

Window::~Window() {
  CloseWindow(*this);
  if (id_ != 0) UnregisterWindow(id_);
}

void Window::TakeNewId() {
  if (id_ != 0) UnregisterWindow(id_);
  id_ = RegisterWindow(this);
}

bool Window::IsOpen() const {
  return shell != nullptr && shell->Exists();
}

Control* Window::FindControl(int32_t number) const {
  if (number == 0) return nullptr;
  for (const std::unique_ptr<Control>& control : controls) {
    if (control->Number() == number) return control.get();
  }
  return nullptr;
}

int Window::IndexOf(const Control* control) const {
  for (size_t i = 0; i < controls.size(); ++i) {
    if (controls[i].get() == control) return static_cast<int>(i);
  }
  return -1;
}

}  // namespace rk
