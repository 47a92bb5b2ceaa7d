// The file lock of a text file: one byte at offset 0. LOCK and UNLOCK take and
// release it for the program; a write to a file that other programs may write
// takes it around the write, unless the program already holds it.
#pragma once

#include <cstdint>

#include "runtime/files/ascii_state.h"

namespace rk {

// Tries until the lock is taken or `seconds` have passed (negative: no limit).
// Answers 0, 32 "File Is Already Locked", or 300 + any other OS error.
int32_t LockAsciiFile(AsciiFileState& state, int32_t seconds);
void UnlockAsciiFile(AsciiFileState& state);

// Around every write. Begin answers 0, or 5 "Access Denied" when the lock is
// held elsewhere; End releases it when the outermost write ends.
int32_t BeginAsciiWrite(AsciiFileState& state);
void EndAsciiWrite(AsciiFileState& state);

}  // namespace rk
