#include "runtime/windows/window_messages.h"

#include <QMdiSubWindow>
#include <map>

#include "runtime/platform/qt/window_shell.h"
#include "runtime/platform/qt/window_state_notifier.h"
#include "runtime/windows/control.h"
#include "runtime/windows/definition_flags.h"
#include "runtime/windows/event_codes.h"
#include "runtime/windows/event_post.h"
#include "runtime/windows/thread_input.h"
#include "runtime/windows/thread_slots.h"
#include "runtime/windows/thread_windows.h"
#include "runtime/windows/window.h"
#include "runtime/windows/window_registry.h"

namespace rk {
namespace {

using platform::MessageKind;
using platform::PlatformMessage;

constexpr int32_t kStateBits = window_attribute::kMaximized | window_attribute::kMinimized;

std::map<MessageKind, MessageHandler>& Handlers() {
  static std::map<MessageKind, MessageHandler> handlers;
  return handlers;
}

void Queue(Window& window, int32_t code, int32_t control = 0) {
  QueueEvent(window, {code, control, window.Id()});
}

void SetStateBits(Window& window, int32_t bits) {
  window.attributes = (window.attributes & ~kStateBits) | bits;
}

void StateChanged(Window& window, int64_t change) {
  switch (change) {
    case platform::kWindowMoved:
      return Queue(window, event::kMoved);
    case platform::kWindowSized:
      return Queue(window, event::kSized);
    case platform::kWindowMaximized:
      SetStateBits(window, window_attribute::kMaximized);
      Queue(window, event::kMaximized);
      return Queue(window, event::kSized);
    case platform::kWindowMinimized:
      SetStateBits(window, window_attribute::kMinimized);
      Queue(window, event::kIconized);
      return Queue(window, event::kSized);
    case platform::kWindowRestored:
      SetStateBits(window, 0);
      Queue(window, event::kRestored);
      return Queue(window, event::kSized);
    case platform::kWindowActivated:
      return ActivateThreadOf(window);
    default:
      return;
  }
}

void SystemCommandRequested(Window& window, int64_t command) {
  if (!(window.flags & kAnnounceSystemCommands)) return PerformSystemCommand(window, command);
  EventRecord record{event::kSystemCommand, 0, window.Id()};
  record.param = command;
  record.synchronous = true;
  window.urgent.push_back(record);
}

// The user moved the focus into a control: it becomes the selected control.
// A request that arrives after the focus moved on (a refused field took it
// back) is out of date.
void FocusArrived(Control& control) {
  Window& window = control.OwnerWindow();
  if (QWidget* widget = control.Widget();
      widget && platform::FocusElsewhereInActiveWindow(*widget)) {
    return;
  }
  int selected = window.IndexOf(&control) + 1;
  if (selected == 0 || window.selected == selected) return;
  window.selected = selected;
  if (control.IsNumbered()) Queue(window, event::kSelected, control.Number());
}

// An alert key goes to the first active control whose list holds it.
void KeyPressed(Control& pressedIn, int32_t keyCode) {
  Window& window = pressedIn.OwnerWindow();
  for (const std::unique_ptr<Control>& control : window.controls) {
    if (control->Active() && control->HasAlertKey(keyCode)) {
      EventRecord record{event::kAlertKey, control->Number(), window.Id()};
      record.keyCode = keyCode;
      return QueueEvent(window, record);
    }
  }
}

void TimerExpired(Window& window) {
  if (window.timerPending) return;
  window.timerPending = true;
  Queue(window, event::kTimer);
}

Window* TargetWindow(const PlatformMessage& message) {
  return FindWindow(static_cast<uint32_t>(message.target));
}

Control* TargetControl(const PlatformMessage& message) {
  return FindControlById(static_cast<uint32_t>(message.target));
}

// The person's input for a window that takes none now (a later window of its
// thread is open) is dropped, never kept for later.
Window* InputWindow(const PlatformMessage& message) {
  Window* window = TargetWindow(message);
  return window && TakesInput(*window) ? window : nullptr;
}

Control* InputControl(const PlatformMessage& message) {
  Control* control = TargetControl(message);
  return control && TakesInput(control->OwnerWindow()) ? control : nullptr;
}

void Handle(const PlatformMessage& message) {
  switch (message.kind) {
    case MessageKind::kEvent: {
      auto record = std::static_pointer_cast<EventRecord>(message.payload);
      Window* window = record ? FindWindow(record->window) : nullptr;
      if (window && window->IsOpen()) QueueEvent(*window, *record);
      return;
    }
    case MessageKind::kBringToTop:
      if (Window* window = CurrentWindow(); window && window->IsOpen()) {
        (window->frame ? *window->frame : *window).shell->BringToTop();
      }
      return;
    case MessageKind::kCloseRequest:
      if (Window* window = InputWindow(message)) Queue(*window, event::kCloseWindow);
      return;
    case MessageKind::kSystemCommand:
      if (Window* window = InputWindow(message)) SystemCommandRequested(*window, message.param);
      return;
    case MessageKind::kStateChanged:
      if (Window* window = TargetWindow(message)) StateChanged(*window, message.param);
      return;
    case MessageKind::kFocusRequest:
      if (Control* control = InputControl(message)) FocusArrived(*control);
      return;
    case MessageKind::kCommand:
      if (Control* control = InputControl(message)) {
        Window& window = control->OwnerWindow();
        for (const RaisedEvent& raised : control->OnNotice(message.param)) {
          EventRecord record{raised.code, raised.control, window.Id()};
          record.keyCode = raised.keyCode;
          record.character = raised.character;
          QueueEvent(window, record);
        }
      }
      return;
    case MessageKind::kKey:
      if (Control* control = InputControl(message)) {
        KeyPressed(*control, static_cast<int32_t>(message.param));
      }
      return;
    case MessageKind::kTimer:
      if (Window* window = TargetWindow(message)) TimerExpired(*window);
      return;
    default:
      return;  // a wake-up, or a message for a dialog that is no longer waiting
  }
}

}  // namespace

void SetMessageHandler(platform::MessageKind kind, MessageHandler handler) {
  if (handler) {
    Handlers()[kind] = std::move(handler);
  } else {
    Handlers().erase(kind);
  }
}

void HandleMessage(const PlatformMessage& message) {
  auto it = Handlers().find(message.kind);
  if (it != Handlers().end() && it->second(message)) return;
  Handle(message);
}

void PerformSystemCommand(Window& window, int64_t command) {
  if (!window.IsOpen()) return;
  QWidget* outer = window.shell->Outer();
  switch (command) {
    case kCommandMinimize:
      return outer->showMinimized();
    case kCommandMaximize:
      return outer->showMaximized();
    case kCommandRestore:
      return outer->showNormal();
    default:
      return;
  }
}

namespace {

// The frame is active on behalf of its active MDI child, when it has one.
const Window& ActiveWindowBehind(const Window& window) {
  auto* frame = dynamic_cast<platform::FrameShell*>(window.shell.get());
  QMdiSubWindow* active = frame && frame->Area() ? frame->Area()->activeSubWindow() : nullptr;
  if (!active) return window;
  for (const Window* child : window.children) {
    if (child->IsOpen() && child->shell->Outer() == active) return *child;
  }
  return window;
}

}  // namespace

void ActivateThreadOf(const Window& window) {
  int32_t thread = ActiveWindowBehind(window).thread;
  int32_t previous = ActiveThread();
  if (previous == thread) return;
  SetActiveThread(thread);
  WakeThread(previous);
  WakeThread(thread);
}

}  // namespace rk
