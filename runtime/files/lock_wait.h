// The one waiting loop of the file drivers' locks: the KMF access lock, HOLD
// and LOCK and the ASCII file lock all try, and while the lock is refused pause
// through the runtime's hook (so that the runtime thread holding it can run)
// and try again.
#pragma once

#include <cstdint>
#include <functional>

namespace rk {

// Calls attempt until it answers something other than the lock violation, or
// until seconds (negative: no limit) have passed. Returns attempt's last answer:
// 0 when the lock was taken, the lock violation when the time ran out, or any
// other OS error at once (such an error does not go away by waiting).
uint32_t RetryWhileLocked(int32_t seconds, const std::function<uint32_t()>& attempt);

// The clock that times the waits, in hundredths of a second. Null restores the
// platform's clock; a test gives one that its pause hook moves, so that a
// time-out is reached without sleeping.
using LockWaitClock = uint32_t (*)();
void SetLockWaitClock(LockWaitClock clock);

}  // namespace rk
