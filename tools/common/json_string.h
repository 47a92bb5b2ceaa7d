// A runtime text (Windows-1252) as a JSON string literal in UTF-8, the form every
// tool prints: quote and backslash escaped, control characters as \u00XX, all
// other characters as they are.
#pragma once

#include <string>
#include <string_view>

namespace rk::tools {

// The literal with its quotes.
std::string JsonString(std::string_view ansiText);

}  // namespace rk::tools
