// The boundary between the runtime's 8-bit Windows-1252 texts and Qt's Unicode
// strings. Every text that goes to a widget, the clipboard or a dialog, and every
// text that comes back, passes through here.
#pragma once

#include <QString>
#include <string>
#include <string_view>

namespace rk::platform {

QString FromAnsi(std::string_view text);
// Characters that 1252 lacks become '?'.
std::string ToAnsi(const QString& text);

}  // namespace rk::platform
