// One event on its way to an ACCEPT loop body: created for every event, posted
// to its window as a platform message and queued there on arrival.
#pragma once

#include <cstdint>

namespace rk {

struct EventRecord {
  int32_t code = 0;          // the event code (event_codes.h)
  int32_t control = 0;       // the control's number; 0 for window events
  uint32_t window = 0;       // id of the target window (window_registry.h)
  int32_t keyCode = 0;       // the key that raised an alert-key event
  int64_t param = 0;         // what a request event carries (the system command)
  bool synchronous = false;  // delivered ahead of the queue; the body's answer counts
};

}  // namespace rk
