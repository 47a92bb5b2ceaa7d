#include "runtime/windows/list_navigation.h"

#include <algorithm>

#include "runtime/core/collation.h"
#include "runtime/windows/event_codes.h"

namespace rk {

int32_t ProgramScrollEvent(int32_t keyCode) {
  switch (keyCode) {
    case kKeyUp:
      return event::kScrollUp;
    case kKeyDown:
      return event::kScrollDown;
    case kKeyPageUp:
      return event::kPageUp;
    case kKeyPageUp | kKeyCtrl:
      return event::kScrollTop;
    case kKeyPageDown:
      return event::kPageDown;
    case kKeyPageDown | kKeyCtrl:
      return event::kScrollBottom;
    case kKeyHome:
      return event::kScrollTop;
    case kKeyEnd:
      return event::kScrollBottom;
    default:
      return 0;
  }
}

int32_t SelfScrollTarget(int32_t keyCode, int32_t selected, int32_t rows, int32_t page) {
  if (rows <= 0) return 0;
  page = std::max(page, 1);
  int32_t target;
  switch (ProgramScrollEvent(keyCode)) {
    case event::kScrollUp:
      target = selected - 1;
      break;
    case event::kScrollDown:
      target = selected + 1;
      break;
    case event::kPageUp:
      target = selected - page;
      break;
    case event::kPageDown:
      target = selected + page;
      break;
    case event::kScrollTop:
      target = 1;
      break;
    case event::kScrollBottom:
      target = rows;
      break;
    default:
      return 0;
  }
  return std::clamp(target, 1, rows);
}

int32_t LocateRow(uint8_t character, int32_t selected, int32_t rows,
                  const std::function<std::string(int32_t)>& rowText) {
  uint8_t wanted = ToUpper(character);
  for (int32_t step = 1; step <= rows; ++step) {
    int32_t row = (std::max(selected, 0) + step - 1) % rows + 1;
    std::string text = rowText(row);
    if (!text.empty() && ToUpper(static_cast<uint8_t>(text[0])) == wanted) return row;
  }
  return 0;
}

}  // namespace rk
