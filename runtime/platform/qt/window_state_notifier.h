// Tells the owning runtime thread that a window was moved, sized, maximized,
// minimized, restored or activated. These are notifications after the fact (kStateChanged,
// param one of WindowChange); the runtime turns them into its window events.
#pragma once

#include <QObject>
#include <QWidget>

#include "runtime/platform/qt/platform_message.h"

namespace rk::platform {

class Scheduler;

enum WindowChange : int64_t {
  kWindowMoved = 1,
  kWindowSized = 2,
  kWindowMaximized = 3,
  kWindowMinimized = 4,
  kWindowRestored = 5,
  kWindowActivated = 6,  // the window became the active one
};

class WindowStateNotifier : public QObject {
 public:
  // Installs itself on the window; it is owned by the window.
  WindowStateNotifier(QWidget& window, Scheduler& scheduler, FiberId owner, uintptr_t target);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void Notify(WindowChange change);

  QWidget& window_;
  Scheduler& scheduler_;
  FiberId owner_;
  uintptr_t target_;
};

}  // namespace rk::platform
