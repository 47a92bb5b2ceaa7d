#include "runtime/windows/control_text_of.h"

#include <algorithm>
#include <string>

#include "runtime/platform/qt/ansi_text.h"

namespace rk {

QString HotKeyText(std::string_view text) {
  return platform::FromAnsi(text);
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
    if (text[i] != '&') {
      plain += text[i];
    } else if (i + 1 < text.size() && text[i + 1] == '&') {
      plain += '&';
      ++i;
    }
  }
  return platform::FromAnsi(plain);
}

}  // namespace rk
