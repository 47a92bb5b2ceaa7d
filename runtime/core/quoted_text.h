// Reading a quoted text in which the quote character written twice stands for
// itself: "say ""hi""" and 'o''clock'. Used by the environment file's item lists
// and by the literal texts of date formats.
#pragma once

#include <string>
#include <string_view>

namespace rk {

// `pos` indexes the opening quote. Returns the text inside and leaves `pos`
// after the closing quote (or at the end when the quote is never closed).
inline std::string ReadQuoted(std::string_view text, size_t& pos) {
  char quote = text[pos++];
  std::string inside;
  while (pos < text.size()) {
    char c = text[pos++];
    if (c != quote) {
      inside += c;
    } else if (pos < text.size() && text[pos] == quote) {
      inside += quote;
      ++pos;
    } else {
      break;
    }
  }
  return inside;
}

}  // namespace rk
