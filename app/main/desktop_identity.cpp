#include "app/main/desktop_identity.h"

#include <QApplication>

#include "runtime/windows/icon_lookup.h"

namespace rk::start {

void PresentToDesktop() {
  QCoreApplication::setApplicationName("reelkeeper");
  QCoreApplication::setApplicationVersion(RK_VERSION);
  QGuiApplication::setDesktopFileName(kDesktopFileName);
  // The program's icon is the cassette of the tree browses, built into it.
  QApplication::setWindowIcon(IconNamed("VIDEO.ICO"));
}

}  // namespace rk::start
