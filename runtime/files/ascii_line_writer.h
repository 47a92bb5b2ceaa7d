// Writing the record buffer as one line of a text file (ADD, APPEND and PUT).
#pragma once

#include <cstdint>

#include "runtime/files/ascii_state.h"

namespace rk {

// Where a line is written: at the end of the file, or over the bytes from a
// given offset on (the rest of the file does not move).
struct AsciiWritePlace {
  bool atEnd = true;
  uint64_t offset = 0;
};

// Writes the first `length` bytes of the record (converted to OEM for OEM
// files, trailing spaces removed when CLIP is on) followed by the terminator,
// and makes the written line current. A file that other programs may write is
// locked around the write and its end asked afresh. Answers 0, 5 "Access
// Denied" for a read-only file or a lock held elsewhere, 33 "Record Not
// Available" for an offset past the end of the file, or 300 + the OS error of
// a failed write.
int32_t WriteAsciiLine(AsciiFileState& state, AsciiWritePlace place, uint32_t length);

// The file's size from the operating system into the cache. Answers 0 or
// 300 + the OS error.
int32_t RefreshAsciiFileSize(AsciiFileState& state);
// Before a read or a write: a shared file whose size is not trusted (QUICKSCAN
// off) has its size asked afresh, so that lines other programs add are seen.
int32_t RefreshSizeForAccess(AsciiFileState& state);

}  // namespace rk
