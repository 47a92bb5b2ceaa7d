// The frame's side of opening windows: the application frame gets its menu bar
// and the status zones of its definition; an MDI child's menus join the frame's
// while it is active (or stay its own); a plain window with a menu gets a menu bar
// above its controls. Menu choices arrive at the owning thread as menu commands:
// an item with a standard action runs it, any other item raises its accepted
// event. A thread busy in a window above the one that owns the menu (a modal
// window on the frame's thread, such as the start window) ignores its choices.
#pragma once

#include "runtime/platform/qt/platform_message.h"

namespace rk {

class Window;

// Called by window opening once the controls are built and placed.
void DecorateWindow(Window& window);

// Shows the window's status-bar text (property 0x7D01) in the first zone of the
// frame's status bar, for the frame and its MDI children.
void ShowStatusText(const Window& window);

// The menu-command handler of the window system's message loop; true when the
// message was dealt with (it always is).
bool HandleMenuCommand(const platform::PlatformMessage& message);

}  // namespace rk
