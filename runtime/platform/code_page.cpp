#include "runtime/platform/code_page.h"

#include <array>
#include <cstdio>

namespace rk::platform {
namespace {

// Unicode of the upper halves; the lower halves (0x00-0x7F) are ASCII in both pages.
constexpr char16_t kOemHigh[128] = {
    0x00C7, 0x00FC, 0x00E9, 0x00E2, 0x00E4, 0x00E0, 0x00E5, 0x00E7,  // 80
    0x00EA, 0x00EB, 0x00E8, 0x00EF, 0x00EE, 0x00EC, 0x00C4, 0x00C5,  // 88
    0x00C9, 0x00E6, 0x00C6, 0x00F4, 0x00F6, 0x00F2, 0x00FB, 0x00F9,  // 90
    0x00FF, 0x00D6, 0x00DC, 0x00A2, 0x00A3, 0x00A5, 0x20A7, 0x0192,  // 98
    0x00E1, 0x00ED, 0x00F3, 0x00FA, 0x00F1, 0x00D1, 0x00AA, 0x00BA,  // A0
    0x00BF, 0x2310, 0x00AC, 0x00BD, 0x00BC, 0x00A1, 0x00AB, 0x00BB,  // A8
    0x2591, 0x2592, 0x2593, 0x2502, 0x2524, 0x2561, 0x2562, 0x2556,  // B0
    0x2555, 0x2563, 0x2551, 0x2557, 0x255D, 0x255C, 0x255B, 0x2510,  // B8
    0x2514, 0x2534, 0x252C, 0x251C, 0x2500, 0x253C, 0x255E, 0x255F,  // C0
    0x255A, 0x2554, 0x2569, 0x2566, 0x2560, 0x2550, 0x256C, 0x2567,  // C8
    0x2568, 0x2564, 0x2565, 0x2559, 0x2558, 0x2552, 0x2553, 0x256B,  // D0
    0x256A, 0x2518, 0x250C, 0x2588, 0x2584, 0x258C, 0x2590, 0x2580,  // D8
    0x03B1, 0x00DF, 0x0393, 0x03C0, 0x03A3, 0x03C3, 0x00B5, 0x03C4,  // E0
    0x03A6, 0x0398, 0x03A9, 0x03B4, 0x221E, 0x03C6, 0x03B5, 0x2229,  // E8
    0x2261, 0x00B1, 0x2265, 0x2264, 0x2320, 0x2321, 0x00F7, 0x2248,  // F0
    0x00B0, 0x2219, 0x00B7, 0x221A, 0x207F, 0x00B2, 0x25A0, 0x00A0,  // F8
};

// 0x80-0x9F of 1252; 0xA0-0xFF equal their Unicode code points.
constexpr char16_t kAnsiC1[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  // 80
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,  // 88
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 90
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,  // 98
};

char16_t OemToUnicode(uint8_t c) {
  return c < 0x80 ? c : kOemHigh[c - 0x80];
}

// Nearest ASCII look-alike of a character that 1252 or 437 lacks; 0 for none.
char NearestAscii(char16_t u) {
  if (u >= 0x2500 && u <= 0x257F) {  // box drawing
    switch (u) {
      case 0x2500:
        return '-';
      case 0x2550:
        return '=';
      case 0x2502:
      case 0x2551:
        return '|';
      default:
        return '+';
    }
  }
  if (u >= 0x2580 && u <= 0x25A0) return '#';  // blocks, shades and the square
  switch (u) {
    case 0x03B1:
      return 'a';
    case 0x0393:
      return 'G';
    case 0x03C0:
      return 'p';
    case 0x03A3:
      return 'S';
    case 0x03C3:
      return 's';
    case 0x03C4:
      return 't';
    case 0x03A6:
      return 'F';
    case 0x0398:
      return 'T';
    case 0x03A9:
      return 'O';
    case 0x03B4:
      return 'd';
    case 0x221E:
      return '8';
    case 0x03C6:
      return 'f';
    case 0x03B5:
      return 'e';
    case 0x2229:
      return 'n';
    case 0x2261:
      return '=';
    case 0x2265:
      return '>';
    case 0x2264:
      return '<';
    case 0x2320:
      return '(';
    case 0x2321:
      return ')';
    case 0x2248:
      return '~';
    case 0x2219:
      return '.';
    case 0x221A:
      return 'v';
    case 0x207F:
      return 'n';
    case 0x20A7:
      return 'P';
    case 0x2310:
      return '-';
    case 0x20AC:
      return 'E';
    case 0x201A:
      return ',';
    case 0x201E:
      return '"';
    case 0x2026:
      return '.';
    case 0x2020:
      return '+';
    case 0x2021:
      return '+';
    case 0x02C6:
      return '^';
    case 0x2030:
      return '%';
    case 0x2039:
      return '<';
    case 0x203A:
      return '>';
    case 0x2018:
      return '\'';
    case 0x2019:
      return '\'';
    case 0x201C:
      return '"';
    case 0x201D:
      return '"';
    case 0x2022:
      return 0;  // bullet: handled by the 437 bullet below
    case 0x2013:
      return '-';
    case 0x2014:
      return '-';
    case 0x02DC:
      return '~';
    case 0x2122:
      return 'T';
    case 0x0160:
      return 'S';
    case 0x0161:
      return 's';
    case 0x0152:
      return 'O';
    case 0x0153:
      return 'o';
    case 0x017D:
      return 'Z';
    case 0x017E:
      return 'z';
    case 0x0178:
      return 'Y';
    default:
      return 0;
  }
}

// Base letter of the accented Latin-1 letters 0xC0-0xFF; 0 where there is none.
constexpr char kLatin1Base[64 + 1] =
    "AAAAAAACEEEEIIII"
    "DNOOOOO\0OUUUUYPs"
    "aaaaaaaceeeeiiii"
    "dnooooo\0ouuuuypy";

struct Tables {
  std::array<uint8_t, 256> oemToAnsi{};
  std::array<uint8_t, 256> ansiToOem{};
  std::array<uint8_t, 256> oemOfUnicodeLatin1{};  // by Latin-1 code point; 0 = none
};

uint8_t ExactOem(const Tables& t, char16_t u) {
  if (u < 0x80) return static_cast<uint8_t>(u);
  if (u < 0x100) return t.oemOfUnicodeLatin1[u];
  for (int i = 0; i < 128; ++i) {
    if (kOemHigh[i] == u) return static_cast<uint8_t>(0x80 + i);
  }
  return 0;
}

uint8_t AnsiFallback(char16_t u) {
  char ascii = NearestAscii(u);
  if (u == 0x2219) return 0xB7;  // bullet operator -> middle dot
  return ascii ? static_cast<uint8_t>(ascii) : kUnmappable;
}

uint8_t OemFallback(char16_t u) {
  if (u == 0x2022) return 0xF9;  // bullet -> bullet operator
  if (u >= 0xC0 && u <= 0xFF && kLatin1Base[u - 0xC0] != 0) {
    return static_cast<uint8_t>(kLatin1Base[u - 0xC0]);
  }
  char ascii = NearestAscii(u);
  return ascii ? static_cast<uint8_t>(ascii) : kUnmappable;
}

Tables BuildTables() {
  Tables t;
  for (int i = 0; i < 128; ++i) {
    if (kOemHigh[i] < 0x100) t.oemOfUnicodeLatin1[kOemHigh[i]] = static_cast<uint8_t>(0x80 + i);
  }
  for (int c = 0; c < 256; ++c) {
    char16_t fromOem = OemToUnicode(static_cast<uint8_t>(c));
    uint8_t ansi = UnicodeToAnsi(fromOem);
    t.oemToAnsi[c] = ansi != kUnmappable || fromOem == kUnmappable ? ansi : AnsiFallback(fromOem);

    char16_t fromAnsi = AnsiToUnicode(static_cast<uint8_t>(c));
    uint8_t oem = ExactOem(t, fromAnsi);
    t.ansiToOem[c] = oem != 0 || c == 0 ? oem : OemFallback(fromAnsi);
  }
  return t;
}

const Tables& CodePageTables() {
  static const Tables tables = BuildTables();
  return tables;
}

void AppendUtf8(std::string& out, char32_t u) {
  if (u < 0x80) {
    out += static_cast<char>(u);
  } else if (u < 0x800) {
    out += static_cast<char>(0xC0 | (u >> 6));
    out += static_cast<char>(0x80 | (u & 0x3F));
  } else {
    out += static_cast<char>(0xE0 | (u >> 12));
    out += static_cast<char>(0x80 | ((u >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (u & 0x3F));
  }
}

// Decodes one UTF-8 sequence at text[i]; advances i. Returns U+FFFD (one byte
// consumed) for a malformed or overlong sequence.
char32_t DecodeUtf8(std::string_view text, size_t& i) {
  constexpr char32_t kBad = 0xFFFD;
  auto lead = static_cast<uint8_t>(text[i++]);
  if (lead < 0x80) return lead;
  int extra = lead >= 0xF0 && lead < 0xF5 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC2 ? 1 : -1;
  if (extra < 0 || lead >= 0xF5) return kBad;
  if (i + extra > text.size()) return kBad;
  char32_t u = lead & (0x3F >> extra);
  for (int k = 0; k < extra; ++k) {
    auto next = static_cast<uint8_t>(text[i + k]);
    if ((next & 0xC0) != 0x80) return kBad;
    u = (u << 6) | (next & 0x3F);
  }
  static constexpr char32_t kMinimum[4] = {0, 0x80, 0x800, 0x10000};
  if (u < kMinimum[extra] || u > 0x10FFFF || (u >= 0xD800 && u <= 0xDFFF)) return kBad;
  i += extra;
  return u;
}

constexpr char32_t kReplacement = 0xFFFD;

// 1252 leaves 0x81, 0x8D, 0x8F, 0x90 and 0x9D undefined; they round-trip as the
// C1 controls of the same value, which no source text should hold. The other
// C1 controls have no byte at all.
bool IsC1Control(char32_t u) {
  return u >= 0x80 && u < 0xA0;
}

// Positions count bytes from 1, as an editor's status line does.
std::string UnmappableAt(char32_t u, size_t offset) {
  char text[80];
  std::snprintf(text, sizeof text, "character U+%04X has no ANSI code (byte %zu of the text)",
                static_cast<unsigned>(u), offset + 1);
  return text;
}

std::string MalformedAt(size_t offset) {
  return "malformed UTF-8 (byte " + std::to_string(offset + 1) + " of the text)";
}

}  // namespace

uint8_t OemToAnsi(uint8_t c) {
  return CodePageTables().oemToAnsi[c];
}
uint8_t AnsiToOem(uint8_t c) {
  return CodePageTables().ansiToOem[c];
}

void OemToAnsiBuffer(char* text, size_t length) {
  for (size_t i = 0; i < length; ++i) text[i] = static_cast<char>(OemToAnsi(text[i]));
}

void AnsiToOemBuffer(char* text, size_t length) {
  for (size_t i = 0; i < length; ++i) text[i] = static_cast<char>(AnsiToOem(text[i]));
}

char16_t AnsiToUnicode(uint8_t c) {
  return c >= 0x80 && c < 0xA0 ? kAnsiC1[c - 0x80] : static_cast<char16_t>(c);
}

uint8_t UnicodeToAnsi(char32_t u) {
  if (u < 0x80 || (u >= 0xA0 && u < 0x100)) return static_cast<uint8_t>(u);
  for (int i = 0; i < 32; ++i) {
    if (kAnsiC1[i] == u) return static_cast<uint8_t>(0x80 + i);
  }
  return kUnmappable;
}

std::u16string AnsiToUtf16(std::string_view text) {
  std::u16string out;
  out.reserve(text.size());
  for (char c : text) out += AnsiToUnicode(static_cast<uint8_t>(c));
  return out;
}

std::string Utf16ToAnsi(std::u16string_view text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    char16_t u = text[i];
    // A surrogate pair stands for one character outside 1252.
    if (u >= 0xD800 && u < 0xDC00 && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
        text[i + 1] < 0xE000) {
      ++i;
      out += static_cast<char>(kUnmappable);
      continue;
    }
    out += static_cast<char>(UnicodeToAnsi(u));
  }
  return out;
}

std::string AnsiToUtf8(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) AppendUtf8(out, AnsiToUnicode(static_cast<uint8_t>(c)));
  return out;
}

std::string Utf8ToAnsi(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  size_t i = 0;
  while (i < text.size()) out += static_cast<char>(UnicodeToAnsi(DecodeUtf8(text, i)));
  return out;
}

std::optional<std::string> Utf8ToAnsiStrict(std::string_view text, std::string& problem) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size();) {
    const size_t start = i;
    const char32_t u = DecodeUtf8(text, i);
    const uint8_t byte = UnicodeToAnsi(u);
    if ((byte == kUnmappable && u != kUnmappable) || IsC1Control(u)) {
      // A malformed sequence decodes to U+FFFD from a single byte.
      problem = u == kReplacement && i == start + 1 ? MalformedAt(start) : UnmappableAt(u, start);
      return std::nullopt;
    }
    out += static_cast<char>(byte);
  }
  return out;
}

}  // namespace rk::platform
