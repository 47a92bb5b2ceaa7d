// Clipping the padding off fixed-length text. Text fields, memos, queue entries
// and names are space padded to their declared length; these give the text
// without that padding. Each returns a view into its argument.
#pragma once

#include <string_view>

namespace rk {

// Without its trailing spaces (tabs and other characters stay).
std::string_view ClipRight(std::string_view text);
// Without its leading and trailing spaces.
std::string_view ClipBoth(std::string_view text);
// Without its trailing spaces and tabs: hand-typed text (environment values,
// pictures) where a tab at the end is padding too.
std::string_view ClipRightBlanks(std::string_view text);

}  // namespace rk
