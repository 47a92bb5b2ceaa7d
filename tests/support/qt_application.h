// The one QApplication of a test executable, created on first use (tests run
// with QT_QPA_PLATFORM=offscreen).
#pragma once

#include <QApplication>

namespace rk::testing {

inline QApplication& EnsureQtApplication() {
  static int argc = 1;
  static char name[] = "rk-tests";
  static char* argv[] = {name, nullptr};
  static QApplication* app = new QApplication(argc, argv);
  return *app;
}

}  // namespace rk::testing
