// ACCEPT: the event loop of the thread's current window, as a loop object that
// is entered where it is made and left where it goes out of scope:
//
//   for (AcceptLoop loop; loop.Next();) {
//     switch (EVENT()) { ... }
//   }
//
// Next returns true with the next event made current, once per event; the next
// call ends that event's body (settling what the body decided about it) and
// waits for the next event. It returns false when the window has closed (a
// close request the body did not refuse, CloseWindow inside the body) and the
// procedure continues after the loop.
//
// Leaving the loop with `break` or `return` destroys the object, which ends the
// loop at once: the body's decision about the current event is settled as if
// the body had ended, the window is no longer inside its loop, and EVENT,
// FIELD, KEYCODE and KEYCHAR answer for the enclosing loop (0 outside of every
// loop). The procedure then closes the window itself. A loop object entered
// again, by a procedure called once more or calling itself, is a new loop.
#pragma once

#include <cstdint>

#include "runtime/platform/key_codes.h"  // what KEYCODE answers

namespace rk {

class AcceptLoop {
 public:
  // Enters the loop of the thread's current window: runtime error 537 when the
  // thread has no open window.
  AcceptLoop();
  ~AcceptLoop();

  AcceptLoop(const AcceptLoop&) = delete;
  AcceptLoop& operator=(const AcceptLoop&) = delete;

  // False once the loop is over; it stays over.
  bool Next();

 private:
  int32_t thread_;
  uint64_t serial_;
  bool over_ = false;
};

// The current event's code, 0 outside of a loop body.
int32_t EVENT();
// The number of the current event's control; 0 for window events.
int32_t FIELD();
// The key code that raised the current alert-key event.
int32_t KEYCODE();
// The character that key typed (a list passes typed keys on this way); 0 for none.
int32_t KEYCHAR();

// The body refuses the current event: a close request (0x201), a close-down
// (0x202) or a system command (0x220) then does not happen.
void RefuseEvent();

}  // namespace rk
