// A repeating timer owned by a runtime thread. Each expiry posts a timer message
// to the owning thread, unless one is still waiting in its queue: however long
// the thread is busy, it finds at most one timer message per timer.
#pragma once

#include <QObject>
#include <QTimer>
#include <cstdint>

#include "runtime/platform/qt/platform_message.h"

namespace rk::platform {

class Scheduler;

class PlatformTimer : public QObject {
 public:
  // The message carries kind kTimer, the target and the timer's identifier as param.
  PlatformTimer(Scheduler& scheduler, FiberId owner, uintptr_t target, int64_t timerId);

  void Start(int intervalMs);
  void Stop();
  bool Active() const { return timer_.isActive(); }
  // Expiries so far, posted or coalesced.
  uint64_t Expiries() const { return expiries_; }

 private:
  void Expired();

  Scheduler& scheduler_;
  FiberId owner_;
  uintptr_t target_;
  int64_t timerId_;
  QTimer timer_;
  uint64_t expiries_ = 0;
};

}  // namespace rk::platform
