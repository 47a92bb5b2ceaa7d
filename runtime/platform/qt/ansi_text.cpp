#include "runtime/platform/qt/ansi_text.h"

#include "runtime/platform/code_page.h"

namespace rk::platform {

QString FromAnsi(std::string_view text) {
  std::u16string wide = AnsiToUtf16(text);
  return QString::fromUtf16(wide.data(), static_cast<qsizetype>(wide.size()));
}

std::string ToAnsi(const QString& text) {
  return Utf16ToAnsi(std::u16string_view(reinterpret_cast<const char16_t*>(text.utf16()),
                                         static_cast<size_t>(text.size())));
}

}  // namespace rk::platform
