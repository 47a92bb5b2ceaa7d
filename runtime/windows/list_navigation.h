// What keys and typed characters mean to a list box, apart from any widget:
// the scroll event a navigation key asks of a program-scrolled list, the row a
// navigation key moves a self-scrolling list's selection to, and the locator.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "runtime/platform/key_codes.h"

namespace rk {

// The event a program-scrolled list posts for the key: Up 0x03, Down 0x04,
// Page Up 0x05 (with Ctrl 0x07), Page Down 0x06 (with Ctrl 0x08), Home 0x07,
// End 0x08; 0 for any other key.
int32_t ProgramScrollEvent(int32_t keyCode);

// The row (from 1) a self-scrolling list's selection moves to for the key;
// `selected` 0 means no selection yet. 0 when the key does not navigate.
int32_t SelfScrollTarget(int32_t keyCode, int32_t selected, int32_t rows, int32_t page);

// The locator: the next row after `selected` whose text begins with the
// character (without regard to case), wrapping to the first row; each row is
// looked at once at most. 0 when none does.
int32_t LocateRow(uint8_t character, int32_t selected, int32_t rows,
                  const std::function<std::string(int32_t)>& rowText);

}  // namespace rk
