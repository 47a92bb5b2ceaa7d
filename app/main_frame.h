// MAIN: the application's first procedure. It opens the application frame from
// its definition, shows the start window, and runs the frame's loop, from which
// every menu item with a procedure starts it on a thread of its own.
#pragma once

namespace rk {

void MAIN();

}  // namespace rk
