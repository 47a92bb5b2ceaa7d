// Forwards the input of one control's widget to the owning runtime thread: the
// focus arriving (kFocusRequest), keys (kKey, with the runtime's key code) and a
// left double click (kKey with code 5). The Qt events themselves go on as usual;
// the runtime decides afterwards what they mean.
#pragma once

#include <QObject>
#include <QWidget>
#include <cstdint>

#include "runtime/platform/key_codes.h"
#include "runtime/platform/qt/platform_message.h"

class QKeyEvent;

namespace rk::platform {

class Scheduler;

// The runtime key code of a key press, 0 for keys it does not name.
int32_t RuntimeKeyCode(const QKeyEvent& event);

class ControlInputFilter : public QObject {
 public:
  // Installs itself on the widget, which owns it.
  ControlInputFilter(QWidget& widget, Scheduler& scheduler, FiberId owner, uintptr_t target);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  Scheduler& scheduler_;
  FiberId owner_;
  uintptr_t target_;
};

}  // namespace rk::platform
