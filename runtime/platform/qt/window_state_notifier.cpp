#include "runtime/platform/qt/window_state_notifier.h"

#include <QEvent>

#include "runtime/platform/qt/scheduler.h"

namespace rk::platform {

WindowStateNotifier::WindowStateNotifier(QWidget& window, Scheduler& scheduler, FiberId owner,
                                         uintptr_t target)
    : QObject(&window), window_(window), scheduler_(scheduler), owner_(owner), target_(target) {
  window.installEventFilter(this);
}

bool WindowStateNotifier::eventFilter(QObject* watched, QEvent* event) {
  if (watched != &window_) return false;
  switch (event->type()) {
    case QEvent::Move:
      Notify(kWindowMoved);
      break;
    case QEvent::Resize:
      Notify(kWindowSized);
      break;
    case QEvent::WindowStateChange:
      if (window_.isMinimized()) {
        Notify(kWindowMinimized);
      } else if (window_.isMaximized()) {
        Notify(kWindowMaximized);
      } else {
        Notify(kWindowRestored);
      }
      break;
    case QEvent::WindowActivate:
      Notify(kWindowActivated);
      break;
    default:
      break;
  }
  return false;
}

void WindowStateNotifier::Notify(WindowChange change) {
  // Dragging a window moves it many times: one waiting notice of each kind is enough.
  scheduler_.PostOnce(owner_, {MessageKind::kStateChanged, target_, change, nullptr});
}

}  // namespace rk::platform
