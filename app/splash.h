// SPLASH: the start window that MAIN shows on the frame's thread before the
// frame's loop begins. It lists the lines of README.TXT, read through the ASCII
// driver at most 20000 bytes per timer event while a progress window shows how
// far it has got, and closes when the user presses "Continue".
#pragma once

#include <cstdint>
#include <string_view>

namespace rk {

inline constexpr std::string_view kStartTextFile = "README.TXT";
inline constexpr int32_t kBytesPerTimerEvent = 20000;

void SPLASH();

}  // namespace rk
