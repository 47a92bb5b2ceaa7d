// ACCEPT: the event loop of the thread's current window.
//
//   while (ACCEPT()) {
//     switch (EVENT()) { ... }
//   }
//
// ACCEPT returns true with the next event made current, once per event; the next
// call ends that event's body (settling what the body decided about it) and
// waits for the next event. It returns false when the window has closed (a
// close request the body did not refuse, CloseWindow inside the body) and the
// procedure continues after the loop. Leaving the loop with `break` is allowed;
// the procedure then closes the window itself.
#pragma once

#include <cstdint>
#include <source_location>

namespace rk {

// Runtime error 537 when the thread has no window. The call site is how a loop
// is told from another loop of the same procedure; callers leave it out.
bool ACCEPT(std::source_location site = std::source_location::current());

// The current event's code, 0 outside of a loop body.
int32_t EVENT();
// The number of the current event's control; 0 for window events.
int32_t FIELD();
// The key code that raised the current alert-key event.
int32_t KEYCODE();

// The body refuses the current event: a close request (0x201), a close-down
// (0x202) or a system command (0x220) then does not happen.
void RefuseEvent();

}  // namespace rk
