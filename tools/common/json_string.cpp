#include "tools/common/json_string.h"

#include <cstdio>

#include "runtime/platform/code_page.h"

namespace rk::tools {

namespace {

// The C0 controls and DEL: JSON requires the first, and neither should reach a
// terminal or a log as it is.
bool IsControl(unsigned char c) {
  return c < 0x20 || c == 0x7F;
}

}  // namespace

std::string JsonString(std::string_view ansiText) {
  std::string utf8 = platform::AnsiToUtf8(ansiText);
  std::string out = "\"";
  for (char c : utf8) {
    unsigned char u = static_cast<unsigned char>(c);
    if (c == '"' || c == '\\') {
      out += '\\';
      out += c;
    } else if (IsControl(u)) {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\u%04x", u);
      out += escaped;
    } else {
      out += c;
    }
  }
  return out + "\"";
}

}  // namespace rk::tools
