// Posting events. Every post travels to the target window's thread as a
// platform message carrying the event record, so events keep their order
// relative to the thread's other messages; on arrival the record joins the
// window's queue. A post to a control that is not numbered is dropped.
#pragma once

#include <cstdint>

#include "runtime/platform/qt/platform_message.h"
#include "runtime/windows/event_record.h"

namespace rk {

class Window;

// POST: the event for the control (0: a window event) to the current window of
// the thread (0: the running thread). Nothing when that thread has no window.
void POST(int32_t event, int32_t control = 0, int32_t thread = 0);

// Sends an event record to `window` through its thread's message queue.
void SendEvent(Window& window, EventRecord record);
void SendEvent(Window& window, int32_t code, int32_t control = 0);

// Arrival: appends the record to the window's queue (dropping one for a control
// the window does not number).
void QueueEvent(Window& window, const EventRecord& record);

// The fiber of a thread number, 0 for none.
platform::FiberId FiberOfThread(int32_t thread);
// Makes a thread look at its windows again (another thread changed their state).
void WakeThread(int32_t thread);

}  // namespace rk
