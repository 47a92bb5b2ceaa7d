#include "runtime/files/ascii_options.h"

#include <algorithm>
#include <cstdint>
#include <optional>

#include "runtime/core/clipped_text.h"
#include "runtime/core/collation.h"

namespace rk {
namespace {

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

// Reads the next number of a setting and moves past it; nothing when no digit
// follows the skipped characters.
std::optional<int64_t> ReadNumber(std::string_view& rest) {
  size_t at = 0;
  while (at < rest.size() && static_cast<unsigned char>(rest[at]) < '0') ++at;
  if (at == rest.size() || !IsDigit(rest[at])) return std::nullopt;
  bool negative = at > 0 && rest[at - 1] == '-';
  int64_t value = 0;
  while (at < rest.size() && IsDigit(rest[at])) {
    value = std::min<int64_t>(value * 10 + (rest[at] - '0'), INT32_MAX);
    ++at;
  }
  rest.remove_prefix(at);
  return negative ? -value : value;
}

std::optional<bool> ReadSwitch(std::string_view setting) {
  setting = ClipBoth(setting);
  if (setting == "ON") return true;
  if (setting == "OFF") return false;
  return std::nullopt;
}

const char* SwitchText(bool on) {
  return on ? "ON" : "OFF";
}

std::optional<std::string> ReadTerminator(std::string_view setting) {
  std::optional<int64_t> count = ReadNumber(setting);
  if (!count || *count < 1 || *count > 255) return std::nullopt;
  std::string bytes;
  for (int64_t i = 0; i < *count; ++i) {
    std::optional<int64_t> byte = ReadNumber(setting);
    if (!byte || *byte > 255) return std::nullopt;
    bytes.push_back(static_cast<char>(*byte));
  }
  return bytes;
}

}  // namespace

uint32_t AsciiBufferSize(uint32_t blocks, uint32_t recordLength) {
  return std::max(blocks * kAsciiBufferBlock, 2 * recordLength);
}

std::string ApplyAsciiOption(AsciiOptions& options, std::string_view text, uint32_t recordLength) {
  std::string upper(text);
  UpperBuffer(upper.data(), upper.size());
  std::string_view whole = upper;
  size_t equals = whole.find('=');
  std::string_view keyword = ClipBoth(whole.substr(0, equals));
  bool changes = equals != std::string_view::npos;
  std::string_view setting = changes ? whole.substr(equals + 1) : std::string_view();

  if (keyword == "FILEBUFFERS") {
    std::string answer = std::to_string(options.bufferSize);
    std::optional<int64_t> blocks = changes ? ReadNumber(setting) : std::nullopt;
    if (blocks && *blocks >= 1)
      options.bufferSize = AsciiBufferSize(
          static_cast<uint32_t>(std::min<int64_t>(*blocks, kAsciiMaxBufferBlocks)), recordLength);
    return answer;
  }
  if (keyword == "QUICKSCAN" || keyword == "CLIP") {
    bool& value = keyword == "CLIP" ? options.clip : options.quickScan;
    std::string answer = SwitchText(value);
    if (std::optional<bool> on = changes ? ReadSwitch(setting) : std::nullopt) value = *on;
    return answer;
  }
  if (keyword == "ENDOFRECORD") {
    std::string answer = options.terminator;
    if (std::optional<std::string> bytes = changes ? ReadTerminator(setting) : std::nullopt)
      options.terminator = *bytes;
    return answer;
  }
  if (keyword == "TAB") {
    std::string answer = std::to_string(options.tab);
    if (std::optional<int64_t> tab = changes ? ReadNumber(setting) : std::nullopt)
      options.tab = static_cast<int32_t>(*tab);
    return answer;
  }
  return {};
}

void ApplyAsciiOptionList(AsciiOptions& options, std::string_view list, uint32_t recordLength) {
  while (!list.empty()) {
    size_t slash = list.find('/');
    std::string_view option = list.substr(0, slash);
    if (!ClipBoth(option).empty()) ApplyAsciiOption(options, option, recordLength);
    if (slash == std::string_view::npos) break;
    list.remove_prefix(slash + 1);
  }
}

}  // namespace rk
