// Reading one line of a text file into the record buffer.
#pragma once

#include <cstdint>

#include "runtime/files/ascii_state.h"

namespace rk {

// Reads the line that starts at offset into the first `length` bytes of the
// record (the record is cleared first). The terminator ends the line and is
// consumed; a 0x1A byte ends the data and is not consumed, so that the next read
// there finds the end; a tab is expanded as the TAB option says; the part of a
// line that does not fit is skipped. On success the line is current and the
// next position follows it. Answers 0, 33 when no line starts at offset, or
// 300 + the OS error of a failed read.
int32_t ReadAsciiLine(AsciiFileState& state, uint64_t offset, uint32_t length);

// Whether a line starts at offset: a byte can be read there and it is not
// 0x1A. Answers 0 or 300 + the OS error of a failed read.
int32_t AsciiLineStartsAt(AsciiFileState& state, uint64_t offset, bool& starts);

}  // namespace rk
