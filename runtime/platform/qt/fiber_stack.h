// The memory of one fiber's stack: the usable part is reserved address space,
// which the kernel backs with pages only where the stack actually reaches, and
// below it (stacks grow downward) a guard area that is neither readable nor
// writable, watched by the overflow report (stack_guards.h).
#pragma once

#include <cstddef>

namespace rk::platform {

// Large enough that any frame a fiber's code makes at once lands in it rather
// than past it.
inline constexpr size_t kStackGuardBytes = size_t{64} << 10;

struct StackMemory {
  void* top = nullptr;  // the stack's first byte above its usable part; null: none
  size_t usable = 0;
  int guard = -1;  // the watched guard area's number (kNoGuard when not watched)
};

// Null top when the address space cannot be had.
StackMemory MapFiberStack(size_t usableBytes);
void UnmapFiberStack(StackMemory& memory);

}  // namespace rk::platform
