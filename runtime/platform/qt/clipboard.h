// The clipboard as the runtime sees it: 8-bit Windows-1252 text.
#pragma once

#include <string>
#include <string_view>

namespace rk::platform {

void SetClipboardText(std::string_view text);
// Empty when the clipboard holds no text.
std::string ClipboardText();
bool ClipboardHasText();

}  // namespace rk::platform
