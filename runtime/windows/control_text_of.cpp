#include "runtime/windows/control_text_of.h"

#include <string>

#include "runtime/platform/qt/ansi_text.h"

namespace rk {

namespace {

// A "&" marks the next character as the hot key only when there is a key to
// mark: before a space or at the end of the text it is an ampersand to show
// ("SLP - NTSC & M-PAL").
bool MarksHotKey(std::string_view text, size_t at) {
  return at + 1 < text.size() && text[at + 1] != ' ';
}

}  // namespace

QString HotKeyText(std::string_view text) {
  std::string shown;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '&' && !MarksHotKey(text, i)) {
      shown += "&&";  // Qt's way of writing a plain ampersand
    } else if (text[i] == '&' && text[i + 1] == '&') {
      shown += "&&";
      ++i;
    } else {
      shown += text[i];
    }
  }
  return platform::FromAnsi(shown);
}

QString PlainText(std::string_view text) {
  std::string plain;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '&' || !MarksHotKey(text, i)) {
      plain += text[i];
    } else if (text[i + 1] == '&') {
      plain += '&';
      ++i;
    }
  }
  return platform::FromAnsi(plain);
}

}  // namespace rk
