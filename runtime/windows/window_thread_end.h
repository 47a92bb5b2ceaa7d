// When a runtime thread ends, the windows still open on it are closed, newest
// first, and its loops are forgotten. Installed once, when the first window opens.
#pragma once

namespace rk {

void InstallWindowThreadEndHook();

}  // namespace rk
