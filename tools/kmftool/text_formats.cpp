#include "tools/kmftool/text_formats.h"

#include <istream>

#include "runtime/platform/code_page.h"

namespace rk::kmftool {

bool IsJsonNumber(std::string_view text) {
  size_t i = 0;
  auto digits = [&] {
    size_t start = i;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9') ++i;
    return i > start;
  };
  if (i < text.size() && text[i] == '-') ++i;
  if (i < text.size() && text[i] == '0') {
    ++i;
  } else if (!digits()) {
    return false;
  }
  if (i < text.size() && text[i] == '.') {
    ++i;
    if (!digits()) return false;
  }
  if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
    ++i;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
    if (!digits()) return false;
  }
  return i == text.size();
}

std::string CsvField(std::string_view ansiText) {
  std::string utf8 = platform::AnsiToUtf8(ansiText);
  if (utf8.find_first_of(",\"\r\n") == std::string::npos) return utf8;
  std::string out = "\"";
  for (char c : utf8) {
    if (c == '"') out += '"';
    out += c;
  }
  return out + "\"";
}

bool ReadCsvRecord(std::istream& in, std::vector<std::string>& fields, std::string& error) {
  fields.clear();
  error.clear();
  std::string field;
  bool quoted = false, any = false;
  for (int c; (c = in.get()) != EOF;) {
    any = true;
    if (quoted) {
      if (c == '"' && in.peek() == '"') {
        field += static_cast<char>(in.get());
      } else if (c == '"') {
        quoted = false;
      } else {
        field += static_cast<char>(c);
      }
    } else if (c == '"') {
      quoted = true;
    } else if (c == ',') {
      fields.push_back(platform::Utf8ToAnsi(field));
      field.clear();
    } else if (c == '\n') {
      break;
    } else if (c != '\r') {
      field += static_cast<char>(c);
    }
  }
  if (!any) return false;
  if (quoted) {
    error = "unterminated quote";
    return false;
  }
  fields.push_back(platform::Utf8ToAnsi(field));
  return true;
}

}  // namespace rk::kmftool
