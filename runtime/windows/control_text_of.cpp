#include "runtime/windows/control_text_of.h"

#include <algorithm>
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

std::string_view ClipRight(std::string_view text) {
  size_t end = text.find_last_not_of(' ');
  return end == std::string_view::npos ? std::string_view{} : text.substr(0, end + 1);
}

std::string_view ClipBoth(std::string_view text) {
  text = ClipRight(text);
  return text.substr(std::min(text.find_first_not_of(' '), text.size()));
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
