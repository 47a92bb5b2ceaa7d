#include "runtime/platform/qt/beep.h"

#include <QApplication>

namespace rk::platform {
namespace {

uint64_t beeps = 0;

}  // namespace

void Beep() {
  ++beeps;
  if (QApplication::instance()) QApplication::beep();
}

uint64_t BeepsSounded() {
  return beeps;
}

}  // namespace rk::platform
