// Compiled pictures: the fixed-size element table that formatting and
// deformatting walk, one element per output position.
//
// Layout of a compiled picture (512 bytes, zero-filled before compiling):
//   byte 0      bits 0-2 kind (PictureKind)
//               bits 3-5 class: 1 date and time, 2 scientific, 3 numeric and pattern,
//                        0 string and key-in
//               bit 6    form variant: a date form whose month names keep the case
//                        of the name table (forms 4 and 18); a time form that takes
//                        the AM/PM texts of the international settings (forms 7, 8)
//               bit 7    blank when zero (the picture ended in 'B' or 'b')
//   byte 1      number of elements = the width of the formatted text (1-255)
//   byte 2+2i   element i: display character
//   byte 3+2i   element i: element code (ElementCode)
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace rk {

enum class PictureKind : uint8_t {
  kNumeric = 0,
  kScientific = 1,
  kDate = 2,
  kTime = 3,
  kPattern = 4,
  kString = 5,
  kKeyIn = 6,
};

enum ElementCode : uint8_t {
  kLiteral = 0,
  kGrouping = 1,
  kDecimalPoint = 2,
  kDigitShown = 3,  // a leading zero shows the display character ('0', '*')
  kDigitBlank = 4,  // a leading zero shows the display character (a space)
  kSign = 5,        // '-', '(' or ')'
  kCurrency = 6,
  kMonthDigit = 7,
  kDayDigit = 8,
  kYearDigit = 9,
  kMonthLetter = 10,
  kHourDigit = 11,
  kMinuteDigit = 12,
  kSecondDigit = 13,
  kKeyInAny = 14,         // '@'
  kKeyInCaret = 15,       // '^'
  kKeyInUnderscore = 16,  // '_'
  kKeyInQuestion = 17,    // '?'
  kSeparator = 19,        // date or time separator
  kDayPeriod = 20,        // first letter of AM/PM; the next element takes the second
  kExponentSign = 21,
  kImpliedPoint = 22,  // 'V': takes no place in the formatted text
  kKeyInBar = 23,      // '|'
};

inline constexpr size_t kCompiledPictureSize = 512;
inline constexpr int kMaxPictureWidth = 255;

struct PictureElement {
  uint8_t display = ' ';
  uint8_t code = kLiteral;
};

struct CompiledPicture {
  std::array<uint8_t, kCompiledPictureSize> bytes{};

  PictureKind Kind() const { return static_cast<PictureKind>(bytes[0] & 0x07); }
  int Class() const { return (bytes[0] >> 3) & 0x07; }
  bool Variant() const { return (bytes[0] & 0x40) != 0; }
  bool BlankWhenZero() const { return (bytes[0] & 0x80) != 0; }
  int Width() const { return bytes[1]; }
  bool IsValid() const { return bytes[1] != 0; }
  uint8_t Display(int i) const { return bytes[2 + 2 * i]; }
  uint8_t Code(int i) const { return bytes[3 + 2 * i]; }
  PictureElement Element(int i) const { return {Display(i), Code(i)}; }
  // Size of the used part: 2 + 2 x width, 0 for an invalid picture.
  size_t Size() const { return IsValid() ? 2 + 2 * static_cast<size_t>(Width()) : 0; }
};

// Compiles a picture text (the leading '@' is optional). Returns 2 + 2 x width,
// or 0 when the text is not a valid picture; the table is then all zero.
size_t CompilePicture(std::string_view text, CompiledPicture& compiled);

}  // namespace rk
