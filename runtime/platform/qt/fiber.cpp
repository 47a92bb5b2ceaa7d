#include "runtime/platform/qt/fiber.h"

#include <algorithm>
#include <boost/context/fiber.hpp>
#include <cassert>
#include <new>

#include "runtime/platform/qt/fiber_stack.h"
#include "runtime/platform/qt/stack_guards.h"

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/asan_interface.h>
#endif

namespace rk::platform {

namespace context = boost::context;

namespace {

// The memory of one stack, as the address sanitizer wants it named.
struct StackBounds {
  const void* bottom = nullptr;
  size_t size = 0;
};

// Every switch between stacks is announced to the address sanitizer: without it,
// frames of a fiber look like frames of the thread's own stack, and unwinding
// them (a fiber destroyed while suspended) is reported as a stack overflow or a
// use after return. A null fake-stack slot on a switch away tells the sanitizer
// that the stack being left is finished.
#if defined(__SANITIZE_ADDRESS__)
void StartSwitch(void** fakeStackSlot, const StackBounds& to) {
  __sanitizer_start_switch_fiber(fakeStackSlot, to.bottom, to.size);
}
void FinishSwitch(void* fakeStack, StackBounds* from) {
  __sanitizer_finish_switch_fiber(fakeStack, from ? &from->bottom : nullptr,
                                  from ? &from->size : nullptr);
}
#else
void StartSwitch(void**, const StackBounds&) {}
void FinishSwitch(void*, StackBounds*) {}
#endif

// A guard-paged stack whose memory is unpoisoned when it is handed out: a new
// stack mapped where an earlier one was must not inherit the sanitizer's marks
// of that earlier stack's frames. Its guard area's number goes to `guard`, for
// the fiber's label.
class FiberStack {
 public:
  FiberStack(size_t bytes, StackBounds& bounds, int& guard)
      : bytes_(bytes), bounds_(&bounds), guard_(&guard) {}
  context::stack_context allocate() {
    StackMemory memory = MapFiberStack(bytes_);
    if (!memory.top) throw std::bad_alloc();
    context::stack_context stack;
    stack.sp = memory.top;
    stack.size = memory.usable;
    Unpoison(stack);
    bounds_->bottom = static_cast<char*>(stack.sp) - stack.size;
    bounds_->size = stack.size;
    *guard_ = memory.guard;
    return stack;
  }
  void deallocate(context::stack_context& stack) noexcept {
    Unpoison(stack);
    StackMemory memory{stack.sp, stack.size, *guard_};
    UnmapFiberStack(memory);
    *guard_ = kNoGuard;
  }

 private:
  static void Unpoison([[maybe_unused]] const context::stack_context& stack) {
#if defined(__SANITIZE_ADDRESS__)
    ASAN_UNPOISON_MEMORY_REGION(static_cast<char*>(stack.sp) - stack.size, stack.size);
#endif
  }

  size_t bytes_;
  StackBounds* bounds_;
  int* guard_;
};

}  // namespace

struct Fiber::Contexts {
  context::fiber self;    // where Resume continues: the suspended body
  context::fiber caller;  // where Suspend continues: the code that resumed the body
  StackBounds fiberStack;
  StackBounds callerStack;
  void* callerFakeStack = nullptr;  // the sanitizer's saved frames of each side
  void* fiberFakeStack = nullptr;
  int guard = kNoGuard;
  bool started = false;
};

Fiber::Fiber(std::function<void()> body)
    : body_(std::move(body)), contexts_(std::make_unique<Contexts>()) {}

std::unique_ptr<Fiber> Fiber::Create(std::function<void()> body, size_t stackBytes) {
  std::unique_ptr<Fiber> fiber(new Fiber(std::move(body)));
  Fiber* self = fiber.get();
  try {
    FiberStack stack(std::max(stackBytes, kMinimumFiberStack), fiber->contexts_->fiberStack,
                     fiber->contexts_->guard);
    fiber->contexts_->self =
        context::fiber(std::allocator_arg, stack, [self](context::fiber&& caller) {
          Contexts& contexts = *self->contexts_;
          FinishSwitch(nullptr, &contexts.callerStack);
          contexts.caller = std::move(caller);
          try {
            self->body_();
          } catch (const context::detail::forced_unwind&) {
            StartSwitch(nullptr, contexts.callerStack);
            throw;  // the unwind must reach the fiber's entry
          }
          self->finished_ = true;
          StartSwitch(nullptr, contexts.callerStack);
          return std::move(contexts.caller);
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
  // A body that never started has no frames to unwind and runs none of our code,
  // so only a started one is announced as a switch.
  const bool unwindsFrames = contexts_->started && !finished_;
  if (unwindsFrames) StartSwitch(&contexts_->callerFakeStack, contexts_->fiberStack);
  { context::fiber suspended = std::move(contexts_->self); }
  if (unwindsFrames) FinishSwitch(contexts_->callerFakeStack, nullptr);
}

void Fiber::SetLabel(std::string_view label) {
  LabelGuard(contexts_->guard, label);
}

void Fiber::Resume() {
  assert(!running_ && !finished_);
  running_ = true;
  contexts_->started = true;
  StartSwitch(&contexts_->callerFakeStack, contexts_->fiberStack);
  contexts_->self = std::move(contexts_->self).resume();
  FinishSwitch(contexts_->callerFakeStack, nullptr);
  running_ = false;
}

void Fiber::Suspend() {
  assert(running_);
  StartSwitch(&contexts_->fiberFakeStack, contexts_->callerStack);
  try {
    contexts_->caller = std::move(contexts_->caller).resume();
  } catch (const context::detail::forced_unwind&) {
    // Destroyed while suspended: the unwind arrives here, on this stack.
    FinishSwitch(contexts_->fiberFakeStack, nullptr);
    throw;
  }
  FinishSwitch(contexts_->fiberFakeStack, &contexts_->callerStack);
}

void RethrowFiberUnwind() {
  try {
    throw;
  } catch (const context::detail::forced_unwind&) {
    throw;
  } catch (...) {
  }
}

}  // namespace rk::platform
