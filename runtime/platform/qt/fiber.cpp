#include "runtime/platform/qt/fiber.h"

#include <algorithm>
#include <boost/context/fiber.hpp>
#include <boost/context/protected_fixedsize_stack.hpp>
#include <cassert>
#include <new>

namespace rk::platform {

namespace context = boost::context;

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
    context::protected_fixedsize_stack stack(std::max(stackBytes, kMinimumFiberStack));
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
