#include "runtime/windows/focus_return.h"

#include "runtime/platform/qt/window_shell.h"
#include "runtime/windows/control.h"
#include "runtime/windows/window.h"

namespace rk {
namespace {

// All widgets live on the GUI thread, so one flag serves every window: a focus
// return in one window can move the focus out of a field of another.
bool returning = false;

// The focus is somewhere other than this window: the person went on to
// another window, which keeps it.
bool FocusIsElsewhere(const Window& window) {
  return window.shell && window.shell->Outer() && platform::FocusIsOutside(*window.shell->Outer());
}

}  // namespace

void ReturnFocusAfterRefusal(Control& control) {
  Window& window = control.OwnerWindow();
  const int index = window.IndexOf(&control);
  if (index < 0) return;
  window.selected = index + 1;
  control.SelectForCorrection();
  QWidget* widget = control.Widget();
  if (!widget || FocusIsElsewhere(window)) return;
  control.BringIntoView();
  returning = true;
  platform::ReturnFocusTo(*widget);
  returning = false;
}

bool FocusBeingReturned() {
  return returning;
}

}  // namespace rk
