#include "runtime/windows/control_text_of.h"

#include <string>

namespace rk {

namespace {

// A "&" marks the next character as the hot key only when there is a key to
// mark: before a space or at the end of the text it is an ampersand to show
// ("SLP - NTSC & M-PAL").
bool MarksHotKey(std::string_view text, size_t at) {
  return at + 1 < text.size() && text[at + 1] != ' ';
}

}  // namespace

std::string HotKeyText(std::string_view text) {
  std::string shown;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '&' && !MarksHotKey(text, i)) {
      shown += "&&";  // the widgets' way of writing a plain ampersand
    } else if (text[i] == '&' && text[i + 1] == '&') {
      shown += "&&";
      ++i;
    } else {
      shown += text[i];
    }
  }
  return shown;
}

std::string PlainText(std::string_view text) {
  std::string plain;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '&' || !MarksHotKey(text, i)) {
      plain += text[i];
    } else if (text[i + 1] == '&') {
      plain += '&';
      ++i;
    }
  }
  return plain;
}

}  // namespace rk
