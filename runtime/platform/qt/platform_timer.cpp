#include "runtime/platform/qt/platform_timer.h"

#include <algorithm>

#include "runtime/platform/qt/scheduler.h"

namespace rk::platform {

PlatformTimer::PlatformTimer(Scheduler& scheduler, FiberId owner, uintptr_t target, int64_t timerId)
    : scheduler_(scheduler), owner_(owner), target_(target), timerId_(timerId) {
  // Precise: intervals of a hundredth of a second must not be rounded to coarse slots.
  timer_.setTimerType(Qt::PreciseTimer);
  connect(&timer_, &QTimer::timeout, this, &PlatformTimer::Expired);
}

void PlatformTimer::Start(int intervalMs) {
  timer_.start(std::max(intervalMs, 1));
}

void PlatformTimer::Stop() {
  timer_.stop();
}

void PlatformTimer::Expired() {
  ++expiries_;
  scheduler_.PostOnce(owner_, {MessageKind::kTimer, target_, timerId_, nullptr});
}

}  // namespace rk::platform
