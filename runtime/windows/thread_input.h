// Modality on a runtime thread. A procedure that calls another one on its own
// thread (a form, a select, a child browse) waits inside that call until it
// returns, and its window must not take input meanwhile: were its clicks and
// keys queued, they would be replayed after the call, on records the call has
// changed. So only the thread's newest window takes input; the earlier ones
// are disabled on the display, and input that reaches them anyway (a close
// from the window manager, a message already on its way) is dropped. While the
// thread waits in a dialog, none of its windows takes input.
//
// Other threads' windows are left alone: each thread is modal only to itself.
#pragma once

#include <cstdint>

class QWidget;

namespace rk {

class Window;

// Enables the thread's newest window (unless the thread waits in a dialog)
// and disables its other windows. A window enabled again is activated and its
// selected control gets the focus back.
void UpdateThreadInput(int32_t thread);

// Whether the person's input reaches the window now.
bool TakesInput(const Window& window);

// The window a dialog of the running thread belongs to: the thread's current
// window, else the frame, else none. Never another thread's window: closing
// that would take the dialog with it.
QWidget* DialogOwner();

// While alive, the running thread waits in `dialog`: the thread's windows are
// disabled, the dialog itself stays enabled although its owner is not.
class ThreadDialogScope {
 public:
  explicit ThreadDialogScope(QWidget& dialog);
  ~ThreadDialogScope();
  ThreadDialogScope(const ThreadDialogScope&) = delete;
  ThreadDialogScope& operator=(const ThreadDialogScope&) = delete;

 private:
  int32_t thread_;
};

}  // namespace rk
