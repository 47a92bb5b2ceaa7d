// Telling whether something ran a nested event loop, without hanging the test when
// it does. A zero-time timer fires only inside an event loop, and a test runs Qt's
// loop only through the scheduler: a timer that fires while `action` runs was fired
// by a loop that `action` started. The timer then ends that loop the way a user
// would, by closing the popup or modal window it serves (or cancelling a drag),
// so `action` returns and the test fails instead of waiting forever.
#pragma once

#include <QApplication>
#include <QKeyEvent>
#include <QTimer>
#include <QWidget>
#include <functional>

namespace rk::testing {

inline bool RunsNestedLoop(const std::function<void()>& action) {
  bool fired = false;
  QTimer guard;
  guard.setInterval(0);
  QObject::connect(&guard, &QTimer::timeout, [&fired] {
    fired = true;
    if (QWidget* popup = QApplication::activePopupWidget()) {
      popup->close();
    } else if (QWidget* modal = QApplication::activeModalWidget()) {
      modal->close();
    } else if (QObject* focus = QApplication::focusObject()) {
      QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
      QApplication::sendEvent(focus, &escape);
    }
  });
  guard.start();
  action();
  guard.stop();
  return fired;
}

}  // namespace rk::testing
