#include "runtime/platform/system_text.h"

#include <algorithm>

#include "runtime/platform/code_page.h"

namespace rk::platform {
namespace {

// Base letter (lower case) of the letters 0xC0-0xFF; '*' marks the two
// non-letters (multiplication and division signs).
constexpr char kLatin1Base[64 + 1] =
    "aaaaaaaceeeeiiii"
    "dnooooo*ouuuuyts"
    "aaaaaaaceeeeiiii"
    "dnooooo*ouuuuyty";

// The three comparison levels of one character.
struct CharKey {
  int primary;    // group and base character
  int secondary;  // accent (0 = none)
  int tertiary;   // 0 = lower case or no case, 1 = upper case
};

bool IsLatin1Letter(uint8_t c) {
  return c >= 0xC0 && kLatin1Base[c - 0xC0] != '*';
}

// Base letter of a Windows-1252 letter in lower case, or 0 for a non-letter.
char BaseLetter(uint8_t c) {
  if (c >= 'A' && c <= 'Z') return static_cast<char>(c - 'A' + 'a');
  if (c >= 'a' && c <= 'z') return static_cast<char>(c);
  if (IsLatin1Letter(c)) return kLatin1Base[c - 0xC0];
  switch (c) {
    case 0x8A:
    case 0x9A:
      return 's';
    case 0x8C:
    case 0x9C:
      return 'o';
    case 0x8E:
    case 0x9E:
      return 'z';
    case 0x9F:
      return 'y';
    case 0x83:
      return 'f';
    case 0xAA:
      return 'a';
    case 0xBA:
      return 'o';
    case 0xB5:
      return 'm';
    default:
      return 0;
  }
}

int DigitValue(uint8_t c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c == 0xB9) return 1;
  if (c == 0xB2) return 2;
  if (c == 0xB3) return 3;
  return -1;
}

CharKey KeyOf(uint8_t c) {
  constexpr int kDigitGroup = 0x10000;
  constexpr int kLetterGroup = 0x20000;
  if (char base = BaseLetter(c)) {
    bool plain = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
    return {kLetterGroup + base, plain ? 0 : SystemToLower(c), SystemIsUpper(c) ? 1 : 0};
  }
  if (int digit = DigitValue(c); digit >= 0) {
    return {kDigitGroup + digit, c >= '0' && c <= '9' ? 0 : c, 0};
  }
  // Control characters first, then every other symbol by its code point.
  return {AnsiToUnicode(c), 0, 0};
}

int Sign(int v) {
  return (v > 0) - (v < 0);
}

int CompareLevels(std::string_view a, std::string_view b, bool withCase) {
  size_t n = std::min(a.size(), b.size());
  for (int level = 0; level < (withCase ? 3 : 2); ++level) {
    for (size_t i = 0; i < n; ++i) {
      CharKey ka = KeyOf(static_cast<uint8_t>(a[i]));
      CharKey kb = KeyOf(static_cast<uint8_t>(b[i]));
      int d = level == 0   ? ka.primary - kb.primary
              : level == 1 ? ka.secondary - kb.secondary
                           : ka.tertiary - kb.tertiary;
      if (d != 0) return Sign(d);
    }
    if (level == 0 && a.size() != b.size()) return a.size() < b.size() ? -1 : 1;
  }
  return 0;
}

}  // namespace

bool SystemIsUpper(uint8_t c) {
  if (c >= 'A' && c <= 'Z') return true;
  if (c >= 0xC0 && c <= 0xDE) return c != 0xD7;
  return c == 0x8A || c == 0x8C || c == 0x8E || c == 0x9F;
}

bool SystemIsLower(uint8_t c) {
  if (c >= 'a' && c <= 'z') return true;
  if (c >= 0xDF) return c != 0xF7;
  return c == 0x9A || c == 0x9C || c == 0x9E || c == 0x83 || c == 0xAA || c == 0xBA || c == 0xB5;
}

uint8_t SystemToUpper(uint8_t c) {
  if (c >= 'a' && c <= 'z') return c - 0x20;
  if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return c - 0x20;
  switch (c) {
    case 0x9A:
    case 0x9C:
    case 0x9E:
      return c - 0x10;
    case 0xFF:
      return 0x9F;
    default:
      return c;
  }
}

uint8_t SystemToLower(uint8_t c) {
  if (c >= 'A' && c <= 'Z') return c + 0x20;
  if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return c + 0x20;
  switch (c) {
    case 0x8A:
    case 0x8C:
    case 0x8E:
      return c + 0x10;
    case 0x9F:
      return 0xFF;
    default:
      return c;
  }
}

int SystemCompareText(std::string_view a, std::string_view b) {
  return CompareLevels(a, b, true);
}

int SystemCompareTextNoCase(std::string_view a, std::string_view b) {
  return CompareLevels(a, b, false);
}

}  // namespace rk::platform
