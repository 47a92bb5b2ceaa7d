// A number as a string of significant decimal digits, the position of its
// decimal point and a sign: the form in which numeric pictures lay out numbers.
#pragma once

#include <string>
#include <string_view>

namespace rk {

struct DecimalDigits {
  static constexpr int kMaxDigits = 64;
  // Significant digits of a double, as numeric pictures show them.
  static constexpr int kRealDigits = 14;

  bool negative = false;
  int count = 0;  // digits held; 0 for the value zero
  // Digits before the decimal point: value = 0.d1d2...dn x 10^point.
  int point = 0;
  char digits[kMaxDigits + 1] = {};  // '0'-'9', the first one never '0'

  bool IsZero() const { return count == 0; }
  // The digit at an index counted from the first digit; '0' outside the digits.
  char DigitAt(int index) const { return index >= 0 && index < count ? digits[index] : '0'; }
  // Digits before the point, 0 for a value below 1.
  int IntegerDigits() const { return count == 0 || point < 0 ? 0 : point; }

  // The plain decimal text: "-123.45", "0.05", "0".
  std::string Text() const;

  // Rounds half away from zero to the given number of digits after the point; a
  // value that rounds to zero loses its sign.
  void RoundToPlaces(int places);
};

// The 14 significant digits of a finite double; false for infinities and NaN.
bool DigitsOfReal(double value, DecimalDigits& out);
// A plain decimal text: optional spaces, optional '-' or '+', digits with an
// optional '.', optional spaces; at most 64 significant digits. False (and out
// left zero) for anything else.
bool DigitsOfDecimalText(std::string_view text, DecimalDigits& out);

}  // namespace rk
