// Conversion of the sources' UTF-8 texts to the 8-bit Windows-1252 texts that
// definitions store.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace rk {

// Nothing when a character has no Windows-1252 code; `bad` then holds it as U+XXXX.
std::optional<std::string> Utf8ToWindows1252(std::string_view utf8, std::string& bad);

}  // namespace rk
