// The items of a window's own menu bar as the procedure reaches them: they raise
// accepted with their number like buttons, and take the properties a control
// takes for enabling, text and status message. The window's status bar zones
// (a frame's, or any window whose definition gives zone widths) are here too.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace rk {

namespace platform {
class StatusZones;
}

class Window;

// True when `number` names an item of the window's menu bar.
bool HasMenuItem(const Window& window, int32_t number);

// Disabled (0x7C5F), text (0x7C00) and status message (0x7C73) of the item;
// false for other properties and for items the window does not show.
bool SetMenuItemProperty(Window& window, int32_t number, int32_t code, std::string_view value);
std::optional<std::string> MenuItemProperty(const Window& window, int32_t number, int32_t code);

// The status bar's zone widths in pixels, from the definition's value list in
// dialog units; -1 is the rest of the bar.
std::vector<int> ZoneWidthsOf(const Window& window);

// Gives a window that is not the frame a status bar below its controls when its
// definition lists zone widths.
void AddOwnStatusBar(Window& window);

// The window's own zones, else (for an MDI child) the frame's; null for none.
platform::StatusZones* StatusZonesOf(const Window& window);

}  // namespace rk
