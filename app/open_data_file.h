// OPENDATAFILE: opens a data file for a procedure and recovers from the usual
// opening errors. A missing file is created (when creation is allowed), damaged
// keys can be rebuilt when the user agrees, and anything else that keeps the file
// closed is reported and ends the program.
#pragma once

#include <cstdint>

#include "runtime/files/file_descriptor.h"

namespace rk {

// Read and write, others may read and write: the mode every procedure opens with.
inline constexpr int32_t kSharedAccess = 0x42;

// With `share` the file is opened with kSharedAccess, otherwise with `accessMode`.
// Returns with the file open (or already open before); every failure it cannot
// recover from shows its message and halts.
void OPENDATAFILE(FileDescriptor& file, bool createAllowed = true, bool share = true,
                  int32_t accessMode = kSharedAccess);

}  // namespace rk
