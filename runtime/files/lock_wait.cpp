#include "runtime/files/lock_wait.h"

#include "runtime/files/runtime_threads.h"
#include "runtime/platform/clock.h"
#include "runtime/platform/os_errors.h"

namespace rk {
namespace {

constexpr std::chrono::milliseconds kRetryInterval{10};

LockWaitClock lockWaitClock = nullptr;

uint32_t Now() {
  return lockWaitClock ? lockWaitClock() : platform::CentisecondClock();
}

}  // namespace

void SetLockWaitClock(LockWaitClock clock) {
  lockWaitClock = clock;
}

uint32_t RetryWhileLocked(int32_t seconds, const std::function<uint32_t()>& attempt) {
  uint32_t start = Now();
  for (;;) {
    uint32_t answer = attempt();
    if (answer != platform::kErrorLockViolation) return answer;
    if (seconds >= 0 && Now() - start >= static_cast<uint32_t>(seconds) * 100) {
      return answer;
    }
    PauseBeforeRetry(kRetryInterval);
  }
}

}  // namespace rk
