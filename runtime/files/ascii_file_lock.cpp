#include "runtime/files/ascii_file_lock.h"

#include "runtime/files/error_codes.h"
#include "runtime/files/file_driver.h"
#include "runtime/files/lock_wait.h"
#include "runtime/platform/os_errors.h"
#include "runtime/platform/range_locks.h"

namespace rk {
namespace {

uint32_t TakeLockByte(AsciiFileState& state) {
  return platform::LockFileRange(state.handle, 0, 1);
}

}  // namespace

// The same waiting loop as the record files' locks: other runtime threads run
// while this one waits.
int32_t LockAsciiFile(AsciiFileState& state, int32_t seconds) {
  uint32_t answer = RetryWhileLocked(seconds, [&state] { return TakeLockByte(state); });
  if (answer == platform::kErrorLockViolation) return file_error::kFileAlreadyLocked;
  return answer == 0 ? 0 : SystemFailureCode();
}

void UnlockAsciiFile(AsciiFileState& state) {
  platform::UnlockFileRange(state.handle, 0, 1);
}

int32_t BeginAsciiWrite(AsciiFileState& state) {
  if (state.readOnly) return file_error::kAccessDenied;
  if (!state.shared || state.has(kStateLocked)) return 0;
  if (state.lockDepth == 0 && TakeLockByte(state) != 0) return file_error::kAccessDenied;
  ++state.lockDepth;
  return 0;
}

void EndAsciiWrite(AsciiFileState& state) {
  if (!state.shared || state.has(kStateLocked) || state.lockDepth == 0) return;
  if (--state.lockDepth == 0) UnlockAsciiFile(state);
}

}  // namespace rk
