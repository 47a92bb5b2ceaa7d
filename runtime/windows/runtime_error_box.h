// The window system's way of showing a runtime error: on a runtime thread, the
// runtime's message box with the stop icon and OK; the thread keeps the runtime
// lock while the box is open, so no other thread runs before the program ends.
// Outside of every runtime thread (start-up, the scheduler's own stack) nothing
// more than the line on standard error is shown.
#pragma once

#include <string_view>

namespace rk {

// Makes RuntimeError show the box; repeating it does no harm.
void InstallRuntimeErrorBox();

void ShowRuntimeErrorBox(std::string_view title, std::string_view message);

}  // namespace rk
