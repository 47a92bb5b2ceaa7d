// Formatting values through compiled pictures, and reading typed text back.
//
// A formatted text is always exactly as wide as its picture: positions that the
// value leaves unwritten (a short month name, an implied point) become spaces at
// the end. An invalid picture formats every value as the empty text.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "runtime/core/decimal_digits.h"
#include "runtime/core/picture.h"

namespace rk {

// String, key-in and pattern pictures lay the value's characters into their
// positions; the other kinds read the text as a number first (a plain decimal
// text exactly, anything else as a double).
std::string FormatText(std::string_view value, const CompiledPicture& picture);
std::string FormatReal(double value, const CompiledPicture& picture);
// Day numbers, time values and whole numbers.
std::string FormatLong(int32_t value, const CompiledPicture& picture);
// Exact digits (the decimal-stack variant of FormatReal).
std::string FormatDigits(const DecimalDigits& value, const CompiledPicture& picture);

// The value that a typed text stands for, as text: the digits, sign and point of
// a number, the day number of a date, the time value of a time, the characters
// of a key-in template. A null picture reads the text as a string picture of its
// own length; an invalid picture returns the text unchanged.
std::string Deformat(std::string_view text, const CompiledPicture* picture);

// The same with the picture given as text, compiled on the spot.
std::string FormatText(std::string_view value, std::string_view picture);
std::string Deformat(std::string_view text, std::string_view picture);

}  // namespace rk
