#include "runtime/files/ascii_file_lock.h"

#include <chrono>
#include <thread>

#include "runtime/platform/clock.h"
#include "runtime/platform/range_locks.h"

namespace rk {
namespace {

constexpr int32_t kAlreadyLocked = 32;
constexpr int32_t kAccessDenied = 5;
constexpr auto kRetryInterval = std::chrono::milliseconds(10);

uint32_t TakeLockByte(AsciiFileState& state) {
  return platform::LockFileRange(state.handle, 0, 1);
}

}  // namespace

int32_t LockAsciiFile(AsciiFileState& state, int32_t seconds) {
  const uint32_t start = platform::CentisecondClock();
  while (TakeLockByte(state) != 0) {
    if (seconds >= 0 &&
        platform::CentisecondClock() - start >= static_cast<uint32_t>(seconds) * 100u) {
      return kAlreadyLocked;
    }
    std::this_thread::sleep_for(kRetryInterval);
  }
  return 0;
}

void UnlockAsciiFile(AsciiFileState& state) {
  platform::UnlockFileRange(state.handle, 0, 1);
}

int32_t BeginAsciiWrite(AsciiFileState& state) {
  if (state.readOnly) return kAccessDenied;
  if (!state.shared || state.has(kStateLocked)) return 0;
  if (state.lockDepth == 0 && TakeLockByte(state) != 0) return kAccessDenied;
  ++state.lockDepth;
  return 0;
}

void EndAsciiWrite(AsciiFileState& state) {
  if (!state.shared || state.has(kStateLocked) || state.lockDepth == 0) return;
  if (--state.lockDepth == 0) UnlockAsciiFile(state);
}

}  // namespace rk
