#include "runtime/platform/qt/close_request_filter.h"

#include <QEvent>

#include "runtime/platform/qt/scheduler.h"

namespace rk::platform {

CloseRequestFilter::CloseRequestFilter(QWidget& window, Scheduler& scheduler, FiberId owner,
                                       uintptr_t target)
    : QObject(&window), window_(&window), scheduler_(scheduler), owner_(owner), target_(target) {
  window.installEventFilter(this);
}

bool CloseRequestFilter::CloseNow() {
  if (!window_) return false;
  closing_ = true;
  bool closed = window_->close();
  closing_ = false;
  return closed;
}

bool CloseRequestFilter::eventFilter(QObject* watched, QEvent* event) {
  if (watched != window_ || event->type() != QEvent::Close || closing_) return false;
  event->ignore();
  if (!refusing_) scheduler_.Post(owner_, {MessageKind::kCloseRequest, target_, 0, nullptr});
  return true;
}

}  // namespace rk::platform
