#include "runtime/platform/qt/beep.h"

#include <QApplication>

namespace rk::platform {

void Beep() {
  if (QApplication::instance()) QApplication::beep();
}

}  // namespace rk::platform
