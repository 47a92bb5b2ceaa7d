// The fields of a date or time as read from typed text, and the values they
// make. Shared by the position-by-position reading of a picture and the free
// reading of text that does not line up with it.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "runtime/core/picture.h"

namespace rk {

struct TypedFields {
  int32_t values[kSecondDigit + 1] = {};
  bool present[kSecondDigit + 1] = {};
  int digits[kSecondDigit + 1] = {};  // how many digits each field was given
  bool am = false;
  bool pm = false;
};

// The month whose short name the text starts with, compared without regard to
// case by collating weight; 0 when none matches.
int32_t MatchMonthName(std::string_view typed);

// The day number as text: "0" when no field is present, "-1" for an invalid date.
// A year of at most two digits is taken in the 1900s.
std::string DateValue(const TypedFields& fields);
// The time value as text: "0" when no field is present, "-1" out of range.
std::string TimeValue(const TypedFields& fields);

}  // namespace rk
