// CLEAR of a record or field, and the key bounds of the file drivers: fills the
// storage that a type descriptor describes with the lowest, blank or highest
// value of each member's type.
#pragma once

#include <cstdint>
#include <span>

namespace rk {

enum ClearMode : int {
  kClearLow = -1,
  kClearBlank = 0,
  kClearHigh = 1,
};

// Clears the value that the first item of `descriptor` describes at `address`
// and returns the number of bytes written (element size times count). A
// malformed descriptor writes nothing and returns 0.
uint32_t ClearValue(void* address, std::span<const uint8_t> descriptor, int mode);

}  // namespace rk
