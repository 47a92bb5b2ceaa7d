#include "runtime/platform/qt/fiber.h"

#include <algorithm>
#include <boost/context/fiber.hpp>
#include <boost/context/protected_fixedsize_stack.hpp>
#include <cassert>
#include <new>

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/asan_interface.h>
#endif

namespace rk::platform {

namespace context = boost::context;

namespace {

// A guard-paged stack whose memory is unpoisoned when it is handed out: a new
// stack mapped where an earlier one was must not inherit the sanitizer's marks
// of that earlier stack's frames.
class FiberStack {
 public:
  explicit FiberStack(size_t bytes) : stack_(bytes) {}
  context::stack_context allocate() {
    context::stack_context stack = stack_.allocate();
    Unpoison(stack);
    return stack;
  }
  void deallocate(context::stack_context& stack) noexcept {
    Unpoison(stack);
    stack_.deallocate(stack);
  }

 private:
  static void Unpoison([[maybe_unused]] const context::stack_context& stack) {
#if defined(__SANITIZE_ADDRESS__)
    ASAN_UNPOISON_MEMORY_REGION(static_cast<char*>(stack.sp) - stack.size, stack.size);
#endif
  }

  context::protected_fixedsize_stack stack_;
};

}  // namespace

struct Fiber::Contexts {
  context::fiber self;    // where Resume continues: the suspended body
  context::fiber caller;  // where Suspend continues: the code that resumed the body
};

Fiber::Fiber(std::function<void()> body)
    : body_(std::move(body)), contexts_(std::make_unique<Contexts>()) {}

std::unique_ptr<Fiber> Fiber::Create(std::function<void()> body, size_t stackBytes) {
  std::unique_ptr<Fiber> fiber(new Fiber(std::move(body)));
  Fiber* self = fiber.get();
  try {
    FiberStack stack(std::max(stackBytes, kMinimumFiberStack));
    fiber->contexts_->self =
        context::fiber(std::allocator_arg, stack, [self](context::fiber&& caller) {
          self->contexts_->caller = std::move(caller);
          self->body_();
          self->finished_ = true;
          return std::move(self->contexts_->caller);
        });
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
  return fiber;
}

// A fiber destroyed before its body returned is unwound by boost (a forced unwind
// from its suspension point), so the objects on its stack are destroyed too.
Fiber::~Fiber() {
  // Destroying the suspended context runs the unwind while this object is whole.
  context::fiber suspended = std::move(contexts_->self);
}

void Fiber::Resume() {
  assert(!running_ && !finished_);
  running_ = true;
  contexts_->self = std::move(contexts_->self).resume();
  running_ = false;
}

void Fiber::Suspend() {
  assert(running_);
  contexts_->caller = std::move(contexts_->caller).resume();
}

}  // namespace rk::platform
