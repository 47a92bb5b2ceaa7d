// ABOUT: the product's window with its "Close" button, started from the Help menu
// on a thread of its own. It is a plain window: while it is open the system is
// modal.
#pragma once

namespace rk {

void ABOUT();

}  // namespace rk
