// The longest text the value stack holds.
//
// Every string result that the runtime builds to a length somebody asked for
// (RIGHT('x', 2000000000), ALL, CENTER, a concatenation of long texts, a top
// padded to a length) is checked here before a byte of it is allocated. A text
// over the limit is treated as an allocation that failed: the empty text stands
// in its place, and the error state says why, so that an expression typed by a
// user can never end the program by exhausting its memory.
#pragma once

#include <cstddef>
#include <cstdint>

#include "runtime/core/runtime_error_codes.h"

namespace rk {

// 16 MiB. The longest text the program itself handles is a record buffer (at
// most 64000 bytes for the KMF driver, below 65536 for the ASCII driver), so a
// limit 256 times larger changes no result that a field, a record, a report line
// or a filter can produce; and 32 value-stack slots of it stay under 512 MiB.
inline constexpr size_t kMaxTextLength = size_t{16} << 20;

// "Variable out of range": the length asked for lies outside what a text may be.
inline constexpr int32_t kTextTooLongError = runtime_error_code::kVariableOutOfRange;

// True when a text of `length` characters may be built. Otherwise posts
// kTextTooLongError and returns false; the caller then leaves the empty text.
bool TextLengthAllowed(size_t length);

}  // namespace rk
