#include "runtime/windows/next_event.h"

#include "runtime/platform/qt/beep.h"
#include "runtime/windows/control.h"
#include "runtime/windows/event_codes.h"
#include "runtime/windows/event_post.h"
#include "runtime/windows/focus_return.h"
#include "runtime/windows/modal_state.h"
#include "runtime/windows/thread_slots.h"
#include "runtime/windows/thread_windows.h"
#include "runtime/windows/window.h"

namespace rk {
namespace {

EventRecord Synchronous(const Window& window, int32_t code) {
  EventRecord record;
  record.code = code;
  record.window = window.Id();
  record.synchronous = true;
  return record;
}

// The active thread changed since this thread last looked: the window hears that
// its thread lost the focus (and is suspended) or gained it (and resumes).
void NoteActiveThread(Window& window) {
  ThreadWindows& mine = WindowsOfThread(window.thread);
  int32_t active = ActiveThread();
  if (mine.seenActiveThread == active) return;
  int32_t previous = mine.seenActiveThread;
  mine.seenActiveThread = active;
  if (previous == window.thread) {
    window.urgent.push_back(Synchronous(window, event::kLoseFocus));
    window.urgent.push_back(Synchronous(window, event::kSuspend));
    window.suspended = true;
  }
  if (active == window.thread) {
    if (window.suspended) window.urgent.push_back(Synchronous(window, event::kResume));
    window.suspended = false;
    window.urgent.push_back(Synchronous(window, event::kGainFocus));
  }
}

void EndValidation(Window& window) {
  window.validating = false;
  window.validationNext = 0;
}

// One step of the pass: an accepted event for the next active control that
// takes input, nothing when a control refuses its entry (the pass ends there)
// or when no control is left (the pass ends and the completed event is posted).
std::optional<EventRecord> ValidationStep(Window& window) {
  while (window.validationNext < window.controls.size()) {
    Control& control = *window.controls[window.validationNext++];
    if (!control.TakesInput() || !control.Active()) continue;
    if (!control.AcceptValue()) {
      EndValidation(window);
      ReturnFocusAfterRefusal(control);
      return std::nullopt;
    }
    return EventRecord{event::kAccepted, control.Number(), window.Id()};
  }
  EndValidation(window);
  // Posted like any other event: it comes after what the pass's bodies posted.
  SendEvent(window, event::kCompleted);
  return std::nullopt;
}

std::optional<EventRecord> TakeEvent(Window& window) {
  for (;;) {
    if (!window.urgent.empty()) {
      EventRecord record = window.urgent.front();
      window.urgent.pop_front();
      return record;
    }
    if (!window.queue.empty()) {
      EventRecord record = window.queue.front();
      window.queue.pop_front();
      return record;
    }
    if (!window.validating) return std::nullopt;
    if (std::optional<EventRecord> record = ValidationStep(window)) return record;
  }
}

bool CanTakeFocus(const Control& control) {
  const QWidget* widget = control.Widget();
  return widget && control.Active() && platform::TakesFocus(*widget);
}

// A control that cannot take the focus (a prompt) hands it to the first one
// after it in creation order that can, as a label does for the field it names.
Control* FocusTarget(Window& window, Control& control) {
  if (CanTakeFocus(control)) return &control;
  for (auto i = static_cast<size_t>(window.IndexOf(&control) + 1); i < window.controls.size();
       ++i) {
    if (CanTakeFocus(*window.controls[i])) return window.controls[i].get();
  }
  return &control;
}

void FocusControl(Window& window, int32_t number) {
  Control* control = window.FindControl(number);
  if (!control) return;
  window.selected = window.IndexOf(control) + 1;
  Control* target = FocusTarget(window, *control);
  target->BringIntoView();
  if (QWidget* widget = target->Widget()) platform::FocusWidget(*widget);
}

// Pre-processing: false when the event is not for the body.
bool Prepare(Window& window, const EventRecord& record) {
  switch (record.code) {
    case event::kSelected: {
      Control* control = window.FindControl(record.control);
      if (!control || window.IndexOf(control) + 1 != window.selected) return false;
      FocusControl(window, record.control);
      return true;
    }
    case event::kCloseDown:
      return !window.agreedToClose;
    case event::kTimer:
      window.timerPending = false;
      return true;
    case event::kExchangeFirst:
    case event::kExchangeLast:
      return false;  // no data exchange conversations in this runtime
    default:
      return true;
  }
}

bool CanTakeCloseDown(const Window& child) {
  return child.IsOpen() && child.insideAccept && !child.agreedToClose &&
         CurrentWindowOf(child.thread) == &child;
}

// The queue is empty and a close was requested: the loop ends, or the first
// child that can is asked to close down, or the close is abandoned.
bool ContinueClose(Window& window) {
  if (window.children.empty()) return true;
  for (Window* child : window.children) {
    if (CanTakeCloseDown(*child)) {
      SendEvent(*child, event::kCloseDown);
      window.closeState = CloseState::kWaitingForChildren;
      return false;
    }
  }
  platform::Beep();
  window.closeState = CloseState::kNone;
  return false;
}

}  // namespace

void StartValidation(Window& window) {
  window.validating = true;
  window.validationNext = 0;
}

NextStep NextEvent(Window& window) {
  NoteActiveThread(window);
  while (std::optional<EventRecord> record = TakeEvent(window)) {
    if (!Prepare(window, *record)) continue;
    if (record->synchronous && !window.heldForSend) {
      EnterModal();
      window.heldForSend = true;
    }
    return {record, false};
  }
  if (window.closeState == CloseState::kRequested) return {std::nullopt, ContinueClose(window)};
  return {};
}

}  // namespace rk
