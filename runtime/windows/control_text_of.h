// Control texts on their way to a widget: the runtime's ANSI text with its "&"
// hot-key markers, as Qt shows it.
#pragma once

#include <QString>
#include <string_view>

// ClipRight and ClipBoth: the controls show variables without their padding.
#include "runtime/core/clipped_text.h"

namespace rk {

// Buttons, checks, radios and tabs: Qt draws the "&" markers as hot keys itself.
QString HotKeyText(std::string_view text);
// Labels without a partner widget: the markers are removed ("&&" stays one "&").
QString PlainText(std::string_view text);

}  // namespace rk
