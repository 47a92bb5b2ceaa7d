// What a waiting ACCEPT loop does with each platform message of its thread: an
// event record joins its window's queue; a close request becomes the close
// event; a window's moves, sizes and state changes become window events; a
// control's notices become the events of its kind; an alert key raises the
// alert-key event; a timer expiry raises the timer event unless one is pending.
//
// Other parts of the window system (the frame's menus) add handlers for the
// kinds they own.
#pragma once

#include <cstdint>
#include <functional>

#include "runtime/platform/qt/platform_message.h"

namespace rk {

class Window;

// System commands that a window with flags bit 0x800 announces with event 0x220
// before they run (the event's param).
enum SystemCommand : int64_t {
  kCommandMinimize = 1,
  kCommandMaximize = 2,
  kCommandRestore = 3,
};

inline constexpr int32_t kAnnounceSystemCommands = 0x800;  // window definition flags

void HandleMessage(const platform::PlatformMessage& message);

// A handler for one message kind, tried before the built-in handling; it
// returns true when it has dealt with the message.
using MessageHandler = std::function<bool(const platform::PlatformMessage&)>;
void SetMessageHandler(platform::MessageKind kind, MessageHandler handler);

// Runs a system command on the window's platform window.
void PerformSystemCommand(Window& window, int64_t command);

// The window's thread becomes the active thread; the thread that was active
// before is woken to hear of it.
void ActivateThreadOf(const Window& window);

}  // namespace rk
