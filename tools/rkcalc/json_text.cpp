#include "tools/rkcalc/json_text.h"

#include <cstdio>

#include "runtime/platform/code_page.h"

namespace rk::rkcalc {

std::string JsonStringLiteral(std::string_view ansiText) {
  std::string utf8 = platform::AnsiToUtf8(ansiText);
  std::string out = "\"";
  for (char c : utf8) {
    unsigned char u = static_cast<unsigned char>(c);
    if (c == '"' || c == '\\') {
      out += '\\';
      out += c;
    } else if (u < 0x20 || u == 0x7F) {
      char escape[8];
      std::snprintf(escape, sizeof escape, "\\u%04x", u);
      out += escape;
    } else {
      out += c;
    }
  }
  out += '"';
  return out;
}

}  // namespace rk::rkcalc
