// MESSAGE: the runtime's own message box. The calling thread gives up the runtime
// lock while the box is open, so other threads' windows keep working, and gets
// the value of the button pressed.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace rk {

// Button masks, in the order the buttons appear, and the values MESSAGE returns.
inline constexpr int32_t kButtonOk = 0x01;
inline constexpr int32_t kButtonYes = 0x02;
inline constexpr int32_t kButtonNo = 0x04;
inline constexpr int32_t kButtonAbort = 0x08;
inline constexpr int32_t kButtonRetry = 0x10;
inline constexpr int32_t kButtonIgnore = 0x20;
inline constexpr int32_t kButtonCancel = 0x40;
inline constexpr int32_t kButtonHelp = 0x80;

inline constexpr size_t kMessageTextLimit = 1023;

// "|" becomes a line break (CR LF); the result is cut at 1023 characters.
std::string MessageBoxText(std::string_view text);

// The button that is the default: the one `defaultMask` names when it is
// present, else the first present one. `buttons` 0 means OK alone.
int32_t MessageDefaultButton(int32_t buttons, int32_t defaultMask);

// The icon name may be "Hand", "Question", "Exclamation" or "Asterisk" (any
// case) for the system's icons, or the name of one of the program's icons or of
// an icon file; empty for none.
// Returns the value of the button pressed, 0 for any other ending; outside of a
// runtime thread it shows nothing and returns 0.
int32_t MESSAGE(std::string_view text, std::string_view caption = {},
                std::string_view iconName = {}, int32_t buttons = 0, int32_t defaultMask = 0,
                bool systemModal = false);

// MESSAGE, waited for while the thread keeps the runtime lock: no other thread
// runs until the box is answered (a runtime error's report).
int32_t MessageKeepingLock(std::string_view text, std::string_view caption,
                           std::string_view iconName, int32_t buttons, int32_t defaultMask,
                           bool systemModal);

}  // namespace rk
