#include "runtime/platform/qt/control_input_filter.h"

#include <QKeyEvent>
#include <QMouseEvent>

#include "runtime/platform/qt/scheduler.h"

namespace rk::platform {
namespace {

int32_t VirtualKey(int key) {
  if (key >= Qt::Key_A && key <= Qt::Key_Z) return 0x41 + (key - Qt::Key_A);
  if (key >= Qt::Key_0 && key <= Qt::Key_9) return 0x30 + (key - Qt::Key_0);
  if (key >= Qt::Key_F1 && key <= Qt::Key_F24) return 0x70 + (key - Qt::Key_F1);
  switch (key) {
    case Qt::Key_Backspace:
      return 0x08;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
      return 0x09;
    case Qt::Key_Return:
    case Qt::Key_Enter:
      return 0x0D;
    case Qt::Key_Escape:
      return 0x1B;
    case Qt::Key_Space:
      return 0x20;
    case Qt::Key_PageUp:
      return 0x21;
    case Qt::Key_PageDown:
      return 0x22;
    case Qt::Key_End:
      return 0x23;
    case Qt::Key_Home:
      return 0x24;
    case Qt::Key_Left:
      return 0x25;
    case Qt::Key_Up:
      return 0x26;
    case Qt::Key_Right:
      return 0x27;
    case Qt::Key_Down:
      return 0x28;
    case Qt::Key_Insert:
      return 0x2D;
    case Qt::Key_Delete:
      return 0x2E;
    default:
      return 0;
  }
}

}  // namespace

int32_t RuntimeKeyCode(const QKeyEvent& event) {
  int32_t code = VirtualKey(event.key());
  if (code == 0) return 0;
  Qt::KeyboardModifiers modifiers = event.modifiers();
  if (modifiers & Qt::ShiftModifier) code |= kKeyShift;
  if (modifiers & Qt::ControlModifier) code |= kKeyCtrl;
  if (modifiers & Qt::AltModifier) code |= kKeyAlt;
  return code;
}

ControlInputFilter::ControlInputFilter(QWidget& widget, Scheduler& scheduler, FiberId owner,
                                       uintptr_t target)
    : QObject(&widget), scheduler_(scheduler), owner_(owner), target_(target) {
  widget.installEventFilter(this);
}

bool ControlInputFilter::eventFilter(QObject*, QEvent* event) {
  switch (event->type()) {
    case QEvent::FocusIn:
      scheduler_.PostOnce(owner_, {MessageKind::kFocusRequest, target_, 0, nullptr});
      break;
    case QEvent::KeyPress:
      if (int32_t code = RuntimeKeyCode(*static_cast<QKeyEvent*>(event))) {
        scheduler_.Post(owner_, {MessageKind::kKey, target_, code, nullptr});
      }
      break;
    case QEvent::MouseButtonDblClick:
      if (static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        scheduler_.Post(owner_, {MessageKind::kKey, target_, kMouseLeftDouble, nullptr});
      }
      break;
    default:
      break;
  }
  return false;
}

}  // namespace rk::platform
