// The text form of a popup menu, as POPUP is given it.
//
// Items are separated by "|"; an item that is just "-" is a separator. A leading
// "~" greys an item; then a "+" gives it a check mark (a "-" in that place is
// skipped); the rest is its text. An item text followed by "{" opens a submenu
// with that title, whose items run up to the matching "}". Items are numbered
// from 1 in order of appearance across all submenus; submenus and separators
// have no number. An empty item (a leading or trailing "|", or nothing between
// two) is neither shown nor numbered. Unbalanced braces are tolerated: a missing "}" closes at the
// end of the text, a stray one is ignored.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "runtime/platform/qt/popup_menu.h"

namespace rk {

using platform::PopupItem;

std::vector<PopupItem> ParsePopupText(std::string_view text);

}  // namespace rk
