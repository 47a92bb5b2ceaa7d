// One stackful fiber: the execution context of a runtime thread.
//
// A fiber runs its body on a stack of its own (with a guard area below it, so an
// overflow faults instead of overwriting memory, and is reported with the
// fiber's label once ReportStackOverflows has been called, see stack_guards.h)
// and switches only where it is told to: Resume enters the fiber from the
// scheduler, Suspend inside the body returns to it.
#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <string_view>

namespace rk::platform {

// Reserved address space of every fiber stack; pages are committed on first use,
// so the runtime's much smaller requested sizes are only recorded, never enforced.
// Generous, as a thread's main stack is: deep recursion of ordinary code fits.
inline constexpr size_t kMinimumFiberStack = size_t{8} << 20;

class Fiber {
 public:
  // Allocates the stack; the body does not run until the first Resume. Returns
  // nullptr when the stack cannot be allocated.
  static std::unique_ptr<Fiber> Create(std::function<void()> body, size_t stackBytes);
  ~Fiber();

  Fiber(const Fiber&) = delete;
  Fiber& operator=(const Fiber&) = delete;

  // Runs the body until it suspends or returns. Not callable from inside the body.
  void Resume();
  // Called from inside the body: returns control to the caller of Resume.
  void Suspend();

  // The words naming the fiber in the report of its stack's overflow.
  void SetLabel(std::string_view label);

  bool Finished() const { return finished_; }
  bool Running() const { return running_; }

 private:
  struct Contexts;
  explicit Fiber(std::function<void()> body);

  std::function<void()> body_;
  std::unique_ptr<Contexts> contexts_;
  bool finished_ = false;
  bool running_ = false;
};

// Called inside a catch (...) handler on a fiber: rethrows the unwind that ends
// a fiber destroyed while suspended (it must reach the fiber's entry); returns
// for every other exception.
void RethrowFiberUnwind();

}  // namespace rk::platform
