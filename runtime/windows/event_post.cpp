#include "runtime/windows/event_post.h"

#include <memory>

#include "runtime/platform/qt/scheduler.h"
#include "runtime/windows/control.h"
#include "runtime/windows/event_codes.h"
#include "runtime/windows/thread_slots.h"
#include "runtime/windows/thread_windows.h"
#include "runtime/windows/window.h"
#include "runtime/windows/window_menu_items.h"

namespace rk {

platform::FiberId FiberOfThread(int32_t thread) {
  if (thread < 1 || thread > kThreadSlots) return 0;
  return SlotAt(thread - 1).fiber;
}

void WakeThread(int32_t thread) {
  platform::FiberId fiber = FiberOfThread(thread);
  if (fiber != 0) {
    platform::TheScheduler().PostOnce(fiber, {platform::MessageKind::kWake, 0, 0, nullptr});
  }
}

void SendEvent(Window& window, EventRecord record) {
  record.window = window.Id();
  platform::FiberId fiber = FiberOfThread(window.thread);
  if (fiber == 0) return;
  platform::TheScheduler().Post(fiber, {platform::MessageKind::kEvent, window.Id(), 0,
                                        std::make_shared<EventRecord>(record)});
}

void SendEvent(Window& window, int32_t code, int32_t control) {
  EventRecord record;
  record.code = code;
  record.control = control;
  SendEvent(window, record);
}

void QueueEvent(Window& window, const EventRecord& record) {
  // Positive numbers name controls, negative ones menu items of the window's menu.
  if (record.control > 0 && !window.FindControl(record.control) &&
      !HasMenuItem(window, record.control)) {
    return;
  }
  window.queue.push_back(record);
}

void POST(int32_t event, int32_t control, int32_t thread) {
  if (thread == 0) thread = RunningThreadNumber();
  Window* window = CurrentWindowOf(thread);
  if (!window || !window->IsOpen()) return;
  if (event::IsWindowEvent(event)) control = 0;
  SendEvent(*window, event, control);
}

}  // namespace rk
