// What the list widget reports about its input. The widget decides nothing: it
// names the key, the row under the mouse or the scroll-bar action, and the list
// control on the runtime thread works out what that means.
//
// Travelling as the param of a kCommand platform message, one input is packed
// into 64 bits:
//
//   bit  62     marker (set)
//   bits 48-55  kind (ListInputKind)
//   bits 32-39  the typed character (ANSI), 0 for none
//   bits  0-31  value: a key code, a row shown (0 = the top row shown) or a
//               scroll position / action
#pragma once

#include <cstdint>

namespace rk::platform {

enum class ListInputKind : uint8_t {
  kNone = 0,
  kKey = 1,            // value: runtime key code; character: what it typed
  kClick = 2,          // value: row shown
  kDoubleClick = 3,    // value: row shown
  kRightClick = 4,     // value: row shown
  kScrollAction = 5,   // value: a ListScrollAction
  kThumbReleased = 6,  // value: the thumb's position on the scroll bar
  kScrolledTo = 7,     // value: the first row shown after the user scrolled
  kNodeClick = 8,      // value: row shown whose tree node was clicked
  kDropOpen = 9,       // a drop list's face asks for its popup
  kDropClosed = 10,    // a drop list's popup was closed from outside (a click elsewhere)
  kFaceKey = 11,       // a key on a drop list's closed face; value and character as kKey
};

enum ListScrollAction : int32_t {
  kScrollLineUp = 1,
  kScrollLineDown = 2,
  kScrollPageUp = 3,
  kScrollPageDown = 4,
  kScrollToTop = 5,
  kScrollToBottom = 6,
};

struct ListInput {
  ListInputKind kind = ListInputKind::kNone;
  int32_t value = 0;
  uint8_t character = 0;
  bool operator==(const ListInput&) const = default;
};

// The marker that tells a list input from the ordinary notices of other kinds,
// whose params are small numbers.
inline constexpr int64_t kListInputMarker = int64_t{1} << 62;

inline int64_t PackListInput(const ListInput& input) {
  return kListInputMarker | (int64_t{static_cast<uint8_t>(input.kind)} << 48) |
         (int64_t{input.character} << 32) | static_cast<uint32_t>(input.value);
}

inline ListInput UnpackListInput(int64_t param) {
  if ((param & kListInputMarker) == 0) return {};
  ListInput input;
  input.kind = static_cast<ListInputKind>((param >> 48) & 0xFF);
  input.character = static_cast<uint8_t>((param >> 32) & 0xFF);
  input.value = static_cast<int32_t>(static_cast<uint32_t>(param & 0xFFFFFFFF));
  return input;
}

}  // namespace rk::platform
