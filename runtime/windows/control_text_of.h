// Control texts on their way to a widget: the runtime's ANSI text with its "&"
// hot-key markers, as Qt shows it.
#pragma once

#include <QString>
#include <string_view>

namespace rk {

// Buttons, checks, radios and tabs: Qt draws the "&" markers as hot keys itself.
QString HotKeyText(std::string_view text);
// The text without its trailing spaces (fixed-length fields are space padded).
std::string_view ClipRight(std::string_view text);
// The text without its leading and trailing spaces (a formatted number's padding).
std::string_view ClipBoth(std::string_view text);
// Labels without a partner widget: the markers are removed ("&&" stays one "&").
QString PlainText(std::string_view text);

}  // namespace rk
