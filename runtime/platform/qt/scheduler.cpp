#include "runtime/platform/qt/scheduler.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QEvent>
#include <QTimer>
#include <algorithm>
#include <cassert>
#include <utility>
#include <vector>

namespace rk::platform {

Scheduler::Scheduler() = default;

Scheduler::~Scheduler() {
  // Unwind the fibers one by one, newest first, so no fiber outlives the queues
  // its stack may still refer to.
  while (!threads_.empty()) threads_.erase(std::prev(threads_.end()));
}

FiberId Scheduler::Spawn(std::function<void()> body, size_t stackBytes) {
  std::unique_ptr<Fiber> fiber = Fiber::Create(std::move(body), stackBytes);
  if (!fiber) return 0;
  FiberId id = nextId_++;
  threads_[id].fiber = std::move(fiber);
  return id;
}

bool Scheduler::Post(FiberId fiber, PlatformMessage message) {
  auto it = threads_.find(fiber);
  if (it == threads_.end()) return false;
  it->second.queue.push_back(std::move(message));
  return true;
}

bool Scheduler::PostOnce(FiberId fiber, PlatformMessage message) {
  auto it = threads_.find(fiber);
  if (it == threads_.end()) return false;
  for (const PlatformMessage& queued : it->second.queue) {
    if (queued.kind == message.kind && queued.target == message.target &&
        queued.param == message.param) {
      return true;
    }
  }
  it->second.queue.push_back(std::move(message));
  return true;
}

size_t Scheduler::QueuedMessages(FiberId fiber) const {
  auto it = threads_.find(fiber);
  return it == threads_.end() ? 0 : it->second.queue.size();
}

Scheduler::Thread& Scheduler::CurrentThread() {
  assert(current_ != 0 && "only a runtime thread can wait");
  return threads_.at(current_);
}

void Scheduler::Yield(Waiting waiting, Clock::time_point deadline) {
  Thread& thread = CurrentThread();
  thread.waiting = waiting;
  thread.deadline = deadline;
  thread.fiber->Suspend();
  thread.waiting = Waiting::kNothing;
}

PlatformMessage Scheduler::WaitMessage() {
  Thread& thread = CurrentThread();
  if (thread.queue.empty()) Yield(Waiting::kMessage, {});
  PlatformMessage message = std::move(thread.queue.front());
  thread.queue.pop_front();
  return message;
}

std::optional<PlatformMessage> Scheduler::WaitMessage(std::chrono::milliseconds timeout) {
  Thread& thread = CurrentThread();
  if (thread.queue.empty()) Yield(Waiting::kMessageOrDeadline, Clock::now() + timeout);
  if (thread.queue.empty()) return std::nullopt;
  PlatformMessage message = std::move(thread.queue.front());
  thread.queue.pop_front();
  return message;
}

std::deque<PlatformMessage>::const_iterator Scheduler::FindWanted(const Thread& thread) {
  return std::find_if(thread.queue.begin(), thread.queue.end(), thread.wanted);
}

PlatformMessage Scheduler::WaitMessageWhere(std::function<bool(const PlatformMessage&)> wanted) {
  Thread& thread = CurrentThread();
  thread.wanted = std::move(wanted);
  if (FindWanted(thread) == thread.queue.end()) Yield(Waiting::kWantedMessage, {});
  auto found = std::find_if(thread.queue.begin(), thread.queue.end(), thread.wanted);
  PlatformMessage message = std::move(*found);
  thread.queue.erase(found);
  thread.wanted = nullptr;
  return message;
}

PlatformMessage Scheduler::WaitMessageAlone(std::function<bool(const PlatformMessage&)> wanted) {
  FiberId outer = std::exchange(alone_, current_);
  PlatformMessage message = WaitMessageWhere(std::move(wanted));
  alone_ = outer;
  return message;
}

void Scheduler::Label(FiberId fiber, std::string_view label) {
  auto it = threads_.find(fiber);
  if (it != threads_.end()) it->second.fiber->SetLabel(label);
}

void Scheduler::Pause(std::chrono::milliseconds duration) {
  Yield(Waiting::kDeadline, Clock::now() + duration);
}

void Scheduler::AwaitDisplayPass() {
  displayPass_ = current_;
  Yield(Waiting::kDisplayPass, {});
}

bool Scheduler::Ready(FiberId id, const Thread& thread, Clock::time_point now) const {
  if (alone_ != 0 && id != alone_) return false;
  switch (thread.waiting) {
    case Waiting::kNotStarted:
      return true;
    case Waiting::kMessage:
      return !thread.queue.empty();
    case Waiting::kMessageOrDeadline:
      return !thread.queue.empty() || now >= thread.deadline;
    case Waiting::kDeadline:
      return now >= thread.deadline;
    case Waiting::kWantedMessage:
      return FindWanted(thread) != thread.queue.end();
    case Waiting::kDisplayPass:  // resumed by FinishDisplayPasses only
    case Waiting::kNothing:
      return false;
  }
  return false;
}

bool Scheduler::AnyReady() const {
  Clock::time_point now = Clock::now();
  for (const auto& [id, thread] : threads_) {
    if (Ready(id, thread, now)) return true;
  }
  return false;
}

void Scheduler::Resume(FiberId id) {
  assert(current_ == 0 && "fibers are resumed only from the scheduler's loop");
  Thread& thread = threads_.at(id);
  current_ = id;
  thread.fiber->Resume();
  current_ = 0;
  if (thread.fiber->Finished()) threads_.erase(id);
}

bool Scheduler::ResumeReadyFibers() {
  // Fibers spawned or woken during this pass wait for the next one, so a thread
  // that keeps posting to itself cannot starve the others or Qt.
  std::vector<FiberId> ready;
  Clock::time_point now = Clock::now();
  for (const auto& [id, thread] : threads_) {
    if (Ready(id, thread, now)) ready.push_back(id);
  }
  for (FiberId id : ready) {
    if (!Alive(id)) continue;
    Resume(id);
    FinishDisplayPasses();
  }
  return !ready.empty();
}

void Scheduler::FinishDisplayPasses() {
  while (displayPass_ != 0) {
    FiberId id = std::exchange(displayPass_, 0);
    // Input stays queued in Qt for the loop's next regular pass; what this pass
    // delivers (paints, timers, posted events) only ever posts to the fibers.
    if (QCoreApplication::instance()) {
      QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    }
    if (Alive(id)) Resume(id);
  }
}

std::optional<Scheduler::Clock::time_point> Scheduler::EarliestDeadline() const {
  std::optional<Clock::time_point> earliest;
  for (const auto& [id, thread] : threads_) {
    bool timed =
        thread.waiting == Waiting::kMessageOrDeadline || thread.waiting == Waiting::kDeadline;
    if (timed && (!earliest || thread.deadline < *earliest)) earliest = thread.deadline;
  }
  return earliest;
}

void Scheduler::ProcessQtEvents(bool mayWait) {
  if (!QCoreApplication::instance()) return;
  QEventLoop::ProcessEventsFlags flags = QEventLoop::AllEvents;
  if (mayWait) {
    // A timed wait must end even when Qt has nothing to report: a single-shot
    // timer wakes the dispatcher at the earliest deadline.
    if (std::optional<Clock::time_point> deadline = EarliestDeadline()) {
      if (!wakeTimer_) {
        wakeTimer_ = std::make_unique<QTimer>();
        wakeTimer_->setSingleShot(true);
      }
      auto remaining =
          std::chrono::duration_cast<std::chrono::milliseconds>(*deadline - Clock::now());
      wakeTimer_->start(std::max<std::chrono::milliseconds>(remaining, {}) +
                        std::chrono::milliseconds(1));
    }
    flags |= QEventLoop::WaitForMoreEvents;
  }
  QCoreApplication::processEvents(flags);
  // Objects released with deleteLater are freed here, as a top-level loop would.
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

void Scheduler::Run(FiberId first) {
  while (Alive(first)) {
    ProcessQtEvents(!AnyReady());
    ResumeReadyFibers();
  }
}

void Scheduler::RunUntilIdle() {
  do {
    ProcessQtEvents(false);
  } while (ResumeReadyFibers());
}

bool Scheduler::RunUntilIdle(int rounds) {
  for (int round = 0; round < rounds; ++round) {
    ProcessQtEvents(false);
    if (!ResumeReadyFibers()) return true;
  }
  return false;
}

Scheduler& TheScheduler() {
  // Never destroyed: at exit no fiber is unwound after Qt is gone.
  static Scheduler* scheduler = new Scheduler;
  return *scheduler;
}

}  // namespace rk::platform
