#include "app/main/desktop_identity.h"

#include "runtime/windows/window_system.h"

namespace rk::start {

void PresentToDesktop() {
  // The program's icon is the cassette of the tree browses, built into it.
  PresentProgram({"reelkeeper", RK_VERSION, kDesktopFileName, "VIDEO.ICO"});
}

}  // namespace rk::start
