#include "tools/defc/windows1252.h"

#include <cstdint>
#include <cstdio>

namespace rk {
namespace {

// Code points of the bytes 0x80-0x9F; 0 where the byte has no character.
constexpr char32_t kHighControls[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

std::optional<char> EncodeCodePoint(char32_t c) {
  if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return static_cast<char>(c);
  for (int i = 0; i < 32; ++i) {
    if (kHighControls[i] == c) return static_cast<char>(0x80 + i);
  }
  return std::nullopt;
}

// Decodes one UTF-8 sequence at `i` (the JSON parser has already checked it).
char32_t DecodeAt(std::string_view s, size_t& i) {
  auto byte = static_cast<uint8_t>(s[i++]);
  int extra = byte >= 0xF0 ? 3 : byte >= 0xE0 ? 2 : byte >= 0xC0 ? 1 : 0;
  char32_t c = extra ? byte & (0x3F >> extra) : byte;
  for (; extra > 0 && i < s.size(); --extra) c = (c << 6) | (static_cast<uint8_t>(s[i++]) & 0x3F);
  return c;
}

}  // namespace

std::optional<std::string> Utf8ToWindows1252(std::string_view utf8, std::string& bad) {
  std::string out;
  for (size_t i = 0; i < utf8.size();) {
    char32_t c = DecodeAt(utf8, i);
    std::optional<char> byte = EncodeCodePoint(c);
    if (!byte) {
      char text[16];
      std::snprintf(text, sizeof text, "U+%04X", static_cast<unsigned>(c));
      bad = text;
      return std::nullopt;
    }
    out.push_back(*byte);
  }
  return out;
}

}  // namespace rk
