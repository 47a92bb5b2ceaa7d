// The runtime's key codes, as KEYCODE answers them and the display reports
// them: the virtual-key number in the low byte, plus 0x100 for Shift, 0x200
// for Ctrl and 0x400 for Alt. Mouse clicks use the codes below 0x08.
#pragma once

#include <cstdint>

namespace rk {

inline constexpr int32_t kKeyShift = 0x100;
inline constexpr int32_t kKeyCtrl = 0x200;
inline constexpr int32_t kKeyAlt = 0x400;

inline constexpr int32_t kMouseRight = 2;
inline constexpr int32_t kMouseLeftDouble = 5;

inline constexpr int32_t kKeyBackspace = 0x08;
inline constexpr int32_t kKeyEnter = 0x0D;
inline constexpr int32_t kKeyEscape = 0x1B;
inline constexpr int32_t kKeyPageUp = 0x21;
inline constexpr int32_t kKeyPageDown = 0x22;
inline constexpr int32_t kKeyEnd = 0x23;
inline constexpr int32_t kKeyHome = 0x24;
inline constexpr int32_t kKeyLeft = 0x25;
inline constexpr int32_t kKeyUp = 0x26;
inline constexpr int32_t kKeyRight = 0x27;
inline constexpr int32_t kKeyDown = 0x28;
inline constexpr int32_t kKeyInsert = 0x2D;
inline constexpr int32_t kKeyDelete = 0x2E;
inline constexpr int32_t kKeyF4 = 0x73;

}  // namespace rk
