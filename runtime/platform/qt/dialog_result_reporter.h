// The one report a dialog owes the runtime thread that waits for it: its result
// as a kDialogResult message whose target is the dialog's tag. The report is made
// once; a reporter destroyed before reporting still reports `unanswered`, so a
// dialog that goes away with its owner never leaves a thread waiting.
#pragma once

#include <cstdint>
#include <memory>

#include "runtime/platform/qt/platform_message.h"

namespace rk::platform {

class Scheduler;

class DialogResultReporter {
 public:
  DialogResultReporter(Scheduler& scheduler, FiberId thread, uintptr_t tag, int64_t unanswered);
  ~DialogResultReporter();

  DialogResultReporter(const DialogResultReporter&) = delete;
  DialogResultReporter& operator=(const DialogResultReporter&) = delete;

  // Only the first call posts; the payload travels with the message.
  void Report(int64_t result, std::shared_ptr<void> payload = nullptr);
  bool Reported() const { return reported_; }

 private:
  Scheduler& scheduler_;
  FiberId thread_;
  uintptr_t tag_;
  int64_t unanswered_;
  bool reported_ = false;
};

}  // namespace rk::platform
