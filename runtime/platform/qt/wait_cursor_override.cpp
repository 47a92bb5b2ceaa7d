#include "runtime/platform/qt/wait_cursor_override.h"

#include <QCursor>
#include <QGuiApplication>

namespace rk::platform {
namespace {

// Without a GUI application there is no screen to show a cursor on.
bool HaveScreen() {
  return qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr;
}

}  // namespace

void SetWaitCursorOverride() {
  if (HaveScreen()) QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
}

void RemoveWaitCursorOverride() {
  if (HaveScreen()) QGuiApplication::restoreOverrideCursor();
}

}  // namespace rk::platform
