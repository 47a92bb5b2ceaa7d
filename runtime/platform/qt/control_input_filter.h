// Forwards the input of one control's widget to the owning runtime thread: the
// focus arriving (kFocusRequest), keys (kKey, with the runtime's key code) and a
// left double click (kKey with code 5). The Qt events themselves go on as usual;
// the runtime decides afterwards what they mean.
#pragma once

#include <QObject>
#include <QWidget>
#include <cstdint>

#include "runtime/platform/qt/platform_message.h"

class QKeyEvent;

namespace rk::platform {

class Scheduler;

// Runtime key codes: the virtual-key number in the low byte, plus 0x100 for Shift,
// 0x200 for Ctrl and 0x400 for Alt. Mouse presses use the codes below 0x08.
inline constexpr int32_t kKeyShift = 0x100;
inline constexpr int32_t kKeyCtrl = 0x200;
inline constexpr int32_t kKeyAlt = 0x400;
inline constexpr int32_t kMouseLeftDouble = 5;

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
