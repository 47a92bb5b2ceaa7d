// Turns a window's Qt close event into a request to the owning runtime thread.
//
// The close box or the system menu must not close a runtime window behind the
// procedure's back: the filter refuses the Qt event and posts kCloseRequest; the
// runtime thread raises its close event and, unless the procedure refuses,
// closes the window itself through CloseNow.
#pragma once

#include <QObject>
#include <QPointer>
#include <QWidget>

#include "runtime/platform/qt/platform_message.h"

namespace rk::platform {

class Scheduler;

class CloseRequestFilter : public QObject {
 public:
  // Installs itself on the window; it is owned by the window.
  CloseRequestFilter(QWidget& window, Scheduler& scheduler, FiberId owner, uintptr_t target);

  // Closes the window, letting its close event through. Returns what QWidget::close returns.
  bool CloseNow();

  // While refusing, a close is refused without a request: the window takes no
  // input (a later window of its thread, or a dialog, is open).
  void SetRefusing(bool refusing) { refusing_ = refusing; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QPointer<QWidget> window_;
  Scheduler& scheduler_;
  FiberId owner_;
  uintptr_t target_;
  bool closing_ = false;
  bool refusing_ = false;
};

}  // namespace rk::platform
