// The next-event step of a window's ACCEPT loop: what the loop delivers next,
// or that the loop is over. In order: the focus events of a change of the
// active thread, synchronous events, queued events, the validation pass, and
// the close protocol (a close request ends the loop once the queue is empty and
// every MDI child has closed down, one child at a time).
#pragma once

#include <optional>

#include "runtime/windows/event_record.h"

namespace rk {

class Window;

struct NextStep {
  std::optional<EventRecord> event;  // deliver this to the body
  bool loopEnded = false;            // the window is to close; the loop is over
};

NextStep NextEvent(Window& window);

// SELECT of control 0: starts the validation pass over the window's controls.
void StartValidation(Window& window);

}  // namespace rk
