// Numbers as text and doubles as integers: the conversions that every number
// pushed on the value stack, read from an entry field or stored into an integer
// field goes through.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace rk {

// Longest text RealToText produces ("-1.2345678901234e-308").
inline constexpr size_t kMaxRealText = 24;

// General format with at most 14 significant digits: fixed notation without
// trailing zeros, exponent notation ("1e+20") for very large or very small
// magnitudes; never a trailing '.'. Independent of the C locale.
std::string RealToText(double x);
// Writes into out (at least kMaxRealText bytes, no NUL) and returns the length.
size_t RealToText(double x, char* out);

// At most the first 40 characters, trailing spaces removed; leading white space,
// an optional sign, digits with an optional '.', an optional exponent. Reading
// stops at the first character that does not fit; nothing read gives 0.
double TextToReal(std::string_view text);
// Length of the number at the start of text in TextToReal's syntax after leading
// white space (the white space counted), 0 when there is none.
size_t NumberPrefixLength(std::string_view text);

// x and y are approximately equal when their difference is zero or its binary
// exponent lies more than 50 below that of x or of y (zero counts as exponent 0).
bool ApproximatelyEqual(double x, double y);

// Truncation toward zero, corrected up (resp. down) to the next integer when x is
// approximately equal to it: 2.9999999999999996 gives 3, 2.9 gives 2. Values
// outside the 32-bit range and NaN give INT32_MIN, as the hardware conversion does.
int32_t RealToLong(double x);

}  // namespace rk
