#include "runtime/windows/accept_loop.h"

#include <algorithm>
#include <utility>

#include "runtime/core/halt.h"
#include "runtime/windows/control.h"
#include "runtime/windows/event_codes.h"
#include "runtime/windows/event_post.h"
#include "runtime/windows/modal_state.h"
#include "runtime/windows/next_event.h"
#include "runtime/windows/runtime_lock.h"
#include "runtime/windows/thread_slots.h"
#include "runtime/windows/thread_windows.h"
#include "runtime/windows/window.h"
#include "runtime/windows/window_messages.h"
#include "runtime/windows/window_open.h"
#include "runtime/windows/window_registry.h"

namespace rk {
namespace {

// The window whose body runs now: the innermost loop of the running thread.
Window* BodyWindow() {
  int32_t thread = RunningThreadNumber();
  if (thread == 0) return nullptr;
  const std::vector<RunningLoop>& loops = WindowsOfThread(thread).loops;
  return loops.empty() ? nullptr : FindWindow(loops.back().window);
}

const EventRecord* CurrentEvent() {
  Window* window = BodyWindow();
  return window && window->current ? &*window->current : nullptr;
}

// An MDI child's answer to its frame's close-down.
void AnswerCloseDown(Window& child, bool refused) {
  Window* frame = child.frame;
  if (refused) {
    if (frame && frame->closeState == CloseState::kWaitingForChildren) {
      frame->closeState = CloseState::kNone;
      WakeThread(frame->thread);
    }
    return;
  }
  child.agreedToClose = true;
  child.closeState = CloseState::kRequested;
}

// The body has handled the current event: settle what it decided.
void FinishBody(Window& window) {
  if (!window.current) return;
  EventRecord record = *window.current;
  window.current.reset();
  bool refused = std::exchange(window.refused, false);
  switch (record.code) {
    case event::kCloseWindow:
      if (!refused) window.closeState = CloseState::kRequested;
      break;
    case event::kCloseDown:
      AnswerCloseDown(window, refused);
      break;
    case event::kSystemCommand:
      if (!refused) PerformSystemCommand(window, record.param);
      break;
    case event::kExpanding:  // a tree node opens or closes unless refused
    case event::kContracting:
      if (!refused) {
        // Posted: it follows whatever the body posted while it handled the request.
        int32_t done = record.code == event::kExpanding ? event::kExpanded : event::kContracted;
        SendEvent(window, done, record.control);
      }
      break;
    default:
      break;
  }
  if (window.heldForSend) {
    window.heldForSend = false;
    LeaveModal();
  }
}

// Ends the loop with this serial and every loop entered after it: the body's
// decision about a current event is settled, as when the body ends normally.
void LeaveLoop(ThreadWindows& table, uint64_t serial) {
  auto mine = std::find_if(table.loops.begin(), table.loops.end(),
                           [serial](const RunningLoop& loop) { return loop.serial == serial; });
  if (mine == table.loops.end()) return;  // the thread's windows were closed already
  size_t keep = static_cast<size_t>(mine - table.loops.begin());
  while (table.loops.size() > keep) {
    if (Window* window = FindWindow(table.loops.back().window)) {
      FinishBody(*window);
      window->insideAccept = false;
    }
    table.loops.pop_back();
  }
}

Window* LoopWindow(const ThreadWindows& table, uint64_t serial) {
  for (const RunningLoop& loop : table.loops) {
    if (loop.serial == serial) return FindWindow(loop.window);
  }
  return nullptr;
}

// Waits until an event is due (made current: true) or the loop is over (false).
bool WaitForEvent(Window& window) {
  window.insideAccept = true;
  for (;;) {
    if (!window.IsOpen() || window.quit) return false;
    NextStep step = NextEvent(window);
    if (step.event) {
      window.current = step.event;
      return true;
    }
    if (step.loopEnded) {
      CloseWindow(window);
      return false;
    }
    for (const std::unique_ptr<Control>& control : window.controls) control->BeforeWait();
    platform::PlatformMessage message = WaitForNextMessage();
    if (message.kind == platform::MessageKind::kQuit) {
      window.quit = true;
    } else {
      HandleMessage(message);
    }
  }
}

uint64_t NewLoopSerial() {
  static uint64_t last = 0;
  return ++last;
}

}  // namespace

AcceptLoop::AcceptLoop() : thread_(RunningThreadNumber()), serial_(NewLoopSerial()) {
  if (thread_ == 0) RuntimeError(window_error::kAcceptWithoutWindow);
  Window* window = CurrentWindowOf(thread_);
  if (!window || !window->IsOpen()) RuntimeError(window_error::kAcceptWithoutWindow);
  WindowsOfThread(thread_).loops.push_back({window->Id(), serial_});
}

AcceptLoop::~AcceptLoop() {
  if (!over_) LeaveLoop(WindowsOfThread(thread_), serial_);
}

bool AcceptLoop::Next() {
  if (over_) return false;
  ThreadWindows& table = WindowsOfThread(thread_);
  Window* window = LoopWindow(table, serial_);
  if (window) FinishBody(*window);
  if (window && WaitForEvent(*window)) return true;
  LeaveLoop(table, serial_);
  over_ = true;
  return false;
}

int32_t EVENT() {
  const EventRecord* record = CurrentEvent();
  return record ? record->code : 0;
}

int32_t FIELD() {
  const EventRecord* record = CurrentEvent();
  return record ? record->control : 0;
}

int32_t KEYCODE() {
  const EventRecord* record = CurrentEvent();
  return record ? record->keyCode : 0;
}

int32_t KEYCHAR() {
  const EventRecord* record = CurrentEvent();
  return record ? record->character : 0;
}

void RefuseEvent() {
  if (Window* window = BodyWindow(); window && window->current) window->refused = true;
}

}  // namespace rk
