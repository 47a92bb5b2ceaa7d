// Property codes of windows and controls read and written through
// SetProperty / GetProperty.
#pragma once

#include <charconv>
#include <cstdint>
#include <string_view>

namespace rk::property {

inline constexpr int32_t kText = 0x7C00;           // window title or control text
inline constexpr int32_t kRangeHigh = 0x7C15;      // spin box upper limit
inline constexpr int32_t kRangeLow = 0x7C16;       // spin box lower limit
inline constexpr int32_t kListSelection = 0x7C20;  // list box selection (trees)
inline constexpr int32_t kDefaultButton = 0x7C5E;  // button
inline constexpr int32_t kDisabled = 0x7C5F;       // control: 1 disabled, 0 enabled
inline constexpr int32_t kHidden = 0x7C65;         // control: 1 hidden, 0 shown
inline constexpr int32_t kStatusMessage = 0x7C73;  // control: status-bar message
inline constexpr int32_t kVScrollShown = 0x7C8B;   // list box
inline constexpr int32_t kVisibleRows = 0x7C8E;    // list box, read only
inline constexpr int32_t kSelectedRow = 0x7C8F;    // list box, from 1
inline constexpr int32_t kValidating = 0x7C9A;     // window: validation pass running
inline constexpr int32_t kThumbPosition = 0x7C9E;  // list box, 0 to 100
inline constexpr int32_t kIconList = 0x7CD0;       // list box: index 1-255 names icon n, text
inline constexpr int32_t kStatusText = 0x7D01;     // window: status-bar text
inline constexpr int32_t kAlertKeys = 0x7D06;      // control: index 1-255, key code

// The number a property value stands for: leading spaces skipped, digits with an
// optional sign; 0 when there are none.
inline int32_t NumberOf(std::string_view text) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  int32_t value = 0;
  std::from_chars(text.data(), text.data() + text.size(), value);
  return value;
}

}  // namespace rk::property
