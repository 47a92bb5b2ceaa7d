// Splits the text of an environment file into settings and a value into items.
#include <cctype>

#include "runtime/core/clipped_text.h"
#include "runtime/core/environment_file.h"
#include "runtime/core/quoted_text.h"
#include "runtime/platform/system_text.h"

namespace rk {
namespace {

constexpr char kEndOfFile = 26;  // Ctrl-Z

bool IsControl(char c) {
  return static_cast<unsigned char>(c) < 32;
}

std::string KeyOf(std::string_view line) {
  std::string key;
  for (char c : line) {
    if (c == '=' || IsControl(c)) break;
    if (c != ' ' && key.size() < kMaxEnvironmentKey) key += c;
  }
  return key;
}

std::string ValueOf(std::string_view rest) {
  return std::string(ClipRightBlanks(rest.substr(0, kMaxEnvironmentValue)));
}

void AddLine(std::string_view line, std::vector<EnvironmentSetting>& out) {
  size_t equals = line.find('=');
  if (equals == std::string_view::npos) return;
  std::string key = KeyOf(line.substr(0, equals));
  if (key.empty()) return;
  out.push_back({std::move(key), ValueOf(line.substr(equals + 1))});
}

// "item","it""em",... ; text outside the quotes up to the next comma is ignored.
std::vector<std::string> QuotedItems(std::string_view value) {
  std::vector<std::string> items;
  size_t i = 0;
  while (i < value.size()) {
    std::string item;
    while (i < value.size() && value[i] != '"' && value[i] != ',') ++i;
    if (i < value.size() && value[i] == '"') {
      item = ReadQuoted(value, i);
      while (i < value.size() && value[i] != ',') ++i;
    }
    items.push_back(std::move(item));
    if (i < value.size()) {
      ++i;  // the comma
      if (i == value.size()) items.emplace_back();
    }
  }
  return items;
}

std::vector<std::string> PlainItems(std::string_view value) {
  std::vector<std::string> items;
  size_t start = 0;
  while (true) {
    size_t comma = value.find(',', start);
    items.emplace_back(value.substr(start, comma - start));
    if (comma == std::string_view::npos) break;
    start = comma + 1;
  }
  return items;
}

}  // namespace

std::vector<EnvironmentSetting> ParseEnvironmentText(std::string_view text) {
  std::vector<EnvironmentSetting> settings;
  size_t end = text.find(kEndOfFile);
  if (end != std::string_view::npos) text = text.substr(0, end);
  size_t start = 0;
  while (start < text.size()) {
    size_t lineEnd = text.find_first_of("\r\n", start);
    if (lineEnd == std::string_view::npos) lineEnd = text.size();
    AddLine(text.substr(start, lineEnd - start), settings);
    start = lineEnd + 1;
  }
  return settings;
}

std::vector<std::string> EnvironmentItems(std::string_view value, bool singleItem) {
  if (!value.empty() && value.front() == '"') return QuotedItems(value);
  if (singleItem) return {std::string(value)};
  return PlainItems(value);
}

bool SameEnvironmentKey(std::string_view a, std::string_view b) {
  return platform::SystemCompareTextNoCase(a, b) == 0;
}

}  // namespace rk
