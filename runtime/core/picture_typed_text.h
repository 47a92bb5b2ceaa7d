// Reading what a person typed into a field with a picture.
//
// Text that the field showed formatted and the person edited in place lines up
// with the picture: every point, separator and literal stands at its position.
// That text is read position by position, exactly as DEFORMAT reads it. Text
// typed freely (the field emptied first, or characters inserted so that the
// positions moved) is read by its meaning instead: a number wherever its digits
// stand, a date or time from its groups of digits (and month name) in the
// order of the picture's fields. So "12.99" in a @n-7.2 field is 12.99, not
// 129.00, and "5/1/1995" in a @D6 field is 5 January 1995.
#pragma once

#include <string>
#include <string_view>

#include "runtime/core/picture.h"

namespace rk {

// Whether the text is as wide as the picture and holds the picture's fixed
// characters (decimal point, separators, literals) at their positions.
bool LinesUpWithPicture(std::string_view text, const CompiledPicture& picture);

// The value of typed text as Deformat gives it (digits, day number, time value).
std::string ReadTypedText(std::string_view text, const CompiledPicture& picture);

// Whether the picture can show the value that ReadTypedText gave: a number with
// more integer digits than the picture holds, an invalid date or time are not.
bool PictureCanShow(std::string_view value, const CompiledPicture& picture);

}  // namespace rk
