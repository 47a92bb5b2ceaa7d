// The scheduler of runtime threads. Every runtime thread is a fiber on the GUI
// thread; only one runs at a time, and it runs until it waits for its next
// platform message. The loop on the main stack lets Qt process its events
// (sleeping when nothing is ready), then resumes, one at a time, each fiber that
// can go on: one not yet started, one whose queue has a message while it waits for
// one, one whose timed wait has expired.
//
// Qt callbacks only Post; they never run runtime code and never switch fibers.
#pragma once

#include <chrono>
#include <cstddef>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string_view>

#include "runtime/platform/qt/fiber.h"
#include "runtime/platform/qt/platform_message.h"

class QTimer;

namespace rk::platform {

class Scheduler {
 public:
  using Clock = std::chrono::steady_clock;

  Scheduler();
  // Fibers still alive are unwound.
  ~Scheduler();

  Scheduler(const Scheduler&) = delete;
  Scheduler& operator=(const Scheduler&) = delete;

  // A new fiber; its body starts at the loop's next pass. 0 when no stack could be
  // allocated.
  FiberId Spawn(std::function<void()> body, size_t stackBytes);

  // Appends to the fiber's queue and returns at once. False when there is no such fiber.
  bool Post(FiberId fiber, PlatformMessage message);
  // As Post, unless a message of the same kind, target and param is queued already;
  // a repeating source (a timer) so never has more than one message waiting.
  bool PostOnce(FiberId fiber, PlatformMessage message);

  // --- Called by the running fiber ---
  FiberId Current() const { return current_; }
  // Yields until the own queue has a message, and takes it.
  PlatformMessage WaitMessage();
  // As WaitMessage, but gives up after the timeout.
  std::optional<PlatformMessage> WaitMessage(std::chrono::milliseconds timeout);
  // Yields until a message that `wanted` accepts is queued and takes that one;
  // the others stay queued in their order (a modal dialog waits for its result).
  PlatformMessage WaitMessageWhere(std::function<bool(const PlatformMessage&)> wanted);
  // As WaitMessageWhere, but no other fiber is resumed until it returns: the
  // caller keeps the program to itself while it waits (a runtime error's box).
  PlatformMessage WaitMessageAlone(std::function<bool(const PlatformMessage&)> wanted);
  // Yields for the duration, leaving the own queue as it is (a timed retry).
  void Pause(std::chrono::milliseconds duration);
  // Yields for one pass of Qt's event processing that takes no user input, and
  // goes on before any other fiber runs: a change to the display made just before
  // (the wait cursor) reaches the window system while the fiber keeps the runtime
  // lock, and no input is acted on in between.
  void AwaitDisplayPass();
  // Names the fiber in the report of its stack's overflow (see fiber.h).
  void Label(FiberId fiber, std::string_view label);

  // --- Called from the main stack ---
  // The loop: runs until the fiber `first` has finished.
  void Run(FiberId first);
  // Processes everything that is ready without sleeping, then returns.
  void RunUntilIdle();
  // The same, but gives up after `rounds` rounds of resuming fibers: false when
  // fibers were still ready then (something keeps waking them).
  bool RunUntilIdle(int rounds);

  bool Alive(FiberId fiber) const { return threads_.count(fiber) != 0; }
  size_t QueuedMessages(FiberId fiber) const;
  size_t FiberCount() const { return threads_.size(); }

 private:
  enum class Waiting {
    kNotStarted,
    kMessage,
    kMessageOrDeadline,
    kDeadline,
    kWantedMessage,
    kDisplayPass,
    kNothing
  };

  struct Thread {
    std::unique_ptr<Fiber> fiber;
    std::deque<PlatformMessage> queue;
    Waiting waiting = Waiting::kNotStarted;
    Clock::time_point deadline;
    std::function<bool(const PlatformMessage&)> wanted;  // for kWantedMessage
  };

  bool Ready(FiberId id, const Thread& thread, Clock::time_point now) const;
  bool AnyReady() const;
  // Resumes every fiber ready at the start of the pass once; true if any ran.
  bool ResumeReadyFibers();
  void Resume(FiberId id);
  // Gives the fiber that awaits a display pass its pass and resumes it, again
  // while it asks for another.
  void FinishDisplayPasses();
  // Suspends the running fiber until the scheduler finds it ready again.
  void Yield(Waiting waiting, Clock::time_point deadline);
  Thread& CurrentThread();
  static std::deque<PlatformMessage>::const_iterator FindWanted(const Thread& thread);
  void ProcessQtEvents(bool mayWait);
  std::optional<Clock::time_point> EarliestDeadline() const;

  std::map<FiberId, Thread> threads_;  // ordered by id: the order of each pass
  FiberId nextId_ = 1;
  FiberId current_ = 0;
  FiberId displayPass_ = 0;  // the fiber that awaits a display pass
  FiberId alone_ = 0;  // while not 0, the only fiber that may be resumed
  std::unique_ptr<QTimer> wakeTimer_;
};

// The scheduler of the program's runtime threads.
Scheduler& TheScheduler();

}  // namespace rk::platform
