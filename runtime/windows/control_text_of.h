// Control texts on their way to a widget: the runtime's ANSI text with its "&"
// hot-key markers, as the widgets show it.
#pragma once

#include <string>
#include <string_view>

// ClipRight and ClipBoth: the controls show variables without their padding.
#include "runtime/core/clipped_text.h"

namespace rk {

// Buttons, checks, radios and tabs: the widget draws the "&" markers as hot keys
// itself, and "&&" as one ampersand.
std::string HotKeyText(std::string_view text);
// Labels without a partner widget: the markers are removed ("&&" stays one "&").
std::string PlainText(std::string_view text);

}  // namespace rk
