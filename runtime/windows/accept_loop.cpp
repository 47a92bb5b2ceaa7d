#include "runtime/windows/accept_loop.h"

#include <algorithm>
#include <string_view>
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
  const std::vector<AcceptLoop>& loops = WindowsOfThread(thread).loops;
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

bool EndLoop(ThreadWindows& table, Window* window) {
  if (window) {
    window->insideAccept = false;
    window->current.reset();
  }
  table.loops.pop_back();
  return false;
}

bool RunLoop(ThreadWindows& table, Window& window) {
  window.insideAccept = true;
  for (;;) {
    if (!window.IsOpen() || window.quit) return EndLoop(table, &window);
    NextStep step = NextEvent(window);
    if (step.event) {
      window.current = step.event;
      return true;
    }
    if (step.loopEnded) {
      CloseWindow(window);
      return EndLoop(table, &window);
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

bool SameLoop(const AcceptLoop& loop, uintptr_t frame, const std::source_location& site) {
  return loop.frame == frame && loop.line == site.line() && loop.column == site.column() &&
         std::string_view(loop.file) == site.file_name();
}

// Forgets loops left with `break`: those nested deeper than this call (the stack
// has unwound their frames) and, when this call continues a loop, every loop
// started after it.
void ForgetLeftLoops(ThreadWindows& table, uintptr_t frame, const std::source_location& site) {
  auto mine = std::find_if(table.loops.rbegin(), table.loops.rend(),
                           [&](const AcceptLoop& loop) { return SameLoop(loop, frame, site); });
  size_t keep = table.loops.size();
  if (mine != table.loops.rend()) {
    keep = static_cast<size_t>(table.loops.rend() - mine);
  } else {
    // Stacks grow downward: a deeper frame has a lower address.
    while (keep > 0 && table.loops[keep - 1].frame < frame) --keep;
  }
  while (table.loops.size() > keep) {
    if (Window* left = FindWindow(table.loops.back().window)) left->insideAccept = false;
    table.loops.pop_back();
  }
}

}  // namespace

[[gnu::noinline]] bool ACCEPT(std::source_location site) {
  auto frame = reinterpret_cast<uintptr_t>(__builtin_frame_address(0));
  int32_t thread = RunningThreadNumber();
  if (thread == 0) RuntimeError(window_error::kAcceptWithoutWindow);
  ThreadWindows& table = WindowsOfThread(thread);
  ForgetLeftLoops(table, frame, site);
  if (!table.loops.empty() && SameLoop(table.loops.back(), frame, site)) {
    Window* window = FindWindow(table.loops.back().window);
    if (!window || !window->IsOpen()) return EndLoop(table, window);
    FinishBody(*window);
    return RunLoop(table, *window);
  }
  Window* window = CurrentWindowOf(thread);
  if (!window || !window->IsOpen()) RuntimeError(window_error::kAcceptWithoutWindow);
  table.loops.push_back({window->Id(), frame, site.file_name(), site.line(), site.column()});
  return RunLoop(table, *window);
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
