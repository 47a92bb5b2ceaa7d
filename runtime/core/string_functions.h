// The string functions of the expression language. Text arguments are on the
// value stack (the last pushed argument on top); numeric arguments are passed
// directly; the result replaces the text on the top.
#pragma once

#include <cstdint>

namespace rk {

// Optional length argument left out.
inline constexpr int32_t kNoLength = -1;

// Removes trailing spaces.
void CLIP();
// Leading spaces moved to the end; then cut or space-padded to length.
void LEFT(int32_t length = kNoLength);
// Clipped and right-justified in length characters (default: the text's length);
// a longer text loses characters on the left.
void RIGHT(int32_t length = kNoLength);
// Clipped of both ends and centred in length characters (default: the text's
// length), the odd spare space on the left; a longer text is cut at both ends,
// the extra character from the left.
void CENTER(int32_t length = kNoLength);
// start counts from 1; negative counts from the end (-1 is the last character)
// and is clamped to the first; 0 counts as 1; beyond the end gives the empty text.
void SUB(int32_t start, int32_t length);
void UPPER();
void LOWER();
// Pops the substring (top) and the text (second) and searches at start,
// start + step, ... (step 0: the substring's length): (position - 1) div step + 1
// of the first exact match, 0 when none, for an empty substring, a start of 0 or
// a substring longer than the text.
int32_t INSTRING(int32_t step, int32_t start);
// The text repeated to length characters (0 or left out: 255); the empty text
// gives the empty text.
void ALL(int32_t length = 0);
// Pops the text: true when, clipped and cut to 39 characters, it is entirely a
// number in TextToReal's syntax; the empty text counts as numeric.
bool NUMERIC();
// Pops the text and returns its length, trailing spaces included.
int32_t LEN();

}  // namespace rk
