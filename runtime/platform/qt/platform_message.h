// The platform message: what Qt callbacks and other runtime threads leave in a
// runtime thread's queue. The thread reads its messages in order when it waits
// (the event loop's wait, a modal dialog, a timed retry) and acts on them.
//
// Operations that a window system would perform synchronously inside a callback
// (closing, system commands, expanding a tree node, moving the focus) arrive here
// as requests: the widget has refused the Qt event, and the runtime thread carries
// the action out afterwards unless the procedure refuses it.
#pragma once

#include <cstdint>
#include <memory>

namespace rk::platform {

// Identifies a fiber of the scheduler; 0 is no fiber (the scheduler itself).
using FiberId = uint32_t;

enum class MessageKind : uint16_t {
  kEvent,          // a runtime event record travelling to its window (payload)
  kBringToTop,     // bring the thread's current window to the top
  kCloseRequest,   // the user asked to close the target window
  kSystemCommand,  // size, move, minimize, maximize or restore requested (param)
  kStateChanged,   // the target window was moved, sized or changed state (param)
  kFocusRequest,   // the target control asks for the focus
  kTreeRequest,    // expand (param 1) or contract (param 0) a tree node of the target
  kMenuCommand,    // a menu item was chosen (param: its control number)
  kCommand,        // a control was pressed or changed (param: notification)
  kKey,            // a key was pressed in the target (param: key code)
  kMouse,          // a mouse action in the target (param: button and position)
  kTimer,          // the target's timer expired (param: timer identifier)
  kDialogResult,   // a modal dialog finished (param: its result)
  kQuit,           // the thread should leave its loop
  kWake,           // another thread changed something this thread's windows look at
};

struct PlatformMessage {
  MessageKind kind = MessageKind::kEvent;
  uintptr_t target = 0;  // the runtime object concerned (window or control); 0 for the thread
  int64_t param = 0;     // meaning depends on kind
  std::shared_ptr<void> payload;  // data owned by the message, such as an event record
};

}  // namespace rk::platform
