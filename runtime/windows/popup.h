// POPUP: a context menu given as text (see popup_text.h), shown while the
// calling thread waits without the runtime lock.
#pragma once

#include <cstdint>
#include <string_view>

namespace rk {

inline constexpr int32_t kPopupAtPointer = INT32_MIN;  // 0x80000000

// x and y are pixels in the active window (the screen when there is none); with
// either one kPopupAtPointer the menu opens at the mouse pointer. Returns the
// number of the chosen item, 0 when none was chosen or outside of a runtime thread.
int32_t POPUP(std::string_view text, int32_t x = kPopupAtPointer, int32_t y = kPopupAtPointer);

}  // namespace rk
