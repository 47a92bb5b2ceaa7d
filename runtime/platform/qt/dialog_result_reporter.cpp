#include "runtime/platform/qt/dialog_result_reporter.h"

#include "runtime/platform/qt/scheduler.h"

namespace rk::platform {

DialogResultReporter::DialogResultReporter(Scheduler& scheduler, FiberId thread, uintptr_t tag,
                                           int64_t unanswered)
    : scheduler_(scheduler), thread_(thread), tag_(tag), unanswered_(unanswered) {}

DialogResultReporter::~DialogResultReporter() {
  Report(unanswered_);
}

void DialogResultReporter::Report(int64_t result, std::shared_ptr<void> payload) {
  if (reported_) return;
  reported_ = true;
  scheduler_.Post(thread_, {MessageKind::kDialogResult, tag_, result, std::move(payload)});
}

}  // namespace rk::platform
